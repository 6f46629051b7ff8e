#pragma once
// A play state on the real engine started headless, stepped at a fixed dt with
// scripted pad input and no sleeping. Levels come from scene files or ASCII
// grids written into the run's game asset folder. A world may read the devices
// instead: SDL's game controllers and the window's key and mouse messages.
#include "Support/InjectedGamepads.h"
#include "Support/RunningEngine.h"
#include "Support/SceneFiles.h"
#include "Support/ScriptedInput.h"

#include "shell/GameRandom.h"
#include "shell/InputMapper.h"
#include "shell/LoadingScreen.h"
#include "shell/SceneManager.h"
#include "world/GameState.h"
#include "world/effects/FlipbookVFX.h"

#include <string>

namespace NorvTest
{
	enum class InputSource
	{
		Scripted, // each step injects its FrameInput as the pad in slot 0
		Devices   // each step pumps the window's messages; the real pads are read
	};

	class SteppedWorld
	{
	public:
		static constexpr float FRAME = 1.0f / 60.0f;
		static constexpr std::uint32_t SEED = 1234;

		explicit SteppedWorld(InputSource aSource = InputSource::Scripted, std::uint32_t aDebugFeatures = Norv::EngineCreateParameters::DEFAULT_DEBUG_FEATURES)
			: myPads(aSource == InputSource::Scripted)
			, myEngine(EngineParameters(aSource, aDebugFeatures))
		{
			GameRandom::Seed(SEED);
			if (myPads.IsOn())
				myPads.Plug(0);
			SceneManager::GetInstance().SetCurrentScenePath("");
			// Most rigs step bare entities on a grid, with no player.
			myState.myIsPlayerRequired = false;
			myState.Init(myInput);
		}
		// The loading screen's and the running dust's textures belong to this engine.
		~SteppedWorld()
		{
			FlipbookVFX::ReleaseWalkingPool();
			LoadingScreen::DestroyInstance();
		}
		SteppedWorld(const SteppedWorld&) = delete;
		SteppedWorld& operator=(const SteppedWorld&) = delete;

		// Loads aScenePath in one frame; the next Step is the first play frame.
		void Load(const std::string& aScenePath)
		{
			myState.ChangeScene(aScenePath);
			Step(1);
		}
		void LoadAscii(const std::vector<std::string>& aRows, const std::map<char, std::string>& aLegend = {}, const std::string& aScenePath = "scenes/Test.nvs")
		{
			WriteAsciiScene(Folder(), aScenePath, aRows, aLegend);
			Load(aScenePath);
		}

		// aFrames frames with the same held input (a world reading the devices
		// ignores anInput); the code of the last update.
		int Step(int aFrames, const FrameInput& anInput = {}, float aDeltaTime = FRAME)
		{
			int someCode = 0;
			for (int someFrame = 0; someFrame < aFrames; ++someFrame)
			{
				if (myPads.IsOn())
					Platform::InjectGamepad(0, ToPadReading(anInput));
				else
					PumpMessages();
				myInput.Update(aDeltaTime);
				someCode = myState.Update(myInput, aDeltaTime);
			}
			return someCode;
		}

		const ExecutableFolder& Folder() const { return myEngine.Folder(); }
		bool IsStarted() const { return myEngine.IsStarted(); }

	private:
		// Reading the devices, the window hands its messages to the input mapper, as the game's does.
		static Norv::EngineCreateParameters EngineParameters(InputSource aSource, std::uint32_t aDebugFeatures)
		{
			Norv::EngineCreateParameters someParameters;
			someParameters.myDebugFeatures = aDebugFeatures;
			if (aSource == InputSource::Devices)
				someParameters.myWindowProcedureCallback = [](HWND, UINT aMessage, WPARAM aWParam, LPARAM aLParam) -> LRESULT {
					InputMapper* someInput = InputMapper::GetInstance();
					return someInput && someInput->GetKeyboardAndMouse().UpdateEvents(aMessage, aWParam, aLParam) ? 1 : 0;
				};
			return someParameters;
		}

	public:

		InjectedGamepads myPads;
		RunningEngine myEngine;
		InputMapper myInput{ myEngine.Window() };
		GameState myState;
	};
}
