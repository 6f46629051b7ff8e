#pragma once
// The process's one audio output, shared by the sound stand-ins (bass, waveout):
// each adds a source that the device's thread pulls sound from. The master bus
// takes every source as floating-point stereo (full scale 1.0; other formats are
// converted), sums them without clipping, holds the sum under the ceiling with the
// master limiter (MasterLimiter.h) and plays it as 16-bit stereo. One device serves
// all because some SDL drivers (the dummy one among them) open only one at a time.
// When no real device can be opened, SDL's dummy driver takes over so the program
// runs silent; it still pulls from the sources in real time.
#include <SDL2/SDL.h>

#include <cstddef>
#include <cstdint>

namespace Platform
{
	constexpr int AUDIO_DEVICE_RATE_HZ = 44100;

	// Writes aByteCount bytes of sound in the source's own format; runs on the device's thread.
	using AudioProducer = void (*)(void* aUser, Uint8* anOutput, int aByteCount);

	struct AudioSourceFormat
	{
		SDL_AudioFormat myFormat = AUDIO_F32SYS; // the bus's own: no conversion
		Uint8 myChannels = 2;
		int myRate = AUDIO_DEVICE_RATE_HZ;
	};

	// Starts pulling from aProducer (aUser identifies the source), opening the device
	// for the first source; false, with one line on the standard error stream, when
	// no device can be opened.
	bool AddAudioSource(const AudioSourceFormat& aFormat, AudioProducer aProducer, void* aUser);
	// Once this returns the producer is no longer called; the last source closes the device.
	void RemoveAudioSource(void* aUser);

	// Writes the next aFrameCount frames of the master output (what the device plays)
	// as interleaved 16-bit stereo, pulling every source on.
	void MixAudioOutput(std::int16_t* anOutput, std::size_t aFrameCount);
	// Test seam: while on, the device (open or opened later) pulls nothing and the
	// sources move only through MixAudioOutput, so that a run hears its sound at the
	// pace of its own clock, whatever real time does.
	void SetAudioOutputByHand(bool anIsByHand);
}
