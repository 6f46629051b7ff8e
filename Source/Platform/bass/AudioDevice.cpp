#include "bass/AudioDevice.h"

#include <cstring>
#include <iostream>

namespace Platform
{
	namespace
	{
		constexpr const char* SILENT_DRIVER = "dummy";

		SDL_AudioDeviceID OpenOnCurrentDriver(const SDL_AudioSpec& aDesired)
		{
			return SDL_OpenAudioDevice(nullptr, 0, &aDesired, nullptr, 0);
		}

		bool IsSilentDriver()
		{
			const char* someDriver = SDL_GetCurrentAudioDriver();
			return someDriver && std::strcmp(someDriver, SILENT_DRIVER) == 0;
		}
	}

	SDL_AudioDeviceID OpenAudioDevice(const SDL_AudioSpec& aDesired)
	{
		if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
		{
			if (const SDL_AudioDeviceID someDevice = OpenOnCurrentDriver(aDesired))
				return someDevice;
			if (IsSilentDriver())
			{
				std::cerr << "Audio: no output device (" << SDL_GetError() << ")" << std::endl;
				SDL_QuitSubSystem(SDL_INIT_AUDIO);
				return 0;
			}
			SDL_QuitSubSystem(SDL_INIT_AUDIO);
			if (SDL_WasInit(SDL_INIT_AUDIO) != 0)
			{
				// Another user keeps the real driver open; it cannot be switched.
				std::cerr << "Audio: no output device (" << SDL_GetError() << ")" << std::endl;
				return 0;
			}
		}
		std::cerr << "Audio: no sound device (" << SDL_GetError() << "), playing silently" << std::endl;
		SDL_SetHint(SDL_HINT_AUDIODRIVER, SILENT_DRIVER);
		if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
		{
			std::cerr << "Audio: no output device (" << SDL_GetError() << ")" << std::endl;
			return 0;
		}
		if (const SDL_AudioDeviceID someDevice = OpenOnCurrentDriver(aDesired))
			return someDevice;
		std::cerr << "Audio: no output device (" << SDL_GetError() << ")" << std::endl;
		SDL_QuitSubSystem(SDL_INIT_AUDIO);
		return 0;
	}

	void CloseAudioDevice(SDL_AudioDeviceID aDevice)
	{
		if (aDevice == 0)
			return;
		SDL_CloseAudioDevice(aDevice);
		SDL_QuitSubSystem(SDL_INIT_AUDIO);
	}
}
