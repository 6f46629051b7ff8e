#pragma once
// The life of the game: settings, engine start, window icon and cursor, input
// actions, the state owner, the frame loop and the shut-down in a fixed order.
#include "kernel/WindowsTypes.h"

namespace Game
{
	constexpr auto WINDOW_ICON_PATH = L"../Source/Game/data/UI/game.ico";
	constexpr auto WINDOW_CURSOR_PATH = L"../Source/Game/data/UI/cursor.ani";
	constexpr int CURSOR_SIZE_PX = 64;

	// 0 after a normal end; non-zero when the settings are malformed or the
	// engine cannot start.
	int Go();

	// Every message of the game window, before the engine's own handling: input
	// first, then closing and the window's size limits. Always 0.
	LRESULT WindowCallback(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam);
}
