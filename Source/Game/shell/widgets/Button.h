#pragma once
// A picture with a centred text label that shrinks while held and reports a
// click by its activation mode.
#include "shell/widgets/IInteractableUiElement.h"

#include "Math/Color.h"
#include "drawers/SpriteData.h"
#include "text/Text.h"

#include <string>

class Button : public IInteractableUiElement
{
public:
	static constexpr float PRESSED_SCALE = 0.9f;   // of the base size while held
	static constexpr float SCALE_RATE = 24.0f;     // 1 / seconds of the scale easing
	static constexpr Norv::Color NORMAL_COLOR{ 1.0f, 1.0f, 1.0f, 1.0f };
	static constexpr Norv::Color HOVERED_COLOR{ 0.9f, 0.9f, 0.9f, 1.0f };
	static constexpr Norv::Color PRESSED_COLOR{ 1.0f, 1.0f, 0.0f, 1.0f };

	Button(std::uint8_t anActivationMode, const std::string& aFontPath, std::uint32_t aFontSize);

	// Lays the picture of aTexturePath out at aPosition, scaled by the reference.
	void Setup(const std::string& aTexturePath, Norv::Vector2<float> aPosition);
	void SetText(const std::string& aText) { myLabel.SetText(aText); }

	void Render() override;
	void Update(float aDeltaTime) override;
	void OnResize() override;
	std::uint8_t GetState() const override { return myState; }
	Norv::Vector2<float> GetSize() const override { return myPicture.mySize; }
	void SetPressed() override;

	const Norv::Text& GetLabel() const { return myLabel; }
	const Norv::Sprite2DInstanceData& GetPicture() const { return myPicture; }

private:
	void ApplyColor(const Norv::Color& aColor);

	std::uint8_t myActivationMode;
	std::uint8_t myState = WidgetState::Idle;
	Norv::SpriteSharedData myPictureData;
	Norv::Sprite2DInstanceData myPicture;
	Norv::Vector2<float> myBaseSize;
	Norv::Text myLabel;
};
