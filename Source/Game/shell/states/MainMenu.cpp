#include "shell/states/MainMenu.h"

#include "media/AudioManager.h"
#include "shell/InputMapper.h"
#include "shell/SceneManager.h"
#include "shell/widgets/MenuSprites.h"
#include "shell/widgets/TextButton.h"

#include "settings/settings.h"

namespace
{
	struct ButtonLayout
	{
		const char* myLabel;
		float myYFraction;
		std::uint32_t myCode;
	};

	constexpr ButtonLayout BUTTONS[] = {
		{ "Start Game", 0.7f, StateTransition::NewGame },
		{ "Level Select", 0.6f, StateTransition::PlayCurrentScene },
		{ "Options", 0.5f, StateTransition::Options },
		{ "Credits", 0.4f, StateTransition::Credits },
		{ "Quit Game", 0.3f, StateTransition::QuitScreen },
	};
}

void MainMenu::Init(InputMapper& anInput)
{
	if (!myMusic)
	{
		myMusic = AudioManager::GetMusicMenuLoop();
		mySelection.TakeSounds();
	}
	MenuSelection::Play(myMusic);

	myWindowSize = Menu::GetRenderSize();
	CreateMenuImage(myBackgroundData, myBackground, BACKGROUND_PATH, 0.5f, 0.5f);
	SceneManager::GetInstance().FindScenes(Norv::Settings::GetGameAssetsPath().string());
	anInput.GetKeyboardAndMouse().ShowCursor();

	mySelection.myIndicators.Setup();
	mySelection.Clear();
	for (const ButtonLayout& someLayout : BUTTONS)
	{
		auto someButton = std::make_unique<TextButton>(ActivationMode::OnRelease, Menu::MENU_FONT_PATH, BUTTON_FONT_SIZE);
		someButton->Setup(someLayout.myLabel, { myWindowSize.x * BUTTON_X, myWindowSize.y * someLayout.myYFraction });
		mySelection.Add(std::move(someButton), someLayout.myCode);
	}
	mySelection.mySelected = 0;
	mySelection.myIndicatorAlpha = 0.0f;
}

int MainMenu::Update(InputMapper& anInput, float aDeltaTime)
{
	MenuSelection::UpdateCursor(anInput);
	mySelection.UpdateWidgets(aDeltaTime);
	if (MenuSelection::IsMouseMoving(anInput))
	{
		if (anInput.GetKeyboardAndMouse().IsKeyPressed(DEBUG_SCENE_KEY))
		{
			SceneManager& someScenes = SceneManager::GetInstance();
			if (!someScenes.GetNames().empty())
				someScenes.SelectScene(someScenes.GetCurrentIndex() + 1);
		}
		mySelection.SelectHovered();
	}
	mySelection.MoveByUpDown(anInput);
	mySelection.StepByLeftRight(anInput, mySelection.myNavigateSound);
	mySelection.PlaceIndicators(aDeltaTime, MenuSelection::LEFT_EASE_RATE);

	if (anInput.IsPressed(InputAction::Confirm))
	{
		MenuSelection::Play(mySelection.mySelectSound);
		mySelection.GetSelectedWidget().SetPressed();
		return static_cast<int>(mySelection.GetSelectedCode());
	}
	if (mySelection.GetSelectedWidget().GetState() == WidgetState::Pressed)
	{
		MenuSelection::Play(mySelection.mySelectSound);
		return static_cast<int>(mySelection.GetSelectedCode());
	}
	return StateTransition::Stay;
}

void MainMenu::Exit()
{
	mySelection.Clear();
	if (myMusic)
		myMusic->Stop(true);
}

void MainMenu::Render(InputMapper&)
{
	myBackground.myPivot = { 0.5f, 0.5f };
	myBackground.myPosition = myWindowSize * 0.5f;
	myBackground.mySize = myWindowSize;
	DrawSpriteInstance(myBackgroundData, myBackground);
	mySelection.Render();
}

void MainMenu::OnResize()
{
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	if (someSize == myWindowSize || someSize.x <= 0.0f || someSize.y <= 0.0f)
		return;
	myWindowSize = someSize;
	myBackground.mySize = someSize;
	mySelection.Resize();
}
