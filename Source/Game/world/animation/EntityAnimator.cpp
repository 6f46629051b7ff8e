#include "world/animation/EntityAnimator.h"

#include "world/entities/Entity.h"

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

void EntityAnimator::Update(float aDeltaTime)
{
	Animator::Update(aDeltaTime);
	myPreviousState = static_cast<std::uint8_t>(myCurrentStateIndex);
}

int EntityAnimator::DeathDamageOr(const Entity& anEnemy, int aDeath, int aDamaged, int anyOther)
{
	if (anEnemy.myIsDead)
	{
		return aDeath;
	}
	return anEnemy.myIsHurt ? aDamaged : anyOther;
}
