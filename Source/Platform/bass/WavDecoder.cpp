#include "bass/WavDecoder.h"

#include "files/FilePath.h"

#include <SDL2/SDL.h>

#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace Platform
{
	namespace
	{
		constexpr int OUTPUT_CHANNELS = 2;

		DecodedWav Fail(int anError, const std::filesystem::path& aPath, const char* aReason)
		{
			std::cerr << "Audio file " << aPath.string() << ": " << aReason << std::endl;
			DecodedWav someResult;
			someResult.myError = anError;
			return someResult;
		}

		DecodedWav FailWithSdlError(const std::filesystem::path& aPath, const char* aReason)
		{
			return Fail(BASS_ERROR_FILEFORM, aPath, (std::string(aReason) + " (" + SDL_GetError() + ")").c_str());
		}
	}

	DecodedWav DecodeWavFile(const std::filesystem::path& aPath, DWORD aRate)
	{
		const std::optional<std::vector<std::uint8_t>> someBytes = ReadWholeFile(aPath);
		if (!someBytes)
			return Fail(BASS_ERROR_FILEOPEN, aPath, "cannot be opened");

		SDL_RWops* someReader = SDL_RWFromConstMem(someBytes->data(), static_cast<int>(someBytes->size()));
		SDL_AudioSpec someSpec{};
		Uint8* someData = nullptr;
		Uint32 someLength = 0;
		if (!someReader || !SDL_LoadWAV_RW(someReader, 1, &someSpec, &someData, &someLength))
			return FailWithSdlError(aPath, "not a readable WAV file");
		const std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> someOwnedData(someData, &SDL_FreeWAV);
		const int someFrameBytes = SDL_AUDIO_BITSIZE(someSpec.format) / 8 * someSpec.channels;
		if (someFrameBytes == 0 || someLength < static_cast<Uint32>(someFrameBytes))
			return Fail(BASS_ERROR_FILEFORM, aPath, "holds no sound");

		SDL_AudioCVT someConversion;
		if (SDL_BuildAudioCVT(&someConversion, someSpec.format, someSpec.channels, someSpec.freq, AUDIO_S16SYS, OUTPUT_CHANNELS, static_cast<int>(aRate)) < 0)
			return FailWithSdlError(aPath, "cannot be converted");
		someConversion.len = static_cast<int>(someLength - someLength % static_cast<Uint32>(someFrameBytes));
		std::vector<Uint8> someBuffer(static_cast<std::size_t>(someConversion.len) * static_cast<std::size_t>(someConversion.len_mult));
		std::memcpy(someBuffer.data(), someData, static_cast<std::size_t>(someConversion.len));
		someConversion.buf = someBuffer.data();
		if (SDL_ConvertAudio(&someConversion) < 0)
			return FailWithSdlError(aPath, "cannot be converted");

		DecodedWav someResult;
		const std::size_t someValues = static_cast<std::size_t>(someConversion.len_cvt) / sizeof(std::int16_t);
		someResult.myFrames.resize(someValues - someValues % OUTPUT_CHANNELS);
		if (someResult.myFrames.empty())
			return Fail(BASS_ERROR_FILEFORM, aPath, "holds no sound");
		std::memcpy(someResult.myFrames.data(), someBuffer.data(), someResult.myFrames.size() * sizeof(std::int16_t));
		someResult.myOriginalBits = SDL_AUDIO_BITSIZE(someSpec.format);
		return someResult;
	}
}
