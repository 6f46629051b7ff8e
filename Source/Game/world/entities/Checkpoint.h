#pragma once
// A campfire checkpoint: the player touching it makes it the respawn point and,
// the first time, lights it (a start flame, then a lasting fire with its loop).
#include "world/entities/IPickupAble.h"

#include <memory>

namespace Norv
{
	class Audio;
}
class FlipbookVFX;

class Checkpoint : public IPickupAble
{
public:
	static constexpr Norv::Vector2<float> COLLIDER_SIZE{ 10.0f, 800.0f };
	static constexpr int START_EFFECT_ID = 24;
	static constexpr int FIRE_EFFECT_ID = 25;
	static constexpr float FIRE_DELAY = 2.0f;        // s from lighting to the lasting fire
	static constexpr float FIRE_LIFT = 125.0f;       // units above the placed object's ground
	static constexpr float FIRE_Z = 25.0f;
	static constexpr float FIRE_LOOP_RADIUS = 1000.0f; // units the fire is heard
	static constexpr float FIRE_LOOP_VOLUME = 1.0f;

	Checkpoint();
	~Checkpoint() override;

	void Update(FrameContext& aContext) override;
	void Render() override;
	// Lights the fire once; every later touch changes nothing here.
	void OnPickedUp() override;
	int GetPickupType() override { return 0; }

	std::unique_ptr<FlipbookVFX> myStartEffect;
	std::unique_ptr<FlipbookVFX> myFireEffect;
	Norv::Audio* myStartSound = nullptr;    // the sound bank's; not owned
	Norv::Audio* myFireLoopSound = nullptr; // the sound bank's; not owned
	bool myIsLit = false;
	float myFireDelay = FIRE_DELAY;

private:
	Norv::Vector3<float> GetFireAnchor() const;
};
