// GameState::Render: one frame of the level, pass by pass. Depth testing is
// switched per pass by binding the back buffer with or without the depth buffer.
#include "world/GameState.h"

#include "shell/StateStack.h"
#include "world/entities/BookShowcase.h"

#include "engine/Engine.h"
#include "graphics/Camera.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/RenderTarget.h"
#include "model/ModelDrawer.h"
#include "model/ModelShader.h"
#include "settings/DebugFeature.h"

#include <algorithm>

namespace
{
	constexpr float PROP_REACH_PER_SCALE = 100.0f; // view-test size of a prop per unit of its largest scale
	constexpr float PROP_REACH_BASE = 100.0f;

	void SetDepthTest(bool anIsOn)
	{
		if (Norv::DX11::ourBackBuffer)
			Norv::DX11::ourBackBuffer->SetAsActiveTarget(anIsOn ? Norv::DX11::ourDepthBuffer : nullptr);
	}

	Norv::ModelDrawer* GetModelDrawer()
	{
		const Norv::GraphicsEngine* someGraphics = Norv::GraphicsEngine::GetCurrent();
		return someGraphics ? someGraphics->GetModelDrawer() : nullptr;
	}

	// With the instance's own shader when it has one.
	void DrawInstance(Norv::ModelDrawer& aDrawer, const Norv::ModelInstance& anInstance)
	{
		if (anInstance.myShader)
			aDrawer.DrawWithShader(anInstance, *anInstance.myShader);
		else
			aDrawer.Draw(anInstance);
	}

	float LargestRowLength(const Norv::Matrix4x4& aMatrix)
	{
		float someLargest = 0.0f;
		for (int someRow = 1; someRow <= 3; ++someRow)
			someLargest = std::max(someLargest, Norv::Vector3<float>(aMatrix(someRow, 1), aMatrix(someRow, 2), aMatrix(someRow, 3)).Length());
		return someLargest;
	}
}

bool GameState::IsDebugDrawingOn()
{
	const Norv::Engine* someEngine = Norv::Engine::GetInstance();
	return someEngine && someEngine->IsDebugFeatureOn(Norv::ToMask(Norv::DebugFeature::Collision));
}

void GameState::DrawProps(const std::vector<Norv::ModelInstance>& anInstances) const
{
	Norv::ModelDrawer* someDrawer = GetModelDrawer();
	if (!someDrawer)
		return;
	for (const Norv::ModelInstance& someInstance : anInstances)
	{
		if (someInstance.myFlag != 0)
		{
			const Norv::Vector3<float> somePlace = someInstance.GetTransform().GetTranslation();
			const float someReach = LargestRowLength(someInstance.GetTransform()) * PROP_REACH_PER_SCALE + PROP_REACH_BASE;
			if (!IsInView({ somePlace.x, somePlace.y }, { someReach, someReach }))
				continue;
		}
		DrawInstance(*someDrawer, someInstance);
	}
}

void GameState::DrawEntityModels() const
{
	Norv::ModelDrawer* someDrawer = GetModelDrawer();
	if (!someDrawer)
		return;
	for (const std::unique_ptr<Entity>& someEntity : myEntities)
	{
		if (someEntity->myAnimatedInstance.GetModel())
			someDrawer->DrawAnimated(someEntity->myAnimatedInstance);
		// The showcase draws its page itself, on screen.
		if (dynamic_cast<const BookShowcase*>(someEntity.get()))
			continue;
		for (const Norv::ModelInstance& someInstance : someEntity->myModels)
			if (someInstance.GetModel() && someInstance.myFlag != 0)
				DrawInstance(*someDrawer, someInstance);
	}
}

void GameState::Render(InputMapper&)
{
	Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
	if (!myIsLevelLoaded || !someStates || !myWorldCamera)
		return;
	FollowRenderSize();

	SetDepthTest(true);
	someStates->Push();
	someStates->SetCamera(*myWorldCamera);

	SetDepthTest(false);
	DrawProps(myBackgroundInstances);

	SetDepthTest(true);
	DrawEntityModels();
	for (const std::unique_ptr<Entity>& someEntity : myEntities)
		if (IsInView(someEntity->myPosition, someEntity->myColliderSize))
			someEntity->Render();

	SetDepthTest(false);
	DrawProps(myForegroundInstances);
	for (const std::unique_ptr<Entity>& someEntity : myEntities)
		if (IsInView(someEntity->myPosition, someEntity->myColliderSize))
			someEntity->LateRender();
	if (IsDebugDrawingOn())
	{
		myTileGrid.DebugDraw();
		for (const std::unique_ptr<Entity>& someEntity : myEntities)
			someEntity->DebugRender();
	}
	SetDepthTest(true);
	RenderSceneTexts();

	// The interface camera is the state owner's, made afresh each frame.
	if (const StateStack* someOwner = StateStack::GetInstance())
		someStates->SetCamera(someOwner->GetInterfaceCamera());
	for (const std::unique_ptr<Entity>& someEntity : myEntities)
		someEntity->RenderUI();

	someStates->Pop();
}
