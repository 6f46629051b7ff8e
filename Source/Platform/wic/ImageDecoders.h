#pragma once
// The per-format decoders behind DecodeImage. Each reads one whole file held in
// memory into RGBA8 rows, checking the declared size before allocating, and fails
// with a short reason on a truncated or corrupt file.
#include "wic/WicImage.h"

#include <span>

namespace Platform::wic::impl
{
	// The most pixels a file of these formats can pack into one byte: deflate's
	// 1032:1 on 1-bit PNG rows. A header claiming more for the bytes present lies.
	constexpr std::uint64_t MAX_PIXELS_PER_BYTE = 8 * 1032;

	// False with a reason when aWidth x aHeight is empty, beyond MAX_DECODED_PIXELS,
	// or more than aFileBytes could hold.
	bool CheckDeclaredSize(std::uint64_t aWidth, std::uint64_t aHeight, std::size_t aFileBytes, std::string& aError);

	bool DecodePng(std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError);
	bool DecodeJpeg(std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError);
	bool DecodeGif(std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError);
	bool DecodeBmp(std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError);
}
