#pragma once
// Stands in the state owner's play-state slot until the play state lands: it
// loads nothing and draws nothing; Pause opens the pause menu, so the shell's
// flows (new game, level select, pause, back to the main menu) can be walked.
#include "shell/IStates.h"

class EmptyPlayState : public IStates
{
public:
	void Init(InputMapper&) override {}
	int Update(InputMapper& anInput, float aDeltaTime) override;
	void Exit() override {}
	void Render(InputMapper&) override {}
	void OnResize() override {}
};
