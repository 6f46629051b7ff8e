#include "model/ModelFactory.h"

namespace Norv
{
	namespace
	{
		constexpr float HALF_EDGE = 50.0f; // the built-ins span 100 units

		struct Face
		{
			Vector3<float> myNormal;
			Vector3<float> myTangent;
			Vector3<float> myBinormal;
		};

		// Normal, tangent and binormal (normal x tangent, in the row-vector frame) per face.
		constexpr Face CUBE_FACES[6] = {
			{ { 0, 0, 1 }, { 1, 0, 0 }, { 0, -1, 0 } },
			{ { 0, 0, -1 }, { -1, 0, 0 }, { 0, -1, 0 } },
			{ { 1, 0, 0 }, { 0, 0, -1 }, { 0, -1, 0 } },
			{ { -1, 0, 0 }, { 0, 0, 1 }, { 0, -1, 0 } },
			{ { 0, 1, 0 }, { 1, 0, 0 }, { 0, 0, 1 } },
			{ { 0, -1, 0 }, { 1, 0, 0 }, { 0, 0, -1 } },
		};
		constexpr Vector2<float> FACE_UVS[4] = { { 0, 0 }, { 1, 0 }, { 1, 1 }, { 0, 1 } };

		ModelVertex MakeVertex(const Vector3<float>& aPosition, const Face& aFace, const Vector2<float>& aUv)
		{
			ModelVertex someVertex;
			someVertex.myPosition = { aPosition.x, aPosition.y, aPosition.z, 1.0f };
			someVertex.myColors[0] = { 1.0f, 1.0f, 1.0f, 1.0f };
			someVertex.myUvs[0] = aUv;
			someVertex.myNormal = aFace.myNormal;
			someVertex.myTangent = aFace.myTangent;
			someVertex.myBinormal = aFace.myBinormal;
			return someVertex;
		}
	}

	bool ModelFactory::StoreBuiltInModel(MeshData& aMesh, const std::string& aName)
	{
		if (!CreateMeshBuffers(aMesh))
			return false;
		aMesh.myName = aName;
		aMesh.myBounds = CalculateBounds(aMesh.myVertices);
		std::shared_ptr<Model> someModel = std::make_shared<Model>();
		someModel->AddMesh(aMesh, aName);
		LoadModelTextures("", *someModel);
		myModels[aName] = std::move(someModel);
		return true;
	}

	bool ModelFactory::CreateCubeModel()
	{
		MeshData someMesh;
		for (std::uint32_t k = 0; k < 6; ++k)
		{
			const Face& someFace = CUBE_FACES[k];
			// The corners go round the face as its UVs do, from (-tangent, -binormal).
			const Vector3<float> someCentre = someFace.myNormal * HALF_EDGE;
			const Vector3<float> someU = someFace.myTangent * HALF_EDGE;
			const Vector3<float> someV = someFace.myBinormal * HALF_EDGE;
			for (std::uint32_t c = 0; c < 4; ++c)
			{
				const Vector2<float>& someUv = FACE_UVS[c];
				const Vector3<float> somePosition = someCentre + someU * (someUv.x * 2.0f - 1.0f) + someV * (someUv.y * 2.0f - 1.0f);
				someMesh.myVertices.push_back(MakeVertex(somePosition, someFace, someUv));
			}
			for (std::uint32_t someIndex : { 4 * k, 4 * k + 1, 4 * k + 2, 4 * k, 4 * k + 2, 4 * k + 3 })
				someMesh.myIndices.push_back(someIndex);
		}
		return StoreBuiltInModel(someMesh, "Cube");
	}

	bool ModelFactory::CreatePlaneModel()
	{
		const Face someFace{ { 0, 1, 0 }, { 1, 0, 0 }, { 0, 0, -1 } };
		const Vector3<float> someCorners[4] = { { -HALF_EDGE, 0, HALF_EDGE }, { HALF_EDGE, 0, HALF_EDGE }, { HALF_EDGE, 0, -HALF_EDGE }, { -HALF_EDGE, 0, -HALF_EDGE } };
		MeshData someMesh;
		for (std::uint32_t c = 0; c < 4; ++c)
			someMesh.myVertices.push_back(MakeVertex(someCorners[c], someFace, FACE_UVS[c]));
		someMesh.myIndices = { 0, 1, 2, 0, 2, 3 };
		return StoreBuiltInModel(someMesh, "Plane");
	}
}
