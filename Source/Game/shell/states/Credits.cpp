#include "shell/states/Credits.h"

#include "shell/InputMapper.h"
#include "shell/widgets/Button.h"
#include "shell/widgets/MenuSprites.h"

namespace
{
	constexpr float BUTTON_X = 0.5f; // of the render width
	constexpr float BUTTON_Y = 0.1f; // of the render height
}

Credits::Credits() = default;
Credits::~Credits() = default;

void Credits::Init(InputMapper&)
{
	myWindowSize = Menu::GetRenderSize();
	CreateMenuImage(myBackgroundData, myBackground, BACKGROUND_PATH, 0.5f, 0.5f);
	myBackButton = std::make_unique<Button>(ActivationMode::OnRelease, Menu::MENU_FONT_PATH, BUTTON_FONT_SIZE);
	myBackButton->Setup(BUTTON_PATH, { myWindowSize.x * BUTTON_X, myWindowSize.y * BUTTON_Y });
	myBackButton->SetText("Back");
}

int Credits::Update(InputMapper& anInput, float aDeltaTime)
{
	// The window size is taken in OnResize, which lays the button out again with it.
	if (!myBackButton)
		return StateTransition::Stay;
	myBackButton->Update(aDeltaTime);
	if (anInput.IsPressed(InputAction::Back) || myBackButton->GetState() == WidgetState::Pressed)
		return StateTransition::Back;
	return StateTransition::Stay;
}

void Credits::Exit()
{
	myBackButton.reset();
}

void Credits::Render(InputMapper&)
{
	myBackground.myPivot = { 0.5f, 0.5f };
	myBackground.myPosition = myWindowSize * 0.5f;
	myBackground.mySize = myWindowSize;
	DrawSpriteInstance(myBackgroundData, myBackground);
	if (myBackButton)
		myBackButton->Render();
}

void Credits::OnResize()
{
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	if (someSize == myWindowSize || someSize.x <= 0.0f || someSize.y <= 0.0f)
		return;
	myWindowSize = someSize;
	if (myBackButton)
		myBackButton->OnResize();
}
