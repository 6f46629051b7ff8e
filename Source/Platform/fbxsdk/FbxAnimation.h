#pragma once
// Animation stacks, layers, curve nodes and curves. A curve is evaluated at a
// time with constant, linear or cubic (Hermite, stored slopes) keys.
#include "fbxsdk/FbxArrayBuffer.h"
#include "fbxsdk/FbxObject.h"

namespace fbxsdk
{
	class FbxAnimCurve : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxAnimCurve, FbxObject)
		FbxAnimCurve(std::string aName, FbxUInt64 aId) : FbxObject(std::move(aName), aId) {}

		enum EInterpolation : std::uint8_t { eInterpolationConstant = 2, eInterpolationLinear = 4, eInterpolationCubic = 8 };

		// Before the first key: its value; after the last: the last value.
		float Evaluate(FbxTime aTime) const;

		// ---- stand-in internals ------------------------------------------------
		impl::ArrayBuffer<std::int64_t> myTimes;
		impl::ArrayBuffer<float> myValues;
		std::vector<std::uint8_t> myInterpolations; // per key: how the value goes to the next key
		std::vector<float> myRightSlopes;           // per key, value units per second
		std::vector<float> myNextLeftSlopes;
		float myDefault = 0.0f;
	};

	class FbxAnimCurveNode : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxAnimCurveNode, FbxObject)
		FbxAnimCurveNode(std::string aName, FbxUInt64 aId) : FbxObject(std::move(aName), aId) {}

		// Channel value: the channel's curve at the time, else the node's default.
		double EvaluateChannel(int aChannel, FbxTime aTime) const
		{
			return myCurves[aChannel] ? myCurves[aChannel]->Evaluate(aTime) : myDefaults[aChannel];
		}

		double myDefaults[3] = { 0.0, 0.0, 0.0 };
		const FbxAnimCurve* myCurves[3] = { nullptr, nullptr, nullptr };
	};

	class FbxAnimLayer : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxAnimLayer, FbxObject)
		FbxAnimLayer(std::string aName, FbxUInt64 aId) : FbxObject(std::move(aName), aId) {}
	};

	class FbxAnimStack : public FbxObject
	{
	public:
		NORV_FBX_CLASS(FbxAnimStack, FbxObject)
		FbxAnimStack(std::string aName, FbxUInt64 aId) : FbxObject(std::move(aName), aId) {}

		FbxTimeSpan myLocalTimeSpan;
	};

	struct FbxTakeInfo
	{
		std::string mName;
		FbxTimeSpan mLocalTimeSpan;
	};
}
