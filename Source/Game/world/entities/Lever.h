#pragma once
// A lever the player's attack pulls: its handle swings over, it opens its
// connected gate, and while the camera pans to that gate the player's input
// stays off for a while.
#include "world/entities/Entity.h"

#include <cstdint>

namespace Norv
{
	class Audio;
}
class Gate;
class Player;

class Lever : public Entity
{
public:
	static constexpr float LOCK_TIME = 3.5f;          // s of input off after a pull that pans the camera
	static constexpr float PULLED_ANGLE = 45.0f;      // degrees the handle swings to
	static constexpr Norv::Vector2<float> COLLIDER_SIZE{ 50.0f, 200.0f };

	Lever();

	void Init(FrameContext& aContext) override;
	void Update(FrameContext& aContext) override;
	void TakeDamage(DamageInfo anInfo) override;

	Gate* myGate = nullptr; // written by the connected gate every frame
	float myPullTimer = 0.0f;
	bool myIsPulled = false;
	bool myIsLockingPlayer = false;
	float myLockTimer = 0.0f;
	float myLockTime = LOCK_TIME;
	Player* myPuller = nullptr;
	Norv::Audio* myPullSound = nullptr; // the sound bank's; not owned
	int myGateId = 0;                   // "connectedDoor": the gate whose "connectedLever" matches

private:
	void EndLock();

	// The puller's controller switch count right after the lever turned it off;
	// unset when the lever did not turn it off.
	bool myHasSwitchedOff = false;
	std::uint32_t mySwitchCount = 0;
};
