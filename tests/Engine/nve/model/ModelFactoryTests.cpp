// The model factory over the FBX importer: caching per path and per (clip,
// model), hot reload, the built-ins, texture lookup and bad files.
#include "Support/Fixtures.h"
#include "Support/FbxScenes.h"
#include "Support/ModelScene.h"
#include "graphics/Texture.h"

#include <gtest/gtest.h>

#include <filesystem>

using NorvTest::CubeFbx;

namespace
{
	const std::string FIXTURES = NorvTest::FixtureFile("fbx") + "/";

	class ModelFactoryTest : public testing::Test
	{
	protected:
		void SetUp() override
		{
			if (!myScene.SetUp().IsGraphicsReady())
				GTEST_SKIP() << "no GPU device";
		}
		// Writes aBytes to data/aPath; returns aPath.
		std::string Put(const std::string& aPath, const std::string& aBytes)
		{
			myScene.SetUp().Folder().Write(std::filesystem::path("data") / aPath, aBytes);
			return aPath;
		}

		NorvTest::ModelScene myScene;
		NorvTest::FactoryScope myFactory;
	};
}

TEST_F(ModelFactoryTest, OnePathOneModelAndSlashSpellingsOpenOneFile)
{
	Put("props/box.fbx", CubeFbx(10.0));
	const std::shared_ptr<Norv::Model> someModel = myFactory->GetModel("props/box.fbx");
	ASSERT_NE(someModel, nullptr);
	EXPECT_EQ(myFactory->GetModel("props/box.fbx"), someModel);
	const std::shared_ptr<Norv::Model> someBackslashed = myFactory->GetModel("props\\box.fbx");
	ASSERT_NE(someBackslashed, nullptr);
	EXPECT_NE(someBackslashed, someModel); // another key ...
	EXPECT_EQ(someBackslashed->GetPath(), someModel->GetPath()); // ... for the same file
	ASSERT_EQ(someModel->GetMeshes().size(), 1u);
	const Norv::MeshData& someMesh = someModel->GetMeshes()[0];
	EXPECT_EQ(someMesh.myIndexCount, 36u);
	EXPECT_EQ(someMesh.myStride, 180u);
	EXPECT_NE(someMesh.myVertexBuffer.Get(), nullptr);
	EXPECT_NEAR(someMesh.myBounds.myHalfExtents.x, 10.0f, 1e-4f);
	EXPECT_NEAR(someMesh.myBounds.myRadius, std::sqrt(300.0f), 1e-3f);
	// No vertex colours in the file: white, not the zero colour.
	EXPECT_EQ(someMesh.myVertices[0].myColors[0], (Norv::Vector4<float>{ 1, 1, 1, 1 }));
	EXPECT_TRUE(someModel->GetSkeleton().Joints.empty());
	EXPECT_EQ(myFactory->GetAnimatedModelInstance("props/box.fbx").GetModel(), nullptr);
	EXPECT_EQ(myFactory->GetModelInstance("props/box.fbx").myFlag, 1u);
}

// The zero test is on the sum of the components, so a colour that cancels out is white too.
TEST_F(ModelFactoryTest, AVertexColourWhoseComponentsSumToZeroBecomesWhite)
{
	NorvTools::FbxMeshData someMesh = NorvTest::CubeMesh(1.0);
	NorvTools::FbxLayerData someCancelling;
	NorvTools::FbxLayerData someTint;
	for (int someCorner = 0; someCorner < 24; ++someCorner)
	{
		someCancelling.values.insert(someCancelling.values.end(), { 0.5, -0.5, 0.0, 0.0 });
		someTint.values.insert(someTint.values.end(), { 0.25, 0.5, 0.75, 1.0 });
	}
	someMesh.colorSets = { someCancelling, someTint };
	NorvTools::FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Tinted", "Mesh"), someMesh);
	const std::shared_ptr<Norv::Model> someModel = myFactory->GetModel(Put("tinted.fbx", NorvTools::WriteBinaryFbx(someWriter.Build())));
	ASSERT_NE(someModel, nullptr);
	const std::vector<Norv::ModelVertex>& someVertices = someModel->GetMeshes().at(0).myVertices;
	ASSERT_FALSE(someVertices.empty());
	for (const Norv::ModelVertex& someVertex : someVertices)
	{
		ASSERT_EQ(someVertex.myColors[0], (Norv::Vector4<float>{ 1, 1, 1, 1 }));
		ASSERT_EQ(someVertex.myColors[1], (Norv::Vector4<float>{ 0.25f, 0.5f, 0.75f, 1.0f }));
	}
}

TEST_F(ModelFactoryTest, AMissingFileIsNamedAndTriedAgainOnEveryRequest)
{
	testing::internal::CaptureStderr();
	EXPECT_EQ(myFactory->GetModel("props/later.fbx"), nullptr);
	EXPECT_EQ(myFactory->GetModel(""), nullptr); // no path asks for no model: nothing to report
	const std::string someErrors = testing::internal::GetCapturedStderr();
	EXPECT_EQ(someErrors, "The model \"props/later.fbx\" is in no asset folder\n");
	EXPECT_EQ(myFactory->GetModelInstance("later.fbx").GetModel(), nullptr);
	Put("later.fbx", CubeFbx(1.0));
	EXPECT_NE(myFactory->GetModel("later.fbx"), nullptr);
}

TEST_F(ModelFactoryTest, BuiltInCubeAndPlaneNeedNoFiles)
{
	const std::shared_ptr<Norv::Model> someCube = myFactory->GetModel("Cube");
	const std::shared_ptr<Norv::Model> somePlane = myFactory->GetModel("Plane");
	ASSERT_NE(someCube, nullptr);
	ASSERT_NE(somePlane, nullptr);
	EXPECT_EQ(someCube->GetPath(), "Cube");
	const Norv::MeshData& someCubeMesh = someCube->GetMeshes()[0];
	EXPECT_EQ(someCubeMesh.myVertexCount, 24u);
	EXPECT_EQ(someCubeMesh.myIndexCount, 36u);
	EXPECT_EQ(someCubeMesh.myBounds.myHalfExtents, (Norv::Vector3<float>{ 50, 50, 50 }));
	for (const Norv::ModelVertex& someVertex : someCubeMesh.myVertices)
	{
		// Each corner lies on its face's plane, 50 out along the face normal.
		const Norv::Vector3<float> somePosition{ someVertex.myPosition.x, someVertex.myPosition.y, someVertex.myPosition.z };
		EXPECT_FLOAT_EQ(somePosition.Dot(someVertex.myNormal), 50.0f);
		EXPECT_FLOAT_EQ(someVertex.myNormal.Dot(someVertex.myTangent), 0.0f);
	}
	EXPECT_EQ(somePlane->GetMeshes()[0].myIndices, (std::vector<std::uint32_t>{ 0, 1, 2, 0, 2, 3 }));
	// Every slot has the default texture of its kind.
	for (std::uint32_t someKind = 0; someKind < Norv::MODEL_TEXTURE_KIND_COUNT; ++someKind)
	{
		ASSERT_NE(someCube->GetTextures()[0][someKind], nullptr);
		EXPECT_FALSE(someCube->GetTextures()[0][someKind]->myIsFailed);
	}
	EXPECT_EQ(someCube->GetTextures()[1][0], nullptr);
}

TEST_F(ModelFactoryTest, AChangedFileReloadsOnTheNextRequestWhileOldInstancesKeepTheirs)
{
	Put("hot.fbx", CubeFbx(5.0));
	const Norv::ModelInstance someOld = myFactory->GetModelInstance("hot.fbx");
	ASSERT_NE(someOld.GetModel(), nullptr);
	Put("hot.fbx", CubeFbx(20.0));
	EXPECT_EQ(myFactory->GetModel("hot.fbx"), someOld.GetModel()); // cached until told
	myFactory->OnModelFileChanged("hot.fbx");
	const std::shared_ptr<Norv::Model> someNew = myFactory->GetModel("hot.fbx");
	ASSERT_NE(someNew, nullptr);
	EXPECT_NE(someNew, someOld.GetModel());
	EXPECT_NEAR(someNew->GetMeshes()[0].myBounds.myHalfExtents.x, 20.0f, 1e-4f);
	EXPECT_NEAR(someOld.GetModel()->GetMeshes()[0].myBounds.myHalfExtents.x, 5.0f, 1e-4f);
	EXPECT_NE(someOld.GetModel()->GetMeshes()[0].myVertexBuffer.Get(), nullptr);
}

TEST_F(ModelFactoryTest, MalformedFilesAndTooManyMeshesGiveAClearLineAndNoModel)
{
	const std::string someWhole = CubeFbx(1.0);
	Put("cut.fbx", someWhole.substr(0, someWhole.size() / 2));
	Put("five.fbx", CubeFbx(1.0, nullptr, 5));
	testing::internal::CaptureStderr();
	EXPECT_EQ(myFactory->GetModel("cut.fbx"), nullptr);
	EXPECT_EQ(myFactory->GetModel("five.fbx"), nullptr);
	const std::string someErrors = testing::internal::GetCapturedStderr();
	EXPECT_NE(someErrors.find("cut.fbx"), std::string::npos) << someErrors;
	EXPECT_NE(someErrors.find("five.fbx has 5 meshes"), std::string::npos) << someErrors;
	Put("four.fbx", CubeFbx(1.0, nullptr, 4));
	EXPECT_NE(myFactory->GetModel("four.fbx"), nullptr);
}

TEST_F(ModelFactoryTest, TexturesAreFoundByMaterialThenModelNameAndADottedFolderKeepsItsName)
{
	Put("release1.2/Hero.fbx", CubeFbx(1.0, "Body"));
	Put("release1.2/Body_N.dds", NorvTest::SolidDds({ 10, 20, 30, 255 }));
	Put("release1.2/Hero_D.dds", NorvTest::SolidDds({ 40, 50, 60, 255 }));
	Put("release1.2/Hero_N.dds", NorvTest::SolidDds({ 70, 80, 90, 255 }));
	const std::shared_ptr<Norv::Model> someModel = myFactory->GetModel("release1.2/Hero.fbx");
	ASSERT_NE(someModel, nullptr);
	EXPECT_EQ(someModel->GetMeshes()[0].myMaterialName, "Body");
	EXPECT_EQ(Norv::ModelFactory::GetModelBase("Assets/release1.2/Hero.fbx"), "Assets/release1.2/Hero");
	EXPECT_EQ(Norv::ModelFactory::GetModelBase("..\\data\\Hero.fbx"), "..\\data\\Hero");
	const auto& someRow = someModel->GetTextures()[0];
	EXPECT_NE(someRow[Norv::MODEL_TEXTURE_COLOR]->myName.find("Hero_D.dds"), std::string::npos);
	EXPECT_NE(someRow[Norv::MODEL_TEXTURE_NORMAL]->myName.find("Body_N.dds"), std::string::npos);
	EXPECT_NE(someRow[Norv::MODEL_TEXTURE_MATERIAL]->myName.find("T_Default_m.dds"), std::string::npos);
	// The instance copies the table.
	EXPECT_EQ(myFactory->GetModelInstance("release1.2/Hero.fbx").GetTextures()[0][Norv::MODEL_TEXTURE_NORMAL], someRow[Norv::MODEL_TEXTURE_NORMAL]);
}

TEST_F(ModelFactoryTest, AMeshWithoutMaterialGetsTheDefaultTextures)
{
	Put("plain.fbx", CubeFbx(1.0));
	const std::shared_ptr<Norv::Model> someModel = myFactory->GetModel("plain.fbx");
	ASSERT_NE(someModel, nullptr);
	EXPECT_TRUE(someModel->GetMeshes()[0].myMaterialName.empty());
	EXPECT_NE(someModel->GetTextures()[0][Norv::MODEL_TEXTURE_COLOR]->myName.find("T_Default_c.dds"), std::string::npos);
}

TEST_F(ModelFactoryTest, ClipsAreCachedPerModelAndNeverForANullModel)
{
	const std::string someCharacter = Norv::Settings::ResolveAssetPath(FIXTURES + "character_skinned.fbx");
	if (someCharacter.empty())
		GTEST_SKIP() << "fixture missing: " << FIXTURES;
	const std::shared_ptr<Norv::Model> someFirst = myFactory->GetModel(someCharacter);
	ASSERT_NE(someFirst, nullptr);
	EXPECT_EQ(myFactory->LoadAnimation(someCharacter, nullptr), nullptr);
	const Norv::AnimationPlayer someNone = myFactory->GetAnimationPlayer(someCharacter, nullptr);
	EXPECT_EQ(someNone.GetAnimation(), nullptr);

	std::shared_ptr<Norv::Animation> someClip = myFactory->LoadAnimation(someCharacter, someFirst);
	ASSERT_NE(someClip, nullptr);
	EXPECT_EQ(myFactory->LoadAnimation(someCharacter, someFirst), someClip);
	EXPECT_EQ(someClip->myFrameCount, 31u);
	EXPECT_FLOAT_EQ(someClip->myFrameRate, 30.0f);
	EXPECT_EQ(someClip->myFrames[0].myJointCount, 6u);

	// A reloaded file is another model, with a clip of its own; the old model's
	// clip leaves the cache with it and lives only as long as its holders.
	const std::weak_ptr<Norv::Animation> someStaleClip = someClip;
	const Norv::Animation* someStaleAddress = someClip.get();
	someClip.reset();
	myFactory->OnModelFileChanged(someCharacter);
	EXPECT_TRUE(someStaleClip.expired()) << "the cache kept the clip of a model it dropped";
	const std::shared_ptr<Norv::Model> someSecond = myFactory->GetModel(someCharacter);
	ASSERT_NE(someSecond, someFirst);
	EXPECT_NE(myFactory->LoadAnimation(someCharacter, someSecond).get(), someStaleAddress);
	const Norv::AnimationPlayer somePlayer = myFactory->GetAnimationPlayer(someCharacter, someSecond);
	EXPECT_EQ(somePlayer.GetAnimation(), myFactory->LoadAnimation(someCharacter, someSecond));
	EXPECT_EQ(somePlayer.GetFrameRate(), 30.0f);
	EXPECT_EQ(somePlayer.GetState(), Norv::ANIMATION_STATE_NEW);
}

TEST_F(ModelFactoryTest, DeveloperFixturesLoadIntoDrawableModels)
{
	const std::string someCrate = FIXTURES + "static_crate.fbx";
	const std::string someCharacter = FIXTURES + "character_skinned.fbx";
	if (!std::filesystem::exists(someCrate) || !std::filesystem::exists(someCharacter))
		GTEST_SKIP() << "fixtures missing under " << FIXTURES;
	const Norv::ModelInstance someCrateInstance = myFactory->GetModelInstance(someCrate);
	ASSERT_NE(someCrateInstance.GetModel(), nullptr);
	EXPECT_EQ(someCrateInstance.GetModel()->GetMeshes()[0].myMaterialName, "CrateMat0");

	const Norv::AnimatedModelInstance someHero = myFactory->GetAnimatedModelInstance(someCharacter);
	ASSERT_NE(someHero.GetModel(), nullptr);
	const Norv::Model& someModel = *someHero.GetModel();
	ASSERT_EQ(someModel.GetMeshes().size(), 2u);
	EXPECT_EQ(someModel.GetMeshes()[0].myMaterialName, "Body");
	EXPECT_EQ(someModel.GetMeshes()[1].myMaterialName, "Head");
	const Norv::Skeleton& someSkeleton = someModel.GetSkeleton();
	ASSERT_EQ(someSkeleton.Joints.size(), 6u);
	EXPECT_EQ(someSkeleton.myJointNames[0], "Root");
	EXPECT_EQ(someSkeleton.myJointNameToIndex.at("Head"), 5u);
	EXPECT_EQ(someSkeleton.myBindPose.myJointCount, 6u);
	for (const Norv::MeshData& someMesh : someModel.GetMeshes())
		for (const Norv::ModelVertex& someVertex : someMesh.myVertices)
			for (float someBone : someVertex.myBones)
			{
				EXPECT_EQ(someBone, std::floor(someBone));
				EXPECT_LT(someBone, 6.0f);
			}
}

TEST_F(ModelFactoryTest, ShadersAreCachedUnderTheirNameAsGivenAndFailuresAreNot)
{
	const std::shared_ptr<Norv::ModelShader> someShader = myFactory->GetModelShader("Shaders\\LambertModelShaderPS.hlsl");
	ASSERT_NE(someShader, nullptr);
	EXPECT_TRUE(someShader->IsLoaded());
	EXPECT_EQ(myFactory->GetModelShader("Shaders\\LambertModelShaderPS.hlsl"), someShader);
	EXPECT_NE(myFactory->GetAnimatedModelShader("Shaders\\LambertModelShaderPS.hlsl"), someShader);
	EXPECT_EQ(myFactory->GetModelShader("Shaders/NoSuchShader"), nullptr);
}
