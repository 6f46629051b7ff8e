#include "bass/MasterLimiter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Platform
{
	namespace
	{
		// A reduction this small (under -0.001 dB, unheard) counts as recovered: the gain is 1 again.
		constexpr float RECOVERED_REDUCTION = 1e-4f;
	}

	MasterLimiter::MasterLimiter()
		: myCeiling(static_cast<float>(std::pow(10.0, CEILING_DBTP / 20.0)))
		, myReleaseFactor(static_cast<float>(std::exp(-1.0 / (RELEASE_SECONDS * AUDIO_DEVICE_RATE_HZ))))
	{
		// A Hann-windowed sinc for each point between two samples, each summing to 1.
		for (int p = 1; p < OVERSAMPLING; ++p)
		{
			double someSum = 0.0;
			for (int n = 0; n < TAPS; ++n)
			{
				const double t = static_cast<double>(n - INTERPOLATION_HALF_TAPS) + static_cast<double>(p) / OVERSAMPLING;
				const double someTap = std::sin(std::numbers::pi * t) / (std::numbers::pi * t) * (0.5 + 0.5 * std::cos(std::numbers::pi * t / INTERPOLATION_HALF_TAPS));
				myTaps[p][n] = static_cast<float>(someTap);
				someSum += someTap;
			}
			for (float& someTap : myTaps[p])
				someTap = static_cast<float>(someTap / someSum);
		}
		Reset();
	}

	void MasterLimiter::Reset()
	{
		// Counting starts past the ring's length, so that every frame before the
		// first is one of the ring's silent ones.
		myCount = RING_FRAMES;
		myInput.fill({});
		myLastPeakBetween = 0.0f;
		myMinimumFirst = 0;
		myMinimumEnd = 0;
		myReduction = 0.0f;
		myReductions.fill(0.0f);
		myReductionSum = 0.0;
		myReducedCount = 0;
	}

	void MasterLimiter::Process(float* aFrames, std::size_t aFrameCount)
	{
		for (std::size_t i = 0; i < aFrameCount; ++i)
		{
			const Frame someOut = ProcessFrame({ aFrames[i * 2], aFrames[i * 2 + 1] });
			aFrames[i * 2] = someOut.myLeft;
			aFrames[i * 2 + 1] = someOut.myRight;
		}
	}

	float MasterLimiter::PeakBetween(std::uint64_t aFirst) const
	{
		const Frame& someFirst = myInput[aFirst & RING_MASK];
		const Frame& someSecond = myInput[(aFirst + 1) & RING_MASK];
		float somePeak = std::max({ std::abs(someFirst.myLeft), std::abs(someFirst.myRight), std::abs(someSecond.myLeft), std::abs(someSecond.myRight) });
		// Tap n weighs the frame INTERPOLATION_HALF_TAPS - n after aFirst.
		for (int p = 1; p < OVERSAMPLING; ++p)
		{
			float someLeft = 0.0f;
			float someRight = 0.0f;
			for (int n = 0; n < TAPS; ++n)
			{
				const Frame& someFrame = myInput[(aFirst + INTERPOLATION_HALF_TAPS - static_cast<std::uint64_t>(n)) & RING_MASK];
				someLeft += myTaps[p][n] * someFrame.myLeft;
				someRight += myTaps[p][n] * someFrame.myRight;
			}
			somePeak = std::max({ somePeak, std::abs(someLeft), std::abs(someRight) });
		}
		return somePeak;
	}

	float MasterLimiter::HeldGain(std::uint64_t aFrame, float aNeeded)
	{
		while (myMinimumEnd > myMinimumFirst && myMinimumGains[(myMinimumEnd - 1) & RING_MASK] >= aNeeded)
			--myMinimumEnd;
		myMinimumFrames[myMinimumEnd & RING_MASK] = aFrame;
		myMinimumGains[myMinimumEnd & RING_MASK] = aNeeded;
		++myMinimumEnd;
		while (myMinimumFrames[myMinimumFirst & RING_MASK] + LOOKAHEAD_FRAMES + HOLD_FRAMES <= aFrame)
			++myMinimumFirst;
		return myMinimumGains[myMinimumFirst & RING_MASK];
	}

	MasterLimiter::Frame MasterLimiter::ProcessFrame(Frame aFrame)
	{
		const std::uint64_t someNewest = myCount++;
		myInput[someNewest & RING_MASK] = aFrame;

		// The frame whose neighbourhood is now known on both sides: the gain it
		// needs, so that the wave on either side of it stays under the ceiling.
		const std::uint64_t someFrame = someNewest - INTERPOLATION_HALF_TAPS;
		const float someBetween = PeakBetween(someFrame);
		const float somePeak = std::max(myLastPeakBetween, someBetween);
		myLastPeakBetween = someBetween;
		const float someNeeded = somePeak > myCeiling ? myCeiling / somePeak : 1.0f;

		// Held over the look-ahead and the hold, recovering slowly after them. Kept as
		// the reduction (1 - gain), which keeps its precision as it shrinks toward 0.
		float someRecovered = myReduction * myReleaseFactor;
		if (someRecovered < RECOVERED_REDUCTION)
			someRecovered = 0.0f;
		myReduction = std::max(1.0f - HeldGain(someFrame, someNeeded), someRecovered);

		// The gain of the frame leaving is 1 less the mean reduction over the look-ahead
		// after it: each of those is at least what that frame needs, so their mean is
		// too, and the gain ramps down smoothly to each peak.
		const float someReduction = myReduction;
		const float someLeaving = myReductions[(someFrame - LOOKAHEAD_FRAMES) & RING_MASK];
		myReductions[someFrame & RING_MASK] = someReduction;
		myReductionSum += static_cast<double>(someReduction) - static_cast<double>(someLeaving);
		myReducedCount += (someReduction != 0.0f ? 1 : 0) - (someLeaving != 0.0f ? 1 : 0);
		if (myReducedCount == 0)
			myReductionSum = 0.0; // exactly unity again, whatever rounding the sum gathered
		const float someGain = static_cast<float>(1.0 - myReductionSum / LOOKAHEAD_FRAMES);

		const Frame& someLeavingFrame = myInput[(someFrame - LOOKAHEAD_FRAMES + 1) & RING_MASK];
		return { someLeavingFrame.myLeft * someGain, someLeavingFrame.myRight * someGain };
	}
}
