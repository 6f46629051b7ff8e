#pragma once
// The layout pass shared by drawing and measuring text: each byte of the text is
// one glyph box, in pen units times the scale, y up; a line feed starts a new line
// lower by the tallest glyph so far plus a fixed gap.
#include "Math/Vector.h"
#include "text/FontData.h"

#include <algorithm>
#include <cmath>
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

	// Where one text goes: the fields of a text that decide its glyphs' places.
	struct TextPlacement
	{
		std::string_view myText;
		Vector2<float> myPosition;
		// Fraction of the text's box put at the position, x from the left, y up from
		// the bottom; exactly (0, 0) puts the first glyph's pen origin there instead.
		Vector2<float> myPivot;
		float myScale = 1.0f;
		float myRotation = 0.0f; // radians, about the centre of the glyph boxes
	};

	// One glyph quad: its top-left corner, size, rotation and atlas rectangle.
	struct GlyphQuad
	{
		Vector2<float> myTopLeft;
		Vector2<float> mySize;
		float myRotation = 0.0f;
		Vector4<float> myAtlasRect; // left, top, right, bottom
	};

	namespace impl
	{
		// The shift that puts the pivot point of the text's box at the position.
		Vector2<float> GetPivotOffset(const InternalTextAndFontData& aFont, const TextPlacement& aPlacement);
		// The point rotations turn about.
		Vector2<float> GetRotationCentre(const InternalTextAndFontData& aFont, const TextPlacement& aPlacement);
	}

	// Calls aVisit(const GlyphQuad&) for every glyph of the placed text.
	template <typename Visit>
	void PlaceText(const InternalTextAndFontData& aFont, const TextPlacement& aPlacement, Visit&& aVisit)
	{
		const Vector2<float> someOffset = impl::GetPivotOffset(aFont, aPlacement);
		const Vector2<float> someCentre = impl::GetRotationCentre(aFont, aPlacement);
		const float someCos = std::cos(aPlacement.myRotation);
		const float someSin = std::sin(aPlacement.myRotation);
		LayOutText(aFont, aPlacement.myText, aPlacement.myScale, [&](const GlyphBox& aBox) {
			Vector2<float> somePoint{ aBox.myLeft, aBox.myTop };
			if (aPlacement.myRotation != 0.0f)
			{
				const Vector2<float> someRelative = somePoint - someCentre;
				somePoint = { someRelative.x * someCos - someRelative.y * someSin + someCentre.x, someRelative.y * someCos + someRelative.x * someSin + someCentre.y };
			}
			const GlyphData& someGlyph = *aBox.myGlyph;
			aVisit(GlyphQuad{ somePoint + aPlacement.myPosition - someOffset, { aBox.myWidth, aBox.myHeight }, aPlacement.myRotation,
				{ someGlyph.myAtlasLeft, someGlyph.myAtlasTop, someGlyph.myAtlasRight, someGlyph.myAtlasBottom } });
		});
	}

	// The right edge of the rightmost glyph box (the smallest positive float for an empty text).
	float MeasureTextWidth(const InternalTextAndFontData& aFont, std::string_view aText, float aScale);
	// The largest top + height over the glyph boxes (the smallest positive float for an empty text).
	float MeasureTextHeight(const InternalTextAndFontData& aFont, std::string_view aText, float aScale);
}
