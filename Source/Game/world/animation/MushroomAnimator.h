#pragma once
// The mushroom's animation states: walking, damage and death. Written against
// the state the mushroom keeps (myIsDead, myIsHurt); its header names its own
// instance, MushroomAnimator = MushroomAnimatorFor<MushroomEnemy>.
#include "world/animation/EntityAnimator.h"

namespace MushroomEnemyAnims
{
	template <typename TEnemy>
	class MushroomAnimatorFor : public EntityAnimator
	{
	public:
		static constexpr int STATE_COUNT = 5;

		enum State : int
		{
			WALKING, UNUSED, DAMAGED, DEATH
		};

		MushroomAnimatorFor() : EntityAnimator(STATE_COUNT, 0) {}

		void Init(Entity* anOwner) override
		{
			myEnemy = BindOwner<TEnemy>(anOwner, {
				{ DAMAGED, true, true, 0, NONE, NONE, 0.9f },
				{ DEATH, true, false, 0, NONE, NONE, 0.95f },
			});
		}

		int SelectState() override { return myEnemy ? DeathDamageOr(*myEnemy, DEATH, DAMAGED, WALKING) : -1; }

	private:
		TEnemy* myEnemy = nullptr;
	};
}
