// Copies a TrueType or OpenType font with every glyph drawn at a fraction of its
// size: the em square grows by 1 / fraction, so outlines, advances and vertical
// metrics all shrink alike at any requested pixel size. Only the head table's
// units per em and the checksums change. Usage:
// NorvScaleFont <source font> <destination font> <fraction>
#include "FileOutput.h"
#include "FontTables.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

using namespace NorvMedia;

namespace
{
	constexpr std::size_t HEAD_UNITS_PER_EM = 18;
	constexpr std::size_t HEAD_LENGTH = 54;
	constexpr long SMALLEST_EM = 16;                  // the format's range
	constexpr long LARGEST_EM = 16384;

	void ScaleFont(FontTables& someTables, double aFraction)
	{
		std::vector<std::uint8_t>& someHead = someTables.Table("head");
		if (someHead.size() < HEAD_LENGTH)
			throw std::runtime_error("the head table is damaged");
		const long someEm = std::lround(ReadBigEndian(someHead, HEAD_UNITS_PER_EM, 2) / aFraction);
		if (someEm < SMALLEST_EM || someEm > LARGEST_EM)
			throw std::runtime_error("the scaled em square leaves the range 16 to 16384");
		WriteBigEndian(someHead, HEAD_UNITS_PER_EM, 2, static_cast<std::uint32_t>(someEm));
	}
}

int main(int anArgumentCount, char** anArguments)
{
	if (anArgumentCount != 4)
	{
		std::fprintf(stderr, "usage: NorvScaleFont <source font> <destination font> <fraction>\n");
		return 2;
	}
	try
	{
		const double someFraction = std::stod(anArguments[3]);
		if (!(someFraction > 0.0))
			throw std::runtime_error("the fraction must be above 0");
		FontTables someTables = ReadFontFile(anArguments[1]);
		ScaleFont(someTables, someFraction);
		WriteFileAtomically(anArguments[2], someTables.Bytes());
	}
	catch (const std::exception& anError)
	{
		std::fprintf(stderr, "NorvScaleFont: %s: %s\n", anArguments[1], anError.what());
		return 1;
	}
	return 0;
}
