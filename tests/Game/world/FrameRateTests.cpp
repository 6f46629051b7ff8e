// Game time is real time: the same second of held input does the same to the
// player whatever the frame rate, since long frames are stepped in bounded steps.
#include "Game/world/entities/PlayerWorld.h"

#include <cmath>

namespace
{
	using NorvTest::FrameInput;
	using NorvTest::SteppedWorld;

	constexpr float DASH_SPEED = 2250.0f;   // units/s
	constexpr float DASH_DISTANCE = 562.5f; // the dash speed for a quarter second
	constexpr float SAME_WITHIN = 0.02f;    // share of the 60 fps figure

	// What one second of real time at one frame rate does to the player.
	struct SecondOfPlay
	{
		float myRun = 0.0f;  // distance held Right, from standing
		float myRise = 0.0f; // top of a jump held for the whole second
		float myDash = 0.0f; // distance while dashing, from standing
		float myStep = 0.0f; // the length of one world step at this rate
	};

	SecondOfPlay PlayAt(float aRate)
	{
		SecondOfPlay someResult;
		const float someFrame = 1.0f / aRate;
		const int someFrames = static_cast<int>(std::lround(aRate));

		AbilityFlags.fill(false);
		SteppedWorld someWorld;
		std::vector<std::string> someFloor(6, std::string(40, ' '));
		someFloor[3][3] = 'P';
		someFloor.push_back(std::string(40, '#'));
		someWorld.LoadAscii(someFloor, { { 'P', "Player" } });
		Player& somePlayer = *someWorld.myState.GetFrameContext().player;
		someWorld.Step(90);

		const float someRunStart = somePlayer.myPosition.x;
		someWorld.Step(someFrames, { { InputAction::Right } }, someFrame);
		someResult.myRun = somePlayer.myPosition.x - someRunStart;
		someWorld.Step(90);

		const float someGround = somePlayer.myPosition.y;
		for (int someIndex = 0; someIndex < someFrames; ++someIndex)
		{
			someWorld.Step(1, { { InputAction::Jump } }, someFrame);
			someResult.myRise = std::max(someResult.myRise, somePlayer.myPosition.y - someGround);
		}
		someWorld.Step(90);

		AbilityFlags[Ability::DASH] = true;
		const float someDashStart = somePlayer.myPosition.x;
		someWorld.Step(1, { { InputAction::Dash } }, someFrame);
		someResult.myStep = someWorld.myState.GetFrameContext().deltaTime;
		for (int someIndex = 1; someIndex < someFrames && somePlayer.GetController().IsDashing(); ++someIndex)
			someWorld.Step(1, {}, someFrame);
		someResult.myDash = somePlayer.myPosition.x - someDashStart;
		AbilityFlags.fill(false);
		return someResult;
	}
}

TEST(FrameRate, OneSecondRunsJumpsAndDashesAlikeFrom10To240Fps)
{
	const SecondOfPlay someReference = PlayAt(60.0f);
	ASSERT_GT(someReference.myRun, 500.0f);
	ASSERT_GT(someReference.myRise, 300.0f);
	for (const float someRate : { 10.0f, 20.0f, 30.0f, 45.0f, 60.0f, 144.0f, 240.0f })
	{
		const SecondOfPlay someSecond = PlayAt(someRate);
		EXPECT_NEAR(someSecond.myRun, someReference.myRun, SAME_WITHIN * someReference.myRun) << someRate << " fps";
		EXPECT_NEAR(someSecond.myRise, someReference.myRise, SAME_WITHIN * someReference.myRise) << someRate << " fps";
		EXPECT_NEAR(someSecond.myDash, DASH_DISTANCE, DASH_SPEED * someSecond.myStep + 0.01f) << someRate << " fps";
	}
}
