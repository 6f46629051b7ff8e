#pragma once
// Moves the play state's world camera every play frame: follows the player inside
// the level's bounds with a vertical dead zone, pans to a point and back, pans and
// zooms for the boss fight, glides back to the player with an eased zoom at the
// start of a level, and adds a screen shake. Writes only the camera's translation.
#include "world/FrameContext.h"

#include "Math/Vector.h"

class Entity;

namespace Norv
{
	class Camera;
}

// t clamped to [0, 1]; 4t³ below one half, else 1 - (2 - 2t)³ / 2.
float EaseInOutCubic(float aT);

class CameraController
{
public:
	enum Mode : int
	{
		FOLLOW = 0,
		PAN_AND_RETURN = 1,
		PAN_AND_ZOOM = 2,
		RETURN_TO_PLAYER = 3
	};

	static constexpr float FOLLOW_Z = -4500.0f;          // camera depth while following
	static constexpr float START_Z = -5500.0f;           // camera depth when a level starts
	static constexpr float DEAD_ZONE = 160.0f;           // units the player may move vertically unfollowed
	static constexpr float HORIZONTAL_RATE = 5.0f;       // follow rate, 1/s
	static constexpr float VERTICAL_RATE = 1.0f;         // follow rate while the player stands, 1/s
	static constexpr float PAN_SPEED = 2500.0f;          // units/s
	static constexpr float RETURN_DURATION = 3.0f;       // seconds
	static constexpr float RELEASE_DELAY = 1.0f;         // seconds a released pan-and-zoom holds
	static constexpr float SHAKE_TICK = 0.02f;           // seconds between shake offsets
	static constexpr float FAR_BOUND = 9999999.0f;

	// The camera whose translation the controller writes; not owned.
	void SetCamera(Norv::Camera* aCamera) { myCamera = aCamera; }
	// The followed entity; null forgets the last one and leaves the camera where it is.
	void SetPlayer(Entity* aPlayer);
	// A new shake replaces the running one.
	void Shake(float aDuration, float aStrength);
	// There in |target - camera| / 2500 s, the hold, and back the same way; then follow.
	void PanTo(Norv::Vector2<float> aTarget, float aHold);
	// There and zoomed to aZoomZ, held (with shakes) until released.
	void PanToAndZoom(Norv::Vector2<float> aTarget, float aZoomZ);
	void Update(FrameContext& aContext);
	// A level's start: the glide from where the camera is to the player, zooming in,
	// with nothing left of an earlier level's return.
	void StartLevelGlide();

	Norv::Vector2<float> myBoundsMax{ FAR_BOUND, FAR_BOUND };
	Norv::Vector2<float> myBoundsMin{ -FAR_BOUND, -FAR_BOUND };
	int myMode = RETURN_TO_PLAYER;
	Entity* myPlayer = nullptr;
	Norv::Camera* myCamera = nullptr;
	float myFollowZ = FOLLOW_Z;
	float myStartZ = START_Z;
	Norv::Vector2<float> myFollowPosition{ 0.0f, 999999.0f };
	Norv::Vector2<float> myShakeOffset;
	float myShakeDuration = 0.0f;
	float myShakeStrength = 0.0f;
	float myShakeRemaining = 0.0f;
	float myShakeTick = 0.0f;
	float myPanElapsed = 0.0f;
	float myPanHold = 0.0f;
	float myPanDuration = 0.0f;
	Norv::Vector2<float> myPanStart;
	Norv::Vector2<float> myPanTarget;
	float myReleaseTimer = 0.0f;
	float myZoomStartZ = 0.0f;
	float myZoomTargetZ = 0.0f;
	float myCurrentZ = 0.0f;
	bool myRelease = false;         // ends a pan-and-zoom
	bool myReturnPending = true;    // the next return captures its start
	bool myPanEased = false;

private:
	Norv::Vector2<float> GetClampedPlayerPosition() const;
	Norv::Vector2<float> GetCameraPosition() const;
	void SetCameraTranslation(Norv::Vector2<float> aPosition, float aZ);
	void StartPan(Norv::Vector2<float> aTarget);
	void StepShake(float aDeltaTime);
	void UpdateFollow(float aDeltaTime);
	void UpdatePanAndReturn(float aDeltaTime);
	void UpdatePanAndZoom(float aDeltaTime);
	void UpdateReturn(float aDeltaTime);
};
