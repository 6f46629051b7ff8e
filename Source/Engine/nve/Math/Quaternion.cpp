#include "Math/Quaternion.h"

#include <cmath>

namespace Norv
{
	namespace
	{
		// Below this dot product the spherical path is taken: the float nearest 1 - 0.9995.
		constexpr float SLERP_LINEAR_THRESHOLD = 0.00050002337f;
	}

	Quaternion::Quaternion(const Vector3<float>& aRow1, const Vector3<float>& aRow2, const Vector3<float>& aRow3)
	{
		const float m11 = aRow1.x, m12 = aRow1.y, m13 = aRow1.z;
		const float m21 = aRow2.x, m22 = aRow2.y, m23 = aRow2.z;
		const float m31 = aRow3.x, m32 = aRow3.y, m33 = aRow3.z;
		const float someCandidates[4] = { m11 + m22 + m33, m11 - m22 - m33, m22 - m11 - m33, m33 - m11 - m22 };
		int someLargest = 0;
		for (int someIndex = 1; someIndex < 4; ++someIndex)
		{
			if (someCandidates[someIndex] > someCandidates[someLargest])
				someLargest = someIndex;
		}
		const float big = std::sqrt(someCandidates[someLargest] + 1.0f) * 0.5f;
		const float k = 0.25f / big;
		switch (someLargest)
		{
		case 0: w = big; x = (m23 - m32) * k; y = (m31 - m13) * k; z = (m12 - m21) * k; break;
		case 1: x = big; w = (m23 - m32) * k; y = (m21 + m12) * k; z = (m31 + m13) * k; break;
		case 2: y = big; w = (m31 - m13) * k; x = (m21 + m12) * k; z = (m32 + m23) * k; break;
		default: z = big; w = (m12 - m21) * k; x = (m31 + m13) * k; y = (m32 + m23) * k; break;
		}
	}

	float Quaternion::Length() const
	{
		return std::sqrt(Dot(*this));
	}

	Quaternion Quaternion::GetNormalized() const
	{
		const float someLength = Length();
		return someLength == 0.0f ? Quaternion{} : *this / someLength;
	}

	Matrix4x4 Quaternion::ToMatrix() const
	{
		// Inverse of the row construction above: m12 - m21 = 4wz and so on.
		return {
			1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y), 0,
			2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x), 0,
			2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y), 0,
			0, 0, 0, 1,
		};
	}

	Quaternion Quaternion::Slerp(const Quaternion& aFrom, const Quaternion& aTo, float aT)
	{
		Quaternion someTo = aTo;
		float someDot = aFrom.Dot(aTo);
		if (someDot < 0.0f)
		{
			someTo = -someTo;
			someDot = -someDot;
		}
		if (someDot > SLERP_LINEAR_THRESHOLD)
			return (aFrom * (1.0f - aT) + someTo * aT).GetNormalized();

		const float someAngle = std::acos(someDot);
		return (aFrom * std::sin((1.0f - aT) * someAngle) + someTo * std::sin(aT * someAngle)) / std::sin(someAngle);
	}
}
