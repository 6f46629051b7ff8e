#pragma once
// What an HWND is here: the SDL window behind it, plus the win32 stand-in's own
// record of the window. The win32 stand-in creates and owns these; the d3d11
// stand-in reads the SDL window to put its GL context and swap chain on it.
// A destroyed window keeps its handle (so stale handles fail safely) with a null
// SDL window. A GL context on a window holds its SDL window, which then outlives
// DestroyWindow (hidden) until released, as a swap chain keeps its surface on
// Windows: the device can still be released after the window is gone.
#include "kernel/WindowsTypes.h"

struct SDL_Window;
struct HICON__;

namespace Platform::impl
{
	struct WindowClass;
}

struct HWND__
{
	SDL_Window* mySdlWindow = nullptr;

	// Owned by the win32 stand-in.
	Platform::impl::WindowClass* myClass = nullptr;
	DWORD myStyle = 0;
	LONG_PTR myUserData = 0;
	int myReportedWidth = 0; // client size last sent with WM_SIZE
	int myReportedHeight = 0;
	HICON__* myIcon = nullptr;
	bool myIsMinimized = false;
	bool myIsBeingDestroyed = false;
	bool myIsDestroyed = false;
	int mySdlWindowHolds = 0;
	SDL_Window* myHeldSdlWindow = nullptr; // kept past DestroyWindow for its holders
};

namespace Platform
{
	// The SDL window of a handle; null for a null or destroyed handle.
	inline SDL_Window* GetSdlWindow(HWND aWindow) { return aWindow ? aWindow->mySdlWindow : nullptr; }

	// The SDL window of a live handle, kept alive until the matching release; null
	// (and nothing held) for a null or destroyed handle.
	SDL_Window* HoldSdlWindow(HWND aWindow);
	void ReleaseSdlWindow(HWND aWindow);
}
