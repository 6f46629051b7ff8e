#pragma once
// Pieces of the importer shared by its source files.
#include "Importer.h"

#include "fbxsdk/fbxsdk.h"

#include <cmath>
#include <stdexcept>
#include <string_view>

namespace NorvFbx::impl
{
	// aText, followed by " (path)" of the file being loaded when it does not name it.
	std::string NamingFile(const std::string& aText);

	// Faults in a file's content leave the loaders as this exception; it names the file.
	class ImportError : public std::runtime_error
	{
	public:
		explicit ImportError(const std::string& aText) : std::runtime_error(NamingFile(aText)) {}
	};

	// Prints and keeps aText, naming the file being loaded.
	void SetLastError(std::string aText);

	// Whether every element is a finite number: broken files give NaN and
	// singular matrices infinities, which would place vertices nowhere.
	inline bool IsFiniteMatrix(const Norv::Matrix4x4& aMatrix)
	{
		for (unsigned someIndex = 0; someIndex < 16; ++someIndex)
		{
			if (!std::isfinite(aMatrix[someIndex]))
				return false;
		}
		return true;
	}

	// The text after the first ':' (the whole name when it has none).
	std::string_view ShortName(std::string_view aName);

	// Every node below aNode whose attribute is a mesh, depth first, parents first.
	size_t CollectMeshNodes(fbxsdk::FbxNode* aNode, std::vector<fbxsdk::FbxNode*>& aOut);
	// Every LOD group node below aNode (their subtrees are not searched).
	size_t CollectLodGroupNodes(fbxsdk::FbxNode* aNode, std::vector<fbxsdk::FbxNode*>& aOut);
	// Appends one mesh per material of the node (one when it has none).
	void ImportMeshNode(fbxsdk::FbxScene* aScene, fbxsdk::FbxNode* aNode, Skeleton& aSkeleton, std::vector<Mesh>& aOutMeshes, bool aMergeVertices);

	// Walks the hierarchy from aNode: bones into the skeleton, event and socket
	// markers into their lists. True when the skeleton has bones.
	bool BuildSkeleton(fbxsdk::FbxNode* aNode, Skeleton& aSkeleton, std::vector<Bone>& aEvents, std::vector<Socket>& aSockets, std::int32_t aParent);
	// The skeleton's name from its first bone's namespace or the file name.
	std::string SkeletonName(const Skeleton& aSkeleton, const std::string& aPath);

	void ReadMaterial(fbxsdk::FbxSurfaceMaterial* aMaterial, Material& aOut);

	// Grows aInto to span aBounds as well.
	void MergeBounds(Bounds& aInto, const Bounds& aBounds);
	Bounds BoundsFromMinMax(const Norv::Vector3<float>& aMin, const Norv::Vector3<float>& aMax);
	Box BoxFromBounds(const Bounds& aBounds);

	// The importer state's SDK objects (null before InitImporter).
	fbxsdk::FbxManager* Manager();
	fbxsdk::FbxIOSettings* IOSettings();

	// Errors stop naming the file of the load that ends.
	void EndNamingFile();

	// Destroys a load's scene and importer however the load ends, and ends the
	// naming of its file in errors.
	class SceneGuard
	{
	public:
		~SceneGuard()
		{
			EndNamingFile();
			if (myScene)
				myScene->Destroy();
			if (myImporter)
				myImporter->Destroy();
		}
		fbxsdk::FbxImporter* myImporter = nullptr;
		fbxsdk::FbxScene* myScene = nullptr;
	};

	// Opens a file and makes the scene to import it into (steps shared by both
	// loaders): false with the last error set when the file is missing or unreadable.
	// Errors name aPath until aGuard ends.
	bool OpenScene(const std::string& aPath, SceneGuard& aGuard, const char* aCreateError);
	// Converts the scene to centimetres; false (asserted) when it cannot.
	bool ConvertToCentimetres(fbxsdk::FbxScene* aScene);
}
