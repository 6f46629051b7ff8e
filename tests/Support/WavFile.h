#pragma once
// Tiny PCM WAV files made in code for the sound tests.
#include "Support/FuzzSeeds.h"

#include <cstdint>
#include <string>
#include <vector>

namespace NorvTest
{
	// A RIFF WAVE file around aData, samples of aBits each (format tag 1: integer PCM, 3: float).
	inline std::string MakeWavOf(const std::string& aData, int aChannels, int aRate, int aBits, int aTag = 1)
	{
		std::string someBytes;
		const auto put32 = [&](std::uint32_t aValue) { for (int i = 0; i < 4; ++i) someBytes.push_back(static_cast<char>((aValue >> (8 * i)) & 0xFF)); };
		const auto put16 = [&](std::uint16_t aValue) { for (int i = 0; i < 2; ++i) someBytes.push_back(static_cast<char>((aValue >> (8 * i)) & 0xFF)); };
		const int someFrameBytes = aChannels * aBits / 8;
		someBytes += "RIFF";
		put32(static_cast<std::uint32_t>(36 + aData.size()));
		someBytes += "WAVEfmt ";
		put32(16);
		put16(static_cast<std::uint16_t>(aTag));
		put16(static_cast<std::uint16_t>(aChannels));
		put32(static_cast<std::uint32_t>(aRate));
		put32(static_cast<std::uint32_t>(aRate * someFrameBytes));
		put16(static_cast<std::uint16_t>(someFrameBytes));
		put16(static_cast<std::uint16_t>(aBits));
		someBytes += "data";
		put32(static_cast<std::uint32_t>(aData.size()));
		someBytes += aData;
		SaveFuzzSeed("wav", someBytes);
		return someBytes;
	}

	// A RIFF WAVE file of 16-bit samples (interleaved when aChannels > 1).
	inline std::string MakeWav(const std::vector<std::int16_t>& aSamples, int aChannels, int aRate)
	{
		std::string someData;
		for (std::int16_t someSample : aSamples)
		{
			someData.push_back(static_cast<char>(someSample & 0xFF));
			someData.push_back(static_cast<char>((someSample >> 8) & 0xFF));
		}
		return MakeWavOf(someData, aChannels, aRate, 16);
	}

	// aFrames stereo frames, every left value aLeft and every right value aRight.
	inline std::string MakeConstantWav(std::size_t aFrames, std::int16_t aLeft, std::int16_t aRight, int aRate = 44100)
	{
		std::vector<std::int16_t> someSamples;
		someSamples.reserve(aFrames * 2);
		for (std::size_t i = 0; i < aFrames; ++i)
		{
			someSamples.push_back(aLeft);
			someSamples.push_back(aRight);
		}
		return MakeWav(someSamples, 2, aRate);
	}
}
