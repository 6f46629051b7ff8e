#pragma once
// The game's mix: every generated sound is scaled to the loudness of its kind, so
// that music, ambience, effects and the cutscenes' sound belong to one game on one
// output. Levels are per output channel (a mono sound plays unchanged on both).
// Ambience sits well under the music. Effects, measured over their loudest moment,
// stand out over the ambience, and footsteps, heard all the time, less so; as they
// come many a second in a fight, they sit under the music, so that play, effects
// and all, is about as loud as the music alone. A music layer (the boss loop)
// plays over a scene's own music from the boss fight to the ending: it sits well
// under that music, so that the two together are about as loud as one track. A
// sound the game plays louder than its file (PlayedGainDb) is mixed that much
// lower, so that it is heard at its kind's loudness. Music peaks leave room for
// the ambience and effects played with it.
#include "Synth.h"

#include <span>
#include <string>

namespace NorvMedia
{
	enum class SoundKind { Music, MusicLayer, Cutscene, Ambience, Effect, Footstep };

	struct LoudnessTarget
	{
		double myLufs;
		bool myIsLoudestMoment; // true: the loudest 400 ms (short sounds); false: the whole, gated
	};

	constexpr double TRUE_PEAK_CEILING_DB = -1.0; // dBTP, for every kind

	LoudnessTarget TargetOf(SoundKind aKind);
	// How much louder than its file the game plays the sound at aPath (under "SFX/"),
	// heard by the player, in dB: sounds placed in the world are at twice the master
	// volume next to the player, the wasp's sting and damage at twice it anywhere.
	double PlayedGainDb(const std::string& aPath);
	// The loudness the file at aPath is mixed to: its kind's, less its played gain.
	double FileTargetLufs(SoundKind aKind, const std::string& aPath);
	// The loudness that TargetOf(aKind) speaks of, measured on aSamples.
	double MeasureLoudness(SoundKind aKind, std::span<const float> aSamples, int aRate);
	// Scales aSound (at SOUND_RATE), the file at aPath, to FileTargetLufs. Throws
	// std::runtime_error naming aPath when the sound would then pass the true-peak
	// ceiling: its recipe is too spiky for the mix and must change, rather than be clipped.
	void MixToTarget(Buffer& aSound, SoundKind aKind, const std::string& aPath);
}
