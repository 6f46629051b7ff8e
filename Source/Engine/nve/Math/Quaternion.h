#pragma once
// Rotation quaternion, components stored w, x, y, z; identity (1, 0, 0, 0).
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"

namespace Norv
{
	struct Quaternion
	{
		float w = 1.0f, x = 0.0f, y = 0.0f, z = 0.0f;

		constexpr Quaternion() = default;
		constexpr Quaternion(float aW, float aX, float aY, float aZ) : w(aW), x(aX), y(aY), z(aZ) {}
		// From the rows of a rotation matrix whose scale is already removed.
		Quaternion(const Vector3<float>& aRow1, const Vector3<float>& aRow2, const Vector3<float>& aRow3);

		constexpr Quaternion operator+(const Quaternion& a) const { return { w + a.w, x + a.x, y + a.y, z + a.z }; }
		constexpr Quaternion operator-() const { return { -w, -x, -y, -z }; }
		constexpr Quaternion operator*(float aScalar) const { return { w * aScalar, x * aScalar, y * aScalar, z * aScalar }; }
		constexpr Quaternion operator/(float aScalar) const { return { w / aScalar, x / aScalar, y / aScalar, z / aScalar }; }
		constexpr bool operator==(const Quaternion&) const = default;

		constexpr float Dot(const Quaternion& a) const { return w * a.w + x * a.x + y * a.y + z * a.z; }
		float Length() const;
		Quaternion GetNormalized() const;

		// The rotation block (rows 1-3) of the matching row-vector matrix; row 4 identity.
		Matrix4x4 ToMatrix() const;

		static Quaternion Slerp(const Quaternion& aFrom, const Quaternion& aTo, float aT);
	};
}
