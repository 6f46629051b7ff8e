#include "shell/states/PauseMenu.h"

#include "media/AudioManager.h"
#include "shell/InputMapper.h"

void PauseMenu::Init(InputMapper& anInput)
{
	AudioManager::PauseAll();
	SetupMenu(PAUSE_BACKGROUND_PATH);
	anInput.GetKeyboardAndMouse().ShowCursor();
	AddTextButton("Resume", 0.55f, StateTransition::Back);
	AddTextButton("Options Menu", 0.475f, StateTransition::Options);
	AddTextButton("Main Menu", 0.4f, StateTransition::MainMenu);
}

void PauseMenu::Exit()
{
	AudioManager::ResumeAll();
	ClearElements();
}
