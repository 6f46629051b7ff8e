#include "world/animation/Animator.h"

#include "world/entities/Entity.h"

#include <algorithm>

namespace
{
	std::uint64_t Bit(int anIndex) { return anIndex >= 0 && anIndex < 64 ? std::uint64_t{ 1 } << anIndex : 0; }
}

Animator::Animator(int aStateCount)
	: myStateCount(aStateCount)
	, myStates(static_cast<std::size_t>(std::max(aStateCount, 0)))
{
}

void Animator::Init(Entity* anOwner)
{
	myOwner = anOwner;
}

void Animator::AddState(const Norv::AnimationPlayer& aPlayer, const int& anIndex, const std::string& aName)
{
	if (!IsValidIndex(anIndex))
	{
		return;
	}
	AnimationState& someState = myStates[static_cast<std::size_t>(anIndex)];
	someState.index = anIndex;
	// The factory's players do not loop; the state's own loop flag, set by the
	// animator's table, stays.
	const bool someIsLooping = someState.player.IsLooping();
	someState.player = aPlayer;
	someState.player.SetLooping(someIsLooping);
	someState.name = aName;
}

void Animator::SwitchState(AnimationState& aLeaving)
{
	aLeaving.player.SetState(Norv::ANIMATION_STATE_SWITCHED_AWAY);
	aLeaving.player.SetTime(0.0f);
	const int someSelected = SelectState();
	if (IsValidIndex(someSelected))
	{
		myCurrentStateIndex = someSelected;
	}
	myBlendTimer = 0.0f;
	myIsBlending = true;
	myBlendFromPose = aLeaving.player.GetPose();
}

bool Animator::HasEnded(const AnimationState& aState) const
{
	const Norv::AnimationPlayer& somePlayer = aState.player;
	const float someDuration = somePlayer.GetAnimation() ? somePlayer.GetAnimation()->myDuration : 0.0f;
	// An offset as long as the clip or longer would end the state on every frame
	// and hold its first pose; such a state ends only when its clip does.
	if (aState.exitOffset > NONE && aState.exitOffset < someDuration && somePlayer.GetTime() >= someDuration - aState.exitOffset)
	{
		return true;
	}
	return somePlayer.GetState() == Norv::ANIMATION_STATE_FINISHED && !somePlayer.IsLooping();
}

void Animator::Update(float aDeltaTime)
{
	if (myStates.empty())
	{
		return;
	}
	if (!myCurrentState)
	{
		myCurrentState = &myStates[static_cast<std::size_t>(myCurrentStateIndex)];
	}

	const int someSelected = SelectState();
	if (IsValidIndex(someSelected))
	{
		const std::uint64_t someAllowed = myCurrentState->allowedTransitions;
		const bool someIsAllowed = myAnyTransition || (someAllowed & Bit(myCurrentState->index)) != 0
			|| (someAllowed & Bit(myStateCount - 1)) != 0 || (someAllowed & Bit(someSelected)) != 0;
		if (someIsAllowed && myCurrentState->interruptible && myStates[static_cast<std::size_t>(someSelected)].index != myCurrentState->index)
		{
			SwitchState(*myCurrentState);
		}
	}
	if (IsValidIndex(SelectState()) && HasEnded(*myCurrentState))
	{
		SwitchState(*myCurrentState);
	}

	AnimationState* someState = &myStates[static_cast<std::size_t>(myCurrentStateIndex)];
	myCurrentState = someState;
	Norv::AnimationPlayer* somePlayer = &someState->player;
	if (someState->startTime > NONE && somePlayer->GetState() == Norv::ANIMATION_STATE_NEW)
	{
		// A start time past a short clip's end would sample outside it.
		const float someDuration = somePlayer->GetAnimation() ? somePlayer->GetAnimation()->myDuration : 0.0f;
		somePlayer->SetTime(std::min(someState->startTime, someDuration));
	}
	if (!somePlayer->GetAnimation())
	{
		// A state without a clip plays state 1's; when that has none either there is
		// nothing to play and the shown pose stays as it is.
		if (myStateCount < 2 || !myStates[1].player.GetAnimation())
		{
			return;
		}
		someState->player = myStates[1].player;
		myCurrentState = &myStates[1];
		somePlayer = &myCurrentState->player;
	}

	// A player entered this frame still holds the pose of its last play: sample it
	// at its time before it is shown.
	if (somePlayer->GetState() != Norv::ANIMATION_STATE_PLAYING)
	{
		somePlayer->SetState(Norv::ANIMATION_STATE_PLAYING);
		somePlayer->UpdatePose();
	}
	myShownPose = somePlayer->GetPose();
	BlendPoses(myShownPose, aDeltaTime);
	if (myOwner && myOwner->myAnimatedInstance.GetModel())
	{
		myOwner->myAnimatedInstance.UpdatePose(myShownPose);
	}
	somePlayer->SetSpeed(myCurrentState->speed);
	somePlayer->Update(aDeltaTime);
}

void Animator::BlendPoses(Norv::SkeletonPose& aPose, float aDeltaTime)
{
	if (!myIsBlending)
	{
		return;
	}
	myBlendTimer += aDeltaTime;
	const float t = myBlendTimer / myBlendTime;
	if (myBlendTime < myBlendTimer)
	{
		myIsBlending = false;
		return;
	}
	const std::size_t someCount = std::min<std::size_t>(myBlendFromPose.myJointCount, Norv::MAX_ANIMATION_BONES);
	for (std::size_t j = 0; j < someCount; ++j)
	{
		const Norv::JointTransform& someFrom = myBlendFromPose.myJoints[j];
		Norv::JointTransform& someTo = aPose.myJoints[j];
		someTo.myTranslation = someFrom.myTranslation + (someTo.myTranslation - someFrom.myTranslation) * t;
		someTo.myScale = someFrom.myScale + (someTo.myScale - someFrom.myScale) * t;
		someTo.myRotation = Norv::Quaternion::Slerp(someFrom.myRotation, someTo.myRotation, t);
	}
	aPose.myJointCount = myBlendFromPose.myJointCount;
}
