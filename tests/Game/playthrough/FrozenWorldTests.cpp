// The level under the pause menu is drawn once and then copied back each frame:
// every such frame must be what drawing the level again in full gives, also after
// the window was resized while paused, and after play resumed and paused again.
#include "ScriptedRun.h"

#include "Support/ReadBack.h"

#include "shell/Go.h"
#include "shell/LoadingScreen.h"
#include "shell/StateStack.h"

#include "engine/DrawCalls.h"
#include "engine/Engine.h"
#include "graphics/DX11.h"
#include "win32/Win32.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

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

	// The next frame, drawn; with anIsRedrawn the level's kept copy is dropped first.
	Drawn DrawNext(Playthrough::ScriptedRun& aRun, bool anIsRedrawn)
	{
		if (anIsRedrawn)
			aRun.GetSession().GetStates().GetFrozenWorld().Invalidate();
		aRun.DrawFrame(aRun.GetFrame() + 1);
		EXPECT_TRUE(aRun.Frame(0));
		return { NorvTest::ReadBackFrame(Norv::DX11::ourDevice, Norv::DX11::ourContext, Norv::DX11::ourSwapChain), Norv::DrawCalls::GetCurrentFrameCount() };
	}

	// Pixels that differ by more than aTolerance in a channel; every pixel when the sizes differ.
	int CountDiffering(const NorvTest::Frame& aFrame, const NorvTest::Frame& anOther, int aTolerance)
	{
		if (aFrame.myWidth != anOther.myWidth || aFrame.myHeight != anOther.myHeight || aFrame.myRgba.size() != anOther.myRgba.size())
			return static_cast<int>(std::max(aFrame.myRgba.size(), anOther.myRgba.size()) / 4);
		int someCount = 0;
		for (std::size_t i = 0; i + 3 < aFrame.myRgba.size(); i += 4)
			for (std::size_t c = 0; c < 3; ++c)
				if (std::abs(aFrame.myRgba[i + c] - anOther.myRgba[i + c]) > aTolerance)
				{
					++someCount;
					break;
				}
		return someCount;
	}

	// A paused frame with the level copied back, then one with it drawn in full:
	// the same picture. Returns the kept one.
	NorvTest::Frame ExpectKeptFrameIsTheFullRedraw(Playthrough::ScriptedRun& aRun, const char* aWhen)
	{
		DrawNext(aRun, false); // the level drawn and kept, unless a kept copy was thought valid
		const Drawn someKept = DrawNext(aRun, false);
		const Drawn someFull = DrawNext(aRun, true);
		const Norv::Vector2<unsigned int> someSize = Norv::Engine::GetInstance()->GetRenderSize();
		EXPECT_EQ(someKept.myFrame.myWidth, someSize.x) << aWhen;
		EXPECT_EQ(someKept.myFrame.myHeight, someSize.y) << aWhen;
		EXPECT_FALSE(someFull.myFrame.myRgba.empty()) << aWhen;
		// The kept frame took the level from its copy, the other drew it.
		EXPECT_GT(someFull.myDraws, someKept.myDraws * DRAWS_PER_KEPT_DRAW) << aWhen;
		EXPECT_EQ(CountDiffering(someKept.myFrame, someFull.myFrame, TOLERATED_LEVELS), 0) << aWhen;
		return someKept.myFrame;
	}

	TEST(FrozenWorld, APausedFrameIsTheFullRedrawAcrossAResizeAndAResume)
	{
		Playthrough::RunOptions someOptions;
		someOptions.myWidth = WIDTH;
		someOptions.myHeight = HEIGHT;
		someOptions.myLevelSelectScene = "Hub";
		// Only the frames asked for are drawn, and those of the loading screen, which fades only as it is drawn.
		someOptions.myDrawEvery = INT_MAX;
		Playthrough::ScriptedRun someRun(someOptions);
		ASSERT_TRUE(someRun.IsStarted());
		const Playthrough::ScriptedRun::FrameObserver DrawWhileLoading = [&someRun](const Playthrough::ScriptedRun&, int aFrame) {
			if (LoadingScreen::GetInstance().IsVisible())
				someRun.DrawFrame(aFrame + 1);
		};
		const auto Play = [&](const std::string& aScript) {
			const Playthrough::Outcome someOutcome = someRun.Play(Playthrough::ParseScript(aScript, "frozen world"), DrawWhileLoading);
			ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		};

		// "Level Select" plays the hub; the loading screen fades before the pause.
		Play("expect intro\n2 Confirm\nuntil menu 5\n30\n2 Down\n3\n2 Confirm\nuntil scene Hub 600\n120\n" + PAUSE);
		const NorvTest::Frame someFirst = ExpectKeptFrameIsTheFullRedraw(someRun, "paused");
		EXPECT_EQ(someFirst.myWidth, WIDTH);

		// The world camera follows a resize while paused: the copy of the old size is stale.
		const HWND someWindow = *Norv::Engine::GetInstance()->GetHWND();
		SetWindowPos(someWindow, nullptr, 0, 0, RESIZED_WIDTH, RESIZED_HEIGHT, SWP_NOMOVE | SWP_NOZORDER);
		Play("30\n");
		const NorvTest::Frame someResized = ExpectKeptFrameIsTheFullRedraw(someRun, "resized while paused");
		EXPECT_GT(someResized.myWidth, someFirst.myWidth);
		SetWindowPos(someWindow, nullptr, 0, 0, static_cast<int>(WIDTH), static_cast<int>(HEIGHT), SWP_NOMOVE | SWP_NOZORDER);
		Play("30\n");
		const NorvTest::Frame someSizedBack = ExpectKeptFrameIsTheFullRedraw(someRun, "sized back while paused");
		EXPECT_LT(someSizedBack.myWidth, someResized.myWidth);

		// Resumed, the player walks and the camera follows: paused again, the copy is the new level.
		Play("2 Back\n10\n60 Right\n30\n" + PAUSE);
		const NorvTest::Frame someSecond = ExpectKeptFrameIsTheFullRedraw(someRun, "paused again after walking");
		ASSERT_EQ(someSecond.myWidth, someSizedBack.myWidth);
		EXPECT_GT(CountDiffering(someSizedBack, someSecond, TOLERATED_LEVELS), MOVED_PIXELS);
	}
}
