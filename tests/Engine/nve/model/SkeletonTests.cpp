// Joint transforms, matrix decomposition and the pose-to-bones walk.
#include "model/ModelInstance.h"
#include "model/Skeleton.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{
	void ExpectMatrixNear(const Norv::Matrix4x4& anActual, const Norv::Matrix4x4& anExpected, float aTolerance = 1e-5f)
	{
		for (unsigned i = 0; i < 16; ++i)
			EXPECT_NEAR(anActual[i], anExpected[i], aTolerance) << "element " << i;
	}

	// A chain 0 -> 1 -> 2 with joint 3 hanging nowhere, each joint's inverse bind a translation.
	std::shared_ptr<Norv::Model> ChainModel()
	{
		auto someModel = std::make_shared<Norv::Model>();
		Norv::Skeleton& someSkeleton = someModel->GetSkeleton();
		for (int j = 0; j < 4; ++j)
		{
			Norv::Joint& someJoint = someSkeleton.Joints.emplace_back();
			someJoint.myMatrix = Norv::Matrix4x4::CreateTranslation({ 0.0f, -10.0f * static_cast<float>(j), 0.0f });
			someJoint.myParent = j == 0 || j == 3 ? -1 : j - 1;
			if (j < 2)
				someJoint.myChildren.push_back(static_cast<std::uint32_t>(j + 1));
		}
		return someModel;
	}
}

TEST(JointTransform, ToMatrixIsScaleTimesRotationWithTheTranslationInRowFour)
{
	Norv::JointTransform someJoint;
	someJoint.myTranslation = { 1.0f, 2.0f, 3.0f };
	someJoint.myScale = { 2.0f, 2.0f, 2.0f };
	ExpectMatrixNear(someJoint.ToMatrix(false), { 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1 });
	ExpectMatrixNear(someJoint.ToMatrix(true), { 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1 });

	// 90 degrees about z carries x to y (row vectors).
	someJoint.myScale = { 1.0f, 3.0f, 1.0f };
	someJoint.myRotation = Norv::Quaternion(std::sqrt(0.5f), 0.0f, 0.0f, std::sqrt(0.5f));
	const Norv::Matrix4x4 someMatrix = someJoint.ToMatrix(false);
	ExpectMatrixNear(someMatrix, { 0, 1, 0, 0, -3, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1 });
}

TEST(DecomposeMatrix, RecoversTranslationRotationAndScaleAndCountsTheFourthColumn)
{
	Norv::JointTransform someJoint;
	someJoint.myTranslation = { -4.0f, 5.0f, 6.0f };
	someJoint.myRotation = Norv::Quaternion(0.5f, 0.5f, 0.5f, 0.5f);
	someJoint.myScale = { 2.0f, 3.0f, 4.0f };
	Norv::JointTransform someOut;
	Norv::DecomposeMatrix(someJoint.ToMatrix(false), someOut.myTranslation, someOut.myRotation, someOut.myScale);
	EXPECT_NEAR(someOut.myScale.x, 2.0f, 1e-5f);
	EXPECT_NEAR(someOut.myScale.y, 3.0f, 1e-5f);
	EXPECT_NEAR(someOut.myScale.z, 4.0f, 1e-5f);
	EXPECT_NEAR(std::abs(someOut.myRotation.Dot(someJoint.myRotation)), 1.0f, 1e-5f);
	EXPECT_EQ(someOut.myTranslation, someJoint.myTranslation);

	Norv::Matrix4x4 someSheared;
	someSheared(1, 4) = 1.0f;
	Norv::DecomposeMatrix(someSheared, someOut.myTranslation, someOut.myRotation, someOut.myScale);
	EXPECT_NEAR(someOut.myScale.x, std::sqrt(2.0f), 1e-6f);
}

TEST(DecomposeMatrix, ZeroScaleGivesTheIdentityRotationAndNoNaN)
{
	const Norv::Matrix4x4 someFlat = Norv::Matrix4x4::CreateScale({ 0.0f, 1.0f, 1.0f });
	Norv::Vector3<float> someTranslation, someScale;
	Norv::Quaternion someRotation(0.0f, 1.0f, 0.0f, 0.0f);
	Norv::DecomposeMatrix(someFlat, someTranslation, someRotation, someScale);
	EXPECT_EQ(someRotation, Norv::Quaternion());
	EXPECT_EQ(someScale.x, 0.0f);
	EXPECT_EQ(someScale.y, 1.0f);
}

TEST(AnimatedModelInstance, IdentityPoseGivesTheInverseBindMatricesAndUnreachableJointsIdentityWorlds)
{
	Norv::AnimatedModelInstance someInstance;
	someInstance.Init(ChainModel());
	Norv::SkeletonPose somePose;
	somePose.myJointCount = 4;
	someInstance.UpdatePose(somePose);
	const Norv::Skeleton& someSkeleton = someInstance.GetModel()->GetSkeleton();
	for (std::size_t j = 0; j < 4; ++j)
		ExpectMatrixNear(someInstance.GetBones()[j], someSkeleton.Joints[j].myMatrix);
	ExpectMatrixNear(someInstance.GetBones()[4], Norv::Matrix4x4());
}

TEST(AnimatedModelInstance, JointWorldsCompoundDownTheChainOnly)
{
	Norv::AnimatedModelInstance someInstance;
	someInstance.Init(ChainModel());
	Norv::SkeletonPose somePose;
	somePose.myJointCount = 4;
	for (int j = 0; j < 4; ++j)
		somePose.myJoints[static_cast<std::size_t>(j)].myTranslation = { 0.0f, 10.0f, 0.0f };
	someInstance.UpdatePose(somePose);
	// Joint j of the chain sits 10 (j + 1) up; its inverse bind takes 10 j away.
	for (std::size_t j = 0; j < 3; ++j)
		EXPECT_FLOAT_EQ(someInstance.GetBones()[j].GetTranslation().y, 10.0f);
	// Joint 3 is no descendant of joint 0: its world stays the identity, its pose unused.
	EXPECT_FLOAT_EQ(someInstance.GetBones()[3].GetTranslation().y, -30.0f);
}

TEST(AnimatedModelInstance, CyclicOrOutOfRangeChildrenAreNotFollowed)
{
	std::shared_ptr<Norv::Model> someModel = ChainModel();
	someModel->GetSkeleton().Joints[2].myChildren = { 0, 1, 500 };
	Norv::AnimatedModelInstance someInstance;
	someInstance.Init(someModel);
	Norv::SkeletonPose somePose;
	somePose.myJointCount = 4;
	someInstance.UpdatePose(somePose);
	ExpectMatrixNear(someInstance.GetBones()[2], someModel->GetSkeleton().Joints[2].myMatrix);
}

TEST(ModelInstance, StartsUnboundWithClearColourAndNeutralAdjust)
{
	const Norv::ModelInstance someInstance;
	EXPECT_EQ(someInstance.GetModel(), nullptr);
	EXPECT_EQ(someInstance.GetColor(), (Norv::Vector4<float>{ 0, 0, 0, 0 }));
	EXPECT_EQ(someInstance.myColorAdjust, (Norv::Vector4<float>{ 1, 1, 0, 0 }));
	const Norv::AnimatedModelInstance someAnimated;
	EXPECT_EQ(someAnimated.myColorAdjust, (Norv::Vector4<float>{ 1, 1, 0, 0 }));
	ExpectMatrixNear(someAnimated.GetBones()[127], Norv::Matrix4x4());
}
