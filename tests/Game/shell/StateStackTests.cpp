#include "Support/InjectedGamepads.h"
#include "Support/RunningEngine.h"

#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "shell/InputMapper.h"
#include "shell/LoadingScreen.h"
#include "shell/SceneManager.h"
#include "shell/StateStack.h"
#include "world/AbilityFlags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

namespace
{
	// Records every call as "<name>.<call>" and returns the next queued code from Update.
	class RecordingState : public IStates
	{
	public:
		RecordingState(std::string aName, std::vector<std::string>& aLog) : myName(std::move(aName)), myLog(aLog) {}

		void Init(InputMapper&) override { myLog.push_back(myName + ".Init"); }
		int Update(InputMapper&, float) override
		{
			myLog.push_back(myName + ".Update");
			if (myDuringUpdate)
				std::exchange(myDuringUpdate, {})();
			const int someCode = myNextCode;
			myNextCode = StateTransition::Stay;
			return someCode;
		}
		void Exit() override { myLog.push_back(myName + ".Exit"); }
		void Render(InputMapper&) override { myLog.push_back(myName + ".Render"); }
		void OnResize() override { myLog.push_back(myName + ".OnResize"); }

		int myNextCode = StateTransition::Stay;
		std::function<void()> myDuringUpdate; // run once, inside the next update

	private:
		std::string myName;
		std::vector<std::string>& myLog;
	};

	class StateStackTest : public ::testing::Test
	{
	protected:
		StateStackTest()
		{
			myStack.PushInitialState(myInput);
			myLog.clear();
		}
		// Rendering makes the loading screen on this test's engine: it goes with it.
		~StateStackTest() override { LoadingScreen::DestroyInstance(); }

		// Makes aState the top and runs one update whose code is aCode.
		void UpdateWith(RecordingState& aTop, int aCode)
		{
			ASSERT_EQ(myStack.GetStack().back(), &aTop);
			aTop.myNextCode = aCode;
			myStack.Update(myInput, 0.016f);
		}

		std::vector<std::string> TakeLog() { return std::exchange(myLog, {}); }

		std::vector<std::string> myLog;
		RecordingState myMainMenu{ "MainMenu", myLog };
		RecordingState myPauseMenu{ "PauseMenu", myLog };
		RecordingState myBookCase{ "BookCase", myLog };
		RecordingState myGame{ "Game", myLog };
		RecordingState myOptions{ "Options", myLog };
		RecordingState myCredits{ "Credits", myLog };
		RecordingState myQuitScreen{ "QuitScreen", myLog };
		RecordingState myIntro{ "Intro", myLog };
		NorvTest::InjectedGamepads myPads;
		NorvTest::RunningEngine myEngine;
		InputMapper myInput{ myEngine.Window() };
		StateStack myStack{ StateSet{ &myMainMenu, &myPauseMenu, &myBookCase, &myGame, &myOptions, &myCredits, &myQuitScreen, &myIntro } };
	};

	using Log = std::vector<std::string>;

	TEST_F(StateStackTest, StartsWithTheIntroInitialisedAndPublished)
	{
		EXPECT_EQ(StateStack::GetInstance(), &myStack);
		EXPECT_EQ(myStack.GetStack(), std::vector<IStates*>{ &myIntro });
		EXPECT_FALSE(myStack.ShouldQuit());
	}

	TEST_F(StateStackTest, CodesThatPushAStateInitItTheSameFrame)
	{
		const std::pair<int, RecordingState*> somePushes[] = {
			{ StateTransition::Pause, &myPauseMenu }, { StateTransition::AbilityPage, &myBookCase }, { StateTransition::Options, &myOptions },
			{ StateTransition::Credits, &myCredits }, { StateTransition::QuitScreen, &myQuitScreen },
		};
		RecordingState* someTop = &myIntro;
		for (const auto& [someCode, someState] : somePushes)
		{
			UpdateWith(*someTop, someCode);
			EXPECT_EQ(myStack.GetStack().back(), someState);
			someTop = someState;
		}
		EXPECT_EQ(myStack.GetStack().size(), 6u);
		EXPECT_EQ(TakeLog(), (Log{ "Intro.Update", "PauseMenu.Init", "PauseMenu.Update", "BookCase.Init", "BookCase.Update", "Options.Init",
			"Options.Update", "Credits.Init", "Credits.Update", "QuitScreen.Init" }));
	}

	TEST_F(StateStackTest, BackPopsExactlyOneStateWithoutANewInitBelow)
	{
		UpdateWith(myIntro, StateTransition::Pause);
		UpdateWith(myPauseMenu, StateTransition::Options);
		TakeLog();
		UpdateWith(myOptions, StateTransition::Back);
		EXPECT_EQ(myStack.GetStack(), (std::vector<IStates*>{ &myIntro, &myPauseMenu }));
		EXPECT_EQ(TakeLog(), (Log{ "Options.Update", "Options.Exit" }));
		myStack.Update(myInput, 0.016f);
		EXPECT_EQ(TakeLog(), Log{ "PauseMenu.Update" });
	}

	TEST_F(StateStackTest, PlayingClearsTheStackWithTheTopsExit)
	{
		UpdateWith(myIntro, StateTransition::Pause);
		TakeLog();
		UpdateWith(myPauseMenu, StateTransition::PlayCurrentScene);
		EXPECT_EQ(myStack.GetStack(), std::vector<IStates*>{ &myGame });
		EXPECT_EQ(TakeLog(), (Log{ "PauseMenu.Update", "PauseMenu.Exit", "Game.Init" }));
		UpdateWith(myGame, StateTransition::NewGame);
		EXPECT_EQ(myStack.GetStack(), std::vector<IStates*>{ &myGame });
		EXPECT_EQ(TakeLog(), (Log{ "Game.Update", "Game.Exit", "Game.Init" }));
	}

	TEST_F(StateStackTest, ANewGameStartsAtTheTutorialWithoutAbilitiesAndPlayingKeepsBoth)
	{
		SceneManager::GetInstance().SetCurrentScenePath("scenes/Level_2.nvs");
		AbilityFlags.fill(true); // all earned in a game played before
		UpdateWith(myIntro, StateTransition::PlayCurrentScene);
		EXPECT_EQ(SceneManager::GetInstance().GetCurrentScenePath(), "scenes/Level_2.nvs");
		EXPECT_TRUE(AbilityFlags[Ability::WALL_JUMP]);
		UpdateWith(myGame, StateTransition::NewGame);
		EXPECT_EQ(SceneManager::GetInstance().GetCurrentScenePath(), "scenes/Tutorial.nvs");
		EXPECT_EQ(AbilityFlags, (std::array<bool, Ability::COUNT>{}));
	}

	TEST_F(StateStackTest, MainMenuExitsTheTopAndThePlayStateAlways)
	{
		UpdateWith(myIntro, StateTransition::MainMenu);
		EXPECT_EQ(myStack.GetStack(), std::vector<IStates*>{ &myMainMenu });
		EXPECT_EQ(TakeLog(), (Log{ "Intro.Update", "Intro.Exit", "Game.Exit", "MainMenu.Init" }));
	}

	TEST_F(StateStackTest, QuitEmptiesTheStackWithoutExitsAndOnlyTheLoadingScreenIsLeft)
	{
		UpdateWith(myIntro, StateTransition::Pause);
		TakeLog();
		UpdateWith(myPauseMenu, StateTransition::Quit);
		EXPECT_TRUE(myStack.GetStack().empty());
		EXPECT_TRUE(myStack.ShouldQuit());
		myStack.Render(myInput);
		myStack.Update(myInput, 0.016f);
		EXPECT_EQ(TakeLog(), Log{ "PauseMenu.Update" });
		EXPECT_TRUE(myStack.ShouldQuit());
	}

	TEST_F(StateStackTest, CodesThatNameNoStateChangeNothing)
	{
		for (int someCode : { StateTransition::Stay, StateTransition::None, StateTransition::ToggleWindowMode, StateTransition::ToggleMute, 14, -1, 1000 })
		{
			UpdateWith(myIntro, someCode);
			EXPECT_EQ(myStack.GetStack(), std::vector<IStates*>{ &myIntro }) << someCode;
			EXPECT_FALSE(myStack.ShouldQuit());
		}
		EXPECT_EQ(TakeLog(), Log(7, "Intro.Update"));
	}

	TEST_F(StateStackTest, OnlyTheTopUpdatesAndAllRenderBottomUp)
	{
		UpdateWith(myIntro, StateTransition::PlayCurrentScene);
		UpdateWith(myGame, StateTransition::Pause);
		TakeLog();
		myStack.Update(myInput, 0.016f);
		myStack.Render(myInput);
		// The play state draws with its own cameras: no interface re-layout for it.
		EXPECT_EQ(TakeLog(), (Log{ "PauseMenu.Update", "Game.Render", "PauseMenu.OnResize", "PauseMenu.Render" }));
	}

	// The frozen level is drawn once under the menus and copied back after that,
	// until it is updated again; while the loading screen shows it is drawn in full.
	TEST_F(StateStackTest, ThePlayStateUnderAMenuIsDrawnOnceUntilItIsUpdatedAgain)
	{
		const auto GameRenders = [this] {
			const Log someLog = TakeLog();
			return std::count(someLog.begin(), someLog.end(), "Game.Render");
		};
		UpdateWith(myIntro, StateTransition::PlayCurrentScene);
		UpdateWith(myGame, StateTransition::Pause);
		TakeLog();
		for (int i = 0; i < 3; ++i)
		{
			myStack.Render(myInput);
			myStack.Update(myInput, 0.016f);
		}
		EXPECT_EQ(GameRenders(), 1);

		LoadingScreen::GetInstance().Show({ 0.0f, 0.0f, 0.0f, 1.0f });
		myStack.Render(myInput);
		myStack.Render(myInput);
		EXPECT_EQ(GameRenders(), 2);
		LoadingScreen::DestroyInstance();

		// Resumed and updated, then paused again: the level is drawn anew once.
		UpdateWith(myPauseMenu, StateTransition::Back);
		myStack.Render(myInput);
		EXPECT_EQ(GameRenders(), 1);
		UpdateWith(myGame, StateTransition::Options);
		myStack.Render(myInput);
		myStack.Render(myInput);
		EXPECT_EQ(GameRenders(), 1);
	}

	TEST_F(StateStackTest, ReturningToTheMainMenuExitsOnlyThePlayState)
	{
		UpdateWith(myIntro, StateTransition::PlayCurrentScene);
		UpdateWith(myGame, StateTransition::Pause);
		TakeLog();
		myStack.ReturnToMainMenu(myInput);
		EXPECT_EQ(myStack.GetStack(), std::vector<IStates*>{ &myMainMenu });
		// The level's music and loops end with the play state's exit; the pause menu gets none.
		EXPECT_EQ(TakeLog(), (Log{ "Game.Exit", "MainMenu.Init" }));
	}

	TEST_F(StateStackTest, AReturnAskedDuringAnUpdateDropsTheCodeThatUpdateReturns)
	{
		UpdateWith(myIntro, StateTransition::PlayCurrentScene);
		TakeLog();
		myGame.myDuringUpdate = [this] { myStack.ReturnToMainMenu(myInput); };
		UpdateWith(myGame, StateTransition::Pause);
		EXPECT_EQ(myStack.GetStack(), std::vector<IStates*>{ &myMainMenu });
		EXPECT_EQ(TakeLog(), (Log{ "Game.Update", "Game.Exit", "MainMenu.Init" }));
	}

	TEST_F(StateStackTest, TheInterfaceCameraMapsClientPixelsWithYUp)
	{
		myStack.Update(myInput, 0.016f);
		const Norv::Camera& someCamera = myStack.GetInterfaceCamera();
		EXPECT_EQ(someCamera.myTransform.GetTranslation(), Norv::Vector3<float>(0.0f, 0.0f, -100.0f));
		// The client's top-right corner (1280, 720) lands on clip (1, 1); the origin on (-1, -1).
		EXPECT_FLOAT_EQ(1280.0f * someCamera.myProjection(1, 1) + someCamera.myProjection(4, 1), 1.0f);
		EXPECT_FLOAT_EQ(720.0f * someCamera.myProjection(2, 2) + someCamera.myProjection(4, 2), 1.0f);
		EXPECT_FLOAT_EQ(someCamera.myProjection(4, 2), -1.0f);

		// Minimised, the last camera stays instead of dividing by an empty area.
		ShowWindow(myEngine.Window(), SW_MINIMIZE);
		const Norv::Camera* someAddress = &myStack.GetInterfaceCamera();
		myStack.Update(myInput, 0.016f);
		EXPECT_EQ(&myStack.GetInterfaceCamera(), someAddress);
		EXPECT_FLOAT_EQ(myStack.GetInterfaceCamera().myProjection(1, 1), 2.0f / 1280.0f);
	}

	TEST_F(StateStackTest, MenusDrawUnderTheInterfaceCameraAndThePlayStateKeepsItsOwn)
	{
		Norv::GraphicsStateStack* someGraphicsState = Norv::GraphicsEngine::GetStateStack();
		ASSERT_NE(someGraphicsState, nullptr);
		Norv::Camera someWorldCamera;
		someWorldCamera.SetPerspectiveProjection(90.0f, { 16.0f, 9.0f }, 1.0f, 100.0f);

		UpdateWith(myIntro, StateTransition::PlayCurrentScene);
		someGraphicsState->SetCamera(someWorldCamera);
		myStack.Render(myInput);
		EXPECT_EQ(someGraphicsState->GetTop().myCamera.myProjection, someWorldCamera.myProjection);

		UpdateWith(myGame, StateTransition::Pause);
		myStack.Render(myInput);
		EXPECT_EQ(someGraphicsState->GetTop().myCamera.myProjection, myStack.GetInterfaceCamera().myProjection);
	}
}
