// The sample loader's WAV decoder, converting to the mixer's rate.
#include "bass/WavDecoder.h"

#include <cstddef>
#include <cstdint>

namespace
{
	constexpr DWORD MIXER_RATE = 44100;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
	const Platform::DecodedWav someWav = Platform::DecodeWav({ aData, aSize }, MIXER_RATE, "fuzz input");
	if (someWav.myError == BASS_OK && (someWav.myFrames.empty() || someWav.myFrames.size() % 2 != 0))
		__builtin_trap(); // loaded sound is whole stereo frames
	return 0;
}
