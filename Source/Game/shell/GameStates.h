#pragma once
// Every game state by value, for the state owner to push. Made once the engine
// runs (the options menu loads its font at construction).
#include "shell/StateStack.h"
#include "shell/states/Credits.h"
#include "shell/states/IntroState.h"
#include "shell/states/MainMenu.h"
#include "shell/states/OptionMenu.h"
#include "shell/states/PauseBookCase.h"
#include "shell/states/PauseMenu.h"
#include "shell/states/QuitScreen.h"
#include "world/GameState.h"
#include "world/entities/BookShowcase.h"

struct GameStates
{
	// The ability page hides the showcase of the level being played.
	GameStates()
	{
		myPauseBookCase.SetShowcaseHider([this] {
			if (BookShowcase* someShowcase = myGameState.FindEntityOfType<BookShowcase>())
				someShowcase->Hide();
		});
	}
	GameStates(const GameStates&) = delete;
	GameStates& operator=(const GameStates&) = delete;

	StateSet GetStateSet() { return { &myMainMenu, &myPauseMenu, &myPauseBookCase, &myGameState, &myOptionMenu, &myCredits, &myQuitScreen, &myIntroState }; }

	MainMenu myMainMenu;
	PauseMenu myPauseMenu;
	PauseBookCase myPauseBookCase;
	GameState myGameState;
	OptionMenu myOptionMenu;
	Credits myCredits;
	QuitScreen myQuitScreen;
	IntroState myIntroState;
};
