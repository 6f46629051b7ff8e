#pragma once
// What the main menu and the menus over the game share: a vertical list of owned
// widgets with the transition code of each, the selected one, the two flower
// indicators that frame it, the two interface sounds, and the selection by
// keyboard, pad and mouse in steps each menu strings together.
#include "shell/widgets/IInteractableUiElement.h"

#include "drawers/SpriteData.h"

#include <cstdint>
#include <memory>
#include <vector>

class InputMapper;

namespace Norv
{
	class Audio;
}

// The left flower and its mirror on the right, both over one texture.
struct MenuIndicators
{
	static constexpr const char* TEXTURE_PATH = "../Source/Game/data/UI/Indicator_Flower.png";
	static constexpr float SIZE_FACTOR = 1.3f; // of the texture size
	static constexpr float GAP_FACTOR = 0.35f; // of the indicator width, beyond the widget's edge

	// Default records; the right one samples its texture mirrored.
	MenuIndicators();
	// Texture, size, pivot, reference scale of the render width, colour (1, 1, 1, 0).
	void Setup();
	// Both size scales := (aScale, aScale).
	void SetSizeScale(float aScale);
	void Render() const;

	Norv::SpriteSharedData myData;
	Norv::Sprite2DInstanceData myLeft;
	Norv::Sprite2DInstanceData myRight;
};

class MenuSelection
{
public:
	static constexpr float LEFT_EASE_RATE = 4.0f;  // 1 / seconds
	static constexpr float RIGHT_EASE_RATE = 2.0f; // 1 / seconds, after the left easing

	// Takes the two interface sounds the first time only.
	void TakeSounds();
	void Add(std::unique_ptr<IInteractableUiElement> aWidget, std::uint32_t aCode);
	// Deletes every widget; selected and indicator alpha := 0.
	void Clear();

	// Shows the cursor when the mouse moves on the keyboard device; hides it and
	// centres it on the window when the pad is used or a menu action is pressed.
	static void UpdateCursor(InputMapper& anInput);
	// Whether this is a keyboard frame in which the mouse moved.
	static bool IsMouseMoving(InputMapper& anInput);
	// Marks the selected widget, then updates every widget in list order.
	void UpdateWidgets(float aDeltaTime);
	// The first other widget under the mouse becomes selected; with the navigate sound.
	void SelectHovered();
	// Up and Down move the selection, wrapping at either end.
	void MoveByUpDown(InputMapper& anInput);
	// Left and Right step the selected widget, followed by aSound.
	void StepByLeftRight(InputMapper& anInput, Norv::Audio* aSound);
	// Clamps the selection and places and fades in the indicators beside it.
	void PlaceIndicators(float aDeltaTime, float aRightEaseRate);

	void Render() const;
	// Every widget's OnResize, and the indicators scaled by the render width.
	void Resize();

	static void Play(Norv::Audio* aSound);

	bool IsEmpty() const { return myWidgets.empty(); }
	IInteractableUiElement& GetSelectedWidget() { return *myWidgets[static_cast<std::size_t>(mySelected)]; }
	std::uint32_t GetSelectedCode() const { return myCodes[static_cast<std::size_t>(mySelected)]; }
	const std::vector<std::unique_ptr<IInteractableUiElement>>& GetWidgets() const { return myWidgets; }

	int mySelected = 0;
	float myIndicatorAlpha = 0.0f;
	MenuIndicators myIndicators;
	Norv::Audio* mySelectSound = nullptr;
	Norv::Audio* myNavigateSound = nullptr;

private:
	std::vector<std::unique_ptr<IInteractableUiElement>> myWidgets;
	std::vector<std::uint32_t> myCodes;
	bool myHasSounds = false;
};
