#include "ImporterInternal.h"
#include "VertexMerge.h"

#include <algorithm>
#include <array>

using namespace fbxsdk;

namespace NorvFbx::impl
{
	namespace
	{
		bool IsFinite(const Norv::Vector3<float>& aVector)
		{
			return std::isfinite(aVector.x) && std::isfinite(aVector.y) && std::isfinite(aVector.z);
		}

		// Broken files give NaN and values past a float's range: such a vertex lies nowhere.
		bool IsFiniteVertex(const Vertex& aVertex)
		{
			if (!IsFinite({ aVertex.position.x, aVertex.position.y, aVertex.position.z }) || !IsFinite(aVertex.normal) || !IsFinite(aVertex.tangent)
				|| !IsFinite(aVertex.binormal))
				return false;
			return std::all_of(std::begin(aVertex.uv), std::end(aVertex.uv), [](const Norv::Vector2<float>& aUv) { return std::isfinite(aUv.x) && std::isfinite(aUv.y); });
		}

		// Reads one layer element per corner with the mapping and reference rules:
		// by control point or by polygon vertex, directly or through the index array.
		template <typename T>
		class ElementReader
		{
		public:
			ElementReader() = default;
			explicit ElementReader(const FbxLayerElementTemplate<T>* aElement)
			{
				if (!aElement)
					return;
				const FbxLayerElement::EMappingMode someMapping = aElement->GetMappingMode();
				if (someMapping != FbxLayerElement::eByControlPoint && someMapping != FbxLayerElement::eByPolygonVertex)
					return;
				const FbxLayerElement::EReferenceMode someReference = aElement->GetReferenceMode();
				if (someReference != FbxLayerElement::eDirect && someReference != FbxLayerElement::eIndexToDirect)
					throw ImportError("Invalid Reference Mode!");
				myElement = aElement;
				myByCorner = someMapping == FbxLayerElement::eByPolygonVertex;
				myIndexed = someReference == FbxLayerElement::eIndexToDirect;
			}

			// False (aOut untouched) when the element is absent or mapped another way.
			bool Read(int aControlPoint, int aCorner, T& aOut) const
			{
				if (!myElement)
					return false;
				int someIndex = myByCorner ? aCorner : aControlPoint;
				if (myIndexed)
					someIndex = myElement->GetIndexArray().GetAt(someIndex);
				aOut = myElement->GetDirectArray().GetAt(someIndex);
				return true;
			}

		private:
			const FbxLayerElementTemplate<T>* myElement = nullptr;
			bool myByCorner = false;
			bool myIndexed = false;
		};

		Norv::Vector3<float> ToVector3(const FbxVector4& aValue)
		{
			return { static_cast<float>(aValue[0]), static_cast<float>(aValue[1]), static_cast<float>(aValue[2]) };
		}

		struct Influences
		{
			std::uint32_t bones[MAX_INFLUENCES] = {};
			float weights[MAX_INFLUENCES] = {};
			std::uint8_t count = 0;
		};

		// Bind poses into the skeleton and up to four influences per control point.
		std::vector<Influences> ReadSkin(FbxNode* aNode, FbxMesh* aMesh, Skeleton& aSkeleton)
		{
			std::vector<Influences> someInfluences;
			if (aSkeleton.bones.empty())
				return someInfluences;
			someInfluences.resize(static_cast<size_t>(aMesh->GetControlPointsCount()));
			const FbxAMatrix someGeometricOffset(aNode->GetGeometricTranslation(), aNode->GetGeometricRotation(), aNode->GetGeometricScaling());
			for (int d = 0; d < aMesh->GetDeformerCount(FbxDeformer::eSkin); ++d)
			{
				const FbxSkin* someSkin = static_cast<const FbxSkin*>(aMesh->GetDeformer(d, FbxDeformer::eSkin));
				for (int c = 0; c < someSkin->GetClusterCount(); ++c)
				{
					const FbxCluster* someCluster = someSkin->GetCluster(c);
					const FbxNode* someLink = someCluster->GetLink();
					const std::string_view someLinkName = someLink ? someLink->GetName() : "";
					const auto someBone = aSkeleton.boneIndices.find(ShortName(someLinkName));
					if (!someLink || someBone == aSkeleton.boneIndices.end())
						throw ImportError("The skin cluster [" + std::string(someCluster->GetName()) + "] of the mesh [" + aNode->GetName() + "] is linked to [" + std::string(someLinkName) + "], which is not a bone of the skeleton!");
					const std::int32_t someBoneIndex = someBone->second;
					FbxAMatrix someTransform, someTransformLink;
					someCluster->GetTransformMatrix(someTransform);
					someCluster->GetTransformLinkMatrix(someTransformLink);
					Norv::Matrix4x4& someBindPose = aSkeleton.bones[static_cast<size_t>(someBoneIndex)].bindPose;
					someBindPose = ToMatrix((someTransformLink.Inverse() * someTransform * someGeometricOffset).Transpose());
					// A singular or broken link matrix would skin the bone's vertices to nowhere.
					if (!IsFiniteMatrix(someBindPose))
						throw ImportError("The skin cluster [" + std::string(someCluster->GetName()) + "] of the mesh [" + aNode->GetName() + "] gives the bone [" + std::string(someLinkName) + "] a bind pose that is not finite!");

					const int* someIndices = someCluster->GetControlPointIndices();
					const double* someWeights = someCluster->GetControlPointWeights();
					for (int i = 0; i < someCluster->GetControlPointIndicesCount(); ++i)
					{
						Influences& someTarget = someInfluences[static_cast<size_t>(someIndices[i])];
						if (someTarget.count == MAX_INFLUENCES)
							continue; // the first four read are kept
						someTarget.bones[someTarget.count] = static_cast<std::uint32_t>(someBoneIndex);
						someTarget.weights[someTarget.count] = static_cast<float>(someWeights[i]);
						++someTarget.count;
					}
				}
			}
			return someInfluences;
		}

		// Node material slot of each polygon (0 without a material element).
		std::vector<int> PolygonMaterials(const FbxMesh* aMesh)
		{
			std::vector<int> someSlots(static_cast<size_t>(aMesh->GetPolygonCount()), 0);
			const FbxGeometryElementMaterial* someElement = aMesh->GetElementMaterial(0);
			if (!someElement || someElement->GetIndexArray().GetCount() == 0)
				return someSlots;
			const auto& someIndices = someElement->GetIndexArray();
			if (someElement->GetMappingMode() == FbxLayerElement::eByPolygon)
				for (int p = 0; p < aMesh->GetPolygonCount(); ++p)
					someSlots[static_cast<size_t>(p)] = someIndices.GetAt(p);
			else
				std::fill(someSlots.begin(), someSlots.end(), someIndices.GetAt(0)); // all same
			return someSlots;
		}
	}

	size_t CollectMeshNodes(FbxNode* aNode, std::vector<FbxNode*>& aOut)
	{
		for (int i = 0; i < aNode->GetChildCount(); ++i)
		{
			FbxNode* someChild = aNode->GetChild(i);
			const FbxNodeAttribute* someAttribute = someChild->GetNodeAttribute();
			if (someAttribute && someAttribute->GetAttributeType() == FbxNodeAttribute::eMesh)
				aOut.push_back(someChild);
			CollectMeshNodes(someChild, aOut);
		}
		return aOut.size();
	}

	size_t CollectLodGroupNodes(FbxNode* aNode, std::vector<FbxNode*>& aOut)
	{
		for (int i = 0; i < aNode->GetChildCount(); ++i)
		{
			FbxNode* someChild = aNode->GetChild(i);
			const FbxNodeAttribute* someAttribute = someChild->GetNodeAttribute();
			if (someAttribute && someAttribute->GetAttributeType() == FbxNodeAttribute::eLODGroup)
				aOut.push_back(someChild);
			else
				CollectLodGroupNodes(someChild, aOut);
		}
		return aOut.size();
	}

	void ImportMeshNode(FbxScene* aScene, FbxNode* aNode, Skeleton& aSkeleton, std::vector<Mesh>& aOutMeshes, bool aMergeVertices)
	{
		FbxMesh* someMesh = aNode->GetMesh();
		const std::vector<Influences> someInfluences = ReadSkin(aNode, someMesh, aSkeleton);
		const std::vector<int> somePolygonSlots = PolygonMaterials(someMesh);

		const int someUvSets = std::min(someMesh->GetElementUVCount(), MAX_UV_SETS);
		const int someColorSets = std::min(someMesh->GetElementVertexColorCount(), MAX_COLOR_SETS);
		std::array<ElementReader<FbxVector2>, MAX_UV_SETS> someUvs;
		std::array<ElementReader<FbxColor>, MAX_COLOR_SETS> someColors;
		for (int i = 0; i < someUvSets; ++i)
			someUvs[static_cast<size_t>(i)] = ElementReader<FbxVector2>(someMesh->GetElementUV(i));
		for (int i = 0; i < someColorSets; ++i)
			someColors[static_cast<size_t>(i)] = ElementReader<FbxColor>(someMesh->GetElementVertexColor(i));
		const ElementReader<FbxVector4> someNormals(someMesh->GetElementNormal(0));
		const ElementReader<FbxVector4> someTangents(someMesh->GetElementTangent(0));
		const ElementReader<FbxVector4> someBinormals(someMesh->GetElementBinormal(0));

		// The running bounds span every mesh of this node so far, and the origin.
		Norv::Vector3<float> someMin, someMax;
		const int someMaterialCount = aNode->GetMaterialCount();
		for (int m = 0; m < std::max(someMaterialCount, 1); ++m)
		{
			Mesh someOut;
			someOut.name = aNode->GetName();
			if (someMaterialCount > 0)
			{
				for (int i = 0; i < aScene->GetMaterialCount(); ++i)
					if (aScene->GetMaterial(i) == aNode->GetMaterial(m))
						someOut.materialIndex = i;
			}
			const size_t someCorners = static_cast<size_t>(someMesh->GetPolygonVertexCount());
			someOut.indices.reserve(someCorners);
			someOut.vertices.reserve(aMergeVertices ? someCorners / 2 : someCorners);
			VertexMerger someMerger(aMergeVertices ? someCorners : 0, aMergeVertices ? static_cast<size_t>(someMesh->GetControlPointsCount()) : 0, someOut.vertices, someOut.indices);
			for (int p = 0; p < someMesh->GetPolygonCount(); ++p)
			{
				if (someMaterialCount > 0 && somePolygonSlots[static_cast<size_t>(p)] != m)
					continue;
				for (int k = 0; k < 3; ++k)
				{
					const int someCp = someMesh->GetPolygonVertex(p, k);
					const int someCorner = someMesh->GetPolygonVertexIndex(p) + k;
					Vertex someVertex;
					const FbxVector4 somePosition = someMesh->GetControlPointAt(someCp);
					someVertex.position = { static_cast<float>(somePosition[0]), static_cast<float>(somePosition[1]), static_cast<float>(somePosition[2]), static_cast<float>(somePosition[3]) };
					for (int i = 0; i < someUvSets; ++i)
					{
						FbxVector2 someUv;
						if (someUvs[static_cast<size_t>(i)].Read(someCp, someCorner, someUv))
							someVertex.uv[i] = { static_cast<float>(someUv[0]), static_cast<float>(1.0 - someUv[1]) };
					}
					FbxVector4 someValue;
					if (someNormals.Read(someCp, someCorner, someValue))
						someVertex.normal = ToVector3(someValue);
					if (someTangents.Read(someCp, someCorner, someValue))
						someVertex.tangent = ToVector3(someValue);
					if (someBinormals.Read(someCp, someCorner, someValue))
						someVertex.binormal = ToVector3(someValue);
					for (int i = 0; i < someColorSets; ++i)
					{
						FbxColor someColor;
						if (someColors[static_cast<size_t>(i)].Read(someCp, someCorner, someColor))
							someVertex.color[i] = { static_cast<float>(someColor.mRed), static_cast<float>(someColor.mGreen), static_cast<float>(someColor.mBlue), static_cast<float>(someColor.mAlpha) };
					}
					if (!someInfluences.empty())
					{
						const Influences& someSkin = someInfluences[static_cast<size_t>(someCp)];
						std::copy(std::begin(someSkin.bones), std::end(someSkin.bones), someVertex.bones);
						std::copy(std::begin(someSkin.weights), std::end(someSkin.weights), someVertex.weights);
					}

					if (!IsFiniteVertex(someVertex))
						throw ImportError("The mesh [" + std::string(aNode->GetName()) + "] has a vertex that is not finite!");
					someMin = { std::min(someMin.x, someVertex.position.x), std::min(someMin.y, someVertex.position.y), std::min(someMin.z, someVertex.position.z) };
					someMax = { std::max(someMax.x, someVertex.position.x), std::max(someMax.y, someVertex.position.y), std::max(someMax.z, someVertex.position.z) };
					if (aMergeVertices)
						someMerger.Add(someVertex, static_cast<std::uint32_t>(someCp));
					else
					{
						someOut.indices.push_back(static_cast<std::uint32_t>(someOut.vertices.size()));
						someOut.vertices.push_back(someVertex);
					}
				}
			}
			someMerger.Flush();
			if (someOut.vertices.empty())
				continue;
			someOut.bounds = BoundsFromMinMax(someMin, someMax);
			someOut.box = BoxFromBounds(someOut.bounds);
			aOutMeshes.push_back(std::move(someOut));
		}
	}
}
