#pragma once
// Moving pixels between memory laid out as Direct3D does (rows of any pitch,
// block rows for compressed formats) and GL textures.
#include "d3d11/Formats.h"

#include <cstddef>

namespace Platform::impl
{
	struct TextureRegion
	{
		unsigned myGlName = 0;
		unsigned myGlTarget = 0;
		unsigned myMip = 0;
		unsigned mySlice = 0; // array slice or cube face
		unsigned myX = 0, myY = 0, myWidth = 0, myHeight = 0;
	};

	void UploadTexture(const TextureRegion& aRegion, const GlFormat& aFormat, const void* aData, unsigned aRowPitch);
	// Into aData, rows packed tightly (RowPitch of the region's width).
	void DownloadTexture(const TextureRegion& aRegion, const GlFormat& aFormat, void* aData, std::size_t aSize);
}
