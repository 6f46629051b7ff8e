#pragma once
// The process's one audio output, shared by the sound stand-ins (bass, waveout):
// each adds a source that the device's thread pulls sound from, and the sources
// are summed and clipped into 16-bit stereo. One device serves all because some
// SDL drivers (the dummy one among them) open only one at a time. When no real
// device can be opened, SDL's dummy driver takes over so the program runs silent;
// it still pulls from the sources in real time.
#include <SDL2/SDL.h>

namespace Platform
{
	constexpr int AUDIO_DEVICE_RATE_HZ = 44100;

	// Writes aByteCount bytes of sound in the source's own format; runs on the device's thread.
	using AudioProducer = void (*)(void* aUser, Uint8* anOutput, int aByteCount);

	struct AudioSourceFormat
	{
		SDL_AudioFormat myFormat = AUDIO_S16SYS;
		Uint8 myChannels = 2;
		int myRate = AUDIO_DEVICE_RATE_HZ;
	};

	// Starts pulling from aProducer (aUser identifies the source), opening the device
	// for the first source; false, with one line on the standard error stream, when
	// no device can be opened.
	bool AddAudioSource(const AudioSourceFormat& aFormat, AudioProducer aProducer, void* aUser);
	// Once this returns the producer is no longer called; the last source closes the device.
	void RemoveAudioSource(void* aUser);
}
