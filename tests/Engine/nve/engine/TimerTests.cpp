#include "Support/RunningEngine.h"

#include "engine/Timer.h"

#include <gtest/gtest.h>

namespace
{
	using NorvTest::ManualCounter;
	using Norv::Timer;

	constexpr std::uint64_t TICKS_PER_MS = Timer::TICKS_PER_SECOND / 1000;

	TEST(Timer, StepIsTheTimeSinceTheLastTickClampedToATenth)
	{
		ManualCounter someCounter;
		Timer someTimer;
		int someUpdates = 0;

		someCounter.AdvanceMilliseconds(40);
		someTimer.Tick([&] { ++someUpdates; });
		EXPECT_EQ(someTimer.GetElapsedTicks(), 40 * TICKS_PER_MS);

		someCounter.AdvanceMilliseconds(2000);
		someTimer.Tick([&] { ++someUpdates; });
		EXPECT_EQ(someTimer.GetElapsedTicks(), 100 * TICKS_PER_MS);
		EXPECT_EQ(someTimer.GetTotalTicks(), 140 * TICKS_PER_MS);
		EXPECT_EQ(someUpdates, 2);
		EXPECT_EQ(someTimer.GetFrameCount(), 2u);
	}

	TEST(Timer, ACounterThatRunsBackwardsGivesAZeroStep)
	{
		ManualCounter someCounter;
		Timer someTimer;
		someCounter.AdvanceMilliseconds(-50);
		someTimer.Tick([] {});
		EXPECT_EQ(someTimer.GetElapsedTicks(), 0u);
	}

	TEST(Timer, FramesPerSecondAreCountedOnceASecondHasPassed)
	{
		ManualCounter someCounter;
		Timer someTimer;
		for (int someFrame = 0; someFrame < 19; ++someFrame)
		{
			someCounter.AdvanceMilliseconds(50);
			someTimer.Tick([] {});
		}
		EXPECT_EQ(someTimer.GetFramesPerSecond(), 0u);
		someCounter.AdvanceMilliseconds(50);
		someTimer.Tick([] {});
		EXPECT_EQ(someTimer.GetFramesPerSecond(), 20u);
	}

	TEST(Timer, FixedStepRunsOneUpdatePerWholeStepAndKeepsTheRest)
	{
		ManualCounter someCounter;
		Timer someTimer;
		someTimer.SetFixedTimeStep(true);
		int someUpdates = 0;

		// 16 ms is short of 1/60 s and too far from it to snap: no step, the time is kept.
		someCounter.AdvanceMilliseconds(16);
		someTimer.Tick([&] { ++someUpdates; });
		EXPECT_EQ(someUpdates, 0);

		// 17 ms with the 16 kept makes one whole step.
		someCounter.AdvanceMilliseconds(17);
		someTimer.Tick([&] { ++someUpdates; });
		EXPECT_EQ(someUpdates, 1);
		EXPECT_EQ(someTimer.GetElapsedTicks(), 166666u);

		// 100 ms (the clamp) with the rest holds six more.
		someCounter.AdvanceMilliseconds(100);
		someTimer.Tick([&] { ++someUpdates; });
		EXPECT_EQ(someUpdates, 7);
		EXPECT_EQ(someTimer.GetTotalTicks(), 7 * 166666u);
	}

	TEST(Timer, FixedStepSnapsAStepWithinAQuarterMillisecondOfTheTarget)
	{
		ManualCounter someCounter;
		Timer someTimer;
		someTimer.SetFixedTimeStep(true);
		int someUpdates = 0;

		someCounter.AdvanceMicroseconds(16800); // 0.13 ms over 1/60 s: exactly one step, nothing kept
		someTimer.Tick([&] { ++someUpdates; });
		ASSERT_EQ(someUpdates, 1);

		// Two 8.3 ms ticks make 16.6 ms, short of a step only when nothing was kept.
		someCounter.AdvanceMicroseconds(8300);
		someTimer.Tick([&] { ++someUpdates; });
		someCounter.AdvanceMicroseconds(8300);
		someTimer.Tick([&] { ++someUpdates; });
		EXPECT_EQ(someUpdates, 1);
	}
}
