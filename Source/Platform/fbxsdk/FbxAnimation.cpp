#include "fbxsdk/FbxAnimation.h"

#include <algorithm>

namespace fbxsdk
{
	float FbxAnimCurve::Evaluate(FbxTime aTime) const
	{
		if (myTimes.empty())
			return myDefault;
		const std::int64_t someTicks = aTime.Get();
		if (someTicks <= myTimes.front())
			return myValues.front();
		if (someTicks >= myTimes.back())
			return myValues.back();
		// The key at or before the time; the next key is after it.
		const size_t someKey = static_cast<size_t>(std::upper_bound(myTimes.begin(), myTimes.end(), someTicks) - myTimes.begin()) - 1;
		const double someSpan = static_cast<double>(myTimes[someKey + 1] - myTimes[someKey]);
		const double someT = static_cast<double>(someTicks - myTimes[someKey]) / someSpan;
		const double someFrom = myValues[someKey];
		const double someTo = myValues[someKey + 1];
		switch (myInterpolations[someKey])
		{
		case eInterpolationConstant:
			return static_cast<float>(someFrom);
		case eInterpolationCubic:
		{
			// Hermite over the span with slopes in value per second.
			const double someSeconds = someSpan / static_cast<double>(FbxTime::TICKS_PER_SECOND);
			const double someOut = myRightSlopes[someKey] * someSeconds;
			const double someIn = myNextLeftSlopes[someKey] * someSeconds;
			const double t2 = someT * someT;
			const double t3 = t2 * someT;
			return static_cast<float>((2 * t3 - 3 * t2 + 1) * someFrom + (t3 - 2 * t2 + someT) * someOut + (-2 * t3 + 3 * t2) * someTo + (t3 - t2) * someIn);
		}
		default:
			return static_cast<float>(someFrom + (someTo - someFrom) * someT);
		}
	}
}
