#include "shell/StateStack.h"

#include "shell/LoadingScreen.h"
#include "shell/SceneManager.h"
#include "world/AbilityFlags.h"

#include "engine/Engine.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "kernel/Memory.h"
#include "win32/Win32.h"

#include <algorithm>

StateStack::StateStack(const StateSet& aStates)
	: myInterfaceCamera(std::make_unique<Norv::Camera>())
	, myStates(aStates)
{
	ourInstance = this;
}

StateStack::~StateStack()
{
	if (ourInstance == this)
		ourInstance = nullptr;
}

void StateStack::PushInitialState(InputMapper& anInput)
{
	Push(myStates.myIntroState, anInput);
}

void StateStack::Update(InputMapper& anInput, float aDeltaTime)
{
	MakeInterfaceCamera();
	if (myStack.empty())
		return;
	IStates* const someTop = myStack.back();
	const std::size_t someDepth = myStack.size();

	// An updated world moves: its kept frame is stale.
	if (someTop == myStates.myGameState)
		myFrozenWorld.Invalidate();
	myIsUpdating = true;
	const int someCode = myStack.back()->Update(anInput, aDeltaTime);
	myIsUpdating = false;
	if (myIsMainMenuRequested)
	{
		myIsMainMenuRequested = false;
		LeaveForMainMenu(anInput);
		Platform::ReturnFreeMemory();
		return;
	}
	if (someCode == StateTransition::Stay)
		return;
	ApplyTransition(someCode, anInput);
	// What a state that was left held is free now; a state pushed over another
	// (the pause menu over play) frees nothing.
	if (!myShouldQuit && (myStack.size() < someDepth || myStack[someDepth - 1] != someTop))
		Platform::ReturnFreeMemory();
}

void StateStack::ApplyTransition(int aCode, InputMapper& anInput)
{
	if (IStates* someState = GetState(aCode))
	{
		Push(someState, anInput);
	}
	else if (aCode == StateTransition::Back)
	{
		if (!myStack.empty())
		{
			ExitTop();
			myStack.pop_back();
		}
	}
	else if (aCode == StateTransition::Quit)
	{
		myStack.clear();
		myShouldQuit = true;
	}
}

void StateStack::Render(InputMapper& anInput)
{
	bool isGameStacked = false;
	for (IStates* someState : myStack)
	{
		if (someState == myStates.myGameState)
		{
			isGameStacked = true;
			RenderGameState(anInput);
			continue;
		}
		if (Norv::GraphicsStateStack* someGraphicsState = Norv::GraphicsEngine::GetStateStack())
			someGraphicsState->SetCamera(*myInterfaceCamera);
		someState->OnResize();
		someState->Render(anInput);
	}
	// The level is left: its kept frame goes with it.
	if (!isGameStacked)
		myFrozenWorld.Release();
	// The loading screen covers everything, under the interface camera. It is made
	// by the first level load, not by the intro's first frame.
	LoadingScreen* someLoadingScreen = LoadingScreen::FindInstance();
	if (!someLoadingScreen || !someLoadingScreen->IsVisible())
		return;
	Norv::GraphicsStateStack* someGraphicsState = Norv::GraphicsEngine::GetStateStack();
	if (someGraphicsState)
	{
		someGraphicsState->Push();
		someGraphicsState->SetCamera(*myInterfaceCamera);
	}
	someLoadingScreen->Render();
	if (someGraphicsState)
		someGraphicsState->Pop();
}

void StateStack::RenderGameState(InputMapper& anInput)
{
	IStates* someGame = myStates.myGameState;
	// The loading screen draws over the world's depth buffer, which the kept copy
	// does not hold: while it shows, the world is drawn in full.
	const LoadingScreen* someLoadingScreen = LoadingScreen::FindInstance();
	const bool isFrozen = myStack.back() != someGame && !(someLoadingScreen && someLoadingScreen->IsVisible());
	if (isFrozen)
		myFrozenWorld.Draw([&] { someGame->Render(anInput); });
	else
		someGame->Render(anInput);
}

IStates* StateStack::GetState(int aCode)
{
	switch (aCode)
	{
	case StateTransition::NewGame:
		// A new game starts without what an earlier one earned: the levels set
		// only the abilities they grant, and the wall jump is the tutorial's.
		AbilityFlags = {};
		SceneManager::GetInstance().SetCurrentScenePath(SceneManager::TUTORIAL_SCENE_PATH);
		[[fallthrough]];
	case StateTransition::PlayCurrentScene:
		ExitTop();
		myStack.clear();
		return myStates.myGameState;
	case StateTransition::Pause: return myStates.myPauseMenu;
	case StateTransition::AbilityPage: return myStates.myPauseBookCase;
	case StateTransition::MainMenu:
		ExitTop();
		if (myStates.myGameState)
			myStates.myGameState->Exit();
		myStack.clear();
		return myStates.myMainMenu;
	case StateTransition::Options: return myStates.myOptionMenu;
	case StateTransition::Credits: return myStates.myCredits;
	case StateTransition::QuitScreen: return myStates.myQuitScreen;
	default: return nullptr;
	}
}

void StateStack::ReturnToMainMenu(InputMapper& anInput)
{
	if (myIsUpdating)
		myIsMainMenuRequested = true;
	else
		LeaveForMainMenu(anInput);
}

void StateStack::LeaveForMainMenu(InputMapper& anInput)
{
	if (myStates.myGameState && std::find(myStack.begin(), myStack.end(), myStates.myGameState) != myStack.end())
		myStates.myGameState->Exit();
	myStack.clear();
	Push(myStates.myMainMenu, anInput);
}

void StateStack::Push(IStates* aState, InputMapper& anInput)
{
	if (aState == nullptr)
		return;
	myStack.push_back(aState);
	aState->Init(anInput);
}

void StateStack::ExitTop()
{
	if (!myStack.empty())
		myStack.back()->Exit();
}

void StateStack::MakeInterfaceCamera()
{
	RECT someClient{};
	if (const Norv::Engine* someEngine = Norv::Engine::GetInstance(); someEngine && someEngine->GetHWND())
		GetClientRect(*someEngine->GetHWND(), &someClient);
	// A minimised window has no area to project: the last camera stays.
	if (someClient.right <= someClient.left || someClient.bottom <= someClient.top)
		return;

	// A fresh camera each frame, kept in the same object so that its address stays valid.
	*myInterfaceCamera = Norv::Camera();
	// One unit per pixel, y growing upward from the bottom-left corner of the client area.
	myInterfaceCamera->SetOrthographicProjection(static_cast<float>(someClient.left), static_cast<float>(someClient.right),
		static_cast<float>(someClient.top), static_cast<float>(someClient.bottom), INTERFACE_NEAR_PLANE, INTERFACE_FAR_PLANE);
	myInterfaceCamera->myTransform.SetTranslation({ 0.0f, 0.0f, INTERFACE_CAMERA_Z });
}
