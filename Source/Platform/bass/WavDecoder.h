#pragma once
// Reads a WAV file whole and converts it to 16-bit stereo at the mixer's rate.
#include "bass/BassMixer.h"

#include <filesystem>

namespace Platform
{
	struct DecodedWav
	{
		int myError = BASS_OK; // BASS_ERROR_FILEOPEN or BASS_ERROR_FILEFORM on failure
		BassMixer::Frames myFrames;
		DWORD myOriginalBits = 0;
	};

	// A file that cannot be read, is not a WAV SDL can decode or holds no sound
	// fails with one line on the standard error stream.
	DecodedWav DecodeWavFile(const std::filesystem::path& aPath, DWORD aRate);
}
