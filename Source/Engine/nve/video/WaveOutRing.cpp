#include "video/WaveOutRing.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <iostream>
#include <thread>

namespace Norv
{
	namespace
	{
		// Longer than the whole ring takes to play: a device that has not played a
		// buffer by then is stuck, and the sound is dropped rather than the frame loop stalled.
		constexpr auto BUFFER_WAIT_LIMIT = std::chrono::milliseconds(1000);
		constexpr auto BUFFER_POLL_INTERVAL = std::chrono::milliseconds(1);
	}

	WaveOutRing::WaveOutRing(const WAVEFORMATEX& aFormat, int aCount, int aSize)
		: myCount(aCount), mySize(aSize)
	{
		const MMRESULT someResult = waveOutOpen(&myWaveOut, WAVE_MAPPER, &aFormat, 0, 0, CALLBACK_NULL | WAVE_FORMAT_DIRECT);
		if (someResult != MMSYSERR_NOERROR)
		{
			std::cerr << "Video: the sound output could not be opened (error " << someResult << ")" << std::endl;
			myWaveOut = nullptr;
			return;
		}
		myBuffers.resize(static_cast<std::size_t>(aCount));
		for (Buffer& someBuffer : myBuffers)
		{
			someBuffer.myData = std::make_unique<char[]>(static_cast<std::size_t>(aSize));
			someBuffer.myWaveOut = myWaveOut;
			someBuffer.myHeader.lpData = someBuffer.myData.get();
			someBuffer.myHeader.dwBufferLength = static_cast<DWORD>(aSize);
			waveOutPrepareHeader(myWaveOut, &someBuffer.myHeader, sizeof(WAVEHDR));
		}
	}

	WaveOutRing::~WaveOutRing()
	{
		if (!myWaveOut)
			return;
		waveOutReset(myWaveOut);
		for (Buffer& someBuffer : myBuffers)
			waveOutUnprepareHeader(myWaveOut, &someBuffer.myHeader, sizeof(WAVEHDR));
		waveOutClose(myWaveOut);
	}

	bool WaveOutRing::WaitUntilPlayed(Buffer& aBuffer) const
	{
		const std::atomic_ref<DWORD> someFlags(aBuffer.myHeader.dwFlags);
		const auto someDeadline = std::chrono::steady_clock::now() + BUFFER_WAIT_LIMIT;
		while ((someFlags.load() & WHDR_INQUEUE) != 0)
		{
			if (std::chrono::steady_clock::now() >= someDeadline)
				return false;
			std::this_thread::sleep_for(BUFFER_POLL_INTERVAL);
		}
		return true;
	}

	void WaveOutRing::Write(const std::uint8_t* aData, int aSize)
	{
		if (!myWaveOut)
			return;
		while (aSize > 0)
		{
			Buffer& someBuffer = myBuffers[static_cast<std::size_t>(myCurrent)];
			if (someBuffer.myFilled == 0 && !WaitUntilPlayed(someBuffer))
				return;
			const int someCount = std::min(aSize, mySize - someBuffer.myFilled);
			std::memcpy(someBuffer.myData.get() + someBuffer.myFilled, aData, static_cast<std::size_t>(someCount));
			someBuffer.myFilled += someCount;
			aData += someCount;
			aSize -= someCount;
			if (someBuffer.myFilled == mySize)
			{
				someBuffer.myFilled = 0;
				waveOutWrite(someBuffer.myWaveOut, &someBuffer.myHeader, sizeof(WAVEHDR));
				myCurrent = (myCurrent + 1) % myCount;
			}
		}
	}
}
