#pragma once
// Scalar helpers and constants shared by the math types.
#include <algorithm>

namespace Norv::FMath
{
	constexpr float KindaSmallNumber = 0.0001f;
	constexpr float DegreesToRadians = 0.017453292f; // radians per degree
	constexpr float Pi = 3.14159265358979323846f;

	template <typename T>
	constexpr T Lerp(const T& aFrom, const T& aTo, float aT) { return aFrom + (aTo - aFrom) * aT; }

	template <typename T>
	constexpr T Clamp(const T& aValue, const T& aMin, const T& aMax) { return std::clamp(aValue, aMin, aMax); }
}
