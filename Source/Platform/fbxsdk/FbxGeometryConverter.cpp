#include "fbxsdk/FbxScene.h"

namespace fbxsdk
{
	namespace
	{
		// Old corner (or polygon) behind each new one.
		using SourceMap = std::vector<std::int32_t>;

		template <typename Values>
		void Gather(Values& aValues, const SourceMap& aSources, size_t aStride)
		{
			Values someGathered(aSources.size() * aStride);
			for (size_t i = 0; i < aSources.size(); ++i)
				for (size_t c = 0; c < aStride; ++c)
					someGathered[i * aStride + c] = aValues[static_cast<size_t>(aSources[i]) * aStride + c];
			aValues.swap(someGathered);
		}

		// Direct values are kept in the element array when it is referenced by index;
		// material indices are always in the index array, whatever the reference mode.
		template <typename Element>
		void Remap(Element& aElement, const SourceMap& aCorners, const SourceMap& aPolygons)
		{
			const SourceMap* someSources = aElement.GetMappingMode() == FbxLayerElement::eByPolygonVertex ? &aCorners
				: aElement.GetMappingMode() == FbxLayerElement::eByPolygon ? &aPolygons : nullptr;
			if (!someSources)
				return;
			if constexpr (requires { aElement.GetDirectArray(); })
			{
				if (aElement.GetReferenceMode() == FbxLayerElement::eDirect)
				{
					Gather(aElement.GetDirectArray().myValues, *someSources, static_cast<size_t>(std::remove_reference_t<decltype(aElement.GetDirectArray())>::STRIDE));
					return;
				}
			}
			Gather(aElement.GetIndexArray().myValues, *someSources, 1);
		}

		template <typename Element>
		void RemapAll(std::vector<std::unique_ptr<Element>>& aElements, const SourceMap& aCorners, const SourceMap& aPolygons)
		{
			for (auto& someElement : aElements)
				Remap(*someElement, aCorners, aPolygons);
		}

		void TriangulateMesh(FbxMesh& aMesh)
		{
			impl::ArrayBuffer<std::int32_t> someVertices;
			std::vector<std::int32_t> someStarts;
			SourceMap someCorners;
			SourceMap somePolygons;
			for (int p = 0; p < aMesh.GetPolygonCount(); ++p)
			{
				const int someFirst = aMesh.GetPolygonVertexIndex(p);
				for (int k = 1; k + 1 < aMesh.GetPolygonSize(p); ++k)
				{
					someStarts.push_back(static_cast<std::int32_t>(someVertices.size()));
					for (int someCorner : { someFirst, someFirst + k, someFirst + k + 1 })
					{
						someVertices.push_back(aMesh.myPolygonVertices[static_cast<size_t>(someCorner)]);
						someCorners.push_back(someCorner);
					}
					somePolygons.push_back(p);
				}
			}
			someStarts.push_back(static_cast<std::int32_t>(someVertices.size()));
			RemapAll(aMesh.myNormals, someCorners, somePolygons);
			RemapAll(aMesh.myTangents, someCorners, somePolygons);
			RemapAll(aMesh.myBinormals, someCorners, somePolygons);
			RemapAll(aMesh.myUVs, someCorners, somePolygons);
			RemapAll(aMesh.myColors, someCorners, somePolygons);
			RemapAll(aMesh.myMaterials, someCorners, somePolygons);
			aMesh.myPolygonVertices.swap(someVertices);
			aMesh.myPolygonStarts.swap(someStarts);
		}

		bool IsTriangleMesh(const FbxMesh& aMesh)
		{
			for (int p = 0; p < aMesh.GetPolygonCount(); ++p)
				if (aMesh.GetPolygonSize(p) != 3)
					return false;
			return true;
		}
	}

	bool FbxGeometryConverter::Triangulate(FbxScene* aScene, bool aReplace, bool aLegacy)
	{
		if (!aScene || !aReplace)
			return false;
		if (aLegacy)
			for (const FbxMesh* someMesh : aScene->myMeshes)
				for (int p = 0; p < someMesh->GetPolygonCount(); ++p)
					if (someMesh->GetPolygonSize(p) < 3)
						return false;
		for (FbxMesh* someMesh : aScene->myMeshes)
			if (!IsTriangleMesh(*someMesh))
				TriangulateMesh(*someMesh);
		return true;
	}
}
