#pragma once
// Shared between the win32 stand-in's own files; not for engine code.
#include "win32/Win32.h"

#include <SDL.h>

#include <string>
#include <vector>

namespace Platform::impl
{
	struct WindowClass
	{
		std::wstring myName;
		WNDPROC myProcedure = nullptr;
		HCURSOR myCursor = nullptr;
	};

	// Starts SDL's video (and events) once; false with the reason on stderr.
	bool EnsureVideo();

	// Live windows only: null for null, unknown or destroyed handles.
	HWND FindLiveWindow(HWND aWindow);
	HWND FindWindowBySdlId(Uint32 aWindowId);
	std::vector<HWND> GetLiveWindows();

	// The non-client frame a style adds around the client area.
	RECT GetFrameMargins(DWORD aStyle);

	// Client size as GetClientRect gives it (0 x 0 while minimised).
	void GetClientSize(HWND aWindow, int& aWidth, int& aHeight);
	// Records the client size and sends WM_SIZE when it differs from the last one sent.
	void SendSizeIfChanged(HWND aWindow);
	// A resize made from outside (the user or the window manager): asks the window
	// for its tracking sizes, holds the window to them, then reports the size
	// with a posted WM_SIZE.
	void HandleExternalResize(HWND aWindow);

	void PostToQueue(const MSG& aMessage);
	// Raw mouse motion for WM_INPUT; returns the handle that GetRawInputData reads.
	HRAWINPUT StoreRawMouseMotion(int aDeltaX, int aDeltaY);
	// A cursor placement by the program (screen coordinates). Windows makes no raw input
	// for it, while SDL reports the jump as motion: the motion that lands there is not raw.
	void ExpectPlacedCursorMotion(int aScreenX, int aScreenY);
	// True, once, for the motion that lands where the cursor was last placed.
	bool IsPlacedCursorMotion(int aScreenX, int aScreenY);
	// The window raw mouse input goes to for motion over aWindow; null when not registered.
	HWND GetRawMouseTarget(HWND aWindow);
	void ForgetRawInputTarget(HWND aWindow);

	// Turns one SDL event into the messages Windows would deliver.
	void TranslateEvent(const SDL_Event& anEvent);
	// Virtual-key code of an SDL key; 0 for keys Windows has no code for.
	BYTE ToVirtualKey(const SDL_Keysym& aKey);

	void ApplyCursor(HCURSOR aCursor);
	SDL_Surface* GetIconSurface(HICON anIcon);
}
