#pragma once
// Two-, three- and four-component vectors over a component type (float for
// geometry, unsigned int for sizes, int for tile coordinates). Zero by default.
#include <cmath>

namespace Norv
{
	template <typename T>
	struct Vector2
	{
		T x{}, y{};

		constexpr Vector2() = default;
		constexpr Vector2(T aX, T aY) : x(aX), y(aY) {}
		template <typename U>
		constexpr explicit Vector2(const Vector2<U>& aOther) : x(static_cast<T>(aOther.x)), y(static_cast<T>(aOther.y)) {}

		constexpr Vector2 operator+(const Vector2& a) const { return { x + a.x, y + a.y }; }
		constexpr Vector2 operator-(const Vector2& a) const { return { x - a.x, y - a.y }; }
		constexpr Vector2 operator-() const { return { -x, -y }; }
		constexpr Vector2 operator*(T aScalar) const { return { x * aScalar, y * aScalar }; }
		constexpr Vector2 operator/(T aScalar) const { return { x / aScalar, y / aScalar }; }
		constexpr Vector2& operator+=(const Vector2& a) { x += a.x; y += a.y; return *this; }
		constexpr Vector2& operator-=(const Vector2& a) { x -= a.x; y -= a.y; return *this; }
		constexpr Vector2& operator*=(T aScalar) { x *= aScalar; y *= aScalar; return *this; }
		constexpr Vector2& operator/=(T aScalar) { x /= aScalar; y /= aScalar; return *this; }
		constexpr bool operator==(const Vector2&) const = default;

		constexpr T Dot(const Vector2& a) const { return x * a.x + y * a.y; }
		constexpr T LengthSqr() const { return Dot(*this); }
		T Length() const { return static_cast<T>(std::sqrt(LengthSqr())); }
		// The unit vector in this direction; the zero vector stays zero.
		Vector2 GetNormalized() const { const T someLength = Length(); return someLength == T{} ? Vector2{} : *this / someLength; }
	};

	template <typename T>
	struct Vector3
	{
		T x{}, y{}, z{};

		constexpr Vector3() = default;
		constexpr Vector3(T aX, T aY, T aZ) : x(aX), y(aY), z(aZ) {}
		template <typename U>
		constexpr explicit Vector3(const Vector3<U>& aOther) : x(static_cast<T>(aOther.x)), y(static_cast<T>(aOther.y)), z(static_cast<T>(aOther.z)) {}

		constexpr Vector3 operator+(const Vector3& a) const { return { x + a.x, y + a.y, z + a.z }; }
		constexpr Vector3 operator-(const Vector3& a) const { return { x - a.x, y - a.y, z - a.z }; }
		constexpr Vector3 operator-() const { return { -x, -y, -z }; }
		constexpr Vector3 operator*(T aScalar) const { return { x * aScalar, y * aScalar, z * aScalar }; }
		constexpr Vector3 operator/(T aScalar) const { return { x / aScalar, y / aScalar, z / aScalar }; }
		constexpr Vector3& operator+=(const Vector3& a) { x += a.x; y += a.y; z += a.z; return *this; }
		constexpr Vector3& operator-=(const Vector3& a) { x -= a.x; y -= a.y; z -= a.z; return *this; }
		constexpr Vector3& operator*=(T aScalar) { x *= aScalar; y *= aScalar; z *= aScalar; return *this; }
		constexpr Vector3& operator/=(T aScalar) { x /= aScalar; y /= aScalar; z /= aScalar; return *this; }
		constexpr bool operator==(const Vector3&) const = default;

		constexpr T Dot(const Vector3& a) const { return x * a.x + y * a.y + z * a.z; }
		constexpr Vector3 Cross(const Vector3& a) const { return { y * a.z - z * a.y, z * a.x - x * a.z, x * a.y - y * a.x }; }
		constexpr T LengthSqr() const { return Dot(*this); }
		T Length() const { return static_cast<T>(std::sqrt(LengthSqr())); }
		Vector3 GetNormalized() const { const T someLength = Length(); return someLength == T{} ? Vector3{} : *this / someLength; }
	};

	template <typename T>
	struct Vector4
	{
		T x{}, y{}, z{}, w{};

		constexpr Vector4() = default;
		constexpr Vector4(T aX, T aY, T aZ, T aW) : x(aX), y(aY), z(aZ), w(aW) {}
		constexpr Vector4(const Vector3<T>& aXyz, T aW) : x(aXyz.x), y(aXyz.y), z(aXyz.z), w(aW) {}

		constexpr Vector4 operator+(const Vector4& a) const { return { x + a.x, y + a.y, z + a.z, w + a.w }; }
		constexpr Vector4 operator-(const Vector4& a) const { return { x - a.x, y - a.y, z - a.z, w - a.w }; }
		constexpr Vector4 operator-() const { return { -x, -y, -z, -w }; }
		constexpr Vector4 operator*(T aScalar) const { return { x * aScalar, y * aScalar, z * aScalar, w * aScalar }; }
		constexpr Vector4 operator/(T aScalar) const { return { x / aScalar, y / aScalar, z / aScalar, w / aScalar }; }
		constexpr Vector4& operator+=(const Vector4& a) { x += a.x; y += a.y; z += a.z; w += a.w; return *this; }
		constexpr Vector4& operator-=(const Vector4& a) { x -= a.x; y -= a.y; z -= a.z; w -= a.w; return *this; }
		constexpr Vector4& operator*=(T aScalar) { x *= aScalar; y *= aScalar; z *= aScalar; w *= aScalar; return *this; }
		constexpr bool operator==(const Vector4&) const = default;

		constexpr Vector3<T> Xyz() const { return { x, y, z }; }
		constexpr T Dot(const Vector4& a) const { return x * a.x + y * a.y + z * a.z + w * a.w; }
		constexpr T LengthSqr() const { return Dot(*this); }
		T Length() const { return static_cast<T>(std::sqrt(LengthSqr())); }
	};

	template <typename T>
	constexpr Vector2<T> operator*(T aScalar, const Vector2<T>& aVector) { return aVector * aScalar; }
	template <typename T>
	constexpr Vector3<T> operator*(T aScalar, const Vector3<T>& aVector) { return aVector * aScalar; }
	template <typename T>
	constexpr Vector4<T> operator*(T aScalar, const Vector4<T>& aVector) { return aVector * aScalar; }

	// The default scale of objects and instances.
	inline constexpr Vector3<float> DEFAULT_SCALE{ 1.0f, 1.0f, 1.0f };
}
