#pragma once
// Encodes RGBA8 pixels as image files in memory for loader tests.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace NorvTest
{
	// aPixels: aWidth * aHeight RGBA pixels, top row first.
	std::string EncodePng(int aWidth, int aHeight, const std::vector<std::uint8_t>& aPixels);
	std::string EncodeBmp(int aWidth, int aHeight, const std::vector<std::uint8_t>& aPixels);
	std::string EncodeJpeg(int aWidth, int aHeight, const std::vector<std::uint8_t>& aPixels);

	// Inserts a chunk (with its CRC) right after a PNG's header chunk.
	std::string InsertPngChunk(const std::string& aPng, const char (&aType)[5], const std::string& aData);

	// aWidth * aHeight RGBA pixels, each byte a simple function of its position.
	std::vector<std::uint8_t> PatternPixels(int aWidth, int aHeight);
	// aWidth * aHeight copies of one RGBA texel.
	std::vector<std::uint8_t> SolidPixels(int aWidth, int aHeight, std::array<std::uint8_t, 4> aTexel);
}
