#pragma once
// Decodes BC1, BC2 and BC3 (S3TC) blocks to RGBA8 for GL drivers without the
// S3TC extension. BC4-BC7 need no such fallback: their GL formats are core in 4.5.
#include "dds/DdsImage.h"

#include <cstdint>
#include <vector>

namespace Platform::dds
{
	bool IsS3tc(DXGI_FORMAT aFormat);

	// One mip level of aFormat (BC1, BC2 or BC3) of aWidth x aHeight pixels, block rows
	// aRowPitch bytes apart, into tightly packed RGBA8 rows (top row first).
	std::vector<std::uint8_t> DecodeS3tc(DXGI_FORMAT aFormat, const std::uint8_t* aBlocks, std::uint32_t aWidth, std::uint32_t aHeight, std::uint32_t aRowPitch);
}
