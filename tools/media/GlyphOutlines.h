#pragma once
// New outlines for single glyphs of a TrueType font: contours of straight edges
// (on-curve points of the glyf format's quadratic contours) written into the glyf
// and loca tables in place of a glyph's own, every other glyph's bytes kept.
#include "FontTables.h"

#include <cstdint>
#include <vector>

namespace NorvMedia
{
	struct OutlinePoint
	{
		int x = 0; // font units
		int y = 0;
	};
	using OutlineContour = std::vector<OutlinePoint>; // outer contours clockwise, holes counter-clockwise

	struct GlyphBox
	{
		int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
	};

	// The bounding box the glyf table records for aGlyph; throws std::runtime_error when the
	// glyph has no outline or the font has no glyf outlines (a CFF font).
	GlyphBox OutlineBox(FontTables& someTables, std::uint16_t aGlyph);

	// Gives aGlyph someContours as its outline without instructions. Its advance stays, its left
	// side bearing becomes the outline's left edge, and maxp's and head's bounds grow where the
	// outline passes them. Throws std::runtime_error when the tables are damaged.
	void ReplaceOutline(FontTables& someTables, std::uint16_t aGlyph, const std::vector<OutlineContour>& someContours);
}
