#pragma once
// The title menu: start, level select, options, credits and quit, over the menu
// picture, with the menu music. Each time it comes up it rescans the scenes.
#include "shell/IStates.h"
#include "shell/states/MenuSelection.h"

#include "drawers/SpriteData.h"

namespace Norv
{
	class Audio;
}

class MainMenu : public IStates
{
public:
	static constexpr const char* BACKGROUND_PATH = "../Source/Game/data/UI/Main_menu.png";
	static constexpr std::uint32_t BUTTON_FONT_SIZE = 48;
	static constexpr float BUTTON_X = 0.635f; // of the render width
	static constexpr int DEBUG_SCENE_KEY = 0x31; // the key 1: the next found scene

	void Init(InputMapper& anInput) override;
	int Update(InputMapper& anInput, float aDeltaTime) override;
	void Exit() override;
	void Render(InputMapper& anInput) override;
	void OnResize() override;

	const MenuSelection& GetSelection() const { return mySelection; }
	const Norv::Sprite2DInstanceData& GetBackground() const { return myBackground; }
	Norv::Audio* GetMusic() const { return myMusic; }

private:
	Norv::SpriteSharedData myBackgroundData;
	Norv::Sprite2DInstanceData myBackground;
	MenuSelection mySelection;
	Norv::Audio* myMusic = nullptr;
	Norv::Vector2<float> myWindowSize;
};
