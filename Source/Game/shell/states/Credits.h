#pragma once
// The credits: a full-window picture with a "Back" button.
#include "shell/IStates.h"

#include "drawers/SpriteData.h"

#include <memory>

class Button;

class Credits : public IStates
{
public:
	static constexpr const char* BACKGROUND_PATH = "../Source/Game/data/UI/Credits.png";
	static constexpr const char* BUTTON_PATH = "../Source/Game/data/UI/Button.png";
	static constexpr std::uint32_t BUTTON_FONT_SIZE = 30;

	Credits();
	~Credits() override;

	void Init(InputMapper& anInput) override;
	int Update(InputMapper& anInput, float aDeltaTime) override;
	void Exit() override;
	void Render(InputMapper& anInput) override;
	void OnResize() override;

	const Button* GetBackButton() const { return myBackButton.get(); }

private:
	Norv::Sprite2DInstanceData myBackground;
	Norv::SpriteSharedData myBackgroundData;
	Norv::Vector2<float> myWindowSize;
	std::unique_ptr<Button> myBackButton;
};
