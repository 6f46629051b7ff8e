#pragma once
// The CPU side of the DDS texture loader: a DDS file's bytes become one described
// image (format, size, mip chain, array slices or cube faces) ready for upload.
// Keeps: the legacy header and the DX10 extension; BC1-BC7; 32-bit RGBA, BGRA and
// BGRX; mip chains; 2D arrays and cube maps; the force-sRGB and ignore-sRGB flags.
// Does not keep: 1D and volume textures, 16-bit, luminance, palette, float and
// typeless formats (declined with a reason).
#include "d3d11/dxgiformat.h"
#include "dds/DDSTextureLoader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Platform::dds
{
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
		DXGI_FORMAT myFormat = DXGI_FORMAT_UNKNOWN;
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
	bool ReadDds(std::vector<std::uint8_t> aBytes, DirectX::DDS_LOADER_FLAGS aLoaderFlags, DdsImage& aImage, std::string& aError);

	bool IsBlockCompressed(DXGI_FORMAT aFormat);
	// Bytes of one 4x4 block (8 or 16) for a compressed format, of one pixel (4) otherwise.
	std::uint32_t GetElementSize(DXGI_FORMAT aFormat);
}
