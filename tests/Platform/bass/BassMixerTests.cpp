#include "bass/BassMixer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Platform::BassMixer;

namespace
{
	constexpr DWORD RATE = 44100;

	// aFrames stereo frames: left aLeft + frame index, right aRight + frame index.
	BassMixer::Frames Ramp(std::size_t aFrames, std::int16_t aLeft, std::int16_t aRight)
	{
		BassMixer::Frames someFrames;
		for (std::size_t i = 0; i < aFrames; ++i)
		{
			someFrames.push_back(static_cast<std::int16_t>(aLeft + static_cast<int>(i)));
			someFrames.push_back(static_cast<std::int16_t>(aRight + static_cast<int>(i)));
		}
		return someFrames;
	}

	class Mixer : public ::testing::Test
	{
	protected:
		HSAMPLE Add(BassMixer::Frames aFrames, DWORD aMax, DWORD aFlags)
		{
			HSAMPLE someSample = 0;
			EXPECT_EQ(myMixer.AddSample(std::move(aFrames), 16, aMax, aFlags, someSample), BASS_OK);
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

		std::vector<std::int16_t> Mix(std::size_t aFrames)
		{
			std::vector<std::int16_t> someOut(aFrames * 2, 12345);
			myMixer.Mix(someOut.data(), aFrames);
			return someOut;
		}

		BassMixer myMixer{ RATE };
	};
}

TEST_F(Mixer, VolumeScalesAndTheSumIsClippedAtTheOutput)
{
	const HCHANNEL someChannel = Start(Add(Ramp(8, 1000, -1000), 1, 0));
	EXPECT_EQ(myMixer.SetAttribute(someChannel, BASS_ATTRIB_VOL, 2.0f), BASS_OK);
	const std::vector<std::int16_t> someOut = Mix(2);
	EXPECT_EQ(someOut, (std::vector<std::int16_t>{ 2000, -2000, 2002, -1998 }));

	const HCHANNEL someLoud = Start(Add(Ramp(8, 30000, -30000), 1, 0));
	myMixer.SetAttribute(someLoud, BASS_ATTRIB_VOL, 1.5f);
	const std::vector<std::int16_t> someClipped = Mix(1);
	EXPECT_EQ(someClipped[0], 32767);
	EXPECT_EQ(someClipped[1], -32768);

	// Negative volume is silence, NaN is refused.
	EXPECT_EQ(myMixer.SetAttribute(someChannel, BASS_ATTRIB_VOL, -3.0f), BASS_OK);
	myMixer.SetAttribute(someLoud, BASS_ATTRIB_VOL, 0.0f);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 0, 0 }));
	EXPECT_EQ(myMixer.SetAttribute(someChannel, BASS_ATTRIB_VOL, std::nanf("")), BASS_ERROR_ILLPARAM);
	EXPECT_EQ(myMixer.SetAttribute(someChannel, 99, 1.0f), BASS_ERROR_ILLPARAM);
}

TEST_F(Mixer, PanSilencesTheOtherSide)
{
	const HCHANNEL someChannel = Start(Add(Ramp(16, 1000, 1000), 1, BASS_SAMPLE_LOOP));
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_PAN, -1.0f);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 1000, 0 }));
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_PAN, 1.0f);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 0, 1001 }));
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_PAN, 0.5f);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 501, 1002 }));
	// Beyond the range counts as full left.
	myMixer.SetAttribute(someChannel, BASS_ATTRIB_PAN, -7.0f);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 1003, 0 }));
}

TEST_F(Mixer, OneShotStopsAtItsEndAndLoopWraps)
{
	const HCHANNEL someOnce = Start(Add(Ramp(3, 100, 100), 1, 0));
	EXPECT_EQ(Mix(5), (std::vector<std::int16_t>{ 100, 100, 101, 101, 102, 102, 0, 0, 0, 0 }));
	EXPECT_EQ(State(someOnce), BASS_ACTIVE_STOPPED);
	// Played again it starts from the beginning.
	myMixer.Play(someOnce, false);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 100, 100 }));

	const HCHANNEL someLoop = Start(Add(Ramp(2, 10, 10), 1, BASS_SAMPLE_LOOP));
	myMixer.SetAttribute(someOnce, BASS_ATTRIB_VOL, 0.0f);
	EXPECT_EQ(Mix(5), (std::vector<std::int16_t>{ 10, 10, 11, 11, 10, 10, 11, 11, 10, 10 }));
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
	EXPECT_EQ(Mix(3), (std::vector<std::int16_t>{ 2, 2, 3, 3, 0, 0 }));
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
	EXPECT_EQ(Mix(2), (std::vector<std::int16_t>{ 0, 0, 0, 0 }));
	myMixer.Play(someChannel, false);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 52, 52 }));
	myMixer.Play(someChannel, true);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 50, 50 }));

	HCHANNEL someIdle = 0;
	HSAMPLE someOther = Add(Ramp(10, 0, 0), 1, 0);
	myMixer.GetChannel(someOther, someIdle);
	EXPECT_EQ(myMixer.Pause(someIdle), BASS_ERROR_NOPLAY);
}

TEST_F(Mixer, PositionIsInBytesOfStereoSixteenBit)
{
	const HSAMPLE someSample = Add(Ramp(10, 0, 0), 1, 0);
	HCHANNEL someChannel = 0;
	myMixer.GetChannel(someSample, someChannel);
	EXPECT_EQ(myMixer.SetPosition(someChannel, 4 * 7), BASS_OK);
	myMixer.Play(someChannel, false);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 7, 7 }));
	EXPECT_EQ(myMixer.SetPosition(someChannel, 4 * 10), BASS_ERROR_POSITION);

	BASS_SAMPLE someInfo{};
	ASSERT_EQ(myMixer.GetSampleInfo(someSample, someInfo), BASS_OK);
	EXPECT_EQ(someInfo.length, 40u);
	EXPECT_EQ(someInfo.freq, RATE);
	EXPECT_EQ(someInfo.max, 1u);
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
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 5, 5 }));

	EXPECT_EQ(myMixer.FreeSample(someSample), BASS_OK);
	EXPECT_EQ(myMixer.Play(someChannel, false), BASS_ERROR_HANDLE);
	EXPECT_EQ(Mix(1), (std::vector<std::int16_t>{ 0, 0 }));
	HSAMPLE someRefused = 0;
	EXPECT_EQ(myMixer.AddSample(Ramp(1, 0, 0), 16, 0, 0, someRefused), BASS_ERROR_ILLPARAM);
	EXPECT_EQ(myMixer.AddSample({}, 16, 1, 0, someRefused), BASS_ERROR_ILLPARAM);
}
