#include "graphics/Camera.h"

#include "Math/FMath.h"
#include "debug/Assert.h"

#include <cmath>

namespace Norv
{
	void Camera::SetOrthographicProjection(float aLeft, float aRight, float aBottom, float aTop, float aNearPlane, float aFarPlane)
	{
		myProjection = Matrix4x4();
		myProjection(1, 1) = 2.0f / (aRight - aLeft);
		myProjection(2, 2) = 2.0f / (aTop - aBottom);
		myProjection(3, 3) = 1.0f / (aFarPlane - aNearPlane);
		myProjection(4, 1) = -(aLeft + aRight) / (aRight - aLeft);
		myProjection(4, 2) = -(aBottom + aTop) / (aTop - aBottom);
		myProjection(4, 3) = -aNearPlane / (aFarPlane - aNearPlane);
		myProjection(4, 4) = 1.0f;
	}

	void Camera::SetPerspectiveProjection(float aHorizontalFovDegrees, const Vector2<float>& aResolution, float aNearPlane, float aFarPlane)
	{
		NV_ASSERT(aNearPlane < aFarPlane);
		NV_ASSERT(aNearPlane >= FMath::KindaSmallNumber);

		const float someHalfAngle = aHorizontalFovDegrees * FMath::DegreesToRadians * 0.5f;
		const float someTan = std::tan(someHalfAngle);
		myProjection = Matrix4x4();
		myProjection(1, 1) = 1.0f / someTan;
		myProjection(2, 2) = aResolution.x / (someTan * aResolution.y);
		myProjection(3, 3) = aFarPlane / (aFarPlane - aNearPlane);
		myProjection(3, 4) = 1.0f;
		myProjection(4, 3) = -aNearPlane * aFarPlane / (aFarPlane - aNearPlane);
		myProjection(4, 4) = 0.0f;
	}
}
