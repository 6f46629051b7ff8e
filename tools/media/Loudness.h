#pragma once
// Loudness of a mono signal as a listener hears it: K-weighted mean power, gated
// over 400 ms blocks (ITU-R BS.1770), and the true peak between the samples,
// found by 4x oversampling. Each output channel of the game carries a mono sound
// unchanged, so a sound's loudness is measured as one channel. A long stream of
// several channels (the game's output) is measured as it arrives, in 100 ms steps.
#include <array>
#include <cstddef>
#include <span>
#include <vector>

namespace NorvMedia
{
	constexpr double SILENCE_LUFS = -70.0; // the absolute gate; what silence measures

	// Gated loudness of the whole signal, in LUFS.
	double IntegratedLoudness(std::span<const float> aSamples, int aRate);
	// Gated loudness, in LUFS, of 400 ms blocks given as their K-weighted mean powers.
	double GatedLoudness(std::span<const double> aBlockPowers);
	// The loudest 400 ms anywhere in the signal, in LUFS; a signal shorter than that
	// counts as padded with silence.
	double MaxMomentaryLoudness(std::span<const float> aSamples, int aRate);
	// The largest magnitude of the band-limited wave through the samples, in dBFS.
	double TruePeakDb(std::span<const float> aSamples);

	// The true peak of one channel of a stream given a part at a time, silence around it.
	class TruePeakMeter
	{
	public:
		TruePeakMeter();
		void Add(float aSample);
		// The largest magnitude so far, in dBFS, the wave included as it dies away after the last sample.
		double GetDb() const;

	private:
		static constexpr int HALF_TAPS = 12; // input samples each side of an interpolated point
		static constexpr std::size_t TAPS = 2 * HALF_TAPS;
		// The latest TAPS samples, twice over so that they read in one run: the newest
		// at myNewest and at myNewest + TAPS.
		std::array<double, 2 * TAPS> myHistory{};
		std::size_t myNewest = 0;
		double myPeak = 0.0;

		// The peak of the wave around the sample HALF_TAPS before the newest.
		double PeakAtMiddle() const;
	};

	// A stream of interleaved frames of aChannels channels measured as it arrives:
	// the K-weighted power of each 100 ms step (the channels' powers summed, as a
	// meter sums a stereo programme; four steps make a 400 ms gating block) and the
	// true peak of every channel.
	class StreamMeter
	{
	public:
		static constexpr double STEP_SECONDS = 0.1;
		static constexpr std::size_t STEPS_PER_BLOCK = 4;

		StreamMeter(int aRate, int aChannels);
		~StreamMeter();
		StreamMeter(const StreamMeter&) = delete;
		StreamMeter& operator=(const StreamMeter&) = delete;

		// Whole frames only.
		void Add(std::span<const float> aFrames);
		// The mean power of every step completed so far, in order.
		const std::vector<double>& GetStepPowers() const { return myStepPowers; }
		std::size_t GetStepFrames() const { return myStepFrames; }
		// The highest true peak of any channel so far, in dBFS (dBTP).
		double GetTruePeakDb() const;

	private:
		struct Channel;

		int myChannels;
		std::size_t myStepFrames;
		std::vector<Channel> myChannelMeters;
		std::vector<double> myStepPowers;
		double myStepSum = 0.0;
		std::size_t myFramesInStep = 0;
	};
}
