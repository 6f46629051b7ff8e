#include "bass/BassMixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using Platform::BassMixer;

namespace
{
	constexpr DWORD RATE = 44100;

	// aFrames stereo frames at the mixer's rate: left aLeft + frame index, right aRight + frame index.
	BassMixer::Sound Ramp(std::size_t aFrames, std::int16_t aLeft, std::int16_t aRight)
	{
		BassMixer::Sound someSound{ {}, 2, RATE };
		for (std::size_t i = 0; i < aFrames; ++i)
		{
			someSound.myValues.push_back(static_cast<std::int16_t>(aLeft + static_cast<int>(i)));
			someSound.myValues.push_back(static_cast<std::int16_t>(aRight + static_cast<int>(i)));
		}
		return someSound;
	}

	BassMixer::Sound Mono(std::vector<std::int16_t> aValues, DWORD aRate)
	{
		return { std::move(aValues), 1, aRate };
	}

	class Mixer : public ::testing::Test
	{
	protected:
		HSAMPLE Add(BassMixer::Sound aSound, DWORD aMax, DWORD aFlags)
		{
			HSAMPLE someSample = 0;
			EXPECT_EQ(myMixer.AddSample(std::move(aSound), aMax, aFlags, someSample), BASS_OK);
			return someSample;
		}

		HCHANNEL Start(HSAMPLE aSample)
		{
			HCHANNEL someChannel = 0;
			EXPECT_EQ(myMixer.GetChannel(aSample, someChannel), BASS_OK);
			EXPECT_EQ(myMixer.Play(someChannel, false), BASS_OK);
			return someChannel;
		}

		DWORD State(HCHANNEL aChannel)
		{
			DWORD someState = 99;
			myMixer.GetState(aChannel, someState);
			return someState;
		}

		// The mix in 16-bit units (exact: the mixer's full scale is a power of two).
		std::vector<float> Mix(std::size_t aFrames)
		{
			std::vector<float> someOut(aFrames * 2, 12345.0f);
			myMixer.Mix(someOut.data(), aFrames);
			for (float& someValue : someOut)
				someValue *= 32768.0f;
			return someOut;
		}

		BassMixer myMixer{ RATE };
	};
}

// The mixer never clips: a sum past full scale is left to the output's master limiter.
TEST_F(Mixer, VolumeScalesAndTheSumPassesFullScaleUnclipped)
{
	const HCHANNEL someChannel = Start(Add(Ramp(8, 1000, -1000), 1, 0));
	EXPECT_EQ(myMixer.SetAttribute(someChannel, BASS_ATTRIB_VOL, 2.0f), BASS_OK);
	EXPECT_EQ(Mix(2), (std::vector<float>{ 2000, -2000, 2002, -1998 }));

	const HCHANNEL someLoud = Start(Add(Ramp(8, 30000, -30000), 1, 0));
	myMixer.SetAttribute(someLoud, BASS_ATTRIB_VOL, 1.5f);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 2004 + 45000, -1996 - 45000 }));

	// Negative volume is silence, NaN is refused.
	EXPECT_EQ(myMixer.SetAttribute(someChannel, BASS_ATTRIB_VOL, -3.0f), BASS_OK);
	myMixer.SetAttribute(someLoud, BASS_ATTRIB_VOL, 0.0f);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 0, 0 }));
	EXPECT_EQ(myMixer.SetAttribute(someChannel, BASS_ATTRIB_VOL, std::nanf("")), BASS_ERROR_ILLPARAM);
	EXPECT_EQ(myMixer.SetAttribute(someChannel, 99, 1.0f), BASS_ERROR_ILLPARAM);
}

TEST_F(Mixer, PanSilencesTheOtherSide)
{
	const HCHANNEL someChannel = Start(Add(Ramp(16, 1000, 1000), 1, BASS_SAMPLE_LOOP));
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_PAN, -1.0f);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 1000, 0 }));
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_PAN, 1.0f);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 0, 1001 }));
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_PAN, 0.5f);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 501, 1002 }));
	// Beyond the range counts as full left.
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_PAN, -7.0f);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 1003, 0 }));
}

TEST_F(Mixer, OneShotStopsAtItsEndAndLoopWraps)
{
	const HCHANNEL someOnce = Start(Add(Ramp(3, 100, 100), 1, 0));
	EXPECT_EQ(Mix(5), (std::vector<float>{ 100, 100, 101, 101, 102, 102, 0, 0, 0, 0 }));
	EXPECT_EQ(State(someOnce), BASS_ACTIVE_STOPPED);
	// Played again it starts from the beginning.
	myMixer.Play(someOnce, false);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 100, 100 }));

	const HCHANNEL someLoop = Start(Add(Ramp(2, 10, 10), 1, BASS_SAMPLE_LOOP));
	myMixer.SetAttribute(someOnce, BASS_ATTRIB_VOL, 0.0f);
	EXPECT_EQ(Mix(5), (std::vector<float>{ 10, 10, 11, 11, 10, 10, 11, 11, 10, 10 }));
	EXPECT_EQ(State(someLoop), BASS_ACTIVE_PLAYING);
}

TEST_F(Mixer, ClearingTheLoopFlagFinishesTheCurrentPass)
{
	const HSAMPLE someSample = Add(Ramp(4, 0, 0), 1, BASS_SAMPLE_LOOP);
	const HCHANNEL someChannel = Start(someSample);
	Mix(6); // one pass and half of the next
	DWORD someFlags = 0;
	ASSERT_EQ(myMixer.ChangeFlags(someChannel, 0, 0, someFlags), BASS_OK);
	EXPECT_EQ(someFlags, BASS_SAMPLE_LOOP | BASS_SAMPLE_SOFTWARE);
	ASSERT_EQ(myMixer.ChangeFlags(someChannel, 0, BASS_SAMPLE_LOOP, someFlags), BASS_OK);
	EXPECT_EQ(someFlags, BASS_SAMPLE_SOFTWARE);
	EXPECT_EQ(State(someChannel), BASS_ACTIVE_PLAYING);
	EXPECT_EQ(Mix(3), (std::vector<float>{ 2, 2, 3, 3, 0, 0 }));
	EXPECT_EQ(State(someChannel), BASS_ACTIVE_STOPPED);
	// Only the loop flag can change.
	myMixer.ChangeFlags(someChannel, 0, 0xFFFFFFFF, someFlags);
	EXPECT_EQ(someFlags, BASS_SAMPLE_SOFTWARE);
}

TEST_F(Mixer, FullSampleStealsTheLongestPlayingChannelOnlyWhenAllowed)
{
	const HSAMPLE someStealing = Add(Ramp(100, 0, 0), 3, BASS_SAMPLE_OVER_POS | BASS_SAMPLE_8BITS);
	const HCHANNEL someFirst = Start(someStealing);
	Mix(10);
	const HCHANNEL someSecond = Start(someStealing);
	Mix(10);
	const HCHANNEL someThird = Start(someStealing);
	HCHANNEL someFourth = 0;
	ASSERT_EQ(myMixer.GetChannel(someStealing, someFourth), BASS_OK);
	EXPECT_EQ(State(someFirst), BASS_ACTIVE_STOPPED);
	EXPECT_EQ(myMixer.Play(someFirst, false), BASS_ERROR_HANDLE);
	EXPECT_EQ(State(someSecond), BASS_ACTIVE_PLAYING);
	EXPECT_EQ(State(someThird), BASS_ACTIVE_PLAYING);
	HCHANNEL someHandles[3] = {};
	DWORD someCount = 0;
	ASSERT_EQ(myMixer.GetSampleChannels(someStealing, someHandles, someCount), BASS_OK);
	EXPECT_EQ(someCount, 3u);

	const HSAMPLE someLooping = Add(Ramp(100, 0, 0), 2, BASS_SAMPLE_LOOP);
	Start(someLooping);
	const HCHANNEL someLastLoop = Start(someLooping);
	HCHANNEL someRefused = 0;
	EXPECT_EQ(myMixer.GetChannel(someLooping, someRefused), BASS_ERROR_NOCHAN);
	// A paused channel keeps its slot; a stopped one frees it.
	myMixer.Pause(someLastLoop);
	EXPECT_EQ(myMixer.GetChannel(someLooping, someRefused), BASS_ERROR_NOCHAN);
	myMixer.StopSample(someLooping);
	EXPECT_EQ(myMixer.GetChannel(someLooping, someRefused), BASS_OK);
}

TEST_F(Mixer, PausedChannelsHoldTheirPlaceAndResume)
{
	const HCHANNEL someChannel = Start(Add(Ramp(10, 50, 50), 1, 0));
	Mix(2);
	EXPECT_EQ(myMixer.Pause(someChannel), BASS_OK);
	EXPECT_EQ(myMixer.Pause(someChannel), BASS_ERROR_ALREADY);
	EXPECT_EQ(State(someChannel), BASS_ACTIVE_PAUSED);
	EXPECT_EQ(Mix(2), (std::vector<float>{ 0, 0, 0, 0 }));
	myMixer.Play(someChannel, false);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 52, 52 }));
	myMixer.Play(someChannel, true);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 50, 50 }));

	HCHANNEL someIdle = 0;
	HSAMPLE someOther = Add(Ramp(10, 0, 0), 1, 0);
	myMixer.GetChannel(someOther, someIdle);
	EXPECT_EQ(myMixer.Pause(someIdle), BASS_ERROR_NOPLAY);
}

TEST_F(Mixer, PositionAndLengthCountBytesOfTheSampleAsKept)
{
	const HSAMPLE someStereo = Add(Ramp(10, 0, 0), 1, 0);
	HCHANNEL someChannel = 0;
	myMixer.GetChannel(someStereo, someChannel);
	EXPECT_EQ(myMixer.SetPosition(someChannel, 4 * 7), BASS_OK);
	myMixer.Play(someChannel, false);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 7, 7 }));
	EXPECT_EQ(myMixer.SetPosition(someChannel, 4 * 10), BASS_ERROR_POSITION);

	BASS_SAMPLE someInfo{};
	ASSERT_EQ(myMixer.GetSampleInfo(someStereo, someInfo), BASS_OK);
	EXPECT_EQ(someInfo.length, 40u);
	EXPECT_EQ(someInfo.freq, RATE);
	EXPECT_EQ(someInfo.chans, 2u);
	EXPECT_EQ(someInfo.max, 1u);

	// Mono at half the rate: two bytes a frame, and each frame lasts two output frames.
	const HSAMPLE someMono = Add(Mono({ 0, 100, 200, 300, 400, 500 }, RATE / 2), 1, 0);
	ASSERT_EQ(myMixer.GetSampleInfo(someMono, someInfo), BASS_OK);
	EXPECT_EQ(someInfo.length, 12u);
	EXPECT_EQ(someInfo.freq, RATE / 2);
	EXPECT_EQ(someInfo.chans, 1u);
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_VOL, 0.0f);
	HCHANNEL someMonoChannel = 0;
	myMixer.GetChannel(someMono, someMonoChannel);
	EXPECT_EQ(myMixer.SetPosition(someMonoChannel, 2 * 4), BASS_OK);
	myMixer.Play(someMonoChannel, false);
	EXPECT_EQ(Mix(2), (std::vector<float>{ 400, 400, 450, 450 }));
	EXPECT_EQ(myMixer.SetPosition(someMonoChannel, 2 * 6), BASS_ERROR_POSITION);
}

// A sample at another rate as heard at the mixer's: halfway values between its frames,
// a loop's last frame leading into its first, a one-shot's last held to its end.
TEST_F(Mixer, OtherRatesAreInterpolatedAcrossLoopsAndEnds)
{
	const HCHANNEL someLoop = Start(Add(Mono({ 0, 100, 200 }, RATE / 2), 1, BASS_SAMPLE_LOOP));
	EXPECT_EQ(Mix(8), (std::vector<float>{ 0, 0, 50, 50, 100, 100, 150, 150, 200, 200, 100, 100, 0, 0, 50, 50 }));
	myMixer.SetAttribute(someLoop, BASS_ATTRIB_VOL, 0.0f);

	BassMixer::Sound someStereo{ { 0, 1000, 100, 1000, 200, 0 }, 2, RATE / 2 };
	const HCHANNEL someOnce = Start(Add(std::move(someStereo), 1, 0));
	EXPECT_EQ(Mix(7), (std::vector<float>{ 0, 1000, 50, 1000, 100, 1000, 150, 500, 200, 0, 200, 0, 0, 0 }));
	EXPECT_EQ(State(someOnce), BASS_ACTIVE_STOPPED);

	// A faster sample skips: at twice the rate every other frame is heard.
	const HCHANNEL someFast = Start(Add(Mono({ 0, 10, 20, 30, 40, 50 }, RATE * 2), 1, 0));
	EXPECT_EQ(Mix(4), (std::vector<float>{ 0, 0, 20, 20, 40, 40, 0, 0 }));
	EXPECT_EQ(State(someFast), BASS_ACTIVE_STOPPED);
	// A loop whose length is no whole number of steps carries the rest into its next pass.
	Start(Add(Mono({ 0, 10, 20 }, RATE * 2), 1, BASS_SAMPLE_LOOP));
	EXPECT_EQ(Mix(6), (std::vector<float>{ 0, 0, 20, 20, 10, 10, 0, 0, 20, 20, 10, 10 }));
}

// A mono 22.05 kHz tone as heard at 44.1 kHz: the same pitch, the same level on both
// sides, the same length in seconds.
TEST_F(Mixer, MonoToneAtHalfTheRateKeepsItsPitchLevelAndLength)
{
	constexpr DWORD TONE_RATE = 22050;
	constexpr double TONE_HZ = 441.0;
	constexpr double AMPLITUDE = 10000.0;
	constexpr std::size_t TONE_FRAMES = TONE_RATE / 2; // half a second
	std::vector<std::int16_t> someTone(TONE_FRAMES);
	for (std::size_t i = 0; i < TONE_FRAMES; ++i)
		someTone[i] = static_cast<std::int16_t>(std::lround(AMPLITUDE * std::sin(2.0 * std::numbers::pi * TONE_HZ * static_cast<double>(i) / TONE_RATE)));
	const HCHANNEL someChannel = Start(Add(Mono(std::move(someTone), TONE_RATE), 1, 0));

	// Mixed in odd-sized blocks, as a device asks.
	std::vector<float> someOut;
	for (std::size_t someBlock = 0; someBlock < 200 && State(someChannel) == BASS_ACTIVE_PLAYING; ++someBlock)
	{
		const std::vector<float> someMixed = Mix(333);
		someOut.insert(someOut.end(), someMixed.begin(), someMixed.end());
	}
	// Playing ends with the tone: every output frame after it is silent.
	std::size_t someHeard = someOut.size() / 2;
	while (someHeard > 0 && someOut[someHeard * 2 - 2] == 0 && someOut[someHeard * 2 - 1] == 0)
		--someHeard;
	EXPECT_NEAR(static_cast<double>(someHeard), 2.0 * TONE_FRAMES, 2.0);

	double someSquares[2] = {};
	int someRisingCrossings = 0;
	std::size_t someFirstCrossing = 0;
	std::size_t someLastCrossing = 0;
	for (std::size_t i = 1; i < someHeard; ++i)
	{
		for (int someSide = 0; someSide < 2; ++someSide)
			someSquares[someSide] += static_cast<double>(someOut[i * 2 + someSide]) * someOut[i * 2 + someSide];
		if (someOut[i * 2 - 2] < 0 && someOut[i * 2] >= 0)
		{
			someFirstCrossing = someFirstCrossing == 0 ? i : someFirstCrossing;
			someLastCrossing = i;
			++someRisingCrossings;
		}
	}
	ASSERT_GT(someRisingCrossings, 2);
	const double someMeasuredHz = (someRisingCrossings - 1) * static_cast<double>(RATE) / static_cast<double>(someLastCrossing - someFirstCrossing);
	EXPECT_NEAR(someMeasuredHz, TONE_HZ, 2.0);
	for (double someSquare : someSquares)
		EXPECT_NEAR(std::sqrt(someSquare / static_cast<double>(someHeard)), AMPLITUDE / std::numbers::sqrt2, AMPLITUDE * 0.01);
}

TEST_F(Mixer, BadAndStaleHandlesChangeNothing)
{
	const HSAMPLE someSample = Add(Ramp(10, 5, 5), 1, 0);
	const HCHANNEL someChannel = Start(someSample);
	DWORD someValue = 0;
	for (DWORD someHandle : { 0u, 0xFFFFFFFFu, someSample })
	{
		EXPECT_EQ(myMixer.Play(someHandle, true), BASS_ERROR_HANDLE);
		EXPECT_EQ(myMixer.Pause(someHandle), BASS_ERROR_HANDLE);
		EXPECT_EQ(myMixer.SetAttribute(someHandle, BASS_ATTRIB_VOL, 0.0f), BASS_ERROR_HANDLE);
		EXPECT_EQ(myMixer.ChangeFlags(someHandle, 0, BASS_SAMPLE_LOOP, someValue), BASS_ERROR_HANDLE);
		EXPECT_EQ(myMixer.GetState(someHandle, someValue), BASS_ERROR_HANDLE);
	}
	for (DWORD someHandle : { 0u, 0xFFFFFFFFu, someChannel })
	{
		HCHANNEL someOut = 0;
		EXPECT_EQ(myMixer.GetChannel(someHandle, someOut), BASS_ERROR_HANDLE);
		EXPECT_EQ(myMixer.StopSample(someHandle), BASS_ERROR_HANDLE);
	}
	EXPECT_EQ(Mix(1), (std::vector<float>{ 5, 5 }));

	EXPECT_EQ(myMixer.FreeSample(someSample), BASS_OK);
	EXPECT_EQ(myMixer.Play(someChannel, false), BASS_ERROR_HANDLE);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 0, 0 }));
	HSAMPLE someRefused = 0;
	EXPECT_EQ(myMixer.AddSample(Ramp(1, 0, 0), 0, 0, someRefused), BASS_ERROR_ILLPARAM);
	EXPECT_EQ(myMixer.AddSample({ {}, 1, RATE }, 1, 0, someRefused), BASS_ERROR_ILLPARAM);
	const BassMixer::Sound someUnplayable[] = {
		{ { 1, 2, 3 }, 2, RATE },                // half a frame left over
		{ { 1, 2, 3 }, 0, RATE },                // no channels
		{ { 1, 2, 3 }, 3, RATE },                // more than stereo
		{ { 1, 2 }, 1, 7 },                      // rates nobody records
		{ { 1, 2 }, 1, 1000000 },
	};
	for (const BassMixer::Sound& someSound : someUnplayable)
		EXPECT_EQ(myMixer.AddSample(someSound, 1, 0, someRefused), BASS_ERROR_ILLPARAM) << someSound.myChannels << " channels at " << someSound.myRate;
}
