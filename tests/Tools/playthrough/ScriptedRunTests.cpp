// The scripted run on the real shell over a small tutorial of the test's own:
// intro, main menu, "Start Game", the opening video, a walk, the pause menu and
// back to the main menu; and the same script stalling on an edited level.
#include "ScriptedRun.h"

#include "Support/SceneFiles.h"
#include "Support/TempFolder.h"

#include "world/entities/Player.h"

#include <SDL.h>

#include <gtest/gtest.h>

namespace
{
	// Ten tiles of floor; the player starts over the second.
	const std::vector<std::string> OPEN_LEVEL{
		"...............",
		".P.............",
		"###############",
	};
	// The same with a wall in the way.
	const std::vector<std::string> WALLED_LEVEL{
		"......#........",
		".P....#........",
		"###############",
	};

	constexpr std::string_view WALK_SCRIPT = R"(
expect intro
2 Confirm                  # skips the intro
until menu 5
3                          # Confirm let go
2 Confirm                  # "Start Game"
until cutscene 30
until scene Tutorial 1500  # the opening video runs its length
until near 1200 100 60 300 Right
expect scene Tutorial
2 Pause
until paused 10
2
2 Down
2
2 Down                     # "Main Menu"
2
2 Confirm
until menu 10
)";

	// A game asset folder with the data set's art and sounds but scenes and
	// definitions of the test's own.
	class ScriptedRunTest : public ::testing::Test
	{
	protected:
		ScriptedRunTest()
		{
			const std::filesystem::path someData = std::filesystem::path(NORV_SOURCE_DIR) / "Source/Game/data";
			for (const auto& someEntry : std::filesystem::directory_iterator(someData))
				if (someEntry.is_directory() && someEntry.path().filename() != "definitions" && someEntry.path().filename() != "scenes")
					std::filesystem::create_directory_symlink(someEntry.path(), myGame.Path() / "game" / someEntry.path().filename());
		}
		~ScriptedRunTest() override
		{
			// The links only, never what they point at.
			for (const auto& someEntry : std::filesystem::directory_iterator(myGame.Path() / "game"))
				if (someEntry.is_symlink())
					std::filesystem::remove(someEntry.path());
		}

		Playthrough::Outcome PlayOn(const std::vector<std::string>& aLevel, std::string& aWhereAtEnd)
		{
			NorvTest::WriteAsciiScene(myGame, "scenes/Tutorial.nvs", aLevel, { { 'P', "Player" } });
			Playthrough::RunOptions someOptions;
			someOptions.myGameAssets = myGame.Path() / "game";
			Playthrough::ScriptedRun someRun(someOptions);
			EXPECT_TRUE(someRun.IsStarted());
			const Playthrough::Outcome someOutcome = someRun.Play(Playthrough::ParseScript(WALK_SCRIPT, "Walk.txt"), [this](const Playthrough::ScriptedRun& aRun, int aFrame) {
				EXPECT_EQ(aFrame, ++myFramesSeen);
				if (const Player* somePlayer = aRun.GetPlayer())
					myFurthestX = std::max(myFurthestX, somePlayer->myPosition.x);
			});
			aWhereAtEnd = someRun.Where();
			return someOutcome;
		}

		NorvTest::TempFolder myGame;
		bool myHasGameFolder = std::filesystem::create_directories(myGame.Path() / "game");
		int myFramesSeen = 0;
		float myFurthestX = -1e9f;
	};

	TEST_F(ScriptedRunTest, TheWholeShellPlaysThroughToTheMainMenuAgain)
	{
		std::string someWhere;
		const Playthrough::Outcome someOutcome = PlayOn(OPEN_LEVEL, someWhere);
		EXPECT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		EXPECT_NE(someWhere.find("the main menu on top"), std::string::npos) << someWhere;
		EXPECT_GT(myFurthestX, 1100.0f);
		// The opening video alone is longer than 10 s of frames.
		EXPECT_GT(myFramesSeen, 600);
	}

	TEST_F(ScriptedRunTest, AnEditedLevelStallsAtTheStageNamingTheLineAndThePlayer)
	{
		std::string someWhere;
		const Playthrough::Outcome someOutcome = PlayOn(WALLED_LEVEL, someWhere);
		EXPECT_FALSE(someOutcome.myIsFinished);
		const std::string& someReport = someOutcome.myReport;
		EXPECT_NE(someReport.find("Walk.txt:9: stage \"near 1200 100 60\" not reached within 300 frames"), std::string::npos) << someReport;
		EXPECT_NE(someReport.find("the play state on top, scene scenes/Tutorial.nvs"), std::string::npos) << someReport;
		EXPECT_NE(someReport.find("player at ("), std::string::npos) << someReport;
		// Held at the wall, nowhere near the goal.
		EXPECT_LT(myFurthestX, 600.0f);
	}

	TEST(ScriptedRun, AScriptAfterTheGameHasEndedStallsAtItsFirstFrame)
	{
		NorvTest::TempFolder someGame;
		Playthrough::RunOptions someOptions;
		someOptions.myGameAssets = someGame.Path();
		Playthrough::ScriptedRun someRun(someOptions);
		ASSERT_TRUE(someRun.IsStarted());
		// The window is closed.
		SDL_Event someQuit{};
		someQuit.type = SDL_QUIT;
		SDL_PushEvent(&someQuit);
		const Playthrough::Outcome someOutcome = someRun.Play(Playthrough::ParseScript("5\n", "Quit.txt"));
		EXPECT_FALSE(someOutcome.myIsFinished);
		EXPECT_NE(someOutcome.myReport.find("Quit.txt:1: the game ended"), std::string::npos) << someOutcome.myReport;
		EXPECT_FALSE(someRun.Frame(0));
	}
}
