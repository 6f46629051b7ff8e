#pragma once
// The BASS stand-in's mixer, reached directly: what the output device pulls from it,
// callable without a device (device 0) so the mixed sample values can be read.
#include <cstddef>

namespace Platform
{
	// Mixes aFrameCount interleaved stereo frames of the channels playing since
	// BASS_Init into anOutput (full scale 1.0, unclipped; see BassMixer::Mix) and
	// moves them on; silence when BASS is not initialised.
	void MixBassOutput(float* anOutput, std::size_t aFrameCount);
}
