#pragma once
// Stand-in for the WinMM wave-out device (the sound of videos).
// Keeps: one output stream per handle playing PCM (8- or 16-bit, mono or stereo,
// any rate) from caller-owned buffers in the order written; the header flags
// (WHDR_PREPARED, WHDR_INQUEUE while queued, WHDR_DONE once played, set from the
// device's thread through atomic stores so a polling writer may read them with
// std::atomic_ref); reset returning every queued buffer as done; the error codes below.
// Does not keep: device enumeration and choice (WAVE_MAPPER or 0), callbacks and
// events (CALLBACK_NULL only), format queries, looping, volume, pitch and position.
// Built on: a source of the process's SDL2 audio output (bass/AudioDevice.h:
// SDL's dummy driver when no device opens) that reads the queued buffers and
// converts them to the master bus's format (SDL2 audio streams).
#include "kernel/WindowsTypes.h"

#include <cstdint>

using MMRESULT = UINT;
using DWORD_PTR = std::uintptr_t;
using LPSTR = char*;

struct HWAVEOUT__;
using HWAVEOUT = HWAVEOUT__*;
using LPHWAVEOUT = HWAVEOUT*;

struct WAVEFORMATEX
{
	WORD wFormatTag;
	WORD nChannels;
	DWORD nSamplesPerSec;
	DWORD nAvgBytesPerSec;
	WORD nBlockAlign;
	WORD wBitsPerSample;
	WORD cbSize;
};

struct WAVEHDR
{
	LPSTR lpData;
	DWORD dwBufferLength;
	DWORD dwBytesRecorded;
	DWORD_PTR dwUser;
	DWORD dwFlags;
	DWORD dwLoops;
	WAVEHDR* lpNext;
	DWORD_PTR reserved;
};
using LPWAVEHDR = WAVEHDR*;

constexpr UINT WAVE_MAPPER = static_cast<UINT>(-1);
constexpr WORD WAVE_FORMAT_PCM = 1;
constexpr DWORD CALLBACK_NULL = 0;
constexpr DWORD WAVE_FORMAT_DIRECT = 8;

constexpr DWORD WHDR_DONE = 0x01;
constexpr DWORD WHDR_PREPARED = 0x02;
constexpr DWORD WHDR_INQUEUE = 0x10;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

// aFlags: CALLBACK_NULL, optionally with WAVE_FORMAT_DIRECT (no effect here).
MMRESULT waveOutOpen(LPHWAVEOUT aWaveOut, UINT aDeviceId, const WAVEFORMATEX* aFormat, DWORD_PTR aCallback, DWORD_PTR anInstance, DWORD aFlags);
MMRESULT waveOutPrepareHeader(HWAVEOUT aWaveOut, LPWAVEHDR aHeader, UINT aHeaderSize);
// Queues a prepared buffer that is not already queued; its bytes must stay untouched until WHDR_DONE.
MMRESULT waveOutWrite(HWAVEOUT aWaveOut, LPWAVEHDR aHeader, UINT aHeaderSize);
MMRESULT waveOutReset(HWAVEOUT aWaveOut);
MMRESULT waveOutUnprepareHeader(HWAVEOUT aWaveOut, LPWAVEHDR aHeader, UINT aHeaderSize);
// Fails with WAVERR_STILLPLAYING while buffers are queued.
MMRESULT waveOutClose(HWAVEOUT aWaveOut);
