#pragma once
// The GPU-ready form of one FBX file or built-in primitive: up to four meshes,
// an optional skeleton and, per mesh, the four textures it is drawn with.
// Made only by the model factory and shared through std::shared_ptr.
#include "Math/Vector.h"
#include "d3d11/d3d11.h"
#include "model/ModelDefines.h"
#include "model/Skeleton.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Norv
{
	struct Texture;

	// Texture kinds of a mesh, the second index of a model's texture table.
	enum ModelTextureKind : std::uint32_t
	{
		MODEL_TEXTURE_COLOR = 0,
		MODEL_TEXTURE_NORMAL = 1,
		MODEL_TEXTURE_MATERIAL = 2,
		MODEL_TEXTURE_EFFECTS = 3,
		MODEL_TEXTURE_KIND_COUNT = 4,
	};

	using ModelTextureTable = Texture* [MAX_MESHES_PER_MODEL][MODEL_TEXTURE_KIND_COUNT];

	// The 180-byte GPU vertex of the model input layout.
	struct ModelVertex
	{
		Vector4<float> myPosition;
		Vector4<float> myColors[4];
		Vector2<float> myUvs[4];
		Vector3<float> myNormal;
		Vector3<float> myTangent;
		Vector3<float> myBinormal;
		float myBones[4] = {};
		float myWeights[4] = {};
	};
	static_assert(sizeof(ModelVertex) == 180, "the model input layout is 180 bytes");

	struct MeshBounds
	{
		float myRadius = 0.0f; // half diagonal of the box
		Vector3<float> myHalfExtents;
		Vector3<float> myCenter;
	};

	struct MeshData
	{
		std::string myName;
		std::string myMaterialName; // empty when the mesh has no material
		std::uint32_t myVertexCount = 0;
		std::uint32_t myIndexCount = 0;
		std::uint64_t myStride = sizeof(ModelVertex);
		// Released with the last copy of the mesh (a reloaded model frees the old buffers).
		Microsoft::WRL::ComPtr<ID3D11Buffer> myVertexBuffer;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myIndexBuffer;
		MeshBounds myBounds;
		std::vector<ModelVertex> myVertices;
		std::vector<std::uint32_t> myIndices;
	};

	class Model
	{
	public:
		// False (asserted, nothing kept) with more than MAX_MESHES_PER_MODEL meshes.
		bool Init(const std::vector<MeshData>& someMeshData, const std::string& aPath);
		// Appends one mesh and names the model; false past MAX_MESHES_PER_MODEL.
		bool AddMesh(const MeshData& aMesh, const std::string& aName);

		const std::vector<MeshData>& GetMeshes() const { return myMeshes; }
		const std::string& GetPath() const { return myPath; }
		const Skeleton& GetSkeleton() const { return mySkeleton; }
		Skeleton& GetSkeleton() { return mySkeleton; }
		const ModelTextureTable& GetTextures() const { return myTextures; }
		ModelTextureTable& GetTextures() { return myTextures; }
		// Unique for the process: caches key on it, as an address may be reused.
		std::uint64_t GetId() const { return myId; }

	private:
		static std::uint64_t NextId();

		Skeleton mySkeleton;
		std::vector<MeshData> myMeshes;
		std::string myPath;
		ModelTextureTable myTextures = {};
		std::uint64_t myId = NextId();
	};
}
