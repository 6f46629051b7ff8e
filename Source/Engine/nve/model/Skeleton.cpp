#include "model/Skeleton.h"

#include <cmath>

namespace Norv
{
	Matrix4x4 JointTransform::ToMatrix(bool aUnitScale) const
	{
		const Quaternion& q = myRotation;
		const Matrix4x4 someRotation{
			1.0f - 2.0f * (q.y * q.y + q.z * q.z), 2.0f * (q.x * q.y + q.w * q.z), 2.0f * (q.x * q.z - q.w * q.y), 0.0f,
			2.0f * (q.x * q.y - q.w * q.z), 1.0f - 2.0f * (q.x * q.x + q.z * q.z), 2.0f * (q.y * q.z + q.w * q.x), 0.0f,
			2.0f * (q.x * q.z + q.w * q.y), 2.0f * (q.y * q.z - q.w * q.x), 1.0f - 2.0f * (q.x * q.x + q.y * q.y), 0.0f,
			0.0f, 0.0f, 0.0f, 1.0f };
		Matrix4x4 someMatrix = aUnitScale ? someRotation : Matrix4x4::CreateScale(myScale) * someRotation;
		someMatrix(4, 1) = myTranslation.x;
		someMatrix(4, 2) = myTranslation.y;
		someMatrix(4, 3) = myTranslation.z;
		return someMatrix;
	}

	void Skeleton::CalculateJointWorldMatrices(const SkeletonPose& aPose, JointMatrices& aOut) const
	{
		aOut.myMatrices.fill(Matrix4x4());
		aOut.myCount = aPose.myJointCount;
		const std::size_t someJointCount = std::min(Joints.size(), MAX_ANIMATION_BONES);
		if (someJointCount == 0)
			return;
		// An explicit stack: no recursion and no allocation, each joint visited once.
		std::array<std::uint32_t, MAX_ANIMATION_BONES> someStack;
		std::array<bool, MAX_ANIMATION_BONES> someVisited{};
		std::array<const Matrix4x4*, MAX_ANIMATION_BONES> someParents;
		const Matrix4x4 someIdentity;
		std::size_t someTop = 0;
		someStack[someTop] = 0;
		someParents[someTop++] = &someIdentity;
		someVisited[0] = true;
		while (someTop > 0)
		{
			--someTop;
			const std::uint32_t j = someStack[someTop];
			aOut.myMatrices[j] = aPose.myJoints[j].ToMatrix(false) * *someParents[someTop];
			const std::vector<std::uint32_t>& someChildren = Joints[j].myChildren;
			// Pushed in reverse so that children are visited in list order.
			for (auto it = someChildren.rbegin(); it != someChildren.rend(); ++it)
			{
				if (*it >= someJointCount || someVisited[*it])
					continue;
				someVisited[*it] = true;
				someStack[someTop] = *it;
				someParents[someTop++] = &aOut.myMatrices[j];
			}
		}
	}

	void Skeleton::CalculateBoneMatrices(const JointMatrices& aWorld, Matrix4x4 (&aBones)[MAX_ANIMATION_BONES]) const
	{
		const std::size_t someJointCount = std::min(Joints.size(), MAX_ANIMATION_BONES);
		for (std::size_t j = 0; j < someJointCount; ++j)
			aBones[j] = Joints[j].myMatrix * aWorld.myMatrices[j];
	}

	void DecomposeMatrix(const Matrix4x4& aMatrix, Vector3<float>& aTranslation, Quaternion& aRotation, Vector3<float>& aScale)
	{
		float someScales[3];
		Vector3<float> someRows[3];
		for (int r = 1; r <= 3; ++r)
		{
			const float a = aMatrix(r, 1), b = aMatrix(r, 2), c = aMatrix(r, 3), d = aMatrix(r, 4);
			someScales[r - 1] = std::sqrt(a * a + b * b + c * c + d * d);
			someRows[r - 1] = { a, b, c };
		}
		aScale = { someScales[0], someScales[1], someScales[2] };
		bool someIsDegenerate = false;
		for (int i = 0; i < 3; ++i)
		{
			if (!(someScales[i] > 0.0f) || !std::isfinite(someScales[i]))
				someIsDegenerate = true;
			else
				someRows[i] = someRows[i] / someScales[i];
		}
		aRotation = someIsDegenerate ? Quaternion() : Quaternion(someRows[0], someRows[1], someRows[2]);
		aTranslation = aMatrix.GetTranslation();
	}
}
