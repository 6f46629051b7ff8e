#include "bass/bass.h"
#include "bass/BassOutput.h"
#include "bass/WavDecoder.h"

#include "Support/TempFolder.h"
#include "Support/WavFile.h"

#include <gtest/gtest.h>

namespace
{
	// BASS as the process has it: initialised here without output unless the sound
	// service already opened the default device.
	class Bass : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			if (!BASS_Init(0, 44100, 0, nullptr, nullptr))
			{
				ASSERT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
			}
		}

		std::string WriteFile(const char* aName, std::string_view aBytes) { return myFolder.Write(aName, aBytes).string(); }

		NorvTest::TempFolder myFolder;
	};
}

TEST_F(Bass, NullAndInvalidHandlesFailHarmlessly)
{
	for (DWORD someHandle : { 0u, 0xFFFFFFFFu })
	{
		EXPECT_FALSE(BASS_ChannelPlay(someHandle, FALSE));
		EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
		EXPECT_FALSE(BASS_ChannelPause(someHandle));
		EXPECT_EQ(BASS_ChannelIsActive(someHandle), BASS_ACTIVE_STOPPED);
		EXPECT_EQ(BASS_ChannelFlags(someHandle, 0, 0), static_cast<DWORD>(-1));
		EXPECT_FALSE(BASS_ChannelSetAttribute(someHandle, BASS_ATTRIB_VOL, 1.0f));
		EXPECT_FALSE(BASS_ChannelSetPosition(someHandle, 0, BASS_POS_BYTE));
		EXPECT_EQ(BASS_SampleGetChannel(someHandle, 0), 0u);
		EXPECT_EQ(BASS_SampleGetChannels(someHandle, nullptr), static_cast<DWORD>(-1));
		BASS_SAMPLE someInfo{};
		EXPECT_FALSE(BASS_SampleGetInfo(someHandle, &someInfo));
		EXPECT_FALSE(BASS_SampleStop(someHandle));
		EXPECT_FALSE(BASS_SampleFree(someHandle));
		EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
	}
	EXPECT_FALSE(BASS_Init(0, 44100, 0, nullptr, nullptr));
	EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
}

TEST_F(Bass, LoadedSampleReportsItsFlagsAndPlays)
{
	const std::string somePath = WriteFile("tone.wav", NorvTest::MakeConstantWav(4410, 100, -100));
	const HSAMPLE someLoop = BASS_SampleLoad(FALSE, somePath.c_str(), 0, 0, 3, BASS_SAMPLE_LOOP);
	ASSERT_NE(someLoop, 0u);
	const HSAMPLE someOnce = BASS_SampleLoad(FALSE, somePath.c_str(), 0, 0, 3, BASS_SAMPLE_OVER_POS | BASS_SAMPLE_8BITS);
	ASSERT_NE(someOnce, 0u);
	EXPECT_NE(someOnce, someLoop);

	BASS_SAMPLE someInfo{};
	ASSERT_TRUE(BASS_SampleGetInfo(someLoop, &someInfo));
	EXPECT_EQ(someInfo.flags, 20u);
	EXPECT_EQ(someInfo.max, 3u);
	EXPECT_EQ(someInfo.length, 4410u * 4u);
	ASSERT_TRUE(BASS_SampleGetInfo(someOnce, &someInfo));
	EXPECT_EQ(someInfo.flags, 0x20011u);

	const HCHANNEL someChannel = BASS_SampleGetChannel(someLoop, 0);
	ASSERT_NE(someChannel, 0u);
	EXPECT_EQ(BASS_SampleGetChannels(someLoop, nullptr), 1u);
	EXPECT_TRUE(BASS_ChannelSetAttribute(someChannel, BASS_ATTRIB_PAN, -1.0f));
	EXPECT_TRUE(BASS_ChannelPlay(someChannel, FALSE));
	EXPECT_EQ(BASS_ChannelIsActive(someChannel), BASS_ACTIVE_PLAYING);
	std::int16_t someOut[2] = {};
	Platform::MixBassOutput(someOut, 1);
	EXPECT_EQ(someOut[0], 100);
	EXPECT_EQ(someOut[1], 0);

	EXPECT_TRUE(BASS_SampleFree(someLoop));
	EXPECT_TRUE(BASS_SampleFree(someOnce));
	EXPECT_EQ(BASS_ChannelIsActive(someChannel), BASS_ACTIVE_STOPPED);
	EXPECT_FALSE(BASS_SampleLoad(TRUE, somePath.c_str(), 0, 0, 3, 0));
	EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
}

TEST_F(Bass, MissingTruncatedAndGarbageFilesFailWithAMessage)
{
	const std::string someWav = NorvTest::MakeConstantWav(100, 1, 1);
	const std::pair<std::string, int> someCases[] = {
		{ (myFolder.Path() / "missing.wav").string(), BASS_ERROR_FILEOPEN },
		{ WriteFile("truncated.wav", someWav.substr(0, 30)), BASS_ERROR_FILEFORM },
		{ WriteFile("garbage.wav", std::string(200, '\x7f')), BASS_ERROR_FILEFORM },
		{ WriteFile("empty.wav", ""), BASS_ERROR_FILEFORM },
		{ WriteFile("nodata.wav", NorvTest::MakeWav({}, 2, 44100)), BASS_ERROR_FILEFORM },
	};
	for (const auto& [somePath, someError] : someCases)
	{
		SCOPED_TRACE(somePath);
		testing::internal::CaptureStderr();
		EXPECT_EQ(BASS_SampleLoad(FALSE, somePath.c_str(), 0, 0, 3, 0), 0u);
		EXPECT_EQ(BASS_ErrorGetCode(), someError);
		const std::string someMessage = testing::internal::GetCapturedStderr();
		EXPECT_NE(someMessage.find(somePath), std::string::npos) << someMessage;
	}
}

TEST(WavDecoder, ConvertsToStereoSixteenBitAtTheMixerRate)
{
	NorvTest::TempFolder someFolder;
	const auto someMono = someFolder.Write("mono.wav", NorvTest::MakeWav({ 300, 300, 300, 300 }, 1, 44100));
	const Platform::DecodedWav someDecoded = Platform::DecodeWavFile(someMono, 44100);
	ASSERT_EQ(someDecoded.myError, BASS_OK);
	EXPECT_EQ(someDecoded.myFrames, (Platform::BassMixer::Frames{ 300, 300, 300, 300, 300, 300, 300, 300 }));
	EXPECT_EQ(someDecoded.myOriginalBits, 16u);

	std::vector<std::int16_t> someSlow(2 * 2205, 1000);
	const auto someHalfRate = someFolder.Write("slow.wav", NorvTest::MakeWav(someSlow, 2, 22050));
	const Platform::DecodedWav someResampled = Platform::DecodeWavFile(someHalfRate, 44100);
	ASSERT_EQ(someResampled.myError, BASS_OK);
	EXPECT_NEAR(static_cast<double>(someResampled.myFrames.size()) / 2.0, 4410.0, 8.0);
	EXPECT_NEAR(someResampled.myFrames[2000], 1000, 2);
}
