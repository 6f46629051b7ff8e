#pragma once
// Reads uncompressed 32-bit Truevision Targa files as top-down RGBA pixels: the
// texture manager's last resort after the DDS and image decoders.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Norv
{
	struct TargaImage
	{
		std::uint16_t myWidth = 0;
		std::uint16_t myHeight = 0;
		std::uint8_t myBitsPerPixel = 0; // always 32 in a returned image
		std::vector<std::uint8_t> myPixels; // width * height * 4 bytes, top row first, each pixel R, G, B, A
	};

	// Null when the file is missing (asserts), not uncompressed true-colour of 32 bits per pixel
	// (run-length encoded and colour-mapped files included), or shorter than its header promises.
	std::unique_ptr<TargaImage> LoadTarga(const std::wstring& aPath);
}
