#pragma once
// A camera: where it is (world transform) and how it projects. Left-handed,
// depth 0..1. The projection setters fill only the projection matrix.
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"

namespace Norv
{
	class Camera
	{
	public:
		static constexpr float DEFAULT_NEAR_PLANE = 1.0f;
		static constexpr float DEFAULT_FAR_PLANE = 10000.0f;

		Camera() = default;

		void SetOrthographicProjection(float aLeft, float aRight, float aBottom, float aTop, float aNearPlane, float aFarPlane);
		// aHorizontalFovDegrees keeps the horizontal angle whatever the aspect ratio.
		void SetPerspectiveProjection(float aHorizontalFovDegrees, const Vector2<float>& aResolution, float aNearPlane, float aFarPlane);
		void SetTransform(const Matrix4x4& aTransform) { myTransform = aTransform; }

		Matrix4x4 myTransform;
		Matrix4x4 myProjection;
		float myNearPlane = DEFAULT_NEAR_PLANE;
		float myFarPlane = DEFAULT_FAR_PLANE;
	};
}
