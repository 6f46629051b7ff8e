#include "model/Model.h"

#include "debug/Assert.h"

namespace Norv
{
	std::uint64_t Model::NextId()
	{
		static std::uint64_t ourNextId = 0;
		return ++ourNextId;
	}

	bool Model::Init(const std::vector<MeshData>& someMeshData, const std::string& aPath)
	{
		NV_ASSERT(someMeshData.size() <= MAX_MESHES_PER_MODEL);
		if (someMeshData.size() > MAX_MESHES_PER_MODEL)
			return false;
		myMeshes = someMeshData;
		myPath = aPath;
		return true;
	}

	bool Model::AddMesh(const MeshData& aMesh, const std::string& aName)
	{
		if (myMeshes.size() >= MAX_MESHES_PER_MODEL)
			return false;
		myMeshes.push_back(aMesh);
		myPath = aName;
		return true;
	}
}
