#pragma once
// The breakable crystal's one animation, played once it is destroyed. Written
// against the state the crystal keeps (myIsDestroyed); its header names its own
// instance, DestructibleAnimator = DestructibleAnimatorFor<Destructibles>.
#include "world/animation/EntityAnimator.h"

namespace DestructibleAnims
{
	template <typename TDestructible>
	class DestructibleAnimatorFor : public EntityAnimator
	{
	public:
		static constexpr int STATE_COUNT = 2;
		static constexpr float SPEED = 0.45f;

		enum State : int
		{
			DESTROYED
		};

		DestructibleAnimatorFor() : EntityAnimator(STATE_COUNT, 0) {}

		void Init(Entity* anOwner) override
		{
			myCurrentStateIndex = DESTROYED;
			myDestructible = BindOwner<TDestructible>(anOwner, { { DESTROYED, true, true, 0, NONE, NONE, SPEED }, { 1, true, true, 0, NONE, NONE, SPEED } });
		}

		// Runs only for a destroyed crystal whose current state is not the first;
		// a destroyed crystal drives the base update itself.
		void Update(float aDeltaTime) override
		{
			if (myDestructible && myDestructible->myIsDestroyed && myCurrentStateIndex != DESTROYED)
			{
				EntityAnimator::Update(aDeltaTime);
			}
		}

		int SelectState() override { return DESTROYED; }

	private:
		TDestructible* myDestructible = nullptr;
	};
}
