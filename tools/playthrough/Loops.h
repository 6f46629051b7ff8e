#pragma once
// The scripts of a run played again and again, for soaking the whole game: the
// first pass plays them all from the game's start; every later pass plays a
// restart script (from the main menu, where the last stretch leaves the game)
// in place of the first one, then the rest as before.
#include "ScriptedRun.h"

#include <functional>
#include <vector>

namespace Playthrough
{
	struct Pass
	{
		int myLoop = 0;        // counted from 1
		int myFrames = 0;      // frames the pass played
		double mySeconds = 0.0; // wall-clock time it took
	};

	struct LoopObservers
	{
		ScriptedRun::FrameObserver myFrame;
		std::function<void(const Script&)> myScript; // after each script that finished
		std::function<bool(const Pass&)> myPass;     // after each pass: true to play another one
	};

	// Plays aScripts (at least one) and then, while the pass observer says so,
	// aRestart followed by all of aScripts but the first; stops at the first
	// script that does not finish and gives its outcome.
	Outcome PlayLoops(ScriptedRun& aRun, const std::vector<Script>& aScripts, const Script& aRestart, const LoopObservers& anObservers);

	// This process's resident memory in bytes (VmRSS), 0 when it cannot be read.
	std::size_t ResidentBytes();
}
