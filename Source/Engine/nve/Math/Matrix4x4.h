#pragma once
// Row-major 4x4 float matrix, row-vector convention: v' = v * M, translation in
// row 4, and A * B applies A first. Identity by default.
#include "Math/Vector.h"

#include <initializer_list>

namespace Norv
{
	class SceneObject;

	class Matrix4x4
	{
	public:
		static constexpr unsigned myLength = 16;

		Matrix4x4();
		// Row by row; missing values repeat the last one given. An empty list gives identity.
		Matrix4x4(std::initializer_list<float> aList);

		// 1-based (row, column) access.
		float& operator()(int aRow, int aColumn);
		const float& operator()(int aRow, int aColumn) const;
		// 0-based element access.
		float& operator[](unsigned aIndex);
		const float& operator[](unsigned aIndex) const;

		Matrix4x4& operator*=(const Matrix4x4& aOther);
		bool operator==(const Matrix4x4& aOther) const;

		const float* GetData() const { return myData; }
		float* GetData() { return myData; }

		// Row 4 (x, y, z): where the matrix moves the origin.
		Vector3<float> GetTranslation() const { return { myData[12], myData[13], myData[14] }; }
		void SetTranslation(const Vector3<float>& aTranslation);

		static Matrix4x4 GetInverse(const Matrix4x4& aMatrix);
		static Matrix4x4 Transpose(const Matrix4x4& aMatrix);
		static Matrix4x4 CreateRotationAroundX(float aDegrees);
		static Matrix4x4 CreateRotationAroundY(float aDegrees);
		static Matrix4x4 CreateRotationAroundZ(float aDegrees);
		static Matrix4x4 CreateScale(const Vector3<float>& aScale);
		static Matrix4x4 CreateTranslation(const Vector3<float>& aTranslation);
		// Writes only the 3x3 block: rotation about X, then Y, then Z (degrees).
		static void SetRotationFromEuler(Matrix4x4& aMatrix, const Vector3<float>& aEulerDegrees);
		// A scene object's world matrix: scaled, then rotated, then translated.
		// Defined with the scene object (scene/SceneObject.cpp).
		static Matrix4x4 CreateTransform(const SceneObject& aObject);

	private:
		float myData[myLength];
	};

	Matrix4x4 operator*(const Matrix4x4& aLeft, const Matrix4x4& aRight);
	// Row vector times matrix.
	Vector4<float> operator*(const Vector4<float>& aVector, const Matrix4x4& aMatrix);
}
