#include "Support/AssertRecorder.h"
#include "Support/RunningEngine.h"

#include "d3d11/TestSeams.h"
#include "drawers/SpriteDrawer.h"
#include "engine/DrawCalls.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/SpriteShader.h"
#include "graphics/TextureManager.h"
#include "window/WindowsWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
	using NorvTest::ManualCounter;
	using NorvTest::RunningEngine;

	TEST(Engine, StartsOnceAndIsGoneAfterDestroy)
	{
		{
			RunningEngine someEngine;
			ASSERT_TRUE(someEngine.IsStarted());
			Norv::Engine* someFirst = Norv::Engine::GetInstance();
			EXPECT_FALSE(Norv::Engine::Start());
			EXPECT_EQ(Norv::Engine::GetInstance(), someFirst);
			EXPECT_TRUE(IsWindow(someEngine.Window()));
		}
		EXPECT_EQ(Norv::Engine::GetInstance(), nullptr);
	}

	TEST(Engine, FirstFrameSeesZeroThenTheTimeSinceConstructionClamped)
	{
		ManualCounter someCounter;
		RunningEngine someEngine;
		Norv::Engine& someRunning = someEngine.Get();

		someCounter.AdvanceMilliseconds(30);
		ASSERT_TRUE(someRunning.BeginFrame());
		EXPECT_EQ(someRunning.GetDeltaTime(), 0.0f);
		someRunning.EndFrame();

		ASSERT_TRUE(someRunning.BeginFrame());
		EXPECT_FLOAT_EQ(someRunning.GetDeltaTime(), 0.03f);
		someCounter.AdvanceMilliseconds(2000);
		someRunning.EndFrame();
		EXPECT_FLOAT_EQ(someRunning.GetDeltaTime(), 0.1f);
		EXPECT_FLOAT_EQ(someRunning.GetTotalTime(), 0.13f);
	}

	TEST(Engine, QuitInTheQueueEndsEveryLaterFrameWithoutStartingOne)
	{
		RunningEngine someEngine;
		Norv::Engine& someRunning = someEngine.Get();
		ASSERT_TRUE(someRunning.BeginFrame());
		Norv::DrawCalls::Count();
		Norv::DrawCalls::Count();

		PostQuitMessage(0);
		EXPECT_FALSE(someRunning.BeginFrame());
		// The frame start after the pump never ran: the draw calls were not moved.
		EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 2u);
		EXPECT_FALSE(someRunning.BeginFrame());
		EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 2u);
	}

	TEST(Engine, FrameStartMovesTheDrawCallCount)
	{
		RunningEngine someEngine;
		ASSERT_TRUE(someEngine.Get().BeginFrame());
		for (int someCall = 0; someCall < 5; ++someCall)
			Norv::DrawCalls::Count();
		ASSERT_TRUE(someEngine.Get().BeginFrame());
		EXPECT_EQ(Norv::DrawCalls::GetLastFrameCount(), 5u);
		EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 0u);
	}

	TEST(Engine, ClosingTheWindowEndsTheLoop)
	{
		RunningEngine someEngine;
		const HWND someWindow = someEngine.Window();
		PostMessageW(someWindow, WM_CLOSE, 0, 0);
		EXPECT_FALSE(someEngine.Get().BeginFrame());
		EXPECT_FALSE(IsWindow(someWindow));
	}

	TEST(Engine, TheSpriteShaderFindsTheTexturesMadeBeforeIt)
	{
		// The texture manager and its built-in textures come before the graphics
		// object, whose sprite shader takes its default textures from them.
		RunningEngine someEngine;
		Norv::Engine& someRunning = someEngine.Get();
		const Norv::SpriteShader* someShader = someRunning.GetGraphicsEngine()->GetSpriteDrawer()->GetDefaultShader();
		ASSERT_NE(someShader, nullptr);
		ASSERT_NE(someShader->GetDefaultNormalTexture(), nullptr);
		EXPECT_EQ(someShader->GetDefaultNormalTexture(), someRunning.GetTextureManager()->GetTexture("Textures/T_Default_n.dds", Norv::TEXTURE_MODE_FORCE_SRGB));
		EXPECT_NE(someShader->GetDefaultMaterialTexture(), nullptr);
		EXPECT_NE(someShader->GetDefaultEffectsTexture(), nullptr);
	}

	TEST(Engine, ResizeIsAppliedOnceAtTheEndOfTheFrame)
	{
		RunningEngine someEngine;
		Norv::Engine& someRunning = someEngine.Get();
		someRunning.EndFrame(); // applies the resize of window creation
		ASSERT_FALSE(someRunning.IsResizePending());
		ASSERT_EQ(someRunning.GetRenderSize(), Norv::Vector2<unsigned int>(1280, 720));

		RECT someOuter{};
		GetWindowRect(someEngine.Window(), &someOuter);
		const int someExtraWidth = (someOuter.right - someOuter.left) - 1280;
		const int someExtraHeight = (someOuter.bottom - someOuter.top) - 720;
		SetWindowPos(someEngine.Window(), nullptr, 0, 0, 800 + someExtraWidth, 1000 + someExtraHeight, SWP_NOMOVE | SWP_NOZORDER);
		PostMessageW(someEngine.Window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 1000));
		PostMessageW(someEngine.Window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 1000));

		const unsigned someResizesBefore = Platform::GetSwapChainResizeCount();
		ASSERT_TRUE(someRunning.BeginFrame());
		EXPECT_TRUE(someRunning.IsResizePending());
		EXPECT_EQ(someRunning.GetRenderSize(), Norv::Vector2<unsigned int>(1280, 720));
		EXPECT_EQ(Platform::GetSwapChainResizeCount(), someResizesBefore) << "nothing is resized before the frame ends";

		someRunning.EndFrame();
		EXPECT_FALSE(someRunning.IsResizePending());
		EXPECT_EQ(Platform::GetSwapChainResizeCount(), someResizesBefore + 1) << "two size messages, one resize";
		EXPECT_EQ(someRunning.GetRenderSize(), Norv::Vector2<unsigned int>(800, 1000));
		EXPECT_EQ(someRunning.GetWindowSize(), Norv::Vector2<unsigned int>(800 + someExtraWidth, 1000 + someExtraHeight));
		EXPECT_FLOAT_EQ(someRunning.GetAspectRatio(), 1.25f);
		EXPECT_FLOAT_EQ(someRunning.GetInverseAspectRatio(), 0.8f);
		EXPECT_EQ(someRunning.GetAspectFactor(), Norv::Vector2<float>(1.0f, 1.25f));
		EXPECT_EQ(someRunning.GetInverseAspectFactor(), Norv::Vector2<float>(1.0f, 0.8f));
	}

	TEST(Engine, AMinimisedWindowKeepsTheLastRenderSizeAndRatio)
	{
		RunningEngine someEngine;
		Norv::Engine& someRunning = someEngine.Get();
		someRunning.EndFrame();
		ShowWindow(someEngine.Window(), SW_MINIMIZE);
		ASSERT_TRUE(someRunning.BeginFrame());
		ASSERT_TRUE(someRunning.IsResizePending());
		someRunning.EndFrame();
		EXPECT_EQ(someRunning.GetRenderSize(), Norv::Vector2<unsigned int>(1280, 720));
		EXPECT_FLOAT_EQ(someRunning.GetAspectRatio(), 1280.0f / 720.0f);
		EXPECT_TRUE(std::isfinite(someRunning.GetInverseAspectRatio()));
	}

	TEST(Engine, ARenderSizeWithoutAreaLeavesTheAspectRatioAtItsDefault)
	{
		Norv::EngineCreateParameters someParameters;
		someParameters.myRenderSize = { 0, 720 };
		RunningEngine someEngine(someParameters);
		ASSERT_TRUE(someEngine.IsStarted());
		EXPECT_EQ(someEngine.Get().GetAspectRatio(), 1.0f);
		EXPECT_EQ(someEngine.Get().GetInverseAspectRatio(), 1.0f);
	}

	TEST(Engine, AllNineDebugBitsTurnEveryFeatureOn)
	{
		Norv::EngineCreateParameters someParameters;
		someParameters.myDebugFeatures = 511;
		{
			RunningEngine someEngine(someParameters);
			EXPECT_TRUE(someEngine.Get().IsDebugFeatureOn(1));
			EXPECT_TRUE(someEngine.Get().IsDebugFeatureOn(1u << 12));
		}
		someParameters.myDebugFeatures = 510;
		{
			RunningEngine someEngine(someParameters);
			EXPECT_FALSE(someEngine.Get().IsDebugFeatureOn(1));
			EXPECT_TRUE(someEngine.Get().IsDebugFeatureOn(32));
		}
	}

	TEST(Engine, StartingMaximisedOrFullscreenUsesTheScreenSize)
	{
		const Norv::Vector2<unsigned int> someScreen(static_cast<unsigned int>(GetSystemMetrics(SM_CXSCREEN)), static_cast<unsigned int>(GetSystemMetrics(SM_CYSCREEN)));
		for (bool someIsFullscreen : { false, true })
		{
			Norv::EngineCreateParameters someParameters;
			someParameters.myStartMaximized = !someIsFullscreen;
			someParameters.myStartInFullscreen = someIsFullscreen;
			RunningEngine someEngine(someParameters);
			ASSERT_TRUE(someEngine.IsStarted());
			EXPECT_EQ(someEngine.Get().GetRenderSize(), someScreen);
			RECT someClient{};
			GetClientRect(someEngine.Window(), &someClient);
			// Fullscreen is borderless: the whole screen is client area.
			if (someIsFullscreen)
			{
				EXPECT_EQ(someClient.right, static_cast<LONG>(someScreen.x));
			}
		}
	}

	TEST(Engine, AWindowThatCannotBeCreatedFailsTheStart)
	{
		NorvTest::AssertRecorder someAsserts;
		Norv::EngineCreateParameters someParameters;
		someParameters.myWindowSize = { 100000, 100000 }; // more than SDL makes
		testing::internal::CaptureStderr();
		RunningEngine someEngine(someParameters);
		const std::string someErrors = testing::internal::GetCapturedStderr();
		EXPECT_FALSE(someEngine.IsStarted());
		EXPECT_NE(Norv::Engine::GetInstance(), nullptr);
		// One plain line says why; a runtime failure is no assert.
		EXPECT_EQ(someAsserts.Count(), 0u);
		EXPECT_EQ(someErrors.rfind("The window could not be created: ", 0), 0u) << someErrors;
		EXPECT_EQ(std::count(someErrors.begin(), someErrors.end(), '\n'), 1) << someErrors;
	}
}
