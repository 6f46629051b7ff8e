#include "graphics/ViewVolume.h"

#include "graphics/Camera.h"

namespace Norv
{
	ViewVolume::ViewVolume(const Matrix4x4& aToClip)
	{
		// With c = v * M, the point is inside where -w <= x <= w and -w <= y <= w:
		// each side is the plane of column 4 plus or minus column 1 or 2.
		const auto Column = [&](int aColumn, float aSign) {
			return Plane{ { aToClip(1, 4) + aSign * aToClip(1, aColumn), aToClip(2, 4) + aSign * aToClip(2, aColumn), aToClip(3, 4) + aSign * aToClip(3, aColumn) },
				aToClip(4, 4) + aSign * aToClip(4, aColumn) };
		};
		myPlanes[0] = Column(1, 1.0f);
		myPlanes[1] = Column(1, -1.0f);
		myPlanes[2] = Column(2, 1.0f);
		myPlanes[3] = Column(2, -1.0f);
	}

	ViewVolume ViewVolume::ForMesh(const Matrix4x4& aWorld, const Camera& aCamera)
	{
		return ViewVolume(aWorld * Matrix4x4::GetInverse(aCamera.myTransform) * aCamera.myProjection);
	}

	bool ViewVolume::MayShow(const Vector3<float>& aCenter, float aRadius) const
	{
		for (const Plane& somePlane : myPlanes)
			if (somePlane.myNormal.Dot(aCenter) + somePlane.myOffset < -aRadius * somePlane.myNormal.Length())
				return false;
		return true;
	}
}
