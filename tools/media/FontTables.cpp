#include "FontTables.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <numeric>
#include <stdexcept>

namespace NorvMedia
{
	namespace
	{
		constexpr std::size_t DIRECTORY_HEADER = 12;  // version, table count, search fields
		constexpr std::size_t TABLE_RECORD = 16;      // tag, checksum, offset, length
		constexpr std::size_t HEAD_ADJUSTMENT = 8;    // checkSumAdjustment in the head table
		constexpr std::uint32_t CHECKSUM_MAGIC = 0xB1B0AFBAu;
		constexpr std::uint32_t TRUETYPE_VERSION = 0x00010000u;
		constexpr std::uint32_t APPLE_TRUETYPE_VERSION = 0x74727565u; // "true"
		constexpr std::uint32_t OPENTYPE_CFF_VERSION = 0x4F54544Fu;   // "OTTO"

		// A tag as it may be shown in a message: a damaged file's bytes are not all letters.
		std::string Printable(std::string aTag)
		{
			for (char& someCharacter : aTag)
				if (someCharacter < 0x20 || someCharacter > 0x7E)
					someCharacter = '?';
			return aTag;
		}

		std::size_t Padded(std::size_t aLength) { return (aLength + 3) & ~std::size_t{ 3 }; }

		// The sum of big-endian 32-bit words, the last one padded with zeros.
		std::uint32_t Checksum(std::span<const std::uint8_t> someBytes)
		{
			std::uint32_t someSum = 0;
			for (std::size_t i = 0; i < someBytes.size(); i += 4)
			{
				std::uint32_t someWord = 0;
				for (std::size_t j = 0; j < 4; ++j)
					someWord = (someWord << 8) | (i + j < someBytes.size() ? someBytes[i + j] : 0u);
				someSum += someWord;
			}
			return someSum;
		}
	}

	std::uint32_t ReadBigEndian(std::span<const std::uint8_t> someBytes, std::size_t anOffset, int aWidth)
	{
		if (anOffset > someBytes.size() || someBytes.size() - anOffset < static_cast<std::size_t>(aWidth))
			throw std::runtime_error("the font file is cut short");
		std::uint32_t someValue = 0;
		for (int i = 0; i < aWidth; ++i)
			someValue = (someValue << 8) | someBytes[anOffset + i];
		return someValue;
	}

	void WriteBigEndian(std::span<std::uint8_t> someBytes, std::size_t anOffset, int aWidth, std::uint32_t aValue)
	{
		for (int i = aWidth - 1; i >= 0; --i, aValue >>= 8)
			someBytes[anOffset + i] = static_cast<std::uint8_t>(aValue & 0xFF);
	}

	FontTables::FontTables(std::span<const std::uint8_t> someBytes)
	{
		const std::uint32_t someVersion = ReadBigEndian(someBytes, 0, 4);
		if (someVersion != TRUETYPE_VERSION && someVersion != APPLE_TRUETYPE_VERSION && someVersion != OPENTYPE_CFF_VERSION)
			throw std::runtime_error("the file is no TrueType or OpenType font");
		const std::size_t someCount = ReadBigEndian(someBytes, 4, 2);
		if (someCount == 0)
			throw std::runtime_error("the font has no tables");
		myHeader.assign(someBytes.begin(), someBytes.begin() + DIRECTORY_HEADER);
		std::vector<std::size_t> someOffsets;
		for (std::size_t i = 0; i < someCount; ++i)
		{
			const std::size_t someRecord = DIRECTORY_HEADER + TABLE_RECORD * i;
			ReadBigEndian(someBytes, someRecord, static_cast<int>(TABLE_RECORD)); // the whole record is there
			const std::string someTag(someBytes.begin() + someRecord, someBytes.begin() + someRecord + 4);
			const std::size_t someOffset = ReadBigEndian(someBytes, someRecord + 8, 4);
			const std::size_t someLength = ReadBigEndian(someBytes, someRecord + 12, 4);
			if (someOffset > someBytes.size() || someBytes.size() - someOffset < someLength)
				throw std::runtime_error("the " + Printable(someTag) + " table passes the end of the file: the file is cut short");
			myEntries.push_back({ someTag, { someBytes.begin() + someOffset, someBytes.begin() + someOffset + someLength } });
			someOffsets.push_back(someOffset);
		}
		myFileOrder.resize(someCount);
		std::iota(myFileOrder.begin(), myFileOrder.end(), std::size_t{ 0 });
		std::stable_sort(myFileOrder.begin(), myFileOrder.end(), [&](std::size_t a, std::size_t b) { return someOffsets[a] < someOffsets[b]; });
	}

	bool FontTables::Has(const std::string& aTag) const
	{
		return std::any_of(myEntries.begin(), myEntries.end(), [&](const Entry& anEntry) { return anEntry.myTag == aTag; });
	}

	std::vector<std::uint8_t>& FontTables::Table(const std::string& aTag)
	{
		for (Entry& someEntry : myEntries)
			if (someEntry.myTag == aTag)
				return someEntry.myBytes;
		throw std::runtime_error("the font has no " + aTag + " table");
	}

	std::vector<std::uint8_t> FontTables::Bytes() const
	{
		std::vector<std::uint8_t> someFile(myHeader);
		someFile.resize(DIRECTORY_HEADER + TABLE_RECORD * myEntries.size());
		std::size_t someHeadAdjustment = 0;
		for (std::size_t someIndex : myFileOrder)
		{
			const Entry& someEntry = myEntries[someIndex];
			std::vector<std::uint8_t> someTable = someEntry.myBytes;
			if (someEntry.myTag == "head" && someTable.size() >= HEAD_ADJUSTMENT + 4)
			{
				// The head table's checksum is taken with the adjustment at zero.
				WriteBigEndian(someTable, HEAD_ADJUSTMENT, 4, 0);
				someHeadAdjustment = someFile.size() + HEAD_ADJUSTMENT;
			}
			const std::size_t someRecord = DIRECTORY_HEADER + TABLE_RECORD * someIndex;
			std::copy(someEntry.myTag.begin(), someEntry.myTag.end(), someFile.begin() + someRecord);
			WriteBigEndian(someFile, someRecord + 4, 4, Checksum(someTable));
			WriteBigEndian(someFile, someRecord + 8, 4, static_cast<std::uint32_t>(someFile.size()));
			WriteBigEndian(someFile, someRecord + 12, 4, static_cast<std::uint32_t>(someTable.size()));
			someFile.insert(someFile.end(), someTable.begin(), someTable.end());
			someFile.resize(Padded(someFile.size()));
		}
		if (someHeadAdjustment != 0)
			WriteBigEndian(someFile, someHeadAdjustment, 4, CHECKSUM_MAGIC - Checksum(someFile));
		return someFile;
	}

	FontTables ReadFontFile(const std::filesystem::path& aPath)
	{
		std::ifstream someFile(aPath, std::ios::binary);
		if (!someFile)
			throw std::runtime_error("the file cannot be read");
		const std::vector<std::uint8_t> someBytes{ std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
		return FontTables(someBytes);
	}
}
