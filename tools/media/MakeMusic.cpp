// Writes the game's music loops under <data>/SFX/. Usage: NorvMakeMusic <data folder>
#include "FileOutput.h"
#include "Mix.h"
#include "Tunes.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

using namespace NorvMedia;

namespace
{
	struct Track
	{
		std::string myPath;
		TuneStyle myStyle;
		SoundKind myKind = SoundKind::Music;
	};

	std::vector<Track> Tracks()
	{
		// { tonic, minor, bpm, chords, bars, voice, drums, driving bass, pad cutoff, seed }
		return {
			{ "SFX/music_menu_loop.wav", { 60, false, 92.0, { 0, 5, 3, 4 }, 16, MelodyVoice::MusicBox, false, false, 1400.0, 11 } },
			{ "SFX/music/music_forrest/music_forrest_loop.wav", { 67, false, 112.0, { 0, 4, 5, 3 }, 16, MelodyVoice::Flute, true, false, 1600.0, 12 } },
			{ "SFX/music/music_lullaby/music_lullaby.wav", { 65, false, 72.0, { 0, 3, 0, 4 }, 12, MelodyVoice::MusicBox, false, false, 900.0, 13 } },
			{ "SFX/music/music_cave/music_cave_loop.wav", { 57, true, 84.0, { 0, 6, 5, 6 }, 16, MelodyVoice::Harp, false, false, 700.0, 14 } },
			{ "SFX/music/music_sad_forrest/music_sad_forrest_loop.wav", { 62, true, 70.0, { 0, 5, 2, 6 }, 12, MelodyVoice::Flute, false, false, 800.0, 15 } },
			// Played over the cave's music from the boss fight on, and over every scene's after it.
			{ "SFX/music/music_boss/music_boss_loop.wav", { 64, true, 140.0, { 0, 5, 6, 0 }, 24, MelodyVoice::Harp, true, true, 2200.0, 16 }, SoundKind::MusicLayer },
		};
	}
}

int main(int anArgumentCount, char** anArguments)
{
	if (anArgumentCount != 2)
	{
		std::fprintf(stderr, "usage: NorvMakeMusic <data folder>\n");
		return 2;
	}
	const std::filesystem::path someFolder = anArguments[1];
	try
	{
		for (const Track& someTrack : Tracks())
		{
			Buffer someTune = ComposeTune(someTrack.myStyle);
			MixToTarget(someTune, someTrack.myKind, someTrack.myPath);
			WriteFileAtomically(someFolder / someTrack.myPath, EncodeWav(someTune, SOUND_RATE));
		}
	}
	catch (const std::exception& anError)
	{
		std::fprintf(stderr, "NorvMakeMusic: %s\n", anError.what());
		return 1;
	}
	return 0;
}
