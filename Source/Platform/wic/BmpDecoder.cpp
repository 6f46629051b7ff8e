#include "wic/ImageDecoders.h"

#include <array>
#include <bit>

namespace Platform::wic::impl
{
	namespace
	{
		constexpr std::size_t FILE_HEADER_BYTES = 14;
		constexpr std::uint32_t CORE_HEADER_BYTES = 12;
		constexpr std::uint32_t INFO_HEADER_BYTES = 40;
		constexpr std::uint32_t MAX_HEADER_BYTES = 124; // BITMAPV5HEADER
		constexpr std::uint32_t BI_RGB = 0;
		constexpr std::uint32_t BI_BITFIELDS = 3;
		constexpr std::size_t MASKS_OFFSET = FILE_HEADER_BYTES + INFO_HEADER_BYTES;
		constexpr std::uint32_t ALPHA_MASK_HEADER_BYTES = 56; // the first header with an alpha mask

		std::uint32_t ReadU16(std::span<const std::uint8_t> aBytes, std::size_t anOffset)
		{
			return std::uint32_t(aBytes[anOffset]) | std::uint32_t(aBytes[anOffset + 1]) << 8;
		}

		std::uint32_t ReadU32(std::span<const std::uint8_t> aBytes, std::size_t anOffset)
		{
			return ReadU16(aBytes, anOffset) | ReadU16(aBytes, anOffset + 2) << 16;
		}

		// One channel of a bit-field pixel: its masked bits scaled to 0..255.
		struct Channel
		{
			std::uint32_t myMask = 0;
			int myShift = 0;
			std::uint64_t myMax = 0;

			explicit Channel(std::uint32_t aMask)
				: myMask(aMask)
				, myShift(aMask ? std::countr_zero(aMask) : 0)
				, myMax(aMask ? (std::uint64_t{ 1 } << std::bit_width(aMask >> myShift)) - 1 : 0)
			{
			}

			std::uint8_t Read(std::uint32_t aPixel, std::uint8_t anAbsent) const
			{
				if (!myMask)
					return anAbsent;
				return static_cast<std::uint8_t>(((aPixel & myMask) >> myShift) * 255 / myMax);
			}
		};

		struct Header
		{
			std::uint32_t mySize = 0;
			std::int64_t myWidth = 0;
			std::int64_t myHeight = 0; // negative: top row first
			std::uint32_t myBitCount = 0;
			std::uint32_t myCompression = BI_RGB;
			std::uint32_t myColoursUsed = 0;
		};

		bool ReadHeader(std::span<const std::uint8_t> aBytes, Header& aHeader, std::string& aError)
		{
			aHeader.mySize = ReadU32(aBytes, FILE_HEADER_BYTES);
			const bool someIsCore = aHeader.mySize == CORE_HEADER_BYTES;
			if (!someIsCore && (aHeader.mySize < INFO_HEADER_BYTES || aHeader.mySize > MAX_HEADER_BYTES))
			{
				aError = "unsupported BMP header size " + std::to_string(aHeader.mySize);
				return false;
			}
			if (aBytes.size() < FILE_HEADER_BYTES + aHeader.mySize)
			{
				aError = "truncated BMP header";
				return false;
			}
			if (someIsCore)
			{
				aHeader.myWidth = ReadU16(aBytes, 18);
				aHeader.myHeight = ReadU16(aBytes, 20); // unsigned in this header: always bottom row first
				aHeader.myBitCount = ReadU16(aBytes, 24);
				return true;
			}
			aHeader.myWidth = static_cast<std::int32_t>(ReadU32(aBytes, 18));
			aHeader.myHeight = static_cast<std::int32_t>(ReadU32(aBytes, 22));
			aHeader.myBitCount = ReadU16(aBytes, 28);
			aHeader.myCompression = ReadU32(aBytes, 30);
			aHeader.myColoursUsed = ReadU32(aBytes, 46);
			return true;
		}

		bool IsSupported(const Header& aHeader)
		{
			switch (aHeader.myBitCount)
			{
			case 1:
			case 4:
			case 8:
			case 24:
				return aHeader.myCompression == BI_RGB;
			case 16:
			case 32:
				return aHeader.myCompression == BI_RGB || aHeader.myCompression == BI_BITFIELDS;
			default:
				return false;
			}
		}

		// The red, green, blue and alpha masks of a 16- or 32-bit file.
		bool ReadMasks(std::span<const std::uint8_t> aBytes, const Header& aHeader, std::array<std::uint32_t, 4>& aMasks, std::string& aError)
		{
			if (aHeader.myCompression == BI_RGB)
			{
				aMasks = aHeader.myBitCount == 16 ? std::array<std::uint32_t, 4>{ 0x7C00, 0x03E0, 0x001F, 0 }
													: std::array<std::uint32_t, 4>{ 0xFF0000, 0xFF00, 0xFF, 0xFF000000 };
				return true;
			}
			if (aBytes.size() < MASKS_OFFSET + 12)
			{
				aError = "truncated BMP colour masks";
				return false;
			}
			aMasks = { ReadU32(aBytes, MASKS_OFFSET), ReadU32(aBytes, MASKS_OFFSET + 4), ReadU32(aBytes, MASKS_OFFSET + 8), 0 };
			if (aHeader.mySize >= ALPHA_MASK_HEADER_BYTES)
				aMasks[3] = ReadU32(aBytes, MASKS_OFFSET + 12);
			return true;
		}

		// The palette of a 1-, 4- or 8-bit file as RGBA; indices past its end are black.
		bool ReadPalette(std::span<const std::uint8_t> aBytes, const Header& aHeader, std::vector<std::array<std::uint8_t, 4>>& aPalette, std::string& aError)
		{
			const std::uint32_t someMaxEntries = 1u << aHeader.myBitCount;
			const std::uint32_t someEntries = aHeader.myColoursUsed == 0 || aHeader.myColoursUsed > someMaxEntries ? someMaxEntries : aHeader.myColoursUsed;
			const std::size_t someEntryBytes = aHeader.mySize == CORE_HEADER_BYTES ? 3 : 4;
			const std::size_t someOffset = FILE_HEADER_BYTES + aHeader.mySize;
			if (aBytes.size() < someOffset + someEntries * someEntryBytes)
			{
				aError = "truncated BMP palette";
				return false;
			}
			aPalette.assign(someMaxEntries, { 0, 0, 0, 0xFF });
			for (std::uint32_t someEntry = 0; someEntry < someEntries; ++someEntry)
			{
				const std::size_t someAt = someOffset + someEntry * someEntryBytes;
				aPalette[someEntry] = { aBytes[someAt + 2], aBytes[someAt + 1], aBytes[someAt], 0xFF };
			}
			return true;
		}
	}

	bool DecodeBmp(std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError)
	{
		Header someHeader;
		if (aBytes.size() < FILE_HEADER_BYTES + 4)
		{
			aError = "truncated BMP header";
			return false;
		}
		if (!ReadHeader(aBytes, someHeader, aError))
			return false;
		if (!IsSupported(someHeader))
		{
			aError = "unsupported BMP: " + std::to_string(someHeader.myBitCount) + " bits per pixel, compression " + std::to_string(someHeader.myCompression);
			return false;
		}
		const std::uint64_t someWidth = someHeader.myWidth > 0 ? static_cast<std::uint64_t>(someHeader.myWidth) : 0;
		const std::uint64_t someHeight = static_cast<std::uint64_t>(someHeader.myHeight < 0 ? -someHeader.myHeight : someHeader.myHeight);
		if (!CheckDeclaredSize(someWidth, someHeight, aBytes.size(), aError))
			return false;
		const std::uint64_t someRowBytes = (someWidth * someHeader.myBitCount + 31) / 32 * 4;
		const std::uint64_t someDataOffset = ReadU32(aBytes, 10);
		if (someDataOffset > aBytes.size() || someRowBytes * someHeight > aBytes.size() - someDataOffset)
		{
			aError = "truncated BMP pixel data";
			return false;
		}

		std::vector<std::array<std::uint8_t, 4>> somePalette;
		std::array<std::uint32_t, 4> someMasks{};
		if (someHeader.myBitCount <= 8 ? !ReadPalette(aBytes, someHeader, somePalette, aError)
									   : someHeader.myBitCount != 24 && !ReadMasks(aBytes, someHeader, someMasks, aError))
			return false;
		const Channel someChannels[] = { Channel(someMasks[0]), Channel(someMasks[1]), Channel(someMasks[2]), Channel(someMasks[3]) };

		aImage.myWidth = static_cast<std::uint32_t>(someWidth);
		aImage.myHeight = static_cast<std::uint32_t>(someHeight);
		aImage.myPixels.resize(someWidth * someHeight * 4);
		bool someAnyAlpha = false;
		for (std::uint64_t someRow = 0; someRow < someHeight; ++someRow)
		{
			const std::uint8_t* someSource = aBytes.data() + someDataOffset + someRow * someRowBytes;
			const std::uint64_t someTarget = someHeader.myHeight < 0 ? someRow : someHeight - 1 - someRow;
			std::uint8_t* somePixel = aImage.myPixels.data() + someTarget * someWidth * 4;
			for (std::uint64_t someColumn = 0; someColumn < someWidth; ++someColumn, somePixel += 4)
			{
				const std::uint32_t someBits = someHeader.myBitCount;
				if (someBits <= 8)
				{
					const std::uint64_t someBitOffset = someColumn * someBits;
					const std::uint32_t someIndex = (someSource[someBitOffset / 8] >> (8 - someBits - someBitOffset % 8)) & ((1u << someBits) - 1);
					const std::array<std::uint8_t, 4>& someColour = somePalette[someIndex];
					std::copy(someColour.begin(), someColour.end(), somePixel);
					continue;
				}
				const std::uint8_t* someAt = someSource + someColumn * someBits / 8;
				if (someBits == 24)
				{
					somePixel[0] = someAt[2];
					somePixel[1] = someAt[1];
					somePixel[2] = someAt[0];
					somePixel[3] = 0xFF;
					continue;
				}
				const std::uint32_t someValue = someBits == 16 ? ReadU16({ someAt, 2 }, 0) : ReadU32({ someAt, 4 }, 0);
				for (int someChannel = 0; someChannel < 4; ++someChannel)
					somePixel[someChannel] = someChannels[someChannel].Read(someValue, 0xFF);
				someAnyAlpha = someAnyAlpha || (someMasks[3] && somePixel[3] != 0);
			}
		}
		// Writers that leave a 32-bit file's alpha byte unused fill it with zeros: such an image is opaque.
		if (someMasks[3] && !someAnyAlpha)
			for (std::size_t someAlpha = 3; someAlpha < aImage.myPixels.size(); someAlpha += 4)
				aImage.myPixels[someAlpha] = 0xFF;
		return true;
	}
}
