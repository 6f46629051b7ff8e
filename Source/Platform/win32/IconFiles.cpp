#include "win32/IconFiles.h"

#include <cstring>

namespace
{
	constexpr std::size_t ICON_HEADER_BYTES = 6;
	constexpr std::size_t ICON_ENTRY_BYTES = 16;
	constexpr std::uint16_t ICON_TYPE_ICON = 1;
	constexpr std::uint16_t ICON_TYPE_CURSOR = 2;
	constexpr int ICON_SIZE_FOR_ZERO = 256;
	constexpr std::size_t RIFF_CHUNK_HEADER_BYTES = 8;
	constexpr std::size_t ANI_HEADER_FLAGS_OFFSET = 32;
	constexpr std::uint32_t ANI_FLAG_ICON_FRAMES = 1;
	constexpr std::int64_t MAX_ICON_SIDE = 256;
	constexpr std::size_t BITMAP_HEADER_BYTES = 40;
	constexpr std::size_t PNG_HEADER_BYTES = 24; // signature and the header chunk's size fields

	std::uint16_t ReadU16(std::span<const std::uint8_t> aBytes, std::size_t anOffset)
	{
		return static_cast<std::uint16_t>(aBytes[anOffset] | (aBytes[anOffset + 1] << 8));
	}

	std::uint32_t ReadU32(std::span<const std::uint8_t> aBytes, std::size_t anOffset)
	{
		return static_cast<std::uint32_t>(aBytes[anOffset]) | (static_cast<std::uint32_t>(aBytes[anOffset + 1]) << 8)
			| (static_cast<std::uint32_t>(aBytes[anOffset + 2]) << 16) | (static_cast<std::uint32_t>(aBytes[anOffset + 3]) << 24);
	}

	bool HasTag(std::span<const std::uint8_t> aBytes, std::size_t anOffset, const char (&aTag)[5])
	{
		return anOffset + 4 <= aBytes.size() && std::memcmp(aBytes.data() + anOffset, aTag, 4) == 0;
	}

	std::uint32_t ReadBigEndianU32(std::span<const std::uint8_t> aBytes, std::size_t anOffset)
	{
		return (static_cast<std::uint32_t>(aBytes[anOffset]) << 24) | (static_cast<std::uint32_t>(aBytes[anOffset + 1]) << 16)
			| (static_cast<std::uint32_t>(aBytes[anOffset + 2]) << 8) | static_cast<std::uint32_t>(aBytes[anOffset + 3]);
	}

	bool IsIconSide(std::int64_t aSide)
	{
		return aSide >= 1 && aSide <= MAX_ICON_SIDE;
	}

	// Whether an entry's image declares a size an icon can have (at most 256 x 256),
	// so that no decoder is handed a header claiming gigabytes.
	bool HasIconSizedImage(std::span<const std::uint8_t> anImage)
	{
		if (HasTag(anImage, 0, "\x89PNG"))
			return anImage.size() >= PNG_HEADER_BYTES && IsIconSide(ReadBigEndianU32(anImage, 16)) && IsIconSide(ReadBigEndianU32(anImage, 20));
		if (anImage.size() < BITMAP_HEADER_BYTES || ReadU32(anImage, 0) < BITMAP_HEADER_BYTES)
			return false;
		// The bitmap's height counts its colour rows and its mask rows: one row is no image.
		const std::int64_t someHeight = static_cast<std::int32_t>(ReadU32(anImage, 8));
		return IsIconSide(static_cast<std::int32_t>(ReadU32(anImage, 4))) && someHeight >= 2 && someHeight <= 2 * MAX_ICON_SIDE;
	}

	struct Chunk
	{
		std::size_t myTagOffset;
		std::span<const std::uint8_t> myData;
	};

	// The chunks in aBytes; nothing when one claims more bytes than there are.
	std::optional<std::vector<Chunk>> ReadChunks(std::span<const std::uint8_t> aBytes)
	{
		std::vector<Chunk> someChunks;
		std::size_t someOffset = 0;
		while (someOffset + RIFF_CHUNK_HEADER_BYTES <= aBytes.size())
		{
			const std::uint64_t someSize = ReadU32(aBytes, someOffset + 4);
			const std::size_t someDataOffset = someOffset + RIFF_CHUNK_HEADER_BYTES;
			if (someSize > aBytes.size() - someDataOffset)
				return std::nullopt;
			someChunks.push_back({ someOffset, aBytes.subspan(someDataOffset, someSize) });
			someOffset = someDataOffset + someSize + (someSize & 1); // chunks are padded to even sizes
		}
		return someChunks;
	}
}

namespace Platform::impl
{
	std::optional<IconDirectoryEntry> ReadIconDirectory(std::span<const std::uint8_t> aFile)
	{
		if (aFile.size() < ICON_HEADER_BYTES + ICON_ENTRY_BYTES || ReadU16(aFile, 0) != 0)
			return std::nullopt;
		const std::uint16_t someType = ReadU16(aFile, 2);
		const std::size_t someCount = ReadU16(aFile, 4);
		if ((someType != ICON_TYPE_ICON && someType != ICON_TYPE_CURSOR) || someCount == 0 || aFile.size() < ICON_HEADER_BYTES + someCount * ICON_ENTRY_BYTES)
			return std::nullopt;
		// The image decoder chooses among all entries: every one must be whole and icon-sized.
		for (std::size_t someIndex = 0; someIndex < someCount; ++someIndex)
		{
			const std::span<const std::uint8_t> someImageEntry = aFile.subspan(ICON_HEADER_BYTES + someIndex * ICON_ENTRY_BYTES, ICON_ENTRY_BYTES);
			const std::uint64_t someImageSize = ReadU32(someImageEntry, 8);
			const std::uint64_t someImageOffset = ReadU32(someImageEntry, 12);
			if (someImageSize == 0 || someImageOffset + someImageSize > aFile.size() || !HasIconSizedImage(aFile.subspan(someImageOffset, someImageSize)))
				return std::nullopt;
		}
		const std::span<const std::uint8_t> someEntry = aFile.subspan(ICON_HEADER_BYTES, ICON_ENTRY_BYTES);
		IconDirectoryEntry someResult;
		someResult.myIsCursor = someType == ICON_TYPE_CURSOR;
		someResult.myWidth = someEntry[0] == 0 ? ICON_SIZE_FOR_ZERO : someEntry[0];
		someResult.myHeight = someEntry[1] == 0 ? ICON_SIZE_FOR_ZERO : someEntry[1];
		if (someResult.myIsCursor)
		{
			someResult.myHotspotX = ReadU16(someEntry, 4);
			someResult.myHotspotY = ReadU16(someEntry, 6);
		}
		return someResult;
	}

	std::vector<std::span<const std::uint8_t>> ReadAnimatedCursorFrames(std::span<const std::uint8_t> aFile)
	{
		if (!HasTag(aFile, 0, "RIFF") || !HasTag(aFile, 8, "ACON") || aFile.size() < 12)
			return {};
		const std::uint64_t someRiffSize = ReadU32(aFile, 4);
		if (someRiffSize < 4 || someRiffSize > aFile.size() - RIFF_CHUNK_HEADER_BYTES)
			return {};
		const std::span<const std::uint8_t> someBody = aFile.subspan(12, someRiffSize - 4);
		const std::optional<std::vector<Chunk>> someChunks = ReadChunks(someBody);
		if (!someChunks)
			return {};

		std::vector<std::span<const std::uint8_t>> someFrames;
		for (const Chunk& someChunk : *someChunks)
		{
			if (HasTag(someBody, someChunk.myTagOffset, "anih"))
			{
				if (someChunk.myData.size() < ANI_HEADER_FLAGS_OFFSET + 4 || (ReadU32(someChunk.myData, ANI_HEADER_FLAGS_OFFSET) & ANI_FLAG_ICON_FRAMES) == 0)
					return {};
			}
			else if (HasTag(someBody, someChunk.myTagOffset, "LIST") && HasTag(someChunk.myData, 0, "fram"))
			{
				const std::span<const std::uint8_t> someList = someChunk.myData.subspan(4);
				const std::optional<std::vector<Chunk>> someFrameChunks = ReadChunks(someList);
				if (!someFrameChunks)
					return {};
				for (const Chunk& someFrame : *someFrameChunks)
					if (HasTag(someList, someFrame.myTagOffset, "icon"))
						someFrames.push_back(someFrame.myData);
			}
		}
		return someFrames;
	}
}
