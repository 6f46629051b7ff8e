#pragma once
// The game's mix: every generated sound is scaled to the loudness of its kind, so
// that music, ambience, effects and the cutscenes' sound belong to one game on one
// output. Levels are per output channel (a mono sound plays unchanged on both).
// Ambience sits well under the music; effects, measured over their loudest moment,
// stand out over both, and footsteps, heard all the time, less so. Music peaks
// leave room for the ambience and effects played with it.
#include "Synth.h"

#include <span>
#include <string>

namespace NorvMedia
{
	enum class SoundKind { Music, Cutscene, Ambience, Effect, Footstep };

	struct LoudnessTarget
	{
		double myLufs;
		bool myIsLoudestMoment; // true: the loudest 400 ms (short sounds); false: the whole, gated
	};

	constexpr double TRUE_PEAK_CEILING_DB = -1.0; // dBTP, for every kind

	LoudnessTarget TargetOf(SoundKind aKind);
	// The loudness that TargetOf(aKind) speaks of, measured on aSamples.
	double MeasureLoudness(SoundKind aKind, std::span<const float> aSamples, int aRate);
	// Scales aSound (at SOUND_RATE) to its kind's loudness. Throws std::runtime_error
	// naming aName when the sound would then pass the true-peak ceiling: its recipe
	// is too spiky for the mix and must change, rather than be clipped.
	void MixToTarget(Buffer& aSound, SoundKind aKind, const std::string& aName);
}
