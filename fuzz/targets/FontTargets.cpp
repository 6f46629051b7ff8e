// The font loader: a TrueType file rasterised into the glyph atlas.
#include "FuzzTargets.h"
#include "Scratch.h"

#include "text/FontRasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>

namespace NorvFuzz
{
	namespace
	{
		constexpr std::uint32_t FONT_SIZE = 24; // pixels
		constexpr std::uint8_t FONT_BORDER = 2; // outline, pixels

		FT_Library Library()
		{
			static FT_Library ourLibrary = [] {
				FT_Library someLibrary = nullptr;
				return FT_Init_FreeType(&someLibrary) == 0 ? someLibrary : nullptr;
			}();
			return ourLibrary;
		}

		bool IsFraction(float aValue)
		{
			return aValue >= 0.0f && aValue <= 1.0f;
		}
	}

	bool RunFont(Input aInput)
	{
		const std::string somePath = WriteScratch("font.ttf", aInput).string();
		auto someFont = std::make_unique<Norv::InternalTextAndFontData>();
		if (!Library() || !Norv::impl::RasterizeFont(Library(), somePath, FONT_SIZE, FONT_BORDER, *someFont))
			return true;
		if (someFont->myAtlasWidth == 0 || someFont->myAtlasHeight == 0
			|| someFont->myPixels.size() != std::size_t{ someFont->myAtlasWidth } * someFont->myAtlasHeight
			|| !std::isfinite(someFont->myLineHeight))
			return Inconsistent("an atlas whose pixels are not its size");
		// Every glyph's rectangle lies inside the atlas.
		for (const Norv::GlyphData& someGlyph : someFont->myGlyphs)
		{
			if (!IsFraction(someGlyph.myAtlasLeft) || !IsFraction(someGlyph.myAtlasRight) || !IsFraction(someGlyph.myAtlasTop)
				|| !IsFraction(someGlyph.myAtlasBottom) || someGlyph.myAtlasLeft > someGlyph.myAtlasRight || someGlyph.myAtlasTop > someGlyph.myAtlasBottom)
				return Inconsistent("a glyph outside the atlas");
		}
		return true;
	}
}
