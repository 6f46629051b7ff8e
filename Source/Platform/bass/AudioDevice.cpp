#include "bass/AudioDevice.h"

#include "bass/MasterLimiter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

namespace Platform
{
	namespace
	{
		constexpr const char* SILENT_DRIVER = "dummy";
		constexpr Uint16 DEVICE_BUFFER_FRAMES = 1024;
		constexpr int DEVICE_CHANNELS = 2;
		constexpr std::size_t BUS_CHUNK_FRAMES = DEVICE_BUFFER_FRAMES; // summed at a time
		constexpr int SOURCE_CHUNK_BYTES = 4096; // pulled at a time from a source that needs converting
		constexpr float FULL_SCALE = 32768.0f;   // 1.0 on the bus, as a 16-bit value

		struct Source
		{
			AudioProducer myProducer = nullptr;
			void* myUser = nullptr;
			SDL_AudioStream* myConverter = nullptr; // null when the source is in the device's format
			std::vector<Uint8> myChunk;

			Source() = default;
			Source(const Source&) = delete;
			Source& operator=(const Source&) = delete;
			~Source()
			{
				if (myConverter)
					SDL_FreeAudioStream(myConverter);
			}
		};

		struct Device
		{
			SDL_AudioDeviceID myId = 0;
			bool myIsByHand = false;
			std::vector<std::unique_ptr<Source>> mySources;
			// The master bus: every source in the bus format, summed, then limited.
			std::array<float, BUS_CHUNK_FRAMES * DEVICE_CHANNELS> mySum{};
			std::array<float, BUS_CHUNK_FRAMES * DEVICE_CHANNELS> mySourceOutput{};
			MasterLimiter myLimiter;
		};

		// Left to the process at exit: the device's thread may still be pulling then.
		Device& ourDevice = *new Device;

		// Fills aByteCount bytes of device-format sound from one source.
		void Pull(Source& aSource, Uint8* anOutput, int aByteCount)
		{
			if (!aSource.myConverter)
			{
				aSource.myProducer(aSource.myUser, anOutput, aByteCount);
				return;
			}
			while (SDL_AudioStreamAvailable(aSource.myConverter) < aByteCount)
			{
				aSource.myProducer(aSource.myUser, aSource.myChunk.data(), SOURCE_CHUNK_BYTES);
				if (SDL_AudioStreamPut(aSource.myConverter, aSource.myChunk.data(), SOURCE_CHUNK_BYTES) != 0)
					break;
			}
			const int someGot = std::max(SDL_AudioStreamGet(aSource.myConverter, anOutput, aByteCount), 0);
			std::memset(anOutput + someGot, 0, static_cast<std::size_t>(aByteCount - someGot));
		}

		// The master output; the caller holds the device's lock when there is a device.
		void MixMaster(std::int16_t* anOutput, std::size_t aFrameCount)
		{
			for (std::size_t someDone = 0; someDone < aFrameCount; someDone += BUS_CHUNK_FRAMES)
			{
				const std::size_t someValues = std::min(BUS_CHUNK_FRAMES, aFrameCount - someDone) * DEVICE_CHANNELS;
				std::fill_n(ourDevice.mySum.begin(), someValues, 0.0f);
				for (const std::unique_ptr<Source>& someSource : ourDevice.mySources)
				{
					Pull(*someSource, reinterpret_cast<Uint8*>(ourDevice.mySourceOutput.data()), static_cast<int>(someValues * sizeof(float)));
					for (std::size_t i = 0; i < someValues; ++i)
						ourDevice.mySum[i] += ourDevice.mySourceOutput[i];
				}
				ourDevice.myLimiter.Process(ourDevice.mySum.data(), someValues / DEVICE_CHANNELS);
				// Under the ceiling now: the clamp only guards the conversion.
				std::int16_t* someOut = anOutput + someDone * DEVICE_CHANNELS;
				for (std::size_t i = 0; i < someValues; ++i)
					someOut[i] = static_cast<std::int16_t>(std::clamp(std::lround(ourDevice.mySum[i] * FULL_SCALE), long{ INT16_MIN }, long{ INT16_MAX }));
			}
		}

		void DeviceCallback(void*, Uint8* aStream, int aLength)
		{
			MixMaster(reinterpret_cast<std::int16_t*>(aStream), static_cast<std::size_t>(aLength) / (DEVICE_CHANNELS * sizeof(std::int16_t)));
		}

		SDL_AudioDeviceID OpenOnCurrentDriver()
		{
			SDL_AudioSpec someDesired{};
			someDesired.freq = AUDIO_DEVICE_RATE_HZ;
			someDesired.format = AUDIO_S16SYS;
			someDesired.channels = DEVICE_CHANNELS;
			someDesired.samples = DEVICE_BUFFER_FRAMES;
			someDesired.callback = &DeviceCallback;
			return SDL_OpenAudioDevice(nullptr, 0, &someDesired, nullptr, 0);
		}

		bool IsSilentDriver()
		{
			const char* someDriver = SDL_GetCurrentAudioDriver();
			return someDriver && std::strcmp(someDriver, SILENT_DRIVER) == 0;
		}

		// The real driver first; when it has no device, SDL's dummy driver.
		SDL_AudioDeviceID Open()
		{
			if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0)
			{
				if (const SDL_AudioDeviceID someId = OpenOnCurrentDriver())
					return someId;
				const bool someWasSilent = IsSilentDriver();
				SDL_QuitSubSystem(SDL_INIT_AUDIO);
				if (someWasSilent)
					return 0;
			}
			std::cerr << "Audio: no sound device (" << SDL_GetError() << "), playing silently" << std::endl;
			// Above the SDL_AUDIODRIVER variable too, which may name the driver that just failed.
			SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, SILENT_DRIVER, SDL_HINT_OVERRIDE);
			if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
				return 0;
			if (const SDL_AudioDeviceID someId = OpenOnCurrentDriver())
				return someId;
			SDL_QuitSubSystem(SDL_INIT_AUDIO);
			return 0;
		}
	}

	bool AddAudioSource(const AudioSourceFormat& aFormat, AudioProducer aProducer, void* aUser)
	{
		auto someSource = std::make_unique<Source>();
		someSource->myProducer = aProducer;
		someSource->myUser = aUser;
		if (aFormat.myFormat != AUDIO_F32SYS || aFormat.myChannels != DEVICE_CHANNELS || aFormat.myRate != AUDIO_DEVICE_RATE_HZ)
		{
			someSource->myConverter = SDL_NewAudioStream(aFormat.myFormat, aFormat.myChannels, aFormat.myRate, AUDIO_F32SYS, DEVICE_CHANNELS, AUDIO_DEVICE_RATE_HZ);
			if (!someSource->myConverter)
			{
				std::cerr << "Audio: cannot convert a source (" << SDL_GetError() << ")" << std::endl;
				return false;
			}
			someSource->myChunk.resize(SOURCE_CHUNK_BYTES);
		}

		if (ourDevice.myId == 0)
		{
			ourDevice.myId = Open();
			if (ourDevice.myId == 0)
			{
				std::cerr << "Audio: no output device (" << SDL_GetError() << ")" << std::endl;
				return false;
			}
			SDL_PauseAudioDevice(ourDevice.myId, ourDevice.myIsByHand ? 1 : 0);
		}
		SDL_LockAudioDevice(ourDevice.myId);
		ourDevice.mySources.push_back(std::move(someSource));
		SDL_UnlockAudioDevice(ourDevice.myId);
		return true;
	}

	void RemoveAudioSource(void* aUser)
	{
		if (ourDevice.myId == 0)
			return;
		std::unique_ptr<Source> someRemoved;
		SDL_LockAudioDevice(ourDevice.myId);
		const auto someFound = std::find_if(ourDevice.mySources.begin(), ourDevice.mySources.end(), [aUser](const auto& aSource) { return aSource->myUser == aUser; });
		if (someFound != ourDevice.mySources.end())
		{
			someRemoved = std::move(*someFound);
			ourDevice.mySources.erase(someFound);
		}
		SDL_UnlockAudioDevice(ourDevice.myId);

		if (ourDevice.mySources.empty())
		{
			SDL_CloseAudioDevice(ourDevice.myId);
			SDL_QuitSubSystem(SDL_INIT_AUDIO);
			ourDevice.myId = 0;
			ourDevice.myLimiter.Reset();
		}
	}

	void MixAudioOutput(std::int16_t* anOutput, std::size_t aFrameCount)
	{
		if (ourDevice.myId != 0)
			SDL_LockAudioDevice(ourDevice.myId);
		MixMaster(anOutput, aFrameCount);
		if (ourDevice.myId != 0)
			SDL_UnlockAudioDevice(ourDevice.myId);
	}

	void SetAudioOutputByHand(bool anIsByHand)
	{
		// Paused before the change, so that the device's thread never mixes after it.
		if (ourDevice.myId != 0 && anIsByHand)
			SDL_PauseAudioDevice(ourDevice.myId, 1);
		if (ourDevice.myId != 0)
			SDL_LockAudioDevice(ourDevice.myId);
		ourDevice.myIsByHand = anIsByHand;
		ourDevice.myLimiter.Reset(); // nothing played before is heard after
		if (ourDevice.myId != 0)
			SDL_UnlockAudioDevice(ourDevice.myId);
		if (ourDevice.myId != 0 && !anIsByHand)
			SDL_PauseAudioDevice(ourDevice.myId, 0);
	}
}
