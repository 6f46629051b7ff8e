#include "shell/widgets/Slider.h"

#include "shell/widgets/MenuSprites.h"

#include "engine/Engine.h"

#include <algorithm>
#include <cmath>

Slider::Slider()
{
	myBar.myPivot = { 0.5f, 0.5f };
	myKnob.myPivot = { 0.5f, 0.5f };
}

void Slider::Setup(const std::string& aBarPath, const std::string& aKnobPath, Norv::Vector2<float> aPosition)
{
	StartLayout(aPosition);
	const float someScale = Menu::GetReferenceScale().x;
	myBarData.myColorTexture = Menu::LoadTexture(aBarPath);
	myKnobData.myColorTexture = Menu::LoadTexture(aKnobPath);
	myBar.mySize = Menu::GetTextureSize(myBarData.myColorTexture);
	myKnob.mySize = Menu::GetTextureSize(myKnobData.myColorTexture);
	myBar.mySizeScale = { someScale, someScale };
	myKnob.mySizeScale = { someScale, someScale };
	myBar.myPosition = myPosition;
	myKnob.myColor = NORMAL_COLOR;
	PlaceKnob();
}

void Slider::SetValue(float aValue)
{
	myValue = std::clamp(aValue, 0.0f, 1.0f);
	PlaceKnob();
}

void Slider::Render()
{
	DrawSpriteInstance(myBarData, myBar);
	DrawSpriteInstance(myKnobData, myKnob);
}

void Slider::Update(float)
{
	const Norv::Vector2<float> someMouse = Menu::GetMousePosition();
	// The knob's hit box uses its x scale on both axes.
	const Norv::Vector2<float> someKnobHalf = myKnob.mySize * (myKnob.mySizeScale.x * 0.5f);
	const bool someIsOverKnob = IsWithin(someMouse, myKnob.myPosition, someKnobHalf);
	if (IsMousePressed() && !myIsDragging && someIsOverKnob)
		myIsDragging = true;
	if (IsMouseReleased())
		myIsDragging = false;

	if (myIsDragging)
	{
		const float someLeft = GetLeftEnd();
		const float someRight = GetRightEnd();
		const float someTarget = std::clamp(someMouse.x, someLeft, someRight);
		const Norv::Engine* someEngine = Norv::Engine::GetInstance();
		const float someKeep = std::exp(-DRAG_RATE * (someEngine ? someEngine->GetDeltaTime() : 0.0f));
		myKnob.myPosition.x = myKnob.myPosition.x * someKeep + someTarget * (1.0f - someKeep);
		const float someSpan = someRight - someLeft > 0.0f ? someRight - someLeft : 1.0f;
		myValue = std::clamp((myKnob.myPosition.x - someLeft) / someSpan, 0.0f, 1.0f);
		myState = WidgetState::Pressed;
		myKnob.myColor = DRAGGED_COLOR;
		return;
	}
	const bool someIsHovered = someIsOverKnob || myIsSelected;
	myState = someIsHovered ? WidgetState::Hovered : WidgetState::Idle;
	myKnob.myColor = someIsHovered ? HOVERED_COLOR : NORMAL_COLOR;
}

void Slider::OnResize()
{
	Norv::Vector2<float> someRatio;
	if (!TakeResizeRatio(someRatio))
		return;
	myBar.mySize = { myBar.mySize.x * someRatio.x, myBar.mySize.y * someRatio.y };
	myKnob.mySize = { myKnob.mySize.x * someRatio.x, myKnob.mySize.y * someRatio.y };
	myBar.myPosition = myPosition;
	PlaceKnob();
}

Norv::Vector2<float> Slider::GetSize() const
{
	return { myBar.mySize.x * myBar.mySizeScale.x, myBar.mySize.y * myBar.mySizeScale.y };
}

float Slider::GetLeftEnd() const
{
	return myBar.myPosition.x - GetSize().x * 0.5f;
}

float Slider::GetRightEnd() const
{
	return myBar.myPosition.x + GetSize().x * 0.5f;
}

void Slider::PlaceKnob()
{
	myKnob.myPosition = { GetLeftEnd() + myValue * (GetRightEnd() - GetLeftEnd()), myBar.myPosition.y };
}
