// Looping a run's scripts for a soak: a later pass must really play the game
// again from the main menu, and a pass that stalls must stop the loop.
#include "Loops.h"

#include <gtest/gtest.h>

namespace
{
	const std::filesystem::path SOURCE = NORV_SOURCE_DIR;
	constexpr unsigned RUN_WIDTH = 320;
	constexpr unsigned RUN_HEIGHT = 180;
	constexpr int DRAW_EVERY = 20;

	// How often a stage starts to hold during a run.
	class StageCounter
	{
	public:
		explicit StageCounter(const std::string& aStage)
			: myStage(Playthrough::ParseScript("expect " + aStage, "stage").mySteps.at(0).myStage)
		{
		}

		void Watch(const Playthrough::ScriptedRun& aRun)
		{
			const bool isReached = aRun.IsReached(myStage);
			myCount += isReached && !myWasReached;
			myWasReached = isReached;
		}

		int myCount = 0;

	private:
		Playthrough::Stage myStage;
		bool myWasReached = false;
	};

	struct Loop
	{
		std::vector<Playthrough::Script> myScripts;
		Playthrough::Script myRestart;
		StageCounter myMenus{ "menu" };
		StageCounter myTutorials{ "scene Tutorial" };
		std::vector<Playthrough::Pass> myPasses;

		// Plays up to aPassCount passes; a pass of a stalled run is not counted.
		Playthrough::Outcome Play(int aPassCount)
		{
			Playthrough::RunOptions someOptions;
			someOptions.myWidth = RUN_WIDTH;
			someOptions.myHeight = RUN_HEIGHT;
			someOptions.myDrawEvery = DRAW_EVERY;
			Playthrough::ScriptedRun someRun(someOptions);
			if (!someRun.IsStarted())
				return { false, "the game did not start" };
			Playthrough::LoopObservers someObservers;
			someObservers.myFrame = [this](const Playthrough::ScriptedRun& aRun, int) {
				myMenus.Watch(aRun);
				myTutorials.Watch(aRun);
			};
			someObservers.myPass = [&](const Playthrough::Pass& aPass) {
				myPasses.push_back(aPass);
				return aPass.myLoop < aPassCount;
			};
			return Playthrough::PlayLoops(someRun, myScripts, myRestart, someObservers);
		}
	};

	// From the game's start into the tutorial and back to the main menu.
	Loop ShortLoop()
	{
		Loop someLoop;
		someLoop.myScripts.push_back(Playthrough::LoadScript(SOURCE / "tests/Game/playthrough/scripts/Shell.txt"));
		someLoop.myScripts.push_back(Playthrough::LoadScript(SOURCE / "tools/soak/ToMenu.txt"));
		someLoop.myRestart = Playthrough::LoadScript(SOURCE / "tools/soak/Restart.txt");
		return someLoop;
	}

	TEST(PlaythroughLoop, EachPassPlaysTheGameAgainFromTheMainMenu)
	{
		Loop someLoop = ShortLoop();
		const Playthrough::Outcome someOutcome = someLoop.Play(2);
		ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		ASSERT_EQ(someLoop.myPasses.size(), 2u);
		EXPECT_EQ(someLoop.myPasses[0].myLoop, 1);
		EXPECT_EQ(someLoop.myPasses[1].myLoop, 2);
		// Each pass counts only its own frames; the second skips the intro.
		EXPECT_GT(someLoop.myPasses[1].myFrames, 0);
		EXPECT_LT(someLoop.myPasses[1].myFrames, someLoop.myPasses[0].myFrames);
		// The menu after the intro and after each pass; the tutorial once a pass.
		EXPECT_EQ(someLoop.myMenus.myCount, 3);
		EXPECT_EQ(someLoop.myTutorials.myCount, 2);
	}

	TEST(PlaythroughLoop, AStallInALaterPassEndsTheLoopWithItsReport)
	{
		Loop someLoop = ShortLoop();
		// A restart that waits for the intro, which a pass never comes back to.
		someLoop.myRestart = Playthrough::ParseScript("until intro 30\n", "Restart.txt");
		const Playthrough::Outcome someOutcome = someLoop.Play(3);
		EXPECT_FALSE(someOutcome.myIsFinished);
		EXPECT_NE(someOutcome.myReport.find("Restart.txt:1"), std::string::npos) << someOutcome.myReport;
		EXPECT_EQ(someLoop.myPasses.size(), 1u);
		EXPECT_EQ(someLoop.myTutorials.myCount, 1);
	}
}
