#pragma once
// Stand-in for the BASS audio library: samples, their channels, volume and pan.
// Keeps: one output device; samples decoded whole from WAV files and played on up
// to `max` channels each, a full sample stealing the channel that has played
// longest when it was loaded with BASS_SAMPLE_OVER_POS (else no channel is given);
// per channel play / pause / resume / stop, position, the loop flag (which may be
// changed while the channel plays), volume (above 1 amplifies; the output's master
// limiter keeps the sum in range) and pan -1 (left only) .. 1 (right only); the thread's last error
// code; handles 0 and -1 (or stale ones) fail with BASS_ERROR_HANDLE and change nothing.
// Does not keep: formats other than WAV, loading from memory, 3D and effects,
// streams and musics, hardware mixing (everything reports BASS_SAMPLE_SOFTWARE),
// 8-bit storage or output (BASS_SAMPLE_8BITS and BASS_DEVICE_8BITS are accepted;
// everything stays 16-bit). A channel handle is valid from BASS_SampleGetChannel
// until the next BASS_SampleGetChannel hands its slot out again.
// Built on: our mixer (BassMixer.h) as a source of the process's SDL2 audio output
// (AudioDevice.h: SDL's dummy driver when no device opens; device 0 adds no
// source); our own WAV reader. Samples are kept at their file's rate and channel
// count (mono or stereo, 16-bit) and resampled to the output rate while mixing.
#include "kernel/WindowsTypes.h"

#include <cstdint>

using QWORD = std::uint64_t;
using HSAMPLE = DWORD;
using HCHANNEL = DWORD;

// Sample flags (BASS_SampleLoad, BASS_SAMPLE::flags, BASS_ChannelFlags)
constexpr DWORD BASS_SAMPLE_8BITS = 1;
constexpr DWORD BASS_SAMPLE_LOOP = 4;
constexpr DWORD BASS_SAMPLE_SOFTWARE = 0x10;
constexpr DWORD BASS_SAMPLE_OVER_POS = 0x20000;

// BASS_Init
constexpr DWORD BASS_DEVICE_8BITS = 1;

// Channel attributes
constexpr DWORD BASS_ATTRIB_VOL = 2;
constexpr DWORD BASS_ATTRIB_PAN = 3;

// BASS_ChannelIsActive
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_ACTIVE_PAUSED = 3;

// BASS_ChannelSetPosition modes
constexpr DWORD BASS_POS_BYTE = 0;

// Error codes (BASS_ErrorGetCode)
constexpr int BASS_OK = 0;
constexpr int BASS_ERROR_FILEOPEN = 2;
constexpr int BASS_ERROR_HANDLE = 5;
constexpr int BASS_ERROR_POSITION = 7;
constexpr int BASS_ERROR_INIT = 8;
constexpr int BASS_ERROR_ALREADY = 14;
constexpr int BASS_ERROR_NOCHAN = 18;
constexpr int BASS_ERROR_ILLPARAM = 20;
constexpr int BASS_ERROR_DEVICE = 23;
constexpr int BASS_ERROR_NOPLAY = 24;
constexpr int BASS_ERROR_NOTAVAIL = 37;
constexpr int BASS_ERROR_FILEFORM = 41;

struct BASS_SAMPLE
{
	DWORD freq;    // the rate the data is kept at (the file's)
	float volume;  // default volume of new channels
	float pan;     // default pan of new channels
	DWORD flags;   // load flags with BASS_SAMPLE_SOFTWARE
	DWORD length;  // bytes of data as kept (16-bit, chans interleaved)
	DWORD max;     // most channels playing at once
	DWORD origres; // bits per sample of the file
	DWORD chans;   // channels as kept (the file's: 1 or 2)
};

// device -1 default, 0 no output (channels move only through Platform::MixBassOutput),
// 1 the first device. freq: the output rate in Hz.
BOOL BASS_Init(int aDevice, DWORD aFrequency, DWORD aFlags, HWND aWindow, const void* aClassId);
BOOL BASS_Free();
int BASS_ErrorGetCode();

// aFile: a path; aIsMemory must be FALSE and aOffset and aLength 0 (the whole file).
// aMax: 1..65535 channels. Returns 0 on failure.
HSAMPLE BASS_SampleLoad(BOOL aIsMemory, const void* aFile, QWORD aOffset, DWORD aLength, DWORD aMax, DWORD aFlags);
BOOL BASS_SampleFree(HSAMPLE aSample);
BOOL BASS_SampleGetInfo(HSAMPLE aSample, BASS_SAMPLE* anInfo);
// Writes the sample's channel handles (when aChannels is not null); returns their
// count, or (DWORD)-1 on error.
DWORD BASS_SampleGetChannels(HSAMPLE aSample, HCHANNEL* aChannels);
// A stopped channel at the start of the sample, with its default volume and pan and
// its flags; aFlags: none kept (0).
HCHANNEL BASS_SampleGetChannel(HSAMPLE aSample, DWORD aFlags);
BOOL BASS_SampleStop(HSAMPLE aSample);

BOOL BASS_ChannelPlay(DWORD aHandle, BOOL aRestart);
BOOL BASS_ChannelPause(DWORD aHandle);
DWORD BASS_ChannelIsActive(DWORD aHandle);
// Changes the flags in aMask (only BASS_SAMPLE_LOOP can change) to those of aFlags;
// returns the channel's flags after the change, or (DWORD)-1 on error.
DWORD BASS_ChannelFlags(DWORD aHandle, DWORD aFlags, DWORD aMask);
BOOL BASS_ChannelSetAttribute(DWORD aHandle, DWORD anAttribute, float aValue);
// aPosition in bytes of the sample as kept (BASS_SAMPLE::length counts the same bytes).
BOOL BASS_ChannelSetPosition(DWORD aHandle, QWORD aPosition, DWORD aMode);
