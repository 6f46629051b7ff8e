#pragma once
// The wasp: hovers at its post, charges a player who comes within reach, flies
// back and rests, and charges whoever strikes it. Hurts the player on contact.
#include "world/animation/FlyingEnemyAnimator.h"
#include "world/entities/Entity.h"

#include "Math/Vector.h"

namespace Norv
{
	class Audio;
}

class FlyingEnemy : public Entity
{
public:
	using FlyingEnemyAnimator = FlyingEnemyAnims::FlyingEnemyAnimatorFor<FlyingEnemy>;

	enum Mode : int
	{
		HOVER = 1, CHARGE = 2, RETURN = 4, REST = 5
	};

	FlyingEnemy();

	void Init(FrameContext& aContext) override;
	void Update(FrameContext& aContext) override;
	Animator* GetAnimator() override { return &myAnimator; }
	void TakeDamage(DamageInfo anInfo) override;

	int myMode = HOVER;
	Norv::Audio* myHitSound = nullptr;
	bool myLoopPlaying = false; // claims the shared buzz loop this frame
	bool myStingPlayed = false;
	FlyingEnemyAnimator myAnimator;
	Norv::Vector2<float> myChargeTarget;
	Norv::Vector2<float> myChargeDirection; // unit vector
	Norv::Vector2<float> myHome;            // where the charge began
	Norv::Vector2<float> myReturnDirection; // unit vector
	float myRestTimer = 0.0f;
	float myRestTime = 1.5f;
	float myDeathTimer = 0.0f;
	float myDeathDelay = 1.0f;
	float myHurtTimer = 0.0f;
	float myHurtTime = 0.2f;
	bool myHitPlayer = false;   // touched the player this frame
	bool myIsAttacking = false; // stinging: the animator's attack clip

private:
	void UpdateSounds(const FrameContext& aContext, float aPlayerDistance);
	void UpdateFlight(const FrameContext& aContext, float aPlayerDistance);
	struct Flight
	{
		float mySpeed;  // units/s
		float myBlend;  // 1/s²: the velocity eases by myBlend x dt², at most all the way
		int myNextMode; // on arrival
	};
	// Eases the velocity toward aTarget (aDirection gets the unit vector there);
	// within reach it stops and takes the flight's next mode.
	void FlyToward(Norv::Vector2<float> aTarget, Norv::Vector2<float>& aDirection, const Flight& aFlight, float aDeltaTime);
};
