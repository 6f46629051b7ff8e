#include "shell/states/PauseBookCase.h"

#include "media/AudioManager.h"
#include "shell/InputMapper.h"

void PauseBookCase::Init(InputMapper& anInput)
{
	AudioManager::PauseAll();
	mySelection.TakeSounds();
	anInput.GetKeyboardAndMouse().ShowCursor();
}

int PauseBookCase::Update(InputMapper& anInput, float)
{
	if (!anInput.IsPressed(InputAction::Confirm) && !anInput.IsPressed(InputAction::Back))
		return StateTransition::Stay;
	// A level without a showcase (or no play state at all) has nothing to hide.
	if (myHideShowcase)
		myHideShowcase();
	return StateTransition::Back;
}

void PauseBookCase::Exit()
{
	AudioManager::ResumeAll();
	ClearElements();
}
