#include "world/entities/Butterfly.h"

#include "world/effects/FlipbookVFX.h"

#include "shell/GameRandom.h"

#include <cmath>
#include <random>

namespace
{
	constexpr int EFFECT_ID = 21;
	constexpr float FLIGHT_Z = 100.0f;          // depth it flutters at
	constexpr int DRIFT_SPREAD_X = 60;          // units/s, drift vx in [-30, 30)
	constexpr float DRIFT_BASE_X = -30.0f;
	constexpr int DRIFT_SPREAD_Y = 40;          // units/s, drift vy in [-10, 30)
	constexpr float DRIFT_BASE_Y = -10.0f;
	constexpr float DART_SPEED = 200.0f;        // units/s
	constexpr float DART_SINK = 50.0f;          // units/s down while darting
	constexpr float BOB_RATE = 5.0f;            // 1/s of the drift's bob
	constexpr float BOB_SPEED = 15.0f;          // units/s
	constexpr float DEGREES_TO_RADIANS = 0.017453292f;
	constexpr int FULL_TURN = 360;              // degrees
}

Butterfly::Butterfly()
	: myStartDelay(std::uniform_real_distribution<float>(0.0f, 1.0f)(GameRandom::GetGenerator()))
	, myEffect(std::make_unique<FlipbookVFX>())
{
	myUsesGravity = false;
	myUsesTileCollision = false;
	myEffect->Init(EFFECT_ID);
}

Butterfly::~Butterfly() = default;

void Butterfly::Update(FrameContext& aContext)
{
	const float someDeltaTime = aContext.deltaTime;
	myStartDelay -= someDeltaTime;
	if (!myHasStarted && myStartDelay <= 0.0f)
	{
		myFlightPosition = myPosition;
		myFlightZ = FLIGHT_Z;
		myEffect->PlayAt({ myFlightPosition.x, myFlightPosition.y, myFlightZ }, 1.0f);
		myHasStarted = true;
	}
	if (!myHasStarted)
		return;

	myPhaseTimer += someDeltaTime;
	if (myPhaseTimer >= myPhaseTime)
	{
		myPhaseTimer = 0.0f;
		StartPhase();
	}
	myFlightPosition += myFlightVelocity * someDeltaTime;
	if (!myIsDarting)
		myFlightPosition.y += std::sin(myPhaseTimer * BOB_RATE) * BOB_SPEED * someDeltaTime;
	KeepWithinReach();
	myEffect->Update(aContext, { myFlightPosition.x, myFlightPosition.y, myFlightZ });
}

void Butterfly::StartPhase()
{
	myIsDarting = !myIsDarting;
	if (myIsDarting)
	{
		myPhaseTime = DART_TIME;
		const float someAngle = static_cast<float>(GameRandom::Rand() % FULL_TURN) * DEGREES_TO_RADIANS;
		myFlightVelocity = { DART_SPEED * std::cos(someAngle), DART_SPEED * std::sin(someAngle) - DART_SINK };
	}
	else
	{
		myPhaseTime = DRIFT_TIME;
		const float someX = static_cast<float>(GameRandom::Rand() % DRIFT_SPREAD_X) + DRIFT_BASE_X;
		const float someY = static_cast<float>(GameRandom::Rand() % DRIFT_SPREAD_Y) + DRIFT_BASE_Y;
		myFlightVelocity = { someX, someY };
	}
}

void Butterfly::KeepWithinReach()
{
	// Beyond a bound the velocity turns back toward the spot; one already heading
	// back keeps going, so a butterfly past a bound never jitters there.
	const Norv::Vector2<float> someOffset = myFlightPosition - myPosition;
	if ((someOffset.x > REACH_X && myFlightVelocity.x > 0.0f) || (someOffset.x < -REACH_X && myFlightVelocity.x < 0.0f))
		myFlightVelocity.x = -myFlightVelocity.x;
	if ((someOffset.y > REACH_Y && myFlightVelocity.y > 0.0f) || (someOffset.y < -REACH_Y && myFlightVelocity.y < 0.0f))
		myFlightVelocity.y = -myFlightVelocity.y;
}

void Butterfly::Render()
{
	myEffect->RenderScaled(myScale);
}
