#pragma once
// The wasp's animation states: flying, attack, damage, death and the charge.
// Written against the state the wasp keeps (myIsDead, myIsHurt, myIsAttacking,
// myMode); the wasp's header names its own instance,
// FlyingEnemyAnimator = FlyingEnemyAnimatorFor<FlyingEnemy>.
#include "world/animation/EntityAnimator.h"

namespace FlyingEnemyAnims
{
	template <typename TEnemy>
	class FlyingEnemyAnimatorFor : public EntityAnimator
	{
	public:
		static constexpr int STATE_COUNT = 7;
		static constexpr int CHARGE_MODE = 2;

		enum State : int
		{
			FLYING, ATTACK, DAMAGED, DEATH, FLYING_CHARGE, CHARGE
		};

		FlyingEnemyAnimatorFor() : EntityAnimator(STATE_COUNT, 0) {}

		void Init(Entity* anOwner) override
		{
			myEnemy = BindOwner<TEnemy>(anOwner, {
				{ FLYING, true, true, 0, 0.6f },
				// Plays once: a looping state that cannot be interrupted would never end.
				{ ATTACK, false, false },
				{ DAMAGED, true, true, 0, NONE, NONE, 0.9f },
				{ DEATH, true, true, 0, NONE, NONE, 0.85f },
				{ FLYING_CHARGE, true, true, 0, 0.4f },
			});
		}

		int SelectState() override { return myEnemy ? DeathDamageOr(*myEnemy, DEATH, DAMAGED, FlightState()) : -1; }

	private:
		int FlightState() const
		{
			if (myEnemy->myIsAttacking)
			{
				return ATTACK;
			}
			return myEnemy->myMode == CHARGE_MODE ? FLYING_CHARGE : FLYING;
		}

		TEnemy* myEnemy = nullptr;
	};
}
