#pragma once
// A started engine on a headless window for the length of a test, with settings
// whose cooked folder holds the build's compiled shaders. Afterwards the engine is
// destroyed, its window closed and the message queue emptied, so the next test
// starts clean.
#include "Support/ExecutableFolder.h"
#include "Support/Messages.h"
#include "settings/settings.h"

#include "engine/Engine.h"
#include "engine/EngineCreateParameters.h"
#include "kernel/Kernel.h"

#include <chrono>
#include <thread>

namespace NorvTest
{
	// A performance counter the test moves by hand, in microseconds.
	class ManualCounter
	{
	public:
		static constexpr std::int64_t FREQUENCY = 1'000'000;

		ManualCounter() { Platform::SetPerformanceCounterOverride([this] { return myNow; }, FREQUENCY); }
		~ManualCounter() { Platform::SetPerformanceCounterOverride({}); }
		ManualCounter(const ManualCounter&) = delete;
		ManualCounter& operator=(const ManualCounter&) = delete;

		void AdvanceMicroseconds(std::int64_t aMicroseconds) { myNow += aMicroseconds; }
		void AdvanceMilliseconds(std::int64_t aMilliseconds) { myNow += aMilliseconds * 1000; }

	private:
		std::int64_t myNow = 1'000'000;
	};

	// Settings in aFolder whose cooked folder is the build's, loaded.
	inline void LoadEngineSettings(const ExecutableFolder& aFolder)
	{
		aFolder.WriteSettings(R"({ "assets_path": { "engine": "engine", "game": "game", "cooked": ")" NORV_COOKED_DIR
			R"(" }, "window_settings": { "title": "Test" } })");
		Norv::LoadSettings("Game");
	}

	class RunningEngine
	{
	public:
		explicit RunningEngine(const Norv::EngineCreateParameters& aParameters = {})
		{
			DrainMessages();
			LoadEngineSettings(myFolder);
			Norv::GetEngineCreateParameters() = aParameters;
			myIsStarted = Norv::Engine::Start();
		}
		~RunningEngine()
		{
			Norv::Engine* someEngine = Norv::Engine::GetInstance();
			const HWND someWindow = someEngine && someEngine->GetHWND() ? *someEngine->GetHWND() : nullptr;
			Norv::Engine::DestroyInstance();
			DestroyWindow(someWindow);
			DrainMessages();
			Norv::GetEngineCreateParameters() = Norv::EngineCreateParameters();
		}
		RunningEngine(const RunningEngine&) = delete;
		RunningEngine& operator=(const RunningEngine&) = delete;

		bool IsStarted() const { return myIsStarted; }
		Norv::Engine& Get() const { return *Norv::Engine::GetInstance(); }
		HWND Window() const { return *Get().GetHWND(); }
		// The executable's folder of this run (assets resolve under its "data/").
		const ExecutableFolder& Folder() const { return myFolder; }

		// Runs frames, a little apart so the file watcher can see changes, until
		// aDone holds or five seconds have passed; whether it holds.
		template <typename Done>
		bool RunFramesUntil(Done&& aDone) const
		{
			const auto someEnd = std::chrono::steady_clock::now() + std::chrono::seconds(5);
			while (!aDone() && std::chrono::steady_clock::now() < someEnd)
			{
				std::this_thread::sleep_for(std::chrono::milliseconds(10));
				if (!Get().BeginFrame())
					return false;
				Get().EndFrame();
			}
			return aDone();
		}

	private:
		ExecutableFolder myFolder;
		bool myIsStarted = false;
	};
}
