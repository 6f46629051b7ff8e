#include "bass/WavDecoder.h"

#include "files/FilePath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <optional>

namespace Platform
{
	namespace
	{
		constexpr std::size_t RIFF_HEADER_BYTES = 12;
		constexpr std::size_t CHUNK_HEADER_BYTES = 8;
		constexpr std::size_t FORMAT_BYTES = 16;
		constexpr std::size_t EXTENSIBLE_FORMAT_BYTES = 40;
		constexpr std::size_t SUBFORMAT_OFFSET = 24;
		constexpr std::uint16_t FORMAT_PCM = 1;
		constexpr std::uint16_t FORMAT_FLOAT = 3;
		constexpr std::uint16_t FORMAT_EXTENSIBLE = 0xFFFE;
		constexpr double INT16_SCALE = 32767.0;

		std::uint32_t ReadU16(std::span<const std::uint8_t> aBytes, std::size_t anOffset)
		{
			return std::uint32_t(aBytes[anOffset]) | std::uint32_t(aBytes[anOffset + 1]) << 8;
		}

		std::uint32_t ReadU32(std::span<const std::uint8_t> aBytes, std::size_t anOffset)
		{
			return ReadU16(aBytes, anOffset) | ReadU16(aBytes, anOffset + 2) << 16;
		}

		bool HasTag(std::span<const std::uint8_t> aBytes, std::size_t anOffset, const char (&aTag)[5])
		{
			return anOffset + 4 <= aBytes.size() && std::memcmp(aBytes.data() + anOffset, aTag, 4) == 0;
		}

		DecodedWav Fail(int anError, const std::string& aName, const std::string& aReason)
		{
			std::cerr << "Audio file " << aName << ": " << aReason << std::endl;
			DecodedWav someResult;
			someResult.myError = anError;
			return someResult;
		}

		struct WavFormat
		{
			std::uint16_t myTag = 0;
			std::uint32_t myChannels = 0;
			std::uint32_t myRate = 0;
			std::uint32_t myBits = 0;

			std::size_t FrameBytes() const { return std::size_t{ myChannels } * (myBits / 8); }

			bool IsSupported() const
			{
				const bool someBitsFit = myTag == FORMAT_PCM ? (myBits == 8 || myBits == 16 || myBits == 24 || myBits == 32) : (myBits == 32 || myBits == 64);
				return (myTag == FORMAT_PCM || myTag == FORMAT_FLOAT) && someBitsFit && myChannels >= 1 && myChannels <= BassMixer::MAX_SOUND_CHANNELS && myRate >= BassMixer::MIN_SOUND_RATE_HZ && myRate <= BassMixer::MAX_SOUND_RATE_HZ;
			}
		};

		WavFormat ReadFormat(std::span<const std::uint8_t> aChunk)
		{
			WavFormat someFormat;
			someFormat.myTag = static_cast<std::uint16_t>(ReadU16(aChunk, 0));
			someFormat.myChannels = ReadU16(aChunk, 2);
			someFormat.myRate = ReadU32(aChunk, 4);
			someFormat.myBits = ReadU16(aChunk, 14);
			if (someFormat.myTag == FORMAT_EXTENSIBLE && aChunk.size() >= EXTENSIBLE_FORMAT_BYTES)
				someFormat.myTag = static_cast<std::uint16_t>(ReadU16(aChunk, SUBFORMAT_OFFSET));
			return someFormat;
		}

		std::int16_t FromUnit(double aValue)
		{
			if (!(aValue == aValue)) // NaN
				return 0;
			return static_cast<std::int16_t>(std::lround(std::clamp(aValue, -1.0, 1.0) * INT16_SCALE));
		}

		// One sample as 16 bits: integers keep their top 16 bits, floats are scaled.
		std::int16_t ReadSample(const std::uint8_t* aSample, const WavFormat& aFormat)
		{
			if (aFormat.myTag == FORMAT_FLOAT)
			{
				if (aFormat.myBits == 32)
				{
					float someValue;
					std::memcpy(&someValue, aSample, sizeof(someValue));
					return FromUnit(someValue);
				}
				double someValue;
				std::memcpy(&someValue, aSample, sizeof(someValue));
				return FromUnit(someValue);
			}
			switch (aFormat.myBits)
			{
			case 8:
				return static_cast<std::int16_t>((aSample[0] - 128) * 256);
			case 16:
				return static_cast<std::int16_t>(aSample[0] | aSample[1] << 8);
			case 24:
				return static_cast<std::int16_t>(aSample[1] | aSample[2] << 8);
			default:
				return static_cast<std::int16_t>(aSample[2] | aSample[3] << 8);
			}
		}

		// Every sample of the file's data as 16 bits, frames interleaved as in the file.
		std::vector<std::int16_t> ToSixteenBit(std::span<const std::uint8_t> aData, const WavFormat& aFormat)
		{
			const std::size_t someSampleBytes = aFormat.myBits / 8;
			const std::size_t someCount = aData.size() / aFormat.FrameBytes() * aFormat.myChannels;
			std::vector<std::int16_t> someValues(someCount);
			for (std::size_t someIndex = 0; someIndex < someCount; ++someIndex)
				someValues[someIndex] = ReadSample(aData.data() + someIndex * someSampleBytes, aFormat);
			return someValues;
		}
	}

	DecodedWav DecodeWav(std::span<const std::uint8_t> aBytes, const std::string& aName)
	{
		if (!HasTag(aBytes, 0, "RIFF") || !HasTag(aBytes, 8, "WAVE"))
			return Fail(BASS_ERROR_FILEFORM, aName, "not a RIFF WAVE file");

		std::optional<WavFormat> someFormat;
		std::span<const std::uint8_t> someData;
		bool someHasData = false;
		for (std::size_t someOffset = RIFF_HEADER_BYTES; !someHasData && aBytes.size() - someOffset >= CHUNK_HEADER_BYTES;)
		{
			const std::size_t someSize = ReadU32(aBytes, someOffset + 4);
			const std::size_t someBodyOffset = someOffset + CHUNK_HEADER_BYTES;
			const std::size_t somePresent = aBytes.size() - someBodyOffset;
			if (HasTag(aBytes, someOffset, "data"))
			{
				if (someSize > somePresent)
					std::cerr << "Audio file " << aName << ": data chunk claims " << someSize << " bytes, " << somePresent << " present; reading those" << std::endl;
				someData = aBytes.subspan(someBodyOffset, std::min(someSize, somePresent));
				someHasData = true;
				continue;
			}
			if (someSize > somePresent)
				return Fail(BASS_ERROR_FILEFORM, aName, "chunk runs past the end of the file at byte " + std::to_string(someOffset));
			if (HasTag(aBytes, someOffset, "fmt "))
			{
				if (someSize < FORMAT_BYTES)
					return Fail(BASS_ERROR_FILEFORM, aName, "format chunk too short");
				someFormat = ReadFormat(aBytes.subspan(someBodyOffset, someSize));
			}
			someOffset = someBodyOffset + someSize + (someSize & 1); // chunks are padded to even sizes
			if (someOffset > aBytes.size())
				break;
		}
		if (!someFormat)
			return Fail(BASS_ERROR_FILEFORM, aName, "no format chunk before the sound");
		if (!someFormat->IsSupported())
			return Fail(BASS_ERROR_FILEFORM, aName, "unsupported sample format " + std::to_string(someFormat->myTag) + ", " + std::to_string(someFormat->myBits) + " bits, " + std::to_string(someFormat->myChannels) + " channels at " + std::to_string(someFormat->myRate) + " Hz");
		if (someData.size() < someFormat->FrameBytes())
			return Fail(BASS_ERROR_FILEFORM, aName, "holds no sound");

		DecodedWav someResult;
		someResult.mySound.myValues = ToSixteenBit(someData, *someFormat);
		someResult.mySound.myChannels = someFormat->myChannels;
		someResult.mySound.myRate = someFormat->myRate;
		someResult.mySound.myOriginalBits = someFormat->myBits;
		return someResult;
	}

	DecodedWav DecodeWavFile(const std::filesystem::path& aPath)
	{
		const std::optional<std::vector<std::uint8_t>> someBytes = ReadWholeFile(aPath);
		if (!someBytes)
			return Fail(BASS_ERROR_FILEOPEN, aPath.string(), "cannot be opened");
		return DecodeWav(*someBytes, aPath.string());
	}
}
