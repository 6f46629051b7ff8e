#pragma once
// The CPU side of the DDS texture loader: a DDS file's bytes become one described
// image (format, size, mip chain, array slices or cube faces) ready for upload.
// Keeps: the legacy header and the DX10 extension; BC1-BC7; 32-bit RGBA, BGRA and
// BGRX; mip chains; 2D arrays and cube maps; the force-sRGB and ignore-sRGB flags.
// Does not keep: 1D and volume textures, 16-bit, luminance, palette, float and
// typeless formats (declined with a reason).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Platform::dds
{
	// The DXGI format numbers the loader produces (values as in a DX10 header).
	enum class DdsFormat : std::uint32_t
	{
		Unknown = 0,
		R8G8B8A8_UNORM = 28,
		R8G8B8A8_UNORM_SRGB = 29,
		BC1_UNORM = 71,
		BC1_UNORM_SRGB = 72,
		BC2_UNORM = 74,
		BC2_UNORM_SRGB = 75,
		BC3_UNORM = 77,
		BC3_UNORM_SRGB = 78,
		BC4_UNORM = 80,
		BC4_SNORM = 81,
		BC5_UNORM = 83,
		BC5_SNORM = 84,
		B8G8R8A8_UNORM = 87,
		B8G8R8X8_UNORM = 88,
		B8G8R8A8_UNORM_SRGB = 91,
		B8G8R8X8_UNORM_SRGB = 93,
		BC6H_UF16 = 95,
		BC6H_SF16 = 96,
		BC7_UNORM = 98,
		BC7_UNORM_SRGB = 99,
	};

	// Loader flags, as the texture manager's colour modes 1 and 2.
	constexpr std::uint32_t DDS_LOADER_FORCE_SRGB = 0x1;
	constexpr std::uint32_t DDS_LOADER_IGNORE_SRGB = 0x2;

	// Largest width or height of a 2D texture.
	constexpr std::uint32_t MAX_TEXTURE_DIMENSION = 16384;

	// One mip level of one array slice (or cube face), inside DdsImage::myBytes.
	struct DdsSubresource
	{
		std::uint32_t myWidth = 0;
		std::uint32_t myHeight = 0;
		std::uint32_t myRowPitch = 0; // bytes of one row of pixels, or of one row of 4x4 blocks
		std::size_t myOffset = 0;
		std::size_t mySize = 0;
	};

	struct DdsImage
	{
		DdsFormat myFormat = DdsFormat::Unknown;
		std::uint32_t myWidth = 0;
		std::uint32_t myHeight = 0;
		std::uint32_t myMipCount = 0;
		std::uint32_t myArraySize = 0; // slices; six per cube
		bool myIsCube = false;
		std::vector<std::uint8_t> myBytes; // the whole file
		std::vector<DdsSubresource> mySubresources; // slice-major, mip-minor, as subresource indices count
	};

	// The reason ReadDds gives for bytes that are no DDS file at all.
	inline constexpr std::string_view NOT_A_DDS_FILE = "not a DDS file";

	// Describes the DDS file aBytes with aLoaderFlags applied to its format.
	// False with a short reason in aError for anything malformed, truncated or unsupported.
	bool ReadDds(std::vector<std::uint8_t> aBytes, std::uint32_t aLoaderFlags, DdsImage& aImage, std::string& aError);

	bool IsBlockCompressed(DdsFormat aFormat);
	// Bytes of one 4x4 block (8 or 16) for a compressed format, of one pixel (4) otherwise.
	std::uint32_t GetElementSize(DdsFormat aFormat);
}
