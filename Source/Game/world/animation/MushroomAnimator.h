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
			Animator::Init(anOwner);
			myEnemy = dynamic_cast<TEnemy*>(anOwner);
			myAnyTransition = true;
			ApplyTable({
				{ DAMAGED, true, true, 0, NONE, NONE, 0.9f },
				{ DEATH, true, false, 0, NONE, NONE, 0.95f },
			});
		}

		void Update(float aDeltaTime) override { UpdateAndRemember(aDeltaTime); }

		int SelectState() override
		{
			if (!myEnemy)
			{
				return -1;
			}
			if (myEnemy->myIsDead)
			{
				return DEATH;
			}
			return myEnemy->myIsHurt ? DAMAGED : WALKING;
		}

	private:
		TEnemy* myEnemy = nullptr;
	};
}
