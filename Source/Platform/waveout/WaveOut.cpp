#include "waveout/WaveOut.h"

#include "bass/AudioDevice.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>

struct HWAVEOUT__
{
	Uint8 mySilence = 0;
	std::mutex myMutex;
	std::deque<WAVEHDR*> myQueue;
	DWORD myPlayedOfFirst = 0; // bytes of the queue's first buffer already played
};

namespace
{
	constexpr WORD MAX_CHANNELS = 2;

	std::atomic_ref<DWORD> Flags(WAVEHDR& aHeader)
	{
		return std::atomic_ref<DWORD>(aHeader.dwFlags);
	}

	// Out of the queue, played or not.
	void MarkDone(WAVEHDR& aHeader)
	{
		Flags(aHeader).store((Flags(aHeader).load() & ~WHDR_INQUEUE) | WHDR_DONE);
	}

	bool IsSupported(const WAVEFORMATEX& aFormat)
	{
		return aFormat.wFormatTag == WAVE_FORMAT_PCM && aFormat.nChannels >= 1 && aFormat.nChannels <= MAX_CHANNELS
			&& (aFormat.wBitsPerSample == 8 || aFormat.wBitsPerSample == 16) && aFormat.nSamplesPerSec > 0
			&& aFormat.nBlockAlign == aFormat.nChannels * aFormat.wBitsPerSample / 8;
	}

	// Plays the queued buffers in order, silence after them; each finished buffer is marked done.
	void ProduceSound(void* aWaveOut, Uint8* aStream, int aLength)
	{
		HWAVEOUT__& someWaveOut = *static_cast<HWAVEOUT__*>(aWaveOut);
		std::lock_guard someLock(someWaveOut.myMutex);
		std::size_t someWritten = 0;
		const std::size_t someWanted = static_cast<std::size_t>(aLength);
		while (someWritten < someWanted && !someWaveOut.myQueue.empty())
		{
			WAVEHDR& someHeader = *someWaveOut.myQueue.front();
			const std::size_t someCount = std::min<std::size_t>(someWanted - someWritten, someHeader.dwBufferLength - someWaveOut.myPlayedOfFirst);
			std::memcpy(aStream + someWritten, someHeader.lpData + someWaveOut.myPlayedOfFirst, someCount);
			someWritten += someCount;
			someWaveOut.myPlayedOfFirst += static_cast<DWORD>(someCount);
			if (someWaveOut.myPlayedOfFirst >= someHeader.dwBufferLength)
			{
				someWaveOut.myQueue.pop_front();
				someWaveOut.myPlayedOfFirst = 0;
				MarkDone(someHeader);
			}
		}
		std::memset(aStream + someWritten, someWaveOut.mySilence, someWanted - someWritten);
	}

	// What every call on a header checks first: MMSYSERR_NOERROR when both are usable.
	MMRESULT CheckHeaderCall(HWAVEOUT aWaveOut, LPWAVEHDR aHeader, UINT aHeaderSize)
	{
		if (!aWaveOut)
			return MMSYSERR_INVALHANDLE;
		return aHeader && aHeaderSize >= sizeof(WAVEHDR) ? MMSYSERR_NOERROR : MMSYSERR_INVALPARAM;
	}
}

MMRESULT waveOutOpen(LPHWAVEOUT aWaveOut, UINT aDeviceId, const WAVEFORMATEX* aFormat, DWORD_PTR /*aCallback*/, DWORD_PTR /*anInstance*/, DWORD aFlags)
{
	if (!aWaveOut || !aFormat)
		return MMSYSERR_INVALPARAM;
	*aWaveOut = nullptr;
	if (aDeviceId != WAVE_MAPPER && aDeviceId != 0)
		return MMSYSERR_BADDEVICEID;
	if ((aFlags & ~WAVE_FORMAT_DIRECT) != CALLBACK_NULL)
		return MMSYSERR_INVALFLAG;
	if (!IsSupported(*aFormat))
		return WAVERR_BADFORMAT;

	auto* someWaveOut = new HWAVEOUT__;
	someWaveOut->mySilence = aFormat->wBitsPerSample == 8 ? 0x80 : 0;
	Platform::AudioSourceFormat someFormat;
	someFormat.myFormat = aFormat->wBitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
	someFormat.myChannels = static_cast<Uint8>(aFormat->nChannels);
	someFormat.myRate = static_cast<int>(aFormat->nSamplesPerSec);
	if (!Platform::AddAudioSource(someFormat, &ProduceSound, someWaveOut))
	{
		delete someWaveOut;
		return MMSYSERR_NODRIVER;
	}
	*aWaveOut = someWaveOut;
	return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT aWaveOut, LPWAVEHDR aHeader, UINT aHeaderSize)
{
	if (const MMRESULT someCheck = CheckHeaderCall(aWaveOut, aHeader, aHeaderSize); someCheck != MMSYSERR_NOERROR)
		return someCheck;
	if (!aHeader->lpData)
		return MMSYSERR_INVALPARAM;
	Flags(*aHeader).store((Flags(*aHeader).load() & ~WHDR_DONE) | WHDR_PREPARED);
	return MMSYSERR_NOERROR;
}

MMRESULT waveOutWrite(HWAVEOUT aWaveOut, LPWAVEHDR aHeader, UINT aHeaderSize)
{
	if (const MMRESULT someCheck = CheckHeaderCall(aWaveOut, aHeader, aHeaderSize); someCheck != MMSYSERR_NOERROR)
		return someCheck;
	std::lock_guard someLock(aWaveOut->myMutex);
	const DWORD someFlags = Flags(*aHeader).load();
	if ((someFlags & WHDR_PREPARED) == 0)
		return WAVERR_UNPREPARED;
	if ((someFlags & WHDR_INQUEUE) != 0)
		return WAVERR_STILLPLAYING;
	if (aHeader->dwBufferLength == 0)
	{
		Flags(*aHeader).store(someFlags | WHDR_DONE);
		return MMSYSERR_NOERROR;
	}
	Flags(*aHeader).store((someFlags & ~WHDR_DONE) | WHDR_INQUEUE);
	aWaveOut->myQueue.push_back(aHeader);
	return MMSYSERR_NOERROR;
}

MMRESULT waveOutReset(HWAVEOUT aWaveOut)
{
	if (!aWaveOut)
		return MMSYSERR_INVALHANDLE;
	std::lock_guard someLock(aWaveOut->myMutex);
	for (WAVEHDR* someHeader : aWaveOut->myQueue)
		MarkDone(*someHeader);
	aWaveOut->myQueue.clear();
	aWaveOut->myPlayedOfFirst = 0;
	return MMSYSERR_NOERROR;
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT aWaveOut, LPWAVEHDR aHeader, UINT aHeaderSize)
{
	if (const MMRESULT someCheck = CheckHeaderCall(aWaveOut, aHeader, aHeaderSize); someCheck != MMSYSERR_NOERROR)
		return someCheck;
	std::lock_guard someLock(aWaveOut->myMutex);
	const DWORD someFlags = Flags(*aHeader).load();
	if ((someFlags & WHDR_INQUEUE) != 0)
		return WAVERR_STILLPLAYING;
	Flags(*aHeader).store(someFlags & ~WHDR_PREPARED);
	return MMSYSERR_NOERROR;
}

MMRESULT waveOutClose(HWAVEOUT aWaveOut)
{
	if (!aWaveOut)
		return MMSYSERR_INVALHANDLE;
	{
		std::lock_guard someLock(aWaveOut->myMutex);
		if (!aWaveOut->myQueue.empty())
			return WAVERR_STILLPLAYING;
	}
	Platform::RemoveAudioSource(aWaveOut);
	delete aWaveOut;
	return MMSYSERR_NOERROR;
}
