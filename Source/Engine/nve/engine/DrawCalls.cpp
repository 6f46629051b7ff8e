#include "engine/DrawCalls.h"

namespace Norv::DrawCalls
{
	namespace
	{
		std::uint32_t ourCurrentFrame = 0;
		std::uint32_t ourLastFrame = 0;
	}

	void Count() { ++ourCurrentFrame; }

	void BeginFrame()
	{
		ourLastFrame = ourCurrentFrame;
		ourCurrentFrame = 0;
	}

	std::uint32_t GetCurrentFrameCount() { return ourCurrentFrame; }
	std::uint32_t GetLastFrameCount() { return ourLastFrame; }
}
