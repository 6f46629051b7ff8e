#include "world/entities/PlayerController.h"

#include "world/AbilityFlags.h"
#include "world/GameState.h"
#include "world/effects/FlipbookVFX.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "shell/InputMapper.h"
#include "sound/Audio.h"

#include <algorithm>
#include <cmath>

namespace
{
	// Running
	constexpr float RUN_SPEED = 850.0f;             // units/s
	constexpr float GROUND_ACCEL = 8.0f;            // 1/s, share of the gap to the run speed closed per second
	constexpr float STOP_ACCEL_FACTOR = 11.0f;      // ground acceleration factor with no input
	constexpr float AIR_ACCEL = 3.0f;               // 1/s
	// Jumping
	constexpr float JUMP_SPEED = 1372.0f;           // units/s
	constexpr float JUMP_CUT_FACTOR = 0.5f;         // vertical speed kept when the hold ends
	constexpr float JUMP_HOLD_TIME = 0.23f;         // s of constant rise while Jump is held
	constexpr float JUMP_TUNED_STEP = 1.0f / 60.0f; // s, the step the hold was tuned at
	constexpr float JUMP_STEP_SNAP = 0.001f;        // share of a step below which a partial rise is none
	constexpr float COYOTE_TIME = 0.2f;             // s after leaving the ground a jump still counts
	constexpr float JUMP_PRESS_WINDOW = 0.12f;      // s a press before landing still jumps
	constexpr float JUMP_BUFFER_WINDOW = 0.075f;    // s a press in the air is kept for a wall jump
	constexpr float NO_COYOTE = 99999.0f;           // s, spent coyote time after a jump
	constexpr float STANDING_SPEED_Y = -0.1f;       // units/s, keeps a standing player pressed to the floor
	// Dashing
	constexpr float DASH_COOLDOWN = 0.4f;           // s between dashes
	constexpr float DASH_DURATION = 0.25f;          // s
	constexpr float DASH_SLASH_DURATION = 0.33f;    // s
	constexpr float DASH_SPEED = 2250.0f;           // units/s
	constexpr float DASH_ANGLE_STEP = 0.785375f;    // radians, the eight dash directions
	constexpr float DASH_ATTACK_COOLDOWN = -0.5f;   // s, cooldown timer after a dash attack lands
	constexpr float DASH_SHAKE_TIME = 0.3f;         // s
	constexpr float DASH_SHAKE_STRENGTH = 17.0f;    // units
	constexpr float DASH_RUMBLE = 0.3f;             // motor speed 0..1
	// Walls
	constexpr float SENSOR_DELAY = 0.13f;           // s facing one way before the rear wall sensor goes off
	constexpr float WALL_SENSOR_RAISE = 10.0f;      // units above the centre
	constexpr float WALL_SENSOR_SHIFT = 35.0f;      // units to each side
	constexpr float WALL_SENSOR_WIDTH = 100.0f;     // units
	constexpr float WALL_SENSOR_HEIGHT = 60.0f;     // units
	constexpr float GROUND_SENSOR_HEIGHT = 75.0f;   // units under the feet
	constexpr float GROUND_SENSOR_INSET = 3.0f;     // units narrower than the collider
	constexpr float WALL_SLIDE_SPEED = 200.0f;      // units/s, times the slide factor
	constexpr float WALL_SLIDE_FACTOR_STEP = 0.045f; // per frame of sliding (frame-rate dependent)
	constexpr float WALL_SLIDE_MAX_SPEED = 1000.0f; // units/s
	constexpr float WALL_SLIDE_MAX_RISE = 100000.0f; // units/s
	constexpr float WALL_JUMP_RISE_FACTOR = 1.25f;  // of the jump speed
	constexpr float WALL_DUST_INTERVAL = 0.03f;     // s
	// Climbing
	constexpr float STAMINA_DRAIN = 0.3f;           // stamina per second while climbing
	constexpr float LOW_STAMINA = 0.9f;             // the low-stamina effect shows at or below this
	constexpr float CLIMB_SPEED_FACTOR = 0.5f;      // of the run speed
	constexpr float CLIMB_PRESS_SPEED = 3.0f;       // units/s into the wall
	constexpr float CLIMB_STICK_THRESHOLD = 0.3f;
	constexpr float CLIMB_SENSOR_WIDTH = 2.0f;      // units
	constexpr float CLIMB_SENSOR_HEIGHT = 140.0f;   // units
	// Effects and sounds
	constexpr float FOOTSTEP_INTERVAL = 0.5f;       // s
	constexpr float DUST_INTERVAL = 0.5f;           // s
	constexpr float CLIMB_DUST_INTERVAL = 0.5f;     // s
	constexpr float LANDING_AIR_TIME = 0.3f;        // s airborne before a landing shows
	constexpr float EFFECT_Z = -50.0f;
	constexpr float WALL_JUMP_EFFECT_Z = -60.0f;
	constexpr float WALL_DUST_RAISE = 20.0f;        // units
	constexpr Norv::Vector2<float> LOW_STAMINA_OFFSET{ -30.0f, 50.0f }; // units
	constexpr float DEGREES_PER_HALF_TURN = 180.0f;
	constexpr float HALF_TURN = 3.14f;              // the effects' own approximation of pi

	constexpr int JUMP_EFFECT_ID = 0;
	constexpr int LANDING_EFFECT_ID = 1;
	constexpr int DASH_EFFECT_ID = 2;
	constexpr int DASH_SLASH_EFFECT_ID = 4;
	constexpr int WALL_SLIDE_EFFECT_ID = 7;
	constexpr int CLIMB_DUST_EFFECT_ID = 19;
	constexpr int LOW_STAMINA_EFFECT_ID = 23;
	constexpr int DASH_RECHARGE_EFFECT_ID = 26;

	void PlaySound(Norv::Audio* aSound)
	{
		if (aSound)
		{
			aSound->Play();
		}
	}

	float Axis(const InputMapper& anInput, InputAction aPositive, InputAction aNegative)
	{
		return (anInput.IsDown(aPositive) ? 1.0f : 0.0f) - (anInput.IsDown(aNegative) ? 1.0f : 0.0f);
	}

	std::unique_ptr<FlipbookVFX> MakeEffect(int anId)
	{
		auto someEffect = std::make_unique<FlipbookVFX>();
		someEffect->Init(anId);
		return someEffect;
	}

	float ToEffectDegrees(float aY, float aX) { return std::atan2(aY, aX) / HALF_TURN * DEGREES_PER_HALF_TURN; }
}

PlayerController::PlayerController()
	: mySensorDelay(SENSOR_DELAY)
	, myFootstepInterval(FOOTSTEP_INTERVAL)
	, myRunSpeed(RUN_SPEED)
	, myGroundAccel(GROUND_ACCEL)
	, myStopAccelFactor(STOP_ACCEL_FACTOR)
	, myAirAccel(AIR_ACCEL)
	, myJumpSpeed(JUMP_SPEED)
	, myJumpCutFactor(JUMP_CUT_FACTOR)
	, myJumpHoldTime(JUMP_HOLD_TIME)
	, myCoyoteTime(COYOTE_TIME)
	, myDashCooldown(DASH_COOLDOWN)
	, myDashDuration(DASH_DURATION)
	, myDashSlashDuration(DASH_SLASH_DURATION)
	, myDashTimer(DASH_DURATION)
	, myStaminaDrain(STAMINA_DRAIN)
	, myDustInterval(DUST_INTERVAL)
	, myClimbDustInterval(CLIMB_DUST_INTERVAL)
{
	myDashRechargeEffect = MakeEffect(DASH_RECHARGE_EFFECT_ID);
	myDashEffect = MakeEffect(DASH_EFFECT_ID);
	myDashSlashEffect = MakeEffect(DASH_SLASH_EFFECT_ID);
	myLandingEffect = MakeEffect(LANDING_EFFECT_ID);
	myClimbDustEffect = MakeEffect(CLIMB_DUST_EFFECT_ID);
	myLowStaminaEffect = MakeEffect(LOW_STAMINA_EFFECT_ID);
	for (int someIndex = 0; someIndex < JUMP_EFFECT_COUNT; ++someIndex)
	{
		myJumpEffects.push_back(MakeEffect(JUMP_EFFECT_ID));
	}
	for (int someIndex = 0; someIndex < WALL_SLIDE_EFFECT_COUNT; ++someIndex)
	{
		myWallSlideEffects.push_back(MakeEffect(WALL_SLIDE_EFFECT_ID));
	}
}

PlayerController::~PlayerController() = default;

void PlayerController::Init(Player* anOwner)
{
	myOwner = anOwner;
	myJumpSound = AudioManager::GetPlayerJump5();
	myClimbLoopSound = AudioManager::GetPlayerClimbLoop();
	myWallSlideLoopSound = AudioManager::GetPlayerWallSlideLoop();
	myDashSound = AudioManager::GetPlayerDash1();
	myDashSlashSound = AudioManager::GetPlayerDashSuper1();

	const GameState* someGame = GameState::GetInstance();
	const std::string someScene = someGame ? someGame->myScenePath : std::string();
	myFootsteps.fill(nullptr);
	myLandSound = nullptr;
	if (someScene == "scenes/Hub.nvs" || someScene == "scenes/Tutorial.nvs")
	{
		myFootsteps = { AudioManager::GetPlayerFootstepDirt1(), AudioManager::GetPlayerFootstepDirt2(), AudioManager::GetPlayerFootstepDirt3(),
			AudioManager::GetPlayerFootstepDirt4(), AudioManager::GetPlayerFootstepDirt5(), AudioManager::GetPlayerFootstepDirt6(),
			AudioManager::GetPlayerFootstepDirt7(), AudioManager::GetPlayerFootstepDirt8() };
		myLandSound = AudioManager::GetPlayerLandGrass2();
	}
	else if (someScene == "scenes/Level_2.nvs")
	{
		myFootsteps = { AudioManager::GetPlayerFootstepGrass1(), AudioManager::GetPlayerFootstepGrass2(), AudioManager::GetPlayerFootstepGrass3(),
			AudioManager::GetPlayerFootstepGrass4(), AudioManager::GetPlayerFootstepGrass5(), AudioManager::GetPlayerFootstepGrass6(),
			AudioManager::GetPlayerFootstepGrass7(), AudioManager::GetPlayerFootstepGrass8() };
		myLandSound = AudioManager::GetPlayerLandGrass2();
	}
	else if (someScene == "scenes/Level_1.nvs" || someScene == "scenes/Ending.nvs")
	{
		myFootsteps = { AudioManager::GetPlayerFootstepStone1(), AudioManager::GetPlayerFootstepStone2(), AudioManager::GetPlayerFootstepStone3(),
			AudioManager::GetPlayerFootstepStone4(), AudioManager::GetPlayerFootstepStone5(), AudioManager::GetPlayerFootstepStone6(),
			AudioManager::GetPlayerFootstepStone7(), AudioManager::GetPlayerFootstepStone8() };
		myLandSound = AudioManager::GetPlayerLandStone2();
	}

	FlipbookVFX::CreateWalkingPool();
	for (std::unique_ptr<FlipbookVFX>& someEffect : FlipbookVFX::GetWalkingPool())
	{
		someEffect->Init(FlipbookVFX::WALKING_EFFECT_ID);
	}
}

void PlayerController::SetActive(bool anIsActive)
{
	myIsActive = anIsActive;
	++mySwitchCount;
	if (anIsActive || !myOwner)
	{
		return;
	}
	myOwner->myVelocity.x = 0.0f;
	myMoveInput = 0.0f;
	// Switched off mid-move (death, a page, a cutscene): no dash, climb or slide
	// may outlive the input that drove it, and gravity is the owner's again.
	if (myIsDashing)
	{
		EndDash();
		myOwner->myVelocity = {};
	}
	LeaveWall();
	myIsWallSliding = false;
	myWallSlideFactor = 1.0f;
	StopLoop(myWallSlideLoopSound, myWallSlideSoundOn);
}

void PlayerController::OnDashAttackLanded()
{
	myDashCooldownTimer = DASH_ATTACK_COOLDOWN;
	if (myOwner)
	{
		myDashRechargeEffect->PlayAt({ myOwner->myPosition.x, myOwner->myPosition.y, EFFECT_Z }, 1.0f);
	}
}

void PlayerController::Update(FrameContext& aContext)
{
	if (!myOwner)
	{
		return;
	}
	UpdateEffects(aContext);
	UpdateSensors(aContext);
	if (!myIsActive || !aContext.input)
	{
		return;
	}
	const float someDeltaTime = aContext.deltaTime;
	Player& someOwner = *myOwner;
	const InputMapper& someInput = *aContext.input;

	myTimeSinceGrounded += someDeltaTime;
	if (someOwner.myAirTime <= 0.0f)
	{
		myTimeSinceGrounded = 0.0f;
	}
	bool someIsGrounded = myTimeSinceGrounded < myCoyoteTime && someOwner.myVelocity.y <= 0.0f;

	myMoveInput = std::clamp(someInput.GetLeftStick().x + Axis(someInput, InputAction::Right, InputAction::Left), -1.0f, 1.0f);
	if (myMoveInput != 0.0f)
	{
		myLastMoveDirection = myMoveInput > 0.0f ? 1.0f : -1.0f;
	}

	UpdateFootsteps(aContext, someIsGrounded);
	UpdateLanding(someDeltaTime, someIsGrounded);
	if (!someIsGrounded && someOwner.myVelocity.x != 0.0f)
	{
		someOwner.myFacing = static_cast<int>(std::clamp(someOwner.myVelocity.x, -1.0f, 1.0f));
	}
	UpdateRunning(someDeltaTime, someIsGrounded);
	if (someOwner.myAirTime <= 0.0f && someOwner.myVelocity.y <= 0.0f)
	{
		someOwner.myVelocity.y = STANDING_SPEED_Y;
		myAirDashUsed = false;
	}
	UpdateJump(aContext, someIsGrounded);
	if (AbilityFlags[Ability::WALL_JUMP])
	{
		UpdateWalls(aContext, someIsGrounded);
	}
	UpdateDash(aContext, someIsGrounded);
	if (AbilityFlags[Ability::CLIMB])
	{
		UpdateClimbing(aContext);
	}
}

void PlayerController::UpdateEffects(FrameContext& aContext)
{
	const Norv::Vector3<float> someAnchor;
	for (FlipbookVFX* someEffect : { myDashRechargeEffect.get(), myDashEffect.get(), myDashSlashEffect.get(), myLandingEffect.get(),
			 myClimbDustEffect.get(), myLowStaminaEffect.get() })
	{
		someEffect->Update(aContext, someAnchor);
	}
	for (auto* somePool : { &FlipbookVFX::GetWalkingPool(), &myJumpEffects, &myWallSlideEffects })
	{
		for (std::unique_ptr<FlipbookVFX>& someEffect : *somePool)
		{
			someEffect->Update(aContext, someAnchor);
		}
	}
}

void PlayerController::RenderEffects()
{
	for (FlipbookVFX* someEffect : { myDashRechargeEffect.get(), myDashEffect.get(), myDashSlashEffect.get(), myLandingEffect.get(),
			 myClimbDustEffect.get(), myLowStaminaEffect.get() })
	{
		someEffect->Render();
	}
	for (auto* somePool : { &FlipbookVFX::GetWalkingPool(), &myJumpEffects, &myWallSlideEffects })
	{
		for (std::unique_ptr<FlipbookVFX>& someEffect : *somePool)
		{
			someEffect->Render();
		}
	}
}

bool PlayerController::IsSensorZeroed(const TileBox& aSensor) const
{
	return (aSensor.x == 0.0f && aSensor.y == 0.0f) || (aSensor.w == 0.0f && aSensor.h == 0.0f);
}

void PlayerController::UpdateSensors(const FrameContext& aContext)
{
	const Player& someOwner = *myOwner;
	const Norv::Vector2<float>& p = someOwner.myPosition;
	myLeftSensor = { p.x - WALL_SENSOR_SHIFT, p.y + WALL_SENSOR_RAISE, WALL_SENSOR_WIDTH, WALL_SENSOR_HEIGHT };
	myRightSensor = { p.x + WALL_SENSOR_SHIFT, p.y + WALL_SENSOR_RAISE, WALL_SENSOR_WIDTH, WALL_SENSOR_HEIGHT };
	mySensorTimer += aContext.deltaTime;
	if (mySensorTimer >= mySensorDelay)
	{
		(someOwner.myFacing == 1 ? myLeftSensor : myRightSensor) = { 0.0f, 0.0f, 0.0f, 0.0f };
	}
	if (someOwner.myFacing != myLastFacing)
	{
		mySensorTimer = 0.0f;
		myLastFacing = someOwner.myFacing;
	}
	const float someHeight = someOwner.myColliderSize.y;
	myGroundSensor = { p.x, p.y - (someHeight + GROUND_SENSOR_HEIGHT) / 2.0f, someOwner.myColliderSize.x - GROUND_SENSOR_INSET,
		GROUND_SENSOR_HEIGHT };

	myWallSide = 0;
	const TileCollisionGrid* someGrid = aContext.grid;
	if (!someGrid)
	{
		myIsSensorGrounded = false;
		return;
	}
	if (!IsSensorZeroed(myRightSensor) && someGrid->OverlapsSolid(myRightSensor))
	{
		myWallSide = 1;
	}
	if (!IsSensorZeroed(myLeftSensor) && someGrid->OverlapsSolid(myLeftSensor))
	{
		myWallSide = -1;
	}
	myIsSensorGrounded = someGrid->OverlapsSolid(myGroundSensor);
}

void PlayerController::UpdateFootsteps(const FrameContext& aContext, bool anIsGrounded)
{
	const float someDeltaTime = aContext.deltaTime;
	if (myMoveInput == 0.0f || !anIsGrounded)
	{
		return;
	}
	Player& someOwner = *myOwner;
	someOwner.myFacing = myMoveInput > 0.0f ? 1 : -1;
	myFootstepTimer -= someDeltaTime;
	if (myFootstepTimer <= 0.0f)
	{
		if (myFootsteps[0])
		{
			AudioManager::PlayRandom(myFootsteps.data(), FOOTSTEP_COUNT, someOwner, aContext, false);
		}
		myFootstepTimer = myFootstepInterval;
	}
	myDustTimer -= someDeltaTime;
	if (myDustTimer <= 0.0f && !myIsDashing)
	{
		if (FlipbookVFX* someDust = FindIdle(FlipbookVFX::GetWalkingPool()))
		{
			someDust->PlayAt({ someOwner.myPosition.x, someOwner.myPosition.y, EFFECT_Z }, 1.0f);
		}
		myDustTimer = myDustInterval;
	}
}

void PlayerController::UpdateLanding(float aDeltaTime, bool anIsGrounded)
{
	if (myLandingAirTime < LANDING_AIR_TIME)
	{
		myLandingAirTime = anIsGrounded ? 0.0f : myLandingAirTime + aDeltaTime;
		return;
	}
	if (!anIsGrounded)
	{
		myLandingAirTime += aDeltaTime;
		return;
	}
	PlaySound(myLandSound);
	myLandingEffect->PlayAt({ myOwner->myPosition.x, myOwner->myPosition.y, EFFECT_Z }, 1.0f);
	myLandingAirTime = 0.0f;
}

void PlayerController::UpdateRunning(float aDeltaTime, bool anIsGrounded)
{
	float someAccel = myGroundAccel;
	if (myMoveInput == 0.0f)
	{
		someAccel *= myStopAccelFactor;
	}
	if (!anIsGrounded)
	{
		someAccel = myAirAccel;
	}
	const float t = std::min(1.0f, someAccel * aDeltaTime);
	float& vx = myOwner->myVelocity.x;
	vx = myMoveInput * myRunSpeed * t + (1.0f - t) * vx;
}

void PlayerController::UpdateJump(FrameContext& aContext, bool& anIsGrounded)
{
	InputMapper& someInput = *aContext.input;
	Player& someOwner = *myOwner;
	float& vy = someOwner.myVelocity.y;

	if (someInput.PressedWithin(InputAction::Jump, JUMP_BUFFER_WINDOW))
	{
		myJumpBuffered = true;
	}
	if (anIsGrounded || someInput.IsReleased(InputAction::Jump))
	{
		myJumpBuffered = false;
		myWallJumped = false;
	}

	if (someInput.PressedWithin(InputAction::Jump, JUMP_PRESS_WINDOW) && anIsGrounded)
	{
		vy = myJumpSpeed;
		anIsGrounded = false;
		myIsJumpHeld = true;
		// The hold counts from the press step, which does not rise yet: the rise is
		// the hold less that step, in whole steps of the rate it was tuned at.
		myJumpHoldTimer = (std::ceil(myJumpHoldTime / JUMP_TUNED_STEP) - 1.0f) * JUMP_TUNED_STEP;
		someInput.ResetTimer(InputAction::Jump);
		myTimeSinceGrounded = NO_COYOTE;
		if (FlipbookVFX* someEffect = FindIdle(myJumpEffects))
		{
			someEffect->myFirstFlip = false;
			someEffect->mySecondFlip = false;
			someEffect->PlayAt({ someOwner.myPosition.x, someOwner.myPosition.y, EFFECT_Z }, 1.0f);
		}
		PlaySound(myJumpSound);
	}

	// The step after a partial last rise step goes on from the cut speed.
	if (myJumpRiseExcess > 0.0f)
	{
		if (vy > 0.0f)
			vy = std::max(0.0f, vy - myJumpRiseExcess);
		myJumpRiseExcess = 0.0f;
	}
	if (!myIsJumpHeld)
	{
		return;
	}
	if (someInput.IsDown(InputAction::Jump) && !anIsGrounded)
	{
		const float someStep = aContext.deltaTime;
		vy = myJumpSpeed;
		if (someOwner.myContactSide.y < 0)
		{
			myJumpHoldTimer = 0.0f;
			someInput.ResetTimer(InputAction::Jump);
		}
		// A rise that ends inside the next step rises for that share of it at full
		// speed, so the jump is as high at any step length.
		const float someSnap = JUMP_STEP_SNAP * someStep;
		if (myJumpHoldTimer < someStep - someSnap)
		{
			const float someShare = myJumpHoldTimer > someSnap ? myJumpHoldTimer / someStep : 0.0f;
			myIsJumpHeld = false;
			vy *= myJumpCutFactor;
			myJumpRiseExcess = someShare * (myJumpSpeed - vy);
			vy += myJumpRiseExcess;
		}
		else
		{
			myJumpHoldTimer -= someStep;
		}
	}
	else if (someInput.IsReleased(InputAction::Jump))
	{
		myIsJumpHeld = false;
		vy *= myJumpCutFactor;
	}
}

void PlayerController::UpdateWalls(FrameContext& aContext, bool anIsGrounded)
{
	Player& someOwner = *myOwner;
	Norv::Vector2<float>& v = someOwner.myVelocity;
	const int someContactX = someOwner.myContactSide.x;

	if (!anIsGrounded && someContactX != 0)
	{
		myIsWallSliding = true;
		myWallSlideFactor += WALL_SLIDE_FACTOR_STEP;
		v.y = std::max(v.y, -WALL_SLIDE_SPEED * myWallSlideFactor);
		v.y = std::clamp(v.y, -WALL_SLIDE_MAX_SPEED, WALL_SLIDE_MAX_RISE);
		myWallDustTimer -= aContext.deltaTime;
		if (myWallDustTimer <= 0.0f && !myIsClimbing && v.y < 0.0f)
		{
			StartLoop(myWallSlideLoopSound, myWallSlideSoundOn);
			if (FlipbookVFX* someDust = FindIdle(myWallSlideEffects))
			{
				someDust->mySide = static_cast<float>(someContactX);
				someDust->PlayAt({ someOwner.myPosition.x, someOwner.myPosition.y + WALL_DUST_RAISE, EFFECT_Z }, 1.0f);
			}
			myWallDustTimer = WALL_DUST_INTERVAL;
		}
	}
	const bool someHasWall = myWallSide != 0 || someContactX != 0;
	if (!someHasWall || someOwner.myAirTime <= 0.0f || v.y >= 0.0f)
	{
		StopLoop(myWallSlideLoopSound, myWallSlideSoundOn);
		myIsWallSliding = false;
		myWallSlideFactor = 1.0f;
	}

	if (myWallSide == 0 || anIsGrounded || myIsSensorGrounded)
	{
		return;
	}
	myWallJumpDirection = static_cast<float>(-myWallSide);
	if (!myJumpBuffered || myWallJumped)
	{
		return;
	}
	myWallSlideFactor = 1.0f;
	v.y = myJumpSpeed * WALL_JUMP_RISE_FACTOR;
	v.x = myJumpSpeed * myWallJumpDirection;
	myWallJumped = true;
	someOwner.myFacing = static_cast<int>(myWallJumpDirection);
	aContext.input->ResetTimer(InputAction::Jump);
	if (FlipbookVFX* someEffect = FindIdle(myJumpEffects))
	{
		someEffect->myFirstFlip = myWallSide > 0;
		someEffect->mySecondFlip = myWallSide < 0;
		someEffect->myRotation = ToEffectDegrees(static_cast<float>(someOwner.myContactSide.y), static_cast<float>(someContactX));
		someEffect->PlayAt({ someOwner.myPosition.x, someOwner.myPosition.y, WALL_JUMP_EFFECT_Z }, 1.0f);
		PlaySound(myJumpSound);
	}
}

void PlayerController::UpdateDash(FrameContext& aContext, bool anIsGrounded)
{
	const InputMapper& someInput = *aContext.input;
	if (AbilityFlags[Ability::DASH] && !myAirDashUsed && someInput.IsPressed(InputAction::Dash))
	{
		float y = Axis(someInput, InputAction::Up, InputAction::Down);
		float x = Axis(someInput, InputAction::Right, InputAction::Left);
		if (someInput.GetActiveDevice() == InputDevice::Gamepad)
		{
			y = std::clamp(y + someInput.GetLeftStick().y, -1.0f, 1.0f);
			x = std::clamp(x + someInput.GetLeftStick().x, -1.0f, 1.0f);
		}
		const float someAngle = std::round(std::atan2(y, x) / DASH_ANGLE_STEP) * DASH_ANGLE_STEP;
		if (myDashCooldownTimer >= myDashCooldown)
		{
			StartDash(aContext, { std::cos(someAngle), std::sin(someAngle) });
		}
	}
	if (myDashCooldownTimer <= myDashCooldown)
	{
		myDashCooldownTimer += aContext.deltaTime;
	}
	if (myIsDashing)
	{
		myDashTimer -= aContext.deltaTime;
		myOwner->myVelocity = myDashDirection * DASH_SPEED;
		if (myDashTimer < 0.0f)
		{
			EndDash();
			myOwner->myVelocity = myDashDirection * myRunSpeed;
		}
	}
	if (anIsGrounded && myDashCooldownTimer >= myDashCooldown)
	{
		myAirDashUsed = false;
	}
}

void PlayerController::StartDash(FrameContext& aContext, Norv::Vector2<float> aDirection)
{
	Player& someOwner = *myOwner;
	myDashDirection = aDirection.GetNormalized();
	myIsDashing = true;
	myAirDashUsed = true;
	myDashCooldownTimer = 0.0f;
	const bool someIsSlash = AbilityFlags[Ability::DASH_SLASH];
	FlipbookVFX& someEffect = someIsSlash ? *myDashSlashEffect : *myDashEffect;
	PlaySound(someIsSlash ? myDashSlashSound : myDashSound);
	someEffect.myRotation = ToEffectDegrees(aDirection.y, aDirection.x);
	someEffect.PlayAt({ someOwner.myPosition.x, someOwner.myPosition.y, EFFECT_Z }, 1.0f);
	if (someIsSlash)
	{
		someOwner.Attack(aContext.grid);
	}
	if (aContext.gameState)
	{
		aContext.gameState->GetCameraController().Shake(DASH_SHAKE_TIME, DASH_SHAKE_STRENGTH);
	}
	if (aContext.input->GetActiveDevice() == InputDevice::Gamepad)
	{
		aContext.input->GetGamepad().SetVibration(DASH_RUMBLE, DASH_RUMBLE);
	}
}

void PlayerController::EndDash()
{
	myIsDashing = false;
	myDashTimer = AbilityFlags[Ability::DASH_SLASH] ? myDashSlashDuration : myDashDuration;
	if (myOwner && myOwner->myContext && myOwner->myContext->input)
	{
		myOwner->myContext->input->GetGamepad().SetVibration(0.0f, 0.0f);
	}
}

void PlayerController::UpdateClimbing(FrameContext& aContext)
{
	const InputMapper& someInput = *aContext.input;
	Player& someOwner = *myOwner;
	const Norv::Vector2<float>& p = someOwner.myPosition;
	const float someHalfWidth = someOwner.myColliderSize.x / 2.0f;
	myLeftClimbSensor = { p.x - someHalfWidth - 1.0f, p.y, CLIMB_SENSOR_WIDTH, CLIMB_SENSOR_HEIGHT };
	myRightClimbSensor = { p.x + someHalfWidth + 1.0f, p.y, CLIMB_SENSOR_WIDTH, CLIMB_SENSOR_HEIGHT };
	int someClimbSide = 0;
	if (aContext.grid && aContext.grid->OverlapsSolid(myLeftClimbSensor))
	{
		someClimbSide = -1;
	}
	else if (aContext.grid && aContext.grid->OverlapsSolid(myRightClimbSensor))
	{
		someClimbSide = 1;
	}

	const bool someIsStanding = someOwner.myContactSide.y > 0;
	if (myIsClimbing)
	{
		myStamina -= myStaminaDrain * aContext.deltaTime;
		if (myStamina <= LOW_STAMINA)
		{
			myLowStaminaEffect->PlayAt({ p.x + LOW_STAMINA_OFFSET.x, p.y + LOW_STAMINA_OFFSET.y, EFFECT_Z }, 1.0f);
		}
	}
	if (someIsStanding)
	{
		myStamina = 1.0f;
	}

	const bool someUp = someInput.IsDown(InputAction::Up) || someInput.GetLeftStick().y > CLIMB_STICK_THRESHOLD;
	const bool someDown = someInput.IsDown(InputAction::Down) || someInput.GetLeftStick().y < -CLIMB_STICK_THRESHOLD;
	if (someClimbSide == 0 || myJumpBuffered || (myIsSensorGrounded && !someInput.IsDown(InputAction::Up)))
	{
		if (myIsClimbing)
		{
			LeaveWall();
		}
		return;
	}
	if (!someInput.IsDown(InputAction::Climb) || myStamina <= 0.0f)
	{
		someOwner.myUsesGravity = true;
		StopLoop(myClimbLoopSound, myClimbSoundOn);
		return;
	}

	someOwner.myUsesGravity = false;
	myIsClimbing = true;
	myIsClimbIdle = true;
	someOwner.myVelocity = { static_cast<float>(someClimbSide) * CLIMB_PRESS_SPEED, 0.0f };
	const bool someJumpHeld = someInput.IsDown(InputAction::Jump);
	if (someUp && !someJumpHeld)
	{
		someOwner.myVelocity.y = myRunSpeed * CLIMB_SPEED_FACTOR;
		myIsClimbIdle = false;
		StartLoop(myClimbLoopSound, myClimbSoundOn);
		myClimbDustTimer -= aContext.deltaTime;
		if (myClimbDustTimer <= 0.0f)
		{
			myClimbDustTimer = myClimbDustInterval;
			myClimbDustEffect->mySide = static_cast<float>(someOwner.myContactSide.x);
			myClimbDustEffect->PlayAt({ p.x, p.y, EFFECT_Z }, 1.0f);
		}
	}
	else if (someDown && !someJumpHeld && !someIsStanding)
	{
		someOwner.myVelocity.y = -myRunSpeed * CLIMB_SPEED_FACTOR;
		myIsClimbIdle = false;
		StartLoop(myClimbLoopSound, myClimbSoundOn);
	}
	else
	{
		StopLoop(myClimbLoopSound, myClimbSoundOn);
	}
}

void PlayerController::LeaveWall()
{
	myOwner->myUsesGravity = true;
	myIsClimbing = false;
	myIsClimbIdle = false;
	StopLoop(myClimbLoopSound, myClimbSoundOn);
}

void PlayerController::StartLoop(Norv::Audio* aSound, bool& anIsOn)
{
	if (!anIsOn)
	{
		PlaySound(aSound);
		anIsOn = true;
	}
}

void PlayerController::StopLoop(Norv::Audio* aSound, bool& anIsOn)
{
	if (aSound)
	{
		aSound->Stop(true);
	}
	anIsOn = false;
}

FlipbookVFX* PlayerController::FindIdle(std::vector<std::unique_ptr<FlipbookVFX>>& aPool)
{
	for (std::unique_ptr<FlipbookVFX>& someEffect : aPool)
	{
		if (!someEffect->IsPlaying())
		{
			return someEffect.get();
		}
	}
	return nullptr;
}
