#pragma once
// Builds DDS file bytes in memory for loader tests: the legacy header with a
// four-character code or RGB masks, optionally followed by the DX10 header.
#include <cstdint>
#include <cstring>
#include <string>

namespace NorvTest
{
	struct DdsLayout
	{
		std::uint32_t myWidth = 1;
		std::uint32_t myHeight = 1;
		std::uint32_t myMipCount = 1;
		std::uint32_t myCaps2 = 0; // cube map and volume bits of the legacy header
	};

	namespace impl
	{
		inline void PutU32(std::string& aBytes, std::size_t aOffset, std::uint32_t aValue)
		{
			std::memcpy(aBytes.data() + aOffset, &aValue, sizeof(aValue));
		}

		inline std::string MakeHeader(const DdsLayout& aLayout, std::uint32_t aPixelFlags, const char* aFourCC, std::uint32_t aBitCount, const std::uint32_t (&aMasks)[4])
		{
			std::string someBytes(128, '\0');
			std::memcpy(someBytes.data(), "DDS ", 4);
			PutU32(someBytes, 4, 124);
			PutU32(someBytes, 8, 0x1 | 0x2 | 0x4 | 0x1000 | 0x20000); // caps, height, width, pixel format, mip count
			PutU32(someBytes, 12, aLayout.myHeight);
			PutU32(someBytes, 16, aLayout.myWidth);
			PutU32(someBytes, 28, aLayout.myMipCount);
			PutU32(someBytes, 76, 32);
			PutU32(someBytes, 80, aPixelFlags);
			if (aFourCC)
				std::memcpy(someBytes.data() + 84, aFourCC, 4);
			PutU32(someBytes, 88, aBitCount);
			for (int someMask = 0; someMask < 4; ++someMask)
				PutU32(someBytes, 92 + 4 * someMask, aMasks[someMask]);
			PutU32(someBytes, 108, 0x1000);
			PutU32(someBytes, 112, aLayout.myCaps2);
			return someBytes;
		}
	}

	constexpr std::uint32_t DDS_CUBE_ALL_FACES = 0x200 | 0xFC00;

	// Legacy header with a four-character code ("DXT1", "DXT5", "ATI2"...), then aData.
	inline std::string MakeFourCCDds(const DdsLayout& aLayout, const char* aFourCC, const std::string& aData)
	{
		return impl::MakeHeader(aLayout, 0x4, aFourCC, 0, { 0, 0, 0, 0 }) + aData;
	}

	// Legacy header with RGB masks (red, green, blue, alpha; alpha 0 means none), then aData.
	inline std::string MakeMaskDds(const DdsLayout& aLayout, std::uint32_t aBitCount, const std::uint32_t (&aMasks)[4], const std::string& aData)
	{
		return impl::MakeHeader(aLayout, 0x40 | (aMasks[3] ? 0x1u : 0u), nullptr, aBitCount, aMasks) + aData;
	}

	// DX10 header naming a DXGI format; a cube has aArraySize cubes of six faces.
	inline std::string MakeDx10Dds(const DdsLayout& aLayout, std::uint32_t aDxgiFormat, const std::string& aData,
		std::uint32_t aArraySize = 1, bool aIsCube = false, std::uint32_t aDimension = 3)
	{
		std::string someBytes = impl::MakeHeader(aLayout, 0x4, "DX10", 0, { 0, 0, 0, 0 }) + std::string(20, '\0');
		impl::PutU32(someBytes, 128, aDxgiFormat);
		impl::PutU32(someBytes, 132, aDimension);
		impl::PutU32(someBytes, 136, aIsCube ? 0x4 : 0);
		impl::PutU32(someBytes, 140, aArraySize);
		return someBytes + aData;
	}

	constexpr std::uint32_t RGBA_MASKS[4] = { 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000 };
	constexpr std::uint32_t BGRA_MASKS[4] = { 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000 };
	constexpr std::uint32_t BGRX_MASKS[4] = { 0x00FF0000, 0x0000FF00, 0x000000FF, 0 };
}
