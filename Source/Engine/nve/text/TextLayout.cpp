#include "text/TextLayout.h"

#include <limits>

namespace Norv
{
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
