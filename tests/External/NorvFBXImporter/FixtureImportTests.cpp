// Files written by a third-party modeller's exporter (binary FBX 7.4).
#include "Importer.h"
#include "Support/Fixtures.h"

#include "fbxsdk/fbxsdk.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
	const std::string FIXTURES = NorvTest::FixtureFile("fbx") + "/";

	class FixtureImport : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			NORV_SKIP_WITHOUT_FIXTURES();
			NorvFbx::InitImporter();
		}
	};

	Norv::Vector4<float> Transform(const Norv::Vector4<float>& aPoint, const Norv::Matrix4x4& aMatrix)
	{
		return aPoint * aMatrix;
	}

	bool Inside(const NorvFbx::Box& aBox, const Norv::Vector4<float>& aPoint)
	{
		constexpr float SLACK = 1e-4f;
		return aPoint.x >= aBox.min.x - SLACK && aPoint.x <= aBox.max.x + SLACK && aPoint.y >= aBox.min.y - SLACK && aPoint.y <= aBox.max.y + SLACK
			&& aPoint.z >= aBox.min.z - SLACK && aPoint.z <= aBox.max.z + SLACK;
	}
}

TEST_F(FixtureImport, CrateHasOneTexturedMeshInsideItsBounds)
{
	NorvFbx::ModelRecord someModel;
	ASSERT_TRUE(NorvFbx::LoadModel(FIXTURES + "static_crate.fbx", &someModel, false, true)) << NorvFbx::GetLastError();
	ASSERT_EQ(someModel.meshes.size(), 1u);
	const NorvFbx::Mesh& someMesh = someModel.meshes[0];
	EXPECT_EQ(someMesh.name, "Crate_Part0");
	EXPECT_EQ(someMesh.materialIndex, 0);
	EXPECT_EQ(someMesh.indices.size(), 36u);
	// 6 faces x 4 corners, each with its own normal.
	EXPECT_EQ(someMesh.vertices.size(), 24u);
	ASSERT_EQ(someModel.materials.size(), 1u);
	EXPECT_EQ(someModel.materials[0].name, "CrateMat0");
	EXPECT_EQ(someModel.materials[0].diffuse.relativePath, "textures/Crate_0_C.png");
	EXPECT_EQ(someModel.materials[0].diffuse.fileName, "textures/Crate_0_C.png");
	EXPECT_TRUE(someModel.materials[0].normalMap.fileName.empty());
	EXPECT_TRUE(someModel.skeleton.bones.empty());
	EXPECT_TRUE(someModel.skeleton.name.empty());
	EXPECT_EQ(someModel.box.valid, 1);
	for (const NorvFbx::Vertex& someVertex : someMesh.vertices)
	{
		EXPECT_TRUE(Inside(someModel.box, someVertex.position));
		EXPECT_NEAR(someVertex.normal.Length(), 1.0f, 1e-4f);
		EXPECT_NEAR(someVertex.tangent.Length(), 1.0f, 1e-4f);
		EXPECT_NEAR(someVertex.normal.Dot(someVertex.tangent), 0.0f, 1e-4f);
	}
}

TEST_F(FixtureImport, CharacterHasTwoMaterialMeshesSixBonesAndItsMarkers)
{
	NorvFbx::ModelRecord someModel;
	ASSERT_TRUE(NorvFbx::LoadModel(FIXTURES + "character_skinned.fbx", &someModel, false, true)) << NorvFbx::GetLastError();
	ASSERT_EQ(someModel.materials.size(), 2u);
	EXPECT_EQ(someModel.materials[0].name, "Body");
	EXPECT_EQ(someModel.materials[1].name, "Head");
	EXPECT_EQ(someModel.materials[0].diffuse.relativePath, "textures/Hero_Body_C.png");
	EXPECT_TRUE(someModel.materials[1].diffuse.relativePath.empty());

	ASSERT_EQ(someModel.meshes.size(), 2u);
	EXPECT_EQ(someModel.meshes[0].name, someModel.meshes[1].name);
	EXPECT_EQ(someModel.meshes[0].materialIndex, 0);
	EXPECT_EQ(someModel.meshes[1].materialIndex, 1);
	EXPECT_EQ(someModel.meshes[0].indices.size() + someModel.meshes[1].indices.size(), 96u * 2 * 3);

	const NorvFbx::Skeleton& someSkeleton = someModel.skeleton;
	ASSERT_EQ(someSkeleton.bones.size(), 6u);
	EXPECT_EQ(someSkeleton.name, "character_skinned");
	for (const char* someName : { "Root", "Spine", "Arm_L", "Neck", "Arm_R", "Head" })
		EXPECT_TRUE(someSkeleton.boneIndices.contains(someName)) << someName;
	EXPECT_EQ(someSkeleton.bones[0].name, "Root");
	EXPECT_EQ(someSkeleton.bones[0].parent, -1);
	for (size_t i = 1; i < someSkeleton.bones.size(); ++i)
		EXPECT_LT(someSkeleton.bones[i].parent, static_cast<std::int32_t>(i));
	ASSERT_TRUE(someSkeleton.sockets.contains("Hand_skt"));
	EXPECT_EQ(someSkeleton.sockets.at("Hand_skt").bone, someSkeleton.boneIndices.at("Head"));

	for (const NorvFbx::Mesh& someMesh : someModel.meshes)
		for (const NorvFbx::Vertex& someVertex : someMesh.vertices)
		{
			EXPECT_TRUE(Inside(someModel.box, someVertex.position));
			float someWeight = 0.0f;
			for (float w : someVertex.weights)
				someWeight += w;
			EXPECT_NEAR(someWeight, 1.0f, 1e-4f);
		}
}

TEST_F(FixtureImport, BindPosesPutTheSkinWhereTheModellerShowsIt)
{
	NorvFbx::ModelRecord someModel;
	ASSERT_TRUE(NorvFbx::LoadModel(FIXTURES + "character_skinned.fbx", &someModel, false, true));
	// The bones' bind globals, read through the SDK in the same (DirectX) axes.
	fbxsdk::FbxManager* someManager = fbxsdk::FbxManager::Create();
	fbxsdk::FbxImporter* someImporter = fbxsdk::FbxImporter::Create(someManager, "");
	ASSERT_TRUE(someImporter->Initialize((FIXTURES + "character_skinned.fbx").c_str()));
	fbxsdk::FbxScene* someScene = fbxsdk::FbxScene::Create(someManager, "");
	ASSERT_TRUE(someImporter->Import(someScene));
	fbxsdk::FbxAxisSystem(fbxsdk::FbxAxisSystem::eDirectX).DeepConvertScene(someScene);
	NorvFbx::TextMap<Norv::Matrix4x4> someBindGlobals;
	for (fbxsdk::FbxCluster* someCluster : someScene->myClusters)
	{
		fbxsdk::FbxAMatrix someLink;
		someBindGlobals[someCluster->GetLink()->GetName()] = NorvFbx::ToMatrix(someCluster->GetTransformLinkMatrix(someLink));
	}
	someManager->Destroy();

	// The exporter put rotation -90 about X and scale 100 on the mesh node; in
	// DirectX axes that maps (x, y, z) to 100 * (x, -z, y).
	for (const NorvFbx::Mesh& someMesh : someModel.meshes)
		for (const NorvFbx::Vertex& someVertex : someMesh.vertices)
		{
			Norv::Vector4<float> someSkinned;
			for (int i = 0; i < 4; ++i)
			{
				if (someVertex.weights[i] == 0.0f)
					continue;
				const NorvFbx::Bone& someBone = someModel.skeleton.bones[someVertex.bones[i]];
				const Norv::Matrix4x4 someSkin = Norv::Matrix4x4::Transpose(someBone.bindPose) * someBindGlobals.at(someBone.name);
				someSkinned += Transform(someVertex.position, someSkin) * someVertex.weights[i];
			}
			const Norv::Vector3<float> someExpected{ someVertex.position.x * 100.0f, -someVertex.position.z * 100.0f, someVertex.position.y * 100.0f };
			EXPECT_NEAR(someSkinned.x, someExpected.x, 1e-3f);
			EXPECT_NEAR(someSkinned.y, someExpected.y, 1e-3f);
			EXPECT_NEAR(someSkinned.z, someExpected.z, 1e-3f);
		}
}

TEST_F(FixtureImport, CharacterActionHas31FramesAndTheEventInFrames10To12)
{
	NorvFbx::AnimationRecord someAnimation;
	ASSERT_TRUE(NorvFbx::LoadAnimation(FIXTURES + "character_skinned.fbx", &someAnimation)) << NorvFbx::GetLastError();
	EXPECT_EQ(someAnimation.frameCount, 31u);
	EXPECT_DOUBLE_EQ(someAnimation.frameRate, 30.0);
	EXPECT_NEAR(someAnimation.duration, 1.0, 1e-9);
	ASSERT_EQ(someAnimation.frames.size(), 31u);
	EXPECT_EQ(someAnimation.boneNames.size(), 6u);
	for (size_t f = 0; f < someAnimation.frames.size(); ++f)
	{
		const bool someOn = someAnimation.frames[f].events.contains("Footstep_evt");
		EXPECT_EQ(someOn, f >= 10 && f <= 12) << "frame " << f;
		EXPECT_TRUE(someAnimation.frames[f].sockets.contains("Hand_skt"));
		EXPECT_EQ(someAnimation.frames[f].global.size(), 6u);
	}
	// The root bone moves: its frames differ.
	EXPECT_FALSE(someAnimation.frames[0].local.at("Root") == someAnimation.frames[15].local.at("Root"));
}
