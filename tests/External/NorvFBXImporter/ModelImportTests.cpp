// Model import: set-up, units, meshes split per material, vertices and merging,
// bounds, LOD groups, and the failure paths.
#include "ImporterInternal.h"
#include "ImporterTestSupport.h"
#include "Support/Fixtures.h"

#include <cstring>
#include <fstream>
#include <limits>

using NorvTest::ImporterTest;
using NorvTools::FbxLayerData;
using NorvTools::FbxSceneWriter;

namespace
{
	NorvTools::FbxNodeTransform At(double aX, double aY, double aZ)
	{
		NorvTools::FbxNodeTransform someTransform;
		someTransform.translation = { aX, aY, aZ };
		return someTransform;
	}
}

TEST_F(ImporterTest, MissingFileAndMissingSetUpReturnFalseWithTheirMessages)
{
	NorvFbx::ModelRecord someModel;
	someModel.path = "untouched";
	const std::string somePath = (myFolder.Path() / "nothing.fbx").string();
	EXPECT_FALSE(NorvFbx::LoadModel(somePath, &someModel, false, true));
	EXPECT_EQ(NorvFbx::GetLastError(), "FBX File not found! (" + somePath + ")");
	EXPECT_EQ(someModel.path, "untouched");

	FbxSceneWriter someWriter;
	const std::string someFile = NorvTest::WriteScene(myFolder, "empty.fbx", someWriter);
	NorvFbx::ShutdownImporter();
	EXPECT_FALSE(NorvFbx::LoadModel(someFile, &someModel, false, true));
	EXPECT_EQ(NorvFbx::GetLastError(), "Failed to create the FBX Importer! Did you call InitImporter()? (" + someFile + ")");
	NorvFbx::InitImporter();
	fbxsdk::FbxManager* const someManager = NorvFbx::impl::Manager();
	fbxsdk::FbxIOSettings* const someSettings = NorvFbx::impl::IOSettings();
	ASSERT_NE(someManager, nullptr);
	NorvFbx::InitImporter();
	EXPECT_EQ(NorvFbx::impl::Manager(), someManager) << "a second call keeps the first manager";
	EXPECT_EQ(NorvFbx::impl::IOSettings(), someSettings);
	EXPECT_TRUE(NorvFbx::LoadModel(someFile, &someModel, false, true));
}

TEST_F(ImporterTest, AFileThatCannotBeOpenedSaysWhyNotThatItIsMissing)
{
	NorvFbx::ModelRecord someModel;
	FbxSceneWriter someWriter;
	const std::string someFile = NorvTest::WriteScene(myFolder, "locked.fbx", someWriter);
	std::filesystem::permissions(someFile, std::filesystem::perms::none);
	if (std::ifstream(someFile).is_open())
		GTEST_SKIP() << "this user (root) reads a file without read permission; the folder case of FbxFileReader covers the same path";
	EXPECT_FALSE(NorvFbx::LoadModel(someFile, &someModel, false, true));
	EXPECT_EQ(NorvFbx::GetLastError(), "Failed to initialize the FBX Importer! Error was: Cannot read " + someFile + ": it cannot be opened (Permission denied).");
}

TEST_F(ImporterTest, AFileWithoutMeshesImportsAsAPointAtTheOrigin)
{
	FbxSceneWriter someWriter;
	someWriter.AddNode("Lonely", "Null", 0, At(5, 5, 5));
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	EXPECT_TRUE(someModel.meshes.empty());
	EXPECT_TRUE(someModel.lodGroups.empty());
	EXPECT_EQ(someModel.bounds.radius, 0.0f);
	EXPECT_EQ(someModel.box.min, Norv::Vector3<float>());
	EXPECT_EQ(someModel.box.max, Norv::Vector3<float>());
	EXPECT_EQ(someModel.box.valid, 1);
	EXPECT_EQ(someModel.path, (myFolder.Path() / "model.fbx").string());
}

TEST_F(ImporterTest, AOneMetreCubeAuthoredInMetresIsAHundredUnitsWide)
{
	FbxSceneWriter someWriter(100.0);
	someWriter.AddMesh(someWriter.AddNode("Cube", "Mesh"), NorvTest::CubeMesh(0.5));
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	ASSERT_EQ(someModel.meshes.size(), 1u);
	const NorvFbx::Mesh& someMesh = someModel.meshes[0];
	EXPECT_EQ(someMesh.indices.size(), 36u);
	EXPECT_EQ(someMesh.vertices.size(), 24u);
	for (const NorvFbx::Vertex& someVertex : someMesh.vertices)
		for (float someCoordinate : { someVertex.position.x, someVertex.position.y, someVertex.position.z })
			EXPECT_FLOAT_EQ(std::fabs(someCoordinate), 50.0f);
	EXPECT_FLOAT_EQ(someModel.bounds.radius, 50.0f);
	EXPECT_EQ(someMesh.materialIndex, -1);
}

TEST_F(ImporterTest, BoundsOfMeshesAwayFromTheOriginStillReachIt)
{
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Far", "Mesh"), NorvTest::Triangles({ 10, 1, 1, 20, 1, 1, 15, 2, 1 }));
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	ASSERT_EQ(someModel.meshes.size(), 1u);
	EXPECT_FLOAT_EQ(someModel.meshes[0].box.min.x, 0.0f);
	EXPECT_FLOAT_EQ(someModel.meshes[0].box.max.x, 20.0f);
	EXPECT_FLOAT_EQ(someModel.meshes[0].bounds.halfExtents.x, 10.0f);
	EXPECT_FLOAT_EQ(someModel.meshes[0].bounds.radius, 10.0f);
	EXPECT_FLOAT_EQ(someModel.box.min.y, 0.0f);
	EXPECT_FLOAT_EQ(someModel.box.max.y, 2.0f);
}

TEST_F(ImporterTest, CornersDifferingOnlyInTheSignOfZeroMerge)
{
	NorvTools::FbxMeshData someMesh = NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0, -0.0, 0, 0, 0, 1, 0, 1, 0, 0 });
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Pair", "Mesh"), someMesh);
	const NorvFbx::ModelRecord someMerged = LoadModel(someWriter);
	ASSERT_EQ(someMerged.meshes.size(), 1u);
	EXPECT_EQ(someMerged.meshes[0].vertices.size(), 3u);
	EXPECT_EQ(someMerged.meshes[0].indices, (std::vector<std::uint32_t>{ 0, 1, 2, 0, 2, 1 }));
	const NorvFbx::ModelRecord someSeparate = LoadModel(someWriter, true, false);
	EXPECT_EQ(someSeparate.meshes[0].vertices.size(), 6u);
}

TEST_F(ImporterTest, UvSetsAreFlippedAndEachUsesItsOwnIndices)
{
	NorvTools::FbxMeshData someMesh = NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 });
	FbxLayerData someFirst;
	someFirst.reference = "IndexToDirect";
	someFirst.values = { 0.25, 0.2, 0.5, 0.5 };
	someFirst.indices = { 0, 1, 1 };
	FbxLayerData someSecond;
	someSecond.reference = "IndexToDirect";
	someSecond.values = { 0.0, 0.0, 0.75, 0.25 };
	someSecond.indices = { 1, 0, 0 };
	someMesh.uvSets = { someFirst, someSecond };
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Mapped", "Mesh"), someMesh);
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	const std::vector<NorvFbx::Vertex>& someVertices = someModel.meshes.at(0).vertices;
	ASSERT_EQ(someVertices.size(), 3u);
	EXPECT_EQ(someVertices[0].uv[0], Norv::Vector2<float>(0.25f, 0.8f));
	EXPECT_EQ(someVertices[0].uv[1], Norv::Vector2<float>(0.75f, 0.75f));
	EXPECT_EQ(someVertices[1].uv[1], Norv::Vector2<float>(0.0f, 1.0f));
	EXPECT_EQ(someVertices[0].uv[2], Norv::Vector2<float>());
}

TEST_F(ImporterTest, EachMaterialOfANodeGetsAMeshWithItsOwnTriangles)
{
	NorvTools::FbxMeshData someMesh = NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 0, 0, 6, 0, 0, 5, 1, 0, 9, 0, 0, 9, 1, 0, 9, 0, 1 });
	FbxLayerData someMaterials;
	someMaterials.mapping = "ByPolygon";
	someMaterials.reference = "IndexToDirect";
	someMaterials.indices = { 1, 0, 1 };
	someMesh.materials = someMaterials;
	FbxSceneWriter someWriter;
	const std::int64_t someNode = someWriter.AddNode("Split", "Mesh");
	someWriter.AddMesh(someNode, someMesh);
	// The unused material comes first in the scene so node and scene orders differ.
	someWriter.AddMaterial("Unused");
	const std::int64_t someRed = someWriter.AddMaterial("Red");
	const std::int64_t someBlue = someWriter.AddMaterial("Blue");
	someWriter.ConnectMaterial(someRed, someNode);
	someWriter.ConnectMaterial(someBlue, someNode);
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	ASSERT_EQ(someModel.materials.size(), 3u);
	ASSERT_EQ(someModel.meshes.size(), 2u);
	EXPECT_EQ(someModel.meshes[0].name, "Split");
	EXPECT_EQ(someModel.meshes[1].name, "Split");
	EXPECT_EQ(someModel.materials[static_cast<size_t>(someModel.meshes[0].materialIndex)].name, "Red");
	EXPECT_EQ(someModel.materials[static_cast<size_t>(someModel.meshes[1].materialIndex)].name, "Blue");
	EXPECT_EQ(someModel.meshes[0].indices.size(), 3u);
	EXPECT_FLOAT_EQ(someModel.meshes[0].vertices[0].position.x, 5.0f);
	EXPECT_EQ(someModel.meshes[1].indices.size(), 6u);
	// The running bounds of a node cover its earlier material meshes too.
	EXPECT_FLOAT_EQ(someModel.meshes[1].box.max.x, 9.0f);
	EXPECT_FLOAT_EQ(someModel.meshes[1].box.min.x, 0.0f);
}

TEST_F(ImporterTest, AllSameMaterialMappingAppliesToEveryPolygon)
{
	NorvTools::FbxMeshData someMesh = NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 0, 0, 6, 0, 0, 5, 1, 0 });
	FbxLayerData someMaterials;
	someMaterials.mapping = "AllSame";
	someMaterials.reference = "IndexToDirect";
	someMaterials.indices = { 1 };
	someMesh.materials = someMaterials;
	FbxSceneWriter someWriter;
	const std::int64_t someNode = someWriter.AddNode("Same", "Mesh");
	someWriter.AddMesh(someNode, someMesh);
	someWriter.ConnectMaterial(someWriter.AddMaterial("First"), someNode);
	someWriter.ConnectMaterial(someWriter.AddMaterial("Second"), someNode);
	const std::int64_t someBare = someWriter.AddNode("Bare", "Mesh");
	someWriter.AddMesh(someBare, NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 }));
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	ASSERT_EQ(someModel.meshes.size(), 2u);
	EXPECT_EQ(someModel.meshes[0].materialIndex, 1);
	EXPECT_EQ(someModel.meshes[0].indices.size(), 6u);
	// A mesh without a material names none.
	EXPECT_EQ(someModel.meshes[1].name, "Bare");
	EXPECT_EQ(someModel.meshes[1].materialIndex, -1);
}

TEST_F(ImporterTest, NormalsColoursAndTangentsFollowTheirMappingModes)
{
	NorvTools::FbxMeshData someMesh = NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 });
	FbxLayerData someNormals;
	someNormals.mapping = "ByControlPoint";
	someNormals.reference = "IndexToDirect";
	someNormals.values = { 0, 0, 1, 0, 0, -1 };
	someNormals.indices = { 1, 0, 0 };
	someMesh.normals = someNormals;
	someMesh.uvSets[0].values = { 0, 0, 1, 0, 0, 1 };
	FbxLayerData someCornerColours;
	someCornerColours.values = { 1, 0, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1 };
	FbxLayerData somePolygonColours;
	somePolygonColours.mapping = "ByPolygon";
	somePolygonColours.values = { 1, 1, 1, 1 };
	someMesh.colorSets = { someCornerColours, somePolygonColours };
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Coloured", "Mesh"), someMesh);
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter, true, false);
	const std::vector<NorvFbx::Vertex>& someVertices = someModel.meshes.at(0).vertices;
	EXPECT_EQ(someVertices[0].normal, Norv::Vector3<float>(0, 0, 1));    // file -1, mirrored into DirectX axes
	EXPECT_EQ(someVertices[1].normal, Norv::Vector3<float>(0, 0, -1));
	EXPECT_EQ(someVertices[1].color[0], Norv::Vector4<float>(0, 1, 0, 1));
	EXPECT_EQ(someVertices[1].color[1], Norv::Vector4<float>());            // by polygon: not read
	EXPECT_NEAR(someVertices[0].tangent.Length(), 1.0f, 1e-5f);             // generated
}

TEST_F(ImporterTest, AnUnknownReferenceModeIsAnError)
{
	NorvTools::FbxMeshData someMesh = NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 });
	FbxLayerData someNormals;
	someNormals.reference = "Index";
	someNormals.values = { 0, 0, 1 };
	someNormals.indices = { 0, 0, 0 };
	someMesh.normals = someNormals;
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Odd", "Mesh"), someMesh);
	NorvFbx::ModelRecord someModel;
	const std::string somePath = NorvTest::WriteScene(myFolder, "odd.fbx", someWriter);
	try
	{
		NorvFbx::LoadModel(somePath, &someModel, false, true);
		ADD_FAILURE() << "expected an exception";
	}
	catch (const std::exception& aError)
	{
		EXPECT_EQ(aError.what(), "Invalid Reference Mode! (" + somePath + ")");
	}
}

TEST_F(ImporterTest, AMeshWithoutUvSetsIsAnError)
{
	NorvTools::FbxMeshData someMesh = NorvTest::CubeMesh();
	someMesh.uvSets.clear();
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Plain", "Mesh"), someMesh);
	NorvFbx::ModelRecord someModel;
	const std::string somePath = NorvTest::WriteScene(myFolder, "plain.fbx", someWriter);
	try
	{
		NorvFbx::LoadModel(somePath, &someModel, false, true);
		ADD_FAILURE() << "expected an exception";
	}
	catch (const std::exception& aError)
	{
		EXPECT_EQ(aError.what(), "Cannot load FBX file! No UV layers are present in the file. (" + somePath + ")");
	}
	EXPECT_TRUE(someModel.meshes.empty());
}

TEST_F(ImporterTest, AVertexPastWhatAFloatHoldsFailsTheLoadNamingItsMesh)
{
	// Control points and normals are doubles in the file; a float cannot hold these.
	NorvTools::FbxMeshData someFarPoint = NorvTest::CubeMesh();
	someFarPoint.controlPoints[4] = 1e300;
	NorvTools::FbxMeshData someNoNormal = NorvTest::CubeMesh();
	someNoNormal.normals->values[0] = std::numeric_limits<double>::quiet_NaN();
	for (const NorvTools::FbxMeshData& someMesh : { someFarPoint, someNoNormal })
	{
		FbxSceneWriter someWriter;
		someWriter.AddMesh(someWriter.AddNode("Far", "Mesh"), someMesh);
		NorvFbx::ModelRecord someModel;
		const std::string somePath = NorvTest::WriteScene(myFolder, "far.fbx", someWriter);
		try
		{
			NorvFbx::LoadModel(somePath, &someModel, false, true);
			ADD_FAILURE() << "expected an exception";
		}
		catch (const std::exception& aError)
		{
			EXPECT_EQ(aError.what(), "The mesh [Far] has a vertex that is not finite! (" + somePath + ")");
		}
		EXPECT_TRUE(someModel.meshes.empty());
	}
}

TEST_F(ImporterTest, LodLevelsTakeTheMeshesBelowTheirChildNodes)
{
	FbxSceneWriter someWriter;
	const std::int64_t someGroup = someWriter.AddNode("Tree_LOD", "LodGroup");
	someWriter.AddLodGroupAttribute(someGroup, { 250.0 });
	someWriter.AddMesh(someWriter.AddNode("Direct", "Mesh", someGroup), NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 }));
	const std::int64_t someLevel1 = someWriter.AddNode("Level1", "Null", someGroup);
	someWriter.AddMesh(someWriter.AddNode("Deep", "Mesh", someLevel1), NorvTest::Triangles({ 0, 0, 0, 30, 0, 0, 0, 1, 0 }));
	someWriter.AddMesh(someWriter.AddNode("Outside", "Mesh"), NorvTest::Triangles({ 0, 0, 0, 1, 0, 0, 0, 1, 0 }));
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	ASSERT_EQ(someModel.lodGroups.size(), 1u);
	const NorvFbx::LodGroup& someLod = someModel.lodGroups[0];
	ASSERT_EQ(someLod.levels.size(), 2u);
	EXPECT_EQ(someLod.levels[0].level, 0);
	EXPECT_EQ(someLod.levels[0].distance, 0.0f);
	EXPECT_TRUE(someLod.levels[0].meshes.empty());
	EXPECT_EQ(someLod.levels[1].level, 1);
	EXPECT_EQ(someLod.levels[1].distance, 250.0f);
	ASSERT_EQ(someLod.levels[1].meshes.size(), 1u);
	EXPECT_EQ(someLod.levels[1].meshes[0].name, "Deep");
	ASSERT_EQ(someModel.meshes.size(), 2u);
	EXPECT_EQ(someModel.meshes[0].name, "Direct");
	EXPECT_EQ(someModel.meshes[1].name, "Outside");
	// LOD meshes count towards the model's bounds.
	EXPECT_FLOAT_EQ(someModel.box.max.x, 30.0f);
}

TEST_F(ImporterTest, BinaryAndAsciiFormsImportIdentically)
{
	FbxSceneWriter someWriter(100.0);
	someWriter.SetAxes(2, 1, 1, -1, 0, 1);
	const std::int64_t someNode = someWriter.AddNode("Cube", "Mesh", 0, At(1, 2, 3));
	someWriter.AddMesh(someNode, NorvTest::CubeMesh(0.5, { 1, 0, 0 }));
	someWriter.ConnectMaterial(someWriter.AddMaterial("Mat"), someNode);
	someWriter.AddNode("Root", "LimbNode", someNode, At(0, 0, 1));
	const NorvFbx::ModelRecord someBinary = LoadModel(someWriter, true);
	const NorvFbx::ModelRecord someAscii = LoadModel(someWriter, false);
	ASSERT_EQ(someBinary.meshes.size(), 1u);
	ASSERT_EQ(someAscii.meshes.size(), 1u);
	ASSERT_EQ(someBinary.meshes[0].vertices.size(), someAscii.meshes[0].vertices.size());
	EXPECT_EQ(std::memcmp(someBinary.meshes[0].vertices.data(), someAscii.meshes[0].vertices.data(), someBinary.meshes[0].vertices.size() * sizeof(NorvFbx::Vertex)), 0);
	EXPECT_EQ(someBinary.meshes[0].indices, someAscii.meshes[0].indices);
	EXPECT_EQ(std::memcmp(&someBinary.bounds, &someAscii.bounds, sizeof(NorvFbx::Bounds)), 0);
	EXPECT_EQ(someBinary.materials[0].name, someAscii.materials[0].name);
	EXPECT_EQ(someBinary.skeleton.bones.size(), 1u);
	EXPECT_EQ(someAscii.skeleton.bones.size(), 1u);
}

TEST_F(ImporterTest, EveryErrorLineNamesItsFile)
{
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Cube", "Mesh"), NorvTest::CubeMesh());
	const std::string someWhole = NorvTools::WriteBinaryFbx(someWriter.Build());
	const std::string somePath = myFolder.Write("cut.fbx", someWhole.substr(0, someWhole.size() / 2)).string();
	NorvFbx::ModelRecord someModel;
	testing::internal::CaptureStderr();
	EXPECT_FALSE(NorvFbx::LoadModel(somePath, &someModel, false, true));
	const std::string someLines = testing::internal::GetCapturedStderr();
	EXPECT_NE(NorvFbx::GetLastError().find(somePath), std::string::npos) << NorvFbx::GetLastError();
	EXPECT_NE(someLines.find(somePath), std::string::npos) << someLines;
}

TEST_F(ImporterTest, BrokenFilesFailWithAClearError)
{
	NORV_SKIP_WITHOUT_FIXTURES();
	const std::string someFixture = NorvTest::FixtureFile("fbx/static_crate.fbx");
	std::ifstream someInput(someFixture, std::ios::binary);
	const std::string someBytes((std::istreambuf_iterator<char>(someInput)), std::istreambuf_iterator<char>());
	ASSERT_GT(someBytes.size(), 1000u);
	NorvFbx::ModelRecord someModel;
	for (size_t someLength : { size_t{ 0 }, size_t{ 20 }, size_t{ 27 }, size_t{ 500 }, someBytes.size() / 2, someBytes.size() - 200 })
	{
		const std::string somePath = myFolder.Write("cut.fbx", someBytes.substr(0, someLength)).string();
		EXPECT_FALSE(NorvFbx::LoadModel(somePath, &someModel, false, true)) << someLength;
		EXPECT_NE(NorvFbx::GetLastError().find("Failed to initialize the FBX Importer! Error was: "), std::string::npos);
	}
	// Flipped bytes anywhere either fail cleanly or still describe a scene.
	for (size_t someOffset = 27; someOffset < someBytes.size(); someOffset += 97)
	{
		std::string someDamaged = someBytes;
		someDamaged[someOffset] = static_cast<char>(someDamaged[someOffset] ^ 0x5a);
		try
		{
			NorvFbx::LoadModel(myFolder.Write("damaged.fbx", someDamaged).string(), &someModel, false, true);
		}
		catch (const std::exception&)
		{
		}
	}
	// Content that parses but does not hold together fails the import.
	NorvTools::FbxMeshData someMesh = NorvTest::CubeMesh();
	someMesh.normals->values.resize(9);
	FbxSceneWriter someWriter;
	someWriter.AddMesh(someWriter.AddNode("Short", "Mesh"), someMesh);
	EXPECT_FALSE(NorvFbx::LoadModel(NorvTest::WriteScene(myFolder, "short.fbx", someWriter), &someModel, false, true));
	EXPECT_NE(NorvFbx::GetLastError().find("Normals has 3 values, needs 24"), std::string::npos);
}
