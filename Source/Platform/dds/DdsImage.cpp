#include "dds/DdsImage.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace Platform::dds
{
	namespace
	{
		constexpr std::uint32_t MAGIC = 0x20534444; // "DDS "
		constexpr std::size_t MAGIC_SIZE = 4;
		constexpr std::size_t HEADER_SIZE = 124;
		constexpr std::size_t PIXEL_FORMAT_SIZE = 32;
		constexpr std::size_t DX10_HEADER_SIZE = 20;
		constexpr std::uint32_t MAX_MIP_COUNT = 15; // log2(16384) + 1

		// Legacy header fields (offsets from the start of the file).
		constexpr std::size_t HEADER_SIZE_OFFSET = 4;
		constexpr std::size_t HEIGHT_OFFSET = 12;
		constexpr std::size_t WIDTH_OFFSET = 16;
		constexpr std::size_t MIP_COUNT_OFFSET = 28;
		constexpr std::size_t PIXEL_FORMAT_OFFSET = 76;
		constexpr std::size_t CAPS2_OFFSET = 112;
		// Pixel format fields (offsets from its start).
		constexpr std::size_t PF_FLAGS = 4;
		constexpr std::size_t PF_FOURCC = 8;
		constexpr std::size_t PF_BIT_COUNT = 12;
		constexpr std::size_t PF_MASKS = 16; // red, green, blue, alpha

		constexpr std::uint32_t DDPF_ALPHAPIXELS = 0x1;
		constexpr std::uint32_t DDPF_FOURCC = 0x4;
		constexpr std::uint32_t DDPF_RGB = 0x40;
		constexpr std::uint32_t DDSCAPS2_CUBEMAP = 0x200;
		constexpr std::uint32_t DDSCAPS2_CUBEMAP_ALLFACES = 0xFC00;
		constexpr std::uint32_t DDSCAPS2_VOLUME = 0x200000;

		constexpr std::uint32_t DIMENSION_TEXTURE2D = 3;
		constexpr std::uint32_t MISC_TEXTURECUBE = 0x4;
		constexpr std::uint32_t CUBE_FACES = 6;

		constexpr std::uint32_t FourCC(const char (&aCode)[5])
		{
			return std::uint32_t(std::uint8_t(aCode[0])) | std::uint32_t(std::uint8_t(aCode[1])) << 8
				| std::uint32_t(std::uint8_t(aCode[2])) << 16 | std::uint32_t(std::uint8_t(aCode[3])) << 24;
		}

		std::uint32_t ReadU32(const std::vector<std::uint8_t>& aBytes, std::size_t aOffset)
		{
			std::uint32_t someValue = 0;
			std::memcpy(&someValue, aBytes.data() + aOffset, sizeof(someValue));
			return someValue;
		}

		bool IsSupported(DXGI_FORMAT aFormat)
		{
			switch (aFormat)
			{
			case DXGI_FORMAT_R8G8B8A8_UNORM: case DXGI_FORMAT_R8G8B8A8_UNORM_SRGB:
			case DXGI_FORMAT_B8G8R8A8_UNORM: case DXGI_FORMAT_B8G8R8A8_UNORM_SRGB:
			case DXGI_FORMAT_B8G8R8X8_UNORM: case DXGI_FORMAT_B8G8R8X8_UNORM_SRGB:
			case DXGI_FORMAT_BC1_UNORM: case DXGI_FORMAT_BC1_UNORM_SRGB:
			case DXGI_FORMAT_BC2_UNORM: case DXGI_FORMAT_BC2_UNORM_SRGB:
			case DXGI_FORMAT_BC3_UNORM: case DXGI_FORMAT_BC3_UNORM_SRGB:
			case DXGI_FORMAT_BC4_UNORM: case DXGI_FORMAT_BC4_SNORM:
			case DXGI_FORMAT_BC5_UNORM: case DXGI_FORMAT_BC5_SNORM:
			case DXGI_FORMAT_BC6H_UF16: case DXGI_FORMAT_BC6H_SF16:
			case DXGI_FORMAT_BC7_UNORM: case DXGI_FORMAT_BC7_UNORM_SRGB:
				return true;
			default:
				return false;
			}
		}

		// The legacy header's pixel format as a DXGI format; Unknown when unsupported.
		DXGI_FORMAT LegacyFormat(const std::vector<std::uint8_t>& aBytes)
		{
			const std::size_t someBase = PIXEL_FORMAT_OFFSET;
			const std::uint32_t someFlags = ReadU32(aBytes, someBase + PF_FLAGS);
			if (someFlags & DDPF_FOURCC)
			{
				switch (ReadU32(aBytes, someBase + PF_FOURCC))
				{
				case FourCC("DXT1"): return DXGI_FORMAT_BC1_UNORM;
				case FourCC("DXT2"): case FourCC("DXT3"): return DXGI_FORMAT_BC2_UNORM;
				case FourCC("DXT4"): case FourCC("DXT5"): return DXGI_FORMAT_BC3_UNORM;
				case FourCC("ATI1"): case FourCC("BC4U"): return DXGI_FORMAT_BC4_UNORM;
				case FourCC("BC4S"): return DXGI_FORMAT_BC4_SNORM;
				case FourCC("ATI2"): case FourCC("BC5U"): return DXGI_FORMAT_BC5_UNORM;
				case FourCC("BC5S"): return DXGI_FORMAT_BC5_SNORM;
				default: return DXGI_FORMAT_UNKNOWN;
				}
			}
			if (!(someFlags & DDPF_RGB) || ReadU32(aBytes, someBase + PF_BIT_COUNT) != 32)
				return DXGI_FORMAT_UNKNOWN;
			const std::uint32_t someRed = ReadU32(aBytes, someBase + PF_MASKS);
			const std::uint32_t someGreen = ReadU32(aBytes, someBase + PF_MASKS + 4);
			const std::uint32_t someBlue = ReadU32(aBytes, someBase + PF_MASKS + 8);
			const std::uint32_t someAlpha = (someFlags & DDPF_ALPHAPIXELS) ? ReadU32(aBytes, someBase + PF_MASKS + 12) : 0;
			if (someGreen != 0x0000FF00)
				return DXGI_FORMAT_UNKNOWN;
			if (someRed == 0x000000FF && someBlue == 0x00FF0000 && someAlpha == 0xFF000000)
				return DXGI_FORMAT_R8G8B8A8_UNORM;
			if (someRed == 0x00FF0000 && someBlue == 0x000000FF)
				return someAlpha == 0xFF000000 ? DXGI_FORMAT_B8G8R8A8_UNORM : someAlpha == 0 ? DXGI_FORMAT_B8G8R8X8_UNORM : DXGI_FORMAT_UNKNOWN;
			return DXGI_FORMAT_UNKNOWN;
		}

		DXGI_FORMAT MakeSrgb(DXGI_FORMAT aFormat)
		{
			switch (aFormat)
			{
			case DXGI_FORMAT_R8G8B8A8_UNORM: return DXGI_FORMAT_R8G8B8A8_UNORM_SRGB;
			case DXGI_FORMAT_B8G8R8A8_UNORM: return DXGI_FORMAT_B8G8R8A8_UNORM_SRGB;
			case DXGI_FORMAT_B8G8R8X8_UNORM: return DXGI_FORMAT_B8G8R8X8_UNORM_SRGB;
			case DXGI_FORMAT_BC1_UNORM: return DXGI_FORMAT_BC1_UNORM_SRGB;
			case DXGI_FORMAT_BC2_UNORM: return DXGI_FORMAT_BC2_UNORM_SRGB;
			case DXGI_FORMAT_BC3_UNORM: return DXGI_FORMAT_BC3_UNORM_SRGB;
			case DXGI_FORMAT_BC7_UNORM: return DXGI_FORMAT_BC7_UNORM_SRGB;
			default: return aFormat;
			}
		}

		DXGI_FORMAT MakeLinear(DXGI_FORMAT aFormat)
		{
			switch (aFormat)
			{
			case DXGI_FORMAT_R8G8B8A8_UNORM_SRGB: return DXGI_FORMAT_R8G8B8A8_UNORM;
			case DXGI_FORMAT_B8G8R8A8_UNORM_SRGB: return DXGI_FORMAT_B8G8R8A8_UNORM;
			case DXGI_FORMAT_B8G8R8X8_UNORM_SRGB: return DXGI_FORMAT_B8G8R8X8_UNORM;
			case DXGI_FORMAT_BC1_UNORM_SRGB: return DXGI_FORMAT_BC1_UNORM;
			case DXGI_FORMAT_BC2_UNORM_SRGB: return DXGI_FORMAT_BC2_UNORM;
			case DXGI_FORMAT_BC3_UNORM_SRGB: return DXGI_FORMAT_BC3_UNORM;
			case DXGI_FORMAT_BC7_UNORM_SRGB: return DXGI_FORMAT_BC7_UNORM;
			default: return aFormat;
			}
		}

		// Fills the subresource table; false when the file is shorter than the chain needs.
		bool LayOutSubresources(DdsImage& aImage, std::size_t aDataStart)
		{
			const bool someIsCompressed = IsBlockCompressed(aImage.myFormat);
			const std::uint32_t someElementSize = GetElementSize(aImage.myFormat);
			std::size_t someOffset = aDataStart;
			for (std::uint32_t someSlice = 0; someSlice < aImage.myArraySize; ++someSlice)
			{
				std::uint32_t someWidth = aImage.myWidth;
				std::uint32_t someHeight = aImage.myHeight;
				for (std::uint32_t someMip = 0; someMip < aImage.myMipCount; ++someMip)
				{
					const std::uint32_t someColumns = someIsCompressed ? std::max(1u, (someWidth + 3) / 4) : someWidth;
					const std::uint32_t someRows = someIsCompressed ? std::max(1u, (someHeight + 3) / 4) : someHeight;
					DdsSubresource someLevel;
					someLevel.myWidth = someWidth;
					someLevel.myHeight = someHeight;
					someLevel.myRowPitch = someColumns * someElementSize;
					someLevel.myOffset = someOffset;
					someLevel.mySize = std::size_t{ someLevel.myRowPitch } * someRows;
					if (aImage.myBytes.size() - someOffset < someLevel.mySize)
						return false;
					someOffset += someLevel.mySize;
					aImage.mySubresources.push_back(someLevel);
					someWidth = std::max(1u, someWidth / 2);
					someHeight = std::max(1u, someHeight / 2);
				}
			}
			return true;
		}
	}

	bool IsBlockCompressed(DXGI_FORMAT aFormat)
	{
		const auto someValue = static_cast<std::uint32_t>(aFormat);
		return (someValue >= 70 && someValue <= 84) || (someValue >= 94 && someValue <= 99);
	}

	std::uint32_t GetElementSize(DXGI_FORMAT aFormat)
	{
		switch (aFormat)
		{
		case DXGI_FORMAT_BC1_UNORM: case DXGI_FORMAT_BC1_UNORM_SRGB:
		case DXGI_FORMAT_BC4_UNORM: case DXGI_FORMAT_BC4_SNORM:
			return 8;
		default:
			return IsBlockCompressed(aFormat) ? 16 : 4;
		}
	}

	bool ReadDds(std::vector<std::uint8_t> aBytes, DirectX::DDS_LOADER_FLAGS aLoaderFlags, DdsImage& aImage, std::string& aError)
	{
		aImage = DdsImage();
		if (aBytes.size() < MAGIC_SIZE || ReadU32(aBytes, 0) != MAGIC)
		{
			aError = NOT_A_DDS_FILE;
			return false;
		}
		if (aBytes.size() < MAGIC_SIZE + HEADER_SIZE || ReadU32(aBytes, HEADER_SIZE_OFFSET) != HEADER_SIZE
			|| ReadU32(aBytes, PIXEL_FORMAT_OFFSET) != PIXEL_FORMAT_SIZE)
		{
			aError = "truncated or malformed DDS header";
			return false;
		}

		aImage.myWidth = ReadU32(aBytes, WIDTH_OFFSET);
		aImage.myHeight = ReadU32(aBytes, HEIGHT_OFFSET);
		aImage.myMipCount = std::max(1u, ReadU32(aBytes, MIP_COUNT_OFFSET));
		std::size_t someDataStart = MAGIC_SIZE + HEADER_SIZE;

		const bool someHasDx10 = (ReadU32(aBytes, PIXEL_FORMAT_OFFSET + PF_FLAGS) & DDPF_FOURCC)
			&& ReadU32(aBytes, PIXEL_FORMAT_OFFSET + PF_FOURCC) == FourCC("DX10");
		if (someHasDx10)
		{
			if (aBytes.size() < someDataStart + DX10_HEADER_SIZE)
			{
				aError = "truncated DX10 header";
				return false;
			}
			aImage.myFormat = static_cast<DXGI_FORMAT>(ReadU32(aBytes, someDataStart));
			const std::uint32_t someDimension = ReadU32(aBytes, someDataStart + 4);
			aImage.myIsCube = (ReadU32(aBytes, someDataStart + 8) & MISC_TEXTURECUBE) != 0;
			aImage.myArraySize = ReadU32(aBytes, someDataStart + 12);
			someDataStart += DX10_HEADER_SIZE;
			if (someDimension != DIMENSION_TEXTURE2D)
			{
				aError = "only 2D textures and cube maps are supported";
				return false;
			}
			if (aImage.myArraySize == 0 || aImage.myArraySize > MAX_TEXTURE_DIMENSION / CUBE_FACES)
			{
				aError = "invalid array size";
				return false;
			}
			if (aImage.myIsCube)
				aImage.myArraySize *= CUBE_FACES;
		}
		else
		{
			aImage.myFormat = LegacyFormat(aBytes);
			const std::uint32_t someCaps2 = ReadU32(aBytes, CAPS2_OFFSET);
			if (someCaps2 & DDSCAPS2_VOLUME)
			{
				aError = "volume textures are not supported";
				return false;
			}
			aImage.myIsCube = (someCaps2 & DDSCAPS2_CUBEMAP) != 0;
			if (aImage.myIsCube && (someCaps2 & DDSCAPS2_CUBEMAP_ALLFACES) != DDSCAPS2_CUBEMAP_ALLFACES)
			{
				aError = "cube map without all six faces";
				return false;
			}
			aImage.myArraySize = aImage.myIsCube ? CUBE_FACES : 1;
		}

		if (!IsSupported(aImage.myFormat))
		{
			aError = "unsupported pixel format";
			return false;
		}
		if (aImage.myWidth == 0 || aImage.myHeight == 0 || aImage.myWidth > MAX_TEXTURE_DIMENSION || aImage.myHeight > MAX_TEXTURE_DIMENSION
			|| (aImage.myIsCube && aImage.myWidth != aImage.myHeight))
		{
			aError = "invalid size " + std::to_string(aImage.myWidth) + " x " + std::to_string(aImage.myHeight);
			return false;
		}
		const std::uint32_t someFullChain = static_cast<std::uint32_t>(std::bit_width(std::max(aImage.myWidth, aImage.myHeight)));
		if (aImage.myMipCount > std::min(MAX_MIP_COUNT, someFullChain))
		{
			aError = "invalid mip count " + std::to_string(aImage.myMipCount);
			return false;
		}

		if (aLoaderFlags & DirectX::DDS_LOADER_FORCE_SRGB)
			aImage.myFormat = MakeSrgb(aImage.myFormat);
		else if (aLoaderFlags & DirectX::DDS_LOADER_IGNORE_SRGB)
			aImage.myFormat = MakeLinear(aImage.myFormat);

		aImage.myBytes = std::move(aBytes);
		if (!LayOutSubresources(aImage, someDataStart))
		{
			aError = "truncated pixel data";
			aImage = DdsImage();
			return false;
		}
		return true;
	}
}
