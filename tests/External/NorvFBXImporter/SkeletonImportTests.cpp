// Skeletons, skins, markers and animation sampling.
#include "ImporterTestSupport.h"

#include <limits>

using NorvTest::ImporterTest;
using NorvTools::FbxSceneWriter;

namespace
{
	std::string ErrorOf(const std::function<void()>& aLoad)
	{
		try
		{
			aLoad();
		}
		catch (const std::exception& aError)
		{
			return aError.what();
		}
		return "no exception";
	}

	NorvTools::FbxNodeTransform Offset(double aX, double aY, double aZ)
	{
		NorvTools::FbxNodeTransform someTransform;
		someTransform.translation = { aX, aY, aZ };
		return someTransform;
	}

	// Root -> Spine bones under a namespace, a socket and an event under Spine.
	struct Rig
	{
		FbxSceneWriter writer;
		std::int64_t root = 0, spine = 0, event = 0;

		explicit Rig(const std::string& aNamespace, double aUnit = 1.0) : writer(aUnit)
		{
			root = writer.AddNode(aNamespace + "Root", "LimbNode", 0, Offset(0, 1, 0));
			writer.AddSkeletonAttribute(root);
			spine = writer.AddNode(aNamespace + "Spine", "LimbNode", root, Offset(0, 2, 0));
			writer.AddSkeletonAttribute(spine);
			writer.AddNullAttribute(writer.AddNode("Grip_skt", "Null", spine, Offset(1, 0, 0)));
			event = writer.AddNode("Step_evt", "Null", spine);
			writer.AddNullAttribute(event);
		}
	};
}

TEST_F(ImporterTest, NamespacedBonesGetShortNamesAndNameTheSkeleton)
{
	Rig someRig("Hero:");
	const NorvFbx::ModelRecord someModel = LoadModel(someRig.writer);
	const NorvFbx::Skeleton& someSkeleton = someModel.skeleton;
	EXPECT_EQ(someSkeleton.name, "Hero");
	ASSERT_EQ(someSkeleton.bones.size(), 2u);
	EXPECT_EQ(someSkeleton.bones[0].name, "Hero:Root");
	EXPECT_EQ(someSkeleton.bones[0].shortName, "Root");
	EXPECT_EQ(someSkeleton.bones[1].parent, 0);
	EXPECT_EQ(someSkeleton.bones[0].children, std::vector<std::int32_t>{ 1 });
	EXPECT_EQ(someSkeleton.boneIndices.at("Spine"), 1);
	EXPECT_TRUE(someSkeleton.bones[0].bindPose == Norv::Matrix4x4());
	ASSERT_TRUE(someSkeleton.sockets.contains("Grip_skt"));
	const NorvFbx::Socket& someSocket = someSkeleton.sockets.at("Grip_skt");
	EXPECT_EQ(someSocket.bone, 1);
	EXPECT_EQ(someSocket.transform.GetTranslation(), Norv::Vector3<float>(1, 3, 0));
}

TEST_F(ImporterTest, BonesWithoutANamespaceNameTheSkeletonAfterTheFile)
{
	Rig someRig("");
	NorvFbx::ModelRecord someModel;
	ASSERT_TRUE(NorvFbx::LoadModel(NorvTest::WriteScene(myFolder, "Knight.fbx", someRig.writer), &someModel, false, true));
	EXPECT_EQ(someModel.skeleton.name, "Knight");
}

TEST_F(ImporterTest, BonesWhoseShortNamesClashFailTheLoad)
{
	FbxSceneWriter someWriter;
	someWriter.AddSkeletonAttribute(someWriter.AddNode("A:Root", "LimbNode"));
	someWriter.AddSkeletonAttribute(someWriter.AddNode("B:Root", "LimbNode"));
	const std::string somePath = NorvTest::WriteScene(myFolder, "clash.fbx", someWriter);
	NorvFbx::ModelRecord someModel;
	EXPECT_EQ(ErrorOf([&] { NorvFbx::LoadModel(somePath, &someModel, false, true); }), "Found more than one bone with the same name [B:Root]! (" + somePath + ")");
	EXPECT_TRUE(someModel.skeleton.bones.empty());
}

TEST_F(ImporterTest, MoreBonesThanAPoseHoldsFailTheLoad)
{
	FbxSceneWriter someWriter;
	std::int64_t someParent = 0;
	for (size_t i = 0; i <= NorvFbx::MAX_SKELETON_BONES; ++i)
	{
		someParent = someWriter.AddNode("Bone" + std::to_string(i), "LimbNode", someParent);
		someWriter.AddSkeletonAttribute(someParent);
	}
	const std::string somePath = NorvTest::WriteScene(myFolder, "many.fbx", someWriter);
	NorvFbx::ModelRecord someModel;
	EXPECT_EQ(ErrorOf([&] { NorvFbx::LoadModel(somePath, &someModel, false, true); }), "The skeleton has more than 128 bones! (" + somePath + ")");
}

TEST_F(ImporterTest, SkinKeepsTheFirstFourInfluencesAndSetsBindPoses)
{
	FbxSceneWriter someWriter;
	const std::int64_t someMeshNode = someWriter.AddNode("Body", "Mesh");
	const std::int64_t someGeometry = someWriter.AddMesh(someMeshNode, NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 }));
	const std::int64_t someSkin = someWriter.AddSkin(someGeometry);
	for (int i = 0; i < 5; ++i)
	{
		const std::int64_t someBone = someWriter.AddNode("B" + std::to_string(i), "LimbNode", 0, Offset(i, 0, 0));
		someWriter.AddSkeletonAttribute(someBone);
		NorvTools::FbxMatrix someBoneGlobal = NorvTools::FBX_IDENTITY;
		someBoneGlobal[12] = i;
		someWriter.AddCluster(someSkin, someBone, { 0 }, { 0.1 * (i + 1) }, NorvTools::FBX_IDENTITY, someBoneGlobal);
	}
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter, true, false);
	const NorvFbx::Vertex& someVertex = someModel.meshes.at(0).vertices.at(0);
	for (int i = 0; i < 4; ++i)
	{
		EXPECT_EQ(someVertex.bones[i], static_cast<std::uint32_t>(i));
		EXPECT_FLOAT_EQ(someVertex.weights[i], 0.1f * static_cast<float>(i + 1));
	}
	EXPECT_EQ(someModel.meshes[0].vertices[1].weights[0], 0.0f);
	// Bind pose: the inverse of the bone's global, transposed (translation in column 4).
	const Norv::Matrix4x4& someBind = someModel.skeleton.bones[3].bindPose;
	EXPECT_FLOAT_EQ(someBind(1, 4), -3.0f);
	EXPECT_FLOAT_EQ(someBind(4, 1), 0.0f);
}

TEST_F(ImporterTest, TheGeometricOffsetEntersTheBindPose)
{
	FbxSceneWriter someWriter;
	NorvTools::FbxNodeTransform someOffset;
	someOffset.geometricTranslation = { 0, 0, 4 };
	const std::int64_t someGeometry = someWriter.AddMesh(someWriter.AddNode("Body", "Mesh", 0, someOffset), NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 }));
	const std::int64_t someBone = someWriter.AddNode("Bone", "LimbNode");
	someWriter.AddSkeletonAttribute(someBone);
	someWriter.AddCluster(someWriter.AddSkin(someGeometry), someBone, { 0 }, { 1.0 }, NorvTools::FBX_IDENTITY, NorvTools::FBX_IDENTITY);
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	// Transposed: the translation is column 4; the file's +Z is -Z in DirectX axes.
	EXPECT_FLOAT_EQ(someModel.skeleton.bones.at(0).bindPose(3, 4), -4.0f);
	EXPECT_FLOAT_EQ(someModel.skeleton.bones.at(0).bindPose(4, 3), 0.0f);
}

TEST_F(ImporterTest, AClusterLinkedToANodeThatIsNoBoneFailsTheLoad)
{
	FbxSceneWriter someWriter;
	someWriter.AddSkeletonAttribute(someWriter.AddNode("Bone", "LimbNode"));
	const std::int64_t someGeometry = someWriter.AddMesh(someWriter.AddNode("Body", "Mesh"), NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 }));
	const std::int64_t someHelper = someWriter.AddNode("Helper", "Null");
	someWriter.AddCluster(someWriter.AddSkin(someGeometry), someHelper, { 0 }, { 1.0 }, NorvTools::FBX_IDENTITY, NorvTools::FBX_IDENTITY);
	const std::string somePath = NorvTest::WriteScene(myFolder, "helper.fbx", someWriter);
	NorvFbx::ModelRecord someModel;
	EXPECT_NE(ErrorOf([&] { NorvFbx::LoadModel(somePath, &someModel, false, true); }).find("is linked to [Helper], which is not a bone"), std::string::npos);
}

TEST_F(ImporterTest, AClusterLinkThatGivesNoFiniteBindPoseFailsTheLoad)
{
	// Link matrices whose inverse is far past what a float holds: a near-zero scale
	// and a far-off place.
	NorvTools::FbxMatrix someVanishing = NorvTools::FBX_IDENTITY;
	someVanishing[0] = someVanishing[5] = someVanishing[10] = 1e-300;
	NorvTools::FbxMatrix someFarOff = NorvTools::FBX_IDENTITY;
	someFarOff[12] = 1e300;
	for (const NorvTools::FbxMatrix& someLink : { someVanishing, someFarOff })
	{
		FbxSceneWriter someWriter;
		const std::int64_t someBone = someWriter.AddNode("Bone", "LimbNode");
		someWriter.AddSkeletonAttribute(someBone);
		const std::int64_t someGeometry = someWriter.AddMesh(someWriter.AddNode("Body", "Mesh"), NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 }));
		someWriter.AddCluster(someWriter.AddSkin(someGeometry), someBone, { 0 }, { 1.0 }, NorvTools::FBX_IDENTITY, someLink);
		const std::string somePath = NorvTest::WriteScene(myFolder, "singular.fbx", someWriter);
		NorvFbx::ModelRecord someModel;
		const std::string someError = ErrorOf([&] { NorvFbx::LoadModel(somePath, &someModel, false, true); });
		EXPECT_NE(someError.find("gives the bone [Bone] a bind pose that is not finite"), std::string::npos) << someError;
		EXPECT_NE(someError.find(somePath), std::string::npos) << someError;
		EXPECT_TRUE(someModel.meshes.empty());
	}
}

TEST_F(ImporterTest, AnimationSamplesEveryFrameOfTheTake)
{
	Rig someRig("Hero:", 100.0);
	someRig.writer.AddAnimStack("Walk", 0, NorvTest::Frame30(30));
	someRig.writer.AddCurve(someRig.root, "Lcl Translation", 0, { 0, NorvTest::Frame30(30) }, { 0.0f, 3.0f });
	// The event's translation is off zero in frames 4 to 6 only.
	someRig.writer.AddCurve(someRig.event, "Lcl Translation", 1, { 0, NorvTest::Frame30(4), NorvTest::Frame30(6), NorvTest::Frame30(7) }, { 0.0f, 0.5f, 0.5f, 0.0f }, 2);
	const std::string somePath = NorvTest::WriteScene(myFolder, "walk.fbx", someRig.writer);
	NorvFbx::AnimationRecord someAnimation;
	ASSERT_TRUE(NorvFbx::LoadAnimation(somePath, &someAnimation)) << NorvFbx::GetLastError();
	EXPECT_EQ(someAnimation.frameCount, 31u);
	EXPECT_EQ(someAnimation.frames.size(), 31u);
	EXPECT_DOUBLE_EQ(someAnimation.frameRate, 30.0);
	EXPECT_NEAR(someAnimation.duration, 1.0, 1e-12);
	EXPECT_EQ(someAnimation.name, somePath);
	EXPECT_EQ(someAnimation.boneNames, (std::vector<std::string>{ "Hero:Root", "Hero:Spine" }));
	for (size_t f = 0; f < 31; ++f)
		EXPECT_EQ(someAnimation.frames[f].events.contains("Step_evt"), f >= 4 && f <= 6) << f;
	// Metres become centimetres, as in the model.
	EXPECT_FLOAT_EQ(someAnimation.frames[15].local.at("Root")(4, 1), 150.0f);
	EXPECT_FLOAT_EQ(someAnimation.frames[30].global.at("Spine")(4, 2), 300.0f);
	EXPECT_FLOAT_EQ(someAnimation.frames[30].sockets.at("Grip_skt")(4, 1), 400.0f);
}

TEST_F(ImporterTest, AnAnimationThatPutsABoneNowhereFiniteFailsTheLoad)
{
	Rig someRig("Hero:");
	someRig.writer.AddAnimStack("Walk", 0, NorvTest::Frame30(4));
	someRig.writer.AddCurve(someRig.spine, "Lcl Translation", 0, { 0, NorvTest::Frame30(2), NorvTest::Frame30(4) },
		{ 0.0f, std::numeric_limits<float>::quiet_NaN(), 0.0f });
	const std::string somePath = NorvTest::WriteScene(myFolder, "nan.fbx", someRig.writer);
	NorvFbx::AnimationRecord someAnimation;
	const std::string someError = ErrorOf([&] { NorvFbx::LoadAnimation(somePath, &someAnimation); });
	EXPECT_NE(someError.find("puts the bone [Hero:Spine] nowhere finite in frame "), std::string::npos) << someError;
	EXPECT_NE(someError.find(somePath), std::string::npos) << someError;
	EXPECT_TRUE(someAnimation.frames.empty()) << "nothing of the broken take is kept";
}

TEST_F(ImporterTest, AnimationFailuresAreReported)
{
	NorvFbx::AnimationRecord someAnimation;
	EXPECT_FALSE(NorvFbx::LoadAnimation((myFolder.Path() / "none.fbx").string(), &someAnimation));
	EXPECT_EQ(NorvFbx::GetLastError().rfind("FBX File not found! (", 0), 0u);

	Rig someStill("");
	const std::string somePath = NorvTest::WriteScene(myFolder, "still.fbx", someStill.writer);
	EXPECT_EQ(ErrorOf([&] { NorvFbx::LoadAnimation(somePath, &someAnimation); }), "The file [" + somePath + "] has no animation stack!");

	FbxSceneWriter someBoneless;
	someBoneless.AddNode("Prop", "Null");
	someBoneless.AddAnimStack("Idle", 0, NorvTest::Frame30(3));
	const std::string someBonelessPath = NorvTest::WriteScene(myFolder, "boneless.fbx", someBoneless);
	EXPECT_EQ(ErrorOf([&] { NorvFbx::LoadAnimation(someBonelessPath, &someAnimation); }), "The file [" + someBonelessPath + "] has no skeleton!");

	// Content that does not hold together: the import fails with the reader's reason.
	FbxSceneWriter someBroken;
	NorvTools::FbxMeshData someMesh = NorvTest::CubeMesh();
	someMesh.polygons[0][0] = 40;
	someBroken.AddMesh(someBroken.AddNode("Body", "Mesh"), someMesh);
	const std::string someBrokenPath = NorvTest::WriteScene(myFolder, "broken.fbx", someBroken);
	EXPECT_NE(ErrorOf([&] { NorvFbx::LoadAnimation(someBrokenPath, &someAnimation); }).find("Failed to import the animation. Corrupted FBX file: "), std::string::npos);

	Rig someEndless("");
	someEndless.writer.AddAnimStack("Endless", 0, NorvTest::Frame30(50000000));
	const std::string someEndlessPath = NorvTest::WriteScene(myFolder, "endless.fbx", someEndless.writer);
	EXPECT_EQ(ErrorOf([&] { NorvFbx::LoadAnimation(someEndlessPath, &someAnimation); }), "The animation in [" + someEndlessPath + "] has 50000001 frames, more than 100000!");

	Rig someBackwards("");
	someBackwards.writer.AddAnimStack("Back", NorvTest::Frame30(5), NorvTest::Frame30(2));
	EXPECT_FALSE(NorvFbx::LoadAnimation(NorvTest::WriteScene(myFolder, "back.fbx", someBackwards.writer), &someAnimation));
	EXPECT_TRUE(someAnimation.frames.empty());
}
