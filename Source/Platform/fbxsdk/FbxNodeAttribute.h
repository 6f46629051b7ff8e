#pragma once
// What a node is: a mesh, a skeleton bone, a null, an LOD group or another kind.
#include "fbxsdk/FbxObject.h"

namespace fbxsdk
{
	class FbxNode;

	class FbxNodeAttribute : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxNodeAttribute, FbxObject)
		enum EType { eUnknown, eNull, eMarker, eSkeleton, eMesh, eNurbs, ePatch, eCamera, eLight, eLODGroup };

		FbxNodeAttribute(std::string aName, FbxUInt64 aId, EType aType = eUnknown) : FbxObject(std::move(aName), aId), myType(aType) {}
		virtual EType GetAttributeType() const { return myType; }
		FbxNode* GetNode() const { return myNode; }

		void SetNode(FbxNode* aNode) { myNode = aNode; }

	private:
		EType myType;
		FbxNode* myNode = nullptr;
	};

	class FbxNull : public FbxNodeAttribute
	{
	public:
		NORV_FBX_CLASS(FbxNull, FbxNodeAttribute)
		FbxNull(std::string aName, FbxUInt64 aId) : FbxNodeAttribute(std::move(aName), aId, eNull) {}
	};

	class FbxSkeleton : public FbxNodeAttribute
	{
	public:
		NORV_FBX_CLASS(FbxSkeleton, FbxNodeAttribute)
		FbxSkeleton(std::string aName, FbxUInt64 aId) : FbxNodeAttribute(std::move(aName), aId, eSkeleton) {}
	};

	struct FbxDistance
	{
		float myValue = 0.0f;
		float value() const { return myValue; }
	};

	class FbxLODGroup : public FbxNodeAttribute
	{
	public:
		NORV_FBX_CLASS(FbxLODGroup, FbxNodeAttribute)
		FbxLODGroup(std::string aName, FbxUInt64 aId) : FbxNodeAttribute(std::move(aName), aId, eLODGroup) {}

		int GetNumThresholds() const { return static_cast<int>(myThresholds.size()); }
		// The distance at which level aIndex + 1 takes over; false when there is none.
		bool GetThreshold(int aIndex, FbxDistance& aOut) const
		{
			if (aIndex < 0 || aIndex >= GetNumThresholds())
				return false;
			aOut.myValue = myThresholds[static_cast<size_t>(aIndex)];
			return true;
		}

		std::vector<float> myThresholds;
	};
}
