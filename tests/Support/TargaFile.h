#pragma once
// Builds Truevision Targa file bytes in memory for loader tests.
#include <cstdint>
#include <string>

namespace NorvTest
{
	constexpr std::uint8_t TARGA_BOTTOM_LEFT = 8; // descriptor: eight alpha bits, bottom-left origin

	// Header (uncompressed true-colour) + image ID + aPixels exactly as given (stored order, B, G, R, A).
	inline std::string MakeTarga(std::uint16_t aWidth, std::uint16_t aHeight, const std::string& aPixels,
		std::uint8_t aDepth = 32, std::uint8_t aDescriptor = TARGA_BOTTOM_LEFT, const std::string& aId = "")
	{
		std::string someBytes(18, '\0');
		someBytes[0] = static_cast<char>(aId.size());
		someBytes[2] = 2; // uncompressed true-colour
		someBytes[12] = static_cast<char>(aWidth & 0xFF);
		someBytes[13] = static_cast<char>(aWidth >> 8);
		someBytes[14] = static_cast<char>(aHeight & 0xFF);
		someBytes[15] = static_cast<char>(aHeight >> 8);
		someBytes[16] = static_cast<char>(aDepth);
		someBytes[17] = static_cast<char>(aDescriptor);
		return someBytes + aId + aPixels;
	}

	// One stored pixel, B, G, R, A.
	inline std::string Bgra(std::uint8_t aB, std::uint8_t aG, std::uint8_t aR, std::uint8_t aA)
	{
		return { static_cast<char>(aB), static_cast<char>(aG), static_cast<char>(aR), static_cast<char>(aA) };
	}
}
