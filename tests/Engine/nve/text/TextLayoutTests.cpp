#include "text/TextLayout.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace
{
	Norv::GlyphData Glyph(std::int16_t aWidth, std::int16_t aHeight, std::int16_t aAdvance, std::int16_t aLeft, std::int16_t aTop)
	{
		Norv::GlyphData someGlyph;
		someGlyph.myWidth = aWidth;
		someGlyph.myHeight = aHeight;
		someGlyph.myAdvanceX = aAdvance;
		someGlyph.myLeft = aLeft;
		someGlyph.myTop = aTop;
		return someGlyph;
	}

	std::vector<Norv::GlyphBox> Boxes(const Norv::InternalTextAndFontData& aFont, std::string_view aText, float aScale = 1.0f)
	{
		std::vector<Norv::GlyphBox> someBoxes;
		Norv::LayOutText(aFont, aText, aScale, [&](const Norv::GlyphBox& aBox) { someBoxes.push_back(aBox); });
		return someBoxes;
	}
}

class TextLayout : public ::testing::Test
{
protected:
	void SetUp() override
	{
		myFont.myGlyphs['A'] = Glyph(20, 30, 22, 1, 30);
		myFont.myGlyphs['B'] = Glyph(18, 25, 21, 2, 25);
		myFont.myGlyphs[' '] = Glyph(0, 0, 9, 0, 0);
		myFont.myGlyphs[0xE9] = Glyph(16, 28, 19, 1, 28);
		myFont.mySpaceExtra = 4;
	}

	Norv::InternalTextAndFontData myFont;
};

TEST_F(TextLayout, LineFeedMovesDownByTallestGlyphPlusGapAtPenZero)
{
	const auto someBoxes = Boxes(myFont, "A\nB", 2.0f);
	ASSERT_EQ(someBoxes.size(), 3u);
	EXPECT_FLOAT_EQ(someBoxes[0].myLeft, 2.0f);
	EXPECT_FLOAT_EQ(someBoxes[0].myTop, 60.0f);
	EXPECT_FLOAT_EQ(someBoxes[0].myHeight, 60.0f);
	// B: pen (0, -(30 + 6)), scaled by 2.
	EXPECT_FLOAT_EQ(someBoxes[2].myLeft, 2.0f * 2);
	EXPECT_FLOAT_EQ(someBoxes[2].myTop, (25.0f - 36.0f) * 2);
	EXPECT_FLOAT_EQ(someBoxes[2].myWidth, 36.0f);

	// The tallest glyph is kept across lines: B is 25 tall, A stays the tallest.
	const auto someThreeLines = Boxes(myFont, "A\nB\nB");
	EXPECT_FLOAT_EQ(someThreeLines[4].myTop, 25.0f - 36.0f - 36.0f);
}

TEST_F(TextLayout, SpaceAdvancesByItsAdvancePlusExtra)
{
	const auto someBoxes = Boxes(myFont, "A B");
	ASSERT_EQ(someBoxes.size(), 3u);
	EXPECT_FLOAT_EQ(someBoxes[2].myLeft, 2.0f + 22 + 9 + 4);
}

TEST_F(TextLayout, ControlCodesHaveNoBoxAndNoAdvance)
{
	const auto someBoxes = Boxes(myFont, std::string("A\x01\x1f" "B", 4));
	ASSERT_EQ(someBoxes.size(), 4u);
	EXPECT_FLOAT_EQ(someBoxes[1].myWidth, 0.0f);
	EXPECT_FLOAT_EQ(someBoxes[2].myHeight, 0.0f);
	EXPECT_FLOAT_EQ(someBoxes[3].myLeft, 22.0f + 2);
}

TEST_F(TextLayout, BytesAbove127UseTheirOwnRecords)
{
	const auto someBoxes = Boxes(myFont, "A\xE9");
	ASSERT_EQ(someBoxes.size(), 2u);
	EXPECT_EQ(someBoxes[1].myGlyph, &myFont.myGlyphs[0xE9]);
	EXPECT_FLOAT_EQ(someBoxes[1].myLeft, 22.0f + 1);
	EXPECT_FLOAT_EQ(someBoxes[1].myWidth, 16.0f);
}

TEST_F(TextLayout, MeasuresRightmostEdgeAndHighestTopPlusHeight)
{
	EXPECT_FLOAT_EQ(Norv::MeasureTextWidth(myFont, "AB", 1.0f), 22 + 2 + 18);
	// The line feed's own (empty) box sits at the pen, past B's right edge.
	EXPECT_FLOAT_EQ(Norv::MeasureTextWidth(myFont, "AB\nA", 0.5f), (22 + 21) * 0.5f);
	EXPECT_FLOAT_EQ(Norv::MeasureTextHeight(myFont, "AB", 1.0f), 60.0f);
	EXPECT_EQ(Norv::MeasureTextWidth(myFont, "", 1.0f), std::numeric_limits<float>::min());
}

namespace
{
	std::vector<Norv::GlyphQuad> Quads(const Norv::InternalTextAndFontData& aFont, const Norv::TextPlacement& aPlacement)
	{
		std::vector<Norv::GlyphQuad> someQuads;
		Norv::PlaceText(aFont, aPlacement, [&](const Norv::GlyphQuad& aQuad) { someQuads.push_back(aQuad); });
		return someQuads;
	}
}

TEST_F(TextLayout, ZeroPivotPutsThePenOriginAtThePosition)
{
	myFont.myGlyphs['A'].myAtlasLeft = 0.25f;
	myFont.myGlyphs['A'].myAtlasBottom = 0.5f;
	const auto someQuads = Quads(myFont, { "AB", { 100.0f, 200.0f }, {}, 1.0f, 0.0f });
	ASSERT_EQ(someQuads.size(), 2u);
	EXPECT_EQ(someQuads[0].myTopLeft, (Norv::Vector2<float>(101.0f, 230.0f)));
	EXPECT_EQ(someQuads[0].mySize, (Norv::Vector2<float>(20.0f, 30.0f)));
	EXPECT_EQ(someQuads[0].myAtlasRect, (Norv::Vector4<float>(0.25f, 0.0f, 0.0f, 0.5f)));
	EXPECT_EQ(someQuads[1].myTopLeft, (Norv::Vector2<float>(100.0f + 24.0f, 225.0f)));
	EXPECT_EQ(someQuads[1].myRotation, 0.0f);
}

TEST_F(TextLayout, PivotIsAFractionOfTheGlyphBoxesBox)
{
	// "AB": x from 1 to 42, y from 0 (bottoms) to 30 (A's top).
	const auto someCentred = Quads(myFont, { "AB", { 100.0f, 200.0f }, { 0.5f, 0.5f }, 1.0f, 0.0f });
	EXPECT_EQ(someCentred[0].myTopLeft, (Norv::Vector2<float>(1.0f - 21.5f + 100.0f, 30.0f - 15.0f + 200.0f)));
	const auto someRight = Quads(myFont, { "AB", {}, { 1.0f, 0.0f }, 2.0f, 0.0f });
	EXPECT_EQ(someRight[1].myTopLeft, (Norv::Vector2<float>(48.0f - 84.0f, 50.0f))) << "right edge at the position, scaled";
	EXPECT_TRUE(Quads(myFont, { "", {}, { 0.5f, 0.5f }, 1.0f, 0.0f }).empty());
}

TEST_F(TextLayout, RotationTurnsGlyphCornersAboutTheCentre)
{
	// Centre: x (1 + 42) / 2, y (25 + 60) / 2; a half turn maps A's corner (1, 30) to (42, 55).
	const auto someQuads = Quads(myFont, { "AB", {}, {}, 1.0f, 3.14159265f });
	ASSERT_EQ(someQuads.size(), 2u);
	EXPECT_NEAR(someQuads[0].myTopLeft.x, 42.0f, 1e-4f);
	EXPECT_NEAR(someQuads[0].myTopLeft.y, 55.0f, 1e-4f);
	EXPECT_FLOAT_EQ(someQuads[0].myRotation, 3.14159265f);
}
