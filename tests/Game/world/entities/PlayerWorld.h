#pragma once
// A stepped world with a player in it, for the player and controller tests: the
// ability flags are cleared around each test, since they outlive scenes.
#include "Support/SteppedWorld.h"

#include "world/AbilityFlags.h"
#include "world/entities/Player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace NorvTest
{
	class PlayerWorldTest : public ::testing::Test
	{
	protected:
		explicit PlayerWorldTest(InputSource aSource = InputSource::Scripted) : myWorld(aSource) {}

		void SetUp() override
		{
			AbilityFlags.fill(false);
			if (!myWorld.IsStarted())
				GTEST_SKIP() << "the engine did not start headless";
		}
		void TearDown() override { AbilityFlags.fill(false); }

		// Loads the grid ('#' tile, 'P' the player) and lets the player settle.
		void Load(const std::vector<std::string>& aRows, int aSettleFrames = 90)
		{
			myWorld.LoadAscii(aRows, { { 'P', "Player" } });
			ASSERT_NE(myWorld.myState.GetFrameContext().player, nullptr);
			Step(aSettleFrames);
		}
		int Step(int aFrames, const FrameInput& anInput = {}, float aDeltaTime = SteppedWorld::FRAME)
		{
			return myWorld.Step(aFrames, anInput, aDeltaTime);
		}
		Player& P() { return *myWorld.myState.GetFrameContext().player; }
		PlayerController& C() { return P().GetController(); }
		bool IsStanding() { return P().myAirTime <= 0.0f; }

		// Highest y above the start while aInput is held for aHeldFrames, then nothing, until landing.
		float Rise(int aHeldFrames, float aDeltaTime = SteppedWorld::FRAME)
		{
			const float someStart = P().myPosition.y;
			float someTop = someStart;
			for (int someFrame = 0; someFrame < 600; ++someFrame)
			{
				Step(1, someFrame < aHeldFrames ? FrameInput{ { InputAction::Jump } } : FrameInput{}, aDeltaTime);
				someTop = std::max(someTop, P().myPosition.y);
				if (someFrame > 2 && IsStanding())
					break;
			}
			return someTop - someStart;
		}

		SteppedWorld myWorld;
	};

	// A floor eight tiles wide with the player two tiles above it.
	inline const std::vector<std::string> FLAT_FLOOR = {
		"          ",
		"          ",
		"          ",
		"   P      ",
		"          ",
		"##########",
	};
}
