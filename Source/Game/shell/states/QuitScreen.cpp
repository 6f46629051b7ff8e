#include "shell/states/QuitScreen.h"

void QuitScreen::Init(InputMapper&)
{
	SetupMenu(PAUSE_BACKGROUND_PATH);
	AddTextButton("Yes", 0.5f, StateTransition::Quit);
	AddTextButton("No", 0.45f, StateTransition::Back);
	mySelection.mySelected = 1;
}
