#pragma once
// Turns the input actions into the player's velocity every frame: eased running,
// jumping with a jump buffer, coyote time and a variable height, an
// eight-direction dash with a cooldown, and, once unlocked, wall sliding, wall
// jumping and climbing with stamina. Plays the movement sounds and dust effects.
#include "world/FrameContext.h"
#include "world/TileCollisionGrid.h"

#include "Math/Vector.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace Norv
{
	class Audio;
}
class FlipbookVFX;
class Player;

class PlayerController
{
public:
	static constexpr int FOOTSTEP_COUNT = 8;
	static constexpr int JUMP_EFFECT_COUNT = 10;
	static constexpr int WALL_SLIDE_EFFECT_COUNT = 20;

	PlayerController();
	~PlayerController();
	PlayerController(const PlayerController&) = delete;
	PlayerController& operator=(const PlayerController&) = delete;

	// Remembers the owner, fetches the sounds (footsteps and landing by the
	// play state's scene) and initialises the effects.
	void Init(Player* anOwner);
	void Update(FrameContext& aContext);
	// Off also stops the horizontal motion and ends a dash, climb or slide.
	void SetActive(bool anIsActive);
	void RenderEffects();

	bool IsActive() const { return myIsActive; }
	// How often SetActive has been called: one who switched the controller off can
	// tell whether anyone has switched it since.
	std::uint32_t GetSwitchCount() const { return mySwitchCount; }
	bool IsDashing() const { return myIsDashing; }
	bool IsClimbing() const { return myIsClimbing; }
	bool IsClimbIdle() const { return myIsClimbIdle; }
	bool IsWallSliding() const { return myIsWallSliding; }
	bool IsAirDashUsed() const { return myAirDashUsed; }
	float GetMoveInput() const { return myMoveInput; }
	// The sign (1 or -1) of the last non-zero horizontal input; 1 before any.
	float GetLastMoveDirection() const { return myLastMoveDirection; }
	float GetStamina() const { return myStamina; }
	int GetWallSide() const { return myWallSide; }
	bool IsSensorGrounded() const { return myIsSensorGrounded; }
	const Norv::Vector2<float>& GetDashDirection() const { return myDashDirection; }
	const TileBox& GetLeftSensor() const { return myLeftSensor; }
	const TileBox& GetRightSensor() const { return myRightSensor; }
	const TileBox& GetGroundSensor() const { return myGroundSensor; }
	FlipbookVFX& GetDashEffect() { return *myDashEffect; }
	FlipbookVFX& GetDashSlashEffect() { return *myDashSlashEffect; }

	// A dash attack landed: the next dash comes sooner, with the recharge effect.
	void OnDashAttackLanded();

private:
	void UpdateEffects(FrameContext& aContext);
	void UpdateSensors(const FrameContext& aContext);
	void UpdateFootsteps(const FrameContext& aContext, bool anIsGrounded);
	void UpdateLanding(float aDeltaTime, bool anIsGrounded);
	void UpdateRunning(float aDeltaTime, bool anIsGrounded);
	void UpdateJump(FrameContext& aContext, bool& anIsGrounded);
	void UpdateWalls(FrameContext& aContext, bool anIsGrounded);
	void UpdateDash(FrameContext& aContext, bool anIsGrounded);
	void UpdateClimbing(FrameContext& aContext);
	void StartDash(FrameContext& aContext, Norv::Vector2<float> aDirection);
	void EndDash();
	void LeaveWall();
	void StartLoop(Norv::Audio* aSound, bool& anIsOn);
	void StopLoop(Norv::Audio* aSound, bool& anIsOn);
	FlipbookVFX* FindIdle(std::vector<std::unique_ptr<FlipbookVFX>>& aPool);
	bool IsSensorZeroed(const TileBox& aSensor) const;

	bool myIsActive = true;
	std::uint32_t mySwitchCount = 0;
	TileBox myLeftSensor{ 0.0f, 0.0f, 100.0f, 100.0f };
	TileBox myRightSensor{ 0.0f, 0.0f, 100.0f, 100.0f };
	TileBox myGroundSensor{ 0.0f, 0.0f, 100.0f, 100.0f };
	TileBox myLeftClimbSensor{ 0.0f, 0.0f, 2.0f, 140.0f };
	TileBox myRightClimbSensor{ 0.0f, 0.0f, 2.0f, 140.0f };
	int myWallSide = -1;
	bool myIsSensorGrounded = true;
	float mySensorTimer = 0.0f;
	float mySensorDelay;
	int myLastFacing = 0;
	float myWallSlideFactor = 1.0f;
	float myDashCooldownTimer = 0.0f;
	std::unique_ptr<FlipbookVFX> myDashRechargeEffect;
	Player* myOwner = nullptr;
	std::unique_ptr<FlipbookVFX> myDashEffect;
	std::unique_ptr<FlipbookVFX> myDashSlashEffect;
	std::unique_ptr<FlipbookVFX> myLandingEffect;
	std::unique_ptr<FlipbookVFX> myClimbDustEffect;
	std::unique_ptr<FlipbookVFX> myLowStaminaEffect;
	Norv::Audio* myLandSound = nullptr;
	Norv::Audio* myJumpSound = nullptr;
	Norv::Audio* myDashSound = nullptr;
	Norv::Audio* myDashSlashSound = nullptr;
	Norv::Audio* myClimbLoopSound = nullptr;
	Norv::Audio* myWallSlideLoopSound = nullptr;
	bool myClimbSoundOn = false;
	bool myWallSlideSoundOn = false;
	std::array<Norv::Audio*, FOOTSTEP_COUNT> myFootsteps{};
	float myFootstepTimer = 0.0f;
	float myFootstepInterval;
	bool myJumpBuffered = false;
	bool myWallJumped = false;
	float myTimeSinceGrounded = 0.0f;
	float myRunSpeed;
	float myGroundAccel;
	float myStopAccelFactor;
	float myAirAccel;
	float myJumpSpeed;
	float myJumpCutFactor;
	float myJumpHoldTime;
	float myJumpHoldTimer = 0.0f;   // s of full-speed rise left
	float myJumpRiseExcess = 0.0f;  // units/s a partial last rise step ran above the cut speed
	bool myIsJumpHeld = false;
	float myCoyoteTime;
	float myDashCooldown;
	float myDashDuration;
	float myDashSlashDuration;
	float myDashTimer;
	float myLandingAirTime = 0.0f;
	Norv::Vector2<float> myDashDirection;
	bool myIsDashing = false;
	bool myAirDashUsed = false;
	bool myIsClimbing = false;
	bool myIsClimbIdle = false;
	bool myIsWallSliding = false;
	float myWallJumpDirection = 0.0f;
	float myMoveInput = 0.0f;
	float myLastMoveDirection = 1.0f;
	float myStamina = 1.0f;
	float myStaminaDrain;
	std::vector<std::unique_ptr<FlipbookVFX>> myJumpEffects;
	std::vector<std::unique_ptr<FlipbookVFX>> myWallSlideEffects;
	float myDustTimer = 0.0f;
	float myWallDustTimer = 0.0f;
	float myDustInterval;
	float myClimbDustTimer = 0.0f;
	float myClimbDustInterval;
};
