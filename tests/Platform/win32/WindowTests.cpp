#include "Support/Messages.h"

#include <gtest/gtest.h>

namespace
{
	using NorvTest::TestWindow;

	TEST(Win32Window, AFramedWindowHasAClientAreaInsideItsOuterRectangle)
	{
		TestWindow someWindow(WS_OVERLAPPEDWINDOW, 640, 480);
		RECT someClient{};
		RECT someOuter{};
		ASSERT_TRUE(GetClientRect(someWindow.Handle(), &someClient));
		ASSERT_TRUE(GetWindowRect(someWindow.Handle(), &someOuter));
		EXPECT_EQ(someOuter.right - someOuter.left, 640);
		EXPECT_EQ(someOuter.bottom - someOuter.top, 480);
		EXPECT_EQ(someClient.left, 0);
		EXPECT_LT(someClient.right, 640);
		EXPECT_LT(someClient.bottom, 480);
	}

	TEST(Win32Window, ClientPointsMoveToTheScreenByTheClientOrigin)
	{
		TestWindow someWindow(WS_OVERLAPPEDWINDOW, 640, 480);
		SetWindowPos(someWindow.Handle(), nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
		RECT someOuter{};
		RECT someClient{};
		GetWindowRect(someWindow.Handle(), &someOuter);
		GetClientRect(someWindow.Handle(), &someClient);
		ASSERT_EQ(someOuter.left, 100);
		// The frame is as wide left as right and bottom; the caption adds to the top.
		const LONG someSide = (someOuter.right - someOuter.left - someClient.right) / 2;
		const LONG someTop = someOuter.bottom - someOuter.top - someClient.bottom - someSide;
		POINT somePoint{ 10, 20 };
		ASSERT_TRUE(ClientToScreen(someWindow.Handle(), &somePoint));
		EXPECT_EQ(somePoint.x, 100 + someSide + 10);
		EXPECT_EQ(somePoint.y, 50 + someTop + 20);
		EXPECT_FALSE(ClientToScreen(nullptr, &somePoint));
	}

	TEST(Win32Window, APopupWindowIsAllClientArea)
	{
		TestWindow someWindow(WS_POPUP, 300, 200);
		RECT someClient{};
		GetClientRect(someWindow.Handle(), &someClient);
		EXPECT_EQ(someClient.right, 300);
		EXPECT_EQ(someClient.bottom, 200);
	}

	TEST(Win32Window, SetWindowPosSendsOneSizeMessageAtOnce)
	{
		TestWindow someWindow(WS_POPUP, 300, 200);
		SetWindowPos(someWindow.Handle(), nullptr, 0, 0, 400, 250, SWP_NOMOVE | SWP_NOZORDER);
		ASSERT_EQ(someWindow.Received(WM_SIZE).size(), 1u);
		EXPECT_EQ(someWindow.Received(WM_SIZE)[0].lParam, MAKELPARAM(400, 250));
		// The same size again, and SDL's own report of the change, add nothing.
		SetWindowPos(someWindow.Handle(), nullptr, 0, 0, 400, 250, SWP_NOMOVE | SWP_NOZORDER);
		NorvTest::PumpMessages();
		EXPECT_EQ(someWindow.Received(WM_SIZE).size(), 1u);
	}

	TEST(Win32Window, MinimisingLeavesNoClientArea)
	{
		TestWindow someWindow(WS_OVERLAPPEDWINDOW, 300, 200);
		ShowWindow(someWindow.Handle(), SW_MINIMIZE);
		RECT someClient{};
		GetClientRect(someWindow.Handle(), &someClient);
		EXPECT_EQ(someClient.right, 0);
		EXPECT_EQ(someClient.bottom, 0);
		ASSERT_EQ(someWindow.Received(WM_SIZE).size(), 1u);
		EXPECT_EQ(someWindow.Received(WM_SIZE)[0].wParam, SIZE_MINIMIZED);
		EXPECT_EQ(someWindow.Received(WM_SIZE)[0].lParam, 0);
	}

	TEST(Win32Window, AStyleChangeTakesEffectWithTheFrameChange)
	{
		TestWindow someWindow(WS_OVERLAPPEDWINDOW, 300, 200);
		SetWindowLongW(someWindow.Handle(), GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE));
		EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(someWindow.Handle(), GWL_STYLE)), WS_POPUP | WS_VISIBLE);
		SetWindowPos(someWindow.Handle(), HWND_NOTOPMOST, 0, 0, 500, 400, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
		RECT someClient{};
		GetClientRect(someWindow.Handle(), &someClient);
		EXPECT_EQ(someClient.right, 500);
		EXPECT_EQ(someClient.bottom, 400);
	}

	TEST(Win32Window, ADestroyedHandleFailsEverywhere)
	{
		HWND someHandle = nullptr;
		{
			TestWindow someWindow;
			someHandle = someWindow.Handle();
			EXPECT_TRUE(IsWindow(someHandle));
		}
		RECT someRect{};
		EXPECT_FALSE(IsWindow(someHandle));
		EXPECT_FALSE(GetClientRect(someHandle, &someRect));
		EXPECT_FALSE(PostMessageW(someHandle, WM_SETFOCUS, 0, 0));
		EXPECT_EQ(Platform::GetSdlWindow(someHandle), nullptr);
		EXPECT_EQ(SendMessageW(someHandle, WM_CLOSE, 0, 0), 0);
	}

	TEST(Win32Window, CloseDestroysTheWindowThroughWmDestroy)
	{
		TestWindow someWindow;
		PostMessageW(someWindow.Handle(), WM_CLOSE, 0, 0);
		NorvTest::PumpMessages();
		EXPECT_EQ(someWindow.Received(WM_DESTROY).size(), 1u);
		EXPECT_FALSE(IsWindow(someWindow.Handle()));
	}

	TEST(Win32Window, QuitComesAfterThePostedMessagesAndOnlyOnce)
	{
		TestWindow someWindow;
		PostQuitMessage(3);
		PostMessageW(someWindow.Handle(), WM_SETFOCUS, 0, 0);
		MSG someMessage{};
		ASSERT_TRUE(PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE));
		EXPECT_EQ(someMessage.message, WM_SETFOCUS);
		ASSERT_TRUE(PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE));
		EXPECT_EQ(someMessage.message, WM_QUIT);
		EXPECT_EQ(someMessage.wParam, 3u);
		EXPECT_FALSE(PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE));
	}

	TEST(Win32Window, TheCursorShowsWhileTheDisplayCountIsNotNegative)
	{
		const int someStart = ShowCursor(TRUE) - 1;
		EXPECT_EQ(ShowCursor(FALSE), someStart);
		EXPECT_EQ(ShowCursor(FALSE), someStart - 1);
		EXPECT_EQ(ShowCursor(TRUE), someStart);
	}

	TEST(Win32Window, ScreenSizeComesFromTheDisplay)
	{
		EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
		EXPECT_GT(GetSystemMetrics(SM_CYSCREEN), 0);
	}
}

namespace
{
	TEST(Win32Window, AHeldSdlWindowOutlivesDestroyWindowUntilReleased)
	{
		HWND someHandle = nullptr;
		Uint32 someSdlId = 0;
		{
			TestWindow someWindow;
			someHandle = someWindow.Handle();
			someSdlId = someWindow.SdlId();
			ASSERT_NE(Platform::HoldSdlWindow(someHandle), nullptr);
		}
		// Destroyed for the program, but its surface stays for the holder.
		EXPECT_FALSE(IsWindow(someHandle));
		EXPECT_EQ(Platform::GetSdlWindow(someHandle), nullptr);
		EXPECT_NE(SDL_GetWindowFromID(someSdlId), nullptr);
		EXPECT_EQ(Platform::HoldSdlWindow(someHandle), nullptr);
		Platform::ReleaseSdlWindow(someHandle);
		EXPECT_EQ(SDL_GetWindowFromID(someSdlId), nullptr);
		// A release without a hold changes nothing.
		Platform::ReleaseSdlWindow(someHandle);
	}

	TEST(Win32Window, AnUnheldWindowGoesWithDestroyWindow)
	{
		Uint32 someSdlId = 0;
		{
			TestWindow someWindow;
			someSdlId = someWindow.SdlId();
		}
		EXPECT_EQ(SDL_GetWindowFromID(someSdlId), nullptr);
	}
}
