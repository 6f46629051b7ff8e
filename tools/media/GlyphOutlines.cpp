#include "GlyphOutlines.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>

namespace NorvMedia
{
	namespace
	{
		constexpr std::size_t HEAD_X_MIN = 36;           // then yMin, xMax, yMax
		constexpr std::size_t HEAD_LOCA_FORMAT = 50;
		constexpr std::size_t HEAD_LENGTH = 54;
		constexpr std::size_t HHEA_METRIC_COUNT = 34;
		constexpr std::size_t MAXP_GLYPH_COUNT = 4;
		constexpr std::size_t MAXP_POINTS = 6;           // then maxContours; only in the glyf version
		constexpr std::uint32_t MAXP_GLYF_VERSION = 0x00010000u;
		constexpr std::size_t SHORT_LOCA_LIMIT = 0x1FFFE; // short offsets are stored halved in 16 bits
		constexpr int LARGEST_COORDINATE = 16383;         // keeps every delta within 16 bits

		// glyf point flags
		constexpr std::uint8_t ON_CURVE = 0x01;
		constexpr std::uint8_t X_BYTE = 0x02;
		constexpr std::uint8_t Y_BYTE = 0x04;
		constexpr std::uint8_t X_SAME_OR_POSITIVE = 0x10;
		constexpr std::uint8_t Y_SAME_OR_POSITIVE = 0x20;

		int Signed16(std::uint32_t aValue) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(aValue)); }

		struct GlyphLocations
		{
			std::vector<std::size_t> myOffsets; // one per glyph and one past the last
			bool myIsShort = false;
		};

		GlyphLocations ReadLocations(FontTables& someTables)
		{
			if (!someTables.Has("glyf"))
				throw std::runtime_error("the font has no TrueType outlines (no glyf table; CFF outlines are not supported)");
			const std::vector<std::uint8_t>& someHead = someTables.Table("head");
			if (someHead.size() < HEAD_LENGTH)
				throw std::runtime_error("the head table is damaged");
			const std::uint32_t someFormat = ReadBigEndian(someHead, HEAD_LOCA_FORMAT, 2);
			if (someFormat > 1)
				throw std::runtime_error("the head table names an unknown loca format");
			GlyphLocations someLocations;
			someLocations.myIsShort = someFormat == 0;
			const std::size_t someCount = ReadBigEndian(someTables.Table("maxp"), MAXP_GLYPH_COUNT, 2);
			const std::vector<std::uint8_t>& someLoca = someTables.Table("loca");
			const int someWidth = someLocations.myIsShort ? 2 : 4;
			if (someLoca.size() < (someCount + 1) * someWidth)
				throw std::runtime_error("the loca table is shorter than the glyph count");
			const std::size_t someGlyfLength = someTables.Table("glyf").size();
			for (std::size_t i = 0; i <= someCount; ++i)
			{
				const std::size_t someOffset = ReadBigEndian(someLoca, i * someWidth, someWidth) * (someLocations.myIsShort ? 2u : 1u);
				if (someOffset > someGlyfLength || (i > 0 && someOffset < someLocations.myOffsets.back()))
					throw std::runtime_error("the loca table is damaged");
				someLocations.myOffsets.push_back(someOffset);
			}
			return someLocations;
		}

		void Widen(GlyphBox& aBox, const GlyphBox& anOther)
		{
			aBox.xMin = std::min(aBox.xMin, anOther.xMin);
			aBox.yMin = std::min(aBox.yMin, anOther.yMin);
			aBox.xMax = std::max(aBox.xMax, anOther.xMax);
			aBox.yMax = std::max(aBox.yMax, anOther.yMax);
		}

		// Four 16-bit signed fields: xMin, yMin, xMax, yMax.
		GlyphBox ReadBox(const std::vector<std::uint8_t>& someBytes, std::size_t anOffset)
		{
			return { Signed16(ReadBigEndian(someBytes, anOffset, 2)), Signed16(ReadBigEndian(someBytes, anOffset + 2, 2)),
				Signed16(ReadBigEndian(someBytes, anOffset + 4, 2)), Signed16(ReadBigEndian(someBytes, anOffset + 6, 2)) };
		}

		void PutU16(std::vector<std::uint8_t>& someBytes, int aValue)
		{
			someBytes.push_back(static_cast<std::uint8_t>((aValue >> 8) & 0xFF));
			someBytes.push_back(static_cast<std::uint8_t>(aValue & 0xFF));
		}

		// One coordinate's delta: a byte with its sign in the flag, nothing when zero, else 16 bits.
		void PutDelta(int aDelta, std::uint8_t aByteFlag, std::uint8_t aSameOrPositiveFlag, std::uint8_t& aFlag, std::vector<std::uint8_t>& someBytes)
		{
			if (aDelta == 0)
				aFlag |= aSameOrPositiveFlag;
			else if (aDelta >= -255 && aDelta <= 255)
			{
				aFlag |= aByteFlag | (aDelta > 0 ? aSameOrPositiveFlag : 0);
				someBytes.push_back(static_cast<std::uint8_t>(std::abs(aDelta)));
			}
			else
				PutU16(someBytes, aDelta);
		}

		// A simple glyph without instructions, padded to a 4-byte boundary.
		std::vector<std::uint8_t> EncodeGlyph(const std::vector<OutlineContour>& someContours, const GlyphBox& aBox)
		{
			std::vector<std::uint8_t> someGlyph;
			PutU16(someGlyph, static_cast<int>(someContours.size()));
			for (int someValue : { aBox.xMin, aBox.yMin, aBox.xMax, aBox.yMax })
				PutU16(someGlyph, someValue);
			int someLastPoint = -1;
			for (const OutlineContour& someContour : someContours)
				PutU16(someGlyph, someLastPoint += static_cast<int>(someContour.size()));
			PutU16(someGlyph, 0); // no instructions
			std::vector<std::uint8_t> someFlags, someXs, someYs;
			OutlinePoint somePrevious{ 0, 0 };
			for (const OutlineContour& someContour : someContours)
				for (const OutlinePoint& somePoint : someContour)
				{
					std::uint8_t someFlag = ON_CURVE;
					PutDelta(somePoint.x - somePrevious.x, X_BYTE, X_SAME_OR_POSITIVE, someFlag, someXs);
					PutDelta(somePoint.y - somePrevious.y, Y_BYTE, Y_SAME_OR_POSITIVE, someFlag, someYs);
					someFlags.push_back(someFlag);
					somePrevious = somePoint;
				}
			for (const auto* somePart : { &someFlags, &someXs, &someYs })
				someGlyph.insert(someGlyph.end(), somePart->begin(), somePart->end());
			someGlyph.resize((someGlyph.size() + 3) & ~std::size_t{ 3 });
			return someGlyph;
		}
	}

	GlyphBox OutlineBox(FontTables& someTables, std::uint16_t aGlyph)
	{
		const GlyphLocations someLocations = ReadLocations(someTables);
		if (aGlyph + 1u >= someLocations.myOffsets.size())
			throw std::runtime_error("the font has no glyph " + std::to_string(aGlyph));
		const std::size_t someStart = someLocations.myOffsets[aGlyph];
		if (someLocations.myOffsets[aGlyph + 1] - someStart < 10)
			throw std::runtime_error("glyph " + std::to_string(aGlyph) + " has no outline");
		return ReadBox(someTables.Table("glyf"), someStart + 2);
	}

	void ReplaceOutline(FontTables& someTables, std::uint16_t aGlyph, const std::vector<OutlineContour>& someContours)
	{
		const GlyphLocations someLocations = ReadLocations(someTables);
		const std::size_t someGlyphCount = someLocations.myOffsets.size() - 1;
		if (aGlyph >= someGlyphCount)
			throw std::runtime_error("the font has no glyph " + std::to_string(aGlyph));

		GlyphBox someBox{ std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), std::numeric_limits<int>::min() };
		int somePointCount = 0;
		for (const OutlineContour& someContour : someContours)
		{
			if (someContour.empty())
				throw std::runtime_error("an outline contour has no points");
			for (const OutlinePoint& somePoint : someContour)
			{
				if (std::abs(somePoint.x) > LARGEST_COORDINATE || std::abs(somePoint.y) > LARGEST_COORDINATE)
					throw std::runtime_error("an outline point lies outside the glyph coordinate range");
				Widen(someBox, { somePoint.x, somePoint.y, somePoint.x, somePoint.y });
			}
			somePointCount += static_cast<int>(someContour.size());
		}
		if (somePointCount == 0)
			throw std::runtime_error("the new outline has no points");

		// glyf and loca: the new glyph between the others' unchanged bytes.
		std::vector<std::uint8_t>& someGlyf = someTables.Table("glyf");
		const std::vector<std::uint8_t> someNewGlyph = EncodeGlyph(someContours, someBox);
		std::vector<std::uint8_t> someNewGlyf(someGlyf.begin(), someGlyf.begin() + someLocations.myOffsets[aGlyph]);
		someNewGlyf.insert(someNewGlyf.end(), someNewGlyph.begin(), someNewGlyph.end());
		someNewGlyf.insert(someNewGlyf.end(), someGlyf.begin() + someLocations.myOffsets[aGlyph + 1], someGlyf.end());
		const std::ptrdiff_t someShift = static_cast<std::ptrdiff_t>(someNewGlyph.size()) - static_cast<std::ptrdiff_t>(someLocations.myOffsets[aGlyph + 1] - someLocations.myOffsets[aGlyph]);
		if (someLocations.myIsShort && someLocations.myOffsets.back() + someShift > SHORT_LOCA_LIMIT)
			throw std::runtime_error("the glyf table outgrows the short loca offsets");
		std::vector<std::uint8_t>& someLoca = someTables.Table("loca");
		const int someWidth = someLocations.myIsShort ? 2 : 4;
		for (std::size_t i = aGlyph + 1; i <= someGlyphCount; ++i)
			WriteBigEndian(someLoca, i * someWidth, someWidth, static_cast<std::uint32_t>((someLocations.myOffsets[i] + someShift) / (someLocations.myIsShort ? 2 : 1)));
		someGlyf = std::move(someNewGlyf);

		// hmtx: the left side bearing is the outline's left edge; glyphs past the last full
		// metric keep only a bearing.
		const std::size_t someMetricCount = ReadBigEndian(someTables.Table("hhea"), HHEA_METRIC_COUNT, 2);
		std::vector<std::uint8_t>& someHmtx = someTables.Table("hmtx");
		const std::size_t someBearing = aGlyph < someMetricCount ? 4 * aGlyph + 2 : 4 * someMetricCount + 2 * (aGlyph - someMetricCount);
		if (someHmtx.size() < someBearing + 2)
			throw std::runtime_error("the hmtx table is shorter than the glyph count");
		WriteBigEndian(someHmtx, someBearing, 2, static_cast<std::uint32_t>(someBox.xMin));

		// maxp's largest glyph and head's box of all glyphs.
		std::vector<std::uint8_t>& someMaxp = someTables.Table("maxp");
		if (ReadBigEndian(someMaxp, 0, 4) == MAXP_GLYF_VERSION)
		{
			WriteBigEndian(someMaxp, MAXP_POINTS, 2, std::max<std::uint32_t>(ReadBigEndian(someMaxp, MAXP_POINTS, 2), somePointCount));
			WriteBigEndian(someMaxp, MAXP_POINTS + 2, 2, std::max<std::uint32_t>(ReadBigEndian(someMaxp, MAXP_POINTS + 2, 2), static_cast<std::uint32_t>(someContours.size())));
		}
		std::vector<std::uint8_t>& someHead = someTables.Table("head");
		GlyphBox someFontBox = ReadBox(someHead, HEAD_X_MIN);
		Widen(someFontBox, someBox);
		int i = 0;
		for (int someValue : { someFontBox.xMin, someFontBox.yMin, someFontBox.xMax, someFontBox.yMax })
			WriteBigEndian(someHead, HEAD_X_MIN + 2 * i++, 2, static_cast<std::uint32_t>(someValue));
	}
}
