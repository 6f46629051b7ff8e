#include "Support/ExecutableFolder.h"
#include "Support/InjectedGamepads.h"
#include "Support/RunningEngine.h"
#include "Support/WorkingFolder.h"

#include "shell/Go.h"
#include "shell/InputMapper.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
	constexpr std::string_view SETTINGS = R"({
		"assets_path": { "engine": "engine", "game": "game", "cooked": ")" NORV_COOKED_DIR R"(" },
		"window_settings": { "title": "Norv test", "window_size": { "w": 640, "h": 360 } },
		"debug_features": ["All"]
	})";

	TEST(GameWindowCallback, HoldsTheWindowToTheScreenSize)
	{
		MINMAXINFO someInfo{};
		EXPECT_EQ(Game::WindowCallback(nullptr, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&someInfo)), 0);
		const POINT someScreen{ GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
		EXPECT_EQ(someInfo.ptMinTrackSize.x, someScreen.x);
		EXPECT_EQ(someInfo.ptMinTrackSize.y, someScreen.y);
		EXPECT_EQ(someInfo.ptMaxTrackSize.x, someScreen.x);
		EXPECT_EQ(someInfo.ptMaxTrackSize.y, someScreen.y);
	}

	TEST(GameWindowCallback, DestroyPostsQuit)
	{
		NorvTest::DrainMessages();
		EXPECT_EQ(Game::WindowCallback(nullptr, WM_DESTROY, 0, 0), 0);
		MSG someMessage{};
		ASSERT_TRUE(PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE));
		EXPECT_EQ(someMessage.message, WM_QUIT);
	}

	class GoTest : public ::testing::Test
	{
	protected:
		NorvTest::ExecutableFolder myFolder;
		NorvTest::InjectedGamepads myPads;
	};

	TEST_F(GoTest, RunsUntilTheWindowIsAskedToCloseThenShutsDown)
	{
		myFolder.WriteSettings(SETTINGS);
		std::filesystem::create_directories(myFolder.Path() / "engine");
		std::filesystem::create_directories(myFolder.Path() / "game");
		// A damaged icon is said; a missing cursor is not.
		const NorvTest::WorkingFolder someWorking;
		const std::filesystem::path someIcon = someWorking.Folder().Write("Source/Game/data/UI/game.ico", "not an icon");
		ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0); // so that the event below can be queued
		NorvTest::DrainMessages();
		SDL_Event someQuit{};
		someQuit.type = SDL_QUIT;
		SDL_PushEvent(&someQuit);
		testing::internal::CaptureStderr();
		EXPECT_EQ(Game::Go(), 0);
		const std::string someErrors = testing::internal::GetCapturedStderr();
		EXPECT_NE(someErrors.find("The window icon \"" + someIcon.string() + "\" could not be read; the default one is kept\n"), std::string::npos) << someErrors;
		EXPECT_EQ(someErrors.find("cursor"), std::string::npos) << someErrors;
		EXPECT_EQ(Norv::Engine::GetInstance(), nullptr);
		// The input actions outlive the loop, as the process ends with them.
		ASSERT_NE(InputMapper::GetInstance(), nullptr);
		// The debug features of the settings never reached the engine.
		EXPECT_EQ(Norv::GetEngineCreateParameters().myDebugFeatures, 32u);
		EXPECT_EQ(Norv::GetEngineCreateParameters().myWindowSize, Norv::Vector2<unsigned int>(640, 360));
		NorvTest::DrainMessages();
	}

	TEST_F(GoTest, AnEngineThatCannotStartEndsTheProgramWithAFailure)
	{
		myFolder.WriteSettings(SETTINGS);
		NorvTest::RunningEngine someAlreadyRunning;
		ASSERT_TRUE(someAlreadyRunning.IsStarted());
		EXPECT_NE(Game::Go(), 0);
	}

	TEST_F(GoTest, MalformedSettingsEndTheProgramWithOneLine)
	{
		myFolder.WriteSettings(R"({ "window_settings": )");
		testing::internal::CaptureStderr();
		EXPECT_NE(Game::Go(), 0);
		const std::string someErrors = testing::internal::GetCapturedStderr();
		EXPECT_EQ(std::count(someErrors.begin(), someErrors.end(), '\n'), 1) << someErrors;
		EXPECT_EQ(Norv::Engine::GetInstance(), nullptr);
	}
}
