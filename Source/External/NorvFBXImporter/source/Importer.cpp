#include "ImporterInternal.h"

#include "debug/Assert.h"
#include "files/FilePath.h"

#include <algorithm>
#include <iostream>
#include <memory>

using namespace fbxsdk;

namespace NorvFbx
{
	namespace
	{
		struct ImporterState
		{
			FbxManager* manager = nullptr;
			FbxIOSettings* ioSettings = nullptr;
			std::unique_ptr<FbxGeometryConverter> converter;
			FbxAxisSystem targetAxisSystem;
			FbxImporter* importer = nullptr;
		};

		ImporterState& State()
		{
			static ImporterState theState;
			return theState;
		}

		std::string& LastError()
		{
			static std::string theLastError;
			return theLastError;
		}
	}

	void InitImporter()
	{
		ImporterState& someState = State();
		if (someState.manager)
			return;
		someState.manager = FbxManager::Create();
		someState.ioSettings = FbxIOSettings::Create(someState.manager, "NORV");
		// Textures are neither imported nor extracted from the file.
		someState.ioSettings->SetBoolProp("Import|AdvOptGrp|FileFormat|Fbx|Texture", false);
		someState.ioSettings->SetBoolProp("Import|AdvOptGrp|FileFormat|Fbx|ExtractEmbeddedData", false);
		someState.importer = FbxImporter::Create(someState.manager, "");
		someState.converter = std::make_unique<FbxGeometryConverter>(someState.manager);
		someState.targetAxisSystem = FbxAxisSystem(FbxAxisSystem::eDirectX);
	}

	void ShutdownImporter()
	{
		ImporterState& someState = State();
		if (!someState.manager)
			return;
		someState.manager->Destroy();
		someState.converter.reset();
		someState.manager = nullptr;
		someState.ioSettings = nullptr;
		someState.importer = nullptr;
	}

	const std::string& GetLastError()
	{
		return LastError();
	}

	Norv::Matrix4x4 ToMatrix(FbxAMatrix aMatrix)
	{
		Norv::Matrix4x4 someMatrix;
		for (int r = 1; r <= 4; ++r)
		{
			const FbxVector4 someRow = aMatrix.GetRow(r - 1);
			for (int c = 1; c <= 4; ++c)
				someMatrix(r, c) = static_cast<float>(someRow[c - 1]);
		}
		return someMatrix;
	}

	namespace impl
	{
		FbxManager* Manager() { return State().manager; }
		FbxIOSettings* IOSettings() { return State().ioSettings; }

		// The file of the load under way: its errors name it.
		std::string& CurrentFile()
		{
			thread_local std::string ourFile;
			return ourFile;
		}

		std::string NamingFile(const std::string& aText)
		{
			const std::string& someFile = CurrentFile();
			if (someFile.empty() || aText.find(someFile) != std::string::npos)
				return aText;
			return aText + " (" + someFile + ")";
		}

		void EndNamingFile()
		{
			CurrentFile().clear();
		}

		void SetLastError(std::string aText)
		{
			aText = NamingFile(aText);
			std::cerr << aText << '\n';
			LastError() = std::move(aText);
		}

		std::string_view ShortName(std::string_view aName)
		{
			const size_t someColon = aName.find(':');
			return someColon == std::string_view::npos ? aName : aName.substr(someColon + 1);
		}

		Bounds BoundsFromMinMax(const Norv::Vector3<float>& aMin, const Norv::Vector3<float>& aMax)
		{
			Bounds someBounds;
			someBounds.halfExtents = (aMax - aMin) * 0.5f;
			someBounds.center = (aMax + aMin) * 0.5f;
			someBounds.radius = std::max({ someBounds.halfExtents.x, someBounds.halfExtents.y, someBounds.halfExtents.z });
			return someBounds;
		}

		Box BoxFromBounds(const Bounds& aBounds)
		{
			return Box{ aBounds.center - aBounds.halfExtents, aBounds.center + aBounds.halfExtents, 1 };
		}

		void MergeBounds(Bounds& aInto, const Bounds& aBounds)
		{
			const Box someA = BoxFromBounds(aInto);
			const Box someB = BoxFromBounds(aBounds);
			const Norv::Vector3<float> someMin{ std::min(someA.min.x, someB.min.x), std::min(someA.min.y, someB.min.y), std::min(someA.min.z, someB.min.z) };
			const Norv::Vector3<float> someMax{ std::max(someA.max.x, someB.max.x), std::max(someA.max.y, someB.max.y), std::max(someA.max.z, someB.max.z) };
			aInto = BoundsFromMinMax(someMin, someMax);
		}

		bool OpenScene(const std::string& aPath, SceneGuard& aGuard, const char* aCreateError)
		{
			CurrentFile() = aPath;
			if (!Platform::FileExists(aPath))
			{
				SetLastError("FBX File not found! (" + aPath + ")");
				return false;
			}
			aGuard.myImporter = FbxImporter::Create(Manager(), "");
			if (!aGuard.myImporter)
			{
				SetLastError(aCreateError);
				return false;
			}
			const std::string someResolved = Platform::ResolveFilePath(std::string_view(aPath)).string();
			if (!aGuard.myImporter->Initialize(someResolved.c_str(), -1, IOSettings()) || !aGuard.myImporter->IsFBX())
			{
				SetLastError(std::string("Failed to initialize the FBX Importer! Error was: ") + aGuard.myImporter->GetStatus().GetErrorString() + ".");
				return false;
			}
			aGuard.myScene = FbxScene::Create(Manager(), "The Scene");
			return true;
		}

		bool ConvertToCentimetres(FbxScene* aScene)
		{
			if (aScene->GetGlobalSettings().GetSystemUnit() != FbxSystemUnit::cm)
			{
				FbxSystemUnit::ConversionOptions someOptions;
				someOptions.mConvertClusters = true;
				FbxSystemUnit::cm.ConvertScene(aScene, someOptions);
			}
			const bool someInCentimetres = aScene->GetGlobalSettings().GetSystemUnit() == FbxSystemUnit::cm;
			NV_ASSERT(someInCentimetres);
			if (!someInCentimetres)
				SetLastError("Failed to convert the FBX scene to centimetres.");
			return someInCentimetres;
		}
	}

	bool LoadModel(const std::string& aPath, ModelRecord* aOutModel, bool aRegenerateTangents, bool aMergeVertices)
	{
		impl::SceneGuard someGuard;
		if (!impl::OpenScene(aPath, someGuard, "Failed to create the FBX Importer! Did you call InitImporter()?"))
			return false;
		FbxScene* someScene = someGuard.myScene;
		if (!someGuard.myImporter->Import(someScene))
		{
			// A failed import is a failed load, whatever the status reads.
			impl::SetLastError("Failed to import the FBX file " + aPath + "! Error was: " + someGuard.myImporter->GetStatus().GetErrorString());
			return false;
		}
		if (!impl::ConvertToCentimetres(someScene))
			return false;

		someScene->ConnectMaterials();
		FbxGeometryConverter& someConverter = *State().converter;
		if (!someConverter.Triangulate(someScene, true, true) && !someConverter.Triangulate(someScene, true, false))
		{
			impl::SetLastError("Failed to triangulate the meshes of " + aPath + ".");
			return false;
		}

		std::vector<Material> someMaterials(static_cast<size_t>(someScene->GetMaterialCount()));
		for (int i = 0; i < someScene->GetMaterialCount(); ++i)
			impl::ReadMaterial(someScene->GetMaterial(i), someMaterials[static_cast<size_t>(i)]);

		std::vector<FbxNode*> someMeshNodes;
		std::vector<FbxNode*> someLodNodes;
		impl::CollectMeshNodes(someScene->GetRootNode(), someMeshNodes);
		impl::CollectLodGroupNodes(someScene->GetRootNode(), someLodNodes);

		for (FbxNode* someNode : someMeshNodes)
		{
			FbxMesh* someMesh = someNode->GetMesh();
			if (someMesh->GetUVLayerCount() == 0)
				throw impl::ImportError("Cannot load FBX file! No UV layers are present in the file.");
			const bool someHasTangents = someMesh->GetElementBinormalCount() > 0 && someMesh->GetElementTangentCount() > 0;
			if (someHasTangents && !aRegenerateTangents)
				continue;
			// Asked-for regeneration replaces the file's tangents.
			if (!someMesh->GenerateTangentsData(0, aRegenerateTangents, false))
				throw impl::ImportError(std::string("Failed to generate Tangent/BiNormal data for the mesh ") + someNode->GetName() + "! FBX Error was: " + someGuard.myImporter->GetStatus().GetErrorString());
		}

		State().targetAxisSystem.DeepConvertScene(someScene);

		Skeleton someSkeleton;
		std::vector<Bone> someEvents;
		std::vector<Socket> someSockets;
		if (impl::BuildSkeleton(someScene->GetRootNode(), someSkeleton, someEvents, someSockets, -1))
		{
			someSkeleton.name = impl::SkeletonName(someSkeleton, aPath);
			for (Socket& someSocket : someSockets)
				someSkeleton.sockets.emplace(someSocket.name, someSocket);
		}

		Bounds someModelBounds; // a point at the origin
		std::vector<LodGroup> someLodGroups;
		for (FbxNode* someGroupNode : someLodNodes)
		{
			LodGroup& someGroup = someLodGroups.emplace_back();
			const FbxLODGroup* someLod = someGroupNode->GetLodGroup();
			for (int i = 0; i < someGroupNode->GetChildCount(); ++i)
			{
				LodLevel someLevel;
				someLevel.level = i;
				FbxDistance someThreshold;
				if (i > 0 && someLod->GetThreshold(i - 1, someThreshold))
					someLevel.distance = someThreshold.value();
				std::vector<FbxNode*> someLevelNodes;
				impl::CollectMeshNodes(someGroupNode->GetChild(i), someLevelNodes);
				for (FbxNode* someNode : someLevelNodes)
				{
					std::erase_if(someMeshNodes, [&](FbxNode* aNode) { return aNode->GetUniqueID() == someNode->GetUniqueID(); });
					const size_t someFirst = someLevel.meshes.size();
					impl::ImportMeshNode(someScene, someNode, someSkeleton, someLevel.meshes, aMergeVertices);
					for (size_t m = someFirst; m < someLevel.meshes.size(); ++m)
						impl::MergeBounds(someModelBounds, someLevel.meshes[m].bounds);
				}
				someGroup.levels.push_back(std::move(someLevel));
			}
		}
		std::vector<Mesh> someMeshes;
		for (FbxNode* someNode : someMeshNodes)
		{
			const size_t someFirst = someMeshes.size();
			impl::ImportMeshNode(someScene, someNode, someSkeleton, someMeshes, aMergeVertices);
			for (size_t m = someFirst; m < someMeshes.size(); ++m)
				impl::MergeBounds(someModelBounds, someMeshes[m].bounds);
		}

		aOutModel->path = aPath;
		aOutModel->meshes = std::move(someMeshes);
		aOutModel->lodGroups = std::move(someLodGroups);
		aOutModel->skeleton = std::move(someSkeleton);
		aOutModel->materials = std::move(someMaterials);
		aOutModel->bounds = someModelBounds;
		aOutModel->box = impl::BoxFromBounds(someModelBounds);
		return true;
	}
}
