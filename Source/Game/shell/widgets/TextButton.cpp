#include "shell/widgets/TextButton.h"

#include "shell/widgets/MenuSprites.h"

#include <algorithm>

TextButton::TextButton(std::uint8_t anActivationMode, const std::string& aFontPath, std::uint32_t aFontSize)
	: myActivationMode(anActivationMode)
	, myLabel(aFontPath, aFontSize, 0)
{
	myLabel.SetPivot({ 0.5f, 0.5f });
	myLabel.SetColor(LABEL_COLOR);
}

void TextButton::Setup(const std::string& aLabel, Norv::Vector2<float> aPosition)
{
	StartLayout(aPosition);
	myLabel.SetText(aLabel);
	myLabel.SetScale(Menu::GetReferenceScale().x);
	myLabel.SetPosition(myPosition);
	myLabel.SetColor(LABEL_COLOR);
	myRestScale = myLabel.GetScale();
	myStartScale = myRestScale;
}

void TextButton::Update(float aDeltaTime)
{
	const Norv::Vector2<float> someHalfSize = GetSize() * 0.5f;
	const bool someIsHovered = IsWithin(Menu::GetMousePosition(), myPosition, someHalfSize);

	// Keyed on the state the previous update left.
	if (myState == WidgetState::Hovered && !myIsHovering)
		StartScaleAnimation(true);
	else if (myState != WidgetState::Hovered && myIsHovering)
		StartScaleAnimation(false);
	myHoverTimer += aDeltaTime;
	const float someProgress = std::clamp(myHoverTimer * HOVER_RATE, 0.0f, 1.0f);
	const float someGoal = myIsHovering ? myRestScale * HOVER_GROWTH : myRestScale;
	myLabel.SetScale((1.0f - someProgress) * myStartScale + someProgress * someGoal);

	if (!someIsHovered && !myIsSelected)
		myState = WidgetState::Idle;
	else if (someIsHovered && IsActivatedByMouse(myActivationMode))
		myState = WidgetState::Pressed;
	else
		myState = WidgetState::Hovered;
}

void TextButton::OnResize()
{
	Norv::Vector2<float> someRatio;
	if (!TakeResizeRatio(someRatio))
		return;
	myLabel.SetScale(myLabel.GetScale() * someRatio.x);
	myRestScale = myLabel.GetScale();
	myLabel.SetPosition(myPosition);
}

void TextButton::StartScaleAnimation(bool aIsHovering)
{
	myStartScale = myLabel.GetScale();
	myIsHovering = aIsHovering;
	myHoverTimer = 0.0f;
}
