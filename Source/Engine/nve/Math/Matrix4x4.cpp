#include "Math/Matrix4x4.h"

#include "Math/FMath.h"
#include "debug/Assert.h"

#include <algorithm>
#include <cmath>

namespace Norv
{
	namespace
	{
		constexpr float IDENTITY[16] = { 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 };
	}

	Matrix4x4::Matrix4x4()
	{
		std::copy(std::begin(IDENTITY), std::end(IDENTITY), myData);
	}

	Matrix4x4::Matrix4x4(std::initializer_list<float> aList) : Matrix4x4()
	{
		NV_ASSERT(aList.size( ) <= myLength && "Initializer list contains too many values.");
		if (aList.size() == 0)
			return;
		const size_t someCount = std::min<size_t>(aList.size(), myLength);
		std::copy_n(aList.begin(), someCount, myData);
		std::fill(myData + someCount, myData + myLength, *(aList.begin() + (someCount - 1)));
	}

	float& Matrix4x4::operator()(int aRow, int aColumn)
	{
		return const_cast<float&>(static_cast<const Matrix4x4&>(*this)(aRow, aColumn));
	}

	const float& Matrix4x4::operator()(int aRow, int aColumn) const
	{
		NV_ASSERT(aRow > 0 && aRow < 5 && aColumn > 0 && aColumn < 5 && "Argument out of bounds");
		const int someRow = std::clamp(aRow, 1, 4);
		const int someColumn = std::clamp(aColumn, 1, 4);
		return myData[(someRow - 1) * 4 + (someColumn - 1)];
	}

	float& Matrix4x4::operator[](unsigned aIndex)
	{
		return const_cast<float&>(static_cast<const Matrix4x4&>(*this)[aIndex]);
	}

	const float& Matrix4x4::operator[](unsigned aIndex) const
	{
		NV_ASSERT((aIndex < 16) && "Index out of bounds.");
		return myData[std::min(aIndex, myLength - 1)];
	}

	Matrix4x4& Matrix4x4::operator*=(const Matrix4x4& aOther)
	{
		*this = *this * aOther;
		return *this;
	}

	bool Matrix4x4::operator==(const Matrix4x4& aOther) const
	{
		return std::equal(myData, myData + myLength, aOther.myData);
	}

	void Matrix4x4::SetTranslation(const Vector3<float>& aTranslation)
	{
		myData[12] = aTranslation.x;
		myData[13] = aTranslation.y;
		myData[14] = aTranslation.z;
	}

	Matrix4x4 operator*(const Matrix4x4& aLeft, const Matrix4x4& aRight)
	{
		Matrix4x4 someResult;
		const float* someLeft = aLeft.GetData();
		const float* someRight = aRight.GetData();
		float* someOut = someResult.GetData();
		for (int someRow = 0; someRow < 4; ++someRow)
		{
			float someSum[4] = { 0, 0, 0, 0 };
			for (int someK = 0; someK < 4; ++someK)
			{
				const float someFactor = someLeft[someRow * 4 + someK];
				for (int someColumn = 0; someColumn < 4; ++someColumn)
					someSum[someColumn] += someFactor * someRight[someK * 4 + someColumn];
			}
			std::copy(someSum, someSum + 4, someOut + someRow * 4);
		}
		return someResult;
	}

	Vector4<float> operator*(const Vector4<float>& aVector, const Matrix4x4& aMatrix)
	{
		const float* m = aMatrix.GetData();
		return {
			aVector.x * m[0] + aVector.y * m[4] + aVector.z * m[8] + aVector.w * m[12],
			aVector.x * m[1] + aVector.y * m[5] + aVector.z * m[9] + aVector.w * m[13],
			aVector.x * m[2] + aVector.y * m[6] + aVector.z * m[10] + aVector.w * m[14],
			aVector.x * m[3] + aVector.y * m[7] + aVector.z * m[11] + aVector.w * m[15],
		};
	}

	Matrix4x4 Matrix4x4::GetInverse(const Matrix4x4& aMatrix)
	{
		const float* m = aMatrix.myData;
		float inv[16];
		inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
		inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
		inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
		inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
		inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
		inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
		inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
		inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
		inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] + m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
		inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
		inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
		inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
		inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
		inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] + m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
		inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] - m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
		inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] + m[8] * m[1] * m[6] - m[8] * m[2] * m[5];

		// First row of m dotted with the first column of the adjugate.
		const float someDeterminant = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
		const float someScale = 1.0f / someDeterminant;
		Matrix4x4 someResult;
		for (unsigned someIndex = 0; someIndex < myLength; ++someIndex)
			someResult.myData[someIndex] = inv[someIndex] * someScale;
		return someResult;
	}

	Matrix4x4 Matrix4x4::Transpose(const Matrix4x4& aMatrix)
	{
		Matrix4x4 someResult;
		for (int someRow = 0; someRow < 4; ++someRow)
			for (int someColumn = 0; someColumn < 4; ++someColumn)
				someResult.myData[someColumn * 4 + someRow] = aMatrix.myData[someRow * 4 + someColumn];
		return someResult;
	}

	Matrix4x4 Matrix4x4::CreateRotationAroundX(float aDegrees)
	{
		const float someRadians = aDegrees * FMath::DegreesToRadians;
		const float c = std::cos(someRadians), s = std::sin(someRadians);
		return { 1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1 };
	}

	Matrix4x4 Matrix4x4::CreateRotationAroundY(float aDegrees)
	{
		const float someRadians = aDegrees * FMath::DegreesToRadians;
		const float c = std::cos(someRadians), s = std::sin(someRadians);
		return { c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1 };
	}

	Matrix4x4 Matrix4x4::CreateRotationAroundZ(float aDegrees)
	{
		const float someRadians = aDegrees * FMath::DegreesToRadians;
		const float c = std::cos(someRadians), s = std::sin(someRadians);
		return { c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 };
	}

	Matrix4x4 Matrix4x4::CreateScale(const Vector3<float>& aScale)
	{
		return { aScale.x, 0, 0, 0, 0, aScale.y, 0, 0, 0, 0, aScale.z, 0, 0, 0, 0, 1 };
	}

	Matrix4x4 Matrix4x4::CreateTranslation(const Vector3<float>& aTranslation)
	{
		Matrix4x4 someResult;
		someResult.SetTranslation(aTranslation);
		return someResult;
	}

	void Matrix4x4::SetRotationFromEuler(Matrix4x4& aMatrix, const Vector3<float>& aEulerDegrees)
	{
		const float a = aEulerDegrees.x * FMath::DegreesToRadians * 0.5f;
		const float b = aEulerDegrees.y * FMath::DegreesToRadians * 0.5f;
		const float c = aEulerDegrees.z * FMath::DegreesToRadians * 0.5f;
		const float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b), cc = std::cos(c), sc = std::sin(c);
		const float qw = ca * cb * cc + sa * sb * sc;
		const float qx = sa * cb * cc - ca * sb * sc;
		const float qy = ca * sb * cc + sa * cb * sc;
		const float qz = ca * cb * sc - sa * sb * cc;
		float* m = aMatrix.myData;
		m[0] = 1 - 2 * (qy * qy + qz * qz); m[1] = 2 * (qx * qy + qw * qz); m[2] = 2 * (qx * qz - qw * qy);
		m[4] = 2 * (qx * qy - qw * qz); m[5] = 1 - 2 * (qx * qx + qz * qz); m[6] = 2 * (qy * qz + qw * qx);
		m[8] = 2 * (qx * qz + qw * qy); m[9] = 2 * (qy * qz - qw * qx); m[10] = 1 - 2 * (qx * qx + qy * qy);
	}
}
