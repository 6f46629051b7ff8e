#include "window/WindowsWindow.h"

#include "engine/Engine.h"
#include "win32/Win32.h"

namespace
{
	constexpr WORD APPLICATION_ICON_RESOURCE = 101;
	constexpr auto WINDOW_CLASS_NAME = L"WindowClass1";
	constexpr UINT BACKGROUND_BRUSH = 5; // COLOR_WINDOW
	constexpr DWORD BORDERLESS_STYLE = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
}

namespace Norv
{
	WindowsWindow::WindowsWindow() = default;

	WindowsWindow::~WindowsWindow()
	{
		// The window may outlive this object; its messages must no longer reach it.
		if (IsWindow(myWindowHandle) && GetWindowLongPtrW(myWindowHandle, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
			SetWindowLongPtrW(myWindowHandle, GWLP_USERDATA, 0);
	}

	bool WindowsWindow::Init(const EngineCreateParameters& aParameters, HINSTANCE& anInstanceOut, HWND*& aWindowHandlePointer)
	{
		myWindowProcedureCallback = aParameters.myWindowProcedureCallback;

		anInstanceOut = GetModuleHandleW(nullptr);
		WNDCLASSEXW someClass{};
		someClass.cbSize = sizeof(WNDCLASSEXW);
		someClass.style = CS_HREDRAW | CS_VREDRAW;
		someClass.lpfnWndProc = &WindowsWindow::WndProc;
		someClass.hInstance = anInstanceOut;
		someClass.hIcon = LoadIconW(anInstanceOut, MAKEINTRESOURCEW(APPLICATION_ICON_RESOURCE));
		someClass.hIconSm = someClass.hIcon;
		someClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
		someClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(BACKGROUND_BRUSH));
		someClass.lpszClassName = WINDOW_CLASS_NAME;
		RegisterClassExW(&someClass);

		const bool someIsBorderless = aParameters.myBorderless || aParameters.myStartInFullscreen;
		const DWORD someStyle = someIsBorderless ? BORDERLESS_STYLE : WS_OVERLAPPEDWINDOW;
		const Vector2<unsigned int>& someSize = aParameters.myWindowSize;

		if (aWindowHandlePointer == nullptr)
		{
			myWindowHandle = CreateWindowExW(WS_EX_APPWINDOW, WINDOW_CLASS_NAME, aParameters.myTitle.c_str(), someStyle, 0, 0,
				static_cast<int>(someSize.x), static_cast<int>(someSize.y), nullptr, nullptr, anInstanceOut, nullptr);
			if (myWindowHandle == nullptr)
				return false; // the windowing layer has said why, in one line
			ShowWindow(myWindowHandle, (aParameters.myStartInFullscreen || aParameters.myStartMaximized) ? SW_MAXIMIZE : SW_SHOWDEFAULT);
			aWindowHandlePointer = &myWindowHandle;
		}
		else
		{
			myWindowHandle = *aWindowHandlePointer;
		}

		SetWindowLongPtrW(myWindowHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
		myRequestedSize = someSize;
		myWindowSize = someSize;
		if (someIsBorderless)
			return true;

		// Grow the outer window so that the client area gets the requested size.
		RECT someClient{};
		GetClientRect(myWindowHandle, &someClient);
		const int someExtraWidth = static_cast<int>(someSize.x) - (someClient.right - someClient.left);
		const int someExtraHeight = static_cast<int>(someSize.y) - (someClient.bottom - someClient.top);
		myWindowSize = { someSize.x + someExtraWidth, someSize.y + someExtraHeight };
		SetWindowPos(myWindowHandle, nullptr, 0, 0, static_cast<int>(myWindowSize.x), static_cast<int>(myWindowSize.y),
			SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
		return true;
	}

	void WindowsWindow::Destroy()
	{
		DestroyWindow(myWindowHandle);
	}

	LRESULT WindowsWindow::WndProc(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam)
	{
		const auto* someWindow = reinterpret_cast<const WindowsWindow*>(GetWindowLongPtrW(aWindow, GWLP_USERDATA));
		if (someWindow != nullptr && someWindow->myWindowProcedureCallback)
		{
			if (someWindow->myWindowProcedureCallback(aWindow, aMessage, aWParam, aLParam) != 0)
				return DefWindowProcW(aWindow, aMessage, aWParam, aLParam);
		}

		switch (aMessage)
		{
		case WM_DESTROY:
			PostQuitMessage(0);
			return 0;
		case WM_SIZE:
			if (Engine* someEngine = Engine::GetInstance())
				someEngine->SetResizePending();
			return DefWindowProcW(aWindow, aMessage, aWParam, aLParam);
		default:
			return DefWindowProcW(aWindow, aMessage, aWParam, aLParam);
		}
	}
}
