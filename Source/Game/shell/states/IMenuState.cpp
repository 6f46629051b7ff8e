#include "shell/states/IMenuState.h"

#include "shell/InputMapper.h"
#include "shell/widgets/MenuSprites.h"
#include "shell/widgets/TextButton.h"

#include "graphics/DX11.h"
#include "graphics/RenderTarget.h"

void IMenuState::SetupMenu(const std::string& aBackgroundPath)
{
	mySelection.TakeSounds();
	myWindowSize = Menu::GetRenderSize();
	CreateMenuImage(myBackgroundData, myBackground, aBackgroundPath, 0.5f, 0.5f);
	mySelection.myIndicators.Setup();
	mySelection.mySelected = 0;
	mySelection.myIndicatorAlpha = 0.0f;
}

void IMenuState::AddTextButton(const std::string& aLabel, float aYFraction, std::uint32_t aCode)
{
	auto someButton = std::make_unique<TextButton>(ActivationMode::OnRelease, Menu::MENU_FONT_PATH, BUTTON_FONT_SIZE);
	someButton->Setup(aLabel, { myWindowSize.x * 0.5f, myWindowSize.y * aYFraction });
	mySelection.Add(std::move(someButton), aCode);
}

int IMenuState::UpdateSelection(InputMapper& anInput, float aDeltaTime)
{
	if (mySelection.IsEmpty())
		return anInput.IsPressed(InputAction::Back) ? StateTransition::Back : StateTransition::Stay;
	MenuSelection::UpdateCursor(anInput);
	mySelection.UpdateWidgets(aDeltaTime);
	if (MenuSelection::IsMouseMoving(anInput))
		mySelection.SelectHovered();
	mySelection.MoveByUpDown(anInput);
	mySelection.StepByLeftRight(anInput, mySelection.mySelectSound);
	mySelection.PlaceIndicators(aDeltaTime, MenuSelection::RIGHT_EASE_RATE);

	if (anInput.IsPressed(InputAction::Back))
	{
		MenuSelection::Play(mySelection.mySelectSound);
		return StateTransition::Back;
	}
	if (anInput.IsPressed(InputAction::Confirm))
	{
		mySelection.GetSelectedWidget().SetPressed();
		const int someResult = HandleSelection(static_cast<int>(mySelection.GetSelectedCode()));
		MenuSelection::Play(mySelection.mySelectSound);
		return someResult;
	}
	if (mySelection.GetSelectedWidget().GetState() == WidgetState::Pressed)
	{
		const int someResult = HandleSelection(static_cast<int>(mySelection.GetSelectedCode()));
		MenuSelection::Play(mySelection.mySelectSound);
		return someResult;
	}
	return StateTransition::Stay;
}

void IMenuState::RenderMenu()
{
	if (Norv::DX11::ourBackBuffer)
		Norv::DX11::ourBackBuffer->SetAsActiveTarget();
	DrawSpriteInstance(myBackgroundData, myBackground);
	mySelection.Render();
}

void IMenuState::ResizeMenu()
{
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	if (someSize == myWindowSize || someSize.x <= 0.0f || someSize.y <= 0.0f)
		return;
	myWindowSize = someSize;
	const Norv::Vector2<float> someScale = Menu::GetReferenceScale();
	const Norv::Vector2<float> someTextureSize = Menu::GetTextureSize(myBackgroundData.myColorTexture);
	myBackground.mySize = { someTextureSize.x * someScale.x, someTextureSize.y * someScale.y };
	myBackground.myPosition = someSize * 0.5f;
	mySelection.Resize();
}
