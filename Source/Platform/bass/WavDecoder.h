#pragma once
// Reads a WAV file whole and converts it to 16-bit stereo at the mixer's rate.
#include "bass/BassMixer.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace Platform
{
	struct DecodedWav
	{
		int myError = BASS_OK; // BASS_ERROR_FILEOPEN or BASS_ERROR_FILEFORM on failure
		BassMixer::Frames myFrames;
		DWORD myOriginalBits = 0;
	};

	// Reads the RIFF chunks itself: PCM of 8, 16, 24 or 32 bits and 32- or 64-bit
	// float, one channel or more (the first two are kept). A file that cannot be
	// read, is no such WAV or holds no sound fails with one line on the standard
	// error stream; a data chunk running past the end is read as far as it goes,
	// with a line saying so. Sound at aRate is passed through bit for bit.
	DecodedWav DecodeWavFile(const std::filesystem::path& aPath, DWORD aRate);

	// The same on bytes in memory; aName names them in the messages.
	DecodedWav DecodeWav(std::span<const std::uint8_t> aBytes, DWORD aRate, const std::string& aName);
}
