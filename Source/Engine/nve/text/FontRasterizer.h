#pragma once
// Renders a TrueType font's characters 32 to 255 into a glyph atlas in memory,
// optionally with a black outline around each glyph. Built on FreeType 2.
#include "text/FontData.h"

#include <cstdint>
#include <string>

typedef struct FT_LibraryRec_* FT_Library;

namespace Norv::impl
{
	// Fills aFont's glyph records, atlas pixels and metrics from the font file at
	// aPath, sized aSize pixels at 100 dpi, outlined aBorder pixels wide (0: none).
	// False when the file cannot be opened as a font or sized.
	bool RasterizeFont(FT_Library aLibrary, const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder, InternalTextAndFontData& aFont);
}
