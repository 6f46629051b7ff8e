#pragma once
// The base of the collectable entities: a small weightless box whose models bob
// and spin, with a looping chime. Checkpoint and the four ability pickups derive
// from it.
#include "world/entities/Entity.h"

#include <memory>

namespace Norv
{
	class Audio;
}
class FlipbookVFX;

class IPickupAble : public Entity
{
public:
	static constexpr float PICKUP_SIZE = 50.0f;          // collider width and height, units
	static constexpr float BOB_RATE = 2.5f;              // radians of bob per second
	static constexpr float BOB_AMPLITUDE = 23.0f;        // units above and below the collider
	static constexpr float SPIN_RATE = 150.0f;           // degrees of yaw per second
	static constexpr float CHIME_RADIUS = 3000.0f;       // units the chime carries
	static constexpr float CHIME_BASE_VOLUME = 1.0f;
	static constexpr int EFFECT_ID = 20;                 // the pickup sparkle
	static constexpr float EFFECT_Z = 50.0f;

	IPickupAble();
	~IPickupAble() override;

	void Update(FrameContext& aContext) override;
	void Render() override;

	// Withdraws this pickup's claim on the shared chime.
	virtual void OnPickedUp();
	// 0 Checkpoint, 1 wall jump, 2 dash, 3 climb, 4 dash-slash.
	virtual int GetPickupType() = 0;

	std::unique_ptr<FlipbookVFX> myEffect;
	Norv::Audio* myLoopSound = nullptr; // the sound bank's; not owned
	bool mySoundStarted = false;        // the chime has been claimed once
	float myBobTime = 0.0f;
};

// The four ability pickups: an IPickupAble each, told apart by class and kind.
class WallJumpPickup : public IPickupAble
{
public:
	int GetPickupType() override { return 1; }
};

class DashPickup : public IPickupAble
{
public:
	int GetPickupType() override { return 2; }
};

class ClimbPickup : public IPickupAble
{
public:
	int GetPickupType() override { return 3; }
};

class DashSlashPickup : public IPickupAble
{
public:
	int GetPickupType() override { return 4; }
};
