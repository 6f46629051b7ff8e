#include "text/TextLayout.h"

#include <limits>

namespace Norv
{
	namespace impl
	{
		Vector2<float> GetPivotOffset(const InternalTextAndFontData& aFont, const TextPlacement& aPlacement)
		{
			if (aPlacement.myPivot == Vector2<float>{})
				return {};
			constexpr float BIG = std::numeric_limits<float>::max();
			Vector2<float> someMin{ BIG, BIG };
			Vector2<float> someMax{ -BIG, -BIG };
			LayOutText(aFont, aPlacement.myText, aPlacement.myScale, [&](const GlyphBox& aBox) {
				someMin = { std::min(someMin.x, aBox.myLeft), std::min(someMin.y, aBox.myTop - aBox.myHeight) };
				someMax = { std::max(someMax.x, aBox.myLeft + aBox.myWidth), std::max(someMax.y, aBox.myTop) };
			});
			if (aPlacement.myText.empty())
				return {};
			return { someMin.x + (someMax.x - someMin.x) * aPlacement.myPivot.x, someMin.y + (someMax.y - someMin.y) * aPlacement.myPivot.y };
		}

		Vector2<float> GetRotationCentre(const InternalTextAndFontData& aFont, const TextPlacement& aPlacement)
		{
			if (aPlacement.myRotation == 0.0f || aPlacement.myText.empty())
				return {};
			constexpr float BIG = std::numeric_limits<float>::max();
			Vector2<float> someMin{ BIG, BIG };
			Vector2<float> someMax{ -BIG, -BIG };
			// The far edges use the glyphs' unscaled sizes.
			LayOutText(aFont, aPlacement.myText, aPlacement.myScale, [&](const GlyphBox& aBox) {
				someMin = { std::min(someMin.x, aBox.myLeft), std::min(someMin.y, aBox.myTop) };
				someMax = { std::max(someMax.x, aBox.myLeft + aBox.myGlyph->myWidth), std::max(someMax.y, aBox.myTop + aBox.myGlyph->myHeight) };
			});
			return (someMax + someMin) * 0.5f;
		}
	}

	float MeasureTextWidth(const InternalTextAndFontData& aFont, std::string_view aText, float aScale)
	{
		float someWidth = std::numeric_limits<float>::min();
		LayOutText(aFont, aText, aScale, [&](const GlyphBox& aBox) { someWidth = std::max(someWidth, aBox.myLeft + aBox.myWidth); });
		return someWidth;
	}

	float MeasureTextHeight(const InternalTextAndFontData& aFont, std::string_view aText, float aScale)
	{
		float someHeight = std::numeric_limits<float>::min();
		LayOutText(aFont, aText, aScale, [&](const GlyphBox& aBox) { someHeight = std::max(someHeight, aBox.myTop + aBox.myHeight); });
		return someHeight;
	}
}
