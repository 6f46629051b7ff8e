#pragma once
// Joints, poses and skeletons: a pose is 128 local joint transforms; a skeleton
// turns a pose into the bone matrices that carry model-space vertices.
#include "Math/Matrix4x4.h"
#include "Math/Quaternion.h"
#include "Math/Vector.h"
#include "model/ModelDefines.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace Norv
{
	struct JointTransform
	{
		Vector3<float> myTranslation;
		Quaternion myRotation;
		Vector3<float> myScale{ 1.0f, 1.0f, 1.0f };

		// Scale (unit scale when asked) times rotation, the translation in row 4.
		Matrix4x4 ToMatrix(bool aUnitScale) const;
	};

	struct SkeletonPose
	{
		std::array<JointTransform, MAX_ANIMATION_BONES> myJoints{};
		std::uint64_t myJointCount = 0;
	};

	// World matrices of a pose's joints, followed by how many are in use.
	struct JointMatrices
	{
		std::array<Matrix4x4, MAX_ANIMATION_BONES> myMatrices{};
		std::uint64_t myCount = 0;
	};

	struct Joint
	{
		Matrix4x4 myMatrix; // inverse bind matrix: model space to joint space
		std::int32_t myParent = -1;
		std::vector<std::uint32_t> myChildren;
		std::string myName;
	};

	struct Skeleton
	{
		// world[j] = local[j] x world[parent], walked depth first from joint 0;
		// joints not reachable from joint 0 keep the identity. Child indices at or
		// past the limit, and cycles, are not followed.
		void CalculateJointWorldMatrices(const SkeletonPose& aPose, JointMatrices& aOut) const;
		// bones[j] = inverse bind x world[j] for every joint; entries past the joints keep theirs.
		void CalculateBoneMatrices(const JointMatrices& aWorld, Matrix4x4 (&aBones)[MAX_ANIMATION_BONES]) const;

		std::string myName;
		SkeletonPose myBindPose;
		std::vector<Joint> Joints;
		std::unordered_map<std::string, std::uint64_t> myJointNameToIndex;
		std::vector<std::string> myJointNames;
		std::unordered_map<std::string, std::uint64_t> myOtherNameToIndex; // left empty by the loader
	};

	// Scale is the length of each of rows 1-3 (all four elements), rotation the
	// normalised basis, translation row 4. A zero scale gives the identity rotation
	// instead of dividing by zero.
	void DecomposeMatrix(const Matrix4x4& aMatrix, Vector3<float>& aTranslation, Quaternion& aRotation, Vector3<float>& aScale);
}
