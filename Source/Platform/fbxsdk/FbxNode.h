#pragma once
// Scene nodes: hierarchy, attribute, materials, and the transform chain
// evaluated at a time from the node's properties and its animation curves.
#include "fbxsdk/FbxAnimation.h"
#include "fbxsdk/FbxMaterial.h"
#include "fbxsdk/FbxMesh.h"

namespace fbxsdk
{
	class FbxScene;

	enum class EFbxInheritType { eInheritRrSs, eInheritRSrs, eInheritRrs };

	class FbxNode : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxNode, FbxObject)
		FbxNode(std::string aName, FbxUInt64 aId, FbxScene* aScene) : FbxObject(std::move(aName), aId), myScene(aScene) {}

		int GetChildCount() const { return static_cast<int>(myChildren.size()); }
		FbxNode* GetChild(int aIndex) const { return myChildren[static_cast<size_t>(aIndex)]; }

		FbxNodeAttribute* GetNodeAttribute() const { return myAttribute; }
		FbxMesh* GetMesh() const { return FbxCast<FbxMesh>(myAttribute); }
		FbxLODGroup* GetLodGroup() const { return FbxCast<FbxLODGroup>(myAttribute); }

		int GetMaterialCount() const { return static_cast<int>(myMaterials.size()); }
		FbxSurfaceMaterial* GetMaterial(int aIndex) const { return myMaterials[static_cast<size_t>(aIndex)]; }

		// The geometric offset (applies to the node's geometry only, never inherited),
		// in the scene's current units and axes.
		FbxVector4 GetGeometricTranslation() const;
		FbxVector4 GetGeometricRotation() const;
		FbxVector4 GetGeometricScaling() const;

		// Transform to the parent's space, and to the scene's, at a time of the first
		// animation stack (static values where nothing is animated).
		FbxAMatrix EvaluateLocalTransform(FbxTime aTime = FbxTime());
		FbxAMatrix EvaluateGlobalTransform(FbxTime aTime = FbxTime());

		// ---- stand-in internals ------------------------------------------------
		struct Transform
		{
			FbxDouble3 translation, rotation, scaling{ 1.0, 1.0, 1.0 };
			FbxDouble3 rotationOffset, rotationPivot, scalingOffset, scalingPivot;
			FbxDouble3 preRotation, postRotation;
			FbxDouble3 geometricTranslation, geometricRotation, geometricScaling{ 1.0, 1.0, 1.0 };
			EFbxRotationOrder rotationOrder = EFbxRotationOrder::eEulerXYZ;
			EFbxInheritType inheritType = EFbxInheritType::eInheritRrSs;
			bool rotationActive = false;
			// Animated Lcl Translation, Lcl Rotation, Lcl Scaling (null when static).
			const FbxAnimCurveNode* animated[3] = { nullptr, nullptr, nullptr };
		};
		Transform myTransform;
		FbxNode* myParent = nullptr;
		std::vector<FbxNode*> myChildren;
		FbxNodeAttribute* myAttribute = nullptr;
		std::vector<FbxSurfaceMaterial*> myMaterials;

	private:
		// Local transform in the file's units and axes.
		FbxAMatrix FileLocal(FbxTime aTime) const;
		FbxAMatrix FileGlobal(FbxTime aTime) const;
		FbxAMatrix FileGeometric() const;

		FbxScene* myScene;
	};
}
