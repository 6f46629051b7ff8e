#pragma once
// A bar with a draggable knob; the value runs from 0 at the bar's left end to 1
// at its right end.
#include "shell/widgets/IInteractableUiElement.h"

#include "Math/Color.h"
#include "drawers/SpriteData.h"

#include <string>

class Slider : public IInteractableUiElement
{
public:
	static constexpr float STEP = 0.1f;        // value change of Decrease and Increase
	static constexpr float DRAG_RATE = 24.0f;  // 1 / seconds of the knob's easing to the mouse
	static constexpr Norv::Color NORMAL_COLOR{ 1.0f, 1.0f, 1.0f, 1.0f };
	static constexpr Norv::Color HOVERED_COLOR{ 0.9f, 0.9f, 0.9f, 1.0f };
	static constexpr Norv::Color DRAGGED_COLOR{ 0.8f, 0.8f, 0.8f, 1.0f };

	Slider();

	void Setup(const std::string& aBarPath, const std::string& aKnobPath, Norv::Vector2<float> aPosition);
	// Clamped to [0, 1]; the knob follows.
	void SetValue(float aValue);
	float GetValue() const { return myValue; }

	void Render() override;
	void Update(float aDeltaTime) override;
	void OnResize() override;
	std::uint8_t GetState() const override { return myState; }
	Norv::Vector2<float> GetSize() const override;
	void Decrease() override { SetValue(myValue - STEP); }
	void Increase() override { SetValue(myValue + STEP); }

	bool IsDragging() const { return myIsDragging; }
	const Norv::Sprite2DInstanceData& GetKnob() const { return myKnob; }
	const Norv::Sprite2DInstanceData& GetBar() const { return myBar; }

private:
	float GetLeftEnd() const;
	float GetRightEnd() const;
	void PlaceKnob();

	std::uint8_t myState = WidgetState::Idle;
	float myValue = 0.0f;
	bool myIsDragging = false;
	Norv::SpriteSharedData myBarData;
	Norv::Sprite2DInstanceData myBar;
	Norv::SpriteSharedData myKnobData;
	Norv::Sprite2DInstanceData myKnob;
};
