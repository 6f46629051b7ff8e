#include "world/animation/PlayerAnimations.h"

#include "world/entities/Player.h"

#include <cmath>

namespace PlayerAnims
{
	namespace
	{
		constexpr std::uint8_t FIRST_PREVIOUS_STATE = 8;
	}

	PlayerAnimations::PlayerAnimations()
		: EntityAnimator(STATE_COUNT, FIRST_PREVIOUS_STATE)
	{
	}

	void PlayerAnimations::Init(Entity* anOwner)
	{
		Animator::Init(anOwner);
		myPlayer = dynamic_cast<Player*>(anOwner);
		myController = myPlayer ? &myPlayer->GetController() : nullptr;
		const std::uint64_t any = AnyState();
		const std::uint64_t someActions = BitRange(10, 18);
		ApplyTable({
			{ IDLE, true, true, Bits({ 1, 2, 4, 8 }) | someActions, 0.1f },
			{ RUNNING, true, true, Bits({ 0, 3, 4, 5 }) | BitRange(9, 18), 3.1f },
			{ JUMP_IDLE, true, true, Bits({ 4, 8 }) | someActions, NONE, 0.1f, 1.4f },
			{ JUMP_RUN, true, true, Bits({ 5 }) | BitRange(9, 18), NONE, 0.1f, 1.4f },
			{ FALLING_IDLE, true, true, Bits({ 6, 8 }) | someActions },
			{ FALLING_RUN, true, true, Bits({ 7 }) | BitRange(9, 18) },
			{ LANDING_IDLE, false, false, any, 3.75f },
			{ LANDING_RUN, false, false, any, 3.75f },
			{ ATTACKING_IDLE, false, false, any, 0.0f },
			{ ATTACKING_RUN, false, false, any, 0.0f },
			{ ATTACK_UP, false, false, any, 0.75f },
			{ ATTACK_DOWN, false, false, any, 0.75f },
			{ ATTACK_DOWN_IN_AIR, false, false, any, 0.75f },
			{ DAMAGED, false, false, any, 4.0f, 0.0f },
			{ DEATH, false, true, any, 2.93f, 0.1f, 0.83f },
			{ DASHING, false, true, any },
			{ CLIMBING, true, true, any, 3.1f },
			{ HOLDING, true, true, any, 3.1f },
			{ SLIDING, true, true, any },
		});
	}

	void PlayerAnimations::Update(float aDeltaTime)
	{
		EntityAnimator::Update(aDeltaTime);
	}

	int PlayerAnimations::SelectState()
	{
		if (!myPlayer || !myController)
		{
			return -1;
		}
		if (myPlayer->myIsDead)
		{
			return DEATH;
		}
		if (myPlayer->myIsHurt)
		{
			return DAMAGED;
		}
		if (myController->IsDashing())
		{
			return DASHING;
		}
		if (myController->IsClimbIdle())
		{
			return HOLDING;
		}
		if (myController->IsClimbing())
		{
			return CLIMBING;
		}
		// The second holding flag: sliding down a wall shows the holding pose.
		if (myController->IsWallSliding())
		{
			return HOLDING;
		}
		const Norv::Vector2<float>& v = myPlayer->myVelocity;
		const bool someIsMoving = std::fabs(v.x) > MOVING_SPEED;
		if (myPlayer->IsAttacking())
		{
			switch (myPlayer->myAttackDirection)
			{
			case 1: return ATTACK_UP;
			case 2: return ATTACK_DOWN;
			default: return someIsMoving ? ATTACKING_RUN : ATTACKING_IDLE;
			}
		}
		const bool someIsAirborne = myPlayer->myAirTime > 0.0f;
		if (someIsAirborne && v.y > RISING_SPEED)
		{
			return someIsMoving ? JUMP_RUN : JUMP_IDLE;
		}
		if (someIsAirborne && v.y < FALLING_SPEED)
		{
			if (myPreviousState == IDLE || myPreviousState == JUMP_IDLE)
			{
				return FALLING_IDLE;
			}
			if (myPreviousState == RUNNING || myPreviousState == JUMP_RUN)
			{
				return FALLING_RUN;
			}
		}
		if (!someIsAirborne)
		{
			if (myPreviousState == FALLING_IDLE)
			{
				return LANDING_IDLE;
			}
			if (myPreviousState == FALLING_RUN)
			{
				return LANDING_RUN;
			}
			return someIsMoving ? RUNNING : IDLE;
		}
		return -1;
	}
}
