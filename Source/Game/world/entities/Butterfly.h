#pragma once
// A decorative flipbook butterfly: after a short random delay it flutters around
// the spot it was placed at, drifting and darting in turn, kept within a box
// around that spot.
#include "world/entities/Entity.h"

#include "Math/Vector.h"

#include <memory>

class FlipbookVFX;

class Butterfly : public Entity
{
public:
	static constexpr float DRIFT_TIME = 0.35f; // s of a drift phase
	static constexpr float DART_TIME = 0.15f;  // s of a dart phase
	static constexpr float REACH_X = 200.0f;   // units either side of its spot
	static constexpr float REACH_Y = 150.0f;   // units above and below it

	Butterfly();
	~Butterfly() override;
	Butterfly(const Butterfly&) = delete;
	Butterfly& operator=(const Butterfly&) = delete;

	void Update(FrameContext& aContext) override;
	void Render() override;

	const FlipbookVFX& GetEffect() const { return *myEffect; }

	Norv::Vector2<float> myFlightPosition;
	float myFlightZ = 0.0f;
	Norv::Vector2<float> myFlightVelocity;
	float myPhaseTimer = 0.0f;
	float myStartDelay;       // s, uniform in [0, 1)
	bool myIsDarting = false;
	float myPhaseTime = 0.6f; // s of the current phase
	bool myHasStarted = false;

private:
	void StartPhase();
	void KeepWithinReach();

	std::unique_ptr<FlipbookVFX> myEffect;
};
