#include "Support/RunningEngine.h"

#include "window/WindowsWindow.h"

#include <gtest/gtest.h>

namespace
{
	using NorvTest::RunningEngine;

	RECT ClientOf(HWND aWindow)
	{
		RECT someRect{};
		GetClientRect(aWindow, &someRect);
		return someRect;
	}

	RECT OuterOf(HWND aWindow)
	{
		RECT someRect{};
		GetWindowRect(aWindow, &someRect);
		return someRect;
	}

	TEST(WindowsWindow, AWindowedStartFitsTheClientAreaToTheRequestedSize)
	{
		RunningEngine someEngine;
		const RECT someClient = ClientOf(someEngine.Window());
		EXPECT_EQ(someClient.right, 1280);
		EXPECT_EQ(someClient.bottom, 720);
		const RECT someOuter = OuterOf(someEngine.Window());
		const Norv::Vector2<unsigned int> someWindowSize = someEngine.Get().GetWindow()->GetWindowSize();
		EXPECT_GT(someWindowSize.x, 1280u);
		EXPECT_GT(someWindowSize.y, 720u);
		EXPECT_EQ(someWindowSize.x, static_cast<unsigned int>(someOuter.right - someOuter.left));
		EXPECT_EQ(someWindowSize.y, static_cast<unsigned int>(someOuter.bottom - someOuter.top));
	}

	TEST(WindowsWindow, ABorderlessWindowIsNotRefitted)
	{
		Norv::EngineCreateParameters someParameters;
		someParameters.myBorderless = true;
		someParameters.myWindowSize = { 800, 600 };
		RunningEngine someEngine(someParameters);
		EXPECT_EQ(someEngine.Get().GetWindow()->GetWindowSize(), Norv::Vector2<unsigned int>(800, 600));
		const RECT someOuter = OuterOf(someEngine.Window());
		EXPECT_EQ(someOuter.right - someOuter.left, 800);
		EXPECT_EQ(ClientOf(someEngine.Window()).right, 800);
	}

	TEST(WindowsWindow, TheCallbackSeesMessagesOnlyOnceTheWindowIsItsOwn)
	{
		std::vector<LPARAM> someSizes;
		Norv::EngineCreateParameters someParameters;
		someParameters.myWindowProcedureCallback = [&](HWND, UINT aMessage, WPARAM, LPARAM aLParam) -> LRESULT
		{
			if (aMessage == WM_SIZE)
				someSizes.push_back(aLParam);
			return 0;
		};
		RunningEngine someEngine(someParameters);
		// The size at creation (before the fit) went to DefWindowProcW; the fitted one came through.
		ASSERT_EQ(someSizes.size(), 1u);
		EXPECT_EQ(someSizes[0], MAKELPARAM(1280, 720));
	}

	TEST(WindowsWindow, ACallbackThatTakesWmSizeLeavesTheResizeFlagAlone)
	{
		bool someTakesSizes = false;
		Norv::EngineCreateParameters someParameters;
		someParameters.myWindowProcedureCallback = [&](HWND, UINT aMessage, WPARAM, LPARAM) -> LRESULT
		{
			return (someTakesSizes && aMessage == WM_SIZE) ? 1 : 0;
		};
		RunningEngine someEngine(someParameters);
		someEngine.Get().EndFrame();
		ASSERT_FALSE(someEngine.Get().IsResizePending());

		someTakesSizes = true;
		SendMessageW(someEngine.Window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
		EXPECT_FALSE(someEngine.Get().IsResizePending());
		someTakesSizes = false;
		SendMessageW(someEngine.Window(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
		EXPECT_TRUE(someEngine.Get().IsResizePending());
	}

	TEST(WindowsWindow, AGivenHandleIsAdoptedAndNoWindowIsMade)
	{
		WNDCLASSEXW someClass{};
		someClass.cbSize = sizeof(someClass);
		someClass.lpfnWndProc = &Norv::WindowsWindow::WndProc;
		someClass.lpszClassName = L"NorvAdoptedWindow";
		RegisterClassExW(&someClass);
		HWND someHandle = CreateWindowExW(0, L"NorvAdoptedWindow", L"adopted", WS_POPUP, 0, 0, 1280, 720, nullptr, nullptr, nullptr, nullptr);
		ASSERT_NE(someHandle, nullptr);

		Norv::EngineCreateParameters someParameters;
		someParameters.myWindowHandle = &someHandle;
		RunningEngine someEngine(someParameters);
		ASSERT_TRUE(someEngine.IsStarted());
		EXPECT_EQ(someEngine.Get().GetWindow()->GetHWND(), someHandle);
		EXPECT_EQ(someEngine.Get().GetHWND(), &someHandle);
		EXPECT_EQ(GetWindowLongPtrW(someHandle, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(someEngine.Get().GetWindow()));
	}

	TEST(WindowsWindow, MessagesAfterTheEngineIsGoneNoLongerReachIt)
	{
		HWND someWindow = nullptr;
		{
			NorvTest::ExecutableFolder someFolder;
			NorvTest::LoadEngineSettings(someFolder);
			ASSERT_TRUE(Norv::Engine::Start());
			someWindow = *Norv::Engine::GetInstance()->GetHWND();
			Norv::Engine::DestroyInstance();
		}
		ASSERT_TRUE(IsWindow(someWindow));
		EXPECT_EQ(GetWindowLongPtrW(someWindow, GWLP_USERDATA), 0);
		SendMessageW(someWindow, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
		DestroyWindow(someWindow);
		NorvTest::DrainMessages();
	}

	TEST(WindowsWindow, DestroyingTheWindowPostsQuit)
	{
		RunningEngine someEngine;
		NorvTest::DrainMessages();
		someEngine.Get().GetWindow()->Destroy();
		MSG someMessage{};
		ASSERT_TRUE(PeekMessageW(&someMessage, nullptr, 0, 0, PM_REMOVE));
		EXPECT_EQ(someMessage.message, WM_QUIT);
	}
}
