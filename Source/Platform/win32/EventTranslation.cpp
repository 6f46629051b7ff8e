// SDL events become the messages Windows would deliver for them.
#include "win32/Internal.h"

#include <cmath>

namespace
{
	using namespace Platform::impl;

	void Post(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam)
	{
		PostToQueue({ aWindow, aMessage, aWParam, aLParam, 0, { 0, 0 } });
	}

	// The MK_* flags of mouse messages: buttons held and Shift/Ctrl.
	WORD GetMouseKeyFlags()
	{
		const Uint32 someButtons = SDL_GetMouseState(nullptr, nullptr);
		const SDL_Keymod someMods = SDL_GetModState();
		WORD someFlags = 0;
		if (someButtons & SDL_BUTTON_LMASK) someFlags |= MK_LBUTTON;
		if (someButtons & SDL_BUTTON_RMASK) someFlags |= MK_RBUTTON;
		if (someButtons & SDL_BUTTON_MMASK) someFlags |= MK_MBUTTON;
		if (someButtons & SDL_BUTTON_X1MASK) someFlags |= MK_XBUTTON1;
		if (someButtons & SDL_BUTTON_X2MASK) someFlags |= MK_XBUTTON2;
		if (someMods & KMOD_SHIFT) someFlags |= MK_SHIFT;
		if (someMods & KMOD_CTRL) someFlags |= MK_CONTROL;
		return someFlags;
	}

	bool IsExtendedKey(SDL_Scancode aCode)
	{
		switch (aCode)
		{
		case SDL_SCANCODE_RCTRL: case SDL_SCANCODE_RALT: case SDL_SCANCODE_KP_ENTER: case SDL_SCANCODE_KP_DIVIDE:
		case SDL_SCANCODE_INSERT: case SDL_SCANCODE_DELETE: case SDL_SCANCODE_HOME: case SDL_SCANCODE_END:
		case SDL_SCANCODE_PAGEUP: case SDL_SCANCODE_PAGEDOWN: case SDL_SCANCODE_LEFT: case SDL_SCANCODE_RIGHT:
		case SDL_SCANCODE_UP: case SDL_SCANCODE_DOWN: case SDL_SCANCODE_NUMLOCKCLEAR: case SDL_SCANCODE_PRINTSCREEN:
		case SDL_SCANCODE_LGUI: case SDL_SCANCODE_RGUI: case SDL_SCANCODE_APPLICATION:
			return true;
		default:
			return false;
		}
	}

	void TranslateKey(const SDL_KeyboardEvent& anEvent)
	{
		HWND someWindow = FindWindowBySdlId(anEvent.windowID);
		const BYTE someKey = ToVirtualKey(anEvent.keysym);
		if (someWindow == nullptr || someKey == 0)
			return;
		const bool someIsDown = anEvent.type == SDL_KEYDOWN;
		const bool someAltHeld = (anEvent.keysym.mod & KMOD_ALT) != 0;
		// Alt combinations, Alt itself and F10 are system keys on Windows.
		const bool someIsSystemKey = someAltHeld || someKey == VK_MENU || someKey == VK_F10;
		LPARAM someLParam = 1; // repeat count
		if (IsExtendedKey(anEvent.keysym.scancode)) someLParam |= KF_EXTENDED_BIT;
		if (someAltHeld) someLParam |= KF_ALTDOWN_BIT;
		if (!someIsDown || anEvent.repeat) someLParam |= KF_REPEAT_BIT;
		if (!someIsDown) someLParam |= KF_UP_BIT;
		const UINT someMessage = someIsDown ? (someIsSystemKey ? WM_SYSKEYDOWN : WM_KEYDOWN) : (someIsSystemKey ? WM_SYSKEYUP : WM_KEYUP);
		Post(someWindow, someMessage, someKey, someLParam);
	}

	void TranslateMotion(const SDL_MouseMotionEvent& anEvent)
	{
		HWND someWindow = FindWindowBySdlId(anEvent.windowID);
		if (someWindow == nullptr)
			return;
		Post(someWindow, WM_MOUSEMOVE, GetMouseKeyFlags(), MAKELPARAM(anEvent.x, anEvent.y));
		int someWindowX = 0;
		int someWindowY = 0;
		SDL_GetWindowPosition(someWindow->mySdlWindow, &someWindowX, &someWindowY);
		if (IsPlacedCursorMotion(someWindowX + anEvent.x, someWindowY + anEvent.y))
			return;
		if (HWND someTarget = GetRawMouseTarget(someWindow); someTarget != nullptr && (anEvent.xrel != 0 || anEvent.yrel != 0))
			Post(someTarget, WM_INPUT, 0, reinterpret_cast<LPARAM>(StoreRawMouseMotion(anEvent.xrel, anEvent.yrel)));
	}

	void TranslateButton(const SDL_MouseButtonEvent& anEvent)
	{
		HWND someWindow = FindWindowBySdlId(anEvent.windowID);
		if (someWindow == nullptr)
			return;
		const bool someIsDown = anEvent.type == SDL_MOUSEBUTTONDOWN;
		UINT someMessage = 0;
		WORD someXButton = 0;
		switch (anEvent.button)
		{
		case SDL_BUTTON_LEFT: someMessage = someIsDown ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
		case SDL_BUTTON_RIGHT: someMessage = someIsDown ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
		case SDL_BUTTON_MIDDLE: someMessage = someIsDown ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
		case SDL_BUTTON_X1: someMessage = someIsDown ? WM_XBUTTONDOWN : WM_XBUTTONUP; someXButton = XBUTTON1; break;
		case SDL_BUTTON_X2: someMessage = someIsDown ? WM_XBUTTONDOWN : WM_XBUTTONUP; someXButton = XBUTTON2; break;
		default: return;
		}
		Post(someWindow, someMessage, MAKEWPARAM(GetMouseKeyFlags(), someXButton), MAKELPARAM(anEvent.x, anEvent.y));
	}

	void TranslateWheel(const SDL_MouseWheelEvent& anEvent)
	{
		HWND someWindow = FindWindowBySdlId(anEvent.windowID);
		if (someWindow == nullptr)
			return;
		const float someNotches = anEvent.direction == SDL_MOUSEWHEEL_FLIPPED ? -anEvent.preciseY : anEvent.preciseY;
		const int someDelta = static_cast<int>(std::lround(someNotches * WHEEL_DELTA));
		if (someDelta == 0)
			return;
		// The wheel message carries the cursor in screen coordinates.
		int someWindowX = 0;
		int someWindowY = 0;
		SDL_GetWindowPosition(someWindow->mySdlWindow, &someWindowX, &someWindowY);
		Post(someWindow, WM_MOUSEWHEEL, MAKEWPARAM(GetMouseKeyFlags(), someDelta), MAKELPARAM(someWindowX + anEvent.mouseX, someWindowY + anEvent.mouseY));
	}

	void TranslateWindowEvent(const SDL_WindowEvent& anEvent)
	{
		HWND someWindow = FindWindowBySdlId(anEvent.windowID);
		if (someWindow == nullptr)
			return;
		switch (anEvent.event)
		{
		case SDL_WINDOWEVENT_CLOSE:
			Post(someWindow, WM_CLOSE, 0, 0);
			break;
		case SDL_WINDOWEVENT_MINIMIZED:
			someWindow->myIsMinimized = true;
			HandleExternalResize(someWindow);
			break;
		case SDL_WINDOWEVENT_MAXIMIZED:
		case SDL_WINDOWEVENT_RESTORED:
			someWindow->myIsMinimized = false;
			HandleExternalResize(someWindow);
			break;
		case SDL_WINDOWEVENT_RESIZED:
		case SDL_WINDOWEVENT_SIZE_CHANGED:
			HandleExternalResize(someWindow);
			break;
		case SDL_WINDOWEVENT_FOCUS_GAINED:
			Post(someWindow, WM_SETFOCUS, 0, 0);
			break;
		case SDL_WINDOWEVENT_FOCUS_LOST:
			Post(someWindow, WM_KILLFOCUS, 0, 0);
			break;
		default:
			break;
		}
	}
}

namespace Platform::impl
{
	void TranslateEvent(const SDL_Event& anEvent)
	{
		switch (anEvent.type)
		{
		case SDL_QUIT:
			// The session or a signal asks the program to end: every window is asked to close.
			for (HWND someWindow : GetLiveWindows())
				Post(someWindow, WM_CLOSE, 0, 0);
			break;
		case SDL_WINDOWEVENT: TranslateWindowEvent(anEvent.window); break;
		case SDL_KEYDOWN:
		case SDL_KEYUP: TranslateKey(anEvent.key); break;
		case SDL_MOUSEMOTION: TranslateMotion(anEvent.motion); break;
		case SDL_MOUSEBUTTONDOWN:
		case SDL_MOUSEBUTTONUP: TranslateButton(anEvent.button); break;
		case SDL_MOUSEWHEEL: TranslateWheel(anEvent.wheel); break;
		default: break;
		}
	}
}
