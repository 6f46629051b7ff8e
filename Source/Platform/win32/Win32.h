#pragma once
// Stand-in for the user32 windowing interface the engine and the game call.
// Keeps: window classes and windows with their user data and styles; the SDL
// window is the client area, and framed styles get a non-client frame of
// Windows' usual metrics, so outer and client rectangles differ as on Windows.
// One posted-message queue, fed from SDL's events with wParam/lParam packed as
// Windows packs them; messages sent synchronously where Windows sends them
// (WM_SIZE from creation, ShowWindow and SetWindowPos; WM_DESTROY from
// DestroyWindow; WM_GETMINMAXINFO when the user resizes the window, whose
// tracking sizes then bound that resize). Raw mouse motion as WM_INPUT, the
// cursor display counter, cursor and icon files (".ico" through SDL2_image,
// ".ani" through our own reader, showing its first frame), system metrics.
// Does not keep: painting, menus, child windows, character messages
// (TranslateMessage does nothing), resources inside the executable (LoadIconW
// with a resource id gives null), message filtering by range, other threads.
// Built on SDL2 (video, events, mouse); with no display SDL's offscreen driver
// stands in, so windows exist without a screen.
#include "kernel/WindowsTypes.h"
#include "win32/Messages.h"
#include "win32/VirtualKeys.h"
#include "win32/WindowHandle.h"

using ATOM = WORD;
using HANDLE = void*;
using ULONG_PTR = std::uintptr_t;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
struct HBRUSH__;
using HBRUSH = HBRUSH__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HRAWINPUT__;
using HRAWINPUT = HRAWINPUT__*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct POINT
{
	LONG x;
	LONG y;
};

struct RECT
{
	LONG left;
	LONG top;
	LONG right;
	LONG bottom;
};

struct MSG
{
	HWND hwnd;
	UINT message;
	WPARAM wParam;
	LPARAM lParam;
	DWORD time;
	POINT pt;
};

struct MINMAXINFO
{
	POINT ptReserved;
	POINT ptMaxSize;
	POINT ptMaxPosition;
	POINT ptMinTrackSize;
	POINT ptMaxTrackSize;
};

struct WNDCLASSEXW
{
	UINT cbSize;
	UINT style;
	WNDPROC lpfnWndProc;
	int cbClsExtra;
	int cbWndExtra;
	HINSTANCE hInstance;
	HICON hIcon;
	HCURSOR hCursor;
	HBRUSH hbrBackground;
	LPCWSTR lpszMenuName;
	LPCWSTR lpszClassName;
	HICON hIconSm;
};

struct RAWINPUTDEVICE
{
	USHORT usUsagePage;
	USHORT usUsage;
	DWORD dwFlags;
	HWND hwndTarget;
};

struct RAWINPUTHEADER
{
	DWORD dwType;
	DWORD dwSize;
	HANDLE hDevice;
	WPARAM wParam;
};

struct RAWMOUSE
{
	USHORT usFlags;
	union
	{
		ULONG ulButtons;
		struct
		{
			USHORT usButtonFlags;
			USHORT usButtonData;
		};
	};
	ULONG ulRawButtons;
	LONG lLastX;
	LONG lLastY;
	ULONG ulExtraInformation;
};

struct RAWINPUT
{
	RAWINPUTHEADER header;
	union
	{
		RAWMOUSE mouse;
	} data;
};

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// SetWindowPos.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-2));

// Window and class long indices.
constexpr int GWL_STYLE = -16;
constexpr int GWLP_USERDATA = -21;
constexpr int GCLP_HCURSOR = -12;

// PeekMessageW.
constexpr UINT PM_REMOVE = 0x0001;

// GetSystemMetrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

// Resource ids and LoadImageW.
inline LPWSTR MAKEINTRESOURCEW(WORD anId) { return reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(anId)); }
inline const LPCWSTR IDC_ARROW = MAKEINTRESOURCEW(32512);
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTSIZE = 0x00000040;
constexpr UINT LR_LOADFROMFILE = 0x00000010;

// Raw input.
constexpr DWORD RIDEV_INPUTSINK = 0x00000100;
constexpr UINT RID_INPUT = 0x10000003;
constexpr DWORD RIM_TYPEMOUSE = 0;
constexpr USHORT MOUSE_MOVE_RELATIVE = 0;

// --- Classes and windows -----------------------------------------------------------
HMODULE GetModuleHandleW(LPCWSTR aModuleName);
// Registers (or re-registers) a class by name; 0 when the name is missing.
ATOM RegisterClassExW(const WNDCLASSEXW* aClass);
// Null when the class is unknown or SDL cannot make the window (the reason on stderr).
HWND CreateWindowExW(DWORD anExStyle, LPCWSTR aClassName, LPCWSTR aWindowName, DWORD aStyle, int aX, int aY, int aWidth, int aHeight, HWND aParent, HMENU aMenu, HINSTANCE anInstance, void* aParameter);
// Sends WM_DESTROY, then closes the SDL window; the handle stays invalid for good.
BOOL DestroyWindow(HWND aWindow);
BOOL IsWindow(HWND aWindow);
BOOL ShowWindow(HWND aWindow, int aCommand);
BOOL SetWindowPos(HWND aWindow, HWND anInsertAfter, int aX, int aY, int aWidth, int aHeight, UINT aFlags);
BOOL GetClientRect(HWND aWindow, RECT* aRect);
BOOL GetWindowRect(HWND aWindow, RECT* aRect);
// Client coordinates (origin top-left of the client area) to screen coordinates.
BOOL ClientToScreen(HWND aWindow, POINT* aPoint);
LONG_PTR SetWindowLongPtrW(HWND aWindow, int anIndex, LONG_PTR aValue);
LONG_PTR GetWindowLongPtrW(HWND aWindow, int anIndex);
LONG SetWindowLongW(HWND aWindow, int anIndex, LONG aValue);
ULONG_PTR SetClassLongPtrW(HWND aWindow, int anIndex, LONG_PTR aValue);
int GetSystemMetrics(int anIndex);

// --- Messages ----------------------------------------------------------------------
// Handles WM_CLOSE (destroys the window) and WM_SETICON; anything else gives 0.
LRESULT DefWindowProcW(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam);
LRESULT SendMessageW(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam);
BOOL PostMessageW(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam);
void PostQuitMessage(int anExitCode);
// Turns pending SDL events into messages, then takes the oldest message; WM_QUIT
// comes once the queue is empty. Window and range filters are not applied.
BOOL PeekMessageW(MSG* aMessage, HWND aWindow, UINT aFilterMin, UINT aFilterMax, UINT aRemoveFlags);
BOOL TranslateMessage(const MSG* aMessage);
LRESULT DispatchMessageW(const MSG* aMessage);

// --- Raw input ---------------------------------------------------------------------
// Only the mouse (usage page 1, usage 2) is delivered: relative motion of the
// mouse over the target window.
BOOL RegisterRawInputDevices(const RAWINPUTDEVICE* aDevices, UINT aCount, UINT aSize);
// With aData null, *aSize := the size needed. (UINT)-1 for an unknown or stale handle
// or a buffer too small.
UINT GetRawInputData(HRAWINPUT aRawInput, UINT aCommand, void* aData, UINT* aSize, UINT aHeaderSize);

// --- Cursor and icons --------------------------------------------------------------
// Decrements or increments the display counter; the cursor shows while it is >= 0.
int ShowCursor(BOOL aShow);
BOOL SetCursorPos(int aX, int aY);
HICON LoadIconW(HINSTANCE anInstance, LPCWSTR aName);
HCURSOR LoadCursorW(HINSTANCE anInstance, LPCWSTR aName);
// LR_LOADFROMFILE only. A size of 0 keeps the file's largest image. Null when the
// file is missing or not a valid icon or cursor (no message, as on Windows).
HANDLE LoadImageW(HINSTANCE anInstance, LPCWSTR aName, UINT aType, int aWidth, int aHeight, UINT aFlags);
