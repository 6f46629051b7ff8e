#pragma once
// An sRGB colour with straight alpha, as settings, sprites and texts store it.

namespace Norv
{
	struct Color
	{
		float r = 1.0f, g = 1.0f, b = 1.0f, a = 1.0f;

		constexpr Color() = default;
		constexpr Color(float aR, float aG, float aB, float aA = 1.0f) : r(aR), g(aG), b(aB), a(aA) {}

		// Linear-light colour for the GPU: each of r, g, b through the sRGB curve; alpha unchanged.
		Color AsLinear() const;

		constexpr bool operator==(const Color&) const = default;
	};
}
