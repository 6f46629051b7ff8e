#include "Support/Messages.h"
#include "win32/Internal.h"

#include <gtest/gtest.h>

namespace
{
	using NorvTest::TestWindow;

	void PushKey(const TestWindow& aWindow, bool anIsDown, SDL_Scancode aScancode, SDL_Keycode aKey, Uint16 aModifiers = KMOD_NONE, bool anIsRepeat = false)
	{
		NorvTest::PushKey(aWindow.SdlId(), anIsDown, aScancode, aKey, aModifiers, anIsRepeat);
	}

	void PushWindowEvent(const TestWindow& aWindow, SDL_WindowEventID anId, int aData1 = 0, int aData2 = 0)
	{
		SDL_Event someEvent{};
		someEvent.type = SDL_WINDOWEVENT;
		someEvent.window.windowID = aWindow.SdlId();
		someEvent.window.event = static_cast<Uint8>(anId);
		someEvent.window.data1 = aData1;
		someEvent.window.data2 = aData2;
		SDL_PushEvent(&someEvent);
	}

	void PushMotion(const TestWindow& aWindow, int anX, int aY, int aDeltaX, int aDeltaY)
	{
		SDL_Event someEvent{};
		someEvent.type = SDL_MOUSEMOTION;
		someEvent.motion.windowID = aWindow.SdlId();
		someEvent.motion.x = anX;
		someEvent.motion.y = aY;
		someEvent.motion.xrel = aDeltaX;
		someEvent.motion.yrel = aDeltaY;
		SDL_PushEvent(&someEvent);
	}

	// The movement of every WM_INPUT received, in order.
	std::vector<std::pair<LONG, LONG>> RawMovements(const TestWindow& aWindow)
	{
		std::vector<std::pair<LONG, LONG>> someMovements;
		for (const MSG& someMessage : aWindow.Received(WM_INPUT))
		{
			RAWINPUT someInput{};
			UINT someSize = sizeof(someInput);
			if (GetRawInputData(reinterpret_cast<HRAWINPUT>(someMessage.lParam), RID_INPUT, &someInput, &someSize, sizeof(RAWINPUTHEADER)) == sizeof(RAWINPUT))
				someMovements.emplace_back(someInput.data.mouse.lLastX, someInput.data.mouse.lLastY);
		}
		return someMovements;
	}

	// The wParam of every key message received, in order, with its message.
	std::vector<std::pair<UINT, WPARAM>> KeyMessages(const TestWindow& aWindow)
	{
		std::vector<std::pair<UINT, WPARAM>> someKeys;
		for (const MSG& someMessage : aWindow.myReceived)
			if (someMessage.message >= WM_KEYDOWN && someMessage.message <= WM_SYSKEYUP)
				someKeys.emplace_back(someMessage.message, someMessage.wParam);
		return someKeys;
	}

	TEST(Win32Messages, KeysBecomeVirtualKeyCodesWithModifiersAsTheirGenericCodes)
	{
		TestWindow someWindow;
		PushKey(someWindow, true, SDL_SCANCODE_A, SDLK_a);
		PushKey(someWindow, true, SDL_SCANCODE_RSHIFT, SDLK_RSHIFT);
		PushKey(someWindow, true, SDL_SCANCODE_LCTRL, SDLK_LCTRL);
		PushKey(someWindow, true, SDL_SCANCODE_RETURN, SDLK_RETURN);
		PushKey(someWindow, true, SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER);
		PushKey(someWindow, true, SDL_SCANCODE_5, SDLK_5);
		PushKey(someWindow, true, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
		PushKey(someWindow, true, SDL_SCANCODE_UP, SDLK_UP);
		PushKey(someWindow, true, SDL_SCANCODE_F24, SDLK_F24);
		PushKey(someWindow, true, SDL_SCANCODE_KP_3, SDLK_KP_3);
		NorvTest::PumpMessages();
		const std::vector<std::pair<UINT, WPARAM>> someExpected = {
			{ WM_KEYDOWN, 'A' }, { WM_KEYDOWN, VK_SHIFT }, { WM_KEYDOWN, VK_CONTROL }, { WM_KEYDOWN, VK_RETURN },
			{ WM_KEYDOWN, VK_RETURN }, { WM_KEYDOWN, '5' }, { WM_KEYDOWN, VK_ESCAPE }, { WM_KEYDOWN, VK_UP },
			{ WM_KEYDOWN, VK_F24 }, { WM_KEYDOWN, VK_NUMPAD0 + 3 },
		};
		EXPECT_EQ(KeyMessages(someWindow), someExpected);
	}

	TEST(Win32Messages, AltMakesSystemKeysAndKeyParametersArePackedAsWindowsDoes)
	{
		TestWindow someWindow;
		PushKey(someWindow, true, SDL_SCANCODE_LALT, SDLK_LALT, KMOD_LALT);
		PushKey(someWindow, true, SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT);
		PushKey(someWindow, false, SDL_SCANCODE_LALT, SDLK_LALT);
		PushKey(someWindow, true, SDL_SCANCODE_RIGHT, SDLK_RIGHT, KMOD_NONE, true);
		PushKey(someWindow, false, SDL_SCANCODE_RIGHT, SDLK_RIGHT);
		NorvTest::PumpMessages();
		const std::vector<std::pair<UINT, WPARAM>> someExpected = {
			{ WM_SYSKEYDOWN, VK_MENU }, { WM_SYSKEYDOWN, VK_F1 + 3 }, { WM_SYSKEYUP, VK_MENU }, { WM_KEYDOWN, VK_RIGHT }, { WM_KEYUP, VK_RIGHT },
		};
		ASSERT_EQ(KeyMessages(someWindow), someExpected);

		const std::vector<MSG> someRepeat = someWindow.Received(WM_KEYDOWN);
		EXPECT_EQ(someRepeat[0].lParam & 0xFFFF, 1);
		EXPECT_NE(someRepeat[0].lParam & KF_REPEAT_BIT, 0);
		EXPECT_NE(someRepeat[0].lParam & KF_EXTENDED_BIT, 0);
		const std::vector<MSG> someUp = someWindow.Received(WM_KEYUP);
		EXPECT_NE(someUp[0].lParam & KF_UP_BIT, 0);
		EXPECT_NE(someUp[0].lParam & KF_REPEAT_BIT, 0);
		EXPECT_NE(someWindow.Received(WM_SYSKEYDOWN)[1].lParam & KF_ALTDOWN_BIT, 0);
	}

	TEST(Win32Messages, MouseMotionCarriesSignedClientCoordinatesAndRawDeltas)
	{
		TestWindow someWindow;
		RAWINPUTDEVICE someMouse{ 1, 2, RIDEV_INPUTSINK, someWindow.Handle() };
		ASSERT_TRUE(RegisterRawInputDevices(&someMouse, 1, sizeof(someMouse)));

		PushMotion(someWindow, -5, 300, -7, 3);
		NorvTest::PumpMessages();

		ASSERT_EQ(someWindow.Received(WM_MOUSEMOVE).size(), 1u);
		const LPARAM somePosition = someWindow.Received(WM_MOUSEMOVE)[0].lParam;
		EXPECT_EQ(GET_X_LPARAM(somePosition), -5);
		EXPECT_EQ(GET_Y_LPARAM(somePosition), 300);

		ASSERT_EQ(someWindow.Received(WM_INPUT).size(), 1u);
		const auto someHandle = reinterpret_cast<HRAWINPUT>(someWindow.Received(WM_INPUT)[0].lParam);
		UINT someSize = 0;
		EXPECT_EQ(GetRawInputData(someHandle, RID_INPUT, nullptr, &someSize, sizeof(RAWINPUTHEADER)), 0u);
		EXPECT_EQ(someSize, sizeof(RAWINPUT));
		RAWINPUT someInput{};
		someSize = 10;
		EXPECT_EQ(GetRawInputData(someHandle, RID_INPUT, &someInput, &someSize, sizeof(RAWINPUTHEADER)), static_cast<UINT>(-1));
		someSize = sizeof(someInput);
		ASSERT_EQ(GetRawInputData(someHandle, RID_INPUT, &someInput, &someSize, sizeof(RAWINPUTHEADER)), sizeof(RAWINPUT));
		EXPECT_EQ(someInput.header.dwType, RIM_TYPEMOUSE);
		EXPECT_EQ(someInput.data.mouse.lLastX, -7);
		EXPECT_EQ(someInput.data.mouse.lLastY, 3);
		EXPECT_EQ(GetRawInputData(nullptr, RID_INPUT, &someInput, &someSize, sizeof(RAWINPUTHEADER)), static_cast<UINT>(-1));
	}

	TEST(Win32Messages, TheJumpOfAPlacedCursorIsNoRawMovementButLaterMotionIs)
	{
		TestWindow someWindow;
		RAWINPUTDEVICE someMouse{ 1, 2, RIDEV_INPUTSINK, someWindow.Handle() };
		ASSERT_TRUE(RegisterRawInputDevices(&someMouse, 1, sizeof(someMouse)));
		POINT somePlacement{ 320, 240 };
		ASSERT_TRUE(ClientToScreen(someWindow.Handle(), &somePlacement));
		Platform::impl::ExpectPlacedCursorMotion(somePlacement.x, somePlacement.y);

		PushMotion(someWindow, 10, 20, 3, 4);      // the player's, before the jump arrives
		PushMotion(someWindow, 320, 240, 310, 220); // the jump to the placement
		PushMotion(someWindow, 321, 240, 1, 0);
		PushMotion(someWindow, 320, 240, -1, 0);    // back onto the placement: the player's
		NorvTest::PumpMessages();

		EXPECT_EQ(someWindow.Received(WM_MOUSEMOVE).size(), 4u);
		const std::vector<std::pair<LONG, LONG>> someExpected = { { 3, 4 }, { 1, 0 }, { -1, 0 } };
		EXPECT_EQ(RawMovements(someWindow), someExpected);
	}

	TEST(Win32Messages, MouseButtonsIncludingTheExtraOnes)
	{
		TestWindow someWindow;
		for (Uint8 someButton : { SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE, SDL_BUTTON_X1, SDL_BUTTON_X2 })
		{
			SDL_Event someEvent{};
			someEvent.type = SDL_MOUSEBUTTONDOWN;
			someEvent.button.windowID = someWindow.SdlId();
			someEvent.button.button = someButton;
			someEvent.button.x = 10;
			someEvent.button.y = 20;
			SDL_PushEvent(&someEvent);
			someEvent.type = SDL_MOUSEBUTTONUP;
			SDL_PushEvent(&someEvent);
		}
		NorvTest::PumpMessages();
		std::vector<UINT> someMessages;
		for (const MSG& someMessage : someWindow.myReceived)
			someMessages.push_back(someMessage.message);
		const std::vector<UINT> someExpected = { WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP,
			WM_XBUTTONDOWN, WM_XBUTTONUP, WM_XBUTTONDOWN, WM_XBUTTONUP };
		ASSERT_EQ(someMessages, someExpected);
		EXPECT_EQ(someWindow.myReceived[0].lParam, MAKELPARAM(10, 20));
		EXPECT_EQ(GET_XBUTTON_WPARAM(someWindow.myReceived[6].wParam), XBUTTON1);
		EXPECT_EQ(GET_XBUTTON_WPARAM(someWindow.myReceived[8].wParam), XBUTTON2);
	}

	TEST(Win32Messages, TheWheelGivesMultiplesOfTheWheelDelta)
	{
		TestWindow someWindow;
		SDL_Event someEvent{};
		someEvent.type = SDL_MOUSEWHEEL;
		someEvent.wheel.windowID = someWindow.SdlId();
		someEvent.wheel.preciseY = -2.0f;
		someEvent.wheel.y = -2;
		SDL_PushEvent(&someEvent);
		someEvent.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
		SDL_PushEvent(&someEvent);
		NorvTest::PumpMessages();
		ASSERT_EQ(someWindow.Received(WM_MOUSEWHEEL).size(), 2u);
		EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(someWindow.Received(WM_MOUSEWHEEL)[0].wParam), -2 * WHEEL_DELTA);
		EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(someWindow.Received(WM_MOUSEWHEEL)[1].wParam), 2 * WHEEL_DELTA);
	}

	TEST(Win32Messages, ClosingAndQuittingAskEveryWindowToClose)
	{
		TestWindow someFirst;
		TestWindow someSecond;
		PushWindowEvent(someFirst, SDL_WINDOWEVENT_CLOSE);
		NorvTest::PumpMessages();
		EXPECT_EQ(someFirst.Received(WM_DESTROY).size(), 1u);
		EXPECT_TRUE(IsWindow(someSecond.Handle()));

		SDL_Event someQuit{};
		someQuit.type = SDL_QUIT;
		SDL_PushEvent(&someQuit);
		NorvTest::PumpMessages();
		EXPECT_EQ(someSecond.Received(WM_CLOSE).size(), 1u);
		EXPECT_FALSE(IsWindow(someSecond.Handle()));
	}

	TEST(Win32Messages, FocusChangesBecomeFocusMessages)
	{
		TestWindow someWindow;
		PushWindowEvent(someWindow, SDL_WINDOWEVENT_FOCUS_LOST);
		PushWindowEvent(someWindow, SDL_WINDOWEVENT_FOCUS_GAINED);
		NorvTest::PumpMessages();
		EXPECT_EQ(someWindow.Received(WM_KILLFOCUS).size(), 1u);
		EXPECT_EQ(someWindow.Received(WM_SETFOCUS).size(), 1u);
	}

	TEST(Win32Messages, AUserResizeIsHeldToTheTrackingSizesTheWindowGives)
	{
		TestWindow someWindow(WS_POPUP | WS_VISIBLE, 300, 200);
		someWindow.myHandler = [](HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam) -> LRESULT
		{
			if (aMessage == WM_GETMINMAXINFO)
			{
				auto* someInfo = reinterpret_cast<MINMAXINFO*>(aLParam);
				someInfo->ptMinTrackSize = { 250, 150 };
				someInfo->ptMaxTrackSize = { 500, 400 };
				return 0;
			}
			return DefWindowProcW(aWindow, aMessage, aWParam, aLParam);
		};
		// The user drags the window far larger than allowed.
		SDL_SetWindowSize(Platform::GetSdlWindow(someWindow.Handle()), 900, 900);
		NorvTest::PumpMessages();
		EXPECT_EQ(someWindow.Received(WM_GETMINMAXINFO).size(), 1u);
		RECT someClient{};
		GetClientRect(someWindow.Handle(), &someClient);
		EXPECT_EQ(someClient.right, 500);
		EXPECT_EQ(someClient.bottom, 400);
		ASSERT_EQ(someWindow.Received(WM_SIZE).size(), 1u);
		EXPECT_EQ(someWindow.Received(WM_SIZE)[0].lParam, MAKELPARAM(500, 400));
	}

	TEST(Win32Messages, MinimisingAndRestoringReportTheSize)
	{
		TestWindow someWindow(WS_POPUP | WS_VISIBLE, 300, 200);
		PushWindowEvent(someWindow, SDL_WINDOWEVENT_MINIMIZED);
		PushWindowEvent(someWindow, SDL_WINDOWEVENT_RESTORED);
		NorvTest::PumpMessages();
		const std::vector<MSG> someSizes = someWindow.Received(WM_SIZE);
		ASSERT_EQ(someSizes.size(), 2u);
		EXPECT_EQ(someSizes[0].wParam, SIZE_MINIMIZED);
		EXPECT_EQ(someSizes[0].lParam, 0);
		EXPECT_EQ(someSizes[1].wParam, SIZE_RESTORED);
		EXPECT_EQ(someSizes[1].lParam, MAKELPARAM(300, 200));
	}
}
