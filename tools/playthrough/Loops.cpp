#include "Loops.h"

#include <chrono>
#include <fstream>
#include <string>

namespace Playthrough
{
	Outcome PlayLoops(ScriptedRun& aRun, const std::vector<Script>& aScripts, const Script& aRestart, const LoopObservers& anObservers)
	{
		Pass somePass;
		for (bool isAgain = true; isAgain;)
		{
			++somePass.myLoop;
			const int someFirstFrame = aRun.GetFrame();
			const auto someStart = std::chrono::steady_clock::now();
			for (std::size_t someIndex = 0; someIndex < aScripts.size(); ++someIndex)
			{
				const Script& someScript = someIndex == 0 && somePass.myLoop > 1 ? aRestart : aScripts[someIndex];
				Outcome someOutcome = aRun.Play(someScript, anObservers.myFrame);
				if (!someOutcome.myIsFinished)
					return someOutcome;
				if (anObservers.myScript)
					anObservers.myScript(someScript);
			}
			somePass.myFrames = aRun.GetFrame() - someFirstFrame;
			somePass.mySeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - someStart).count();
			isAgain = anObservers.myPass && anObservers.myPass(somePass);
		}
		return { true, {} };
	}

	std::size_t ResidentBytes()
	{
		std::ifstream someStatus("/proc/self/status");
		for (std::string someLine; std::getline(someStatus, someLine);)
			if (someLine.starts_with("VmRSS:"))
				return std::stoull(someLine.substr(6)) * 1024; // "VmRSS:   123456 kB"
		return 0;
	}
}
