#pragma once
// Debug feature bits, named in the settings file's "debug_features".
#include <cstdint>

namespace Norv
{
	enum class DebugFeature : std::uint32_t
	{
		None = 0,
		Fps = 1,
		Mem = 2,
		Drawcalls = 4,
		Cpu = 8,
		FpsGraph = 16,
		Filewatcher = 32,
		OptimizeWarnings = 64,
		MemoryTrackingStackTraces = 128,
		MemoryTrackingAllAllocations = 256,
		All = 511,
		// The game's debug drawing (tile grid and collision outlines); outside All's
		// nine bits, though a full All turns every feature on.
		Collision = 512,
	};

	constexpr std::uint32_t operator|(DebugFeature a, DebugFeature b) { return static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b); }
	constexpr std::uint32_t ToMask(DebugFeature aFeature) { return static_cast<std::uint32_t>(aFeature); }
}
