#pragma once
// Window messages and their parameter values, with the numbers Windows gives them.
#include "kernel/WindowsTypes.h"

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_INPUT = 0x00FF;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_XBUTTONDOWN = 0x020B;
constexpr UINT WM_XBUTTONUP = 0x020C;

// WM_SIZE wParam.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_SETICON wParam.
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

// Mouse message wParam: buttons and modifier keys held.
constexpr WORD MK_LBUTTON = 0x0001;
constexpr WORD MK_RBUTTON = 0x0002;
constexpr WORD MK_SHIFT = 0x0004;
constexpr WORD MK_CONTROL = 0x0008;
constexpr WORD MK_MBUTTON = 0x0010;
constexpr WORD MK_XBUTTON1 = 0x0020;
constexpr WORD MK_XBUTTON2 = 0x0040;

// WM_XBUTTON* high word of wParam.
constexpr WORD XBUTTON1 = 0x0001;
constexpr WORD XBUTTON2 = 0x0002;

constexpr int WHEEL_DELTA = 120;

// Key message lParam bits.
constexpr LPARAM KF_EXTENDED_BIT = 1 << 24;
constexpr LPARAM KF_ALTDOWN_BIT = 1 << 29;
constexpr LPARAM KF_REPEAT_BIT = 1 << 30;
constexpr LPARAM KF_UP_BIT = LPARAM{ 1 } << 31;

constexpr WORD LOWORD(std::uintptr_t aValue) { return static_cast<WORD>(aValue & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t aValue) { return static_cast<WORD>((aValue >> 16) & 0xFFFF); }
constexpr short GET_X_LPARAM(LPARAM aValue) { return static_cast<short>(LOWORD(static_cast<std::uintptr_t>(aValue))); }
constexpr short GET_Y_LPARAM(LPARAM aValue) { return static_cast<short>(HIWORD(static_cast<std::uintptr_t>(aValue))); }
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM aValue) { return static_cast<short>(HIWORD(aValue)); }
constexpr WORD GET_XBUTTON_WPARAM(WPARAM aValue) { return HIWORD(aValue); }
// Two 16-bit values in one parameter, low word first (negative values keep their bits).
constexpr LPARAM MAKELPARAM(int aLow, int aHigh) { return static_cast<LPARAM>(static_cast<DWORD>((aLow & 0xFFFF) | ((aHigh & 0xFFFF) << 16))); }
constexpr WPARAM MAKEWPARAM(int aLow, int aHigh) { return static_cast<WPARAM>(static_cast<DWORD>((aLow & 0xFFFF) | ((aHigh & 0xFFFF) << 16))); }
