#include "wic/WicImage.h"

#include "wic/ImageDecoders.h"

#include <algorithm>
#include <cstring>

// stb_image_resize is compiled here, private to this file.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
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

	bool impl::CheckDeclaredSize(std::uint64_t aWidth, std::uint64_t aHeight, std::size_t aFileBytes, std::string& aError)
	{
		const std::uint64_t somePixels = aWidth * aHeight; // each side is at most 32 bits
		if (aWidth == 0 || aHeight == 0 || somePixels > MAX_DECODED_PIXELS || somePixels / MAX_PIXELS_PER_BYTE > aFileBytes)
		{
			aError = "image size " + std::to_string(aWidth) + " x " + std::to_string(aHeight) + " out of range for a file of " + std::to_string(aFileBytes) + " bytes";
			return false;
		}
		return true;
	}

	bool ReadImageSize(const std::vector<std::uint8_t>& aBytes, std::uint32_t& aWidth, std::uint32_t& aHeight, std::string& aError)
	{
		// The signature, then the header chunk: its length (13), "IHDR", width, height.
		constexpr std::size_t PNG_HEADER_END = 24;
		if (IdentifyContainer(aBytes) == Container::Png && aBytes.size() >= PNG_HEADER_END && std::memcmp(aBytes.data() + 12, "IHDR", 4) == 0)
		{
			const std::uint32_t someWidth = ReadBigEndian32(aBytes.data() + 16);
			const std::uint32_t someHeight = ReadBigEndian32(aBytes.data() + 20);
			if (!impl::CheckDeclaredSize(someWidth, someHeight, aBytes.size(), aError))
				return false;
			aWidth = someWidth;
			aHeight = someHeight;
			return true;
		}
		WicImage someImage;
		if (!DecodeImage(aBytes, 0, DirectX::WIC_LOADER_DEFAULT, someImage, aError))
			return false;
		aWidth = someImage.myWidth;
		aHeight = someImage.myHeight;
		return true;
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
		const std::span<const std::uint8_t> someBytes(aBytes);
		bool someDecoded = false;
		switch (someContainer)
		{
		case Container::Png:
			someDecoded = impl::DecodePng(someBytes, aImage, aError);
			break;
		case Container::Jpeg:
			someDecoded = impl::DecodeJpeg(someBytes, aImage, aError);
			break;
		case Container::Bmp:
			someDecoded = impl::DecodeBmp(someBytes, aImage, aError);
			break;
		case Container::Gif:
			someDecoded = impl::DecodeGif(someBytes, aImage, aError);
			break;
		case Container::Unknown:
			break;
		}
		if (!someDecoded)
		{
			aImage = WicImage();
			return false;
		}

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
