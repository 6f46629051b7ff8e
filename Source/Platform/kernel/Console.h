#pragma once
// Stand-in for the console command "pause" (run through the C runtime's system()
// on Windows): prints Windows' prompt and waits for a key where a terminal is
// attached; without one it returns at once, so headless runs never block.

namespace Platform
{
	void PauseConsole();
}
