#pragma once
// The four side planes of what a transform to clip space shows, in the space
// the transform starts from: a sphere wholly outside one of them puts no pixel
// on screen, so what it bounds need not be drawn. Near and far are not tested.
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"

namespace Norv
{
	class Camera;

	class ViewVolume
	{
	public:
		// From a transform to clip space (row vectors: clip = v * aToClip).
		explicit ViewVolume(const Matrix4x4& aToClip);
		// A mesh's space placed by aWorld (its world matrix) and seen by aCamera.
		static ViewVolume ForMesh(const Matrix4x4& aWorld, const Camera& aCamera);

		// False only when the sphere lies wholly outside a side plane.
		bool MayShow(const Vector3<float>& aCenter, float aRadius) const;

	private:
		struct Plane
		{
			Vector3<float> myNormal; // towards the inside, not normalised
			float myOffset = 0.0f;
		};
		Plane myPlanes[4];
	};
}
