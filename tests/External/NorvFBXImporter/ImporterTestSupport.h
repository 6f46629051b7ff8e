#pragma once
// Shared set-up of the importer tests: the importer state and a temp folder.
#include "Importer.h"
#include "Support/FbxScenes.h"

#include <gtest/gtest.h>

namespace NorvTest
{
	class ImporterTest : public ::testing::Test
	{
	protected:
		void SetUp() override { NorvFbx::InitImporter(); }

		NorvFbx::ModelRecord LoadModel(const NorvTools::FbxSceneWriter& aWriter, bool aBinary = true, bool aMerge = true)
		{
			NorvFbx::ModelRecord someModel;
			const std::string somePath = WriteScene(myFolder, "model.fbx", aWriter, aBinary);
			EXPECT_TRUE(NorvFbx::LoadModel(somePath, &someModel, false, aMerge)) << NorvFbx::GetLastError();
			return someModel;
		}

		TempFolder myFolder;
	};

	// One triangle (corners at control points 0, 1, 2) per group of three control points.
	inline NorvTools::FbxMeshData Triangles(std::vector<double> aControlPoints)
	{
		NorvTools::FbxMeshData someMesh;
		someMesh.controlPoints = std::move(aControlPoints);
		const std::int32_t someCount = static_cast<std::int32_t>(someMesh.controlPoints.size() / 3);
		for (std::int32_t i = 0; i + 2 < someCount; i += 3)
			someMesh.polygons.push_back({ i, i + 1, i + 2 });
		NorvTools::FbxLayerData someUvs;
		someUvs.mapping = "ByControlPoint";
		someUvs.values.assign(static_cast<size_t>(someCount) * 2, 0.0);
		someMesh.uvSets.push_back(someUvs);
		return someMesh;
	}
}
