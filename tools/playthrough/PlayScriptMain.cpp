// Plays input scripts on the whole game, headless, and prints where the player
// is every so many frames, so that a level's script can be written a few lines
// at a time; takes screenshots of chosen frames; measures the sound it played.
//
//   NorvPlayScript [--every N] [--size WxH] [--draw-every N] [--game FOLDER] [--level-select SCENE]
//                  [--shot FRAME FILE.png]... [--shot-when STAGE DELAY FILE.png]... [--sound]
//                  [--loop-seconds N --restart SCRIPT] SCRIPT...
#include "HeardSound.h"
#include "Loops.h"
#include "ScriptedRun.h"

#include "FileOutput.h"
#include "Support/ReadBack.h"

#include "graphics/DX11.h"
#include "world/entities/Player.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace
{
	constexpr int DEFAULT_EVERY_FRAMES = 60;

	// A screenshot so many frames after a stage first holds.
	struct StageShot
	{
		Playthrough::Stage myStage;
		int myDelay = 0;
		std::string myFile;
		int myFrame = -1; // once the stage has held: the frame of the shot
	};

	struct Arguments
	{
		int myEvery = DEFAULT_EVERY_FRAMES;
		Playthrough::RunOptions myOptions;
		std::map<int, std::string> myShots; // frame -> PNG file
		std::vector<StageShot> myStageShots;
		std::vector<std::string> myScripts;
		int myLoopSeconds = 0;     // 0: one pass
		std::string myRestart;     // a later pass's first script
		bool myIsSoundMeasured = false;
	};

	void PrintUsage()
	{
		std::fprintf(stderr, "usage: NorvPlayScript [--every N] [--size WxH] [--draw-every N] [--game FOLDER] [--level-select SCENE]\n"
			"                      [--shot FRAME FILE.png]... [--shot-when STAGE DELAY FILE.png]... [--sound]\n"
			"                      [--loop-seconds N --restart SCRIPT] SCRIPT...\n"
			"  Plays the scripts one after another from the start of the game and prints the\n"
			"  player's position every N frames (default %d; 0: never) and at every stall.\n"
			"  --draw-every N draws only every Nth frame (faster; the run is the same).\n"
			"  --game FOLDER reads scenes and definitions from FOLDER; --level-select SCENE\n"
			"  makes the main menu's \"Level Select\" play scenes/SCENE.nvs instead of the hub.\n"
			"  --shot writes the frame FRAME as a PNG; --shot-when the frame DELAY frames after\n"
			"  the one in which STAGE (a script's stage, e.g. \"scene Level_1\") first holds;\n"
			"  the frames between are all drawn.\n"
			"  --sound measures the sound output as it plays and prints, at the end, its true\n"
			"  peak, its samples at full scale and the loudness of each stretch (the main menu,\n"
			"  each scene, the boss fight, the rest of play).\n"
			"  --loop-seconds N plays the scripts again, with the --restart script in place of\n"
			"  the first, until N seconds have passed; prints each pass's frames, seconds and\n"
			"  resident memory.\n", DEFAULT_EVERY_FRAMES);
	}

	bool ReadInt(const char* aText, int& anOut)
	{
		const std::string_view someText(aText);
		const auto [someEnd, someError] = std::from_chars(someText.data(), someText.data() + someText.size(), anOut);
		return someError == std::errc() && someEnd == someText.data() + someText.size() && anOut >= 0;
	}

	bool ReadArguments(int aCount, char** someValues, Arguments& anOut)
	{
		for (int i = 1; i < aCount; ++i)
		{
			const std::string someArgument = someValues[i];
			const bool hasValue = i + 1 < aCount;
			if (someArgument == "--every" && hasValue)
			{
				if (!ReadInt(someValues[++i], anOut.myEvery))
					return false;
			}
			else if (someArgument == "--size" && hasValue)
			{
				unsigned someWidth = 0, someHeight = 0;
				if (std::sscanf(someValues[++i], "%ux%u", &someWidth, &someHeight) != 2 || someWidth < 16 || someHeight < 16 || someWidth > 8192 || someHeight > 8192)
					return false;
				anOut.myOptions.myWidth = someWidth;
				anOut.myOptions.myHeight = someHeight;
			}
			else if (someArgument == "--draw-every" && hasValue)
			{
				if (!ReadInt(someValues[++i], anOut.myOptions.myDrawEvery) || anOut.myOptions.myDrawEvery == 0)
					return false;
			}
			else if (someArgument == "--game" && hasValue)
				anOut.myOptions.myGameAssets = someValues[++i];
			else if (someArgument == "--level-select" && hasValue)
				anOut.myOptions.myLevelSelectScene = someValues[++i];
			else if (someArgument == "--shot" && i + 2 < aCount)
			{
				int someFrame = 0;
				if (!ReadInt(someValues[++i], someFrame) || someFrame == 0)
					return false;
				anOut.myShots[someFrame] = someValues[++i];
				anOut.myOptions.myDrawnFrames.insert(someFrame);
			}
			else if (someArgument == "--shot-when" && i + 3 < aCount)
			{
				StageShot someShot;
				const Playthrough::Script someStage = Playthrough::ParseScript(std::string("expect ") + someValues[++i], "--shot-when");
				if (!ReadInt(someValues[++i], someShot.myDelay))
					return false;
				someShot.myStage = someStage.mySteps.at(0).myStage;
				someShot.myFile = someValues[++i];
				anOut.myStageShots.push_back(someShot);
			}
			else if (someArgument == "--loop-seconds" && hasValue)
			{
				if (!ReadInt(someValues[++i], anOut.myLoopSeconds))
					return false;
			}
			else if (someArgument == "--restart" && hasValue)
				anOut.myRestart = someValues[++i];
			else if (someArgument == "--sound")
				anOut.myIsSoundMeasured = true;
			else if (someArgument.starts_with("--"))
				return false;
			else
				anOut.myScripts.push_back(someArgument);
		}
		return !anOut.myScripts.empty() && (anOut.myLoopSeconds == 0) == anOut.myRestart.empty();
	}

	// The frame just drawn, as an RGBA PNG.
	bool WriteScreenshot(const std::string& aFile)
	{
		const NorvTest::Frame someFrame = NorvTest::ReadBackFrame(Norv::DX11::ourDevice, Norv::DX11::ourContext, Norv::DX11::ourSwapChain);
		if (someFrame.myRgba.empty())
			return false;
		try
		{
			NorvMedia::WriteFileAtomically(aFile, NorvMedia::EncodePng(static_cast<int>(someFrame.myWidth), static_cast<int>(someFrame.myHeight), someFrame.myRgba));
		}
		catch (const std::exception& anError)
		{
			std::fprintf(stderr, "%s: %s\n", aFile.c_str(), anError.what());
			return false;
		}
		return true;
	}
}

int main(int aCount, char** someValues)
{
	Arguments someArguments;
	try
	{
		if (!ReadArguments(aCount, someValues, someArguments))
		{
			PrintUsage();
			return 2;
		}
	}
	catch (const Playthrough::ScriptError& anError)
	{
		std::fprintf(stderr, "%s\n", anError.what());
		return 2;
	}
	// A line at a time, so that a long run shows where it is while it runs.
	std::setvbuf(stdout, nullptr, _IOLBF, 0);
	// Headless unless told otherwise, and silent.
	setenv("SDL_VIDEODRIVER", "offscreen", 0);
	setenv("SDL_AUDIODRIVER", "dummy", 0);

	std::vector<Playthrough::Script> someScripts;
	Playthrough::Script someRestart;
	try
	{
		for (const std::string& someFile : someArguments.myScripts)
			someScripts.push_back(Playthrough::LoadScript(someFile));
		if (!someArguments.myRestart.empty())
			someRestart = Playthrough::LoadScript(someArguments.myRestart);
	}
	catch (const Playthrough::ScriptError& anError)
	{
		std::fprintf(stderr, "%s\n", anError.what());
		return 2;
	}

	Playthrough::ScriptedRun someRun(someArguments.myOptions);
	if (!someRun.IsStarted())
	{
		std::fprintf(stderr, "The game did not start.\n");
		return 1;
	}
	bool areShotsWritten = true;
	const auto Shoot = [&](const std::string& aFile) {
		const bool isWritten = WriteScreenshot(aFile);
		std::printf("frame %d: %s %s\n", someRun.GetFrame(), aFile.c_str(), isWritten ? "written" : "NOT written");
		areShotsWritten = areShotsWritten && isWritten;
	};
	Playthrough::HeardSound someSound;
	const auto Observe = [&](const Playthrough::ScriptedRun& aRun, int aFrame) {
		if (someArguments.myIsSoundMeasured)
			someSound.Add(aRun);
		if (someArguments.myEvery > 0 && aFrame % someArguments.myEvery == 0)
			std::printf("%s\n", aRun.Where().c_str());
		if (const auto someShot = someArguments.myShots.find(aFrame); someShot != someArguments.myShots.end())
			Shoot(someShot->second);
		for (StageShot& someShot : someArguments.myStageShots)
		{
			if (someShot.myFrame == aFrame)
				Shoot(someShot.myFile);
			else if (someShot.myFrame < 0 && aRun.IsReached(someShot.myStage))
			{
				// Every frame up to the shot is drawn, so that what fades as it is drawn
				// (the loading screen) has faded as it would have in the game.
				someShot.myFrame = aFrame + std::max(someShot.myDelay, 1);
				for (int someFrame = aFrame + 1; someFrame <= someShot.myFrame; ++someFrame)
					someRun.DrawFrame(someFrame);
			}
		}
	};
	Playthrough::LoopObservers someObservers;
	someObservers.myFrame = Observe;
	someObservers.myScript = [&](const Playthrough::Script& aScript) {
		std::printf("finished %s: %s\n", aScript.myName.c_str(), someRun.Where().c_str());
	};
	const auto someStart = std::chrono::steady_clock::now();
	someObservers.myPass = [&](const Playthrough::Pass& aPass) {
		if (someArguments.myLoopSeconds == 0)
			return false;
		std::printf("loop %d: frames %d, seconds %.1f, RSS MB %.1f\n", aPass.myLoop, aPass.myFrames, aPass.mySeconds,
			static_cast<double>(Playthrough::ResidentBytes()) / (1024.0 * 1024.0));
		return std::chrono::steady_clock::now() - someStart < std::chrono::seconds(someArguments.myLoopSeconds);
	};
	const Playthrough::Outcome someOutcome = Playthrough::PlayLoops(someRun, someScripts, someRestart, someObservers);
	if (someArguments.myIsSoundMeasured)
		someSound.Print(stdout);
	if (!someOutcome.myIsFinished)
	{
		std::printf("STALLED %s\n", someOutcome.myReport.c_str());
		return 1;
	}
	for (const StageShot& someShot : someArguments.myStageShots)
		if (someShot.myFrame < 0 || someShot.myFrame > someRun.GetFrame())
		{
			std::printf("%s NOT written: \"%s\" did not hold %d frames before the end\n", someShot.myFile.c_str(), someShot.myStage.ToText().c_str(), someShot.myDelay);
			areShotsWritten = false;
		}
	return areShotsWritten ? 0 : 1;
}
