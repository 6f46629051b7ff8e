#pragma once
// What a scripted run's sound output played, measured frame by frame as the run
// goes: its true peak and its samples at full scale over the whole run, the gated
// loudness of the stretches a player tells apart (the main menu, each scene with
// its videos, the boss fight, and all the play outside it), and what was heard
// while the sound was muted.
#include "ScriptedRun.h"

#include "Loudness.h"

#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace Playthrough
{
	class HeardSound
	{
	public:
		static constexpr const char* MENU = "the main menu";
		static constexpr const char* BOSS_FIGHT = "the boss fight";
		static constexpr const char* PLAY = "the rest of play";

		// The frame aRun has just played.
		void Add(const ScriptedRun& aRun);

		int GetFullScaleSamples() const { return myFullScaleSamples; }
		double GetTruePeakDb() const { return myMeter.GetTruePeakDb(); }
		double GetSeconds() const;
		// Frames muted since the frame before them, and their samples that were not 0.
		int GetMutedFrames() const { return myMutedFrames; }
		int GetSamplesWhileMuted() const { return mySamplesWhileMuted; }
		// The gated loudness of each stretch heard (a scene by its name), in LUFS,
		// from the 400 ms blocks wholly inside it.
		std::map<std::string, double> GetLoudness() const;
		// All of the above, a line each.
		void Print(std::FILE* aFile) const;

	private:
		struct Stretch
		{
			std::string myName;    // the main menu, a scene, the boss fight; empty for the intro, menus over a level, loading
			bool myIsPlay = false; // a scene played, neither a video over it nor the boss fight

			bool operator==(const Stretch&) const = default;
		};

		static Stretch StretchOf(const ScriptedRun& aRun);
		// What all of aStretches share: their stretch, or none.
		static Stretch Common(std::span<const Stretch> aStretches);

		NorvMedia::StreamMeter myMeter{ Platform::AUDIO_DEVICE_RATE_HZ, 2 };
		std::vector<Stretch> myFrames; // each frame's
		std::vector<float> myFrame;
		int myFullScaleSamples = 0;
		bool myWasMuted = false;
		int myMutedFrames = 0;
		int mySamplesWhileMuted = 0;
	};
}
