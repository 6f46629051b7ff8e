#include "text/FontRasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

#include <algorithm>
#include <memory>

namespace Norv::impl
{
	namespace
	{
		constexpr FT_UInt FONT_DPI = 100;
		constexpr int ATLAS_MARGIN_PX = 2; // free texels at the atlas's left and top edges
		constexpr int GLYPH_GAP_PX = 8; // free texels between neighbouring glyphs
		constexpr int FIXED_26_6 = 64; // one pixel in FreeType's 26.6 fixed point
		constexpr int SPACE_EXTRA_DIVISOR = 256; // the space extra is a quarter of the width of "x"

		struct FaceCloser
		{
			void operator()(FT_Face aFace) const { FT_Done_Face(aFace); }
		};
		struct StrokerCloser
		{
			void operator()(FT_Stroker aStroker) const { FT_Stroker_Done(aStroker); }
		};
		struct GlyphCloser
		{
			void operator()(FT_Glyph aGlyph) const { FT_Done_Glyph(aGlyph); }
		};

		// A bitmap's first column (x) or first row (y) that is all blank shifts it by -1.
		struct BlankEdgeOffset
		{
			int myX = 0;
			int myY = 0;
		};

		BlankEdgeOffset GetBlankEdgeOffset(const FT_Bitmap& aBitmap)
		{
			bool someFirstColumnBlank = true;
			for (unsigned someRow = 0; someRow < aBitmap.rows; ++someRow)
				someFirstColumnBlank = someFirstColumnBlank && (aBitmap.width == 0 || aBitmap.buffer[someRow * aBitmap.pitch] == 0);
			bool someFirstRowBlank = true;
			for (unsigned someColumn = 0; someColumn < aBitmap.width; ++someColumn)
				someFirstRowBlank = someFirstRowBlank && (aBitmap.rows == 0 || aBitmap.buffer[someColumn] == 0);
			return { someFirstColumnBlank ? -1 : 0, someFirstRowBlank ? -1 : 0 };
		}

		// Calls aWrite(texel, coverage) for every bitmap pixel placed at (aX, aY) that lands inside the atlas.
		template <typename Write>
		void BlitClipped(InternalTextAndFontData& aFont, const FT_Bitmap& aBitmap, int aX, int aY, Write&& aWrite)
		{
			constexpr int ATLAS = static_cast<int>(FONT_ATLAS_SIZE);
			for (int someRow = 0; someRow < static_cast<int>(aBitmap.rows); ++someRow)
			{
				const int someY = aY + someRow;
				if (someY < 0 || someY >= ATLAS)
					continue;
				for (int someColumn = 0; someColumn < static_cast<int>(aBitmap.width); ++someColumn)
				{
					const int someX = aX + someColumn;
					if (someX < 0 || someX >= ATLAS)
						continue;
					aWrite(aFont.myPixels[static_cast<std::size_t>(someY) * FONT_ATLAS_SIZE + someX], aBitmap.buffer[someRow * aBitmap.pitch + someColumn]);
				}
			}
		}

		// Whether a glyph of these outline metrics, with its border, could ever fit the atlas.
		bool FitsAnAtlas(const FT_Glyph_Metrics& aMetrics, int aBorder)
		{
			constexpr FT_Pos LARGEST = static_cast<FT_Pos>(FONT_ATLAS_SIZE) * FIXED_26_6;
			const FT_Pos someBorder = static_cast<FT_Pos>(2 * aBorder) * FIXED_26_6;
			return aMetrics.width >= 0 && aMetrics.height >= 0 && aMetrics.width + someBorder <= LARGEST && aMetrics.height + someBorder <= LARGEST;
		}

		// The stroked outline of character aCode as black texels of its coverage.
		void DrawOutline(FT_Library aLibrary, FT_Face aFace, unsigned aCode, std::uint8_t aBorder, int aPenX, int aPenY, InternalTextAndFontData& aFont)
		{
			if (FT_Load_Char(aFace, aCode, FT_LOAD_NO_BITMAP) || aFace->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
				return;
			FT_Glyph someRawGlyph = nullptr;
			if (FT_Get_Glyph(aFace->glyph, &someRawGlyph))
				return;
			std::unique_ptr<FT_GlyphRec_, GlyphCloser> someGlyph(someRawGlyph);
			FT_Stroker someRawStroker = nullptr;
			if (FT_Stroker_New(aLibrary, &someRawStroker))
				return;
			std::unique_ptr<FT_StrokerRec_, StrokerCloser> someStroker(someRawStroker);
			FT_Stroker_Set(someStroker.get(), aBorder * FIXED_26_6, FT_STROKER_LINECAP_ROUND, FT_STROKER_LINEJOIN_ROUND, 0);

			// Both calls replace the glyph they are given (destroying the old one), also on failure.
			someRawGlyph = someGlyph.release();
			const FT_Error someStrokeError = FT_Glyph_StrokeBorder(&someRawGlyph, someStroker.get(), false, true);
			someGlyph.reset(someRawGlyph);
			if (someStrokeError)
				return;
			someRawGlyph = someGlyph.release();
			const FT_Error someBitmapError = FT_Glyph_To_Bitmap(&someRawGlyph, FT_RENDER_MODE_NORMAL, nullptr, true);
			someGlyph.reset(someRawGlyph);
			if (someBitmapError)
				return;

			const FT_Bitmap& someBitmap = reinterpret_cast<FT_BitmapGlyph>(someGlyph.get())->bitmap;
			const BlankEdgeOffset someOffset = GetBlankEdgeOffset(someBitmap);
			BlitClipped(aFont, someBitmap, aPenX + someOffset.myX, aPenY + someOffset.myY, [](std::uint32_t& aTexel, std::uint8_t aCoverage) {
				aTexel = std::uint32_t{ aCoverage } << 24;
			});
		}
	}

	bool RasterizeFont(FT_Library aLibrary, const std::string& aPath, std::uint32_t aSize, std::uint8_t aBorder, InternalTextAndFontData& aFont)
	{
		FT_Face someRawFace = nullptr;
		if (FT_New_Face(aLibrary, aPath.c_str(), 0, &someRawFace))
			return false;
		const std::unique_ptr<FT_FaceRec_, FaceCloser> someFace(someRawFace);
		if (FT_Set_Char_Size(someFace.get(), static_cast<FT_F26Dot6>(aSize) * FIXED_26_6, 0, FONT_DPI, FONT_DPI))
			return false;
		if (FT_Load_Char(someFace.get(), 'x', FT_LOAD_DEFAULT))
			return false;
		aFont.mySpaceExtra = static_cast<std::int32_t>(someFace->glyph->metrics.width / SPACE_EXTRA_DIVISOR);
		aFont.myFontSize = static_cast<std::int16_t>(aSize);
		aFont.myPixels.assign(std::size_t{ FONT_ATLAS_SIZE } * FONT_ATLAS_SIZE, 0);

		const int someBorder = aBorder;
		int somePenX = ATLAS_MARGIN_PX;
		int somePenY = ATLAS_MARGIN_PX;
		int someRowBottom = 0;
		for (unsigned someCode = FIRST_FONT_CHARACTER; someCode <= LAST_FONT_CHARACTER; ++someCode)
		{
			// A damaged face may claim glyphs of tens of thousands of pixels: those are
			// skipped before FreeType is asked for a bitmap of that size.
			if (FT_Load_Char(someFace.get(), someCode, FT_LOAD_DEFAULT) || !FitsAnAtlas(someFace->glyph->metrics, someBorder)
				|| FT_Render_Glyph(someFace->glyph, FT_RENDER_MODE_NORMAL))
				continue;
			const int someBoxWidth = static_cast<int>(someFace->glyph->bitmap.width) + 2 * someBorder;
			const int someBoxHeight = static_cast<int>(someFace->glyph->bitmap.rows) + 2 * someBorder;
			if (somePenX + someBoxWidth > static_cast<int>(FONT_ATLAS_SIZE))
			{
				somePenX = ATLAS_MARGIN_PX;
				somePenY = someRowBottom;
			}
			GlyphData someGlyph;
			someGlyph.myAtlasLeft = static_cast<float>(somePenX) / FONT_ATLAS_SIZE;
			someGlyph.myAtlasTop = static_cast<float>(somePenY) / FONT_ATLAS_SIZE;
			someGlyph.myAtlasRight = static_cast<float>(somePenX + someBoxWidth) / FONT_ATLAS_SIZE;
			someGlyph.myAtlasBottom = static_cast<float>(somePenY + someBoxHeight) / FONT_ATLAS_SIZE;
			if (someGlyph.myAtlasRight > 1.0f || someGlyph.myAtlasBottom > 1.0f)
				continue;

			if (someBorder > 0)
			{
				DrawOutline(aLibrary, someFace.get(), someCode, aBorder, somePenX, somePenY, aFont);
				if (FT_Load_Char(someFace.get(), someCode, FT_LOAD_RENDER))
					continue;
			}
			const FT_GlyphSlot someSlot = someFace->glyph;
			const BlankEdgeOffset someOffset = GetBlankEdgeOffset(someSlot->bitmap);
			BlitClipped(aFont, someSlot->bitmap, somePenX + someOffset.myX + someBorder, somePenY + someOffset.myY + someBorder, [](std::uint32_t& aTexel, std::uint8_t aCoverage) {
				const std::uint32_t someOutlineAlpha = aTexel >> 24;
				aTexel = aCoverage | aCoverage << 8 | aCoverage << 16 | (aCoverage | someOutlineAlpha) << 24;
			});
			if (someSlot->bitmap.rows > 0)
				someRowBottom = std::max(someRowBottom, somePenY + someBoxHeight - 1 + GLYPH_GAP_PX);

			someGlyph.myWidth = static_cast<std::int16_t>(someBoxWidth);
			someGlyph.myHeight = static_cast<std::int16_t>(someBoxHeight);
			someGlyph.myAdvanceX = static_cast<std::int16_t>(someSlot->advance.x >> 6);
			someGlyph.myAdvanceY = static_cast<std::int16_t>(someSlot->advance.y >> 6);
			someGlyph.myLeft = static_cast<std::int16_t>(someSlot->bitmap_left);
			someGlyph.myTop = static_cast<std::int16_t>(someSlot->bitmap_top);
			aFont.myGlyphs[someCode] = someGlyph;
			somePenX += someBoxWidth + GLYPH_GAP_PX;
		}

		aFont.myAtlasWidth = FONT_ATLAS_SIZE;
		aFont.myAtlasHeight = FONT_ATLAS_SIZE;
		aFont.myLineHeight = static_cast<float>((someFace->ascender - someFace->descender) / FIXED_26_6);
		return true;
	}
}
