#pragma once
// Writes uncompressed 32-bit DDS files (legacy header, B8G8R8A8 masks): 2D
// textures and cube maps, each with an optional box-filtered mip chain.
#include "ArtImage.h"

#include <array>
#include <string>

namespace NorvArt
{
	// aMipCount 0 means the full chain down to 1 x 1.
	std::string WriteDds(const Image& aImage, std::uint32_t aMipCount = 0);
	// Faces in the order +X, -X, +Y, -Y, +Z, -Z, all square and of one size.
	std::string WriteCubeDds(const std::array<Image, 6>& aFaces, std::uint32_t aMipCount = 0);

	// The next mip level: every 2 x 2 block averaged (odd edges keep their last row or column).
	Image HalveImage(const Image& aImage);
}
