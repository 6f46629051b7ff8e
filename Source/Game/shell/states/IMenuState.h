#pragma once
// The base of the menus shown over the game: a background picture and a
// vertical list of widgets with their transition codes, selected by keyboard,
// pad and mouse in one shared update. A menu returns the code of the widget that
// was activated; HandleSelection lets a menu carry out codes of its own.
#include "shell/IStates.h"
#include "shell/states/MenuSelection.h"

#include "drawers/SpriteData.h"

#include <string>

class IMenuState : public IStates
{
public:
	static constexpr const char* PAUSE_BACKGROUND_PATH = "../Source/Game/data/UI/Pause_Menu.png";
	static constexpr std::uint32_t BUTTON_FONT_SIZE = 30;

	void Render(InputMapper&) override { RenderMenu(); }
	void OnResize() override { ResizeMenu(); }

	// What activating a widget with aCode returns; aCode by default.
	virtual int HandleSelection(int aCode) { return aCode; }

	const MenuSelection& GetSelection() const { return mySelection; }
	const Norv::Sprite2DInstanceData& GetBackground() const { return myBackground; }

protected:
	// Background picture centred, indicators set up, nothing selected yet.
	void SetupMenu(const std::string& aBackgroundPath);
	// A text button centred at (render width x 0.5, render height x aYFraction).
	void AddTextButton(const std::string& aLabel, float aYFraction, std::uint32_t aCode);
	// The shared update; returns the transition code.
	int UpdateSelection(InputMapper& anInput, float aDeltaTime);
	void RenderMenu();
	void ResizeMenu();
	void ClearElements() { mySelection.Clear(); }

	MenuSelection mySelection;
	Norv::Vector2<float> myWindowSize;
	Norv::SpriteSharedData myBackgroundData;
	Norv::Sprite2DInstanceData myBackground;
};
