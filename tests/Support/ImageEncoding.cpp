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

	std::string EncodeGif(int aWidth, int aHeight, const std::vector<std::uint8_t>& aIndices, const std::array<std::uint8_t, 12>& aPalette)
	{
		constexpr std::uint8_t CODE_SIZE = 7; // 8-bit codes
		constexpr std::uint8_t CLEAR_CODE = 128;
		constexpr std::uint8_t END_CODE = 129;
		constexpr std::size_t CODES_PER_CLEAR = 100;
		constexpr std::size_t MAX_SUB_BLOCK = 255;
		const auto put16 = [](std::string& aFile, int aValue) { aFile += static_cast<char>(aValue & 0xFF); aFile += static_cast<char>((aValue >> 8) & 0xFF); };

		std::string someFile = "GIF89a";
		put16(someFile, aWidth);
		put16(someFile, aHeight);
		someFile += std::string("\x81\x00\x00", 3); // global table of 4 entries
		someFile.append(reinterpret_cast<const char*>(aPalette.data()), aPalette.size());
		someFile += ',';
		put16(someFile, 0);
		put16(someFile, 0);
		put16(someFile, aWidth);
		put16(someFile, aHeight);
		someFile += '\0';
		someFile += static_cast<char>(CODE_SIZE);

		std::string someCodes;
		for (std::size_t someIndex = 0; someIndex < aIndices.size(); ++someIndex)
		{
			if (someIndex % CODES_PER_CLEAR == 0)
				someCodes += static_cast<char>(CLEAR_CODE);
			someCodes += static_cast<char>(aIndices[someIndex]);
		}
		someCodes += static_cast<char>(END_CODE);
		for (std::size_t someStart = 0; someStart < someCodes.size(); someStart += MAX_SUB_BLOCK)
		{
			const std::string someBlock = someCodes.substr(someStart, MAX_SUB_BLOCK);
			someFile += static_cast<char>(someBlock.size());
			someFile += someBlock;
		}
		someFile += '\0';
		someFile += ';';
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
