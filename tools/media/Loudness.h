#pragma once
// Loudness of a mono signal as a listener hears it: K-weighted mean power, gated
// over 400 ms blocks (ITU-R BS.1770), and the true peak between the samples,
// found by 4x oversampling. Each output channel of the game carries a mono sound
// unchanged, so a sound's loudness is measured as one channel.
#include <span>

namespace NorvMedia
{
	constexpr double SILENCE_LUFS = -70.0; // the absolute gate; what silence measures

	// Gated loudness of the whole signal, in LUFS.
	double IntegratedLoudness(std::span<const float> aSamples, int aRate);
	// The loudest 400 ms anywhere in the signal, in LUFS; a signal shorter than that
	// counts as padded with silence.
	double MaxMomentaryLoudness(std::span<const float> aSamples, int aRate);
	// The largest magnitude of the band-limited wave through the samples, in dBFS.
	double TruePeakDb(std::span<const float> aSamples);
}
