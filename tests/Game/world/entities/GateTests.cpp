// The gate's own tile writing, stepped without a play state: what it makes solid
// and clear as it rests, opens and closes.
#include "world/TileCollisionGrid.h"
#include "world/entities/Gate.h"
#include "world/entities/Lever.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
	constexpr float FRAME = 1.0f / 60.0f;

	// One gate (with its lever) in column 0 at aHomeY, on a grid holding only what the gate writes.
	struct GateWorld
	{
		explicit GateWorld(float aHomeY)
		{
			myGrid.Build(nullptr, {}, nullptr);
			myContext.grid = &myGrid;
			myContext.deltaTime = FRAME;
			myGate.myPosition = { 0.0f, aHomeY };
			myGate.myLever = &myLever;
			myGate.Init(myContext);
		}
		void Step(int aFrames, float aDeltaTime = FRAME)
		{
			myContext.deltaTime = aDeltaTime;
			for (int someFrame = 0; someFrame < aFrames; ++someFrame)
			{
				myGate.MoveAndCollide(myContext);
				myGate.Update(myContext);
			}
		}
		// The solid rows of column 0 from aLow to aHigh, bottom first.
		std::vector<bool> Column(int aLow, int aHigh) const
		{
			std::vector<bool> someRows;
			for (int someRow = aLow; someRow <= aHigh; ++someRow)
				someRows.push_back(myGrid.IsSolid(0, someRow));
			return someRows;
		}

		TileCollisionGrid myGrid;
		FrameContext myContext;
		Lever myLever;
		Gate myGate;
	};
}

TEST(Gate, ARestingGateStaysAtHomeAsAFiveTileColumnOnItsFloor)
{
	GateWorld someWorld(100.0f);
	someWorld.Step(120);
	// Neither gravity nor the tiles it writes may move it.
	EXPECT_FLOAT_EQ(someWorld.myGate.myPosition.y, 100.0f);
	EXPECT_EQ(someWorld.Column(0, 6), (std::vector<bool>{ true, true, true, true, true, true, false }));
	EXPECT_EQ(someWorld.myLever.myGate, &someWorld.myGate);
}

TEST(Gate, OpeningFromZeroFreesItsBottomRowAndKeepsTheFloorBelow)
{
	GateWorld someWorld(0.0f);
	someWorld.Step(1);
	EXPECT_EQ(someWorld.Column(-1, 5), (std::vector<bool>{ true, true, true, true, true, true, false }));

	someWorld.myLever.myIsPulled = true;
	someWorld.Step(30); // 50 units up
	EXPECT_NEAR(someWorld.myGate.myPosition.y, 50.0f, 0.01f);
	// Row -1 is the gate's floor and stays; rows 0 and 1 are free to walk under; the top holds row 5.
	EXPECT_EQ(someWorld.Column(-1, 6), (std::vector<bool>{ true, false, false, true, true, true, true, false }));
}

TEST(Gate, OpensFourHundredAtItsSpeedAndStaysOpenOnceForced)
{
	GateWorld someWorld(100.0f);
	someWorld.myLever.myIsPulled = true;
	someWorld.Step(120);
	EXPECT_NEAR(someWorld.myGate.myPosition.y, 300.0f, 0.01f);
	EXPECT_TRUE(someWorld.myGate.myIsOpening);
	someWorld.Step(150);
	EXPECT_NEAR(someWorld.myGate.myPosition.y, 500.0f, Gate::SPEED * FRAME + 0.01f);
	EXPECT_FALSE(someWorld.myGate.myIsOpening);
	// A second into the level the gate sounded and holds itself open: the lever no longer matters.
	EXPECT_TRUE(someWorld.myGate.myForceOpen);
	someWorld.myLever.myIsPulled = false;
	someWorld.Step(60);
	EXPECT_GT(someWorld.myGate.myPosition.y, 500.0f);
	EXPECT_EQ(someWorld.Column(1, 10), (std::vector<bool>{ false, false, false, false, true, true, true, true, true, true }));
}

TEST(Gate, ClosingAgainClearsEveryRowItMadeSolidAboveItsColumn)
{
	GateWorld someWorld(100.0f);
	someWorld.myGate.myForceOpen = true;
	someWorld.Step(300);
	ASSERT_GT(someWorld.myGate.myPosition.y, 500.0f);
	ASSERT_TRUE(someWorld.myGrid.IsSolid(0, 10));

	someWorld.myGate.myForceOpen = false;
	someWorld.Step(300);
	EXPECT_FLOAT_EQ(someWorld.myGate.myPosition.y, 100.0f);
	EXPECT_FALSE(someWorld.myGate.myIsOpening);
	EXPECT_EQ(someWorld.Column(0, 11), (std::vector<bool>{ true, true, true, true, true, true, false, false, false, false, false, false }));
}

TEST(Gate, ALongFrameWritesEveryRowThatTheGatePassed)
{
	GateWorld someWorld(100.0f);
	someWorld.Step(1);
	someWorld.myGate.myForceOpen = true;
	// 250 units in one step: rows 1 to 4 left behind, rows 6 to 8 reached.
	someWorld.Step(1, 2.5f);
	EXPECT_EQ(someWorld.Column(1, 9), (std::vector<bool>{ false, false, false, false, true, true, true, true, false }));

	someWorld.myGate.myForceOpen = false;
	someWorld.Step(1, 2.5f);
	EXPECT_EQ(someWorld.Column(1, 9), (std::vector<bool>{ true, true, true, true, true, false, false, false, false }));
}
