// Copies the blackletter face with textura letters in place of the Fraktur ones
// that misread: its V reads as a D, its I as a J, its T as a C, its v as an o, its
// w as "ro", its k as a t and its z as a 3. The new forms keep the face's look:
// stems as wide as its own, tops cut at its slant, hairline strokes, flags and
// feet, straight edges only. They are drawn in the units of the face's 1000-unit
// em and scaled to the height of the glyph they replace; the advance stays, so
// text keeps its width. Usage:
// NorvTexturaLetters <source font> <destination font>
#include "FileOutput.h"
#include "FontTables.h"
#include "GlyphOutlines.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

using namespace NorvMedia;

namespace
{
	struct Letter
	{
		char myCharacter;
		std::vector<OutlineContour> myContours;
	};

	// Clockwise outlines, y up from the baseline; capitals 709 units tall, the x-height 471.
	const Letter LETTERS[] = {
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
		// T: the face's bar over a stem at its middle with the l's foot, where the C has none.
		{ 'T', { {
			{ 144, 49 }, { 144, 612 }, { 11, 612 }, { 28, 711 }, { 375, 711 }, { 359, 612 }, { 242, 612 },
			{ 242, 117 }, { 312, 91 }, { 279, 0 },
		} } },
		// v: the V's broad stroke and hairline at the x-height, the broad one under the u's flag.
		{ 'v', { {
			{ 196, 0 }, { 50, 356 }, { -5, 382 }, { 44, 467 }, { 152, 404 }, { 243, 181 },
			{ 322, 410 }, { 352, 471 }, { 392, 440 }, { 232, 0 },
		} } },
		// w: two v's, the second's broad stroke rising from the first's hairline.
		{ 'w', { {
			{ 170, 0 }, { 58, 356 }, { -5, 382 }, { 44, 467 }, { 150, 404 }, { 215, 198 }, { 255, 400 }, { 300, 467 },
			{ 404, 404 }, { 464, 204 }, { 560, 420 }, { 585, 471 }, { 615, 445 }, { 455, 0 }, { 420, 0 }, { 303, 390 },
			{ 225, 0 },
		} } },
		// k: the l's stem with an arm up to the x-height and a leg down to the baseline.
		{ 'k', { {
			{ 27, 49 }, { 27, 617 }, { 125, 662 }, { 125, 335 }, { 222, 471 }, { 300, 442 }, { 208, 290 },
			{ 318, 52 }, { 270, 0 }, { 125, 290 }, { 125, 100 }, { 78, 0 },
		} } },
		// z: two bars with the face's slanted ends and a broad stroke between them, on the baseline.
		{ 'z', { {
			{ 10, 0 }, { 10, 90 }, { 170, 380 }, { 25, 380 }, { 45, 471 }, { 290, 471 }, { 290, 380 },
			{ 130, 90 }, { 275, 90 }, { 295, 0 },
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

	int TopOf(const std::vector<OutlineContour>& someContours)
	{
		int someTop = 0;
		for (const OutlineContour& someContour : someContours)
			for (const OutlinePoint& somePoint : someContour)
				someTop = std::max(someTop, somePoint.y);
		return someTop;
	}

	void ReplaceLetters(FontTables& someTables)
	{
		const std::vector<std::uint8_t> someFont = someTables.Bytes();
		for (const Letter& someLetter : LETTERS)
		{
			const std::uint16_t someGlyph = GlyphOf(someFont, someLetter.myCharacter);
			const double someScale = static_cast<double>(OutlineBox(someTables, someGlyph).yMax) / TopOf(someLetter.myContours);
			std::vector<OutlineContour> someContours = someLetter.myContours;
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
		std::fprintf(stderr, "usage: NorvTexturaLetters <source font> <destination font>\n");
		return 2;
	}
	try
	{
		FontTables someTables = ReadFontFile(anArguments[1]);
		ReplaceLetters(someTables);
		WriteFileAtomically(anArguments[2], someTables.Bytes());
	}
	catch (const std::exception& anError)
	{
		std::fprintf(stderr, "NorvTexturaLetters: %s: %s\n", anArguments[1], anError.what());
		return 1;
	}
	return 0;
}
