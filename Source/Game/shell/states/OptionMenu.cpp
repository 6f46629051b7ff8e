#include "shell/states/OptionMenu.h"

#include "media/AudioManager.h"
#include "shell/InputMapper.h"
#include "shell/widgets/MenuSprites.h"
#include "shell/widgets/Slider.h"

#include "engine/Engine.h"
#include "win32/Win32.h"

namespace
{
	constexpr std::uint32_t LABEL_FONT_SIZE = 30;
	constexpr float SLIDER_Y = 0.53f;       // of the render height
	constexpr float LABEL_Y = 0.56f;        // of the render height
	constexpr float ICON_X = 0.6f;          // of the render width
	constexpr float ICON_Y = 0.5f;          // of the render height

	HWND GetGameWindow()
	{
		const Norv::Engine* someEngine = Norv::Engine::GetInstance();
		return someEngine && someEngine->GetHWND() ? *someEngine->GetHWND() : nullptr;
	}
}

OptionMenu::OptionMenu()
	: myVolumeLabel(Menu::MENU_FONT_PATH, LABEL_FONT_SIZE, 0)
{
	myVolumeLabel.SetText("Volume");
	myVolumeLabel.SetColor(LABEL_COLOR);
}

void OptionMenu::Init(InputMapper& anInput)
{
	SetupMenu(PAUSE_BACKGROUND_PATH);
	anInput.GetKeyboardAndMouse().ShowCursor();
	myVolumeLabel.SetScale(Menu::GetReferenceScale().x);

	auto someSlider = std::make_unique<Slider>();
	someSlider->Setup(VOLUME_BAR_PATH, VOLUME_KNOB_PATH, { myWindowSize.x * 0.5f, myWindowSize.y * SLIDER_Y });
	someSlider->SetValue(AudioManager::GetMasterVolume());
	mySlider = someSlider.get();
	mySelection.Add(std::move(someSlider), StateTransition::Stay);

	AddTextButton("Mute", 0.5f, StateTransition::ToggleMute);
	mySoundOnData.myColorTexture = Menu::LoadTexture(SOUND_ON_PATH);
	mySoundOffData.myColorTexture = Menu::LoadTexture(SOUND_OFF_PATH);
	mySoundOn.myColor = {};
	mySoundOff.myColor = {};
	PlaceIcons();
	AddTextButton("Toggle Window", 0.45f, StateTransition::ToggleWindowMode);
	AddTextButton("Back", 0.4f, StateTransition::Back);
}

int OptionMenu::Update(InputMapper& anInput, float aDeltaTime)
{
	if (mySlider)
	{
		const float someVolume = mySlider->GetValue();
		if (myIsMutedIcon && someVolume != 0.0f)
			myIsMutedIcon = false;
		// Only a change reaches the sound bank, so that volumes set elsewhere in
		// the meantime are not overwritten every frame.
		if (someVolume != AudioManager::GetMasterVolume())
			AudioManager::SetMasterVolume(someVolume);
		if ((someVolume <= 0.0f) != AudioManager::IsMuted())
			AudioManager::SetMuted(someVolume <= 0.0f);
	}
	return UpdateSelection(anInput, aDeltaTime);
}

void OptionMenu::Exit()
{
	mySlider = nullptr;
	ClearElements();
}

void OptionMenu::Render(InputMapper&)
{
	RenderMenu();
	if (myIsMutedIcon)
		DrawSpriteInstance(mySoundOffData, mySoundOff);
	else
		DrawSpriteInstance(mySoundOnData, mySoundOn);
	myVolumeLabel.Render();
}

void OptionMenu::OnResize()
{
	ResizeMenu();
	PlaceIcons();
}

int OptionMenu::HandleSelection(int aCode)
{
	switch (aCode)
	{
	case StateTransition::ToggleWindowMode:
		ToggleWindowMode();
		return StateTransition::Stay;
	case StateTransition::ToggleMute:
		ToggleMute();
		return StateTransition::Stay;
	default:
		return aCode;
	}
}

void OptionMenu::ToggleWindowMode()
{
	const HWND someWindow = GetGameWindow();
	if (!myIsBorderless)
	{
		ShowWindow(someWindow, SW_MAXIMIZE);
		SetWindowLongW(someWindow, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE));
		SetWindowPos(someWindow, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), SWP_FRAMECHANGED);
		myIsBorderless = true;
	}
	else
	{
		SetWindowLongW(someWindow, GWL_STYLE, static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
		SetWindowPos(someWindow, HWND_NOTOPMOST, WINDOWED_X, WINDOWED_Y, WINDOWED_WIDTH, WINDOWED_HEIGHT, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
		myIsBorderless = false;
	}
}

void OptionMenu::ToggleMute()
{
	if (!mySlider)
		return;
	if (AudioManager::IsMuted())
	{
		AudioManager::SetMuted(false);
		myIsMutedIcon = false;
		mySlider->SetValue(myRememberedVolume);
	}
	else
	{
		myRememberedVolume = mySlider->GetValue();
		AudioManager::SetMuted(true);
		myIsMutedIcon = true;
		mySlider->SetValue(0.0f);
	}
}

void OptionMenu::PlaceIcons()
{
	const Norv::Vector2<float> someScale = Menu::GetReferenceScale();
	const Norv::Vector2<float> someRenderSize = Menu::GetRenderSize();
	for (auto [someData, someIcon] : { std::pair{ &mySoundOnData, &mySoundOn }, std::pair{ &mySoundOffData, &mySoundOff } })
	{
		const Norv::Vector2<float> someTextureSize = Menu::GetTextureSize(someData->myColorTexture);
		someIcon->mySize = { someTextureSize.x * someScale.x, someTextureSize.y * someScale.y };
		someIcon->myPosition = { someRenderSize.x * ICON_X, someRenderSize.y * ICON_Y };
	}
	myVolumeLabel.SetPosition({ someRenderSize.x * 0.5f, someRenderSize.y * LABEL_Y });
	myVolumeLabel.SetScale(someScale.x);
}
