#pragma once
// Polygon meshes with layer elements, and skin deformers with their clusters.
#include "fbxsdk/FbxArrayBuffer.h"
#include "fbxsdk/FbxNodeAttribute.h"

#include <cstdint>

namespace fbxsdk
{
	class FbxLayerElement
	{
	public:
		enum EMappingMode { eNone, eByControlPoint, eByPolygonVertex, eByPolygon, eByEdge, eAllSame };
		enum EReferenceMode { eDirect, eIndex, eIndexToDirect };

		EMappingMode GetMappingMode() const { return myMapping; }
		EReferenceMode GetReferenceMode() const { return myReference; }
		const char* GetName() const { return myName.c_str(); }

		EMappingMode myMapping = eNone;
		EReferenceMode myReference = eDirect;
		std::string myName;
	};

	namespace impl
	{
		template <typename T> struct ElementTraits;
		template <> struct ElementTraits<FbxVector4> { static constexpr int STRIDE = 3; static FbxVector4 Make(const double* v) { return { v[0], v[1], v[2], 0.0 }; } };
		template <> struct ElementTraits<FbxVector2> { static constexpr int STRIDE = 2; static FbxVector2 Make(const double* v) { return { v[0], v[1] }; } };
		template <> struct ElementTraits<FbxColor> { static constexpr int STRIDE = 4; static FbxColor Make(const double* v) { return { v[0], v[1], v[2], v[3] }; } };
	}

	// Values of one element, kept flat as the file stores them.
	template <typename T>
	class FbxLayerElementArrayTemplate
	{
	public:
		static constexpr int STRIDE = impl::ElementTraits<T>::STRIDE;
		int GetCount() const { return static_cast<int>(myValues.size() / STRIDE); }
		T GetAt(int aIndex) const { return impl::ElementTraits<T>::Make(&myValues[static_cast<size_t>(aIndex) * STRIDE]); }

		impl::ArrayBuffer<double> myValues;
	};

	template <>
	class FbxLayerElementArrayTemplate<int>
	{
	public:
		int GetCount() const { return static_cast<int>(myValues.size()); }
		int GetAt(int aIndex) const { return myValues[static_cast<size_t>(aIndex)]; }

		impl::ArrayBuffer<std::int32_t> myValues;
	};

	template <typename T>
	class FbxLayerElementTemplate : public FbxLayerElement
	{
	public:
		FbxLayerElementArrayTemplate<T>& GetDirectArray() { return myDirect; }
		const FbxLayerElementArrayTemplate<T>& GetDirectArray() const { return myDirect; }
		FbxLayerElementArrayTemplate<int>& GetIndexArray() { return myIndices; }
		const FbxLayerElementArrayTemplate<int>& GetIndexArray() const { return myIndices; }

	private:
		FbxLayerElementArrayTemplate<T> myDirect;
		FbxLayerElementArrayTemplate<int> myIndices;
	};

	using FbxGeometryElementNormal = FbxLayerElementTemplate<FbxVector4>;
	using FbxGeometryElementTangent = FbxLayerElementTemplate<FbxVector4>;
	using FbxGeometryElementBinormal = FbxLayerElementTemplate<FbxVector4>;
	using FbxGeometryElementUV = FbxLayerElementTemplate<FbxVector2>;
	using FbxGeometryElementVertexColor = FbxLayerElementTemplate<FbxColor>;

	// Per-polygon material indices (into the node's materials), in the index array.
	class FbxGeometryElementMaterial : public FbxLayerElement
	{
	public:
		FbxLayerElementArrayTemplate<int>& GetIndexArray() { return myIndices; }
		const FbxLayerElementArrayTemplate<int>& GetIndexArray() const { return myIndices; }

	private:
		FbxLayerElementArrayTemplate<int> myIndices;
	};

	class FbxNode;

	class FbxCluster : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxCluster, FbxObject)
		FbxCluster(std::string aName, FbxUInt64 aId) : FbxObject(std::move(aName), aId) {}

		FbxNode* GetLink() const { return myLink; }
		// The mesh's global transform at binding time, and the bone's.
		FbxAMatrix& GetTransformMatrix(FbxAMatrix& aOut) const { return aOut = myTransform; }
		FbxAMatrix& GetTransformLinkMatrix(FbxAMatrix& aOut) const { return aOut = myTransformLink; }
		int GetControlPointIndicesCount() const { return static_cast<int>(myIndices.size()); }
		const int* GetControlPointIndices() const { return myIndices.data(); }
		const double* GetControlPointWeights() const { return myWeights.data(); }

		FbxNode* myLink = nullptr;
		FbxAMatrix myTransform;
		FbxAMatrix myTransformLink;
		impl::ArrayBuffer<std::int32_t> myIndices;
		impl::ArrayBuffer<double> myWeights;
	};

	class FbxDeformer : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxDeformer, FbxObject)
		enum EDeformerType { eUnknown, eSkin, eBlendShape, eVertexCache };

		FbxDeformer(std::string aName, FbxUInt64 aId) : FbxObject(std::move(aName), aId) {}
		virtual EDeformerType GetDeformerType() const { return eUnknown; }
	};

	class FbxSkin : public FbxDeformer
	{
	public:
		NORV_FBX_CLASS(FbxSkin, FbxDeformer)
		FbxSkin(std::string aName, FbxUInt64 aId) : FbxDeformer(std::move(aName), aId) {}

		EDeformerType GetDeformerType() const override { return eSkin; }
		int GetClusterCount() const { return static_cast<int>(myClusters.size()); }
		FbxCluster* GetCluster(int aIndex) const { return myClusters[static_cast<size_t>(aIndex)]; }

		std::vector<FbxCluster*> myClusters;
	};

	class FbxMesh : public FbxNodeAttribute
	{
	public:
		NORV_FBX_CLASS(FbxMesh, FbxNodeAttribute)
		FbxMesh(std::string aName, FbxUInt64 aId) : FbxNodeAttribute(std::move(aName), aId, eMesh) {}

		int GetControlPointsCount() const { return static_cast<int>(myControlPoints.size() / 3); }
		// A point (w = 1).
		FbxVector4 GetControlPointAt(int aIndex) const
		{
			const double* p = &myControlPoints[static_cast<size_t>(aIndex) * 3];
			return { p[0], p[1], p[2], 1.0 };
		}

		int GetPolygonCount() const { return static_cast<int>(myPolygonStarts.size()) - 1; }
		int GetPolygonSize(int aPolygon) const { return myPolygonStarts[aPolygon + 1] - myPolygonStarts[aPolygon]; }
		// Index of the polygon's first corner among all corners.
		int GetPolygonVertexIndex(int aPolygon) const { return myPolygonStarts[aPolygon]; }
		int GetPolygonVertex(int aPolygon, int aCorner) const { return myPolygonVertices[static_cast<size_t>(myPolygonStarts[aPolygon] + aCorner)]; }
		int GetPolygonVertexCount() const { return static_cast<int>(myPolygonVertices.size()); }

		int GetElementNormalCount() const { return static_cast<int>(myNormals.size()); }
		int GetElementTangentCount() const { return static_cast<int>(myTangents.size()); }
		int GetElementBinormalCount() const { return static_cast<int>(myBinormals.size()); }
		int GetElementUVCount() const { return static_cast<int>(myUVs.size()); }
		int GetUVLayerCount() const { return GetElementUVCount(); }
		int GetElementVertexColorCount() const { return static_cast<int>(myColors.size()); }

		const FbxGeometryElementNormal* GetElementNormal(int aIndex = 0) const { return At(myNormals, aIndex); }
		const FbxGeometryElementTangent* GetElementTangent(int aIndex = 0) const { return At(myTangents, aIndex); }
		const FbxGeometryElementBinormal* GetElementBinormal(int aIndex = 0) const { return At(myBinormals, aIndex); }
		const FbxGeometryElementUV* GetElementUV(int aIndex = 0) const { return At(myUVs, aIndex); }
		const FbxGeometryElementVertexColor* GetElementVertexColor(int aIndex = 0) const { return At(myColors, aIndex); }
		const FbxGeometryElementMaterial* GetElementMaterial(int aIndex = 0) const { return At(myMaterials, aIndex); }

		// Tangents and binormals per polygon corner from the positions, the first
		// normal element and UV set aUVSet. Existing ones are kept unless aOverwrite.
		// With aIgnoreTangentFlip the binormal is never mirrored for mirrored UVs.
		// False when the UV set does not exist.
		bool GenerateTangentsData(int aUVSet, bool aOverwrite = false, bool aIgnoreTangentFlip = false);

		int GetDeformerCount(FbxDeformer::EDeformerType aType) const;
		FbxDeformer* GetDeformer(int aIndex, FbxDeformer::EDeformerType aType) const;

		// ---- stand-in internals ------------------------------------------------
		impl::ArrayBuffer<double> myControlPoints;         // x, y, z per control point
		impl::ArrayBuffer<std::int32_t> myPolygonVertices; // control point per corner
		std::vector<std::int32_t> myPolygonStarts;    // first corner per polygon, then the corner count
		std::vector<std::unique_ptr<FbxGeometryElementNormal>> myNormals;
		std::vector<std::unique_ptr<FbxGeometryElementTangent>> myTangents;
		std::vector<std::unique_ptr<FbxGeometryElementBinormal>> myBinormals;
		std::vector<std::unique_ptr<FbxGeometryElementUV>> myUVs;
		std::vector<std::unique_ptr<FbxGeometryElementVertexColor>> myColors;
		std::vector<std::unique_ptr<FbxGeometryElementMaterial>> myMaterials;
		std::vector<FbxDeformer*> myDeformers;

	private:
		template <typename T>
		static const T* At(const std::vector<std::unique_ptr<T>>& aList, int aIndex)
		{
			return aIndex >= 0 && aIndex < static_cast<int>(aList.size()) ? aList[static_cast<size_t>(aIndex)].get() : nullptr;
		}
	};
}
