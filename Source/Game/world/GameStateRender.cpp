// GameState::Render: one frame of the level, pass by pass. Depth testing is
// switched per pass by binding the back buffer with or without the depth buffer.
#include "world/GameState.h"

#include "shell/StateStack.h"

#include "graphics/Camera.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/RenderTarget.h"

namespace
{
	void SetDepthTest(bool anIsOn)
	{
		if (Norv::DX11::ourBackBuffer)
			Norv::DX11::ourBackBuffer->SetAsActiveTarget(anIsOn ? Norv::DX11::ourDepthBuffer : nullptr);
	}
}

void GameState::Render(InputMapper&)
{
	Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
	if (!myIsLevelLoaded || !someStates || !myWorldCamera)
		return;

	SetDepthTest(true);
	someStates->Push();
	someStates->SetCamera(*myWorldCamera);

	for (const std::unique_ptr<Entity>& someEntity : myEntities)
		if (IsInView(someEntity->myPosition, someEntity->myColliderSize))
			someEntity->Render();

	SetDepthTest(false);
	for (const std::unique_ptr<Entity>& someEntity : myEntities)
		if (IsInView(someEntity->myPosition, someEntity->myColliderSize))
			someEntity->LateRender();
	SetDepthTest(true);

	// The interface camera is the state owner's, made afresh each frame.
	if (const StateStack* someOwner = StateStack::GetInstance())
		someStates->SetCamera(someOwner->GetInterfaceCamera());
	for (const std::unique_ptr<Entity>& someEntity : myEntities)
		someEntity->RenderUI();

	someStates->Pop();
}
