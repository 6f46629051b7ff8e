#pragma once
// The flower platform's animation states: sleeping, opening, open and closing.
// Written against the state the flower keeps (myState: 0 closed, 1 open,
// 2 opening, 3 closing); its header names its own instance,
// FlowerAnimator = FlowerAnimatorFor<FlowerPlatform>.
#include "world/animation/EntityAnimator.h"

namespace FlowerAnims
{
	template <typename TFlower>
	class FlowerAnimatorFor : public EntityAnimator
	{
	public:
		static constexpr int STATE_COUNT = 6;
		static constexpr float BLEND_TIME = 0.075f; // s
		static constexpr int OPEN_MODE = 1;
		static constexpr int OPENING_MODE = 2;
		static constexpr int CLOSING_MODE = 3;

		enum State : int
		{
			SLEEPING, OPENING, OPEN, CLOSING_STATIC, CLOSING
		};

		FlowerAnimatorFor() : EntityAnimator(STATE_COUNT, 0) {}

		void Init(Entity* anOwner) override
		{
			myBlendTime = BLEND_TIME;
			myFlower = BindOwner<TFlower>(anOwner, {
				{ OPENING, true, true, 0, 4.6f },
				{ OPEN, true, true, 0, 4.3f },
				{ CLOSING, true, true, 0, 2.3f, NONE, 1.2f },
			});
		}

		int SelectState() override
		{
			if (!myFlower)
			{
				return -1;
			}
			switch (myFlower->myState)
			{
			case OPENING_MODE: return OPENING;
			case OPEN_MODE: return OPEN;
			case CLOSING_MODE: return CLOSING;
			default: return SLEEPING;
			}
		}

	private:
		TFlower* myFlower = nullptr;
	};
}
