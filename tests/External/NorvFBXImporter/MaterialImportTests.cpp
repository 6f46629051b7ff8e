// Material channels and their file textures.
#include "ImporterTestSupport.h"

using NorvTest::ImporterTest;
using NorvTools::FbxSceneWriter;

TEST_F(ImporterTest, TextureSlotsTakeTheFirstFileTextureOfTheirChannel)
{
	FbxSceneWriter someWriter;
	const std::int64_t someMaterial = someWriter.AddMaterial("Stone");
	someWriter.ConnectTexture(someWriter.AddFileTexture("First", "C:\\art\\Stone_C.dds", "..\\art\\Stone_C.dds"), someMaterial, "DiffuseColor");
	someWriter.ConnectTexture(someWriter.AddFileTexture("Second", "C:\\art\\Other_C.dds", "..\\art\\Other_C.dds"), someMaterial, "DiffuseColor");
	someWriter.ConnectTexture(someWriter.AddFileTexture("Normal", "/art/Stone_N.dds", "art/Stone_N.dds"), someMaterial, "NormalMap");
	const std::int64_t someLayered = someWriter.AddLayeredTexture("Blend");
	someWriter.ConnectTexture(someWriter.AddFileTexture("Under", "Under.dds", "Under.dds"), someLayered, "");
	someWriter.ConnectTexture(someLayered, someMaterial, "EmissiveColor");
	someWriter.ConnectTexture(someWriter.AddFileTexture("Shine", "Shine.dds", "Shine.dds"), someMaterial, "ShininessExponent");
	const NorvFbx::ModelRecord someModel = LoadModel(someWriter);
	ASSERT_EQ(someModel.materials.size(), 1u);
	const NorvFbx::Material& someStone = someModel.materials[0];
	EXPECT_EQ(someStone.name, "Stone");
	EXPECT_EQ(someStone.diffuse.fileName, "Stone_C.dds");
	EXPECT_EQ(someStone.diffuse.absolutePath, "C:\\art\\Stone_C.dds");
	EXPECT_EQ(someStone.diffuse.relativePath, "..\\art\\Stone_C.dds");
	// Only '/' separators: the whole relative path is the file name.
	EXPECT_EQ(someStone.normalMap.fileName, "art/Stone_N.dds");
	EXPECT_TRUE(someStone.emissive.fileName.empty());
	EXPECT_TRUE(someStone.emissive.absolutePath.empty());
	EXPECT_EQ(someStone.shininess.fileName, "Shine.dds");
	EXPECT_TRUE(someStone.specular.fileName.empty());
	EXPECT_TRUE(someStone.bump.relativePath.empty());
}
