// Copies a TrueType or OpenType font with every glyph drawn at a fraction of its
// size: the em square grows by 1 / fraction, so outlines, advances and vertical
// metrics all shrink alike at any requested pixel size. Only the head table's
// units per em and the checksums change. Usage:
// NorvScaleFont <source font> <destination font> <fraction>
#include "FileOutput.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

using namespace NorvMedia;

namespace
{
	constexpr std::size_t TABLE_DIRECTORY = 12;       // bytes before the table records
	constexpr std::size_t TABLE_RECORD = 16;          // tag, checksum, offset, length
	constexpr std::size_t HEAD_ADJUSTMENT = 8;        // checkSumAdjustment in the head table
	constexpr std::size_t HEAD_UNITS_PER_EM = 18;
	constexpr std::size_t HEAD_LENGTH = 54;
	constexpr std::uint32_t CHECKSUM_MAGIC = 0xB1B0AFBAu;
	constexpr long SMALLEST_EM = 16;                  // the format's range
	constexpr long LARGEST_EM = 16384;

	std::uint32_t Read(const std::vector<std::uint8_t>& someBytes, std::size_t anOffset, int aWidth)
	{
		if (anOffset + aWidth > someBytes.size())
			throw std::runtime_error("the font file is cut short");
		std::uint32_t someValue = 0;
		for (int i = 0; i < aWidth; ++i)
			someValue = (someValue << 8) | someBytes[anOffset + i];
		return someValue;
	}

	void Write(std::vector<std::uint8_t>& someBytes, std::size_t anOffset, int aWidth, std::uint32_t aValue)
	{
		for (int i = aWidth - 1; i >= 0; --i, aValue >>= 8)
			someBytes[anOffset + i] = static_cast<std::uint8_t>(aValue & 0xFF);
	}

	// The sum of big-endian 32-bit words, the last one padded with zeros.
	std::uint32_t Checksum(const std::vector<std::uint8_t>& someBytes, std::size_t anOffset, std::size_t aLength)
	{
		std::uint32_t someSum = 0;
		for (std::size_t i = 0; i < aLength; i += 4)
		{
			std::uint32_t someWord = 0;
			for (std::size_t j = 0; j < 4; ++j)
				someWord = (someWord << 8) | (i + j < aLength ? someBytes[anOffset + i + j] : 0u);
			someSum += someWord;
		}
		return someSum;
	}

	void ScaleFont(std::vector<std::uint8_t>& someBytes, double aFraction)
	{
		const std::uint32_t someTableCount = Read(someBytes, 4, 2);
		for (std::uint32_t i = 0; i < someTableCount; ++i)
		{
			const std::size_t someRecord = TABLE_DIRECTORY + TABLE_RECORD * i;
			if (Read(someBytes, someRecord, 4) != 0x68656164u) // "head"
				continue;
			const std::size_t someHead = Read(someBytes, someRecord + 8, 4);
			const std::size_t someLength = Read(someBytes, someRecord + 12, 4);
			if (someLength < HEAD_LENGTH || someHead + someLength > someBytes.size())
				throw std::runtime_error("the head table is damaged");
			const long someEm = std::lround(Read(someBytes, someHead + HEAD_UNITS_PER_EM, 2) / aFraction);
			if (someEm < SMALLEST_EM || someEm > LARGEST_EM)
				throw std::runtime_error("the scaled em square leaves the range 16 to 16384");
			Write(someBytes, someHead + HEAD_UNITS_PER_EM, 2, static_cast<std::uint32_t>(someEm));
			Write(someBytes, someHead + HEAD_ADJUSTMENT, 4, 0);
			Write(someBytes, someRecord + 4, 4, Checksum(someBytes, someHead, someLength));
			Write(someBytes, someHead + HEAD_ADJUSTMENT, 4, CHECKSUM_MAGIC - Checksum(someBytes, 0, someBytes.size()));
			return;
		}
		throw std::runtime_error("the font has no head table");
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
		std::ifstream someFile(anArguments[1], std::ios::binary);
		if (!someFile)
			throw std::runtime_error(std::string("cannot read ") + anArguments[1]);
		std::vector<std::uint8_t> someBytes{ std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
		ScaleFont(someBytes, someFraction);
		WriteFileAtomically(anArguments[2], someBytes);
	}
	catch (const std::exception& anError)
	{
		std::fprintf(stderr, "NorvScaleFont: %s\n", anError.what());
		return 1;
	}
	return 0;
}
