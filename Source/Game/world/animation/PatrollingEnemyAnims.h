#pragma once
// The hedgehog's (and the boss's) animation states: walk, roll up, roll, get
// stunned and back up, unroll, damage and death. Written against the state the
// enemy keeps (myIsDead, myIsHurt, myIsGettingUp, myIsRollingUp, myMode,
// myIsUnrolling, myIsRolling); the enemy's header names its own instance,
// PatrollingEnemyAnims = PatrollingEnemyAnimsFor<PatrollingEnemy>.
#include "world/animation/EntityAnimator.h"

namespace EnemyAnims
{
	template <typename TEnemy>
	class PatrollingEnemyAnimsFor : public EntityAnimator
	{
	public:
		static constexpr int STATE_COUNT = 12;
		static constexpr int STUNNED_MODE = 3;

		enum State : int
		{
			IDLE, ROLL, ROLL_STUNNED, ROLL_STUNNED_BACK_UP, ROLL_UP, UNROLL, WALK, WALK_CHARGE, DAMAGED, DEATH
		};

		PatrollingEnemyAnimsFor() : EntityAnimator(STATE_COUNT, 0) {}

		void Init(Entity* anOwner) override
		{
			myEnemy = BindOwner<TEnemy>(anOwner, {
				{ ROLL, true, true, 0, 0.7f, 0.0f },
				{ ROLL_STUNNED_BACK_UP, true, true, 0, 0.38f, 0.1f },
				{ ROLL_UP, true, true, 0, 0.7f },
				{ UNROLL, true, true, 0, 0.38f },
				{ WALK, true, true, 0, 0.2f },
				{ WALK_CHARGE, true, true, 0, 0.25f },
				{ DAMAGED, true, true, 0, 0.01f },
				{ DEATH, true, true, 0, 0.05f, 0.25f },
			});
		}

		int SelectState() override { return myEnemy ? DeathDamageOr(*myEnemy, DEATH, DAMAGED, MovementState()) : -1; }

	private:
		int MovementState() const
		{
			if (myEnemy->myIsGettingUp)
			{
				return ROLL_STUNNED_BACK_UP;
			}
			if (myEnemy->myIsRollingUp)
			{
				return ROLL_UP;
			}
			if (myEnemy->myMode == STUNNED_MODE)
			{
				return ROLL_STUNNED;
			}
			if (myEnemy->myIsUnrolling)
			{
				return UNROLL;
			}
			return myEnemy->myIsRolling ? ROLL : WALK;
		}

		TEnemy* myEnemy = nullptr;
	};
}
