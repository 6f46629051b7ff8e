#pragma once
// The animated cursor file (RIFF "ACON"): its header chunk and the list of frames.
#include <cstdint>
#include <vector>

namespace NorvMedia
{
	// An animated cursor of aFrames, each shown for aJiffies sixtieths of a second;
	// flag 1 says that every frame is a whole icon or cursor file.
	std::vector<std::uint8_t> EncodeAnimatedCursor(const std::vector<std::vector<std::uint8_t>>& aFrames, std::uint32_t aJiffies, std::uint32_t aFlags = 1);
}
