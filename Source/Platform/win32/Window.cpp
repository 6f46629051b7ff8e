// Window classes and windows: creation, placement, styles, user data, metrics.
#include "win32/Internal.h"

#include "kernel/Kernel.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

namespace
{
	// Non-client frame of a framed window at 96 dpi, as Windows draws it.
	constexpr LONG FRAME_BORDER_PX = 8;
	constexpr LONG CAPTION_HEIGHT_PX = 23;
	// Smallest outer size Windows lets the user drag a window to.
	constexpr LONG MIN_TRACK_WIDTH_PX = 136;
	constexpr LONG MIN_TRACK_HEIGHT_PX = 39;

	std::vector<std::unique_ptr<Platform::impl::WindowClass>>& Classes()
	{
		static std::vector<std::unique_ptr<Platform::impl::WindowClass>> ourClasses;
		return ourClasses;
	}

	// Destroyed windows stay listed so that a stale handle is recognised as such.
	std::vector<std::unique_ptr<HWND__>>& Windows()
	{
		static std::vector<std::unique_ptr<HWND__>> ourWindows;
		return ourWindows;
	}

	Platform::impl::WindowClass* FindClass(LPCWSTR aName)
	{
		if (aName == nullptr)
			return nullptr;
		for (const auto& someClass : Classes())
			if (someClass->myName == aName)
				return someClass.get();
		return nullptr;
	}

	WPARAM GetSizeType(HWND aWindow)
	{
		if (aWindow->myIsMinimized)
			return SIZE_MINIMIZED;
		return (SDL_GetWindowFlags(aWindow->mySdlWindow) & SDL_WINDOW_MAXIMIZED) ? SIZE_MAXIMIZED : SIZE_RESTORED;
	}

	// Records the current client size; true when it differs from the last one reported.
	bool RecordClientSize(HWND aWindow, int& aWidth, int& aHeight)
	{
		Platform::impl::GetClientSize(aWindow, aWidth, aHeight);
		if (aWidth == aWindow->myReportedWidth && aHeight == aWindow->myReportedHeight)
			return false;
		aWindow->myReportedWidth = aWidth;
		aWindow->myReportedHeight = aHeight;
		return true;
	}

	void SetOuterSize(HWND aWindow, int aWidth, int aHeight)
	{
		const RECT someFrame = Platform::impl::GetFrameMargins(aWindow->myStyle);
		SDL_SetWindowSize(aWindow->mySdlWindow,
			std::max(1, aWidth - static_cast<int>(someFrame.left + someFrame.right)),
			std::max(1, aHeight - static_cast<int>(someFrame.top + someFrame.bottom)));
	}

	MINMAXINFO GetDefaultMinMaxInfo()
	{
		const LONG someScreenWidth = GetSystemMetrics(SM_CXSCREEN);
		const LONG someScreenHeight = GetSystemMetrics(SM_CYSCREEN);
		MINMAXINFO someInfo{};
		someInfo.ptMaxSize = { someScreenWidth, someScreenHeight };
		someInfo.ptMinTrackSize = { MIN_TRACK_WIDTH_PX, MIN_TRACK_HEIGHT_PX };
		someInfo.ptMaxTrackSize = { someScreenWidth + 2 * FRAME_BORDER_PX, someScreenHeight + 2 * FRAME_BORDER_PX };
		return someInfo;
	}
}

namespace Platform::impl
{
	bool EnsureVideo()
	{
		if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
		{
			// Said once: every later window, cursor or icon call fails the same way.
			static bool ourIsFailureReported = false;
			if (!std::exchange(ourIsFailureReported, true))
				std::fprintf(stderr, "Windowing could not start: %s\n", SDL_GetError());
			return false;
		}
		// Every window is an OpenGL window. The GL driver stays loaded for the whole
		// process rather than being unloaded with the last window and reloaded with the
		// next (which also strands the driver's own allocations).
		static bool ourIsGlLoaded = false;
		if (!ourIsGlLoaded)
		{
			ourIsGlLoaded = true;
			if (SDL_GL_LoadLibrary(nullptr) != 0)
				std::fprintf(stderr, "OpenGL could not be loaded: %s\n", SDL_GetError());
		}
		return true;
	}

	HWND FindLiveWindow(HWND aWindow)
	{
		if (aWindow == nullptr)
			return nullptr;
		for (const auto& someWindow : Windows())
			if (someWindow.get() == aWindow)
				return someWindow->myIsDestroyed ? nullptr : aWindow;
		return nullptr;
	}

	HWND FindWindowBySdlId(Uint32 aWindowId)
	{
		for (const auto& someWindow : Windows())
			if (!someWindow->myIsDestroyed && SDL_GetWindowID(someWindow->mySdlWindow) == aWindowId)
				return someWindow.get();
		return nullptr;
	}

	std::vector<HWND> GetLiveWindows()
	{
		std::vector<HWND> someLive;
		for (const auto& someWindow : Windows())
			if (!someWindow->myIsDestroyed)
				someLive.push_back(someWindow.get());
		return someLive;
	}

	RECT GetFrameMargins(DWORD aStyle)
	{
		if (aStyle & WS_POPUP)
			return { 0, 0, 0, 0 };
		const LONG someCaption = (aStyle & WS_CAPTION) == WS_CAPTION ? CAPTION_HEIGHT_PX : 0;
		return { FRAME_BORDER_PX, FRAME_BORDER_PX + someCaption, FRAME_BORDER_PX, FRAME_BORDER_PX };
	}

	void GetClientSize(HWND aWindow, int& aWidth, int& aHeight)
	{
		aWidth = 0;
		aHeight = 0;
		if (!aWindow->myIsMinimized)
			SDL_GetWindowSize(aWindow->mySdlWindow, &aWidth, &aHeight);
	}

	void SendSizeIfChanged(HWND aWindow)
	{
		int someWidth = 0;
		int someHeight = 0;
		if (RecordClientSize(aWindow, someWidth, someHeight))
			SendMessageW(aWindow, WM_SIZE, GetSizeType(aWindow), MAKELPARAM(someWidth, someHeight));
	}

	void HandleExternalResize(HWND aWindow)
	{
		int someWidth = 0;
		int someHeight = 0;
		GetClientSize(aWindow, someWidth, someHeight);
		const bool someIsNewSize = someWidth != aWindow->myReportedWidth || someHeight != aWindow->myReportedHeight;
		if (someIsNewSize && !aWindow->myIsMinimized)
		{
			MINMAXINFO someInfo = GetDefaultMinMaxInfo();
			SendMessageW(aWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&someInfo));
			if (FindLiveWindow(aWindow) == nullptr)
				return;
			const RECT someFrame = GetFrameMargins(aWindow->myStyle);
			const int someOuterWidth = someWidth + someFrame.left + someFrame.right;
			const int someOuterHeight = someHeight + someFrame.top + someFrame.bottom;
			const int someHeldWidth = std::clamp<int>(someOuterWidth, someInfo.ptMinTrackSize.x, std::max(someInfo.ptMinTrackSize.x, someInfo.ptMaxTrackSize.x));
			const int someHeldHeight = std::clamp<int>(someOuterHeight, someInfo.ptMinTrackSize.y, std::max(someInfo.ptMinTrackSize.y, someInfo.ptMaxTrackSize.y));
			if (someHeldWidth != someOuterWidth || someHeldHeight != someOuterHeight)
				SetOuterSize(aWindow, someHeldWidth, someHeldHeight);
		}
		if (RecordClientSize(aWindow, someWidth, someHeight))
			PostToQueue({ aWindow, WM_SIZE, GetSizeType(aWindow), MAKELPARAM(someWidth, someHeight), 0, { 0, 0 } });
	}
}

using namespace Platform::impl;

HMODULE GetModuleHandleW(LPCWSTR aModuleName)
{
	// Only the executable itself has a handle; its value is an opaque token.
	static char ourModuleToken = 0;
	return aModuleName == nullptr ? reinterpret_cast<HMODULE>(&ourModuleToken) : nullptr;
}

ATOM RegisterClassExW(const WNDCLASSEXW* aClass)
{
	if (aClass == nullptr || aClass->lpszClassName == nullptr || aClass->lpfnWndProc == nullptr)
		return 0;
	WindowClass* someClass = FindClass(aClass->lpszClassName);
	if (someClass == nullptr)
		someClass = Classes().emplace_back(std::make_unique<WindowClass>()).get();
	someClass->myName = aClass->lpszClassName;
	someClass->myProcedure = aClass->lpfnWndProc;
	someClass->myCursor = aClass->hCursor;
	for (size_t someIndex = 0; someIndex < Classes().size(); ++someIndex)
		if (Classes()[someIndex].get() == someClass)
			return static_cast<ATOM>(0xC000 + someIndex);
	return 0;
}

HWND CreateWindowExW(DWORD, LPCWSTR aClassName, LPCWSTR aWindowName, DWORD aStyle, int aX, int aY, int aWidth, int aHeight, HWND, HMENU, HINSTANCE, void*)
{
	WindowClass* someClass = FindClass(aClassName);
	if (someClass == nullptr)
	{
		std::fprintf(stderr, "CreateWindowExW: the window class is not registered\n");
		return nullptr;
	}
	if (!EnsureVideo())
		return nullptr;

	const RECT someFrame = GetFrameMargins(aStyle);
	Uint32 someFlags = SDL_WINDOW_OPENGL | ((aStyle & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
	if (aStyle & WS_POPUP)
		someFlags |= SDL_WINDOW_BORDERLESS;
	if (aStyle & WS_THICKFRAME)
		someFlags |= SDL_WINDOW_RESIZABLE;
	const std::string someTitle = aWindowName ? Platform::WideToUtf8(aWindowName) : std::string();
	SDL_Window* someSdlWindow = SDL_CreateWindow(someTitle.c_str(), aX + someFrame.left, aY + someFrame.top,
		std::max(1, aWidth - static_cast<int>(someFrame.left + someFrame.right)),
		std::max(1, aHeight - static_cast<int>(someFrame.top + someFrame.bottom)), someFlags);
	if (someSdlWindow == nullptr)
	{
		std::fprintf(stderr, "The window could not be created: %s\n", SDL_GetError());
		return nullptr;
	}

	HWND someWindow = Windows().emplace_back(std::make_unique<HWND__>()).get();
	someWindow->mySdlWindow = someSdlWindow;
	someWindow->myClass = someClass;
	someWindow->myStyle = aStyle;
	ApplyCursor(someClass->myCursor);
	SendSizeIfChanged(someWindow);
	return someWindow;
}

BOOL DestroyWindow(HWND aWindow)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr || someWindow->myIsBeingDestroyed)
		return FALSE;
	// The window is still valid while it handles WM_DESTROY, as on Windows.
	someWindow->myIsBeingDestroyed = true;
	someWindow->myClass->myProcedure(someWindow, WM_DESTROY, 0, 0);
	someWindow->myIsDestroyed = true;
	ForgetRawInputTarget(someWindow);
	if (someWindow->mySdlWindowHolds > 0)
	{
		SDL_HideWindow(someWindow->mySdlWindow);
		someWindow->myHeldSdlWindow = someWindow->mySdlWindow;
	}
	else
		SDL_DestroyWindow(someWindow->mySdlWindow);
	someWindow->mySdlWindow = nullptr;
	return TRUE;
}

namespace Platform
{
	SDL_Window* HoldSdlWindow(HWND aWindow)
	{
		if (aWindow == nullptr || aWindow->mySdlWindow == nullptr)
			return nullptr;
		++aWindow->mySdlWindowHolds;
		return aWindow->mySdlWindow;
	}

	void ReleaseSdlWindow(HWND aWindow)
	{
		if (aWindow == nullptr || aWindow->mySdlWindowHolds == 0)
			return;
		if (--aWindow->mySdlWindowHolds == 0 && aWindow->myHeldSdlWindow != nullptr)
		{
			SDL_DestroyWindow(aWindow->myHeldSdlWindow);
			aWindow->myHeldSdlWindow = nullptr;
		}
	}
}

BOOL IsWindow(HWND aWindow)
{
	return FindLiveWindow(aWindow) != nullptr ? TRUE : FALSE;
}

BOOL ShowWindow(HWND aWindow, int aCommand)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr)
		return FALSE;
	SDL_Window* someSdlWindow = someWindow->mySdlWindow;
	const BOOL someWasVisible = (SDL_GetWindowFlags(someSdlWindow) & SDL_WINDOW_SHOWN) ? TRUE : FALSE;
	switch (aCommand)
	{
	case SW_HIDE:
		SDL_HideWindow(someSdlWindow);
		someWindow->myStyle &= ~WS_VISIBLE;
		break;
	case SW_MINIMIZE:
		SDL_MinimizeWindow(someSdlWindow);
		someWindow->myIsMinimized = true;
		break;
	case SW_MAXIMIZE:
		SDL_ShowWindow(someSdlWindow);
		SDL_MaximizeWindow(someSdlWindow);
		someWindow->myIsMinimized = false;
		someWindow->myStyle |= WS_VISIBLE;
		break;
	default:
		SDL_ShowWindow(someSdlWindow);
		if (aCommand == SW_RESTORE)
			SDL_RestoreWindow(someSdlWindow);
		someWindow->myIsMinimized = false;
		someWindow->myStyle |= WS_VISIBLE;
		break;
	}
	SendSizeIfChanged(someWindow);
	return someWasVisible;
}

BOOL SetWindowPos(HWND aWindow, HWND, int aX, int aY, int aWidth, int aHeight, UINT aFlags)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr)
		return FALSE;
	SDL_Window* someSdlWindow = someWindow->mySdlWindow;
	if (aFlags & SWP_FRAMECHANGED)
	{
		SDL_SetWindowBordered(someSdlWindow, (someWindow->myStyle & WS_POPUP) ? SDL_FALSE : SDL_TRUE);
		SDL_SetWindowResizable(someSdlWindow, (someWindow->myStyle & WS_THICKFRAME) ? SDL_TRUE : SDL_FALSE);
	}
	const RECT someFrame = GetFrameMargins(someWindow->myStyle);
	if (!(aFlags & SWP_NOMOVE))
		SDL_SetWindowPosition(someSdlWindow, aX + someFrame.left, aY + someFrame.top);
	if (!(aFlags & SWP_NOSIZE))
		SetOuterSize(someWindow, aWidth, aHeight);
	if (aFlags & SWP_SHOWWINDOW)
	{
		SDL_ShowWindow(someSdlWindow);
		someWindow->myStyle |= WS_VISIBLE;
	}
	SendSizeIfChanged(someWindow);
	return TRUE;
}

BOOL GetClientRect(HWND aWindow, RECT* aRect)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr || aRect == nullptr)
		return FALSE;
	int someWidth = 0;
	int someHeight = 0;
	GetClientSize(someWindow, someWidth, someHeight);
	*aRect = { 0, 0, someWidth, someHeight };
	return TRUE;
}

BOOL GetWindowRect(HWND aWindow, RECT* aRect)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr || aRect == nullptr)
		return FALSE;
	int someX = 0;
	int someY = 0;
	int someWidth = 0;
	int someHeight = 0;
	SDL_GetWindowPosition(someWindow->mySdlWindow, &someX, &someY);
	SDL_GetWindowSize(someWindow->mySdlWindow, &someWidth, &someHeight);
	const RECT someFrame = GetFrameMargins(someWindow->myStyle);
	*aRect = { someX - someFrame.left, someY - someFrame.top, someX + someWidth + someFrame.right, someY + someHeight + someFrame.bottom };
	return TRUE;
}

BOOL ClientToScreen(HWND aWindow, POINT* aPoint)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr || aPoint == nullptr)
		return FALSE;
	// The SDL window is the client area: its position is the client's origin.
	int someX = 0;
	int someY = 0;
	SDL_GetWindowPosition(someWindow->mySdlWindow, &someX, &someY);
	aPoint->x += someX;
	aPoint->y += someY;
	return TRUE;
}

LONG_PTR SetWindowLongPtrW(HWND aWindow, int anIndex, LONG_PTR aValue)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr)
		return 0;
	LONG_PTR somePrevious = 0;
	if (anIndex == GWLP_USERDATA)
	{
		somePrevious = someWindow->myUserData;
		someWindow->myUserData = aValue;
	}
	else if (anIndex == GWL_STYLE)
	{
		// The new frame takes effect with SetWindowPos(SWP_FRAMECHANGED), as on Windows.
		somePrevious = static_cast<LONG_PTR>(someWindow->myStyle);
		someWindow->myStyle = static_cast<DWORD>(aValue);
	}
	return somePrevious;
}

LONG_PTR GetWindowLongPtrW(HWND aWindow, int anIndex)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr)
		return 0;
	if (anIndex == GWLP_USERDATA)
		return someWindow->myUserData;
	if (anIndex == GWL_STYLE)
		return static_cast<LONG_PTR>(someWindow->myStyle);
	return 0;
}

LONG SetWindowLongW(HWND aWindow, int anIndex, LONG aValue)
{
	return static_cast<LONG>(SetWindowLongPtrW(aWindow, anIndex, static_cast<LONG_PTR>(static_cast<DWORD>(aValue))));
}

ULONG_PTR SetClassLongPtrW(HWND aWindow, int anIndex, LONG_PTR aValue)
{
	HWND someWindow = FindLiveWindow(aWindow);
	if (someWindow == nullptr || anIndex != GCLP_HCURSOR)
		return 0;
	const HCURSOR somePrevious = someWindow->myClass->myCursor;
	someWindow->myClass->myCursor = reinterpret_cast<HCURSOR>(aValue);
	ApplyCursor(someWindow->myClass->myCursor);
	return reinterpret_cast<ULONG_PTR>(somePrevious);
}

int GetSystemMetrics(int anIndex)
{
	if (!EnsureVideo())
		return 0;
	SDL_DisplayMode someMode{};
	if (SDL_GetDesktopDisplayMode(0, &someMode) != 0)
		return 0;
	switch (anIndex)
	{
	case SM_CXSCREEN: return someMode.w;
	case SM_CYSCREEN: return someMode.h;
	default: return 0;
	}
}
