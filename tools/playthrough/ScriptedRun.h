#pragma once
// The whole game run in-process, headless, one frame at a time at a fixed frame
// time: the program's own start-up and frame loop (intro, menus, play state),
// input fed as injected gamepad readings, the engine's clock moved by hand so
// nothing ever waits for real time, and the sound output pulled by hand, a
// frame's worth after each frame, so that a run hears its sound at the game's pace.
// Scripts are played on it one after another, each stalling with a report of
// where the game stands.
#include "PlayScript.h"

#include "shell/Go.h"

#include "bass/AudioDevice.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>

class Player;

namespace Playthrough
{
	struct RunOptions
	{
		// Where scenes and object definitions come from; empty: the game's data set.
		std::filesystem::path myGameAssets;
		unsigned myWidth = 640;
		unsigned myHeight = 360;
		// Every how many frames the game is drawn (1: all); the game's state does
		// not depend on it, a run's speed does: most of a frame is drawing.
		int myDrawEvery = 1;
		std::set<int> myDrawnFrames; // drawn whatever myDrawEvery says
		// The scene the main menu's "Level Select" plays, by name ("TestLevel"); empty: the hub.
		std::string myLevelSelectScene;
	};

	struct Outcome
	{
		bool myIsFinished = false; // every stage was reached and every line played
		std::string myReport;      // why not: the script line, the stage and where the game stands
	};

	class ScriptedRun
	{
	public:
		static constexpr std::int64_t COUNTER_FREQUENCY = 60; // one count a frame
		static constexpr float FRAME_SECONDS = 1.0f / COUNTER_FREQUENCY;
		static constexpr std::size_t FRAME_SOUND_FRAMES = Platform::AUDIO_DEVICE_RATE_HZ / COUNTER_FREQUENCY; // stereo frames a frame
		static_assert(Platform::AUDIO_DEVICE_RATE_HZ % COUNTER_FREQUENCY == 0);

		// After each frame: the run and its frame number, counted from 1.
		using FrameObserver = std::function<void(const ScriptedRun&, int aFrame)>;

		// Writes the run's own executable folder and settings and starts the game;
		// see IsStarted.
		explicit ScriptedRun(const RunOptions& anOptions = {});
		~ScriptedRun();
		ScriptedRun(const ScriptedRun&) = delete;
		ScriptedRun& operator=(const ScriptedRun&) = delete;

		bool IsStarted() const { return myIsStarted; }
		// Plays aScript from the current frame on.
		Outcome Play(const Script& aScript, const FrameObserver& anObserver = {});
		// One frame of the game with aHeld down, drawn or not as the options say;
		// false once the game loop has ended.
		bool Frame(ActionMask aHeld);

		// aFrame (a later one) is drawn whatever the options say.
		void DrawFrame(int aFrame) { myOptions.myDrawnFrames.insert(aFrame); }

		bool IsReached(const Stage& aStage) const;
		// The frame, the state on top, the scene and the player's position, in a line.
		std::string Where() const;
		int GetFrame() const { return myFrame; }
		// What the sound output played during the last frame: interleaved 16-bit stereo
		// at the device's rate, as the device would have played it.
		std::span<const std::int16_t> GetFrameSound() const { return mySound; }
		// The level's player while the play state holds one.
		const Player* GetPlayer() const;
		Game::Session& GetSession() const { return *mySession; }

	private:
		std::filesystem::path myFolder;        // the run's root; the executable's folder is its "Bin"
		std::filesystem::path myWorkingFolder; // the process's, given back at the end
		// Once a frame: the scene whose level has shown a live boss.
		void WatchBoss();

		RunOptions myOptions;
		std::string myBossScene; // the scene in which a live boss was last seen
		std::int64_t myCounter = 0;
		int myFrame = 0;
		std::array<std::int16_t, FRAME_SOUND_FRAMES * 2> mySound{};
		bool myIsStarted = false;
		bool myIsEnded = false;
		std::unique_ptr<Game::Session> mySession;
	};
}
