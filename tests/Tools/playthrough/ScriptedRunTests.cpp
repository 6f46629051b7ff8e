// The scripted run on the real shell over a small tutorial of the test's own:
// intro, main menu, "Start Game", the opening video, a walk, the pause menu and
// back to the main menu; and the same script stalling on an edited level.
#include "ScriptedRun.h"

#include "Support/SceneFiles.h"
#include "Support/TempFolder.h"

#include "world/GameState.h"
#include "world/entities/PatrollingEnemy.h"
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

		struct Run
		{
			Playthrough::Outcome myOutcome;
			std::string myWhereAtEnd;
			int myFrames = 0;
			std::vector<Norv::Vector2<float>> myPlayerTrace; // every frame with a player
		};

		Run PlayOn(const std::vector<std::string>& aLevel, int aDrawEvery = 1)
		{
			NorvTest::WriteAsciiScene(myGame, "scenes/Tutorial.nvs", aLevel, { { 'P', "Player" } });
			Playthrough::RunOptions someOptions;
			someOptions.myGameAssets = myGame.Path() / "game";
			someOptions.myDrawEvery = aDrawEvery;
			Playthrough::ScriptedRun someRun(someOptions);
			EXPECT_TRUE(someRun.IsStarted());
			Run someResult;
			someResult.myOutcome = someRun.Play(Playthrough::ParseScript(WALK_SCRIPT, "Walk.txt"), [&](const Playthrough::ScriptedRun& aRun, int aFrame) {
				EXPECT_EQ(aFrame, ++someResult.myFrames);
				if (const Player* somePlayer = aRun.GetPlayer())
					someResult.myPlayerTrace.push_back(somePlayer->myPosition);
			});
			someResult.myWhereAtEnd = someRun.Where();
			return someResult;
		}

		static float FurthestX(const Run& aRun)
		{
			float someFurthest = -1e9f;
			for (const Norv::Vector2<float>& somePosition : aRun.myPlayerTrace)
				someFurthest = std::max(someFurthest, somePosition.x);
			return someFurthest;
		}

		NorvTest::TempFolder myGame;
		bool myHasGameFolder = std::filesystem::create_directories(myGame.Path() / "game");
	};

	TEST_F(ScriptedRunTest, TheWholeShellPlaysThroughToTheMainMenuAgainTheSameDrawnOrNot)
	{
		const Run someDrawn = PlayOn(OPEN_LEVEL);
		EXPECT_TRUE(someDrawn.myOutcome.myIsFinished) << someDrawn.myOutcome.myReport;
		EXPECT_NE(someDrawn.myWhereAtEnd.find("the main menu on top"), std::string::npos) << someDrawn.myWhereAtEnd;
		EXPECT_GT(FurthestX(someDrawn), 1100.0f);
		// The opening video alone is longer than 10 s of frames.
		EXPECT_GT(someDrawn.myFrames, 600);

		// Drawing every fifth frame only: the same run, frame for frame and bit for bit.
		const Run someSeldomDrawn = PlayOn(OPEN_LEVEL, 5);
		EXPECT_TRUE(someSeldomDrawn.myOutcome.myIsFinished) << someSeldomDrawn.myOutcome.myReport;
		EXPECT_EQ(someSeldomDrawn.myFrames, someDrawn.myFrames);
		EXPECT_EQ(someSeldomDrawn.myPlayerTrace, someDrawn.myPlayerTrace);
	}

	TEST_F(ScriptedRunTest, AnEditedLevelStallsAtTheStageNamingTheLineAndThePlayer)
	{
		const Run someRun = PlayOn(WALLED_LEVEL, 4);
		EXPECT_FALSE(someRun.myOutcome.myIsFinished);
		const std::string& someReport = someRun.myOutcome.myReport;
		EXPECT_NE(someReport.find("Walk.txt:9: stage \"near 1200 100 60\" not reached within 300 frames"), std::string::npos) << someReport;
		EXPECT_NE(someReport.find("the play state on top, scene scenes/Tutorial.nvs"), std::string::npos) << someReport;
		EXPECT_NE(someReport.find("player at ("), std::string::npos) << someReport;
		// Held at the wall, nowhere near the goal.
		EXPECT_LT(FurthestX(someRun), 600.0f);
	}

	Playthrough::Stage StageOf(const std::string& aText)
	{
		return Playthrough::ParseScript("expect " + aText, "stage").mySteps.at(0).myStage;
	}

	TEST_F(ScriptedRunTest, TheBossStagesFollowTheLevelsBossFromItsFightToItsDeath)
	{
		NorvTest::WriteAsciiScene(myGame, "scenes/Hub.nvs", { ".P......B.", "##########" }, { { 'P', "Player" }, { 'B', "Boss" } });
		NorvTest::WriteDefinition(myGame, "Boss", nlohmann::json::array({ { { "name", "entityId" }, { "type", "StringId" }, { "value", "PatrollingEnemy" } }, { { "name", "isBoss" }, { "type", "Bool" }, { "value", true } } }));
		NorvTest::WriteAsciiScene(myGame, "scenes/Other.nvs", { ".P........", "##########" }, { { 'P', "Player" } });
		Playthrough::RunOptions someOptions;
		someOptions.myGameAssets = myGame.Path() / "game";
		someOptions.myDrawEvery = 10;
		Playthrough::ScriptedRun someRun(someOptions);
		ASSERT_TRUE(someRun.IsStarted());
		// "Level Select" plays the hub.
		const Playthrough::Outcome someOutcome = someRun.Play(Playthrough::ParseScript("2 Confirm\nuntil menu 5\n3\n2 Down\n3\n2 Confirm\nuntil scene Hub 30\n", "Hub.txt"));
		ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		GameState& someState = *GameState::GetInstance();
		PatrollingEnemy* someBoss = someState.FindEntityOfType<PatrollingEnemy>();
		ASSERT_NE(someBoss, nullptr);
		ASSERT_TRUE(someBoss->myIsBoss);

		// Alive but not yet fighting: neither stage.
		someBoss->myIsActive = false;
		EXPECT_FALSE(someRun.IsReached(StageOf("boss-fight")));
		EXPECT_FALSE(someRun.IsReached(StageOf("boss-dead")));
		someBoss->StartBossFight();
		EXPECT_TRUE(someRun.IsReached(StageOf("boss-fight")));
		EXPECT_FALSE(someRun.IsReached(StageOf("boss-dead")));

		someBoss->Die();
		EXPECT_FALSE(someRun.IsReached(StageOf("boss-fight")));
		EXPECT_TRUE(someRun.IsReached(StageOf("boss-dead")));
		// Still dead once the level has removed it.
		someBoss->myShouldRemove = true;
		ASSERT_TRUE(someRun.Frame(0));
		EXPECT_EQ(someState.FindEntityOfType<PatrollingEnemy>(), nullptr);
		EXPECT_TRUE(someRun.IsReached(StageOf("boss-dead")));

		// A level that never had a boss has no dead one.
		someState.ChangeScene("scenes/Other.nvs");
		ASSERT_TRUE(someRun.Play(Playthrough::ParseScript("until scene Other 10\n", "Other.txt")).myIsFinished);
		EXPECT_FALSE(someRun.IsReached(StageOf("boss-dead")));
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
