#pragma once
// The tables of a TrueType or OpenType font file, by tag, for the generators that
// edit fonts: read from the file's bytes, changed in place, written back with
// fresh table checksums and the head table's checksum adjustment. Tables keep
// their order in the file, each on a 4-byte boundary, so a compactly laid out
// font that is not changed writes back byte for byte.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace NorvMedia
{
	// Big-endian fields; Read throws std::runtime_error when the field passes the end.
	std::uint32_t ReadBigEndian(std::span<const std::uint8_t> someBytes, std::size_t anOffset, int aWidth);
	void WriteBigEndian(std::span<std::uint8_t> someBytes, std::size_t anOffset, int aWidth, std::uint32_t aValue);

	class FontTables
	{
	public:
		// Throws std::runtime_error saying what is damaged when the bytes are no font.
		explicit FontTables(std::span<const std::uint8_t> someBytes);

		bool Has(const std::string& aTag) const;
		// The table's bytes, to read or change (its length may change); throws when absent.
		std::vector<std::uint8_t>& Table(const std::string& aTag);

		std::vector<std::uint8_t> Bytes() const;

	private:
		struct Entry
		{
			std::string myTag;
			std::vector<std::uint8_t> myBytes;
		};
		std::vector<std::uint8_t> myHeader;  // version and directory search fields, kept as read
		std::vector<Entry> myEntries;        // in the directory's order
		std::vector<std::size_t> myFileOrder; // entry indices by their offset in the file
	};

	// The tables of the font file at aPath; throws std::runtime_error when it cannot be read or is no font.
	FontTables ReadFontFile(const std::filesystem::path& aPath);
}
