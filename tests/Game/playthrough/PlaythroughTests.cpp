// The whole game played through with the data set and the recorded scripts, in
// one run of the program's own loop: besides each script's own stages, the run
// must pass every milestone of the game in order, so that no script can leave a
// part of the game out. A perfect run, and a new player's clumsy one that dies
// to every harm the game has and comes back at the right campfire each time.
#include "ScriptedRun.h"

#include <gtest/gtest.h>

#include <fstream>

namespace
{
	const std::filesystem::path SCRIPTS = std::filesystem::path(NORV_SOURCE_DIR) / "tests/Game/playthrough/scripts";
	// Small and seldom drawn: drawing is most of a frame, and the game's state does not depend on it.
	constexpr unsigned RUN_WIDTH = 320;
	constexpr unsigned RUN_HEIGHT = 180;
	constexpr int DRAW_EVERY = 20;

	// The game from the intro to the main menu again, in the order a player meets it.
	constexpr std::string_view MILESTONES = R"(
expect intro
expect menu
expect cutscene
expect scene Tutorial
expect ability WallJump
expect scene Hub
expect scene Level_1
expect ability Dash
expect boss-dead
expect scene Hub
expect scene Level_2
expect ability Climb
expect ability DashSlash
expect scene Hub
expect scene Ending
expect ending
expect menu
)";

	// The clumsy run: the Level Select straight to the Hub, a door taken at once,
	// pauses, the options' sound muted and back, and deaths to harms, each ending
	// standing by the campfire it should with every petal; and still the ending.
	constexpr std::string_view CLUMSY_MILESTONES = R"(
expect intro
expect menu
expect scene Hub
expect scene Tutorial
expect paused
expect scene Tutorial
expect dead Hedgehog
expect respawned
expect near 4150 1625 5
expect ability WallJump
expect fallen
expect respawned
expect near 8000 1625 5
expect scene Hub
expect paused
expect scene Hub
expect scene Level_1
expect paused
expect options
expect volume 0
expect volume 1
expect scene Level_1
expect dead Spikes
expect respawned
expect near -7800 125 5
expect ability Dash
expect boss-fight
expect dead Boss
expect respawned
expect near -2300 25 5
expect boss-dead
expect scene Hub
expect scene Level_2
expect paused
expect scene Level_2
expect dead Mushroom
expect respawned
expect near 200 125 5
expect ability Climb
expect dead Wasp
expect respawned
expect near 4200 2525 5
expect ability DashSlash
expect scene Hub
expect scene Ending
expect paused
expect scene Ending
expect ending
expect menu
)";

	// The script files named by the order file, one a line ('#' comments).
	std::vector<std::filesystem::path> ScriptOrder(const std::string& anOrderFile)
	{
		std::vector<std::filesystem::path> someScripts;
		std::ifstream someOrder(SCRIPTS / anOrderFile);
		for (std::string someLine; std::getline(someOrder, someLine);)
		{
			someLine = someLine.substr(0, someLine.find('#'));
			someLine.erase(0, someLine.find_first_not_of(" \t\r"));
			someLine.erase(someLine.find_last_not_of(" \t\r") + 1);
			if (!someLine.empty())
				someScripts.push_back(SCRIPTS / someLine);
		}
		return someScripts;
	}

	// Plays the scripts the order file names in one run, holding it to the milestones in order.
	void PlayHeldToMilestones(const std::string& anOrderFile, std::string_view aMilestones)
	{
		const std::vector<std::filesystem::path> someOrder = ScriptOrder(anOrderFile);
		ASSERT_FALSE(someOrder.empty()) << "no scripts in " << (SCRIPTS / anOrderFile);
		std::vector<Playthrough::Script> someScripts;
		for (const std::filesystem::path& someFile : someOrder)
			ASSERT_NO_THROW(someScripts.push_back(Playthrough::LoadScript(someFile)));
		const Playthrough::Script someMilestones = Playthrough::ParseScript(aMilestones, "milestones");

		Playthrough::RunOptions someOptions;
		someOptions.myWidth = RUN_WIDTH;
		someOptions.myHeight = RUN_HEIGHT;
		someOptions.myDrawEvery = DRAW_EVERY;
		Playthrough::ScriptedRun someRun(someOptions);
		ASSERT_TRUE(someRun.IsStarted());
		std::size_t someReached = 0;
		const auto Watch = [&](const Playthrough::ScriptedRun& aRun, int) {
			while (someReached < someMilestones.mySteps.size() && aRun.IsReached(someMilestones.mySteps[someReached].myStage))
				++someReached;
		};
		Watch(someRun, 0);
		for (const Playthrough::Script& someScript : someScripts)
		{
			const Playthrough::Outcome someOutcome = someRun.Play(someScript, Watch);
			ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		}
		ASSERT_EQ(someReached, someMilestones.mySteps.size()) << "the scripts end without the game passing \""
			<< someMilestones.mySteps[someReached].myStage.ToText() << "\"; " << someRun.Where();
	}

	TEST(Playthrough, TheRecordedScriptsPlayTheWholeGameFromTheIntroToTheMainMenuAgain)
	{
		PlayHeldToMilestones("Playthrough.txt", MILESTONES);
	}

	TEST(Playthrough, AClumsyPlayerDiesToEachHarmComesBackStandingAtTheRightCampfireAndPlaysOn)
	{
		PlayHeldToMilestones("Clumsy.txt", CLUMSY_MILESTONES);
	}
}
