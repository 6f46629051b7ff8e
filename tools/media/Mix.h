#pragma once
// The game's mix: every generated sound is scaled to the loudness of its kind, so
// music, ambience, effects and the cutscenes' sound sit together at one level on
// the same output. Levels are per output channel (a mono sound plays unchanged on
// both). Music and cutscenes play through the ambience beneath them; effects stand
// out over both, footsteps, heard all the time, a little less.
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
