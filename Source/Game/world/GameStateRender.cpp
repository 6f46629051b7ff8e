// GameState::Render: one frame of the level, pass by pass. Depth testing is
// switched per pass by binding the back buffer with or without the depth buffer.
#include "world/GameState.h"

#include "media/VideoOverlay.h"
#include "shell/StateStack.h"
#include "world/entities/BookShowcase.h"

#include "engine/Engine.h"
#include "graphics/Camera.h"
#include "graphics/DX11.h"
#include "graphics/DepthBuffer.h"
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

bool GameState::IsPropDrawn(const Norv::ModelInstance& anInstance) const
{
	if ((anInstance.myFlag & PROP_WITH_HINTS) != 0 && !AreHintsShown())
		return false;
	if ((anInstance.myFlag & PROP_CULLED) == 0)
		return true;
	const Norv::Vector3<float> somePlace = anInstance.GetTransform().GetTranslation();
	const float someReach = LargestRowLength(anInstance.GetTransform()) * PROP_REACH_PER_SCALE + PROP_REACH_BASE;
	return IsInView({ somePlace.x, somePlace.y }, { someReach, someReach });
}

void GameState::DrawProps(const std::vector<Norv::ModelInstance>& anInstances) const
{
	Norv::ModelDrawer* someDrawer = GetModelDrawer();
	if (!someDrawer)
		return;
	for (const Norv::ModelInstance& someInstance : anInstances)
		if (IsPropDrawn(someInstance))
			DrawInstance(*someDrawer, someInstance);
}

void GameState::DrawBackground() const
{
	Norv::ModelDrawer* someDrawer = GetModelDrawer();
	Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
	Norv::DepthBuffer* someDepth = Norv::DX11::ourDepthBuffer;
	const D3D11_VIEWPORT* someScreen = Norv::DX11::ourBackBuffer ? Norv::DX11::ourBackBuffer->GetViewport() : nullptr;
	if (!someDrawer || !someStates || !someDepth || !someScreen || !Norv::DX11::ourContext || myIsOpaqueBackground.size() != myBackgroundInstances.size())
	{
		SetDepthTest(false);
		DrawProps(myBackgroundInstances);
		return;
	}
	// Painted far to near in list order, as the background is meant to look, but
	// with the pixels a later prop covers never shaded: each prop writes one depth
	// of its own (the viewport's depth range), nearer the later it comes in the
	// list, and passes where the depth is not nearer (so that within a prop a later
	// triangle still covers an earlier one). Opaque props are drawn first, near to
	// far, writing their depth; the others blend after, far to near, over what they
	// come after. The depth goes again after: background props never hide entities.
	const float someLayers = static_cast<float>(myBackgroundInstances.size() + 1);
	const auto DrawLayer = [&](std::size_t anIndex) {
		// A prop beside the camera's view draws nothing: its depth range is not set either.
		if (!IsPropDrawn(myBackgroundInstances[anIndex]) || !myBackgroundInstances[anIndex].MayShow(*someStates))
			return;
		D3D11_VIEWPORT someViewport = *someScreen;
		someViewport.MinDepth = someViewport.MaxDepth = static_cast<float>(myBackgroundInstances.size() - anIndex) / someLayers;
		Norv::DX11::ourContext->RSSetViewports(1, &someViewport);
		DrawInstance(*someDrawer, myBackgroundInstances[anIndex]);
	};
	someDepth->Clear();
	SetDepthTest(true);
	someStates->Push();
	someStates->SetDepthState(Norv::DepthStates::LESS_EQUAL);
	for (std::size_t i = myBackgroundInstances.size(); i-- > 0;)
		if (myIsOpaqueBackground[i])
			DrawLayer(i);
	someStates->SetDepthState(Norv::DepthStates::LESS_EQUAL_NO_WRITE);
	for (std::size_t i = 0; i < myBackgroundInstances.size(); ++i)
		if (!myIsOpaqueBackground[i])
			DrawLayer(i);
	someStates->Pop();
	Norv::DX11::ourContext->RSSetViewports(1, someScreen);
	someDepth->Clear();
}

bool GameState::IsVideoCoveringLevel() const
{
	return myScenePath == TUTORIAL_SCENE && myIsPlayingCutscene && VideoOverlay::GetInstance().IsShowingFrame();
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

void GameState::DrawLevel() const
{
	DrawBackground();

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

	if (IsVideoCoveringLevel())
	{
		// The opening video keeps the size the window had when it was loaded, and the
		// world stays frozen while it plays: the level is drawn once, for what a larger
		// window shows around the video, and its frame kept; a resize draws it again.
		// What follows sees a clear depth buffer, whether the level was drawn or copied.
		myLevelUnderVideo.Draw([this] { DrawLevel(); });
		if (Norv::DX11::ourDepthBuffer)
			Norv::DX11::ourDepthBuffer->Clear();
	}
	else
	{
		myLevelUnderVideo.Release();
		DrawLevel();
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
