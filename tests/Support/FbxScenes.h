#pragma once
// Small FBX scenes for tests, made with the project's FBX writer.
#include "Support/TempFolder.h"
#include "fbxwriter/FbxSceneWriter.h"

namespace NorvTest
{
	// A cube of the given half size centred at aCentre: six quads, normals per
	// polygon corner, one UV set by index.
	inline NorvTools::FbxMeshData CubeMesh(double aHalf = 0.5, std::array<double, 3> aCentre = { 0, 0, 0 })
	{
		NorvTools::FbxMeshData someMesh;
		for (int i = 0; i < 8; ++i)
			for (int a = 0; a < 3; ++a)
				someMesh.controlPoints.push_back(aCentre[static_cast<size_t>(a)] + (((i >> a) & 1) ? aHalf : -aHalf));
		someMesh.polygons = { { 0, 2, 3, 1 }, { 4, 5, 7, 6 }, { 0, 1, 5, 4 }, { 2, 6, 7, 3 }, { 0, 4, 6, 2 }, { 1, 3, 7, 5 } };
		const double NORMALS[6][3] = { { 0, 0, -1 }, { 0, 0, 1 }, { 0, -1, 0 }, { 0, 1, 0 }, { -1, 0, 0 }, { 1, 0, 0 } };
		NorvTools::FbxLayerData someNormals;
		NorvTools::FbxLayerData someUvs;
		someUvs.reference = "IndexToDirect";
		someUvs.values = { 0, 0, 1, 0, 1, 1, 0, 1 };
		for (int p = 0; p < 6; ++p)
			for (int k = 0; k < 4; ++k)
			{
				someNormals.values.insert(someNormals.values.end(), NORMALS[p], NORMALS[p] + 3);
				someUvs.indices.push_back(k);
			}
		someMesh.normals = someNormals;
		someMesh.uvSets.push_back(someUvs);
		return someMesh;
	}

	// Binary FBX bytes of aMeshCount cube mesh nodes "Box<i>" under the root, each
	// optionally with a material.
	inline std::string CubeFbx(double aHalf, const char* aMaterial = nullptr, int aMeshCount = 1)
	{
		NorvTools::FbxSceneWriter someWriter;
		for (int i = 0; i < aMeshCount; ++i)
		{
			const std::int64_t someNode = someWriter.AddNode("Box" + std::to_string(i), "Mesh");
			someWriter.AddMesh(someNode, CubeMesh(aHalf));
			if (aMaterial)
				someWriter.ConnectMaterial(someWriter.AddMaterial(aMaterial), someNode);
		}
		return NorvTools::WriteBinaryFbx(someWriter.Build());
	}

	// Writes the scene as binary (compressed arrays) or ASCII; returns the path.
	inline std::string WriteScene(const TempFolder& aFolder, const std::string& aName, const NorvTools::FbxSceneWriter& aScene, bool aBinary = true)
	{
		const NorvTools::FbxRecord someRoot = aScene.Build();
		return aFolder.Write(aName, aBinary ? NorvTools::WriteBinaryFbx(someRoot) : NorvTools::WriteAsciiFbx(someRoot)).string();
	}

	// Frame f of a 30 fps scene in FBX ticks.
	inline std::int64_t Frame30(std::int64_t aFrame)
	{
		return aFrame * (NorvTools::FBX_TICKS_PER_SECOND / 30);
	}
}
