#pragma once
// Composes the game's loops: chords on a pad, a bass line, a melody in an
// A A B A form and, for the lively styles, light drums. The melody is drawn from
// a seeded generator, so a style always gives the same tune.
#include "Synth.h"

#include <cstdint>
#include <vector>

namespace NorvMedia
{
	enum class MelodyVoice { Flute, Harp, MusicBox };

	struct TuneStyle
	{
		int myTonic = 60;            // MIDI note of the key's tonic
		bool myIsMinor = false;
		double myBeatsPerMinute = 100.0;
		std::vector<int> myChords;   // scale degrees (0 = tonic), one a bar, repeated
		int myBarCount = 16;         // a multiple of 4
		MelodyVoice myVoice = MelodyVoice::Flute;
		bool myHasDrums = false;
		bool myHasDrivingBass = false; // eighth notes instead of half notes
		double myPadCutoffHz = 1200.0;
		std::uint32_t mySeed = 1;
	};

	double TuneLength(const TuneStyle& aStyle);
	// Exactly TuneLength seconds, and seamless when looped (tails wrap onto the start).
	Buffer ComposeTune(const TuneStyle& aStyle);
}
