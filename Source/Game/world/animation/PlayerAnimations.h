#pragma once
// The player's animation states: movement, jumps and falls with their landings,
// attacks, damage, death, dash, climbing and holding.
#include "world/animation/EntityAnimator.h"

class Player;
class PlayerController;

namespace PlayerAnims
{
	class PlayerAnimations : public EntityAnimator
	{
	public:
		static constexpr int STATE_COUNT = 21;
		static constexpr float MOVING_SPEED = 100.0f;  // units/s of |velocity.x| above which the player runs
		static constexpr float RISING_SPEED = 175.0f;  // units/s of velocity.y above which a jump shows
		static constexpr float FALLING_SPEED = -175.0f; // units/s of velocity.y below which a fall shows

		enum State : int
		{
			IDLE, RUNNING, JUMP_IDLE, JUMP_RUN, FALLING_IDLE, FALLING_RUN, LANDING_IDLE, LANDING_RUN,
			ATTACKING_IDLE, ATTACKING_RUN, ATTACK_UP, ATTACK_DOWN, ATTACK_DOWN_IN_AIR, DAMAGED, DEATH,
			DASHING, CLIMBING, HOLDING, SLIDING
		};

		PlayerAnimations();

		void Init(Entity* anOwner) override;
		void Update(float aDeltaTime) override;
		int SelectState() override;

	private:
		Player* myPlayer = nullptr;
		PlayerController* myController = nullptr;
	};
}
