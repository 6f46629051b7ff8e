#include "ScriptedRun.h"

#include "shell/InputMapper.h"
#include "shell/SceneManager.h"
#include "shell/StateStack.h"
#include "shell/states/Credits.h"
#include "shell/states/IntroState.h"
#include "shell/states/MainMenu.h"
#include "shell/states/OptionMenu.h"
#include "shell/states/PauseBookCase.h"
#include "shell/states/PauseMenu.h"
#include "shell/states/QuitScreen.h"
#include "world/AbilityFlags.h"
#include "world/GameState.h"
#include "media/AudioManager.h"
#include "world/entities/FlyingEnemy.h"
#include "world/entities/MushroomEnemy.h"
#include "world/entities/PatrollingEnemy.h"
#include "world/entities/Player.h"
#include "world/entities/Spikes.h"

#include "bass/AudioDevice.h"
#include "engine/Engine.h"
#include "kernel/Kernel.h"
#include "win32/Win32.h"
#include "xinput/XInput.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace Playthrough
{
	namespace
	{
		namespace fs = std::filesystem;

		fs::path MakeRunFolder()
		{
			std::string someTemplate = (fs::temp_directory_path() / "norv-run-XXXXXX").string();
			if (mkdtemp(someTemplate.data()) == nullptr)
				return {};
			return someTemplate;
		}

		fs::path GameAssets(const RunOptions& anOptions)
		{
			return anOptions.myGameAssets.empty() ? fs::path(NORV_SOURCE_DIR) / "Source/Game/data" : anOptions.myGameAssets;
		}

		// Settings of a windowed headless run without vsync: the game's own data,
		// the build's compiled shaders, scenes from anOptions.
		std::string RunSettings(const RunOptions& anOptions)
		{
			const nlohmann::json someSize{ { "w", anOptions.myWidth }, { "h", anOptions.myHeight } };
			return nlohmann::json{
				{ "assets_path", { { "engine", (fs::path(NORV_SOURCE_DIR) / "Source/Engine/assets").string() }, { "game", GameAssets(anOptions).string() }, { "cooked", NORV_COOKED_DIR } } },
				{ "window_settings", { { "title", "Norv" }, { "window_size", someSize }, { "render_size", someSize } } },
				{ "enable_vsync", false },
			}.dump(2);
		}

		// The game runs from its executable's folder and names some files from
		// there ("../Source/Game/data/..."): the run's root holds that folder, "Bin",
		// beside a link to the tree's "Source".
		bool WriteRunFolder(const fs::path& aRoot, const RunOptions& anOptions)
		{
			std::error_code someError;
			fs::create_directories(aRoot / "Bin" / "settings", someError);
			if (!someError)
				fs::create_directory_symlink(fs::path(NORV_SOURCE_DIR) / "Source", aRoot / "Source", someError);
			if (someError)
			{
				std::fprintf(stderr, "The run folder %s cannot be made: %s\n", aRoot.string().c_str(), someError.message().c_str());
				return false;
			}
			std::ofstream someSettings(aRoot / "Bin" / "settings" / "Game.json", std::ios::binary);
			someSettings << RunSettings(anOptions);
			return static_cast<bool>(someSettings);
		}

		// The state on top of the owner's stack, by name.
		std::string TopStateName()
		{
			const StateStack* someStates = StateStack::GetInstance();
			if (!someStates || someStates->GetStack().empty())
				return "no state";
			const IStates* someTop = someStates->GetStack().back();
			if (dynamic_cast<const IntroState*>(someTop))
				return "the intro";
			if (dynamic_cast<const MainMenu*>(someTop))
				return "the main menu";
			if (dynamic_cast<const GameState*>(someTop))
				return "the play state";
			if (dynamic_cast<const PauseBookCase*>(someTop))
				return "the ability page";
			if (dynamic_cast<const PauseMenu*>(someTop))
				return "the pause menu";
			if (dynamic_cast<const OptionMenu*>(someTop))
				return "the options";
			if (dynamic_cast<const Credits*>(someTop))
				return "the credits";
			if (dynamic_cast<const QuitScreen*>(someTop))
				return "the quit screen";
			return "an unknown state";
		}

		template <typename T>
		bool IsOnTop()
		{
			const StateStack* someStates = StateStack::GetInstance();
			return someStates && !someStates->GetStack().empty() && dynamic_cast<const T*>(someStates->GetStack().back()) != nullptr;
		}

		// The play state, while it is on top with a level loaded.
		const GameState* PlayingState()
		{
			const GameState* someState = GameState::GetInstance();
			if (!IsOnTop<GameState>() || !someState->IsLevelLoaded())
				return nullptr;
			return someState;
		}

		constexpr float FALLEN_Y = -10000.0f;     // units; below every level, above where the player is put back
		constexpr float HARM_REACH = 600.0f;      // units from the player a harm may be to count as its death's
		constexpr float VOLUME_TOLERANCE = 0.01f;

		// What kind of harm an entity is, if any.
		std::optional<Stage::Harm> HarmOf(const Entity& anEntity)
		{
			if (dynamic_cast<const Spikes*>(&anEntity))
				return Stage::Harm::Spikes;
			if (const auto* someHedgehog = dynamic_cast<const PatrollingEnemy*>(&anEntity))
				return someHedgehog->myIsBoss ? Stage::Harm::Boss : Stage::Harm::Hedgehog;
			if (dynamic_cast<const FlyingEnemy*>(&anEntity))
				return Stage::Harm::Wasp;
			if (dynamic_cast<const MushroomEnemy*>(&anEntity))
				return Stage::Harm::Mushroom;
			return std::nullopt;
		}

		// The harm nearest the player within reach (edge to edge, so a boss's size counts), if any.
		std::optional<Stage::Harm> NearestHarm(const GameState& aState, const Player& aPlayer)
		{
			std::optional<Stage::Harm> someNearest;
			float someBest = HARM_REACH;
			for (const std::unique_ptr<Entity>& someEntity : aState.GetEntities())
			{
				const std::optional<Stage::Harm> someHarm = HarmOf(*someEntity);
				if (!someHarm)
					continue;
				const Norv::Vector2<float> someGap = someEntity->myPosition - aPlayer.myPosition;
				const float someX = std::max(0.0f, std::abs(someGap.x) - (someEntity->myColliderSize.x + aPlayer.myColliderSize.x) / 2.0f);
				const float someY = std::max(0.0f, std::abs(someGap.y) - (someEntity->myColliderSize.y + aPlayer.myColliderSize.y) / 2.0f);
				if (const float someDistance = std::hypot(someX, someY); someDistance <= someBest)
				{
					someBest = someDistance;
					someNearest = someHarm;
				}
			}
			return someNearest;
		}

		// The level's boss while it lives.
		const PatrollingEnemy* LiveBoss(const GameState& aState)
		{
			for (const std::unique_ptr<Entity>& someEntity : aState.GetEntities())
				if (const auto* someEnemy = dynamic_cast<const PatrollingEnemy*>(someEntity.get()); someEnemy && someEnemy->myIsBoss && !someEnemy->myIsDead && !someEnemy->myShouldRemove)
					return someEnemy;
			return nullptr;
		}
	}

	ScriptedRun::ScriptedRun(const RunOptions& anOptions)
		: myFolder(MakeRunFolder())
		, myOptions(anOptions)
	{
		if (myFolder.empty() || !WriteRunFolder(myFolder, anOptions))
			return;
		std::error_code someError;
		myWorkingFolder = fs::current_path(someError);
		fs::current_path(myFolder / "Bin", someError);
		const std::string someExecutable = (myFolder / "Bin" / "Game").string();
		Platform::SetModuleFileNameOverride([someExecutable] { return someExecutable; });
		Platform::SetPerformanceCounterOverride([this] { return myCounter; }, COUNTER_FREQUENCY);
		Platform::SetGamepadInjection(true);
		Platform::InjectGamepad(0, XINPUT_GAMEPAD{});
		// As in a fresh process: no ability yet.
		AbilityFlags = {};
		// The device's thread would play the sound in real time, a run's sound is its own.
		Platform::SetAudioOutputByHand(true);
		mySession = std::make_unique<Game::Session>();
		myIsStarted = mySession->Start() == 0;
	}

	ScriptedRun::~ScriptedRun()
	{
		Norv::Engine* someEngine = myIsStarted ? Norv::Engine::GetInstance() : nullptr;
		const HWND someWindow = someEngine && someEngine->GetHWND() ? *someEngine->GetHWND() : nullptr;
		mySession.reset();
		// The engine leaves its window to the process's end; a run in a longer process closes it.
		if (someWindow)
			DestroyWindow(someWindow);
		MSG someMessage{};
		while (PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE))
		{
		}
		Platform::SetGamepadInjection(false);
		Platform::SetAudioOutputByHand(false);
		Platform::SetPerformanceCounterOverride({});
		Platform::SetModuleFileNameOverride({});
		Norv::GetEngineCreateParameters() = Norv::EngineCreateParameters();
		std::error_code someError;
		if (!myWorkingFolder.empty())
			fs::current_path(myWorkingFolder, someError);
		if (!myFolder.empty())
		{
			fs::remove(myFolder / "Source", someError); // the link only, never what it points at
			fs::remove_all(myFolder, someError);
		}
	}

	bool ScriptedRun::Frame(ActionMask aHeld)
	{
		if (!myIsStarted || myIsEnded)
			return false;
		Platform::InjectGamepad(0, ToPadReading(aHeld));
		// The main menu makes the hub current whenever it opens; the run's own choice goes over it.
		if (!myOptions.myLevelSelectScene.empty() && IsOnTop<MainMenu>())
			SceneManager::GetInstance().SetCurrentScenePath("scenes/" + myOptions.myLevelSelectScene + SceneManager::SCENE_EXTENSION);
		++myCounter;
		++myFrame;
		const bool isDrawn = myOptions.myDrawEvery <= 1 || myFrame % myOptions.myDrawEvery == 0 || myOptions.myDrawnFrames.contains(myFrame);
		myIsEnded = !mySession->RunFrame(isDrawn);
		Platform::MixAudioOutput(mySound.data(), FRAME_SOUND_FRAMES);
		WatchBoss();
		return !myIsEnded;
	}

	void ScriptedRun::WatchBoss()
	{
		if (const GameState* somePlaying = PlayingState(); somePlaying && LiveBoss(*somePlaying))
			myBossScene = somePlaying->myScenePath;
	}

	Outcome ScriptedRun::Play(const Script& aScript, const FrameObserver& anObserver)
	{
		const auto Stalled = [&](const Step& aStep, const std::string& aWhat) {
			return Outcome{ false, aScript.myName + ":" + std::to_string(aStep.myLine) + ": " + aWhat + "; " + Where() };
		};
		if (!myIsStarted)
			return { false, aScript.myName + ": the game did not start" };
		for (const Step& someStep : aScript.mySteps)
		{
			for (int someFrame = 0; someFrame < someStep.myFrames; ++someFrame)
			{
				if (someStep.myIsWait && IsReached(someStep.myStage))
					break;
				if (!Frame(someStep.myHeld))
					return Stalled(someStep, "the game ended");
				if (anObserver)
					anObserver(*this, myFrame);
			}
			if (someStep.myIsWait && !IsReached(someStep.myStage))
				return Stalled(someStep, "stage \"" + someStep.myStage.ToText() + "\" not reached" + (someStep.myFrames > 0 ? " within " + std::to_string(someStep.myFrames) + " frames" : ""));
		}
		return { true, {} };
	}

	const Player* ScriptedRun::GetPlayer() const
	{
		const GameState* someState = myIsStarted ? GameState::GetInstance() : nullptr;
		return someState && someState->IsLevelLoaded() ? someState->GetFrameContext().player : nullptr;
	}

	bool ScriptedRun::IsReached(const Stage& aStage) const
	{
		const GameState* somePlaying = PlayingState();
		switch (aStage.myKind)
		{
		case Stage::Kind::Intro: return IsOnTop<IntroState>();
		case Stage::Kind::Menu: return IsOnTop<MainMenu>();
		case Stage::Kind::Page: return IsOnTop<PauseBookCase>();
		case Stage::Kind::Paused: return IsOnTop<PauseMenu>();
		case Stage::Kind::Cutscene: return somePlaying && somePlaying->myIsPlayingCutscene;
		case Stage::Kind::Scene:
			return somePlaying && !somePlaying->myIsPlayingCutscene && somePlaying->GetPendingScenePath().empty() && somePlaying->myScenePath == "scenes/" + aStage.myName + ".nvs";
		case Stage::Kind::Ending:
			return somePlaying && somePlaying->myIsPlayingCutscene && somePlaying->myScenePath == GameState::ENDING_SCENE;
		case Stage::Kind::Ability: return AbilityFlags[aStage.myAbility];
		case Stage::Kind::BossFight:
		{
			const PatrollingEnemy* someBoss = somePlaying ? LiveBoss(*somePlaying) : nullptr;
			return someBoss && someBoss->myIsActive && someBoss->myShowBossHud;
		}
		case Stage::Kind::BossDead:
			return somePlaying && somePlaying->myScenePath == myBossScene && !LiveBoss(*somePlaying);
		case Stage::Kind::Options: return IsOnTop<OptionMenu>();
		case Stage::Kind::Volume: return std::abs(AudioManager::GetMasterVolume() - aStage.myVolume) <= VOLUME_TOLERANCE;
		case Stage::Kind::Dead:
		{
			const Player* somePlayer = GetPlayer();
			return somePlaying && somePlayer && somePlayer->myIsDead && NearestHarm(*somePlaying, *somePlayer) == aStage.myHarm;
		}
		case Stage::Kind::Fallen:
		{
			const Player* somePlayer = GetPlayer();
			return somePlaying && somePlayer && somePlayer->myPosition.y < FALLEN_Y;
		}
		case Stage::Kind::Respawned:
		{
			const Player* somePlayer = GetPlayer();
			return somePlaying && somePlayer && !somePlayer->myIsDead && somePlayer->myAirTime <= 0.0f && somePlayer->myPetals == Player::MAX_PETALS;
		}
		case Stage::Kind::Near:
		{
			const Player* somePlayer = GetPlayer();
			if (!somePlaying || !somePlayer)
				return false;
			const Norv::Vector2<float> someOffset = somePlayer->myPosition - aStage.myPoint;
			return someOffset.x * someOffset.x + someOffset.y * someOffset.y <= aStage.myDistance * aStage.myDistance;
		}
		}
		return false;
	}

	std::string ScriptedRun::Where() const
	{
		std::ostringstream someText;
		someText << "frame " << myFrame << ", " << TopStateName() << " on top";
		if (const GameState* someState = myIsStarted ? GameState::GetInstance() : nullptr; someState && !someState->myScenePath.empty())
		{
			someText << ", scene " << someState->myScenePath << (someState->IsLevelLoaded() ? "" : " (not loaded)");
			if (!someState->GetPendingScenePath().empty())
				someText << ", " << someState->GetPendingScenePath() << " pending";
		}
		if (const Player* somePlayer = GetPlayer())
			someText << ", player at (" << somePlayer->myPosition.x << ", " << somePlayer->myPosition.y << ")";
		return someText.str();
	}
}
