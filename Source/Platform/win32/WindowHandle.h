#pragma once
// What an HWND is here: the SDL window behind it. The win32 stand-in creates
// and owns these; the d3d11 stand-in reads the SDL window to put its GL context
// and swap chain on it.
#include "kernel/WindowsTypes.h"

struct SDL_Window;

struct HWND__
{
	SDL_Window* mySdlWindow = nullptr;
};

namespace Platform
{
	// The SDL window of a handle; null for a null handle.
	inline SDL_Window* GetSdlWindow(HWND aWindow) { return aWindow ? aWindow->mySdlWindow : nullptr; }
}
