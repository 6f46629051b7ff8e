// Copies the blackletter face with textura capitals in place of the Fraktur ones
// that misread at title size: its V reads as a D and its I as a J. The new forms
// keep the face's look: stems as wide as its own, tops cut at its slant, hairline
// flags and pointed feet, straight edges only. They are drawn for a 1000-unit em
// with capitals 709 units tall and scaled to the height of the glyph they replace;
// the advance stays, so text keeps its width. Usage:
// NorvTexturaCapitals <source font> <destination font>
#include "FileOutput.h"
#include "FontTables.h"
#include "GlyphOutlines.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

using namespace NorvMedia;

namespace
{
	constexpr double DRAWN_CAPITAL_HEIGHT = 709.0; // font units the forms below are drawn at

	struct Capital
	{
		char myCharacter;
		std::vector<OutlineContour> myContours;
	};

	// Clockwise outlines, y up from the baseline.
	const Capital CAPITALS[] = {
		// V: a broad left stroke and a hairline right one meeting in a point on the baseline.
		{ 'V', { {
			{ 200, 0 }, { 52, 612 }, { -6, 588 }, { 46, 662 }, { 162, 709 }, { 248, 205 },
			{ 330, 628 }, { 362, 709 }, { 402, 676 }, { 234, 0 },
		} } },
		// I: one stem between two thin slanted bars with pointed ends, so that it reads
		// neither as the face's J nor as its l.
		{ 'I', { {
			{ 24, 652 }, { 50, 678 }, { 318, 709 }, { 340, 683 }, { 318, 657 }, { 229, 647 }, { 229, 74 }, { 310, 83 },
			{ 334, 57 }, { 310, 31 }, { 42, 0 }, { 20, 26 }, { 42, 52 }, { 131, 62 }, { 131, 635 }, { 50, 626 },
		} } },
	};

	std::uint16_t GlyphOf(const std::vector<std::uint8_t>& someFont, char aCharacter)
	{
		FT_Library someLibrary = nullptr;
		if (FT_Init_FreeType(&someLibrary) != 0)
			throw std::runtime_error("FreeType does not start");
		FT_Face someFace = nullptr;
		const bool isLoaded = FT_New_Memory_Face(someLibrary, someFont.data(), static_cast<FT_Long>(someFont.size()), 0, &someFace) == 0;
		const FT_UInt someGlyph = isLoaded ? FT_Get_Char_Index(someFace, static_cast<unsigned char>(aCharacter)) : 0;
		if (isLoaded)
			FT_Done_Face(someFace);
		FT_Done_FreeType(someLibrary);
		if (!isLoaded)
			throw std::runtime_error("FreeType cannot read the font");
		if (someGlyph == 0)
			throw std::runtime_error(std::string("the font has no glyph for '") + aCharacter + "'");
		return static_cast<std::uint16_t>(someGlyph);
	}

	void ReplaceCapitals(FontTables& someTables)
	{
		const std::vector<std::uint8_t> someFont = someTables.Bytes();
		for (const Capital& someCapital : CAPITALS)
		{
			const std::uint16_t someGlyph = GlyphOf(someFont, someCapital.myCharacter);
			const double someScale = OutlineBox(someTables, someGlyph).yMax / DRAWN_CAPITAL_HEIGHT;
			std::vector<OutlineContour> someContours = someCapital.myContours;
			for (OutlineContour& someContour : someContours)
				for (OutlinePoint& somePoint : someContour)
				{
					somePoint.x = static_cast<int>(std::lround(somePoint.x * someScale));
					somePoint.y = static_cast<int>(std::lround(somePoint.y * someScale));
				}
			ReplaceOutline(someTables, someGlyph, someContours);
		}
	}
}

int main(int anArgumentCount, char** anArguments)
{
	if (anArgumentCount != 3)
	{
		std::fprintf(stderr, "usage: NorvTexturaCapitals <source font> <destination font>\n");
		return 2;
	}
	try
	{
		FontTables someTables = ReadFontFile(anArguments[1]);
		ReplaceCapitals(someTables);
		WriteFileAtomically(anArguments[2], someTables.Bytes());
	}
	catch (const std::exception& anError)
	{
		std::fprintf(stderr, "NorvTexturaCapitals: %s: %s\n", anArguments[1], anError.what());
		return 1;
	}
	return 0;
}
