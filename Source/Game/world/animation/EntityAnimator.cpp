#include "world/animation/EntityAnimator.h"

void EntityAnimator::ApplyTable(std::initializer_list<StateRow> aRows)
{
	for (AnimationState& someState : myStates)
	{
		someState.player.SetLooping(true);
		someState.interruptible = true;
	}
	for (const StateRow& someRow : aRows)
	{
		if (!IsValidIndex(someRow.index))
		{
			continue;
		}
		AnimationState& someState = GetState(someRow.index);
		someState.player.SetLooping(someRow.loop);
		someState.interruptible = someRow.interruptible;
		someState.allowedTransitions = someRow.allowed;
		someState.exitOffset = someRow.exitOffset;
		someState.startTime = someRow.startTime;
		someState.speed = someRow.speed;
	}
}

void EntityAnimator::UpdateAndRemember(float aDeltaTime)
{
	Animator::Update(aDeltaTime);
	myPreviousState = static_cast<std::uint8_t>(myCurrentStateIndex);
}
