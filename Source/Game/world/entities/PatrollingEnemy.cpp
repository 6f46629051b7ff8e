#include "world/entities/PatrollingEnemy.h"

#include "world/GameState.h"
#include "world/TileCollisionGrid.h"
#include "world/effects/FlipbookVFX.h"
#include "world/entities/EnemyContact.h"
#include "world/entities/EnemyPatrol.h"
#include "world/entities/EntityQueries.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"

#include "drawers/SpriteDrawer.h"
#include "engine/Engine.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/TextureManager.h"
#include "sound/Audio.h"

#include <algorithm>
#include <cmath>

namespace
{
	// ---------------------------------------------------------------- tuning
	constexpr Norv::Vector2<float> COLLIDER_SIZE{ 175.0f, 175.0f }; // units
	constexpr float HEALTH = 4.0f;                 // hit points
	constexpr float WALK_SPEED = 150.0f;           // units/s
	constexpr float ACCEL = 700.0f;                // easing factor, per s²
	constexpr float PATROL_RANGE = 300.0f;         // s of walking counted before the timer restarts
	constexpr float AGGRO_RANGE = 700.0f;          // units
	constexpr float AGGRO_HEIGHT = 200.0f;         // units above or below within which a player is seen
	constexpr float ROLL_SPEED = 1000.0f;          // units/s
	constexpr float WINDUP_TIME = 0.6f;            // s curling up before the roll
	constexpr float MAX_ROLL_TIME = 1.5f;          // s
	constexpr float ROLL_FADE_TIME = 0.3f;         // s before the roll's end in which its sound fades
	constexpr float ROLL_FADE_OUT_RATE = 3.0f;     // volume per s
	constexpr float ROLL_FADE_IN_RATE = 2.0f;      // volume per s
	constexpr float STUN_TIME = 1.6f;              // s; unrolling takes half of it
	constexpr float GET_UP_DIVISOR = 2.3f;         // getting up starts at the stun time / this
	constexpr float ROLL_COOLDOWN = 3.0f;          // s of patrol between rolls
	constexpr float DEATH_DELAY = 1.0f;            // s from death to removal
	constexpr float HURT_TIME = 0.3f;              // s of the white flash
	constexpr float HURT_BRIGHTNESS = 999.0f;
	constexpr float FOOTSTEP_INTERVAL = 0.5f;      // s
	constexpr float STANDING_FALL_SPEED = -0.1f;   // units/s kept while standing
	constexpr float FACING_RIGHT_YAW = 180.0f;     // degrees
	constexpr float FACING_LEFT_YAW = 0.0f;        // degrees
	constexpr float TILE_SIZE = 100.0f;            // units
	constexpr float FOOT_DEPTH = 50.0f;            // units below the collider where the floor is looked for

	// The boss.
	constexpr Norv::Vector2<float> BOSS_COLLIDER_SIZE{ 300.0f, 300.0f };
	constexpr float BOSS_HEALTH = 20.0f;
	constexpr float BOSS_PATROL_RANGE = 3000.0f;
	constexpr float BOSS_AGGRO_RANGE = 1800.0f;
	constexpr float BOSS_ROLL_SPEED = 1500.0f;
	constexpr float BOSS_MAX_ROLL_TIME = 7.0f;
	constexpr float BOSS_ROLL_COOLDOWN = 5.0f;
	constexpr float BOSS_JUMP_SPEED = 3000.0f;     // units/s, up and forward
	constexpr float JUMP_INTERVAL = 3.0f;          // s
	constexpr float ROLL_CYCLE = 5.0f;             // s between the boss's rolls
	constexpr float JUMP_HEIGHT = 400.0f;          // units the player must be above for a jump
	constexpr float JUMP_DISTANCE_FACTOR = 1.2f;
	constexpr float CENTRE_JUMP_HEIGHT = 740.0f;   // units, for the jump from the arena's centre
	// The boss arena, in fixed world coordinates.
	constexpr float ARENA_JUMP_MIN_X = -1400.0f;
	constexpr float ARENA_JUMP_MAX_X = 1100.0f;
	constexpr float ARENA_CENTRE_HALF_WIDTH = 10.0f;
	constexpr float SLAM_SHAKE_TIME = 0.4f;        // s
	constexpr float SLAM_SHAKE_STRENGTH = 30.0f;   // units

	// The boss's head-up display.
	constexpr const char* BAR_IMAGE = "UI/Boss_HB_V1.png";
	constexpr const char* NAME_FONT = "../Source/Game/data/UI/BlackCastleMF.ttf";
	constexpr unsigned NAME_FONT_SIZE = 72;
	constexpr Norv::Vector2<float> BAR_SEGMENT_SIZE{ 20.0f, 10.0f }; // pixels
	constexpr float BAR_SPACING = 5.0f;            // pixels between segments
	constexpr float BAR_HEIGHT_FRACTION = 0.85f;   // of the render height
	constexpr float NAME_GAP = 3.0f * 10.0f;       // pixels from the bar to the name
	constexpr float HUD_FADE_IN_RATE = 0.5f;       // alpha per s

	// The effects, and where they show.
	constexpr int HIT_EFFECT = 11;
	constexpr int DEATH_EFFECT = 12;
	constexpr int ROLL_EFFECT = 8;
	constexpr int BOSS_ROLL_EFFECT = 9;
	constexpr int DEFLECT_EFFECT = 10;
	constexpr float EFFECT_Z = -50.0f;
	constexpr float HIT_EFFECT_Z = -100.0f;
	constexpr float HIT_EFFECT_INSET = 100.0f;     // units in from the collider's side
	constexpr float HIT_EFFECT_RAISE = 75.0f;      // units
	constexpr float DEATH_EFFECT_ANCHOR_Z = 50.0f;

	std::unique_ptr<FlipbookVFX> MakeEffect(int anId)
	{
		std::unique_ptr<FlipbookVFX> someEffect = std::make_unique<FlipbookVFX>();
		someEffect->Init(anId);
		return someEffect;
	}

	bool IsBetween(float aValue, float aLow, float aHigh)
	{
		return aValue > aLow && aValue < aHigh;
	}
}

PatrollingEnemy::PatrollingEnemy()
	: mySpeed(WALK_SPEED)
	, myWalkSpeed(WALK_SPEED)
	, myAccel(ACCEL)
	, myPatrolRange(PATROL_RANGE)
	, myAggroRange(AGGRO_RANGE)
	, myRollSpeed(ROLL_SPEED)
	, myWindupTime(WINDUP_TIME)
	, myMaxRollTime(MAX_ROLL_TIME)
	, myStunTime(STUN_TIME)
	, myRollCooldown(ROLL_COOLDOWN)
	, myDeathDelay(DEATH_DELAY)
	, myHurtTime(HURT_TIME)
	, myFootstepInterval(FOOTSTEP_INTERVAL)
	, myJumpInterval(JUMP_INTERVAL)
	, myRollCycle(ROLL_CYCLE)
	, myBarSpacing(BAR_SPACING)
	, myHitEffect(MakeEffect(HIT_EFFECT))
	, myDeathEffect(MakeEffect(DEATH_EFFECT))
	, myRollEffect(MakeEffect(ROLL_EFFECT))
	, myDeflectEffect(MakeEffect(DEFLECT_EFFECT))
{
	myColliderSize = COLLIDER_SIZE;
	myHealth = HEALTH;
	myAnimator.Init(this);
	// The roll loop is shared with every other hedgehog: it is claimed while rolling,
	// never stopped here.
	mySounds = { AudioManager::GetHedgehogMobDamage2(), AudioManager::GetHedgehogMobAttackRollLoop(), AudioManager::GetHedgehogMobBlock3(),
		AudioManager::GetHedgehogMobDeath(), AudioManager::GetHedgehogBossAttackBounce1(), AudioManager::GetHedgehogMobFootstep1(),
		AudioManager::GetHedgehogMobFootstep2(), AudioManager::GetHedgehogMobFootstep3(), AudioManager::GetHedgehogMobFootstep4(),
		AudioManager::GetHedgehogBossAttackJump3(), AudioManager::GetHedgehogBossAttackBounce2(), AudioManager::GetHedgehogBossDeath() };
}

PatrollingEnemy::~PatrollingEnemy() = default;

void PatrollingEnemy::Init(FrameContext&)
{
	if (!myIsBoss)
		return;
	myRollEffect = MakeEffect(BOSS_ROLL_EFFECT);
	myColliderSize = BOSS_COLLIDER_SIZE;
	myHealth = BOSS_HEALTH;
	myPatrolRange = BOSS_PATROL_RANGE;
	myAggroRange = BOSS_AGGRO_RANGE;
	myRollSpeed = BOSS_ROLL_SPEED;
	myMaxRollTime = BOSS_MAX_ROLL_TIME;
	myRollCooldown = BOSS_ROLL_COOLDOWN;
	myJumpSpeedY = BOSS_JUMP_SPEED;
	myJumpSpeedX = BOSS_JUMP_SPEED;
	myShowBossHud = false;
	myIsActive = false;
	myBarSprite.mySize = BAR_SEGMENT_SIZE;
	if (Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent())
		myBarImage.myColorTexture = someTextures->GetTexture(BAR_IMAGE, Norv::TEXTURE_MODE_FORCE_SRGB);
	if (Norv::Engine::GetInstance())
	{
		myNameText = std::make_unique<Norv::Text>(NAME_FONT, NAME_FONT_SIZE, 0);
		myNameText->SetText(BOSS_NAME);
	}
}

void PatrollingEnemy::StartBossFight()
{
	myShowBossHud = true;
	myIsActive = true;
}

// ---------------------------------------------------------------- frame

void PatrollingEnemy::Update(FrameContext& aContext)
{
	if (!myIsActive)
		return;
	const float someDeltaTime = aContext.deltaTime;
	if (myShowBossHud && !myIsDead && myHudAlpha <= 1.0f)
		myHudAlpha += someDeltaTime * HUD_FADE_IN_RATE;
	myAnimator.Update(someDeltaTime);
	UpdateEffects(aContext);
	UpdateHurt(someDeltaTime);
	if (myIsDead)
	{
		UpdateDead(someDeltaTime);
		return;
	}

	if (aContext.player)
		myToPlayer = aContext.player->myPosition - myPosition;
	if (!UpdateStun(someDeltaTime))
		ChooseMode(aContext, myToPlayer.Length());
	switch (myMode)
	{
	case PATROL: Patrol(aContext); break;
	case ROLL: Roll(someDeltaTime); break;
	case BOSS_JUMP:
		// A jump leaves from a roll: a boss still winding up finishes that first.
		if (!myIsRolling)
			Roll(someDeltaTime);
		else if (!myIsJumping)
			Jump();
		break;
	default: break;
	}

	const float someBlend = std::min(1.0f, someDeltaTime * someDeltaTime * myAccel);
	const float someTarget = myCanMove ? static_cast<float>(myFacing) * mySpeed : 0.0f;
	myVelocity.x = (1.0f - someBlend) * myVelocity.x + someBlend * someTarget;
	if (myAirTime <= 0.0f && myVelocity.y <= 0.0f)
	{
		myVelocity.y = STANDING_FALL_SPEED;
		if (myIsJumping)
		{
			myMode = ROLL;
			PlaySound(IMPACT);
			myIsJumping = false;
		}
	}
	if (myIsBoss)
		UpdateBossSlam(aContext);

	// Heard while it rolls on something; the boss in the air is silent until it lands.
	if (myIsRolling && !myIsUnrolling && !(myIsBoss && myContactSide.y == 0))
		AudioManager::ClaimLoop(mySounds[ROLL_LOOP], *this, myRollVolume);
	HurtTouchingPlayers(aContext);
}

void PatrollingEnemy::UpdateEffects(const FrameContext& aContext)
{
	const Norv::Vector3<float> someHere{ myPosition.x, myPosition.y, 0.0f };
	myHitEffect->Update(aContext, {});
	myDeathEffect->Update(aContext, { myPosition.x, myPosition.y, DEATH_EFFECT_ANCHOR_Z });
	myRollEffect->Update(aContext, someHere);
	myDeflectEffect->Update(aContext, someHere);
}

void PatrollingEnemy::UpdateHurt(float aDeltaTime)
{
	if (!myIsHurt)
		return;
	myHurtTimer += aDeltaTime;
	if (myHurtTimer >= myHurtTime)
	{
		myIsHurt = false;
		myHurtTimer = 0.0f;
		myAnimatedInstance.myColorAdjust.x = 1.0f;
	}
}

void PatrollingEnemy::UpdateDead(float aDeltaTime)
{
	if (myHudAlpha >= 0.0f)
		myHudAlpha -= aDeltaTime;
	myDeathTimer += aDeltaTime;
	myVelocity *= 0.0f;
	myRotation.y = myFacing != -1 ? FACING_RIGHT_YAW : FACING_LEFT_YAW;
	// Nothing touches the corpse.
	myColliderSize *= 0.0f;
	if (myDeathTimer >= myDeathDelay)
		myShouldRemove = true;
}

bool PatrollingEnemy::UpdateStun(float aDeltaTime)
{
	if (!myIsStunned && !myIsUnrolling)
		return false;
	myStunTimer += aDeltaTime;
	myCanMove = false;
	myVelocity.x = 0.0f;
	const float someLimit = myIsStunned ? myStunTime : myStunTime / 2.0f;
	if (myIsStunned && myStunTimer >= myStunTime / GET_UP_DIVISOR)
		myIsGettingUp = true;
	if (myStunTimer < someLimit)
		return true;
	myIsRolling = false;
	myRollStarted = false;
	myIsUnrolling = false;
	myIsStunned = false;
	myIsGettingUp = false;
	myIsAggro = false;
	myCanMove = true;
	myStunTimer = 0.0f;
	myWindupTimer = 0.0f;
	myRollTime = 0.0f;
	myRollCooldownTimer = 0.0f;
	myMode = PATROL;
	return false;
}

void PatrollingEnemy::ChooseMode(const FrameContext& aContext, float aDistance)
{
	// Without a player nothing draws the enemy out of its patrol.
	const bool someHasPlayer = aContext.player != nullptr;
	if (!myIsBoss && someHasPlayer && aDistance < myAggroRange && IsBetween(myToPlayer.y, -AGGRO_HEIGHT, AGGRO_HEIGHT)
		&& myRollCooldownTimer >= myRollCooldown)
	{
		myMode = ROLL;
		myIsAggro = true;
	}
	if (!myIsRolling && !myIsAggro)
	{
		myMode = PATROL;
		myRollCooldownTimer += aContext.deltaTime;
		myRollCycleTimer += aContext.deltaTime;
	}
	myJumpTimer += aContext.deltaTime;
	if (!myIsBoss || !someHasPlayer)
		return;

	const bool someJumpDue = myJumpTimer >= myJumpInterval;
	if (myToPlayer.y > JUMP_HEIGHT && IsBetween(myPosition.x, ARENA_JUMP_MIN_X, ARENA_JUMP_MAX_X))
	{
		aDistance /= JUMP_DISTANCE_FACTOR;
		if (aDistance < myAggroRange && someJumpDue && myIsRolling)
			myMode = BOSS_JUMP;
	}
	if (myRollCycleTimer > myRollCycle && myRollCooldownTimer >= myRollCooldown)
	{
		myMode = ROLL;
		myIsAggro = true;
		if (IsBetween(myPosition.x, -ARENA_CENTRE_HALF_WIDTH, ARENA_CENTRE_HALF_WIDTH) && myToPlayer.y > CENTRE_JUMP_HEIGHT && myContactSide.y != 0 && someJumpDue)
			myMode = BOSS_JUMP;
		myRollCycleTimer = 0.0f;
	}
}

// ---------------------------------------------------------------- modes

void PatrollingEnemy::Face(int aFacing)
{
	myFacing = aFacing;
	myRotation.y = aFacing == 1 ? FACING_RIGHT_YAW : FACING_LEFT_YAW;
}

void PatrollingEnemy::Patrol(const FrameContext& aContext)
{
	const float someDeltaTime = aContext.deltaTime;
	mySpeed = myWalkSpeed;
	// Ledges (not for the boss): the floor row under the feet, one tile to each side.
	EnemyPatrol::FloorAhead someFloor;
	if (!myIsBoss && aContext.grid)
	{
		const int someFootRow = static_cast<int>(std::round((myPosition.y - myColliderSize.y / 2.0f - FOOT_DEPTH) / TILE_SIZE));
		const int someLeft = static_cast<int>(std::round(myPosition.x / TILE_SIZE - 1.0f));
		const int someRight = static_cast<int>(std::round(myPosition.x / TILE_SIZE + 1.0f));
		someFloor = { aContext.grid->IsSolid(someLeft, someFootRow), aContext.grid->IsSolid(someRight, someFootRow) };
	}
	if (const int someTurn = EnemyPatrol::Step(myPatrolTimer, myFacing, myPatrolRange, someDeltaTime, myContactSide.x, someFloor))
		Face(someTurn);

	myFootstepTimer -= someDeltaTime;
	if (myFootstepTimer <= 0.0f)
	{
		AudioManager::PlayRandom(&mySounds[FOOTSTEP_1], FOOTSTEP_COUNT, *this, aContext, true);
		myFootstepTimer = myFootstepInterval;
	}
}

void PatrollingEnemy::Roll(float aDeltaTime)
{
	myWindupTimer += aDeltaTime;
	const bool someNearTheEnd = myMaxRollTime - myRollTime <= ROLL_FADE_TIME;
	if (someNearTheEnd)
		myRollVolume = std::max(0.0f, myRollVolume - ROLL_FADE_OUT_RATE * aDeltaTime);
	else
		myRollVolume = std::min(AudioManager::GetMasterVolume(), myRollVolume + ROLL_FADE_IN_RATE * aDeltaTime);

	if (!myRollStarted)
	{
		myRollStarted = true;
		myVelocity.x = 0.0f;
		myIsRollingUp = true;
		myRollFacing = myToPlayer.x > 0.0f ? 1 : -1;
		Face(myRollFacing);
	}
	if (!myIsRolling)
	{
		if (myWindupTimer < myWindupTime)
		{
			myCanMove = false;
			return;
		}
		myIsRollingUp = false;
		myIsRolling = true;
		myCanMove = true;
		myWindupTimer = 0.0f;
		mySpeed = myRollSpeed;
		myRollEffect->PlayAt({ myPosition.x, myPosition.y, EFFECT_Z }, 1.0f);
		if (!someNearTheEnd)
			myRollVolume = 0.0f;
	}

	if (!myRollEffect->IsPlaying())
		myRollEffect->PlayAt({ myPosition.x, myPosition.y, EFFECT_Z }, 1.0f);
	myRollTime += aDeltaTime;
	if (myRollTime > myMaxRollTime)
	{
		myRollEffect->Stop();
		myIsUnrolling = true;
		myMode = UNROLLING;
		return;
	}
	if (myContactSide.x == 0)
		return;
	if (myIsBoss)
	{
		Face(-myFacing);
		PlaySound(WALL_BOUNCE);
		return;
	}
	myRollEffect->Stop();
	PlaySound(IMPACT);
	myIsStunned = true;
	myIsRolling = false;
	myMode = STUNNED;
}

void PatrollingEnemy::Jump()
{
	PlaySound(JUMP);
	myVelocity.y = myJumpSpeedY;
	myVelocity.x = static_cast<float>(myFacing) * myJumpSpeedX;
	myIsJumping = true;
	myJumpTimer = 0.0f;
}

void PatrollingEnemy::UpdateBossSlam(const FrameContext& aContext)
{
	if (myContactSide.y == 0)
	{
		mySlamReady = true;
		return;
	}
	if (mySlamReady && myIsRolling)
	{
		if (aContext.gameState)
			aContext.gameState->GetCameraController().Shake(SLAM_SHAKE_TIME, SLAM_SHAKE_STRENGTH);
		PlaySound(IMPACT);
	}
	mySlamReady = false;
}

void PatrollingEnemy::HurtTouchingPlayers(const FrameContext& aContext)
{
	if (!myIsDead)
		EnemyContact::HurtTouchingPlayers(aContext, EntityQueries::ColliderOf(*this), myPosition.x);
}

// ---------------------------------------------------------------- damage

void PatrollingEnemy::TakeDamage(DamageInfo anInfo)
{
	// A corpse takes no more hits: it would flash, fly and die again.
	if (myIsHurt || myIsDead)
		return;
	if (myIsRolling)
	{
		myDeflectEffect->PlayAt({ myPosition.x, myPosition.y, HIT_EFFECT_Z }, 1.0f);
		PlaySound(BLOCK);
		return;
	}
	myAnimatedInstance.myColorAdjust.x = HURT_BRIGHTNESS;
	myHealth -= anInfo.damage;
	myIsHurt = true;
	myVelocity = anInfo.knockback;
	const float someHitX = anInfo.knockback.x > 0.0f ? myPosition.x + myColliderSize.x - HIT_EFFECT_INSET : myPosition.x + HIT_EFFECT_INSET;
	myHitEffect->PlayAt({ someHitX, myPosition.y + HIT_EFFECT_RAISE, HIT_EFFECT_Z }, 1.0f);
	PlaySound(DAMAGE);
	if (myHealth <= 0.0f)
		Die();
}

void PatrollingEnemy::Die()
{
	if (myIsDead)
		return;
	// Silent from this frame on, even when the roll was claimed before the blow.
	AudioManager::ReleaseLoop(mySounds[ROLL_LOOP], *this);
	PlaySound(myIsBoss ? BOSS_DEATH : DEATH);
	myHealth = 0.0f;
	myDeathEffect->PlayAt({ myPosition.x, myPosition.y, EFFECT_Z }, 1.0f);
	Entity::Die();
}

void PatrollingEnemy::PlaySound(Sound aSound)
{
	if (Norv::Audio* someSound = mySounds[aSound])
		someSound->Play();
}

// ---------------------------------------------------------------- drawing

void PatrollingEnemy::LateRender()
{
	myRollEffect->Render();
	myDeflectEffect->Render();
	myHitEffect->Render();
	myDeathEffect->Render();
}

void PatrollingEnemy::RenderUI()
{
	if (myIsBoss && myShowBossHud)
		DrawBossHud();
}

void PatrollingEnemy::DrawBossHud()
{
	Norv::Engine* someEngine = Norv::Engine::GetInstance();
	Norv::SpriteDrawer* someDrawer = someEngine && someEngine->GetGraphicsEngine() ? someEngine->GetGraphicsEngine()->GetSpriteDrawer() : nullptr;
	if (!someDrawer)
		return;
	const Norv::Vector2<float> someRenderSize(someEngine->GetRenderSize());
	const float someAlpha = std::clamp(myHudAlpha, 0.0f, 1.0f);
	const float someStep = BAR_SEGMENT_SIZE.x + myBarSpacing;
	Norv::Vector2<float> somePlace{ someRenderSize.x / 2.0f - someStep * myHealth / 2.0f, BAR_HEIGHT_FRACTION * someRenderSize.y };
	myBarY = somePlace.y;
	myBarSprite.myColor.a = someAlpha;
	// One segment per hit point left (a part of one counts as one).
	for (int i = 0; myHealth > static_cast<float>(i); ++i)
	{
		myBarSprite.myPosition = somePlace;
		Norv::SpriteBatchScope someBatch = someDrawer->BeginBatch(myBarImage);
		someBatch.Draw(myBarSprite);
		somePlace.x += someStep;
	}
	if (!myNameText)
		return;
	myNameText->SetColor({ 1.0f, 1.0f, 1.0f, someAlpha });
	myNameText->SetPosition({ someRenderSize.x / 2.0f - myNameText->GetWidth() / 2.0f, NAME_GAP + myBarY });
	myNameText->Render();
}
