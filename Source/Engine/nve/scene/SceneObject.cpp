#include "scene/SceneObject.h"

#include "Math/Quaternion.h"
#include "scene/Scene.h"

#include <cmath>

namespace Norv
{
	namespace
	{
		// Beyond this |sin(pitch)| the rotation is treated as gimbal-locked.
		constexpr float GIMBAL_LOCK_THRESHOLD = 0.9999f;
		constexpr float HALF_PI = 1.570796f;                 // radians
		constexpr float RADIANS_TO_DEGREES = 57.295776f;

		Vector3<float> Row(const Matrix4x4& aMatrix, int aRow)
		{
			return { aMatrix(aRow, 1), aMatrix(aRow, 2), aMatrix(aRow, 3) };
		}

		// Length of the whole row, fourth column included.
		float RowLength(const Matrix4x4& aMatrix, int aRow)
		{
			const Vector4<float> someRow(Row(aMatrix, aRow), aMatrix(aRow, 4));
			return someRow.Length();
		}

		// A row without its scale; a row of zero scale stays zero rather than
		// filling the rotation with NaN.
		Vector3<float> Unscaled(const Vector3<float>& aRow, float aScale)
		{
			return aScale == 0.0f ? aRow : aRow / aScale;
		}

		// (roll, pitch, yaw) in degrees.
		Vector3<float> EulerDegrees(const Quaternion& q)
		{
			const float s = 2.0f * (q.w * q.y - q.x * q.z);
			float someRoll, somePitch, someYaw;
			if (std::fabs(s) > GIMBAL_LOCK_THRESHOLD)
			{
				somePitch = s * HALF_PI;
				someRoll = std::atan2(q.w * q.x - q.y * q.z, 0.5f - q.x * q.x - q.z * q.z);
				someYaw = 0.0f;
			}
			else
			{
				somePitch = std::asin(s);
				someRoll = std::atan2(q.w * q.x + q.y * q.z, 0.5f - q.x * q.x - q.y * q.y);
				someYaw = std::atan2(q.w * q.z + q.x * q.y, 0.5f - q.y * q.y - q.z * q.z);
			}
			return Vector3<float>(someRoll, somePitch, someYaw) * RADIANS_TO_DEGREES;
		}
	}

	void SceneObject::SetName(const char* aName)
	{
		name = aName;
	}

	void SceneObject::SetPath(Scene* aScene, StringId aPath)
	{
		if (aScene)
		{
			++aScene->pathCounts[aPath];
			const auto someOld = aScene->pathCounts.find(path);
			if (someOld != aScene->pathCounts.end() && --someOld->second == 0)
				aScene->pathCounts.erase(someOld);
		}
		path = aPath;
	}

	void SceneObject::SetTransformFromMatrix(const Matrix4x4& aMatrix)
	{
		transform.translation = aMatrix.GetTranslation();
		transform.scale = { RowLength(aMatrix, 1), RowLength(aMatrix, 2), RowLength(aMatrix, 3) };
		const Quaternion someRotation(
			Unscaled(Row(aMatrix, 1), transform.scale.x),
			Unscaled(Row(aMatrix, 2), transform.scale.y),
			Unscaled(Row(aMatrix, 3), transform.scale.z));
		transform.rotation = EulerDegrees(someRotation);
	}

	Matrix4x4 Matrix4x4::CreateTransform(const SceneObject& aObject)
	{
		Matrix4x4 someRotationTranslation;
		SetRotationFromEuler(someRotationTranslation, aObject.transform.rotation);
		someRotationTranslation.SetTranslation(aObject.transform.translation);
		return CreateScale(aObject.transform.scale) * someRotationTranslation;
	}
}
