#include "fbxsdk/FbxMesh.h"

#include <cmath>

namespace fbxsdk
{
	namespace
	{
		constexpr double DEGENERATE_UV_AREA = 1e-20;

		struct Vec3
		{
			double x = 0.0, y = 0.0, z = 0.0;
			Vec3 operator+(const Vec3& a) const { return { x + a.x, y + a.y, z + a.z }; }
			Vec3 operator-(const Vec3& a) const { return { x - a.x, y - a.y, z - a.z }; }
			Vec3 operator*(double s) const { return { x * s, y * s, z * s }; }
			double Dot(const Vec3& a) const { return x * a.x + y * a.y + z * a.z; }
			Vec3 Cross(const Vec3& a) const { return { y * a.z - z * a.y, z * a.x - x * a.z, x * a.y - y * a.x }; }
			Vec3 Normalized() const
			{
				const double someLength = std::sqrt(Dot(*this));
				return someLength > 0.0 ? *this * (1.0 / someLength) : Vec3{};
			}
		};

		// Which entry of an element's direct array a corner reads, or -1.
		template <typename Element>
		int EntryFor(const Element& aElement, int aControlPoint, int aCorner, int aPolygon)
		{
			int someIndex = -1;
			switch (aElement.GetMappingMode())
			{
			case FbxLayerElement::eByControlPoint: someIndex = aControlPoint; break;
			case FbxLayerElement::eByPolygonVertex: someIndex = aCorner; break;
			case FbxLayerElement::eByPolygon: someIndex = aPolygon; break;
			case FbxLayerElement::eAllSame: someIndex = 0; break;
			default: return -1;
			}
			if (aElement.GetReferenceMode() != FbxLayerElement::eDirect)
			{
				const auto& someIndices = aElement.GetIndexArray();
				if (someIndex < 0 || someIndex >= someIndices.GetCount())
					return -1;
				someIndex = someIndices.GetAt(someIndex);
			}
			return someIndex >= 0 && someIndex < aElement.GetDirectArray().GetCount() ? someIndex : -1;
		}
	}

	int FbxMesh::GetDeformerCount(FbxDeformer::EDeformerType aType) const
	{
		int someCount = 0;
		for (const FbxDeformer* someDeformer : myDeformers)
			someCount += someDeformer->GetDeformerType() == aType;
		return someCount;
	}

	FbxDeformer* FbxMesh::GetDeformer(int aIndex, FbxDeformer::EDeformerType aType) const
	{
		for (FbxDeformer* someDeformer : myDeformers)
			if (someDeformer->GetDeformerType() == aType && aIndex-- == 0)
				return someDeformer;
		return nullptr;
	}

	bool FbxMesh::GenerateTangentsData(int aUVSet, bool aOverwrite, bool aIgnoreTangentFlip)
	{
		const FbxGeometryElementUV* someUVs = GetElementUV(aUVSet);
		if (!someUVs)
			return false;
		if (!aOverwrite && !myTangents.empty() && !myBinormals.empty())
			return true;

		const auto position = [&](int aControlPoint) {
			const double* p = &myControlPoints[static_cast<size_t>(aControlPoint) * 3];
			return Vec3{ p[0], p[1], p[2] };
		};
		const auto uvAt = [&](int aControlPoint, int aCorner, int aPolygon) {
			const int someEntry = EntryFor(*someUVs, aControlPoint, aCorner, aPolygon);
			return someEntry < 0 ? FbxVector2() : someUVs->GetDirectArray().GetAt(someEntry);
		};

		// Tangent and bitangent directions summed per control point over its triangles.
		std::vector<Vec3> someTangentSums(static_cast<size_t>(GetControlPointsCount()));
		std::vector<Vec3> someBitangentSums(someTangentSums.size());
		std::vector<Vec3> someFaceNormals(static_cast<size_t>(GetPolygonCount()));
		for (int p = 0; p < GetPolygonCount(); ++p)
		{
			const int someFirst = GetPolygonVertexIndex(p);
			for (int k = 1; k + 1 < GetPolygonSize(p); ++k)
			{
				const int someCorners[3] = { someFirst, someFirst + k, someFirst + k + 1 };
				int someCps[3];
				Vec3 somePositions[3];
				FbxVector2 someUv[3];
				for (int i = 0; i < 3; ++i)
				{
					someCps[i] = myPolygonVertices[static_cast<size_t>(someCorners[i])];
					somePositions[i] = position(someCps[i]);
					someUv[i] = uvAt(someCps[i], someCorners[i], p);
				}
				const Vec3 someEdge1 = somePositions[1] - somePositions[0];
				const Vec3 someEdge2 = somePositions[2] - somePositions[0];
				someFaceNormals[static_cast<size_t>(p)] = someFaceNormals[static_cast<size_t>(p)] + someEdge1.Cross(someEdge2);
				const double du1 = someUv[1][0] - someUv[0][0], dv1 = someUv[1][1] - someUv[0][1];
				const double du2 = someUv[2][0] - someUv[0][0], dv2 = someUv[2][1] - someUv[0][1];
				const double someArea = du1 * dv2 - du2 * dv1;
				if (std::fabs(someArea) < DEGENERATE_UV_AREA)
					continue;
				const Vec3 someTangent = (someEdge1 * dv2 - someEdge2 * dv1) * (1.0 / someArea);
				const Vec3 someBitangent = (someEdge2 * du1 - someEdge1 * du2) * (1.0 / someArea);
				for (int i = 0; i < 3; ++i)
				{
					someTangentSums[static_cast<size_t>(someCps[i])] = someTangentSums[static_cast<size_t>(someCps[i])] + someTangent;
					someBitangentSums[static_cast<size_t>(someCps[i])] = someBitangentSums[static_cast<size_t>(someCps[i])] + someBitangent;
				}
			}
		}

		auto someTangents = std::make_unique<FbxGeometryElementTangent>();
		auto someBinormals = std::make_unique<FbxGeometryElementBinormal>();
		for (FbxLayerElement* someElement : { static_cast<FbxLayerElement*>(someTangents.get()), static_cast<FbxLayerElement*>(someBinormals.get()) })
		{
			someElement->myMapping = FbxLayerElement::eByPolygonVertex;
			someElement->myReference = FbxLayerElement::eDirect;
		}
		impl::ArrayBuffer<double>& someTangentValues = someTangents->GetDirectArray().myValues;
		impl::ArrayBuffer<double>& someBinormalValues = someBinormals->GetDirectArray().myValues;
		someTangentValues.resize(myPolygonVertices.size() * 3);
		someBinormalValues.resize(myPolygonVertices.size() * 3);
		const FbxGeometryElementNormal* someNormals = GetElementNormal(0);
		for (int p = 0; p < GetPolygonCount(); ++p)
			for (int k = 0; k < GetPolygonSize(p); ++k)
			{
				const int someCorner = GetPolygonVertexIndex(p) + k;
				const int someCp = myPolygonVertices[static_cast<size_t>(someCorner)];
				Vec3 someNormal = someFaceNormals[static_cast<size_t>(p)];
				const int someEntry = someNormals ? EntryFor(*someNormals, someCp, someCorner, p) : -1;
				if (someEntry >= 0)
				{
					const FbxVector4 n = someNormals->GetDirectArray().GetAt(someEntry);
					someNormal = { n[0], n[1], n[2] };
				}
				someNormal = someNormal.Normalized();
				const Vec3 someSum = someTangentSums[static_cast<size_t>(someCp)];
				const Vec3 someTangent = (someSum - someNormal * someNormal.Dot(someSum)).Normalized();
				const double someFlip = !aIgnoreTangentFlip && someNormal.Cross(someTangent).Dot(someBitangentSums[static_cast<size_t>(someCp)]) < 0.0 ? -1.0 : 1.0;
				const Vec3 someBinormal = someNormal.Cross(someTangent) * someFlip;
				double* t = &someTangentValues[static_cast<size_t>(someCorner) * 3];
				double* b = &someBinormalValues[static_cast<size_t>(someCorner) * 3];
				t[0] = someTangent.x; t[1] = someTangent.y; t[2] = someTangent.z;
				b[0] = someBinormal.x; b[1] = someBinormal.y; b[2] = someBinormal.z;
			}
		myTangents.clear();
		myBinormals.clear();
		myTangents.push_back(std::move(someTangents));
		myBinormals.push_back(std::move(someBinormals));
		return true;
	}
}
