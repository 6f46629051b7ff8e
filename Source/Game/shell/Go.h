#pragma once
// The life of the game: settings, engine start, window icon and cursor, input
// actions, the state owner, the frame loop and the shut-down in a fixed order.
#include "kernel/WindowsTypes.h"

#include <memory>

class InputMapper;
class StateStack;
struct GameStates;

namespace Norv
{
	class Engine;
}

namespace Game
{
	constexpr auto WINDOW_ICON_PATH = L"../Source/Game/data/UI/game.ico";
	constexpr auto WINDOW_CURSOR_PATH = L"../Source/Game/data/UI/cursor.ani";
	constexpr int CURSOR_SIZE_PX = 64;

	// One run of the game taken a frame at a time, so that a driver (the program
	// entry, or a scripted run) decides when the next frame comes.
	class Session
	{
	public:
		Session();
		// The shut-down: the states, the loading screen, then the engine.
		~Session();
		Session(const Session&) = delete;
		Session& operator=(const Session&) = delete;

		// The start-up up to the pushed intro. 0 when running; non-zero when the
		// settings are malformed or the engine cannot start.
		int Start();
		// One turn of the frame loop; false once the loop has ended (a quit
		// message was pumped, or the state owner's quit flag was set this frame).
		// A frame not drawn skips the states' rendering, and with it only what is
		// seen (the loading screen's fades); the game itself advances in the update.
		bool RunFrame(bool anIsDrawn = true);

		// Only after a successful Start.
		StateStack& GetStates() const { return *myStates; }
		InputMapper& GetInput() const;

	private:
		Norv::Engine* myEngine = nullptr;
		std::unique_ptr<GameStates> myGameStates;
		std::unique_ptr<StateStack> myStates;
	};

	// 0 after a normal end; non-zero when the settings are malformed or the
	// engine cannot start.
	int Go();

	// Every message of the game window, before the engine's own handling: input
	// first, then closing and the window's size limits. Always 0.
	LRESULT WindowCallback(HWND aWindow, UINT aMessage, WPARAM aWParam, LPARAM aLParam);
}
