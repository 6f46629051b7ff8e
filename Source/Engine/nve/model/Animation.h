#pragma once
// One skeletal clip: a pose per frame, laid out in the joint order of the model
// it was loaded for.
#include "model/Skeleton.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Norv
{
	struct Animation
	{
		std::vector<SkeletonPose> myFrames;
		std::uint32_t myFrameCount = 0;
		float myFrameRate = 0.0f; // frames per second
		float myDuration = 0.0f;  // seconds
		std::wstring myName;
	};
}
