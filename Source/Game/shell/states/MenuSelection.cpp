#include "shell/states/MenuSelection.h"

#include "media/AudioManager.h"
#include "shell/InputMapper.h"
#include "shell/widgets/MenuSprites.h"

#include "engine/Engine.h"
#include "win32/Win32.h"

#include <algorithm>
#include <cmath>

// -------------------------------------------------------------------- indicators

MenuIndicators::MenuIndicators()
{
	myRight.mySecondRect = { 1.0f, 0.0f, 0.0f, 1.0f };
}

void MenuIndicators::Setup()
{
	myData.myColorTexture = Menu::LoadTexture(TEXTURE_PATH);
	const Norv::Vector2<float> someSize = Menu::GetTextureSize(myData.myColorTexture) * SIZE_FACTOR;
	for (Norv::Sprite2DInstanceData* someIndicator : { &myLeft, &myRight })
	{
		someIndicator->mySize = someSize;
		someIndicator->myPivot = { 0.5f, 0.5f };
		someIndicator->myColor = { 1.0f, 1.0f, 1.0f, 0.0f };
	}
	SetSizeScale(Menu::GetReferenceScale().x);
}

void MenuIndicators::SetSizeScale(float aScale)
{
	myLeft.mySizeScale = { aScale, aScale };
	myRight.mySizeScale = { aScale, aScale };
}

void MenuIndicators::Render() const
{
	DrawSpriteInstance(myData, myLeft);
	DrawSpriteInstance(myData, myRight);
}

// -------------------------------------------------------------------- widgets

void MenuSelection::TakeSounds()
{
	if (myHasSounds)
		return;
	mySelectSound = AudioManager::GetUiSelect();
	myNavigateSound = AudioManager::GetUiNavigateDown2();
	myHasSounds = true;
}

void MenuSelection::Add(std::unique_ptr<IInteractableUiElement> aWidget, std::uint32_t aCode)
{
	myWidgets.push_back(std::move(aWidget));
	myCodes.push_back(aCode);
}

void MenuSelection::Clear()
{
	myWidgets.clear();
	myCodes.clear();
	mySelected = 0;
	myIndicatorAlpha = 0.0f;
}

// -------------------------------------------------------------------- selection steps

bool MenuSelection::IsMouseMoving(InputMapper& anInput)
{
	const Norv::Vector2<float> someDelta = anInput.GetKeyboardAndMouse().GetMouseDelta();
	return anInput.GetActiveDevice() == InputDevice::KeyboardAndMouse && std::abs(someDelta.x) + std::abs(someDelta.y) > 0.0f;
}

void MenuSelection::UpdateCursor(InputMapper& anInput)
{
	Norv::InputManager& someMouse = anInput.GetKeyboardAndMouse();
	if (IsMouseMoving(anInput))
		someMouse.ShowCursor();

	bool someIsMenuAction = anInput.GetActiveDevice() == InputDevice::Gamepad;
	for (InputAction someAction : { InputAction::Up, InputAction::Down, InputAction::Left, InputAction::Right, InputAction::Back, InputAction::Confirm, InputAction::Pause })
		someIsMenuAction = someIsMenuAction || anInput.IsPressed(someAction);
	if (!someIsMenuAction)
		return;
	someMouse.HideCursor();
	// The centre of the client area, in the screen coordinates the cursor is placed in.
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	POINT someCentre{ static_cast<LONG>(someSize.x * 0.5f), static_cast<LONG>(someSize.y * 0.5f) };
	if (const Norv::Engine* someEngine = Norv::Engine::GetInstance(); someEngine && someEngine->GetHWND())
		ClientToScreen(*someEngine->GetHWND(), &someCentre);
	someMouse.SetMousePosition(someCentre.x, someCentre.y);
}

void MenuSelection::UpdateWidgets(float aDeltaTime)
{
	for (std::size_t someIndex = 0; someIndex < myWidgets.size(); ++someIndex)
		myWidgets[someIndex]->SetSelected(static_cast<int>(someIndex) == mySelected);
	for (const std::unique_ptr<IInteractableUiElement>& someWidget : myWidgets)
		someWidget->Update(aDeltaTime);
}

void MenuSelection::SelectHovered()
{
	for (std::size_t someIndex = 0; someIndex < myWidgets.size(); ++someIndex)
	{
		const std::uint8_t someState = myWidgets[someIndex]->GetState();
		if (static_cast<int>(someIndex) != mySelected && (someState == WidgetState::Hovered || someState == WidgetState::Pressed))
		{
			mySelected = static_cast<int>(someIndex);
			Play(myNavigateSound);
			myIndicatorAlpha = 0.0f;
			return;
		}
	}
}

void MenuSelection::MoveByUpDown(InputMapper& anInput)
{
	const int someCount = static_cast<int>(myWidgets.size());
	if (someCount == 0)
		return;
	if (anInput.IsPressed(InputAction::Up))
	{
		mySelected = mySelected <= 0 ? someCount - 1 : mySelected - 1;
		myIndicatorAlpha = 0.0f;
		Play(myNavigateSound);
	}
	if (anInput.IsPressed(InputAction::Down))
	{
		mySelected = mySelected >= someCount - 1 ? 0 : mySelected + 1;
		myIndicatorAlpha = 0.0f;
		Play(myNavigateSound);
	}
}

void MenuSelection::StepByLeftRight(InputMapper& anInput, Norv::Audio* aSound)
{
	if (myWidgets.empty())
		return;
	if (anInput.IsPressed(InputAction::Left))
	{
		GetSelectedWidget().Decrease();
		Play(aSound);
	}
	if (anInput.IsPressed(InputAction::Right))
	{
		GetSelectedWidget().Increase();
		Play(aSound);
	}
}

void MenuSelection::PlaceIndicators(float aDeltaTime, float aRightEaseRate)
{
	if (myWidgets.empty())
		return;
	mySelected = std::clamp(mySelected, 0, static_cast<int>(myWidgets.size()) - 1);
	const IInteractableUiElement& someWidget = GetSelectedWidget();
	const Norv::Vector2<float> somePosition = someWidget.GetPosition();
	const Norv::Vector2<float> someSize = someWidget.GetSize();

	Norv::Sprite2DInstanceData& someLeft = myIndicators.myLeft;
	Norv::Sprite2DInstanceData& someRight = myIndicators.myRight;
	const float someLeftWidth = someLeft.mySize.x * someLeft.mySizeScale.x;
	const float someRightWidth = someRight.mySize.x * someRight.mySizeScale.x;
	someLeft.myPosition = { somePosition.x - someSize.x * 0.5f - someLeftWidth * MenuIndicators::GAP_FACTOR, somePosition.y };
	myIndicatorAlpha += (1.0f - myIndicatorAlpha) * LEFT_EASE_RATE * aDeltaTime;
	someLeft.myColor = { 1.0f, 1.0f, 1.0f, myIndicatorAlpha };
	someRight.myPosition = { somePosition.x + someSize.x * 0.5f + someRightWidth * MenuIndicators::GAP_FACTOR, somePosition.y };
	myIndicatorAlpha += (1.0f - myIndicatorAlpha) * aRightEaseRate * aDeltaTime;
	someRight.myColor = { 1.0f, 1.0f, 1.0f, myIndicatorAlpha };
}

// -------------------------------------------------------------------- drawing and layout

void MenuSelection::Render() const
{
	for (const std::unique_ptr<IInteractableUiElement>& someWidget : myWidgets)
		someWidget->Render();
	myIndicators.Render();
}

void MenuSelection::Resize()
{
	for (const std::unique_ptr<IInteractableUiElement>& someWidget : myWidgets)
		someWidget->OnResize();
	myIndicators.SetSizeScale(Menu::GetReferenceScale().x);
}

void MenuSelection::Play(Norv::Audio* aSound)
{
	if (aSound)
		aSound->Play();
}
