#pragma once
// The engine's draw-call counters: every draw call of the drawers and the
// full-screen effects counts one; each frame start moves the count to the last
// frame's.
#include <cstdint>

namespace Norv::DrawCalls
{
	void Count();
	// Moves the current count to the last frame's and restarts it at 0.
	void BeginFrame();
	std::uint32_t GetCurrentFrameCount();
	std::uint32_t GetLastFrameCount();
}
