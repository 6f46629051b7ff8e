// The scene the stand-in builds: transform chain, animation curves, unit and
// axis conversion, triangulation, tangents, clusters and takes.
#include "Support/FbxScenes.h"
#include "fbxsdk/fbxsdk.h"

#include <gtest/gtest.h>

using namespace fbxsdk;
using NorvTools::FbxNodeTransform;
using NorvTools::FbxSceneWriter;

namespace
{
	constexpr double EPSILON = 1e-9;

	class FbxSceneTest : public ::testing::Test
	{
	protected:
		void SetUp() override { myManager = FbxManager::Create(); }
		void TearDown() override { myManager->Destroy(); }

		FbxScene* Load(const FbxSceneWriter& aWriter, bool aBinary = true)
		{
			const std::string somePath = NorvTest::WriteScene(myFolder, "scene.fbx", aWriter, aBinary);
			FbxImporter* someImporter = FbxImporter::Create(myManager, "");
			EXPECT_TRUE(someImporter->Initialize(somePath.c_str())) << someImporter->GetStatus().GetErrorString();
			FbxScene* someScene = FbxScene::Create(myManager, "");
			EXPECT_TRUE(someImporter->Import(someScene)) << someImporter->GetStatus().GetErrorString();
			someImporter->Destroy();
			return someScene;
		}

		NorvTest::TempFolder myFolder;
		FbxManager* myManager = nullptr;
	};

	void ExpectPoint(const FbxVector4& aActual, double aX, double aY, double aZ)
	{
		EXPECT_NEAR(aActual[0], aX, 1e-6);
		EXPECT_NEAR(aActual[1], aY, 1e-6);
		EXPECT_NEAR(aActual[2], aZ, 1e-6);
	}
}

TEST(FbxMath, MatrixProductAppliesTheRightOperandFirst)
{
	const FbxAMatrix someMove = FbxAMatrix::FromTranslation(FbxVector4(10, 0, 0));
	const FbxAMatrix someTurn = FbxAMatrix::FromRotation(FbxVector4(0, 0, 90));
	ExpectPoint((someMove * someTurn).MultT(FbxVector4(1, 0, 0)), 10, 1, 0);
	ExpectPoint((someTurn * someMove).MultT(FbxVector4(1, 0, 0)), 0, 11, 0);
	const FbxAMatrix someTrs(FbxVector4(1, 2, 3), FbxVector4(30, -40, 50), FbxVector4(2, 3, 4));
	ExpectPoint(someTrs.GetT(), 1, 2, 3);
	ExpectPoint(someTrs.GetR(), 30, -40, 50);
	ExpectPoint(someTrs.GetS(), 2, 3, 4);
	EXPECT_TRUE((someTrs * someTrs.Inverse()).IsIdentity(1e-9));
	EXPECT_EQ(someTrs.GetRow(3)[0], 1.0);
}

TEST(FbxMath, FramesRoundTripThroughTicks)
{
	for (FbxTime::EMode someMode : { FbxTime::eFrames30, FbxTime::eFrames24, FbxTime::eNTSCFullFrame, FbxTime::eFrames60 })
		for (FbxLongLong f : { 0ll, 1ll, 29ll, 30ll, 1000ll, -3ll })
		{
			FbxTime someTime;
			someTime.SetFrame(f, someMode);
			EXPECT_EQ(someTime.GetFrameCount(someMode), f);
		}
	FbxTime someSecond;
	someSecond.SetFrame(30, FbxTime::eFrames30);
	EXPECT_EQ(someSecond.Get(), FbxTime::TICKS_PER_SECOND);
	EXPECT_DOUBLE_EQ(someSecond.GetSecondDouble(), 1.0);
}

TEST_F(FbxSceneTest, PivotsAndPreRotationFollowTheTransformChain)
{
	FbxSceneWriter someWriter;
	FbxNodeTransform someTransform;
	someTransform.translation = { 5, 0, 0 };
	someTransform.rotation = { 0, 0, 90 };
	someTransform.rotationPivot = { 1, 0, 0 };
	someWriter.AddNode("Pivoted", "Null", 0, someTransform);
	someTransform = {};
	someTransform.preRotation = { 0, 0, 90 };
	someTransform.rotationActive = true;
	someWriter.AddNode("PreActive", "Null", 0, someTransform);
	someTransform.rotationActive = false;
	someWriter.AddNode("PreInactive", "Null", 0, someTransform);
	FbxScene* someScene = Load(someWriter);
	// The pivot point stays put under the rotation.
	ExpectPoint(someScene->FindNodeByName("Pivoted")->EvaluateLocalTransform().MultT(FbxVector4(1, 0, 0)), 6, 0, 0);
	ExpectPoint(someScene->FindNodeByName("Pivoted")->EvaluateLocalTransform().MultT(FbxVector4(2, 0, 0)), 6, 1, 0);
	ExpectPoint(someScene->FindNodeByName("PreActive")->EvaluateLocalTransform().MultT(FbxVector4(1, 0, 0)), 0, 1, 0);
	ExpectPoint(someScene->FindNodeByName("PreInactive")->EvaluateLocalTransform().MultT(FbxVector4(1, 0, 0)), 1, 0, 0);
}

TEST_F(FbxSceneTest, RotationOrderAndInheritTypeShapeTheGlobalTransform)
{
	FbxSceneWriter someWriter;
	FbxNodeTransform someTransform;
	someTransform.rotation = { 90, 90, 0 };
	someTransform.rotationActive = true;
	someWriter.AddNode("Xyz", "Null", 0, someTransform);
	someTransform.rotationOrder = 5; // ZYX
	someWriter.AddNode("Zyx", "Null", 0, someTransform);

	FbxNodeTransform someParent;
	someParent.scaling = { 2, 1, 1 };
	const std::int64_t someParentId = someWriter.AddNode("Parent", "Null", 0, someParent);
	FbxNodeTransform someChild;
	someChild.rotation = { 0, 0, 90 };
	for (int someType : { 0, 1, 2 })
	{
		someChild.inheritType = someType;
		someWriter.AddNode("Child" + std::to_string(someType), "Null", someParentId, someChild);
	}
	FbxScene* someScene = Load(someWriter);
	// X first then Y: (0, 1, 0) -> (0, 0, 1) -> (1, 0, 0); Z, Y, X: (0, 1, 0) -> (0, 1, 0) -> (0, 0, 1).
	ExpectPoint(someScene->FindNodeByName("Xyz")->EvaluateLocalTransform().MultT(FbxVector4(0, 1, 0)), 1, 0, 0);
	ExpectPoint(someScene->FindNodeByName("Zyx")->EvaluateLocalTransform().MultT(FbxVector4(0, 1, 0)), 0, 0, 1);
	// RrSs: the parent's scale acts before the child's rotation; RSrs: after; Rrs: not at all.
	ExpectPoint(someScene->FindNodeByName("Child0")->EvaluateGlobalTransform().MultT(FbxVector4(1, 0, 0)), 0, 2, 0);
	ExpectPoint(someScene->FindNodeByName("Child1")->EvaluateGlobalTransform().MultT(FbxVector4(1, 0, 0)), 0, 1, 0);
	ExpectPoint(someScene->FindNodeByName("Child1")->EvaluateGlobalTransform().MultT(FbxVector4(0, 1, 0)), -2, 0, 0);
	ExpectPoint(someScene->FindNodeByName("Child2")->EvaluateGlobalTransform().MultT(FbxVector4(0, 1, 0)), -1, 0, 0);
}

TEST_F(FbxSceneTest, CurvesInterpolateLinearlyOrHoldTheirValue)
{
	FbxSceneWriter someWriter;
	const std::int64_t someNode = someWriter.AddNode("Mover", "Null");
	someWriter.AddAnimStack("Take", 0, NorvTest::Frame30(10));
	someWriter.AddCurve(someNode, "Lcl Translation", 0, { 0, NorvTest::Frame30(10) }, { 0.0f, 10.0f }, 4);
	someWriter.AddCurve(someNode, "Lcl Translation", 1, { 0, NorvTest::Frame30(10) }, { 3.0f, 7.0f }, 2);
	someWriter.AddCurve(someNode, "Lcl Translation", 2, { 0, NorvTest::Frame30(10) }, { 0.0f, 1.0f }, 8);
	FbxScene* someScene = Load(someWriter);
	FbxNode* someMover = someScene->FindNodeByName("Mover");
	// Z is cubic with flat tangents: 3t^2 - 2t^3.
	ExpectPoint(someMover->EvaluateLocalTransform(FbxTime(NorvTest::Frame30(5))).GetT(), 5, 3, 0.5);
	ExpectPoint(someMover->EvaluateLocalTransform(FbxTime(NorvTest::Frame30(10) / 4)).GetT(), 2.5, 3, 0.15625);
	ExpectPoint(someMover->EvaluateLocalTransform(FbxTime(NorvTest::Frame30(10))).GetT(), 10, 7, 1);
	// Before the first key and after the last, the end values hold.
	ExpectPoint(someMover->EvaluateLocalTransform(FbxTime(-NorvTest::Frame30(4))).GetT(), 0, 3, 0);
	ExpectPoint(someMover->EvaluateLocalTransform(FbxTime(NorvTest::Frame30(40))).GetT(), 10, 7, 1);
	ASSERT_EQ(someScene->GetSrcObjectCount<FbxAnimStack>(), 1);
	const FbxTakeInfo* someTake = someScene->GetTakeInfo("Take");
	ASSERT_NE(someTake, nullptr);
	EXPECT_EQ(someTake->mLocalTimeSpan.GetStop().Get(), NorvTest::Frame30(10));
}

TEST_F(FbxSceneTest, UnitConversionScalesPositionsAndTranslationsOnly)
{
	FbxSceneWriter someWriter(100.0);
	FbxNodeTransform someTransform;
	someTransform.translation = { 1, 2, 3 };
	someTransform.scaling = { 2, 2, 2 };
	someWriter.AddMesh(someWriter.AddNode("Cube", "Mesh", 0, someTransform), NorvTest::CubeMesh(0.5));
	FbxScene* someScene = Load(someWriter);
	EXPECT_EQ(someScene->GetGlobalSettings().GetSystemUnit(), FbxSystemUnit::m);
	FbxSystemUnit::ConversionOptions someOptions;
	FbxSystemUnit::cm.ConvertScene(someScene, someOptions);
	EXPECT_EQ(someScene->GetGlobalSettings().GetSystemUnit(), FbxSystemUnit::cm);
	FbxNode* someNode = someScene->FindNodeByName("Cube");
	ExpectPoint(someNode->GetMesh()->GetControlPointAt(7), 50, 50, 50);
	ExpectPoint(someNode->EvaluateLocalTransform().GetT(), 100, 200, 300);
	ExpectPoint(someNode->EvaluateLocalTransform().GetS(), 2, 2, 2);
	const FbxVector4 someNormal = someNode->GetMesh()->GetElementNormal(0)->GetDirectArray().GetAt(0);
	ExpectPoint(someNormal, 0, 0, -1);
}

TEST_F(FbxSceneTest, AxisConversionMapsZUpToDirectX)
{
	FbxSceneWriter someWriter;
	someWriter.SetAxes(2, 1, 1, -1, 0, 1); // Z up, -Y at the viewer, X right
	FbxNodeTransform someTransform;
	someTransform.translation = { 0, 0, 10 };
	someTransform.geometricTranslation = { 0, 0, 4 };
	const std::int64_t someNode = someWriter.AddNode("Up", "Mesh", 0, someTransform);
	someWriter.AddMesh(someNode, NorvTest::CubeMesh(0.5, { 0, 0, 3 }));
	FbxScene* someScene = Load(someWriter);
	FbxAxisSystem(FbxAxisSystem::eDirectX).DeepConvertScene(someScene);
	EXPECT_EQ(someScene->GetGlobalSettings().GetAxisSystem(), FbxAxisSystem(FbxAxisSystem::eDirectX));
	FbxNode* someUp = someScene->FindNodeByName("Up");
	// Up stays up (Y); the viewer's side (-Y in the file) becomes -Z; X stays right.
	ExpectPoint(someUp->EvaluateGlobalTransform().GetT(), 0, 10, 0);
	ExpectPoint(someUp->GetGeometricTranslation(), 0, 4, 0);
	ExpectPoint(someUp->GetMesh()->GetControlPointAt(0), -0.5, 2.5, -0.5);
	// A point of the file at (1, -1, 0): right and toward the viewer.
	FbxSceneWriter someProbe;
	someProbe.SetAxes(2, 1, 1, -1, 0, 1);
	FbxNodeTransform someOffset;
	someOffset.translation = { 1, -1, 0 };
	someProbe.AddNode("Probe", "Null", 0, someOffset);
	FbxScene* someProbeScene = Load(someProbe);
	FbxAxisSystem(FbxAxisSystem::eDirectX).DeepConvertScene(someProbeScene);
	ExpectPoint(someProbeScene->FindNodeByName("Probe")->EvaluateGlobalTransform().GetT(), 1, 0, -1);
}

TEST_F(FbxSceneTest, TriangulationCarriesLayerElementsAlong)
{
	// Material indices sit in the index array whatever the reference mode says.
	for (const char* someReference : { "IndexToDirect", "Direct" })
	{
		SCOPED_TRACE(someReference);
		FbxSceneWriter someWriter;
		NorvTools::FbxMeshData someMesh = NorvTest::CubeMesh();
		NorvTools::FbxLayerData someMaterials;
		someMaterials.mapping = "ByPolygon";
		someMaterials.reference = someReference;
		someMaterials.indices = { 0, 1, 0, 1, 0, 1 };
		someMesh.materials = someMaterials;
		someWriter.AddMesh(someWriter.AddNode("Cube", "Mesh"), someMesh);
		FbxScene* someScene = Load(someWriter);
		FbxGeometryConverter someConverter(myManager);
		ASSERT_TRUE(someConverter.Triangulate(someScene, true, true));
		const FbxMesh* someCube = someScene->FindNodeByName("Cube")->GetMesh();
		ASSERT_EQ(someCube->GetPolygonCount(), 12);
		ASSERT_EQ(someCube->GetElementMaterial(0)->GetIndexArray().GetCount(), 12);
		for (int p = 0; p < 12; ++p)
		{
			EXPECT_EQ(someCube->GetPolygonSize(p), 3);
			EXPECT_EQ(someCube->GetElementMaterial(0)->GetIndexArray().GetAt(p), (p / 2) % 2);
			// Each corner keeps its face's normal.
			const FbxVector4 someNormal = someCube->GetElementNormal(0)->GetDirectArray().GetAt(someCube->GetPolygonVertexIndex(p) + 2);
			const FbxVector4 someFirst = someCube->GetElementNormal(0)->GetDirectArray().GetAt(p / 2 * 6);
			ExpectPoint(someNormal, someFirst[0], someFirst[1], someFirst[2]);
		}
		// The second triangle of the first quad is corners 0, 2, 3 of it.
		EXPECT_EQ(someCube->GetPolygonVertex(1, 0), 0);
		EXPECT_EQ(someCube->GetPolygonVertex(1, 1), 3);
		EXPECT_EQ(someCube->GetPolygonVertex(1, 2), 1);
		EXPECT_FALSE(someConverter.Triangulate(someScene, false, true));
	}
}

TEST_F(FbxSceneTest, LegacyTriangulationFailsOnDegeneratePolygonsTheNewerDropsThem)
{
	FbxSceneWriter someWriter;
	NorvTools::FbxMeshData someMesh = NorvTest::CubeMesh();
	someMesh.normals.reset();
	someMesh.uvSets.clear();
	someMesh.polygons.push_back({ 0, 1 });
	someWriter.AddMesh(someWriter.AddNode("Cube", "Mesh"), someMesh);
	FbxScene* someScene = Load(someWriter);
	FbxGeometryConverter someConverter(myManager);
	EXPECT_FALSE(someConverter.Triangulate(someScene, true, true));
	EXPECT_EQ(someScene->FindNodeByName("Cube")->GetMesh()->GetPolygonCount(), 7);
	EXPECT_TRUE(someConverter.Triangulate(someScene, true, false));
	EXPECT_EQ(someScene->FindNodeByName("Cube")->GetMesh()->GetPolygonCount(), 12);
}

TEST_F(FbxSceneTest, GeneratedTangentsFollowUAndStandOnTheNormal)
{
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Cube", "Mesh"), NorvTest::CubeMesh());
	FbxScene* someScene = Load(someWriter);
	FbxMesh* someCube = someScene->FindNodeByName("Cube")->GetMesh();
	EXPECT_FALSE(someCube->GenerateTangentsData(1));
	ASSERT_TRUE(someCube->GenerateTangentsData(0));
	ASSERT_EQ(someCube->GetElementTangentCount(), 1);
	const auto& someTangents = someCube->GetElementTangent(0)->GetDirectArray();
	const auto& someBinormals = someCube->GetElementBinormal(0)->GetDirectArray();
	const auto& someNormals = someCube->GetElementNormal(0)->GetDirectArray();
	ASSERT_EQ(someTangents.GetCount(), 24);
	for (int i = 0; i < 24; ++i)
	{
		const FbxVector4 t = someTangents.GetAt(i), b = someBinormals.GetAt(i), n = someNormals.GetAt(i);
		EXPECT_NEAR(t[0] * t[0] + t[1] * t[1] + t[2] * t[2], 1.0, 1e-9);
		EXPECT_NEAR(t[0] * n[0] + t[1] * n[1] + t[2] * n[2], 0.0, 1e-9);
		EXPECT_NEAR(b[0] * n[0] + b[1] * n[1] + b[2] * n[2], 0.0, 1e-9);
	}
	// Existing tangents stay unless overwriting is asked for.
	someCube->myTangents[0]->GetDirectArray().myValues[0] = 42.0;
	ASSERT_TRUE(someCube->GenerateTangentsData(0));
	EXPECT_EQ(someCube->GetElementTangent(0)->GetDirectArray().GetAt(0)[0], 42.0);
	ASSERT_TRUE(someCube->GenerateTangentsData(0, true));
	EXPECT_NE(someCube->GetElementTangent(0)->GetDirectArray().GetAt(0)[0], 42.0);
}

TEST_F(FbxSceneTest, ClustersOfferTheMeshAndBoneGlobalsAtBinding)
{
	FbxSceneWriter someWriter;
	const std::int64_t someMeshNode = someWriter.AddNode("Body", "Mesh");
	const std::int64_t someGeometry = someWriter.AddMesh(someMeshNode, NorvTest::CubeMesh());
	const std::int64_t someBone = someWriter.AddNode("Bone", "LimbNode");
	const NorvTools::FbxMatrix someMeshGlobal{ 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 1, 2, 3, 1 };
	const NorvTools::FbxMatrix someBoneGlobal{ 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 5, 0, 1 };
	someWriter.AddCluster(someWriter.AddSkin(someGeometry), someBone, { 0, 1 }, { 1.0, 0.5 }, someMeshGlobal, someBoneGlobal);
	FbxScene* someScene = Load(someWriter);
	const FbxMesh* someMesh = someScene->FindNodeByName("Body")->GetMesh();
	ASSERT_EQ(someMesh->GetDeformerCount(FbxDeformer::eSkin), 1);
	const FbxSkin* someSkin = static_cast<const FbxSkin*>(someMesh->GetDeformer(0, FbxDeformer::eSkin));
	ASSERT_EQ(someSkin->GetClusterCount(), 1);
	const FbxCluster* someCluster = someSkin->GetCluster(0);
	EXPECT_EQ(someCluster->GetLink(), someScene->FindNodeByName("Bone"));
	FbxAMatrix someTransform, someLink;
	someCluster->GetTransformMatrix(someTransform);
	someCluster->GetTransformLinkMatrix(someLink);
	for (int i = 0; i < 16; ++i)
	{
		EXPECT_NEAR(someTransform.Get(i / 4, i % 4), someMeshGlobal[static_cast<size_t>(i)], EPSILON);
		EXPECT_NEAR(someLink.Get(i / 4, i % 4), someBoneGlobal[static_cast<size_t>(i)], EPSILON);
	}
	EXPECT_EQ(someCluster->GetControlPointIndicesCount(), 2);
	EXPECT_EQ(someCluster->GetControlPointWeights()[1], 0.5);
}

TEST_F(FbxSceneTest, InconsistentContentFailsTheImport)
{
	FbxSceneWriter someDeep;
	std::int64_t someParent = 0;
	for (int i = 0; i < 1200; ++i)
		someParent = someDeep.AddNode("N" + std::to_string(i), "Null", someParent);
	FbxImporter* someDeepImporter = FbxImporter::Create(myManager, "");
	ASSERT_TRUE(someDeepImporter->Initialize(NorvTest::WriteScene(myFolder, "deep.fbx", someDeep).c_str()));
	EXPECT_FALSE(someDeepImporter->Import(FbxScene::Create(myManager, "")));
	EXPECT_NE(std::string(someDeepImporter->GetStatus().GetErrorString()).find("nested more than 1000 levels"), std::string::npos);

	NorvTools::FbxMeshData someMesh = NorvTest::CubeMesh();
	someMesh.uvSets[0].indices[5] = 99; // past the four UVs
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Cube", "Mesh"), someMesh);
	const std::string somePath = NorvTest::WriteScene(myFolder, "bad.fbx", someWriter);
	FbxImporter* someImporter = FbxImporter::Create(myManager, "");
	ASSERT_TRUE(someImporter->Initialize(somePath.c_str()));
	FbxScene* someScene = FbxScene::Create(myManager, "");
	EXPECT_FALSE(someImporter->Import(someScene));
	EXPECT_NE(std::string(someImporter->GetStatus().GetErrorString()).find("index 99 is out of range"), std::string::npos);

	NorvTools::FbxMeshData someCorners = NorvTest::CubeMesh();
	someCorners.polygons[2][1] = 8; // no such control point
	FbxSceneWriter someOther;
	someOther.AddMesh(someOther.AddNode("Cube", "Mesh"), someCorners);
	ASSERT_TRUE(someImporter->Initialize(NorvTest::WriteScene(myFolder, "bad2.fbx", someOther).c_str()));
	EXPECT_FALSE(someImporter->Import(FbxScene::Create(myManager, "")));
	EXPECT_NE(std::string(someImporter->GetStatus().GetErrorString()).find("control point 8"), std::string::npos);
}
