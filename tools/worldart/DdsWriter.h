#pragma once
// Writes DDS files (legacy header): uncompressed 32-bit (B8G8R8A8 masks) 2D
// textures and cube maps, and BC3 ("DXT5") 2D textures for large sheets with
// soft alpha, each with an optional box-filtered mip chain.
#include "ArtImage.h"

#include <array>
#include <string>

namespace NorvArt
{
	// aMipCount 0 means the full chain down to 1 x 1.
	std::string WriteDds(const Image& aImage, std::uint32_t aMipCount = 0);
	std::string WriteBc3Dds(const Image& aImage, std::uint32_t aMipCount = 0);
	// Faces in the order +X, -X, +Y, -Y, +Z, -Z, all square and of one size.
	std::string WriteCubeDds(const std::array<Image, 6>& aFaces, std::uint32_t aMipCount = 0);

	// The next mip level: every 2 x 2 block averaged (odd edges keep their last row or column).
	Image HalveImage(const Image& aImage);
	// One 4 x 4 block (16 bytes) of BC3 from the block at (aX, aY); texels past the edge repeat the last ones.
	std::array<std::uint8_t, 16> EncodeBc3Block(const Image& aImage, std::uint32_t aX, std::uint32_t aY);
}
