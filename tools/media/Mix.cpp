#include "Mix.h"

#include "Loudness.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string_view>

namespace NorvMedia
{
	namespace
	{
		constexpr double MUSIC_LUFS = -19.0;
		constexpr double MUSIC_LAYER_LUFS = -31.0;
		constexpr double AMBIENCE_LUFS = -28.0;
		constexpr double EFFECT_LUFS = -27.0;
		constexpr double FOOTSTEP_LUFS = -31.0;

		constexpr double TWICE_DB = 6.0206; // 20 log10(2)
		// The files (or folders, ending in '/') the game plays at twice the master volume.
		constexpr std::string_view PLAYED_TWICE_AS_LOUD[] = {
			"SFX/campfire/campfire_idle_loop.wav",    // placed in the world
			"SFX/book/book_idle_chime_loop.wav",      // placed in the world
			"SFX/wasp/wasp_idle_loop.wav",            // placed in the world
			"SFX/hedgehog_mob/hedgehog_mob_footstep/", // placed in the world
			"SFX/mushroom/mushroom_action_footstep/", // placed in the world
			"SFX/wasp/wasp_attack/wasp_attack_sting_4.wav",
			"SFX/wasp/wasp_damage/wasp_damage_5.wav",
		};
	}

	LoudnessTarget TargetOf(SoundKind aKind)
	{
		switch (aKind)
		{
		case SoundKind::Music:
		case SoundKind::Cutscene: return { MUSIC_LUFS, false };
		case SoundKind::MusicLayer: return { MUSIC_LAYER_LUFS, false };
		case SoundKind::Ambience: return { AMBIENCE_LUFS, false };
		case SoundKind::Effect: return { EFFECT_LUFS, true };
		case SoundKind::Footstep: return { FOOTSTEP_LUFS, true };
		}
		return { MUSIC_LUFS, false };
	}

	double PlayedGainDb(const std::string& aPath)
	{
		const bool isLouder = std::any_of(std::begin(PLAYED_TWICE_AS_LOUD), std::end(PLAYED_TWICE_AS_LOUD), [&](std::string_view anEntry) {
			return anEntry.ends_with('/') ? aPath.starts_with(anEntry) : aPath == anEntry;
		});
		return isLouder ? TWICE_DB : 0.0;
	}

	double FileTargetLufs(SoundKind aKind, const std::string& aPath)
	{
		return TargetOf(aKind).myLufs - PlayedGainDb(aPath);
	}

	double MeasureLoudness(SoundKind aKind, std::span<const float> aSamples, int aRate)
	{
		return TargetOf(aKind).myIsLoudestMoment ? MaxMomentaryLoudness(aSamples, aRate) : IntegratedLoudness(aSamples, aRate);
	}

	void MixToTarget(Buffer& aSound, SoundKind aKind, const std::string& aPath)
	{
		const double someLoudness = MeasureLoudness(aKind, aSound, SOUND_RATE);
		if (someLoudness <= SILENCE_LUFS)
			throw std::runtime_error(aPath + " is silent");
		const float someGain = static_cast<float>(std::pow(10.0, (FileTargetLufs(aKind, aPath) - someLoudness) / 20.0));
		for (float& someSample : aSound)
			someSample *= someGain;
		const double somePeak = TruePeakDb(aSound);
		if (somePeak > TRUE_PEAK_CEILING_DB)
		{
			char someMessage[160];
			std::snprintf(someMessage, sizeof(someMessage), " peaks at %.1f dBTP at its loudness, over the ceiling of %.1f dBTP", somePeak, TRUE_PEAK_CEILING_DB);
			throw std::runtime_error(aPath + someMessage);
		}
	}
}
