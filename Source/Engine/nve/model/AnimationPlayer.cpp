#include "model/AnimationPlayer.h"

#include <algorithm>
#include <cmath>

namespace Norv
{
	namespace
	{
		Vector3<float> Lerp(const Vector3<float>& a, const Vector3<float>& b, float t)
		{
			return a + (b - a) * t;
		}
	}

	void AnimationPlayer::SetAnimation(std::shared_ptr<Animation> aClip)
	{
		myAnimation = std::move(aClip);
		myFrameRate = myAnimation ? myAnimation->myFrameRate : 0.0f;
	}

	void AnimationPlayer::Update(float aDeltaTime)
	{
		if (myState == ANIMATION_STATE_PLAYING && myAnimation)
		{
			const float someDuration = myAnimation->myDuration;
			myTime += aDeltaTime * mySpeed;
			if (!std::isfinite(myTime))
				myTime = 0.0f;
			if (myTime >= someDuration)
			{
				if (!myIsLooping)
				{
					myTime = someDuration;
					myState = ANIMATION_STATE_FINISHED;
				}
				else if (someDuration > 0.0f)
				{
					// One subtraction per wrap as long as few wraps are due; fmod for a
					// huge step, so that the loop always ends.
					for (int someWraps = 0; myTime >= someDuration && someWraps < 4; ++someWraps)
						myTime -= someDuration;
					if (myTime >= someDuration)
						myTime = std::fmod(myTime, someDuration);
				}
				else
					myTime = 0.0f; // a clip of zero duration holds frame 0
			}
		}
		UpdatePose();
	}

	void AnimationPlayer::UpdatePose()
	{
		if (!myAnimation || myAnimation->myFrames.empty())
			return;
		const std::vector<SkeletonPose>& someFrames = myAnimation->myFrames;
		const std::size_t someFrameCount = std::min<std::size_t>(someFrames.size(), std::max<std::uint32_t>(myAnimation->myFrameCount, 1));
		float somePosition = 0.0f;
		// time x rate, not time / (1 / rate): the latter puts the end of a clip of
		// 30 fps just below frame 30, so a finished clip would hold frame 29.
		if (myFrameRate > 0.0f && std::isfinite(myTime))
			somePosition = myTime * myFrameRate;
		somePosition = std::clamp(somePosition, 0.0f, static_cast<float>(someFrameCount - 1));
		const std::size_t someFrame = static_cast<std::size_t>(somePosition);
		const float t = somePosition - static_cast<float>(someFrame);
		std::size_t someNext = someFrame;
		if (myState != ANIMATION_STATE_FINISHED)
			someNext = someFrame + 1 >= someFrameCount ? 0 : someFrame + 1;

		const SkeletonPose& someFrom = someFrames[someFrame];
		const SkeletonPose& someTo = someFrames[someNext];
		const std::size_t someJointCount = std::min<std::size_t>(someFrom.myJointCount, MAX_ANIMATION_BONES);
		for (std::size_t j = 0; j < someJointCount; ++j)
		{
			const JointTransform& a = someFrom.myJoints[j];
			if (!myIsInterpolating)
			{
				myPose.myJoints[j] = a;
				continue;
			}
			const JointTransform& b = someTo.myJoints[j];
			JointTransform& someOut = myPose.myJoints[j];
			someOut.myTranslation = Lerp(a.myTranslation, b.myTranslation, t);
			someOut.myScale = Lerp(a.myScale, b.myScale, t);
			someOut.myRotation = Quaternion::Slerp(a.myRotation, b.myRotation, t);
		}
		myPose.myJointCount = someJointCount;
	}
}
