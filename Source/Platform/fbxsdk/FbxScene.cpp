#include "fbxsdk/FbxScene.h"

#include <algorithm>
#include <cmath>

namespace fbxsdk
{
	const FbxSystemUnit FbxSystemUnit::cm(1.0);
	const FbxSystemUnit FbxSystemUnit::m(100.0);

	namespace
	{
		// A point or direction array (x, y, z triples) through a linear conversion.
		void ConvertTriples(impl::ArrayBuffer<double>& aValues, const FbxAMatrix& aConversion, double aLengthScale)
		{
			const size_t someCount = aValues.size() / 3;
			for (size_t i = 0; i < someCount; ++i)
			{
				double* v = &aValues[i * 3];
				const FbxVector4 someResult = aConversion.MultR(FbxVector4(v[0], v[1], v[2], 0.0));
				v[0] = someResult[0] / aLengthScale;
				v[1] = someResult[1] / aLengthScale;
				v[2] = someResult[2] / aLengthScale;
			}
		}

		template <typename Element>
		void ConvertDirections(std::vector<std::unique_ptr<Element>>& aElements, const FbxAMatrix& aConversion, double aLengthScale)
		{
			for (auto& someElement : aElements)
				ConvertTriples(someElement->GetDirectArray().myValues, aConversion, aLengthScale);
		}
	}

	FbxScene::FbxScene(std::string aName) : FbxObject(std::move(aName), NextCodeId())
	{
		myRoot = Make<FbxNode>("RootNode", 0, this);
		myNodes.push_back(myRoot);
	}

	FbxScene* FbxScene::Create(FbxManager* aManager, const char* aName)
	{
		return aManager ? aManager->Adopt(std::unique_ptr<FbxScene>(new FbxScene(aName ? aName : ""))) : nullptr;
	}

	FbxNode* FbxScene::FindNodeByName(std::string_view aName) const
	{
		const auto someFound = myNodesByName.find(aName);
		return someFound == myNodesByName.end() ? nullptr : someFound->second;
	}

	bool FbxScene::ConnectMaterials()
	{
		for (FbxNode* someNode : myNodes)
			for (FbxSurfaceMaterial* someMaterial : someNode->myMaterials)
				if (std::find(myMaterials.begin(), myMaterials.end(), someMaterial) == myMaterials.end())
					myMaterials.push_back(someMaterial);
		return true;
	}

	FbxTakeInfo* FbxScene::GetTakeInfo(std::string_view aName)
	{
		for (FbxTakeInfo& someTake : myTakes)
			if (someTake.mName == aName)
				return &someTake;
		return nullptr;
	}

	void FbxScene::ApplyConversion(const FbxAMatrix& aConversion, bool aConvertClusters)
	{
		// Uniform scale and axis permutations only: directions keep their length
		// once divided by the scale.
		const FbxVector4 someRow = aConversion.GetRow(0);
		const double someLengthScale = std::sqrt(someRow[0] * someRow[0] + someRow[1] * someRow[1] + someRow[2] * someRow[2]);
		for (FbxMesh* someMesh : myMeshes)
		{
			ConvertTriples(someMesh->myControlPoints, aConversion, 1.0);
			ConvertDirections(someMesh->myNormals, aConversion, someLengthScale);
			ConvertDirections(someMesh->myTangents, aConversion, someLengthScale);
			ConvertDirections(someMesh->myBinormals, aConversion, someLengthScale);
		}
		const FbxAMatrix someInverse = aConversion.Inverse();
		if (aConvertClusters)
			for (FbxCluster* someCluster : myClusters)
			{
				someCluster->myTransform = aConversion * someCluster->myTransform * someInverse;
				someCluster->myTransformLink = aConversion * someCluster->myTransformLink * someInverse;
			}
		myConversion = aConversion * myConversion;
		myConversionInverse = myConversion.Inverse();
	}

	void FbxSystemUnit::ConvertScene(FbxScene* aScene, const ConversionOptions& aOptions) const
	{
		if (!aScene)
			return;
		FbxGlobalSettings& someSettings = aScene->GetGlobalSettings();
		const double someFactor = someSettings.mySystemUnit.GetScaleFactor() / myScaleFactor;
		if (someFactor != 1.0 && std::isfinite(someFactor) && someFactor > 0.0)
			aScene->ApplyConversion(FbxAMatrix::FromScaling(FbxVector4(someFactor, someFactor, someFactor)), aOptions.mConvertClusters);
		someSettings.mySystemUnit = *this;
	}

	FbxAxisSystem::FbxAxisSystem(EPreDefinedAxisSystem aSystem)
	{
		if (aSystem == eDirectX)
			myAxes = Axes{ 1, 1, 2, -1, 0, 1 }; // Y up, X right, Z away from the viewer: left-handed
	}

	namespace
	{
		bool IsPermutation(const FbxAxisSystem::Axes& aAxes)
		{
			const auto valid = [](int aAxis, int aSign) { return aAxis >= 0 && aAxis <= 2 && (aSign == 1 || aSign == -1); };
			return valid(aAxes.upAxis, aAxes.upSign) && valid(aAxes.frontAxis, aAxes.frontSign) && valid(aAxes.coordAxis, aAxes.coordSign)
				&& aAxes.upAxis != aAxes.frontAxis && aAxes.upAxis != aAxes.coordAxis && aAxes.frontAxis != aAxes.coordAxis;
		}
	}

	void FbxAxisSystem::DeepConvertScene(FbxScene* aScene) const
	{
		if (!aScene)
			return;
		FbxGlobalSettings& someSettings = aScene->GetGlobalSettings();
		const Axes& someFrom = someSettings.myAxisSystem.GetAxes();
		if (someFrom == myAxes || !IsPermutation(someFrom) || !IsPermutation(myAxes))
		{
			someSettings.myAxisSystem = *this;
			return;
		}
		// Each source axis carries a meaning (right, up, front); it becomes the
		// target axis of the same meaning, with the signs of both systems.
		FbxAMatrix someConversion;
		for (int r = 0; r < 3; ++r)
			for (int c = 0; c < 3; ++c)
				someConversion(r, c) = 0.0;
		someConversion(someFrom.coordAxis, myAxes.coordAxis) = someFrom.coordSign * myAxes.coordSign;
		someConversion(someFrom.upAxis, myAxes.upAxis) = someFrom.upSign * myAxes.upSign;
		someConversion(someFrom.frontAxis, myAxes.frontAxis) = someFrom.frontSign * myAxes.frontSign;
		aScene->ApplyConversion(someConversion, true);
		someSettings.myAxisSystem = *this;
	}
}
