#include "world/entities/MushroomEnemy.h"

#include "world/effects/FlipbookVFX.h"
#include "world/entities/EnemyContact.h"
#include "world/entities/EnemyPatrol.h"
#include "world/entities/EntityQueries.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

#include <algorithm>
#include <cmath>

namespace
{
	constexpr Norv::Vector2<float> COLLIDER_SIZE{ 180.0f, 160.0f }; // units
	constexpr int HIT_EFFECT_ID = 11;
	constexpr int FOG_EFFECT_ID = 22;
	constexpr Norv::Vector3<float> FOG_OFFSET{ -20.0f, -80.0f, -80.0f }; // units from the centre and depth
	constexpr float FOG_ALPHA = 0.4f;          // of the cloud at full strength
	constexpr float RIGHT_YAW = -90.0f;        // degrees, facing right
	constexpr float LEFT_YAW = 90.0f;          // degrees, facing left
	constexpr float DEAD_PITCH = -90.0f;       // degrees: the body falls over
	constexpr float FOOT_DROP = 50.0f;         // units below the collider of the tile row it walks on
	constexpr float HIT_EFFECT_INSET = 100.0f; // units in from the collider's side
	constexpr float HIT_EFFECT_RAISE = 75.0f;  // units
	constexpr float HIT_EFFECT_Z = -100.0f;
	constexpr float STANDING_VY = -0.1f;       // units/s: keeps it pressed onto the floor

	void Play(Norv::Audio* aSound)
	{
		if (aSound)
			aSound->Play();
	}

	int RoundToTile(float aValue)
	{
		return static_cast<int>(std::lround(aValue / TileCollisionGrid::TILE_SIZE));
	}
}

MushroomEnemy::MushroomEnemy()
	: myHitEffect(std::make_unique<FlipbookVFX>())
	, myFogEffect(std::make_unique<FlipbookVFX>())
	, myHitSound(AudioManager::GetMushroomDamage3())
	, myFootsteps{ AudioManager::GetMushroomActionFootstep1(), AudioManager::GetMushroomActionFootstep2(), AudioManager::GetMushroomActionFootstep3(),
		AudioManager::GetMushroomActionFootstep4() }
{
	myColliderSize = COLLIDER_SIZE;
	myRotation = {};
	myAnimator.Init(this);
	myHitEffect->Init(HIT_EFFECT_ID);
	myFogEffect->Init(FOG_EFFECT_ID);
}

MushroomEnemy::~MushroomEnemy() = default;

void MushroomEnemy::Update(FrameContext& aContext)
{
	const float someDeltaTime = aContext.deltaTime;
	myAnimator.Update(someDeltaTime);
	myHitEffect->Update(aContext, {});
	const Norv::Vector3<float> someFogAt{ myPosition.x + FOG_OFFSET.x, myPosition.y + FOG_OFFSET.y, myZ + FOG_OFFSET.z };
	myFogEffect->PlayAt(someFogAt, 1.0f);
	myFogEffect->Update(aContext, someFogAt);

	if (myIsDead)
	{
		// A dead mushroom neither walks, steps nor hurts: it only fades.
		UpdateDeath(someDeltaTime);
		return;
	}
	if (myIsHurt)
	{
		myHurtTimer += someDeltaTime;
		if (myHurtTimer >= myHurtTime)
		{
			myIsHurt = false;
			myHurtTimer = 0.0f;
		}
	}

	Patrol(aContext);
	myDamageBox = EntityQueries::ColliderOf(*this);
	EnemyContact::HurtTouchingPlayers(aContext, myDamageBox, myPosition.x);
	myFootstepTimer -= someDeltaTime;
	if (myFootstepTimer <= 0.0f)
	{
		AudioManager::PlayRandom(myFootsteps.data(), FOOTSTEP_COUNT, *this, aContext, true);
		myFootstepTimer = myFootstepInterval;
	}

	const float t = std::min(1.0f, someDeltaTime * someDeltaTime * myAccel);
	myVelocity.x = (1.0f - t) * myVelocity.x + t * (myCanMove ? static_cast<float>(myFacing) * mySpeed : 0.0f);
	if (myAirTime <= 0.0f && myVelocity.y <= 0.0f)
		myVelocity.y = STANDING_VY;
}

void MushroomEnemy::UpdateDeath(float aDeltaTime)
{
	myDeathTimer += aDeltaTime;
	myVelocity *= 0.0f;
	myRotation.y = myFacing != -1 ? RIGHT_YAW : LEFT_YAW;
	myRotation.x = DEAD_PITCH;
	if (myDeathTimer >= myDeathDelay)
		myShouldRemove = true;
	myFogEffect->SetAlpha(FOG_ALPHA * std::max(0.0f, 1.0f - myDeathTimer / myDeathDelay));
}

void MushroomEnemy::Face(int aFacing)
{
	myFacing = aFacing;
	myRotation.y = aFacing == 1 ? RIGHT_YAW : LEFT_YAW;
}

void MushroomEnemy::Patrol(const FrameContext& aContext)
{
	mySpeed = myWalkSpeed;
	EnemyPatrol::FloorAhead someFloor;
	if (aContext.grid)
	{
		const int someFootRow = RoundToTile(myPosition.y - myColliderSize.y / 2.0f - FOOT_DROP);
		const int someColumn = static_cast<int>(std::lround(myPosition.x / TileCollisionGrid::TILE_SIZE - 1.0f));
		someFloor = { aContext.grid->IsSolid(someColumn, someFootRow), aContext.grid->IsSolid(someColumn + 2, someFootRow) };
	}
	if (const int someTurn = EnemyPatrol::Step(myPatrolTimer, myFacing, myPatrolRange, aContext.deltaTime, myContactSide.x, someFloor))
		Face(someTurn);
}

void MushroomEnemy::TakeDamage(DamageInfo anInfo)
{
	// A corpse takes no more hits: Die runs once.
	if (myIsHurt || myIsDead)
		return;
	myHealth -= anInfo.damage;
	myIsHurt = true;
	myVelocity = anInfo.knockback;
	Play(myHitSound);
	const float someEffectX = anInfo.knockback.x > 0.0f ? myPosition.x + myColliderSize.x - HIT_EFFECT_INSET : myPosition.x + HIT_EFFECT_INSET;
	myHitEffect->PlayAt({ someEffectX, myPosition.y + HIT_EFFECT_RAISE, HIT_EFFECT_Z }, 1.0f);
	if (myHealth <= 0.0f)
	{
		myHealth = 0.0f;
		Die();
	}
}

void MushroomEnemy::Render()
{
	myFogEffect->Render();
}

void MushroomEnemy::LateRender()
{
	myHitEffect->Render();
}
