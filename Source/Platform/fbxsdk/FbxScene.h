#pragma once
// The scene: nodes from a root, materials, animation stacks and takes, global
// settings, unit and axis conversion, and the geometry converter.
#include "fbxsdk/FbxNode.h"

#include <string_view>

namespace fbxsdk
{
	class FbxScene;

	class FbxSystemUnit
	{
	public:
		struct ConversionOptions
		{
			bool mConvertClusters = true; // cluster matrices follow the scene
		};

		explicit constexpr FbxSystemUnit(double aCentimetresPerUnit = 1.0) : myScaleFactor(aCentimetresPerUnit) {}
		double GetScaleFactor() const { return myScaleFactor; }
		bool operator==(const FbxSystemUnit& aOther) const { return myScaleFactor == aOther.myScaleFactor; }
		bool operator!=(const FbxSystemUnit& aOther) const { return !(*this == aOther); }

		// Scales the whole scene (positions, translations, pivots, clusters) into this unit.
		void ConvertScene(FbxScene* aScene, const ConversionOptions& aOptions) const;

		static const FbxSystemUnit cm;
		static const FbxSystemUnit m;

	private:
		double myScaleFactor;
	};

	class FbxAxisSystem
	{
	public:
		enum EPreDefinedAxisSystem { eDirectX };

		// Axis 0 = X, 1 = Y, 2 = Z; signs +1 or -1. The front vector points at the viewer.
		struct Axes
		{
			int upAxis = 1, upSign = 1;
			int frontAxis = 2, frontSign = 1;
			int coordAxis = 0, coordSign = 1;
			bool operator==(const Axes&) const = default;
		};

		FbxAxisSystem() = default;
		FbxAxisSystem(EPreDefinedAxisSystem aSystem);
		explicit FbxAxisSystem(const Axes& aAxes) : myAxes(aAxes) {}
		bool operator==(const FbxAxisSystem& aOther) const { return myAxes == aOther.myAxes; }
		bool operator!=(const FbxAxisSystem& aOther) const { return !(*this == aOther); }
		const Axes& GetAxes() const { return myAxes; }

		// Re-expresses every node transform, animation, mesh and cluster of the scene
		// in this axis system (a handedness change mirrors the front axis).
		void DeepConvertScene(FbxScene* aScene) const;

	private:
		Axes myAxes; // Y up, Z at the viewer, X right: right-handed
	};

	class FbxGlobalSettings
	{
	public:
		FbxSystemUnit GetSystemUnit() const { return mySystemUnit; }
		FbxAxisSystem GetAxisSystem() const { return myAxisSystem; }
		FbxTime::EMode GetTimeMode() const { return myTimeMode; }

		FbxSystemUnit mySystemUnit;
		FbxAxisSystem myAxisSystem;
		FbxTime::EMode myTimeMode = FbxTime::eFrames30;
		double myCustomFrameRate = 30.0;
	};

	class FbxScene : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxScene, FbxObject)
		static FbxScene* Create(FbxManager* aManager, const char* aName);

		FbxNode* GetRootNode() const { return myRoot; }
		// The first node of that name, or null.
		FbxNode* FindNodeByName(std::string_view aName) const;

		int GetMaterialCount() const { return static_cast<int>(myMaterials.size()); }
		FbxSurfaceMaterial* GetMaterial(int aIndex) const { return myMaterials[static_cast<size_t>(aIndex)]; }
		// Adds every material used by a node to the scene's list (the file's materials
		// are already there); true when every node material is listed afterwards.
		bool ConnectMaterials();

		FbxGlobalSettings& GetGlobalSettings() { return myGlobalSettings; }
		// The take of that animation stack name, or null.
		FbxTakeInfo* GetTakeInfo(std::string_view aName);

		// ---- stand-in internals ------------------------------------------------
		template <typename T, typename... Args>
		T* Make(Args&&... aArgs)
		{
			auto someObject = std::make_unique<T>(std::forward<Args>(aArgs)...);
			T* somePointer = someObject.get();
			myObjects.push_back(std::move(someObject));
			return somePointer;
		}
		// Composes a linear change of units or axes (points map as p * aConversion)
		// into the scene: meshes and clusters are converted now, node transforms as
		// they are evaluated.
		void ApplyConversion(const FbxAMatrix& aConversion, bool aConvertClusters);
		const FbxAMatrix& Conversion() const { return myConversion; }
		const FbxAMatrix& ConversionInverse() const { return myConversionInverse; }

		std::vector<FbxNode*> myNodes; // every node read, root first
		std::vector<FbxMesh*> myMeshes;
		std::vector<FbxCluster*> myClusters;
		std::vector<FbxSurfaceMaterial*> myMaterials;
		std::vector<FbxTakeInfo> myTakes;
		std::unordered_map<std::string_view, FbxNode*> myNodesByName;

	private:
		FbxScene(std::string aName);

		std::vector<std::unique_ptr<FbxObject>> myObjects;
		FbxNode* myRoot = nullptr;
		FbxGlobalSettings myGlobalSettings;
		FbxAMatrix myConversion;
		FbxAMatrix myConversionInverse;
	};

	class FbxGeometryConverter
	{
	public:
		explicit FbxGeometryConverter(FbxManager*) {}

		// Splits every polygon of every mesh into triangles (a fan from its first
		// corner), carrying every layer element along. Only replacing the meshes is
		// offered (false otherwise). The legacy method fails on a polygon with fewer
		// than three corners; the newer one drops such polygons.
		bool Triangulate(FbxScene* aScene, bool aReplace, bool aLegacy = false);
	};
}
