#include "Support/ImageEncoding.h"

#include <zlib.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace NorvTest
{
	namespace
	{
		void Append(void* aContext, void* aData, int aSize)
		{
			static_cast<std::string*>(aContext)->append(static_cast<const char*>(aData), static_cast<std::size_t>(aSize));
		}

		std::string BigEndian32(std::uint32_t aValue)
		{
			return { static_cast<char>(aValue >> 24), static_cast<char>(aValue >> 16), static_cast<char>(aValue >> 8), static_cast<char>(aValue) };
		}
	}

	std::string EncodePng(int aWidth, int aHeight, const std::vector<std::uint8_t>& aPixels)
	{
		std::string someFile;
		stbi_write_png_to_func(Append, &someFile, aWidth, aHeight, 4, aPixels.data(), aWidth * 4);
		return someFile;
	}

	std::string EncodeBmp(int aWidth, int aHeight, const std::vector<std::uint8_t>& aPixels)
	{
		std::string someFile;
		stbi_write_bmp_to_func(Append, &someFile, aWidth, aHeight, 4, aPixels.data());
		return someFile;
	}

	std::string EncodeJpeg(int aWidth, int aHeight, const std::vector<std::uint8_t>& aPixels)
	{
		constexpr int QUALITY_PERCENT = 100;
		std::string someFile;
		stbi_write_jpg_to_func(Append, &someFile, aWidth, aHeight, 4, aPixels.data(), QUALITY_PERCENT);
		return someFile;
	}

	std::string InsertPngChunk(const std::string& aPng, const char (&aType)[5], const std::string& aData)
	{
		constexpr std::size_t AFTER_HEADER_CHUNK = 8 + 25;
		const std::string someBody = std::string(aType, 4) + aData;
		const uLong someCrc = crc32(0, reinterpret_cast<const Bytef*>(someBody.data()), static_cast<uInt>(someBody.size()));
		const std::string someChunk = BigEndian32(static_cast<std::uint32_t>(aData.size())) + someBody + BigEndian32(static_cast<std::uint32_t>(someCrc));
		return aPng.substr(0, AFTER_HEADER_CHUNK) + someChunk + aPng.substr(AFTER_HEADER_CHUNK);
	}

	std::vector<std::uint8_t> PatternPixels(int aWidth, int aHeight)
	{
		std::vector<std::uint8_t> somePixels(static_cast<std::size_t>(aWidth) * aHeight * 4);
		for (std::size_t someIndex = 0; someIndex < somePixels.size(); ++someIndex)
			somePixels[someIndex] = static_cast<std::uint8_t>(someIndex * 37 + 11);
		return somePixels;
	}

	std::vector<std::uint8_t> SolidPixels(int aWidth, int aHeight, std::array<std::uint8_t, 4> aTexel)
	{
		std::vector<std::uint8_t> somePixels;
		somePixels.reserve(static_cast<std::size_t>(aWidth) * aHeight * aTexel.size());
		for (int someIndex = 0; someIndex < aWidth * aHeight; ++someIndex)
			somePixels.insert(somePixels.end(), aTexel.begin(), aTexel.end());
		return somePixels;
	}
}
