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

	// A GIF89a of palette indices (each below 4), top row first, with the 4-entry
	// aPalette (RGB) as its global colour table. The pixel codes are stored one a
	// byte, the table cleared before it would grow past 8-bit codes.
	std::string EncodeGif(int aWidth, int aHeight, const std::vector<std::uint8_t>& aIndices, const std::array<std::uint8_t, 12>& aPalette);

	// Inserts a chunk (with its CRC) right after a PNG's header chunk.
	std::string InsertPngChunk(const std::string& aPng, const char (&aType)[5], const std::string& aData);

	// aWidth * aHeight RGBA pixels, each byte a simple function of its position.
	std::vector<std::uint8_t> PatternPixels(int aWidth, int aHeight);
	// aWidth * aHeight copies of one RGBA texel.
	std::vector<std::uint8_t> SolidPixels(int aWidth, int aHeight, std::array<std::uint8_t, 4> aTexel);
}
