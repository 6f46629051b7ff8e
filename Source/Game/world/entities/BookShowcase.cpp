#include "world/entities/BookShowcase.h"

#include "world/GameState.h"
#include "world/entities/Player.h"

#include "engine/Engine.h"
#include "graphics/GraphicsEngine.h"
#include "model/ModelDrawer.h"

namespace
{
	constexpr Norv::Vector2<float> PAGE_ANCHOR{ 0.5f, 0.5f }; // of the render size
}

void BookShowcase::Update(FrameContext& aContext)
{
	if (!myPlayer)
		myPlayer = aContext.player;
}

void BookShowcase::Show(int aPickupType)
{
	// A pickup touched before the showcase's first update still stops the player.
	if (!myPlayer && GameState::GetInstance())
		myPlayer = GameState::GetInstance()->GetFrameContext().player;
	if (myPlayer)
	{
		myPlayer->GetController().SetActive(false);
		myPlayer->myCanAttack = false;
	}
	myIsShowing = aPickupType >= 1 && aPickupType <= 4;
	myPosition = PAGE_ANCHOR;
	PlacePage();
	if (GameState* someGame = GameState::GetInstance())
		someGame->myIsShowcaseRequested = true;
}

void BookShowcase::Hide()
{
	if (myPlayer)
	{
		myPlayer->GetController().SetActive(true);
		myPlayer->myCanAttack = true;
	}
	if (GameState* someGame = GameState::GetInstance())
		someGame->myIsShowcaseRequested = false;
	myIsShowing = false;
}

void BookShowcase::PlacePage()
{
	const Norv::Engine* someEngine = Norv::Engine::GetInstance();
	if (myModels.empty() || !someEngine)
		return;
	const Norv::Vector2<float> someSize(someEngine->GetRenderSize());
	Norv::Matrix4x4 someTransform = myModels.front().GetTransform();
	someTransform.SetTranslation({ PAGE_ANCHOR.x * someSize.x, PAGE_ANCHOR.y * someSize.y, 0.0f });
	myModels.front().SetTransform(someTransform);
}

void BookShowcase::RenderUI()
{
	if (!myIsShowing || myModels.empty())
		return;
	const Norv::GraphicsEngine* someGraphics = Norv::GraphicsEngine::GetCurrent();
	Norv::ModelDrawer* someDrawer = someGraphics ? someGraphics->GetModelDrawer() : nullptr;
	if (!someDrawer)
		return;
	// The play state places entity models in the world every frame: back on screen.
	PlacePage();
	someDrawer->Draw(myModels.front());
}
