#include "bass/bass.h"
#include "bass/BassOutput.h"
#include "bass/WavDecoder.h"

#include "Support/TempFolder.h"
#include "Support/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>

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
	// A mono file is kept as it is recorded.
	const std::string someMonoPath = WriteFile("mono.wav", NorvTest::MakeWav(std::vector<std::int16_t>(2205, 7), 1, 22050));
	const HSAMPLE someMono = BASS_SampleLoad(FALSE, someMonoPath.c_str(), 0, 0, 1, 0);
	ASSERT_TRUE(BASS_SampleGetInfo(someMono, &someInfo));
	EXPECT_EQ(someInfo.freq, 22050u);
	EXPECT_EQ(someInfo.chans, 1u);
	EXPECT_EQ(someInfo.length, 2205u * 2u);
	EXPECT_TRUE(BASS_SampleFree(someMono));

	const HCHANNEL someChannel = BASS_SampleGetChannel(someLoop, 0);
	ASSERT_NE(someChannel, 0u);
	EXPECT_EQ(BASS_SampleGetChannels(someLoop, nullptr), 1u);
	EXPECT_TRUE(BASS_ChannelSetAttribute(someChannel, BASS_ATTRIB_PAN, -1.0f));
	EXPECT_TRUE(BASS_ChannelPlay(someChannel, FALSE));
	EXPECT_EQ(BASS_ChannelIsActive(someChannel), BASS_ACTIVE_PLAYING);
	float someOut[2] = {};
	Platform::MixBassOutput(someOut, 1);
	EXPECT_EQ(someOut[0] * 32768.0f, 100.0f);
	EXPECT_EQ(someOut[1], 0.0f);

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
		{ WriteFile("halfframe.wav", NorvTest::MakeWav({ 1 }, 2, 44100)), BASS_ERROR_FILEFORM },
		{ WriteFile("7hz.wav", NorvTest::MakeWav({ 1, 2 }, 1, 7)), BASS_ERROR_FILEFORM },
		{ WriteFile("1mhz.wav", NorvTest::MakeWav({ 1, 2 }, 1, 1000000)), BASS_ERROR_FILEFORM },
		{ WriteFile("nochannels.wav", NorvTest::MakeWavOf(std::string(8, '\x01'), 0, 44100, 16)), BASS_ERROR_FILEFORM },
		{ WriteFile("surround.wav", NorvTest::MakeWav(std::vector<std::int16_t>(12, 1), 6, 44100)), BASS_ERROR_FILEFORM },
	};
	for (const auto& [somePath, someError] : someCases)
	{
		SCOPED_TRACE(somePath);
		testing::internal::CaptureStderr();
		EXPECT_EQ(BASS_SampleLoad(FALSE, somePath.c_str(), 0, 0, 3, 0), 0u);
		EXPECT_EQ(BASS_ErrorGetCode(), someError);
		const std::string someMessage = testing::internal::GetCapturedStderr();
		EXPECT_NE(someMessage.find(somePath), std::string::npos) << someMessage;
		EXPECT_EQ(std::count(someMessage.begin(), someMessage.end(), '\n'), 1) << someMessage;
	}
}

TEST(WavDecoder, KeepsTheFilesRateAndChannels)
{
	NorvTest::TempFolder someFolder;
	const auto someMono = someFolder.Write("mono.wav", NorvTest::MakeWav({ 300, -300, 301, -301 }, 1, 22050));
	const Platform::DecodedWav someDecoded = Platform::DecodeWavFile(someMono);
	ASSERT_EQ(someDecoded.myError, BASS_OK);
	EXPECT_EQ(someDecoded.mySound.myValues, (std::vector<std::int16_t>{ 300, -300, 301, -301 }));
	EXPECT_EQ(someDecoded.mySound.myChannels, 1u);
	EXPECT_EQ(someDecoded.mySound.myRate, 22050u);
	EXPECT_EQ(someDecoded.mySound.myOriginalBits, 16u);
	// Held at its size: no room kept beyond the values.
	EXPECT_EQ(someDecoded.mySound.myValues.capacity(), 4u);

	const Platform::DecodedWav someStereo = Platform::DecodeWavFile(someFolder.Write("stereo.wav", NorvTest::MakeConstantWav(3, 5, -5, 11025)));
	ASSERT_EQ(someStereo.myError, BASS_OK);
	EXPECT_EQ(someStereo.mySound.myValues, (std::vector<std::int16_t>{ 5, -5, 5, -5, 5, -5 }));
	EXPECT_EQ(someStereo.mySound.myChannels, 2u);
	EXPECT_EQ(someStereo.mySound.myRate, 11025u);
}

TEST(WavDecoder, SamplesAtTheMixerRateArriveBitForBit)
{
	NorvTest::TempFolder someFolder;
	std::vector<std::int16_t> someSamples;
	for (int someIndex = 0; someIndex < 2000; ++someIndex)
		someSamples.push_back(static_cast<std::int16_t>(someIndex * 7919 % 65536 - 32768));
	someSamples[0] = 16674;
	const Platform::DecodedWav someStereo = Platform::DecodeWavFile(someFolder.Write("exact.wav", NorvTest::MakeWav(someSamples, 2, 48000)));
	ASSERT_EQ(someStereo.myError, BASS_OK);
	EXPECT_EQ(someStereo.mySound.myValues, someSamples);

	// 24-bit samples keep their top 16 bits and report their own resolution.
	const std::string someData24("\x00\x22\x11" "\xFF\xFF\x7F" "\x00\x00\x80" "\xAA\x34\x12", 12);
	const Platform::DecodedWav someDeep = Platform::DecodeWavFile(someFolder.Write("deep.wav", NorvTest::MakeWavOf(someData24, 2, 44100, 24)));
	ASSERT_EQ(someDeep.myError, BASS_OK);
	EXPECT_EQ(someDeep.mySound.myOriginalBits, 24u);
	EXPECT_EQ(someDeep.mySound.myValues, (std::vector<std::int16_t>{ 0x1122, 0x7FFF, -0x8000, 0x1234 }));

	const std::string someData8("\x80\xFF\x00\xC0", 4);
	const Platform::DecodedWav someShallow = Platform::DecodeWavFile(someFolder.Write("shallow.wav", NorvTest::MakeWavOf(someData8, 1, 44100, 8)));
	ASSERT_EQ(someShallow.myError, BASS_OK);
	EXPECT_EQ(someShallow.mySound.myOriginalBits, 8u);
	EXPECT_EQ(someShallow.mySound.myValues, (std::vector<std::int16_t>{ 0, 127 * 256, -32768, 64 * 256 }));
}

TEST(WavDecoder, ChunkSizesPastTheEndAreNeverTrusted)
{
	NorvTest::TempFolder someFolder;
	std::vector<std::int16_t> someSamples = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13 };
	std::string someLying = NorvTest::MakeWav(someSamples, 2, 44100);
	someLying.replace(40, 4, std::string("\x11\xAE\x53\xF2", 4)); // data claims 0xF253AE11 bytes, 26 present
	const auto somePath = someFolder.Write("lying.wav", someLying);
	testing::internal::CaptureStderr();
	const Platform::DecodedWav someDecoded = Platform::DecodeWavFile(somePath);
	const std::string someMessage = testing::internal::GetCapturedStderr();
	EXPECT_NE(someMessage.find(somePath.string()), std::string::npos) << someMessage;
	if (someDecoded.myError == BASS_OK)
	{
		EXPECT_EQ(someDecoded.mySound.myValues, (std::vector<std::int16_t>{ 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 }));
	}

	// A chunk before the sound claiming more than the file holds is refused.
	std::string someBadChunk = NorvTest::MakeWav(someSamples, 2, 44100);
	someBadChunk.insert(12, std::string("LIST\xFF\xFF\xFF\x7F", 8));
	testing::internal::CaptureStderr();
	EXPECT_EQ(Platform::DecodeWavFile(someFolder.Write("badchunk.wav", someBadChunk)).myError, BASS_ERROR_FILEFORM);
	EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
}

TEST(WavDecoder, FuzzerFindingsFailOrLoadCleanly)
{
	// Each input once made the decoder misbehave under the sanitizers.
	const std::string someFindings[] = {
		// one 24-bit frame at 44230 Hz: once resampled to no frames at all on loading
		std::string("\x52\x49\x46\x46\x30\x00\x00\x00\x57\x41\x56\x45\x66\x6d\x74\x20\x10\x00\x00\x00\x01\x00\x02\x00\xc6\xac\x00\x00\x98\x09\x04\x00\x06\x00\x18\x00\x64\x61\x74\x61\x0c\x00\x00\x00\x00\x22\x11\xff\xff\x38\x12", 51),
	};
	NorvTest::TempFolder someFolder;
	for (const std::string& someFinding : someFindings)
	{
		testing::internal::CaptureStderr();
		const Platform::DecodedWav someDecoded = Platform::DecodeWavFile(someFolder.Write("finding.wav", someFinding));
		const std::string someMessage = testing::internal::GetCapturedStderr();
		EXPECT_TRUE(someDecoded.myError == BASS_OK ? !someDecoded.mySound.myValues.empty() : !someMessage.empty());
	}
}
