#include "world/entities/FlyingEnemy.h"

#include "world/entities/EnemyContact.h"
#include "world/entities/EntityQueries.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

#include <algorithm>
#include <iostream>
#include <limits>

namespace
{
	constexpr Norv::Vector2<float> COLLIDER_SIZE{ 100.0f, 100.0f }; // units
	constexpr float BUZZ_RADIUS = 1500.0f;       // units; beyond it the buzz stops
	constexpr float BUZZ_VOLUME = 1.0f;
	constexpr float AGGRO_RANGE = 800.0f;        // units from the player that start a charge
	constexpr float CHARGE_SPEED = 1000.0f;      // units/s
	constexpr float CHARGE_BLEND = 500.0f;       // 1/s², times dt²
	constexpr float RETURN_SPEED = 500.0f;       // units/s
	constexpr float RETURN_BLEND = 250.0f;       // 1/s², times dt²
	constexpr float ARRIVE_DISTANCE = 15.0f;     // units
	constexpr float OVERSHOOT = 200.0f;          // units past an attacker, along x
	constexpr float DEATH_DRAG = 0.02f;          // 1/s of sideways drift lost while dead
	constexpr float TURN_SPEED = 30.0f;          // units/s of vx that turn the model
	constexpr float FACING_YAW = 90.0f;          // degrees
	constexpr float HURT_BRIGHTNESS = 999.0f;    // a white flash while hurt
	constexpr float NORMAL_BRIGHTNESS = 1.0f;
	constexpr const char* DEATH_LINE = "im little bee and i DIEDed :((";

	void Play(Norv::Audio* aSound)
	{
		if (aSound)
			aSound->Play();
	}
}

FlyingEnemy::FlyingEnemy()
	: myHitSound(AudioManager::GetWaspDamage5())
{
	myColliderSize = COLLIDER_SIZE;
	myUsesGravity = false;
	myRotation = {};
	myAnimator.Init(this);
}

void FlyingEnemy::Init(FrameContext&)
{
	// A wasp struck before its first charge flies back to its post.
	myHome = myPosition;
}

void FlyingEnemy::Update(FrameContext& aContext)
{
	const float someDeltaTime = aContext.deltaTime;
	const Player* somePlayer = aContext.player;
	const float someDistance = somePlayer ? (somePlayer->myPosition - myPosition).Length() : std::numeric_limits<float>::infinity();
	if (!myIsDead)
		UpdateSounds(aContext, someDistance);

	myHitPlayer = !myIsDead && EnemyContact::HurtTouchingPlayers(aContext, EntityQueries::ColliderOf(*this), myPosition.x);
	myIsAttacking = myHitPlayer;
	myAnimator.Update(someDeltaTime);

	if (myIsHurt)
	{
		myHurtTimer += someDeltaTime;
		if (myHurtTimer >= myHurtTime)
		{
			myIsHurt = false;
			myHurtTimer = 0.0f;
			myAnimatedInstance.myColorAdjust.x = NORMAL_BRIGHTNESS;
		}
	}

	if (myIsDead)
	{
		// A dead wasp no longer claims the buzz.
		myLoopPlaying = false;
		myUsesGravity = true;
		myVelocity.x -= std::min(1.0f, DEATH_DRAG * someDeltaTime) * myVelocity.x;
		myDeathTimer += someDeltaTime;
		if (myDeathTimer >= myDeathDelay)
			myShouldRemove = true;
		return;
	}
	UpdateFlight(aContext, someDistance);
}

void FlyingEnemy::UpdateSounds(const FrameContext& aContext, float aPlayerDistance)
{
	// The buzz is one loop for every wasp: each claims it while in earshot, and it
	// stops once no wasp does.
	myLoopPlaying = aPlayerDistance <= BUZZ_RADIUS;
	if (myLoopPlaying)
		AudioManager::ClaimSpatialLoop(AudioManager::GetWaspIdleLoop(), *this, myPosition, aContext, BUZZ_RADIUS, BUZZ_VOLUME);

	if (myMode != CHARGE)
	{
		myStingPlayed = false;
	}
	else if (!myStingPlayed)
	{
		Play(AudioManager::GetWaspAttackSting4());
		myStingPlayed = true;
	}
}

void FlyingEnemy::FlyToward(Norv::Vector2<float> aTarget, Norv::Vector2<float>& aDirection, const Flight& aFlight, float aDeltaTime)
{
	aDirection = (aTarget - myPosition).GetNormalized();
	// Clamped: past 1 a long frame would overshoot the flight speed and diverge.
	const float k = std::min(1.0f, aFlight.myBlend * aDeltaTime * aDeltaTime);
	myVelocity = aDirection * (aFlight.mySpeed * k) + myVelocity * (1.0f - k);
	if ((aTarget - myPosition).Length() <= ARRIVE_DISTANCE)
	{
		myMode = aFlight.myNextMode;
		myVelocity = {};
	}
}

void FlyingEnemy::UpdateFlight(const FrameContext& aContext, float aPlayerDistance)
{
	const float someDeltaTime = aContext.deltaTime;
	if (myMode == HOVER && aContext.player && aPlayerDistance <= AGGRO_RANGE)
	{
		myHome = myPosition;
		myMode = CHARGE;
		myChargeTarget = aContext.player->myPosition;
		myChargeDirection = (myChargeTarget - myPosition).GetNormalized();
	}

	switch (myMode)
	{
	case CHARGE: FlyToward(myChargeTarget, myChargeDirection, { CHARGE_SPEED, CHARGE_BLEND, RETURN }, someDeltaTime); break;
	case RETURN: FlyToward(myHome, myReturnDirection, { RETURN_SPEED, RETURN_BLEND, REST }, someDeltaTime); break;
	case REST:
		myRestTimer += someDeltaTime;
		if (myRestTimer >= myRestTime)
		{
			myRestTimer = 0.0f;
			myMode = HOVER;
		}
		break;
	default: break;
	}

	if (myVelocity.x > TURN_SPEED)
		myRotation.y = FACING_YAW;
	else if (myVelocity.x < -TURN_SPEED)
		myRotation.y = -FACING_YAW;
}

void FlyingEnemy::TakeDamage(DamageInfo anInfo)
{
	// A corpse takes no more hits: Die runs once.
	if (myIsHurt || myIsDead)
		return;
	myHealth -= anInfo.damage;
	myIsHurt = true;
	myVelocity = anInfo.knockback;
	myAnimatedInstance.myColorAdjust.x = HURT_BRIGHTNESS;
	Play(myHitSound);

	if (anInfo.source)
	{
		// Charge the attacker, overshooting it by up to 200 along x.
		myChargeDirection = (anInfo.source->myPosition - myPosition).GetNormalized();
		myChargeTarget = anInfo.source->myPosition + Norv::Vector2<float>{ OVERSHOOT * myChargeDirection.x, 0.0f };
		myMode = CHARGE;
	}
	if (myHealth <= 0.0f)
	{
		std::cout << DEATH_LINE << std::endl;
		myHealth = 0.0f;
		Die();
	}
}
