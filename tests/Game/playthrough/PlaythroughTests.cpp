// The whole game played through with the data set and the recorded scripts, in
// one run of the program's own loop: besides each script's own stages, the run
// must pass every milestone of the game in order, so that no script can leave a
// part of the game out. A perfect run, and a new player's clumsy one that dies
// to every harm the game has and comes back at the right campfire each time.
// What each run plays on the sound output is measured as it goes: it never
// clips, and every stretch of it is as loud as the main menu's music.
#include "HeardSound.h"
#include "ScriptedRun.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>

namespace
{
	const std::filesystem::path SCRIPTS = std::filesystem::path(NORV_SOURCE_DIR) / "tests/Game/playthrough/scripts";
	// Small and seldom drawn: drawing is most of a frame, and the game's state does not depend on it.
	constexpr unsigned RUN_WIDTH = 320;
	constexpr unsigned RUN_HEIGHT = 180;
	constexpr int DRAW_EVERY = 20;
	// Held on the main menu after the last script: its music, the loudness every stretch is held to.
	constexpr std::string_view MENU_MUSIC = "expect menu\n1200\n";
	constexpr double CEILING_DBTP = -1.0;
	constexpr double LOUDNESS_SPREAD_LU = 2.0; // each stretch within this of the menu's music

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

	// No sample at full scale, the true peak under the ceiling, every scene and the
	// boss fight as loud as the main menu's music, the boss fight as the rest of
	// play, and exact silence while muted (when anIsMuted: the run mutes the sound).
	void ExpectHeardWithoutClippingAtOneLoudness(const Playthrough::HeardSound& aSound, bool anIsMuted)
	{
		using Playthrough::HeardSound;
		aSound.Print(stdout);
		const std::map<std::string, double> someLoudness = aSound.GetLoudness();
		EXPECT_EQ(aSound.GetMutedFrames() > 0, anIsMuted);
		EXPECT_EQ(aSound.GetSamplesWhileMuted(), 0) << "sound while muted";
		EXPECT_EQ(aSound.GetFullScaleSamples(), 0);
		EXPECT_LE(aSound.GetTruePeakDb(), CEILING_DBTP);
		for (const char* someStretch : { HeardSound::MENU, HeardSound::BOSS_FIGHT, HeardSound::PLAY })
			ASSERT_TRUE(someLoudness.contains(someStretch)) << someStretch << " was not heard";
		const double someMenu = someLoudness.at(HeardSound::MENU);
		ASSERT_GT(someMenu, NorvMedia::SILENCE_LUFS) << "the main menu is silent: did the sound output start?";
		for (const auto& [someStretch, someLufs] : someLoudness)
			EXPECT_NEAR(someLufs, someMenu, LOUDNESS_SPREAD_LU) << someStretch << " against the main menu's music";
		EXPECT_NEAR(someLoudness.at(HeardSound::BOSS_FIGHT), someLoudness.at(HeardSound::PLAY), LOUDNESS_SPREAD_LU) << "the boss fight against the rest of play";
	}

	// Plays the scripts the order file names in one run, holding it to the milestones in
	// order, and measures what it played (anIsMuted: the scripts mute the sound once).
	void PlayHeldToMilestones(const std::string& anOrderFile, std::string_view aMilestones, bool anIsMuted)
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
		Playthrough::HeardSound someSound;
		const auto Watch = [&](const Playthrough::ScriptedRun& aRun, int aFrame) {
			while (someReached < someMilestones.mySteps.size() && aRun.IsReached(someMilestones.mySteps[someReached].myStage))
				++someReached;
			if (aFrame > 0) // frame 0: before the first, nothing played yet
				someSound.Add(aRun);
		};
		Watch(someRun, 0);
		for (const Playthrough::Script& someScript : someScripts)
		{
			const Playthrough::Outcome someOutcome = someRun.Play(someScript, Watch);
			ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		}
		ASSERT_EQ(someReached, someMilestones.mySteps.size()) << "the scripts end without the game passing \""
			<< someMilestones.mySteps[someReached].myStage.ToText() << "\"; " << someRun.Where();
		const Playthrough::Outcome someMenu = someRun.Play(Playthrough::ParseScript(MENU_MUSIC, "the main menu's music"), Watch);
		ASSERT_TRUE(someMenu.myIsFinished) << someMenu.myReport;
		ExpectHeardWithoutClippingAtOneLoudness(someSound, anIsMuted);
	}

	TEST(Playthrough, TheRecordedScriptsPlayTheWholeGameFromTheIntroToTheMainMenuAgain)
	{
		PlayHeldToMilestones("Playthrough.txt", MILESTONES, false);
	}

	TEST(Playthrough, AClumsyPlayerDiesToEachHarmComesBackStandingAtTheRightCampfireAndPlaysOn)
	{
		PlayHeldToMilestones("Clumsy.txt", CLUMSY_MILESTONES, true);
	}
}
