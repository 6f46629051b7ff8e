#include "wic/WicImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

// stb_image and stb_image_resize are compiled here, private to this file.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#include <stb/stb_image.h>
#define STB_IMAGE_RESIZE_STATIC
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>
#pragma GCC diagnostic pop

namespace Platform::wic
{
	namespace
	{
		constexpr int RGBA_CHANNELS = 4;
		constexpr int ALPHA_CHANNEL = 3;
		constexpr std::uint32_t PNG_GAMMA_SRGB = 45455; // 1/2.2 in units of 1/100000

		enum class Container
		{
			Unknown,
			Png,
			Jpeg,
			Bmp,
			Gif,
		};

		bool StartsWith(const std::vector<std::uint8_t>& aBytes, const char* aSignature, std::size_t aLength)
		{
			return aBytes.size() >= aLength && std::memcmp(aBytes.data(), aSignature, aLength) == 0;
		}

		Container IdentifyContainer(const std::vector<std::uint8_t>& aBytes)
		{
			if (StartsWith(aBytes, "\x89PNG\r\n\x1a\n", 8))
				return Container::Png;
			if (StartsWith(aBytes, "\xFF\xD8\xFF", 3))
				return Container::Jpeg;
			if (StartsWith(aBytes, "BM", 2))
				return Container::Bmp;
			if (StartsWith(aBytes, "GIF87a", 6) || StartsWith(aBytes, "GIF89a", 6))
				return Container::Gif;
			return Container::Unknown;
		}

		std::uint32_t ReadBigEndian32(const std::uint8_t* aBytes)
		{
			return std::uint32_t(aBytes[0]) << 24 | std::uint32_t(aBytes[1]) << 16 | std::uint32_t(aBytes[2]) << 8 | aBytes[3];
		}

		// A PNG is sRGB when it has an sRGB chunk, or a gamma chunk of 1/2.2, before its pixel data.
		bool PngDeclaresSrgb(const std::vector<std::uint8_t>& aBytes)
		{
			constexpr std::size_t SIGNATURE_SIZE = 8;
			constexpr std::size_t CHUNK_OVERHEAD = 12; // length, type, CRC
			std::size_t someOffset = SIGNATURE_SIZE;
			while (aBytes.size() - someOffset >= CHUNK_OVERHEAD)
			{
				const std::uint32_t someLength = ReadBigEndian32(aBytes.data() + someOffset);
				const char* someType = reinterpret_cast<const char*>(aBytes.data() + someOffset + 4);
				if (someLength > aBytes.size() - someOffset - CHUNK_OVERHEAD || std::memcmp(someType, "IDAT", 4) == 0)
					return false;
				if (std::memcmp(someType, "sRGB", 4) == 0)
					return true;
				if (std::memcmp(someType, "gAMA", 4) == 0 && someLength == 4)
					return ReadBigEndian32(aBytes.data() + someOffset + 8) == PNG_GAMMA_SRGB;
				someOffset += CHUNK_OVERHEAD + someLength;
			}
			return false;
		}

		std::uint32_t ReadLittleEndian32(const std::uint8_t* aBytes)
		{
			return std::uint32_t(aBytes[0]) | std::uint32_t(aBytes[1]) << 8 | std::uint32_t(aBytes[2]) << 16 | std::uint32_t(aBytes[3]) << 24;
		}

		// An uncompressed BMP shorter than its pixel rows (the decoder would read
		// zeros past the end instead of failing).
		bool IsTruncatedBmp(const std::vector<std::uint8_t>& aBytes)
		{
			constexpr std::size_t FILE_HEADER_SIZE = 14;
			constexpr std::size_t INFO_HEADER_SIZE = 40;
			constexpr std::uint32_t BI_RGB = 0;
			constexpr std::uint32_t BI_BITFIELDS = 3;
			if (aBytes.size() < FILE_HEADER_SIZE + INFO_HEADER_SIZE || ReadLittleEndian32(&aBytes[FILE_HEADER_SIZE]) < INFO_HEADER_SIZE)
				return false; // too short for the decoder's own checks to pass
			const std::uint64_t someDataOffset = ReadLittleEndian32(&aBytes[10]);
			const std::int64_t someWidth = static_cast<std::int32_t>(ReadLittleEndian32(&aBytes[18]));
			const std::int64_t someHeight = static_cast<std::int32_t>(ReadLittleEndian32(&aBytes[22]));
			const std::uint32_t someBitCount = aBytes[28] | aBytes[29] << 8;
			const std::uint32_t someCompression = ReadLittleEndian32(&aBytes[30]);
			if (someCompression != BI_RGB && someCompression != BI_BITFIELDS)
				return false;
			const std::uint64_t someRowBytes = (static_cast<std::uint64_t>(std::abs(someWidth)) * someBitCount + 31) / 32 * 4;
			return someDataOffset + someRowBytes * static_cast<std::uint64_t>(std::abs(someHeight)) > aBytes.size();
		}

		// Scales aImage down to fit aMaxSize on its longer side, keeping the aspect ratio.
		bool FitToMaxSize(WicImage& aImage, std::uint32_t aMaxSize)
		{
			if (aMaxSize == 0 || (aImage.myWidth <= aMaxSize && aImage.myHeight <= aMaxSize))
				return true;
			const double someAspect = static_cast<double>(aImage.myHeight) / aImage.myWidth;
			std::uint32_t someWidth = aMaxSize;
			std::uint32_t someHeight = aMaxSize;
			if (aImage.myWidth > aImage.myHeight)
				someHeight = std::max(1u, static_cast<std::uint32_t>(aMaxSize * someAspect));
			else
				someWidth = std::max(1u, static_cast<std::uint32_t>(aMaxSize / someAspect));

			std::vector<std::uint8_t> someScaled(std::size_t{ someWidth } * someHeight * RGBA_CHANNELS);
			const int someResult = stbir_resize_uint8_generic(aImage.myPixels.data(), static_cast<int>(aImage.myWidth), static_cast<int>(aImage.myHeight), 0,
				someScaled.data(), static_cast<int>(someWidth), static_cast<int>(someHeight), 0, RGBA_CHANNELS, ALPHA_CHANNEL, 0,
				STBIR_EDGE_CLAMP, STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR, nullptr);
			if (!someResult)
				return false;
			aImage.myPixels = std::move(someScaled);
			aImage.myWidth = someWidth;
			aImage.myHeight = someHeight;
			return true;
		}
	}

	bool DecodeImage(const std::vector<std::uint8_t>& aBytes, std::uint32_t aMaxSize, DirectX::WIC_LOADER_FLAGS aLoaderFlags, WicImage& aImage, std::string& aError)
	{
		aImage = WicImage();
		const Container someContainer = IdentifyContainer(aBytes);
		if (someContainer == Container::Unknown)
		{
			aError = NOT_AN_IMAGE;
			return false;
		}
		if (aBytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
		{
			aError = "image file too large";
			return false;
		}

		if (someContainer == Container::Bmp && IsTruncatedBmp(aBytes))
		{
			aError = "truncated BMP pixel data";
			return false;
		}

		const int someSize = static_cast<int>(aBytes.size());
		int someWidth = 0;
		int someHeight = 0;
		int someChannels = 0;
		if (!stbi_info_from_memory(aBytes.data(), someSize, &someWidth, &someHeight, &someChannels))
		{
			aError = std::string("corrupt image header (") + stbi_failure_reason() + ")";
			return false;
		}
		if (someWidth <= 0 || someHeight <= 0 || std::uint64_t(someWidth) * std::uint64_t(someHeight) > MAX_DECODED_PIXELS)
		{
			aError = "image size " + std::to_string(someWidth) + " x " + std::to_string(someHeight) + " out of range";
			return false;
		}

		stbi_uc* someDecoded = stbi_load_from_memory(aBytes.data(), someSize, &someWidth, &someHeight, &someChannels, RGBA_CHANNELS);
		if (!someDecoded)
		{
			aError = std::string("corrupt image data (") + stbi_failure_reason() + ")";
			return false;
		}
		aImage.myWidth = static_cast<std::uint32_t>(someWidth);
		aImage.myHeight = static_cast<std::uint32_t>(someHeight);
		aImage.myPixels.assign(someDecoded, someDecoded + std::size_t{ aImage.myWidth } * aImage.myHeight * RGBA_CHANNELS);
		stbi_image_free(someDecoded);

		if (!FitToMaxSize(aImage, aMaxSize))
		{
			aError = "image could not be scaled to " + std::to_string(aMaxSize) + " pixels";
			aImage = WicImage();
			return false;
		}

		bool someIsSrgb = false;
		if (aLoaderFlags & DirectX::WIC_LOADER_FORCE_SRGB)
			someIsSrgb = true;
		else if (!(aLoaderFlags & DirectX::WIC_LOADER_IGNORE_SRGB))
			someIsSrgb = someContainer == Container::Png && PngDeclaresSrgb(aBytes);
		aImage.myFormat = someIsSrgb ? DXGI_FORMAT_R8G8B8A8_UNORM_SRGB : DXGI_FORMAT_R8G8B8A8_UNORM;
		return true;
	}
}
