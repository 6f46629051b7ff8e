#pragma once
// The pause menu over the frozen world: resume, the options, the main menu. The
// sound effects pause while it is open; music and ambience go on.
#include "shell/states/IMenuState.h"

class PauseMenu : public IMenuState
{
public:
	void Init(InputMapper& anInput) override;
	int Update(InputMapper& anInput, float aDeltaTime) override { return UpdateSelection(anInput, aDeltaTime); }
	void Exit() override;
};
