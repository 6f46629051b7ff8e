#include "Mix.h"

#include "Loudness.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace NorvMedia
{
	namespace
	{
		constexpr double MUSIC_LUFS = -19.0;
		constexpr double AMBIENCE_LUFS = -28.0;
		constexpr double EFFECT_LUFS = -24.0;
		constexpr double FOOTSTEP_LUFS = -28.0;
	}

	LoudnessTarget TargetOf(SoundKind aKind)
	{
		switch (aKind)
		{
		case SoundKind::Music:
		case SoundKind::Cutscene: return { MUSIC_LUFS, false };
		case SoundKind::Ambience: return { AMBIENCE_LUFS, false };
		case SoundKind::Effect: return { EFFECT_LUFS, true };
		case SoundKind::Footstep: return { FOOTSTEP_LUFS, true };
		}
		return { MUSIC_LUFS, false };
	}

	double MeasureLoudness(SoundKind aKind, std::span<const float> aSamples, int aRate)
	{
		return TargetOf(aKind).myIsLoudestMoment ? MaxMomentaryLoudness(aSamples, aRate) : IntegratedLoudness(aSamples, aRate);
	}

	void MixToTarget(Buffer& aSound, SoundKind aKind, const std::string& aName)
	{
		const double someLoudness = MeasureLoudness(aKind, aSound, SOUND_RATE);
		if (someLoudness <= SILENCE_LUFS)
			throw std::runtime_error(aName + " is silent");
		const float someGain = static_cast<float>(std::pow(10.0, (TargetOf(aKind).myLufs - someLoudness) / 20.0));
		for (float& someSample : aSound)
			someSample *= someGain;
		const double somePeak = TruePeakDb(aSound);
		if (somePeak > TRUE_PEAK_CEILING_DB)
		{
			char someMessage[160];
			std::snprintf(someMessage, sizeof(someMessage), " peaks at %.1f dBTP at its loudness, over the ceiling of %.1f dBTP", somePeak, TRUE_PEAK_CEILING_DB);
			throw std::runtime_error(aName + someMessage);
		}
	}
}
