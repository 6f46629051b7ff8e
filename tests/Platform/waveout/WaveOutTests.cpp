#include "waveout/WaveOut.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace
{
	constexpr auto PLAY_WAIT_LIMIT = std::chrono::seconds(5);

	WAVEFORMATEX StereoFormat()
	{
		return { WAVE_FORMAT_PCM, 2, 44100, 2 * 44100 * 2, 4, 16, 0 };
	}

	DWORD FlagsOf(WAVEHDR& aHeader)
	{
		return std::atomic_ref<DWORD>(aHeader.dwFlags).load();
	}

	bool WaitUntilDone(WAVEHDR& aHeader)
	{
		const auto someEnd = std::chrono::steady_clock::now() + PLAY_WAIT_LIMIT;
		while ((FlagsOf(aHeader) & WHDR_DONE) == 0 && std::chrono::steady_clock::now() < someEnd)
			std::this_thread::sleep_for(std::chrono::milliseconds(2));
		return (FlagsOf(aHeader) & WHDR_DONE) != 0;
	}

	struct Buffer
	{
		explicit Buffer(std::size_t aSize) : myBytes(aSize, 0)
		{
			myHeader.lpData = myBytes.data();
			myHeader.dwBufferLength = static_cast<DWORD>(aSize);
		}
		std::vector<char> myBytes;
		WAVEHDR myHeader{};
	};
}

TEST(WaveOut, OpensOnlyPlainPcm)
{
	HWAVEOUT someWaveOut = nullptr;
	WAVEFORMATEX someFormat = StereoFormat();
	someFormat.wFormatTag = 3;
	EXPECT_EQ(waveOutOpen(&someWaveOut, WAVE_MAPPER, &someFormat, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
	someFormat = StereoFormat();
	someFormat.nBlockAlign = 3;
	EXPECT_EQ(waveOutOpen(&someWaveOut, WAVE_MAPPER, &someFormat, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
	someFormat = StereoFormat();
	someFormat.nChannels = 6;
	someFormat.nBlockAlign = 12;
	EXPECT_EQ(waveOutOpen(&someWaveOut, WAVE_MAPPER, &someFormat, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
	EXPECT_EQ(waveOutOpen(&someWaveOut, WAVE_MAPPER, nullptr, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
	someFormat = StereoFormat();
	EXPECT_EQ(waveOutOpen(&someWaveOut, 7, &someFormat, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
	EXPECT_EQ(someWaveOut, nullptr);

	EXPECT_EQ(waveOutReset(nullptr), MMSYSERR_INVALHANDLE);
	EXPECT_EQ(waveOutClose(nullptr), MMSYSERR_INVALHANDLE);
}

TEST(WaveOut, PlaysWrittenBuffersAndMarksThemDone)
{
	HWAVEOUT someWaveOut = nullptr;
	const WAVEFORMATEX someFormat = StereoFormat();
	ASSERT_EQ(waveOutOpen(&someWaveOut, WAVE_MAPPER, &someFormat, 0, 0, CALLBACK_NULL | WAVE_FORMAT_DIRECT), MMSYSERR_NOERROR);
	ASSERT_NE(someWaveOut, nullptr);

	Buffer someFirst(4096), someSecond(4096);
	EXPECT_EQ(waveOutWrite(someWaveOut, &someFirst.myHeader, sizeof(WAVEHDR)), WAVERR_UNPREPARED);
	ASSERT_EQ(waveOutPrepareHeader(someWaveOut, &someFirst.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	ASSERT_EQ(waveOutPrepareHeader(someWaveOut, &someSecond.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_EQ(FlagsOf(someFirst.myHeader), WHDR_PREPARED);

	ASSERT_EQ(waveOutWrite(someWaveOut, &someFirst.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	ASSERT_EQ(waveOutWrite(someWaveOut, &someSecond.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_TRUE(WaitUntilDone(someFirst.myHeader));
	EXPECT_TRUE(WaitUntilDone(someSecond.myHeader));
	EXPECT_EQ(FlagsOf(someSecond.myHeader) & WHDR_INQUEUE, 0u);

	// Played buffers can be written again, then unprepared once done.
	ASSERT_EQ(waveOutWrite(someWaveOut, &someFirst.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_TRUE(WaitUntilDone(someFirst.myHeader));
	EXPECT_EQ(waveOutUnprepareHeader(someWaveOut, &someFirst.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_EQ(FlagsOf(someFirst.myHeader) & WHDR_PREPARED, 0u);
	EXPECT_EQ(waveOutUnprepareHeader(someWaveOut, &someSecond.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_EQ(waveOutClose(someWaveOut), MMSYSERR_NOERROR);
}

TEST(WaveOut, QueuedBuffersBlockCloseUntilReset)
{
	HWAVEOUT someWaveOut = nullptr;
	const WAVEFORMATEX someFormat = StereoFormat();
	ASSERT_EQ(waveOutOpen(&someWaveOut, WAVE_MAPPER, &someFormat, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);

	// Ten seconds of sound stay queued long enough to see them there.
	Buffer someLong(44100 * 4 * 10);
	ASSERT_EQ(waveOutPrepareHeader(someWaveOut, &someLong.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	ASSERT_EQ(waveOutWrite(someWaveOut, &someLong.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_NE(FlagsOf(someLong.myHeader) & WHDR_INQUEUE, 0u);
	EXPECT_EQ(waveOutWrite(someWaveOut, &someLong.myHeader, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
	EXPECT_EQ(waveOutUnprepareHeader(someWaveOut, &someLong.myHeader, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
	EXPECT_EQ(waveOutClose(someWaveOut), WAVERR_STILLPLAYING);

	EXPECT_EQ(waveOutReset(someWaveOut), MMSYSERR_NOERROR);
	EXPECT_EQ(FlagsOf(someLong.myHeader), WHDR_PREPARED | WHDR_DONE);
	EXPECT_EQ(waveOutUnprepareHeader(someWaveOut, &someLong.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_EQ(waveOutClose(someWaveOut), MMSYSERR_NOERROR);
}

TEST(WaveOut, ConvertsOtherPcmFormatsAndSharesTheDeviceWithOthers)
{
	const WAVEFORMATEX someStereo = StereoFormat();
	const WAVEFORMATEX someNarrow = { WAVE_FORMAT_PCM, 1, 22050, 22050, 1, 8, 0 };
	HWAVEOUT someFirst = nullptr, someSecond = nullptr;
	ASSERT_EQ(waveOutOpen(&someFirst, WAVE_MAPPER, &someStereo, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
	ASSERT_EQ(waveOutOpen(&someSecond, 0, &someNarrow, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);

	Buffer someBuffer(2205); // a tenth of a second
	ASSERT_EQ(waveOutPrepareHeader(someSecond, &someBuffer.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	ASSERT_EQ(waveOutWrite(someSecond, &someBuffer.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_TRUE(WaitUntilDone(someBuffer.myHeader));

	EXPECT_EQ(waveOutClose(someFirst), MMSYSERR_NOERROR);
	EXPECT_EQ(waveOutUnprepareHeader(someSecond, &someBuffer.myHeader, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
	EXPECT_EQ(waveOutClose(someSecond), MMSYSERR_NOERROR);
}
