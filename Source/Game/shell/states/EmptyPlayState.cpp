#include "shell/states/EmptyPlayState.h"

#include "shell/InputMapper.h"

int EmptyPlayState::Update(InputMapper& anInput, float)
{
	return anInput.IsPressed(InputAction::Pause) ? StateTransition::Pause : StateTransition::Stay;
}
