#pragma once
// Opens SDL audio output devices for the sound stand-ins (bass, waveout). When no
// real device can be opened, SDL's dummy driver takes over so the program runs
// silent; its devices still call their callbacks in real time.
#include <SDL2/SDL.h>

namespace Platform
{
	// A device playing aDesired's format (SDL converts to what the hardware takes),
	// paused; 0 with one line on the standard error stream when none can be opened.
	SDL_AudioDeviceID OpenAudioDevice(const SDL_AudioSpec& aDesired);
	void CloseAudioDevice(SDL_AudioDeviceID aDevice);
}
