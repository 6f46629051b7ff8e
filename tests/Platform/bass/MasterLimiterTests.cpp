#include "bass/MasterLimiter.h"

#include "Loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

using Platform::MasterLimiter;

namespace
{
	constexpr double RATE = Platform::AUDIO_DEVICE_RATE_HZ;
	constexpr double CEILING_DBTP = -1.0;

	// Interleaved stereo frames.
	using Frames = std::vector<float>;

	std::size_t FrameCount(double aSeconds) { return static_cast<std::size_t>(aSeconds * RATE); }

	// Adds a sine to both sides (aRight times as loud on the right).
	void AddTone(Frames& aFrames, double aHz, double anAmplitude, double aPhase = 0.0, double aRight = 1.0)
	{
		for (std::size_t i = 0; i < aFrames.size() / 2; ++i)
		{
			const double someValue = anAmplitude * std::sin(2.0 * std::numbers::pi * aHz * static_cast<double>(i) / RATE + aPhase);
			aFrames[i * 2] += static_cast<float>(someValue);
			aFrames[i * 2 + 1] += static_cast<float>(someValue * aRight);
		}
	}

	// Adds white noise bursts of aSeconds every aEvery seconds, as hits and crashes come.
	void AddBursts(Frames& aFrames, double anAmplitude, double aSeconds, double anEvery, std::uint32_t aSeed)
	{
		std::mt19937 someGenerator(aSeed);
		std::uniform_real_distribution<float> someNoise(-1.0f, 1.0f);
		for (std::size_t i = 0; i < aFrames.size() / 2; ++i)
		{
			if (std::fmod(static_cast<double>(i) / RATE, anEvery) >= aSeconds)
				continue;
			aFrames[i * 2] += static_cast<float>(anAmplitude) * someNoise(someGenerator);
			aFrames[i * 2 + 1] += static_cast<float>(anAmplitude) * someNoise(someGenerator);
		}
	}

	// Through a fresh limiter, given aChunk frames at a time as a device asks for them.
	Frames Limited(Frames aFrames, std::size_t aChunk)
	{
		MasterLimiter someLimiter;
		for (std::size_t someDone = 0; someDone < aFrames.size() / 2; someDone += aChunk)
			someLimiter.Process(aFrames.data() + someDone * 2, std::min(aChunk, aFrames.size() / 2 - someDone));
		return aFrames;
	}

	Frames Side(const Frames& aFrames, int aSide, std::size_t aFirstFrame = 0, std::size_t anEndFrame = SIZE_MAX)
	{
		Frames someSide;
		for (std::size_t i = aFirstFrame; i < std::min(anEndFrame, aFrames.size() / 2); ++i)
			someSide.push_back(aFrames[i * 2 + aSide]);
		return someSide;
	}

	// The 16-bit values the device plays, as the master output rounds them.
	int FullScaleSamples(const Frames& aFrames)
	{
		return static_cast<int>(std::count_if(aFrames.begin(), aFrames.end(), [](float aValue) {
			return std::abs(std::lround(aValue * 32768.0f)) >= 32767;
		}));
	}

	double Rms(const Frames& aSide, std::size_t aFirst, std::size_t aCount)
	{
		double someSum = 0.0;
		for (std::size_t i = aFirst; i < aFirst + aCount; ++i)
			someSum += static_cast<double>(aSide[i]) * aSide[i];
		return std::sqrt(someSum / static_cast<double>(aCount));
	}
}

// Six sounds at once, far over full scale (bursts of noise, a low thump, a tone
// whose peaks fall between the samples): what leaves stays under the ceiling,
// between the samples too, with no sample at full scale, as loud as the ceiling
// lets it be, both sides at one gain, and the same whatever the device's blocks.
TEST(MasterLimiter, ASumFarOverFullScaleLeavesUnderTheCeiling)
{
	Frames someSum(FrameCount(3.0) * 2, 0.0f);
	AddBursts(someSum, 1.2, 0.08, 0.5, 1);
	AddBursts(someSum, 0.9, 0.3, 0.7, 2);
	AddTone(someSum, 55.0, 1.1);
	AddTone(someSum, 440.0, 0.6, 0.0, 0.5);
	// A quarter of the rate, a quarter turn late: every sample at 0.71 of the crests between them.
	AddTone(someSum, RATE / 4.0, 0.9, std::numbers::pi / 4.0);
	AddTone(someSum, 3000.0, 0.4);
	ASSERT_GT(*std::max_element(someSum.begin(), someSum.end()), 3.0f); // some 10 dB over full scale

	const Frames someOut = Limited(someSum, 735);
	EXPECT_EQ(FullScaleSamples(someOut), 0);
	for (int someSide : { 0, 1 })
	{
		const double somePeak = NorvMedia::TruePeakDb(Side(someOut, someSide));
		EXPECT_LE(somePeak, CEILING_DBTP) << "side " << someSide;
		EXPECT_GT(somePeak, CEILING_DBTP - 1.5) << "side " << someSide << ": held far under the ceiling";
	}
	// The quieter right side of the 440 Hz tone is not lifted: one gain for both.
	Frames someStereo(FrameCount(0.5) * 2, 0.0f);
	AddTone(someStereo, 440.0, 2.0, 0.0, 0.25);
	const Frames someStereoOut = Limited(someStereo, 512);
	const std::size_t someSettled = FrameCount(0.1);
	EXPECT_NEAR(Rms(Side(someStereoOut, 1), someSettled, FrameCount(0.3)) / Rms(Side(someStereoOut, 0), someSettled, FrameCount(0.3)), 0.25, 0.001);

	EXPECT_EQ(Limited(someSum, 1), someOut);
	EXPECT_EQ(Limited(someSum, 1024), someOut);
}

// Music under the ceiling leaves as it came, bit for bit, only later; silence
// leaves exactly silent, after a loud passage too, and the sound after it comes
// back to its own level, exactly.
TEST(MasterLimiter, SoundUnderTheCeilingLeavesUntouchedAndSilenceStaysSilent)
{
	Frames someMusic(FrameCount(2.0) * 2, 0.0f);
	AddTone(someMusic, 110.0, 0.3);
	AddTone(someMusic, 660.0, 0.2, 1.0, 0.7);
	AddBursts(someMusic, 0.15, 0.05, 0.25, 3);
	ASSERT_LT(NorvMedia::TruePeakDb(Side(someMusic, 0)), CEILING_DBTP - 1.0);
	const Frames someOut = Limited(someMusic, 735);
	const std::size_t DELAY = MasterLimiter::DELAY_FRAMES;
	EXPECT_TRUE(std::all_of(someOut.begin(), someOut.begin() + DELAY * 2, [](float aValue) { return aValue == 0.0f; }));
	EXPECT_TRUE(std::equal(someOut.begin() + DELAY * 2, someOut.end(), someMusic.begin())) << "music under the ceiling changed";

	// A loud second, a second of silence, then the music again.
	Frames someLoud(FrameCount(1.0) * 2, 0.0f);
	AddBursts(someLoud, 3.0, 0.2, 0.3, 4);
	Frames someSequence = someLoud;
	someSequence.resize(someSequence.size() + FrameCount(1.0) * 2, 0.0f);
	const std::size_t someMusicStart = someSequence.size() / 2;
	someSequence.insert(someSequence.end(), someMusic.begin(), someMusic.end());
	const Frames someLimited = Limited(someSequence, 735);
	const std::size_t someSilenceStart = FrameCount(1.0) + DELAY;
	EXPECT_TRUE(std::all_of(someLimited.begin() + someSilenceStart * 2, someLimited.begin() + (someMusicStart + DELAY) * 2, [](float aValue) { return aValue == 0.0f; }));
	// Back to a gain of exactly 1 within the music's first second: no lasting duck.
	const std::size_t someRecovered = someMusicStart + FrameCount(1.0);
	for (std::size_t i = someRecovered; i + DELAY < someLimited.size() / 2; ++i)
		ASSERT_EQ(someLimited[(i + DELAY) * 2], someSequence[i * 2]) << "frame " << i;
}

// A hum at a quiet level, then over the ceiling with a tone: the gain ramps down
// to the loud start over the look-ahead, without a step, and the loud hum is held
// at one level: the gain does not follow each of its cycles (which would distort
// it), nor pump.
TEST(MasterLimiter, ALoudStartIsRampedToAndASteadyLoudSoundHeldAtOneLevel)
{
	const std::size_t someLoudStart = FrameCount(0.5);
	Frames someHum(FrameCount(3.0) * 2, 0.0f);
	AddTone(someHum, 50.0, 1.4);
	AddTone(someHum, 523.0, 0.6);
	for (std::size_t i = 0; i < someLoudStart * 2; ++i)
		someHum[i] *= 0.25f;
	const Frames someIn = Side(someHum, 0);
	const Frames someOut = Side(Limited(someHum, 735), 0);
	EXPECT_LE(NorvMedia::TruePeakDb(someOut), CEILING_DBTP);

	// The gain, sample by sample where there is sound to tell it by.
	double someSteepest = 0.0;
	double someLowest = INFINITY;
	double someHighest = 0.0;
	std::size_t someLast = 0;
	double someLastGain = 1.0;
	for (std::size_t i = 0; i + MasterLimiter::DELAY_FRAMES < someOut.size(); ++i)
	{
		if (std::abs(someIn[i]) < 0.05f)
			continue;
		const double someGain = someOut[i + MasterLimiter::DELAY_FRAMES] / someIn[i];
		if (someLast > 0)
			someSteepest = std::max(someSteepest, std::abs(someGain - someLastGain) / static_cast<double>(i - someLast));
		someLast = i;
		someLastGain = someGain;
		// From when the loud hum's first peaks are held on.
		if (i >= someLoudStart + FrameCount(0.1))
		{
			someLowest = std::min(someLowest, someGain);
			someHighest = std::max(someHighest, someGain);
		}
	}
	EXPECT_LT(someSteepest, 2.0 / MasterLimiter::LOOKAHEAD_FRAMES) << "the gain steps";
	EXPECT_LT(20.0 * std::log10(someHighest / someLowest), 0.25) << "the gain follows the hum";
	// And as loud as the ceiling lets it be: the sum's crests reach it.
	EXPECT_GT(NorvMedia::TruePeakDb(someOut), CEILING_DBTP - 1.0);
}
