#pragma once
// Readers for the icon and cursor file formats LoadImageW accepts: the icon
// directory of ".ico"/".cur" files and the RIFF "ACON" container of ".ani" files.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace Platform::impl
{
	struct IconDirectoryEntry
	{
		bool myIsCursor = false;
		int myWidth = 0;  // 256 where the file stores 0
		int myHeight = 0;
		int myHotspotX = 0; // cursors only
		int myHotspotY = 0;
	};

	// The first image entry of an icon or cursor file; nothing when the header is
	// malformed, holds no image, or any entry points past the end of the file or
	// at an image of no rows or more than 256 x 256 pixels (the image decoder may
	// choose any entry).
	std::optional<IconDirectoryEntry> ReadIconDirectory(std::span<const std::uint8_t> aFile);

	// The frames of an animated cursor in file order, each a complete icon or
	// cursor file; empty when the container is malformed or truncated, or when
	// its frames are not icon data.
	std::vector<std::span<const std::uint8_t>> ReadAnimatedCursorFrames(std::span<const std::uint8_t> aFile);
}
