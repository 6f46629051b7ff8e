#include "Lettering.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace NorvMedia
{
	struct Lettering::Face
	{
		FT_Library myLibrary = nullptr;
		FT_Face myFace = nullptr;
		~Face()
		{
			if (myFace)
				FT_Done_Face(myFace);
			if (myLibrary)
				FT_Done_FreeType(myLibrary);
		}
	};

	namespace
	{
		struct Mask
		{
			int myWidth = 0;
			int myHeight = 0;
			std::vector<float> myCoverage;
			float At(int x, int y) const { return x < 0 || y < 0 || x >= myWidth || y >= myHeight ? 0.0f : myCoverage[static_cast<std::size_t>(y) * myWidth + x]; }
		};

		// One box-blur pass of aRadius along rows (aStep 1) or columns (aStep = width), by running sums.
		void BoxBlur(std::vector<float>& aValues, int aCount, int aLength, int aStep, int aLineStep, int aRadius)
		{
			std::vector<float> someLine(static_cast<std::size_t>(aLength));
			for (int someLineIndex = 0; someLineIndex < aCount; ++someLineIndex)
			{
				float* someStart = aValues.data() + static_cast<std::ptrdiff_t>(someLineIndex) * aLineStep;
				for (int i = 0; i < aLength; ++i)
					someLine[static_cast<std::size_t>(i)] = someStart[static_cast<std::ptrdiff_t>(i) * aStep];
				float someSum = 0.0f;
				for (int i = -aRadius; i <= aRadius; ++i)
					someSum += i >= 0 && i < aLength ? someLine[static_cast<std::size_t>(i)] : 0.0f;
				for (int i = 0; i < aLength; ++i)
				{
					someStart[static_cast<std::ptrdiff_t>(i) * aStep] = someSum / static_cast<float>(2 * aRadius + 1);
					const int someIn = i + aRadius + 1;
					const int someOut = i - aRadius;
					someSum += (someIn < aLength ? someLine[static_cast<std::size_t>(someIn)] : 0.0f) - (someOut >= 0 ? someLine[static_cast<std::size_t>(someOut)] : 0.0f);
				}
			}
		}

		// The mask grown by about aRadius with rounded corners: blurred twice, then
		// cut at a low level (its cost does not depend on the radius).
		Mask Grow(const Mask& aMask, float aRadius)
		{
			Mask someGrown = aMask;
			const int someHalf = std::max(1, static_cast<int>(std::lround(aRadius * 0.5f)));
			for (int somePass = 0; somePass < 2; ++somePass)
			{
				BoxBlur(someGrown.myCoverage, aMask.myHeight, aMask.myWidth, 1, aMask.myWidth, someHalf);
				BoxBlur(someGrown.myCoverage, aMask.myWidth, aMask.myHeight, aMask.myWidth, 1, someHalf);
			}
			for (float& someValue : someGrown.myCoverage)
				someValue = std::clamp((someValue - 0.03f) / 0.12f, 0.0f, 1.0f);
			return someGrown;
		}

		void Stamp(Canvas& aCanvas, const Mask& aMask, int x, int y, const Rgba& aColor)
		{
			for (int my = 0; my < aMask.myHeight; ++my)
				for (int mx = 0; mx < aMask.myWidth; ++mx)
				{
					const float someCoverage = aMask.At(mx, my);
					const int px = x + mx;
					const int py = y + my;
					if (someCoverage > 0.0f && px >= 0 && py >= 0 && px < aCanvas.Width() && py < aCanvas.Height())
						aCanvas.Blend(px, py, aColor, someCoverage);
				}
		}
	}

	Lettering::Lettering(const std::string& aFontPath) : myFace(std::make_unique<Face>())
	{
		if (FT_Init_FreeType(&myFace->myLibrary) != 0 || FT_New_Face(myFace->myLibrary, aFontPath.c_str(), 0, &myFace->myFace) != 0)
			throw std::runtime_error("cannot read the font " + aFontPath);
	}

	Lettering::~Lettering() = default;

	float Lettering::Measure(const std::string& aText, int aPixelSize)
	{
		FT_Set_Pixel_Sizes(myFace->myFace, 0, static_cast<FT_UInt>(aPixelSize));
		float someWidth = 0.0f;
		for (unsigned char someCharacter : aText)
			if (FT_Load_Char(myFace->myFace, someCharacter, FT_LOAD_DEFAULT) == 0)
				someWidth += static_cast<float>(myFace->myFace->glyph->advance.x) / 64.0f;
		return someWidth;
	}

	void Lettering::Paint(Canvas& aCanvas, const std::string& aText, int aPixelSize, float cx, float cy, const TextStyle& aStyle)
	{
		const float someWidth = Measure(aText, aPixelSize);
		const int someMargin = static_cast<int>(std::ceil(aStyle.myOutlineWidth * 1.5f + aStyle.myShadowOffset)) + 2;
		const int someAscent = aPixelSize;
		Mask someMask{ static_cast<int>(someWidth) + 2 * someMargin, aPixelSize * 3 / 2 + 2 * someMargin, {} };
		someMask.myCoverage.assign(static_cast<std::size_t>(someMask.myWidth) * someMask.myHeight, 0.0f);
		float somePen = static_cast<float>(someMargin);
		const int someBaseline = someMargin + someAscent;
		for (unsigned char someCharacter : aText)
		{
			if (FT_Load_Char(myFace->myFace, someCharacter, FT_LOAD_RENDER) != 0)
				continue;
			const FT_GlyphSlot someGlyph = myFace->myFace->glyph;
			const FT_Bitmap& someBitmap = someGlyph->bitmap;
			for (unsigned int row = 0; row < someBitmap.rows; ++row)
				for (unsigned int column = 0; column < someBitmap.width; ++column)
				{
					const int x = static_cast<int>(somePen) + someGlyph->bitmap_left + static_cast<int>(column);
					const int y = someBaseline - someGlyph->bitmap_top + static_cast<int>(row);
					if (x < 0 || y < 0 || x >= someMask.myWidth || y >= someMask.myHeight)
						continue;
					float& someCoverage = someMask.myCoverage[static_cast<std::size_t>(y) * someMask.myWidth + x];
					someCoverage = std::max(someCoverage, static_cast<float>(someBitmap.buffer[row * static_cast<unsigned int>(someBitmap.pitch) + column]) / 255.0f);
				}
			somePen += static_cast<float>(someGlyph->advance.x) / 64.0f;
		}
		// Centre on the capital height, which is about 0.7 of the pixel size.
		const int x = static_cast<int>(std::lround(cx - someMask.myWidth * 0.5f));
		const int y = static_cast<int>(std::lround(cy - (someBaseline - aPixelSize * 0.35f)));
		const Mask someOutline = aStyle.myOutlineWidth > 0.0f ? Grow(someMask, aStyle.myOutlineWidth) : someMask;
		if (aStyle.myShadow.a > 0.0f)
		{
			const int someOffset = static_cast<int>(std::lround(aStyle.myShadowOffset));
			Stamp(aCanvas, someOutline, x + someOffset, y + someOffset, aStyle.myShadow);
		}
		if (aStyle.myOutlineWidth > 0.0f)
			Stamp(aCanvas, someOutline, x, y, aStyle.myOutline);
		Stamp(aCanvas, someMask, x, y, aStyle.myFill);
	}
}
