// The whole game played through with the data set and the recorded scripts, in
// one run of the program's own loop: besides each script's own stages, the run
// must pass every milestone of the game in order, so that no script can leave a
// part of the game out.
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

	// The script files named by the order file, one a line ('#' comments).
	std::vector<std::filesystem::path> ScriptOrder()
	{
		std::vector<std::filesystem::path> someScripts;
		std::ifstream someOrder(SCRIPTS / "Playthrough.txt");
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

	TEST(Playthrough, TheRecordedScriptsPlayTheWholeGameFromTheIntroToTheMainMenuAgain)
	{
		const std::vector<std::filesystem::path> someOrder = ScriptOrder();
		ASSERT_FALSE(someOrder.empty()) << "no scripts in " << (SCRIPTS / "Playthrough.txt");
		std::vector<Playthrough::Script> someScripts;
		for (const std::filesystem::path& someFile : someOrder)
			ASSERT_NO_THROW(someScripts.push_back(Playthrough::LoadScript(someFile)));
		const Playthrough::Script someMilestones = Playthrough::ParseScript(MILESTONES, "milestones");

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
}
