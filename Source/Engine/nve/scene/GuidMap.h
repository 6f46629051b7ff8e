#pragma once
// Turns GUID texts into small dense indices, handed out in order of first sight.
// The map is process-wide and never shrinks, so a GUID keeps its index for the
// whole run, across scene loads. Main thread only.
#include <cstdint>

namespace Norv
{
	// The index of the GUID written in aText ("xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx",
	// either case). A null, empty or unparsable text and the nil GUID give 0.
	std::uint32_t GuidToIndex(const char* aText);
}
