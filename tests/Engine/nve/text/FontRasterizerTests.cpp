#include "Support/TempFolder.h"
#include "text/FontRasterizer.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace
{
	const std::string DEJAVU_SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

	std::uint8_t Red(std::uint32_t aTexel) { return aTexel & 0xFF; }
	std::uint8_t Alpha(std::uint32_t aTexel) { return aTexel >> 24; }

	// Texels inside a glyph's atlas rectangle.
	template <typename Visit>
	void ForEachTexel(const Norv::InternalTextAndFontData& aFont, const Norv::GlyphData& aGlyph, Visit&& aVisit)
	{
		const auto someLeft = static_cast<std::size_t>(aGlyph.myAtlasLeft * Norv::FONT_ATLAS_SIZE);
		const auto someTop = static_cast<std::size_t>(aGlyph.myAtlasTop * Norv::FONT_ATLAS_SIZE);
		for (std::size_t someY = someTop; someY < someTop + aGlyph.myHeight; ++someY)
			for (std::size_t someX = someLeft; someX < someLeft + aGlyph.myWidth; ++someX)
				aVisit(aFont.myPixels[someY * Norv::FONT_ATLAS_SIZE + someX]);
	}
}

class FontRasterizer : public ::testing::Test
{
protected:
	void SetUp() override { ASSERT_EQ(FT_Init_FreeType(&myLibrary), 0); }
	void TearDown() override { FT_Done_FreeType(myLibrary); }

	std::unique_ptr<Norv::InternalTextAndFontData> Rasterize(std::uint32_t aSize, std::uint8_t aBorder, const std::string& aPath = DEJAVU_SANS)
	{
		auto someFont = std::make_unique<Norv::InternalTextAndFontData>();
		if (!Norv::impl::RasterizeFont(myLibrary, aPath, aSize, aBorder, *someFont))
			return nullptr;
		return someFont;
	}

	// The bitmap size FreeType itself renders for aCode at aSize (100 dpi).
	std::pair<int, int> BitmapSize(unsigned aCode, std::uint32_t aSize)
	{
		FT_Face someFace = nullptr;
		EXPECT_EQ(FT_New_Face(myLibrary, DEJAVU_SANS.c_str(), 0, &someFace), 0);
		FT_Set_Char_Size(someFace, aSize * 64, 0, 100, 100);
		FT_Load_Char(someFace, aCode, FT_LOAD_RENDER);
		const std::pair<int, int> someSize(someFace->glyph->bitmap.width, someFace->glyph->bitmap.rows);
		FT_Done_Face(someFace);
		return someSize;
	}

	FT_Library myLibrary = nullptr;
};

TEST_F(FontRasterizer, GlyphRecordsMatchFreeTypeBitmapsAndMetrics)
{
	const auto someFont = Rasterize(36, 0);
	ASSERT_NE(someFont, nullptr);
	EXPECT_EQ(someFont->myAtlasWidth, 1024u);
	EXPECT_EQ(someFont->myFontSize, 36);
	EXPECT_EQ(someFont->myPixels.size(), 1024u * 1024u);

	const Norv::GlyphData& someA = someFont->myGlyphs['A'];
	const auto [someWidth, someRows] = BitmapSize('A', 36);
	EXPECT_EQ(someA.myWidth, someWidth);
	EXPECT_EQ(someA.myHeight, someRows);
	EXPECT_GT(someA.myAdvanceX, 0);
	EXPECT_GT(someA.myTop, 0);
	EXPECT_FLOAT_EQ(someA.myAtlasRight - someA.myAtlasLeft, someWidth / 1024.0f);
	EXPECT_FLOAT_EQ(someA.myAtlasBottom - someA.myAtlasTop, someRows / 1024.0f);

	// DejaVu Sans: 2048 units per em, ascender 1901, descender -483; "x" is about 0.55 em wide.
	EXPECT_EQ(someFont->myLineHeight, (1901 + 483) / 64);
	EXPECT_EQ(someFont->mySpaceExtra, BitmapSize('x', 36).first / 4);

	bool someHasWhite = false;
	ForEachTexel(*someFont, someA, [&](std::uint32_t aTexel) { someHasWhite = someHasWhite || aTexel == 0xFFFFFFFFu; });
	EXPECT_TRUE(someHasWhite);
}

TEST_F(FontRasterizer, OnlyCodes32To255AreFilled)
{
	const auto someFont = Rasterize(20, 0);
	ASSERT_NE(someFont, nullptr);
	for (unsigned someCode = 0; someCode < 32; ++someCode)
		EXPECT_EQ(someFont->myGlyphs[someCode].myAdvanceX, 0) << someCode;
	EXPECT_GT(someFont->myGlyphs[' '].myAdvanceX, 0);
	EXPECT_EQ(someFont->myGlyphs[' '].myWidth, 0);
	EXPECT_GT(someFont->myGlyphs[0xE9].myWidth, 0) << "e acute, code 233";
	EXPECT_EQ(someFont->myGlyphs[256].myAdvanceX, 0);
}

TEST_F(FontRasterizer, OutlineGrowsGlyphsAndDrawsBlackAroundWhite)
{
	const auto somePlain = Rasterize(36, 0);
	const auto someOutlined = Rasterize(36, 2);
	ASSERT_NE(somePlain, nullptr);
	ASSERT_NE(someOutlined, nullptr);
	for (unsigned someCode : { 'A', 'g', 'W' })
	{
		EXPECT_EQ(someOutlined->myGlyphs[someCode].myWidth, somePlain->myGlyphs[someCode].myWidth + 4);
		EXPECT_EQ(someOutlined->myGlyphs[someCode].myHeight, somePlain->myGlyphs[someCode].myHeight + 4);
	}

	int someBlack = 0;
	int someWhite = 0;
	ForEachTexel(*someOutlined, someOutlined->myGlyphs['A'], [&](std::uint32_t aTexel) {
		someBlack += Alpha(aTexel) == 255 && Red(aTexel) == 0;
		someWhite += Alpha(aTexel) == 255 && Red(aTexel) == 255;
	});
	EXPECT_GT(someBlack, 20);
	EXPECT_GT(someWhite, 20);
	ForEachTexel(*somePlain, somePlain->myGlyphs['A'], [&](std::uint32_t aTexel) { EXPECT_EQ(Red(aTexel), Alpha(aTexel)) << "no outline: grey levels only"; });
}

TEST_F(FontRasterizer, WideOutlinesKeepGlyphBoxesApart)
{
	const auto someFont = Rasterize(24, 8);
	ASSERT_NE(someFont, nullptr);
	std::vector<const Norv::GlyphData*> someBoxes;
	for (unsigned someCode = 32; someCode <= 255; ++someCode)
		if (someFont->myGlyphs[someCode].myWidth > 0)
			someBoxes.push_back(&someFont->myGlyphs[someCode]);
	ASSERT_GT(someBoxes.size(), 150u);
	for (std::size_t someFirst = 0; someFirst < someBoxes.size(); ++someFirst)
		for (std::size_t someSecond = someFirst + 1; someSecond < someBoxes.size(); ++someSecond)
		{
			const Norv::GlyphData& a = *someBoxes[someFirst];
			const Norv::GlyphData& b = *someBoxes[someSecond];
			const bool someApart = a.myAtlasRight <= b.myAtlasLeft || b.myAtlasRight <= a.myAtlasLeft
				|| a.myAtlasBottom <= b.myAtlasTop || b.myAtlasBottom <= a.myAtlasTop;
			ASSERT_TRUE(someApart) << "glyph boxes " << someFirst << " and " << someSecond << " overlap";
		}
}

TEST_F(FontRasterizer, GlyphsThatDoNotFitAreSkipped)
{
	const auto someFont = Rasterize(150, 4);
	ASSERT_NE(someFont, nullptr);
	int someFitted = 0;
	for (unsigned someCode = 32; someCode <= 255; ++someCode)
	{
		const Norv::GlyphData& someGlyph = someFont->myGlyphs[someCode];
		EXPECT_LE(someGlyph.myAtlasRight, 1.0f);
		EXPECT_LE(someGlyph.myAtlasBottom, 1.0f);
		someFitted += someGlyph.myWidth > 0;
	}
	EXPECT_GT(someFitted, 10);
	EXPECT_EQ(someFont->myGlyphs[0xFF].myAdvanceX, 0) << "the atlas is full long before code 255";
}

TEST_F(FontRasterizer, UnreadableFontsFail)
{
	NorvTest::TempFolder someFolder;
	EXPECT_EQ(Rasterize(36, 0, (someFolder.Path() / "missing.ttf").string()), nullptr);
	EXPECT_EQ(Rasterize(36, 0, someFolder.Write("garbage.ttf", std::string(300, '\x42')).string()), nullptr);
	EXPECT_EQ(Rasterize(36, 0, someFolder.Write("empty.ttf", "").string()), nullptr);
}
