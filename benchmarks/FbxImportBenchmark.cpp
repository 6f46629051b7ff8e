// Imports a generated skinned FBX file of about a million triangles with the
// engine's importer and with assimp, and prints milliseconds, MB/s and the ratio.
// "--read" compares reading alone and skips the whole imports (assimp's takes minutes).
// Build and run (taskset -c 0 in front measures one core):
//   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DNORV_BUILD_BENCHMARKS=ON
//   cmake --build build/bench --target NorvFbxImportBenchmark && build/bench/benchmarks/NorvFbxImportBenchmark [--read]
#include "Importer.h"
#include "fbxsdk/fbxsdk.h"
#include "fbxwriter/FbxSceneWriter.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string_view>

namespace
{
	constexpr int GRID_COLUMNS = 1000;  // quads across
	constexpr int GRID_ROWS = 500;      // quads down: 2 x 1000 x 500 = 1,000,000 triangles
	constexpr int BONE_COUNT = 32;
	constexpr int RUNS = 3;
	constexpr double BYTES_PER_MEGABYTE = 1024.0 * 1024.0;

	// A rippled grid skinned to a chain of bones along its rows, two bones per control point.
	NorvTools::FbxSceneWriter MakeScene()
	{
		NorvTools::FbxSceneWriter someWriter;
		NorvTools::FbxMeshData someMesh;
		const int someWidth = GRID_COLUMNS + 1;
		const int someHeight = GRID_ROWS + 1;
		for (int y = 0; y < someHeight; ++y)
			for (int x = 0; x < someWidth; ++x)
				someMesh.controlPoints.insert(someMesh.controlPoints.end(), { x * 1.0, y * 1.0, std::sin(x * 0.1) * std::cos(y * 0.1) });
		NorvTools::FbxLayerData someNormals;
		NorvTools::FbxLayerData someUvs;
		someUvs.reference = "IndexToDirect";
		for (int y = 0; y < someHeight; ++y)
			for (int x = 0; x < someWidth; ++x)
				someUvs.values.insert(someUvs.values.end(), { static_cast<double>(x) / GRID_COLUMNS, static_cast<double>(y) / GRID_ROWS });
		someMesh.polygons.reserve(static_cast<size_t>(GRID_COLUMNS) * GRID_ROWS * 2);
		for (int y = 0; y < GRID_ROWS; ++y)
			for (int x = 0; x < GRID_COLUMNS; ++x)
			{
				const std::int32_t a = y * someWidth + x, b = a + 1, c = a + someWidth, d = c + 1;
				for (const std::vector<std::int32_t>& someTriangle : { std::vector<std::int32_t>{ a, b, d }, std::vector<std::int32_t>{ a, d, c } })
				{
					someMesh.polygons.push_back(someTriangle);
					for (std::int32_t someCorner : someTriangle)
					{
						const double cx = someCorner % someWidth, cy = someCorner / someWidth;
						const double nx = -0.1 * std::cos(cx * 0.1) * std::cos(cy * 0.1), ny = 0.1 * std::sin(cx * 0.1) * std::sin(cy * 0.1);
						const double someLength = std::sqrt(nx * nx + ny * ny + 1.0);
						someNormals.values.insert(someNormals.values.end(), { nx / someLength, ny / someLength, 1.0 / someLength });
						someUvs.indices.push_back(someCorner);
					}
				}
			}
		someMesh.normals = someNormals;
		someMesh.uvSets.push_back(someUvs);
		NorvTools::FbxLayerData someMaterials;
		someMaterials.mapping = "AllSame";
		someMaterials.reference = "IndexToDirect";
		someMaterials.indices = { 0 };
		someMesh.materials = someMaterials;

		const std::int64_t someNode = someWriter.AddNode("Terrain", "Mesh");
		const std::int64_t someGeometry = someWriter.AddMesh(someNode, std::move(someMesh));
		someWriter.ConnectMaterial(someWriter.AddMaterial("Ground"), someNode);
		const std::int64_t someSkin = someWriter.AddSkin(someGeometry);
		std::int64_t someParent = 0;
		const double someRowsPerBone = static_cast<double>(someHeight) / BONE_COUNT;
		for (int b = 0; b < BONE_COUNT; ++b)
		{
			NorvTools::FbxNodeTransform someTransform;
			someTransform.translation = { 0.0, b == 0 ? 0.0 : someRowsPerBone, 0.0 };
			someParent = someWriter.AddNode("Bone" + std::to_string(b), "LimbNode", someParent, someTransform);
			someWriter.AddSkeletonAttribute(someParent);
			std::vector<std::int32_t> someIndices;
			std::vector<double> someWeights;
			for (int y = 0; y < someHeight; ++y)
			{
				const double someBone = y / someRowsPerBone;
				const int someFirst = static_cast<int>(someBone);
				const double someBlend = someBone - someFirst;
				const double someWeight = b == someFirst ? 1.0 - someBlend : (b == someFirst + 1 ? someBlend : 0.0);
				if (someWeight <= 0.0)
					continue;
				for (int x = 0; x < someWidth; ++x)
				{
					someIndices.push_back(y * someWidth + x);
					someWeights.push_back(someWeight);
				}
			}
			NorvTools::FbxMatrix someBoneGlobal = NorvTools::FBX_IDENTITY;
			someBoneGlobal[13] = b * someRowsPerBone;
			someWriter.AddCluster(someSkin, someParent, std::move(someIndices), std::move(someWeights), NorvTools::FBX_IDENTITY, someBoneGlobal);
		}
		return someWriter;
	}

	// What the engine's import does: triangles, merged vertices, tangents, four influences.
	constexpr unsigned SAME_WORK = aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_CalcTangentSpace | aiProcess_LimitBoneWeights;

	// Best of aRuns, in milliseconds; negative when a run fails.
	double BestMilliseconds(int aRuns, const std::function<bool()>& aRun)
	{
		double someBest = 1e30;
		for (int i = 0; i < aRuns; ++i)
		{
			const auto someStart = std::chrono::steady_clock::now();
			if (!aRun())
				return -1.0;
			const std::chrono::duration<double, std::milli> someTime = std::chrono::steady_clock::now() - someStart;
			someBest = std::min(someBest, someTime.count());
		}
		return someBest;
	}
}

int main(int argc, char** argv)
{
	const bool someReadOnly = argc > 1 && std::string_view(argv[1]) == "--read";
	const std::filesystem::path somePath = std::filesystem::temp_directory_path() / "norv-fbx-benchmark.fbx";
	{
		const std::string someBytes = NorvTools::WriteBinaryFbx(MakeScene().Build(), 7400, true);
		std::ofstream(somePath, std::ios::binary).write(someBytes.data(), static_cast<std::streamsize>(someBytes.size()));
	}
	const double someMegabytes = static_cast<double>(std::filesystem::file_size(somePath)) / BYTES_PER_MEGABYTE;
	std::printf("file: %s, %.1f MB, %d triangles, %d bones\n", somePath.c_str(), someMegabytes, GRID_COLUMNS * GRID_ROWS * 2, BONE_COUNT);

	// Reading alone: the stand-in's parse and scene build against assimp without post-processing.
	const double someRead = BestMilliseconds(RUNS, [&] {
		fbxsdk::FbxManager* someManager = fbxsdk::FbxManager::Create();
		fbxsdk::FbxImporter* someImporter = fbxsdk::FbxImporter::Create(someManager, "");
		const bool someOk = someImporter->Initialize(somePath.c_str()) && someImporter->Import(fbxsdk::FbxScene::Create(someManager, ""));
		someManager->Destroy();
		return someOk;
	});
	const double someAssimpRead = BestMilliseconds(RUNS, [&] {
		Assimp::Importer someImporter;
		return someImporter.ReadFile(somePath.string(), 0) != nullptr;
	});

	const auto report = [&](const char* aWhat, double aNorv, double aAssimp) {
		std::printf("%-34s norv %8.1f ms %6.1f MB/s | assimp %9.1f ms %6.1f MB/s | assimp / norv %.2fx\n", aWhat, aNorv, someMegabytes / (aNorv / 1000.0), aAssimp,
			someMegabytes / (aAssimp / 1000.0), aAssimp / aNorv);
	};
	if (someReadOnly)
	{
		std::filesystem::remove(somePath);
		if (someRead < 0 || someAssimpRead < 0)
		{
			std::fprintf(stderr, "a read failed\n");
			return 1;
		}
		report("read (no processing)", someRead, someAssimpRead);
		return 0;
	}

	// The whole import: triangulation, tangents, skin, vertex merging.
	NorvFbx::InitImporter();
	std::size_t someVertices = 0;
	const double someImport = BestMilliseconds(RUNS, [&] {
		NorvFbx::ModelRecord someModel;
		const bool someOk = NorvFbx::LoadModel(somePath.string(), &someModel, false, true);
		someVertices = someOk ? someModel.meshes.at(0).vertices.size() : 0;
		return someOk;
	});
	NorvFbx::ShutdownImporter();
	std::size_t someAssimpVertices = 0;
	const auto assimpImport = [&](unsigned aFlags) {
		Assimp::Importer someImporter;
		const aiScene* someScene = someImporter.ReadFile(somePath.string(), aFlags);
		someAssimpVertices = someScene && someScene->mNumMeshes > 0 ? someScene->mMeshes[0]->mNumVertices : 0;
		return someScene != nullptr;
	};
	// assimp's vertex joining takes minutes on this file: one run.
	const double someAssimpSame = BestMilliseconds(1, [&] { return assimpImport(SAME_WORK); });
	const std::size_t someAssimpSameVertices = someAssimpVertices;
	const double someAssimpUnmerged = BestMilliseconds(RUNS, [&] { return assimpImport(SAME_WORK & ~aiProcess_JoinIdenticalVertices); });
	std::filesystem::remove(somePath);
	if (someRead < 0 || someAssimpRead < 0 || someImport < 0 || someAssimpSame < 0 || someAssimpUnmerged < 0)
	{
		std::fprintf(stderr, "a load failed: %s\n", NorvFbx::GetLastError().c_str());
		return 1;
	}
	report("read (no processing)", someRead, someAssimpRead);
	report("import (same work)", someImport, someAssimpSame);
	report("import vs assimp without merging", someImport, someAssimpUnmerged);
	std::printf("vertices: norv %zu, assimp merged %zu, assimp unmerged %zu\n", someVertices, someAssimpSameVertices, someAssimpVertices);
	return 0;
}
