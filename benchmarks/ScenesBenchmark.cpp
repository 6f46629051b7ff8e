// Every shipped scene and the menus played with the game's own data, headless on
// the software renderer at 1280 x 720 (the whole program loop, fixed 1/60 s frames).
// Per scene, over its measured frames:
//   step ms        main-thread CPU of a frame that is not drawn (the world step)
//   submission ms  main-thread CPU of a drawn frame less the step
//   frame ms       wall time of a drawn frame with the GPU work finished (glFinish)
//   CPU ms         the whole process's CPU time per drawn frame, every thread
//   draws, GL      draw calls and OpenGL calls per drawn frame
//   RSS MB         resident memory after the scene's frames
//
//   NorvScenesBenchmark [--frames N]
#include "GlCallCounter.h"
#include "Loops.h"
#include "ScriptedRun.h"

#include "world/GameState.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace
{
	constexpr int DEFAULT_FRAMES = 120;
	constexpr int SETTLE_FRAMES = 60; // drawn before measuring: the loading screen fades, caches fill
	constexpr int LOAD_FRAMES = 1500; // at most, until a scene is in play (the opening video runs out first)

	double Milliseconds(clockid_t aClock)
	{
		timespec someTime{};
		clock_gettime(aClock, &someTime);
		return static_cast<double>(someTime.tv_sec) * 1e3 + static_cast<double>(someTime.tv_nsec) * 1e-6;
	}

	struct Figures
	{
		double myStep = 0.0, mySubmission = 0.0, myFrame = 0.0, myFrameWorst = 0.0, myProcess = 0.0, myDraws = 0.0, myCalls = 0.0, myResident = 0.0;
	};

	bool Play(Playthrough::ScriptedRun& aRun, const std::string& aScript)
	{
		const Playthrough::Outcome someOutcome = aRun.Play(Playthrough::ParseScript(aScript, "benchmark"));
		if (!someOutcome.myIsFinished)
			std::fprintf(stderr, "STALLED %s\n", someOutcome.myReport.c_str());
		return someOutcome.myIsFinished;
	}

	bool DrawnFrame(Playthrough::ScriptedRun& aRun)
	{
		aRun.DrawFrame(aRun.GetFrame() + 1);
		const bool isRunning = aRun.Frame(0);
		glFinish();
		return isRunning;
	}

	// The state the run is in, measured over aFrames undrawn and aFrames drawn frames.
	bool Measure(Playthrough::ScriptedRun& aRun, int aFrames, Figures& anOut)
	{
		for (int i = 0; i < SETTLE_FRAMES; ++i)
			if (!DrawnFrame(aRun))
				return false;
		double someStepTotal = 0.0;
		for (int i = 0; i < aFrames; ++i)
		{
			const double someStart = Milliseconds(CLOCK_THREAD_CPUTIME_ID);
			if (!aRun.Frame(0))
				return false;
			someStepTotal += Milliseconds(CLOCK_THREAD_CPUTIME_ID) - someStart;
		}
		anOut.myStep = someStepTotal / aFrames;
		glFinish();
		std::vector<double> someFrames;
		double someThread = 0.0;
		const std::uint64_t someCalls = GlCallCounter::ourCalls, someDraws = GlCallCounter::ourDraws;
		const double someProcess = Milliseconds(CLOCK_PROCESS_CPUTIME_ID);
		for (int i = 0; i < aFrames; ++i)
		{
			const double someWall = Milliseconds(CLOCK_MONOTONIC), someThreadStart = Milliseconds(CLOCK_THREAD_CPUTIME_ID);
			aRun.DrawFrame(aRun.GetFrame() + 1);
			if (!aRun.Frame(0))
				return false;
			someThread += Milliseconds(CLOCK_THREAD_CPUTIME_ID) - someThreadStart;
			glFinish();
			someFrames.push_back(Milliseconds(CLOCK_MONOTONIC) - someWall);
		}
		anOut.myProcess = (Milliseconds(CLOCK_PROCESS_CPUTIME_ID) - someProcess) / aFrames;
		anOut.mySubmission = std::max(0.0, someThread / aFrames - anOut.myStep);
		std::sort(someFrames.begin(), someFrames.end());
		anOut.myFrame = someFrames[someFrames.size() / 2];
		anOut.myFrameWorst = someFrames[someFrames.size() * 95 / 100];
		anOut.myCalls = static_cast<double>(GlCallCounter::ourCalls - someCalls) / aFrames;
		anOut.myDraws = static_cast<double>(GlCallCounter::ourDraws - someDraws) / aFrames;
		anOut.myResident = static_cast<double>(Playthrough::ResidentBytes()) / (1024.0 * 1024.0);
		return true;
	}

	void Print(const char* aName, const Figures& f)
	{
		std::printf("| %s | %.2f | %.2f | %.1f | %.1f | %.0f | %.0f | %.0f | %.0f |\n", aName, f.myStep, f.mySubmission, f.myFrame, f.myFrameWorst, f.myProcess, f.myDraws, f.myCalls, f.myResident);
	}
}

int main(int aCount, char** someValues)
{
	int someFrames = DEFAULT_FRAMES;
	if (aCount == 3 && std::strcmp(someValues[1], "--frames") == 0 && std::atoi(someValues[2]) > 0)
		someFrames = std::atoi(someValues[2]);
	else if (aCount != 1)
	{
		std::fprintf(stderr, "usage: NorvScenesBenchmark [--frames N]\n");
		return 2;
	}
	setenv("SDL_VIDEODRIVER", "offscreen", 0);
	setenv("SDL_AUDIODRIVER", "dummy", 0);
	std::setvbuf(stdout, nullptr, _IOLBF, 0);

	Playthrough::RunOptions someOptions;
	someOptions.myWidth = 1280;
	someOptions.myHeight = 720;
	someOptions.myDrawEvery = 1 << 30; // only the frames asked for
	Playthrough::ScriptedRun someRun(someOptions);
	if (!someRun.IsStarted())
	{
		std::fprintf(stderr, "The game did not start.\n");
		return 1;
	}
	GlCallCounter::Install();
	const char* someThreads = std::getenv("LP_NUM_THREADS");
	std::printf("1280 x 720, %d frames a scene, LP_NUM_THREADS %s\n\n", someFrames, someThreads ? someThreads : "unset (llvmpipe's default)");
	std::printf("| scene | step ms | submission ms | frame ms (median) | frame ms (95th) | CPU ms, all threads | draws | GL calls | RSS MB |\n|---|---|---|---|---|---|---|---|---|\n");

	Figures someFigures;
	if (!Play(someRun, "expect intro\n2 Confirm\nuntil menu 5\n") || !Measure(someRun, someFrames, someFigures))
		return 1;
	Print("main menu", someFigures);
	// "Start Game": the opening video over the tutorial.
	if (!Play(someRun, "3\n2 Confirm\nuntil cutscene 600\n") || !Measure(someRun, someFrames, someFigures))
		return 1;
	Print("Tutorial's opening video", someFigures);
	for (const char* someScene : { "Tutorial", "Hub", "Level_1", "Level_2", "Ending" })
	{
		GameState::GetInstance()->ChangeScene(std::string("scenes/") + someScene + ".nvs");
		if (!Play(someRun, "until scene " + std::string(someScene) + " " + std::to_string(LOAD_FRAMES) + "\n") || !Measure(someRun, someFrames, someFigures))
			return 1;
		Print(someScene, someFigures);
	}
	if (!Play(someRun, "2 Pause\nuntil paused 10\n") || !Measure(someRun, someFrames, someFigures))
		return 1;
	Print("pause menu over the Ending", someFigures);
	return 0;
}
