#pragma once
// Builds the records of an FBX 7.4 scene: nodes with transforms, meshes with
// layer elements, skeleton, null and LOD group attributes, materials and
// textures, skins with clusters, and animation stacks with curves.
#include "fbxwriter/FbxWriter.h"

#include <array>
#include <deque>
#include <map>
#include <optional>

namespace NorvTools
{
	using FbxMatrix = std::array<double, 16>; // row-vector layout, translation in elements 12..14
	inline constexpr FbxMatrix FBX_IDENTITY{ 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 };
	inline constexpr std::int64_t FBX_TICKS_PER_SECOND = 46186158000ll;

	struct FbxNodeTransform
	{
		std::array<double, 3> translation{ 0, 0, 0 };
		std::array<double, 3> rotation{ 0, 0, 0 }; // degrees
		std::array<double, 3> scaling{ 1, 1, 1 };
		std::array<double, 3> preRotation{ 0, 0, 0 };
		std::array<double, 3> rotationPivot{ 0, 0, 0 };
		std::array<double, 3> geometricTranslation{ 0, 0, 0 };
		std::array<double, 3> geometricRotation{ 0, 0, 0 };
		std::array<double, 3> geometricScaling{ 1, 1, 1 };
		int rotationOrder = 0;
		int inheritType = 1;
		bool rotationActive = false;
	};

	struct FbxLayerData
	{
		std::string mapping = "ByPolygonVertex"; // ByControlPoint is written as "ByVertice"
		std::string reference = "Direct";        // or "IndexToDirect"
		std::vector<double> values;               // 3 per normal, 2 per UV, 4 per colour
		std::vector<std::int32_t> indices;
	};

	struct FbxMeshData
	{
		std::vector<double> controlPoints; // x, y, z each
		std::vector<std::vector<std::int32_t>> polygons;
		std::optional<FbxLayerData> normals, tangents, binormals;
		std::vector<FbxLayerData> uvSets;
		std::vector<FbxLayerData> colorSets;
		std::optional<FbxLayerData> materials; // indices only; mapping "ByPolygon" or "AllSame"
	};

	class FbxSceneWriter
	{
	public:
		// aCentimetresPerUnit: 100 for a scene in metres. aTimeMode: the FBX time mode (6 = 30 fps).
		explicit FbxSceneWriter(double aCentimetresPerUnit = 1.0, int aTimeMode = 6);

		// Axis 0 = X, 1 = Y, 2 = Z; signs +1 or -1. Default: Y up, Z front, X right.
		void SetAxes(int aUp, int aUpSign, int aFront, int aFrontSign, int aCoord, int aCoordSign);

		// A node under aParent (0 = the root). aClass: "Mesh", "Null", "LimbNode", "LodGroup".
		std::int64_t AddNode(const std::string& aName, const std::string& aClass, std::int64_t aParent = 0, const FbxNodeTransform& aTransform = {});
		// The node's attribute: a skeleton bone, a null, or an LOD group with thresholds between levels.
		void AddSkeletonAttribute(std::int64_t aNode);
		void AddNullAttribute(std::int64_t aNode);
		void AddLodGroupAttribute(std::int64_t aNode, const std::vector<double>& aThresholds);
		// Geometry attached to aNode; returns the geometry's id.
		std::int64_t AddMesh(std::int64_t aNode, FbxMeshData aMesh);

		std::int64_t AddMaterial(const std::string& aName);
		void ConnectMaterial(std::int64_t aMaterial, std::int64_t aNode);
		std::int64_t AddFileTexture(const std::string& aName, const std::string& aFileName, const std::string& aRelativeFileName);
		std::int64_t AddLayeredTexture(const std::string& aName);
		// aProperty: the material channel ("DiffuseColor"...), or empty to feed a layered texture.
		void ConnectTexture(std::int64_t aTexture, std::int64_t aTarget, const std::string& aProperty);

		std::int64_t AddSkin(std::int64_t aGeometry);
		// Globals at binding time of the mesh node and of the bone.
		void AddCluster(std::int64_t aSkin, std::int64_t aBone, std::vector<std::int32_t> aIndices, std::vector<double> aWeights,
			const FbxMatrix& aMeshGlobal, const FbxMatrix& aBoneGlobal);

		// A stack with one layer and a take spanning [aStart, aStop] in ticks.
		void AddAnimStack(const std::string& aName, std::int64_t aStart, std::int64_t aStop);
		// Keys (ticks, values) for one channel (0 = X, 1 = Y, 2 = Z) of "Lcl Translation",
		// "Lcl Rotation" or "Lcl Scaling"; aInterpolation 2 constant, 4 linear, 8 cubic.
		void AddCurve(std::int64_t aNode, const std::string& aProperty, int aChannel, std::vector<std::int64_t> aTimes, std::vector<float> aValues, int aInterpolation = 4);

		FbxRecord Build() const;

	private:
		struct Connection
		{
			std::int64_t source, target;
			std::string property;
		};
		struct Take
		{
			std::string name;
			std::int64_t start, stop;
		};

		std::int64_t NextId() { return myNextId++; }
		FbxRecord& AddObject(const std::string& aKind, std::int64_t aId, const std::string& aName, const std::string& aClass, const std::string& aObjectClass);
		void Connect(std::int64_t aSource, std::int64_t aTarget, const std::string& aProperty = {});

		double myUnitScale;
		int myTimeMode;
		std::array<int, 6> myAxes{ 1, 1, 2, 1, 0, 1 };
		std::int64_t myNextId = 1000;
		std::deque<FbxRecord> myObjects;
		std::map<std::int64_t, FbxNodeTransform> myTransforms;
		std::vector<Connection> myConnections;
		std::vector<Take> myTakes;
		std::int64_t myLayer = 0;
		std::map<std::pair<std::int64_t, std::string>, std::int64_t> myCurveNodes;
	};
}
