#include "LevelWorld.h"

#include "world/entities/FlowerPlatform.h"

namespace
{
	using NorvTest::LevelWorldTest;
	using NorvTest::Property;

	constexpr int OPEN_FRAMES = 180; // 3 s at 60 frames per second

	// The flower at (500, 100) at its authored scale: its platform is tile (5, 2).
	const std::map<std::string, nlohmann::json> AUTHORED{ { "FlowerPlatform", nlohmann::json::array({ Property("scale", "Float3", { 28, 28, 28 }) }) } };
	const std::map<char, std::string> LEGEND{ { 'F', "FlowerPlatform" } };
	constexpr int ROW_X = 5;
	constexpr int ROW_Y = 2;

	class FlowerTest : public LevelWorldTest
	{
	protected:
		FlowerPlatform& F() { return *Find<FlowerPlatform>(); }
		bool IsRowSolid() { return Grid().IsSolid(ROW_X, ROW_Y); }
		// Frames from now until the platform row clears (aLimit when it never does).
		int FramesUntilClear(int aLimit)
		{
			int someFrames = 0;
			while (IsRowSolid() && someFrames < aLimit)
			{
				Step(1);
				++someFrames;
			}
			return someFrames;
		}
	};

	TEST_F(FlowerTest, StrikingAClosedFlowerMakesItsRowSolidFor3Seconds)
	{
		Load({ "          ", "          ", "     F    ", "##########" }, LEGEND, AUTHORED);
		Step(10);
		ASSERT_NE(Find<FlowerPlatform>(), nullptr);
		EXPECT_EQ(F().myState, FlowerPlatform::CLOSED);
		EXPECT_FALSE(IsRowSolid());

		F().TakeDamage({ 0.0f, {}, "", nullptr });
		Step(1);
		EXPECT_TRUE(IsRowSolid());
		EXPECT_EQ(F().myState, FlowerPlatform::OPENING);
		EXPECT_FALSE(Grid().IsSolid(ROW_X, ROW_Y - 1)); // one row, nothing below it
		EXPECT_NEAR(FramesUntilClear(400), OPEN_FRAMES, 3);
		Step(2);
		EXPECT_EQ(F().myState, FlowerPlatform::CLOSED);

		// It opens again for another strike.
		F().TakeDamage({ 0.0f, {}, "", nullptr });
		Step(1);
		EXPECT_TRUE(IsRowSolid());
	}

	TEST_F(FlowerTest, StrikingItAgainWhileOpenDoesNotExtendTheTime)
	{
		Load({ "          ", "          ", "     F    ", "##########" }, LEGEND, AUTHORED);
		Step(10);
		F().TakeDamage({ 0.0f, {}, "", nullptr });
		Step(90);
		ASSERT_TRUE(IsRowSolid());
		F().TakeDamage({ 0.0f, {}, "", nullptr });
		EXPECT_NEAR(FramesUntilClear(400), OPEN_FRAMES - 90, 3);
	}

	TEST_F(FlowerTest, LevelTilesInItsRowSurviveItsClosing)
	{
		// A level tile where the platform would be: the flower closes on its first frame.
		Load({ "          ", "     #    ", "     F    ", "##########" }, LEGEND, AUTHORED);
		Step(10);
		EXPECT_TRUE(IsRowSolid());
		F().TakeDamage({ 0.0f, {}, "", nullptr });
		Step(OPEN_FRAMES + 30);
		EXPECT_EQ(F().myState, FlowerPlatform::CLOSED);
		EXPECT_TRUE(IsRowSolid());
	}

	TEST_F(FlowerTest, TheSwordOpensIt)
	{
		Load({ "          ", "          ", "          ", "  P  F    ", "##########" }, { { 'F', "FlowerPlatform" }, { 'P', "Player" } }, AUTHORED);
		Step(70);
		ASSERT_FALSE(IsRowSolid());
		// Within reach of the sword, clear of the closed flower's push box.
		P().myPosition.x = 300.0f;
		Press(InputAction::Attack);
		EXPECT_EQ(F().myState, FlowerPlatform::OPENING);
		EXPECT_TRUE(IsRowSolid());
	}
}
