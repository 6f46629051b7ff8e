// The whole game played through with the data set and the recorded scripts, in
// one run of the program's own loop: besides each script's own stages, the run
// must pass every milestone of the game in order, so that no script can leave a
// part of the game out. A perfect run, and a new player's clumsy one that dies
// to every harm the game has and comes back at the right campfire each time.
// What each run plays on the sound output is measured as it goes: it never
// clips, and every stretch of it is as loud as the main menu's music.
#include "ScriptedRun.h"

#include "media/AudioManager.h"
#include "world/GameState.h"

#include "Loudness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <numeric>
#include <span>

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

	// What a run's sound output played, measured frame by frame: its true peak and
	// its samples at full scale over the whole run, the gated loudness of the
	// stretches a player tells apart (the main menu, each scene with its videos,
	// the boss fight, and all the play outside it), and what was heard while muted.
	class HeardSound
	{
	public:
		static constexpr const char* MENU = "the main menu";
		static constexpr const char* BOSS_FIGHT = "the boss fight";
		static constexpr const char* PLAY = "the rest of play";

		void Add(const Playthrough::ScriptedRun& aRun)
		{
			myFrame.clear();
			for (const std::int16_t someValue : aRun.GetFrameSound())
			{
				myFullScaleSamples += someValue == INT16_MAX || someValue == INT16_MIN ? 1 : 0;
				myFrame.push_back(static_cast<float>(someValue) / 32768.0f);
			}
			myMeter.Add(myFrame);
			myFrames.push_back(StretchOf(aRun));
			// Muted since the frame before: the limiter's delay holds nothing of before.
			const bool isMuted = AudioManager::IsMuted() || AudioManager::GetMasterVolume() <= 0.0f;
			if (isMuted && myWasMuted)
			{
				++myMutedFrames;
				mySamplesWhileMuted += static_cast<int>(std::count_if(aRun.GetFrameSound().begin(), aRun.GetFrameSound().end(), [](std::int16_t aValue) { return aValue != 0; }));
			}
			myWasMuted = isMuted;
		}

		int GetMutedFrames() const { return myMutedFrames; }
		int GetSamplesWhileMuted() const { return mySamplesWhileMuted; } // not zero

		int GetFullScaleSamples() const { return myFullScaleSamples; }
		double GetTruePeakDb() const { return myMeter.GetTruePeakDb(); }
		double GetSeconds() const { return static_cast<double>(myFrames.size()) * Playthrough::ScriptedRun::FRAME_SECONDS; }

		// The gated loudness of each stretch, from the 400 ms blocks wholly inside it.
		std::map<std::string, double> GetLoudness() const
		{
			// A step (and a block) belongs to a stretch when all its frames do.
			const std::size_t someFramesPerStep = myMeter.GetStepFrames() / Playthrough::ScriptedRun::FRAME_SOUND_FRAMES;
			const std::vector<double>& someSteps = myMeter.GetStepPowers();
			std::vector<Stretch> someStepStretches;
			for (std::size_t someStep = 0; someStep < someSteps.size(); ++someStep)
				someStepStretches.push_back(Common(std::span(myFrames).subspan(someStep * someFramesPerStep, someFramesPerStep)));
			std::map<std::string, std::vector<double>> someBlocks;
			constexpr std::size_t BLOCK = NorvMedia::StreamMeter::STEPS_PER_BLOCK;
			for (std::size_t someEnd = BLOCK; someEnd <= someSteps.size(); ++someEnd)
			{
				const Stretch someStretch = Common(std::span(someStepStretches).subspan(someEnd - BLOCK, BLOCK));
				const double somePower = std::accumulate(someSteps.begin() + static_cast<std::ptrdiff_t>(someEnd - BLOCK), someSteps.begin() + static_cast<std::ptrdiff_t>(someEnd), 0.0) / BLOCK;
				if (!someStretch.myName.empty())
					someBlocks[someStretch.myName].push_back(somePower);
				if (someStretch.myIsPlay)
					someBlocks[PLAY].push_back(somePower);
			}
			std::map<std::string, double> someLoudness;
			for (const auto& [someName, somePowers] : someBlocks)
				someLoudness[someName] = NorvMedia::GatedLoudness(somePowers);
			return someLoudness;
		}

	private:
		struct Stretch
		{
			std::string myName;    // the main menu, a scene, the boss fight; empty for the intro, menus over a level, loading
			bool myIsPlay = false; // a scene played, neither a video over it nor the boss fight

			bool operator==(const Stretch&) const = default;
		};

		static Stretch StretchOf(const Playthrough::ScriptedRun& aRun)
		{
			using Playthrough::Stage;
			const auto IsAt = [&](Stage::Kind aKind, const std::string& aName = {}) {
				Stage someStage;
				someStage.myKind = aKind;
				someStage.myName = aName;
				return aRun.IsReached(someStage);
			};
			if (IsAt(Stage::Kind::Menu))
				return { MENU };
			const GameState* someState = GameState::GetInstance();
			if (!someState || !someState->IsLevelLoaded())
				return {};
			const std::string someScene = std::filesystem::path(someState->myScenePath).stem().string();
			if (IsAt(Stage::Kind::Cutscene))
				return { someScene };
			if (IsAt(Stage::Kind::BossFight))
				return { BOSS_FIGHT };
			return IsAt(Stage::Kind::Scene, someScene) ? Stretch{ someScene, true } : Stretch{};
		}

		// What all of aStretches share: their stretch, or none.
		static Stretch Common(std::span<const Stretch> aStretches)
		{
			const bool isOne = std::all_of(aStretches.begin(), aStretches.end(), [&](const Stretch& aStretch) { return aStretch == aStretches.front(); });
			return isOne ? aStretches.front() : Stretch{};
		}

		NorvMedia::StreamMeter myMeter{ Platform::AUDIO_DEVICE_RATE_HZ, 2 };
		std::vector<Stretch> myFrames; // each frame's
		std::vector<float> myFrame;
		int myFullScaleSamples = 0;
		bool myWasMuted = false;
		int myMutedFrames = 0;
		int mySamplesWhileMuted = 0;
	};

	// No sample at full scale, the true peak under the ceiling, every scene and the
	// boss fight as loud as the main menu's music, the boss fight as the rest of
	// play, and exact silence while muted (when anIsMuted: the run mutes the sound).
	void ExpectHeardWithoutClippingAtOneLoudness(const HeardSound& aSound, bool anIsMuted)
	{
		const std::map<std::string, double> someLoudness = aSound.GetLoudness();
		std::printf("Sound output over %.0f s: true peak %.2f dBTP, %d samples at full scale, %d frames muted\n", aSound.GetSeconds(), aSound.GetTruePeakDb(), aSound.GetFullScaleSamples(), aSound.GetMutedFrames());
		EXPECT_EQ(aSound.GetMutedFrames() > 0, anIsMuted);
		EXPECT_EQ(aSound.GetSamplesWhileMuted(), 0) << "sound while muted";
		for (const auto& [someStretch, someLufs] : someLoudness)
			std::printf("  %-20s %6.1f LUFS\n", someStretch.c_str(), someLufs);
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
		HeardSound someSound;
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
