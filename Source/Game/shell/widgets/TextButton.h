#pragma once
// A text alone that grows while hovered and reports a click by its activation mode.
#include "shell/widgets/IInteractableUiElement.h"

#include "Math/Color.h"
#include "text/Text.h"

#include <string>

class TextButton : public IInteractableUiElement
{
public:
	static constexpr float HOVER_GROWTH = 1.15f;   // of the rest scale while hovered
	static constexpr float HOVER_RATE = 4.8f;      // 1 / seconds to grow or shrink fully
	static constexpr Norv::Color LABEL_COLOR{ 179.0f / 255.0f, 162.0f / 255.0f, 150.0f / 255.0f, 1.0f };

	TextButton(std::uint8_t anActivationMode, const std::string& aFontPath, std::uint32_t aFontSize);

	void Setup(const std::string& aLabel, Norv::Vector2<float> aPosition);

	void Render() override { myLabel.Render(); }
	void Update(float aDeltaTime) override;
	void OnResize() override;
	std::uint8_t GetState() const override { return myState; }
	Norv::Vector2<float> GetSize() const override { return { myLabel.GetWidth(), myLabel.GetHeight() }; }
	void SetPressed() override { myState = WidgetState::Pressed; }

	const Norv::Text& GetLabel() const { return myLabel; }

private:
	void StartScaleAnimation(bool aIsHovering);

	std::uint8_t myActivationMode;
	std::uint8_t myState = WidgetState::Idle;
	Norv::Text myLabel;
	float myRestScale = 1.0f;
	float myHoverTimer = 0.0f;
	bool myIsHovering = false;
	float myStartScale = 1.0f;
};
