#pragma once
// The layout pass shared by drawing and measuring text: each byte of the text is
// one glyph box, in pen units times the scale, y up; a line feed starts a new line
// lower by the tallest glyph so far plus a fixed gap.
#include "text/FontData.h"

#include <algorithm>
#include <string_view>

namespace Norv
{
	constexpr float TEXT_LINE_GAP = 6.0f; // pen units between lines, below the tallest glyph

	struct GlyphBox
	{
		float myLeft = 0.0f;
		float myTop = 0.0f; // the box hangs down from here
		float myWidth = 0.0f;
		float myHeight = 0.0f;
		const GlyphData* myGlyph = nullptr;
	};

	// Calls aVisit(const GlyphBox&) for every byte of aText, line feeds included.
	template <typename Visit>
	void LayOutText(const InternalTextAndFontData& aFont, std::string_view aText, float aScale, Visit&& aVisit)
	{
		float somePenX = 0.0f;
		float somePenY = 0.0f;
		float someTallest = 0.0f;
		for (const char someByte : aText)
		{
			const unsigned char someCode = static_cast<unsigned char>(someByte);
			const GlyphData& someGlyph = aFont.myGlyphs[someCode];
			someTallest = std::max(someTallest, static_cast<float>(someGlyph.myHeight));
			aVisit(GlyphBox{ (someGlyph.myLeft + somePenX) * aScale, (someGlyph.myTop + somePenY) * aScale,
				someGlyph.myWidth * aScale, someGlyph.myHeight * aScale, &someGlyph });
			if (someCode == '\n')
			{
				somePenX = 0.0f;
				somePenY -= someTallest + TEXT_LINE_GAP;
				continue;
			}
			if (someCode == ' ')
				somePenX += static_cast<float>(aFont.mySpaceExtra);
			somePenX += someGlyph.myAdvanceX;
		}
	}

	// The right edge of the rightmost glyph box (the smallest positive float for an empty text).
	float MeasureTextWidth(const InternalTextAndFontData& aFont, std::string_view aText, float aScale);
	// The largest top + height over the glyph boxes (the smallest positive float for an empty text).
	float MeasureTextHeight(const InternalTextAndFontData& aFont, std::string_view aText, float aScale);
}
