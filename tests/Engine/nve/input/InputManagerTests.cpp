#include "Support/Messages.h"

#include "input/InputManager.h"

#include <gtest/gtest.h>

namespace
{
	class InputManagerTest : public ::testing::Test
	{
	protected:
		void Key(UINT aMessage, WPARAM aKey) { EXPECT_TRUE(myInput.UpdateEvents(aMessage, aKey, 0)); }

		NorvTest::TestWindow myWindow{ WS_POPUP | WS_VISIBLE, 400, 300 };
		Norv::InputManager myInput{ myWindow.Handle() };
	};

	// A tap quicker than a frame reads as a key held over two frames: pressed, then
	// held once, then up; a key down across one snapshot only is down in that one.
	TEST_F(InputManagerTest, ATapBetweenUpdatesIsDownForTwoSnapshotsAndAShortHoldForOne)
	{
		Key(WM_KEYDOWN, 'A');
		Key(WM_KEYUP, 'A');
		EXPECT_TRUE(myInput.UpdateEvents(WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON1), 0));
		EXPECT_TRUE(myInput.UpdateEvents(WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON1), 0));
		Key(WM_KEYDOWN, 'B');
		myInput.Update();
		EXPECT_TRUE(myInput.IsKeyPressed('A'));
		EXPECT_FALSE(myInput.IsKeyHeld('A'));
		EXPECT_TRUE(myInput.IsKeyPressed(VK_XBUTTON1));
		EXPECT_TRUE(myInput.IsKeyPressed('B'));
		EXPECT_TRUE(myInput.HasChanged());
		Key(WM_KEYUP, 'B');
		myInput.Update();
		EXPECT_TRUE(myInput.IsKeyHeld('A'));
		EXPECT_TRUE(myInput.IsKeyHeld(VK_XBUTTON1));
		EXPECT_FALSE(myInput.IsKeyPressed('A'));
		EXPECT_FALSE(myInput.IsKeyHeld('B'));
		EXPECT_TRUE(myInput.HasChanged()); // B went up
		myInput.Update();
		EXPECT_FALSE(myInput.IsKeyHeld('A'));
		EXPECT_FALSE(myInput.IsKeyPressed('A'));
		EXPECT_FALSE(myInput.IsKeyHeld(VK_XBUTTON1));
		EXPECT_TRUE(myInput.HasChanged());
		myInput.Update();
		EXPECT_FALSE(myInput.HasChanged());
	}

	TEST_F(InputManagerTest, AKeyHeldOverThreeFramesIsPressedThenHeld)
	{
		Key(WM_SYSKEYDOWN, VK_MENU);
		myInput.Update();
		EXPECT_TRUE(myInput.IsKeyPressed(VK_MENU));
		EXPECT_FALSE(myInput.IsKeyHeld(VK_MENU));
		EXPECT_TRUE(myInput.HasChanged());
		for (int someFrame = 0; someFrame < 2; ++someFrame)
		{
			myInput.Update();
			EXPECT_FALSE(myInput.IsKeyPressed(VK_MENU));
			EXPECT_TRUE(myInput.IsKeyHeld(VK_MENU));
			EXPECT_FALSE(myInput.HasChanged());
		}
		Key(WM_SYSKEYUP, VK_MENU);
		myInput.Update();
		EXPECT_FALSE(myInput.IsKeyHeld(VK_MENU));
	}

	TEST_F(InputManagerTest, MouseButtonsAreKeys)
	{
		EXPECT_TRUE(myInput.UpdateEvents(WM_LBUTTONDOWN, MK_LBUTTON, 0));
		EXPECT_TRUE(myInput.UpdateEvents(WM_XBUTTONDOWN, MAKEWPARAM(0, XBUTTON2), 0));
		EXPECT_TRUE(myInput.UpdateEvents(WM_RBUTTONDOWN, 0, 0));
		EXPECT_TRUE(myInput.UpdateEvents(WM_RBUTTONUP, 0, 0));
		myInput.Update();
		EXPECT_TRUE(myInput.IsKeyPressed(VK_LBUTTON));
		EXPECT_TRUE(myInput.IsKeyPressed(VK_XBUTTON2));
		EXPECT_FALSE(myInput.IsKeyPressed(VK_XBUTTON1));
		EXPECT_TRUE(myInput.IsKeyPressed(VK_RBUTTON)); // a click between two frames
		EXPECT_TRUE(myInput.UpdateEvents(WM_XBUTTONUP, MAKEWPARAM(0, XBUTTON2), 0));
		myInput.Update();
		EXPECT_TRUE(myInput.IsKeyHeld(VK_RBUTTON));
		EXPECT_FALSE(myInput.IsKeyHeld(VK_XBUTTON2));
		EXPECT_TRUE(myInput.IsKeyHeld(VK_LBUTTON));
		myInput.Update();
		EXPECT_FALSE(myInput.IsKeyHeld(VK_RBUTTON));
		EXPECT_FALSE(myInput.IsKeyPressed(VK_RBUTTON));
	}

	TEST_F(InputManagerTest, MouseYCountsUpFromTheBottomEdge)
	{
		EXPECT_TRUE(myInput.UpdateEvents(WM_MOUSEMOVE, 0, MAKELPARAM(10, 0)));
		myInput.Update();
		EXPECT_EQ(myInput.GetMousePosition(), Norv::Vector2<float>(10.0f, 300.0f));
		EXPECT_TRUE(myInput.HasChanged());
		EXPECT_TRUE(myInput.UpdateEvents(WM_MOUSEMOVE, 0, MAKELPARAM(-3, 299)));
		myInput.Update();
		EXPECT_EQ(myInput.GetMousePosition(), Norv::Vector2<float>(-3.0f, 1.0f));
	}

	TEST_F(InputManagerTest, RawMotionAddsUpWithinAFrame)
	{
		SDL_Event someEvent{};
		someEvent.type = SDL_MOUSEMOTION;
		someEvent.motion.windowID = myWindow.SdlId();
		someEvent.motion.xrel = 4;
		someEvent.motion.yrel = -2;
		SDL_PushEvent(&someEvent);
		someEvent.motion.xrel = 1;
		someEvent.motion.yrel = -1;
		SDL_PushEvent(&someEvent);
		for (const MSG& someMessage : NorvTest::PumpMessages())
			myInput.UpdateEvents(someMessage.message, someMessage.wParam, someMessage.lParam);
		myInput.Update();
		EXPECT_EQ(myInput.GetMouseDelta(), Norv::Vector2<float>(5.0f, -3.0f));
		myInput.Update();
		EXPECT_EQ(myInput.GetMouseDelta(), Norv::Vector2<float>(0.0f, 0.0f));
	}

	TEST_F(InputManagerTest, OnlyTheLastWheelMessageOfAFrameCounts)
	{
		EXPECT_TRUE(myInput.UpdateEvents(WM_MOUSEWHEEL, MAKEWPARAM(0, 3 * WHEEL_DELTA), 0));
		EXPECT_TRUE(myInput.UpdateEvents(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0));
		myInput.Update();
		EXPECT_EQ(myInput.GetWheelDirection(), -1.0f);
		myInput.Update();
		EXPECT_EQ(myInput.GetWheelDirection(), 0.0f);
	}

	TEST_F(InputManagerTest, LosingTheFocusReleasesEverything)
	{
		Key(WM_KEYDOWN, VK_SPACE);
		EXPECT_TRUE(myInput.UpdateEvents(WM_LBUTTONDOWN, 0, 0));
		myInput.Update();
		// The releases happen in another window and never arrive.
		EXPECT_FALSE(myInput.UpdateEvents(WM_KILLFOCUS, 0, 0));
		myInput.Update();
		EXPECT_FALSE(myInput.IsKeyHeld(VK_SPACE));
		EXPECT_FALSE(myInput.IsKeyHeld(VK_LBUTTON));
	}

	TEST_F(InputManagerTest, OtherMessagesAndOutOfRangeKeysAreLeftAlone)
	{
		EXPECT_FALSE(myInput.UpdateEvents(WM_LBUTTONDBLCLK, 0, 0));
		EXPECT_FALSE(myInput.UpdateEvents(WM_SIZE, 0, 0));
		EXPECT_TRUE(myInput.UpdateEvents(WM_KEYDOWN, 300, 0));
		myInput.Update();
		EXPECT_FALSE(myInput.HasChanged());
		EXPECT_FALSE(myInput.IsKeyPressed(300));
		EXPECT_FALSE(myInput.IsKeyPressed(-1));
	}

	TEST_F(InputManagerTest, HidingAndShowingTheCursorSettleTheDisplayCount)
	{
		myInput.HideCursor();
		EXPECT_EQ(ShowCursor(TRUE), 0); // was -1
		ShowCursor(FALSE);
		myInput.ShowCursor();
		EXPECT_EQ(ShowCursor(FALSE), -1); // was 0
		ShowCursor(TRUE);
	}
}
