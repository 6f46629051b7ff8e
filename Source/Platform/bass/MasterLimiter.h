#pragma once
// The limiter on the master sum of the process's sound: what the master bus of a
// game's mixer does so that any number of sounds played at once never clips.
// It looks ahead: the sound leaves DELAY_FRAMES late, and the gain for a peak
// has ramped down smoothly by the time that peak leaves; it is held a moment,
// then recovers slowly. Peaks are found between the samples too (4x
// oversampling), so the wave a converter rebuilds stays under the ceiling.
// Sound that stays under the ceiling leaves untouched (a gain of exactly 1), and
// silence leaves exactly silent. Both sides of a stereo frame share one gain, so
// nothing moves in the stereo picture. Everything it needs is held inside: no
// allocation, no lock, and the same input always gives the same output.
#include "bass/AudioDevice.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace Platform
{
	class MasterLimiter
	{
	public:
		// The highest true peak that leaves (-1 dBTP less a margin for the 16-bit
		// rounding after it and for meters that interpolate with longer filters).
		static constexpr double CEILING_DBTP = -1.5;
		// How far ahead a peak is seen: the length of the gain's ramp down.
		static constexpr int LOOKAHEAD_FRAMES = AUDIO_DEVICE_RATE_HZ * 3 / 1000;      // 3 ms
		// How long the gain stays down after a peak, so that it does not follow
		// each cycle of a low tone (no distortion, no pumping), before recovering.
		static constexpr int HOLD_FRAMES = AUDIO_DEVICE_RATE_HZ * 20 / 1000;          // 20 ms
		static constexpr double RELEASE_SECONDS = 0.15; // time constant of the recovery
		static constexpr int INTERPOLATION_HALF_TAPS = 8; // samples each side of a point between two
		// How late a frame leaves.
		static constexpr int DELAY_FRAMES = INTERPOLATION_HALF_TAPS + LOOKAHEAD_FRAMES - 1;

		MasterLimiter();

		// Limits aFrameCount interleaved stereo frames (full scale 1.0) in place:
		// each written frame is the one given DELAY_FRAMES frames earlier.
		void Process(float* aFrames, std::size_t aFrameCount);
		// Forgets every frame given: what follows starts from silence at unity gain.
		void Reset();

	private:
		static constexpr int OVERSAMPLING = 4;
		static constexpr int TAPS = 2 * INTERPOLATION_HALF_TAPS;
		static constexpr std::size_t RING_FRAMES = 1024; // a power of two past every window below
		static constexpr std::size_t RING_MASK = RING_FRAMES - 1;
		static_assert(DELAY_FRAMES + TAPS < static_cast<int>(RING_FRAMES) && LOOKAHEAD_FRAMES + HOLD_FRAMES < static_cast<int>(RING_FRAMES));

		struct Frame
		{
			float myLeft = 0.0f;
			float myRight = 0.0f;
		};

		// One frame in, the frame DELAY_FRAMES back out.
		Frame ProcessFrame(Frame aFrame);
		// The largest magnitude of the wave between frame aFirst and the next, on either side.
		float PeakBetween(std::uint64_t aFirst) const;
		// Adds the gain that frame aFrame needs to the sliding minimum over the hold window.
		float HeldGain(std::uint64_t aFrame, float aNeeded);

		std::array<std::array<float, TAPS>, OVERSAMPLING> myTaps{};
		float myCeiling;
		float myReleaseFactor;

		std::uint64_t myCount = 0; // frames given so far
		std::array<Frame, RING_FRAMES> myInput{};
		float myLastPeakBetween = 0.0f;
		// The sliding minimum: frames in order, each with a gain below every later one's.
		std::array<std::uint64_t, RING_FRAMES> myMinimumFrames{};
		std::array<float, RING_FRAMES> myMinimumGains{};
		std::size_t myMinimumFirst = 0;
		std::size_t myMinimumEnd = 0;
		float myReduction = 0.0f; // 1 - the gain held and released, before the ramp
		// The latest reductions over the look-ahead, averaged into the gain.
		std::array<float, RING_FRAMES> myReductions{};
		double myReductionSum = 0.0;
		int myReducedCount = 0; // how many of them are not 0
	};
}
