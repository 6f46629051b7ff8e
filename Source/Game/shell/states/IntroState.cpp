#include "shell/states/IntroState.h"

#include "shell/InputMapper.h"
#include "shell/widgets/MenuSprites.h"

#include "win32/VirtualKeys.h"

void IntroState::Init(InputMapper&)
{
	myWindowSize = Menu::GetRenderSize();
	for (std::size_t someIndex = 0; someIndex < PICTURE_PATHS.size(); ++someIndex)
		CreateMenuImage(mySharedData[someIndex], myInstances[someIndex], PICTURE_PATHS[someIndex], 0.5f, 0.5f);
	myInstances[2].mySize *= THIRD_PICTURE_SCALE;
	// The splash fills the window from its first frame, so that it is loaded once, at that size.
	myInstances[0].mySize = myWindowSize;
	myCurrentInstance = nullptr;
	myCurrentSharedData = nullptr;
	myElapsed = 0.0f;
	myPhase = 0;
	myAlpha = 0.0f;
	myPictureIndex = 0;
}

bool IntroState::UpdateFade(float aDeltaTime)
{
	if (myElapsed < PHASE_LENGTH)
	{
		if (myAlpha <= 1.0f)
			myAlpha += aDeltaTime;
		return false;
	}
	if (myAlpha >= 0.0f)
		myAlpha -= aDeltaTime;
	return myAlpha < 0.0f;
}

int IntroState::Update(InputMapper& anInput, float aDeltaTime)
{
	myElapsed += aDeltaTime;
	switch (myPhase)
	{
	case 0:
		myPhase = 1;
		break;
	case 1:
	case 2:
		if (myPhase == 1)
			myInstances[0].mySize = myWindowSize; // the splash fills the window
		if (UpdateFade(aDeltaTime))
		{
			++myPhase;
			myAlpha = 0.0f;
			myElapsed = 0.0f;
		}
		break;
	default:
		if (UpdateFade(aDeltaTime))
			return StateTransition::MainMenu;
		break;
	}
	if (anInput.IsPressed(InputAction::Confirm) || anInput.IsPressed(InputAction::Jump) || anInput.GetKeyboardAndMouse().IsKeyPressed(VK_ESCAPE))
		return StateTransition::MainMenu;

	myPictureIndex = myPhase - 1;
	myCurrentInstance = &myInstances[myPictureIndex];
	myCurrentSharedData = &mySharedData[myPictureIndex];
	return StateTransition::Stay;
}

void IntroState::Exit()
{
	myCurrentInstance = nullptr;
	myCurrentSharedData = nullptr;
}

void IntroState::Render(InputMapper&)
{
	if (!myCurrentInstance || !myCurrentSharedData)
		return;
	myCurrentInstance->myColor.a = myAlpha;
	myCurrentInstance->myPivot = { 0.5f, 0.5f };
	myCurrentInstance->myPosition = myWindowSize * 0.5f;
	DrawSpriteInstance(*myCurrentSharedData, *myCurrentInstance);
}

void IntroState::OnResize()
{
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	if (someSize == myWindowSize || someSize.x <= 0.0f || someSize.y <= 0.0f)
		return;
	myWindowSize = someSize;
	if (myCurrentInstance)
		myCurrentInstance->mySize = someSize;
}
