#include "loaders/TargaLoader.h"

#include "debug/Assert.h"
#include "files/FilePath.h"
#include "kernel/Kernel.h"

#include <algorithm>
#include <optional>

namespace Norv
{
	namespace
	{
		constexpr std::size_t HEADER_SIZE = 18;
		constexpr std::size_t ID_LENGTH_OFFSET = 0;
		constexpr std::size_t COLOR_MAP_TYPE_OFFSET = 1;
		constexpr std::size_t IMAGE_TYPE_OFFSET = 2;
		constexpr std::uint8_t UNCOMPRESSED_TRUE_COLOR = 2;
		constexpr std::size_t WIDTH_OFFSET = 12;
		constexpr std::size_t HEIGHT_OFFSET = 14;
		constexpr std::size_t DEPTH_OFFSET = 16;
		constexpr std::size_t DESCRIPTOR_OFFSET = 17;
		constexpr std::uint8_t RIGHT_TO_LEFT_BIT = 0x10;
		constexpr std::uint8_t TOP_TO_BOTTOM_BIT = 0x20;
		constexpr std::size_t BYTES_PER_PIXEL = 4;

		std::uint16_t ReadU16(const std::vector<std::uint8_t>& aBytes, std::size_t aOffset)
		{
			return static_cast<std::uint16_t>(aBytes[aOffset] | (aBytes[aOffset + 1] << 8));
		}
	}

	std::unique_ptr<TargaImage> LoadTarga(const std::wstring& aPath)
	{
		const std::optional<std::vector<std::uint8_t>> someFile = Platform::ReadWholeFile(Platform::WideToUtf8(aPath));
		const std::vector<std::uint8_t>* fp = someFile ? &*someFile : nullptr;
		NV_ASSERT(fp != NULL);
		if (!fp || fp->size() < HEADER_SIZE)
			return nullptr;
		const std::vector<std::uint8_t>& someBytes = *fp;

		auto someImage = std::make_unique<TargaImage>();
		someImage->myWidth = ReadU16(someBytes, WIDTH_OFFSET);
		someImage->myHeight = ReadU16(someBytes, HEIGHT_OFFSET);
		someImage->myBitsPerPixel = someBytes[DEPTH_OFFSET];
		// Run-length encoded and colour-mapped files would be read as noise.
		if (someImage->myBitsPerPixel != 32 || someBytes[IMAGE_TYPE_OFFSET] != UNCOMPRESSED_TRUE_COLOR || someBytes[COLOR_MAP_TYPE_OFFSET] != 0)
			return nullptr;

		const std::size_t someRowSize = std::size_t{ someImage->myWidth } * BYTES_PER_PIXEL;
		const std::size_t someImageSize = someRowSize * someImage->myHeight;
		const std::size_t someDataStart = HEADER_SIZE + someBytes[ID_LENGTH_OFFSET];
		if (someBytes.size() < someDataStart || someBytes.size() - someDataStart < someImageSize)
			return nullptr;

		// Stored rows run bottom to top unless the descriptor says otherwise; pixels B, G, R, A.
		const std::uint8_t someDescriptor = someBytes[DESCRIPTOR_OFFSET];
		const bool someIsTopDown = (someDescriptor & TOP_TO_BOTTOM_BIT) != 0;
		const bool someIsRightToLeft = (someDescriptor & RIGHT_TO_LEFT_BIT) != 0;
		someImage->myPixels.resize(someImageSize);
		for (std::size_t someRow = 0; someRow < someImage->myHeight; ++someRow)
		{
			const std::size_t someSourceRow = someIsTopDown ? someRow : someImage->myHeight - 1 - someRow;
			const std::uint8_t* someSource = someBytes.data() + someDataStart + someSourceRow * someRowSize;
			std::uint8_t* someTarget = someImage->myPixels.data() + someRow * someRowSize;
			for (std::size_t someColumn = 0; someColumn < someImage->myWidth; ++someColumn)
			{
				const std::size_t someSourceColumn = someIsRightToLeft ? someImage->myWidth - 1 - someColumn : someColumn;
				const std::uint8_t* somePixel = someSource + someSourceColumn * BYTES_PER_PIXEL;
				std::uint8_t* someOut = someTarget + someColumn * BYTES_PER_PIXEL;
				someOut[0] = somePixel[2];
				someOut[1] = somePixel[1];
				someOut[2] = somePixel[0];
				someOut[3] = somePixel[3];
			}
		}
		return someImage;
	}
}
