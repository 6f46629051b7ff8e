#pragma once
// The options: a volume slider with its label, mute with its sound icon, the
// window mode and Back. Carries out the window-mode and mute codes itself.
#include "shell/states/IMenuState.h"

#include "Math/Color.h"
#include "text/Text.h"

class Slider;

class OptionMenu : public IMenuState
{
public:
	static constexpr const char* VOLUME_BAR_PATH = "../Source/Game/data/UI/Volume_Bar.png";
	static constexpr const char* VOLUME_KNOB_PATH = "../Source/Game/data/UI/Icon_Bar.png";
	static constexpr const char* SOUND_ON_PATH = "../Source/Game/data/UI/SoundOn_V2.png";
	static constexpr const char* SOUND_OFF_PATH = "../Source/Game/data/UI/SoundOff_V2.png";
	static constexpr Norv::Color LABEL_COLOR{ 179.0f / 255.0f, 162.0f / 255.0f, 150.0f / 255.0f, 1.0f };
	static constexpr int WINDOWED_X = 100;      // screen pixels
	static constexpr int WINDOWED_Y = 100;      // screen pixels
	static constexpr int WINDOWED_WIDTH = 1280;  // pixels
	static constexpr int WINDOWED_HEIGHT = 720;  // pixels

	// Loads the label's font: the engine must run.
	OptionMenu();

	void Init(InputMapper& anInput) override;
	int Update(InputMapper& anInput, float aDeltaTime) override;
	void Exit() override;
	void Render(InputMapper& anInput) override;
	void OnResize() override;
	int HandleSelection(int aCode) override;

	const Slider* GetSlider() const { return mySlider; }
	bool IsShowingMutedIcon() const { return myIsMutedIcon; }
	bool IsBorderless() const { return myIsBorderless; }
	const Norv::Text& GetVolumeLabel() const { return myVolumeLabel; }

private:
	void ToggleWindowMode();
	void ToggleMute();
	void PlaceIcons();

	// What the window is believed to be, whatever it really started as.
	bool myIsBorderless = true;
	Slider* mySlider = nullptr;
	Norv::SpriteSharedData mySoundOnData;
	Norv::Sprite2DInstanceData mySoundOn;
	Norv::SpriteSharedData mySoundOffData;
	Norv::Sprite2DInstanceData mySoundOff;
	bool myIsMutedIcon = false;
	float myRememberedVolume = 0.0f;
	Norv::Text myVolumeLabel;
};
