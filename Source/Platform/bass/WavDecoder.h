#pragma once
// Reads a WAV file whole into 16-bit samples at the file's own rate and channel count.
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
		BassMixer::Sound mySound;
	};

	// Reads the RIFF chunks itself: PCM of 8, 16, 24 or 32 bits and 32- or 64-bit
	// float, mono or stereo, at 1 to 768 kHz. A file that cannot be read, is no such
	// WAV, is in another format or holds no sound fails with one line on the standard
	// error stream; a data chunk running past the end is read as far as it goes, with
	// a line saying so. 16-bit sound is passed through bit for bit.
	DecodedWav DecodeWavFile(const std::filesystem::path& aPath);

	// The same on bytes in memory; aName names them in the messages.
	DecodedWav DecodeWav(std::span<const std::uint8_t> aBytes, const std::string& aName);
}
