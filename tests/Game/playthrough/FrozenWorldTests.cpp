// The level under the pause menu, and under the opening video, is drawn once and
// then copied back each frame: every such frame must be what drawing the level
// again in full gives, also after the window was resized, and after play resumed
// and paused again.
#include "ScriptedRun.h"

#include "Support/ReadBack.h"

#include "shell/Go.h"
#include "shell/LoadingScreen.h"
#include "shell/StateStack.h"
#include "world/GameState.h"

#include "engine/DrawCalls.h"
#include "engine/Engine.h"
#include "graphics/DX11.h"
#include "win32/Win32.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

namespace
{
	constexpr unsigned WIDTH = 640;
	constexpr unsigned HEIGHT = 360;
	constexpr int RESIZED_WIDTH = 800; // the window's outer size
	constexpr int RESIZED_HEIGHT = 450;
	constexpr int TOLERATED_LEVELS = 1;  // a channel may differ by this much (sRGB rounding)
	constexpr int MOVED_PIXELS = 1000;   // at least, between the level before and after walking
	constexpr int DRAWS_PER_KEPT_DRAW = 4; // a frame with the level drawn has this many times the draws, at least

	// The pause menu's flower indicators have faded in: nothing of the menu moves any more.
	const std::string PAUSE = "2 Pause\nuntil paused 10\n120\n";

	struct Drawn
	{
		NorvTest::Frame myFrame;
		std::uint32_t myDraws = 0;
	};

	// The next frame, drawn; with aDropped the level's kept copy is dropped first.
	Drawn DrawNext(Playthrough::ScriptedRun& aRun, FrozenWorld* aDropped)
	{
		if (aDropped)
			aDropped->Invalidate();
		aRun.DrawFrame(aRun.GetFrame() + 1);
		EXPECT_TRUE(aRun.Frame(0));
		return { NorvTest::ReadBackFrame(Norv::DX11::ourDevice, Norv::DX11::ourContext, Norv::DX11::ourSwapChain), Norv::DrawCalls::GetCurrentFrameCount() };
	}

	// Whether a pixel (x right, y down from the top-left corner) is compared.
	using PixelFilter = std::function<bool(unsigned, unsigned)>;

	// Compared pixels that differ by more than aTolerance in a channel; every pixel when the sizes differ.
	int CountDiffering(const NorvTest::Frame& aFrame, const NorvTest::Frame& anOther, int aTolerance, const PixelFilter& anIsCompared = {})
	{
		if (aFrame.myWidth != anOther.myWidth || aFrame.myHeight != anOther.myHeight || aFrame.myRgba.size() != anOther.myRgba.size())
			return static_cast<int>(std::max(aFrame.myRgba.size(), anOther.myRgba.size()) / 4);
		int someCount = 0;
		for (std::size_t i = 0; i + 3 < aFrame.myRgba.size(); i += 4)
		{
			const std::size_t somePixel = i / 4;
			if (anIsCompared && !anIsCompared(static_cast<unsigned>(somePixel % aFrame.myWidth), static_cast<unsigned>(somePixel / aFrame.myWidth)))
				continue;
			for (std::size_t c = 0; c < 3; ++c)
				if (std::abs(aFrame.myRgba[i + c] - anOther.myRgba[i + c]) > aTolerance)
				{
					++someCount;
					break;
				}
		}
		return someCount;
	}

	// A frame with the level copied back from aKept, then one with it drawn in full:
	// the same picture where aFilter compares. Returns the kept one.
	NorvTest::Frame ExpectKeptFrameIsTheFullRedraw(Playthrough::ScriptedRun& aRun, FrozenWorld& aKept, const char* aWhen, const PixelFilter& aFilter = {})
	{
		DrawNext(aRun, nullptr); // the level drawn and kept, unless a kept copy was thought valid
		const Drawn someKept = DrawNext(aRun, nullptr);
		const Drawn someFull = DrawNext(aRun, &aKept);
		const Norv::Vector2<unsigned int> someSize = Norv::Engine::GetInstance()->GetRenderSize();
		EXPECT_EQ(someKept.myFrame.myWidth, someSize.x) << aWhen;
		EXPECT_EQ(someKept.myFrame.myHeight, someSize.y) << aWhen;
		EXPECT_FALSE(someFull.myFrame.myRgba.empty()) << aWhen;
		// The kept frame took the level from its copy, the other drew it.
		EXPECT_GT(someFull.myDraws, someKept.myDraws * DRAWS_PER_KEPT_DRAW) << aWhen;
		EXPECT_EQ(CountDiffering(someKept.myFrame, someFull.myFrame, TOLERATED_LEVELS, aFilter), 0) << aWhen;
		return someKept.myFrame;
	}

	Playthrough::RunOptions FrameByFrame()
	{
		Playthrough::RunOptions someOptions;
		someOptions.myWidth = WIDTH;
		someOptions.myHeight = HEIGHT;
		someOptions.myLevelSelectScene = "Hub";
		// Only the frames asked for are drawn, and those of the loading screen, which fades only as it is drawn.
		someOptions.myDrawEvery = INT_MAX;
		return someOptions;
	}

	// Plays a script, drawing every frame while the loading screen shows.
	void Play(Playthrough::ScriptedRun& aRun, const std::string& aScript)
	{
		const Playthrough::ScriptedRun::FrameObserver DrawWhileLoading = [&aRun](const Playthrough::ScriptedRun&, int aFrame) {
			if (LoadingScreen::GetInstance().IsVisible())
				aRun.DrawFrame(aFrame + 1);
		};
		const Playthrough::Outcome someOutcome = aRun.Play(Playthrough::ParseScript(aScript, "frozen world"), DrawWhileLoading);
		ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
	}

	void ResizeWindow(int aWidth, int aHeight)
	{
		SetWindowPos(*Norv::Engine::GetInstance()->GetHWND(), nullptr, 0, 0, aWidth, aHeight, SWP_NOMOVE | SWP_NOZORDER);
	}

	TEST(FrozenWorld, APausedFrameIsTheFullRedrawAcrossAResizeAndAResume)
	{
		Playthrough::ScriptedRun someRun(FrameByFrame());
		ASSERT_TRUE(someRun.IsStarted());
		FrozenWorld& someKept = someRun.GetSession().GetStates().GetFrozenWorld();

		// "Level Select" plays the hub; the loading screen fades before the pause.
		Play(someRun, "expect intro\n2 Confirm\nuntil menu 5\n30\n2 Down\n3\n2 Confirm\nuntil scene Hub 600\n120\n" + PAUSE);
		const NorvTest::Frame someFirst = ExpectKeptFrameIsTheFullRedraw(someRun, someKept, "paused");
		EXPECT_EQ(someFirst.myWidth, WIDTH);

		// The world camera follows a resize while paused: the copy of the old size is stale.
		ResizeWindow(RESIZED_WIDTH, RESIZED_HEIGHT);
		Play(someRun, "30\n");
		const NorvTest::Frame someResized = ExpectKeptFrameIsTheFullRedraw(someRun, someKept, "resized while paused");
		EXPECT_GT(someResized.myWidth, someFirst.myWidth);
		ResizeWindow(static_cast<int>(WIDTH), static_cast<int>(HEIGHT));
		Play(someRun, "30\n");
		const NorvTest::Frame someSizedBack = ExpectKeptFrameIsTheFullRedraw(someRun, someKept, "sized back while paused");
		EXPECT_LT(someSizedBack.myWidth, someResized.myWidth);

		// Resumed, the player walks and the camera follows: paused again, the copy is the new level.
		Play(someRun, "2 Back\n10\n60 Right\n30\n" + PAUSE);
		const NorvTest::Frame someSecond = ExpectKeptFrameIsTheFullRedraw(someRun, someKept, "paused again after walking");
		ASSERT_EQ(someSecond.myWidth, someSizedBack.myWidth);
		EXPECT_GT(CountDiffering(someSizedBack, someSecond, TOLERATED_LEVELS), MOVED_PIXELS);
	}

	// The opening video keeps the size the window had when it was loaded: a window
	// made larger shows the frozen level around it, drawn once for each size.
	TEST(FrozenWorld, TheLevelAroundTheOpeningVideoIsDrawnOnceForEachSizeOfTheWindow)
	{
		Playthrough::ScriptedRun someRun(FrameByFrame());
		ASSERT_TRUE(someRun.IsStarted());
		Play(someRun, "expect intro\n2 Confirm\nuntil menu 5\n30\n2 Confirm\nuntil cutscene 60\n40\n");
		ASSERT_NE(GameState::GetInstance(), nullptr);
		FrozenWorld& someKept = GameState::GetInstance()->GetLevelUnderVideo();
		// The video fills the window: nothing of the level shows, nothing is compared but the cost.
		ExpectKeptFrameIsTheFullRedraw(someRun, someKept, "under the video", [](unsigned, unsigned) { return false; });

		const Norv::Color someClear = Norv::EngineCreateParameters().myClearColor;
		const std::array<int, 3> someClearRgb{ static_cast<int>(std::lround(someClear.r * 255.0f)), static_cast<int>(std::lround(someClear.g * 255.0f)),
			static_cast<int>(std::lround(someClear.b * 255.0f)) };
		for (const auto& [someWidth, someHeight] : { std::pair{ RESIZED_WIDTH, RESIZED_HEIGHT }, std::pair{ RESIZED_WIDTH + 160, RESIZED_HEIGHT - 20 } })
		{
			ResizeWindow(someWidth, someHeight);
			Play(someRun, "10\n");
			const Norv::Vector2<unsigned int> someSize = Norv::Engine::GetInstance()->GetRenderSize();
			const std::string someWhen = "resized to " + std::to_string(someSize.x) + " x " + std::to_string(someSize.y) + " during the video";
			// The video keeps its size and its place counted from the window's bottom-left corner.
			const PixelFilter IsAroundTheVideo = [someSize](unsigned x, unsigned y) { return x >= WIDTH || y + HEIGHT < someSize.y; };
			ASSERT_TRUE(someSize.x > WIDTH || someSize.y > HEIGHT) << someWhen;
			const NorvTest::Frame someFrame = ExpectKeptFrameIsTheFullRedraw(someRun, someKept, someWhen.c_str(), IsAroundTheVideo);

			// Around the video the level shows, not the colour the frame is cleared to.
			int someAround = 0;
			int someCleared = 0;
			for (unsigned y = 0; y < someFrame.myHeight; ++y)
				for (unsigned x = 0; x < someFrame.myWidth; ++x)
				{
					if (!IsAroundTheVideo(x, y))
						continue;
					const std::uint8_t* somePixel = &someFrame.myRgba[(static_cast<std::size_t>(y) * someFrame.myWidth + x) * 4];
					++someAround;
					someCleared += std::abs(somePixel[0] - someClearRgb[0]) <= TOLERATED_LEVELS && std::abs(somePixel[1] - someClearRgb[1]) <= TOLERATED_LEVELS
						&& std::abs(somePixel[2] - someClearRgb[2]) <= TOLERATED_LEVELS;
				}
			EXPECT_GT(someAround, 0) << someWhen;
			EXPECT_LT(someCleared, someAround / 100) << someWhen;
		}
	}
}
