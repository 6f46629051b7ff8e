#pragma once
// The BASS stand-in's mixer, reached directly: what the output device's callback
// runs, callable without a device (device 0) so the mixed sample values can be read.
#include <cstddef>
#include <cstdint>

namespace Platform
{
	// Mixes aFrameCount interleaved 16-bit stereo frames of the channels playing
	// since BASS_Init into anOutput and moves them on; silence when BASS is not initialised.
	void MixBassOutput(std::int16_t* anOutput, std::size_t aFrameCount);
}
