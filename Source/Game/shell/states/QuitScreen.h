#pragma once
// The quit confirmation: "Yes" ends the game, "No" (selected first) goes back.
#include "shell/states/IMenuState.h"

class QuitScreen : public IMenuState
{
public:
	void Init(InputMapper& anInput) override;
	int Update(InputMapper& anInput, float aDeltaTime) override { return UpdateSelection(anInput, aDeltaTime); }
	void Exit() override { ClearElements(); }
};
