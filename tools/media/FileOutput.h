#pragma once
// Encoders and the file writer shared by the data-set generators. Every file is
// written to a temporary name beside it and renamed into place, so that two
// builds generating the same data at once never leave a half-written file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace NorvMedia
{
	// Creates the parent folders; throws std::runtime_error on failure.
	void WriteFileAtomically(const std::filesystem::path& aPath, std::span<const std::uint8_t> aBytes);

	// aPixels: aWidth * aHeight RGBA8 pixels, top row first.
	std::vector<std::uint8_t> EncodePng(int aWidth, int aHeight, std::span<const std::uint8_t> aPixels);

	// 16-bit PCM of aChannels interleaved channels; samples in -1..1 are clamped and rounded.
	std::vector<std::uint8_t> EncodeWav(std::span<const float> aSamples, int aRate, int aChannels = 1);
}
