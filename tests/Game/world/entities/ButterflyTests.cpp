#include "LevelWorld.h"

#include "world/effects/FlipbookVFX.h"
#include "world/entities/Butterfly.h"

#include "engine/DrawCalls.h"

#include <algorithm>

namespace
{
	using ButterflyTest = NorvTest::LevelWorldTest;

	const std::map<char, std::string> LEGEND{ { 'B', "Butterfly" } };
	constexpr float STEP_SLACK = 10.0f; // units: one frame's flight past a bound before it turns

	TEST_F(ButterflyTest, ButterfliesStartWithinASecondAndStayWithinTheirBoxOnBothSides)
	{
		Load({ "B  B  B  B  B  B  B  B", "                      " }, LEGEND);
		std::vector<Butterfly*> someButterflies;
		for (int someIndex = 0; Butterfly* someOne = Find<Butterfly>(someIndex); ++someIndex)
			someButterflies.push_back(someOne);
		ASSERT_EQ(someButterflies.size(), 8u);
		EXPECT_NE(someButterflies[0]->myStartDelay, someButterflies[1]->myStartDelay);

		Step(61);
		float someLeftmost = 0.0f;
		float someRightmost = 0.0f;
		for (int someFrame = 0; someFrame < 5 * 60 * 60; ++someFrame)
		{
			Step(1);
			for (const Butterfly* someOne : someButterflies)
			{
				ASSERT_TRUE(someOne->myHasStarted);
				const Norv::Vector2<float> someOffset = someOne->myFlightPosition - someOne->myPosition;
				someLeftmost = std::min(someLeftmost, someOffset.x);
				someRightmost = std::max(someRightmost, someOffset.x);
				ASSERT_LE(std::abs(someOffset.y), Butterfly::REACH_Y + STEP_SLACK) << "frame " << someFrame;
			}
		}
		EXPECT_GE(someLeftmost, -Butterfly::REACH_X - STEP_SLACK);
		EXPECT_LE(someRightmost, Butterfly::REACH_X + STEP_SLACK);
		// The effect follows the flight.
		const Butterfly& someFirst = *someButterflies[0];
		EXPECT_TRUE(someFirst.GetEffect().IsPlaying());
		EXPECT_FLOAT_EQ(someFirst.GetEffect().GetPosition().z, 100.0f);
	}

	TEST_F(ButterflyTest, ItDrawsItsSpriteOnlyOnceItFlies)
	{
		Load({ "B" }, LEGEND);
		Butterfly& someButterfly = *Find<Butterfly>();
		someButterfly.myStartDelay = 0.5f;
		const auto DrawsOfRender = [&] {
			const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
			someButterfly.Render();
			return Norv::DrawCalls::GetCurrentFrameCount() - someBefore;
		};
		Step(20);
		EXPECT_FALSE(someButterfly.myHasStarted);
		EXPECT_EQ(DrawsOfRender(), 0u);
		Step(20);
		ASSERT_TRUE(someButterfly.myHasStarted);
		EXPECT_EQ(DrawsOfRender(), 1u);
	}
}
