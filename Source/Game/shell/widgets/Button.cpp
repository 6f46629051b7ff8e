#include "shell/widgets/Button.h"

#include "shell/widgets/MenuSprites.h"

#include "engine/Engine.h"

#include <cmath>

Button::Button(std::uint8_t anActivationMode, const std::string& aFontPath, std::uint32_t aFontSize)
	: myActivationMode(anActivationMode)
	, myLabel(aFontPath, aFontSize, 0)
{
	myPicture.myPivot = { 0.5f, 0.5f };
	myLabel.SetPivot({ 0.5f, 0.5f });
}

void Button::Setup(const std::string& aTexturePath, Norv::Vector2<float> aPosition)
{
	StartLayout(aPosition);
	myPictureData.myColorTexture = Menu::LoadTexture(aTexturePath);
	const Norv::Vector2<float> someScale = Menu::GetReferenceScale();
	const Norv::Vector2<float> someTextureSize = Menu::GetTextureSize(myPictureData.myColorTexture);
	myPicture.mySize = { someTextureSize.x * someScale.x, someTextureSize.y * someScale.y };
	myBaseSize = myPicture.mySize;
	myPicture.myPosition = myPosition;
	myLabel.SetPosition(myPosition);
	myLabel.SetScale(someScale.x);
	ApplyColor(NORMAL_COLOR);
}

void Button::Render()
{
	DrawSpriteInstance(myPictureData, myPicture);
	if (!myLabel.GetText().empty())
		myLabel.Render();
}

void Button::Update(float)
{
	const Norv::Vector2<float> someMouse = Menu::GetMousePosition();
	const bool someIsOver = IsWithin(someMouse, myPicture.myPosition, myPicture.mySize * 0.5f);

	// Eases towards the held size with a time constant of 1 / SCALE_RATE.
	const float someTarget = (IsMouseDown() && someIsOver) ? PRESSED_SCALE : 1.0f;
	const Norv::Engine* someEngine = Norv::Engine::GetInstance();
	const float someKeep = std::exp(-SCALE_RATE * (someEngine ? someEngine->GetDeltaTime() : 0.0f));
	const float someCurrent = myBaseSize.x != 0.0f ? myPicture.mySize.x / myBaseSize.x : 1.0f;
	const float someScale = someCurrent * someKeep + someTarget * (1.0f - someKeep);
	myPicture.mySize = myBaseSize * someScale;

	const bool someIsHovered = IsWithin(someMouse, myPicture.myPosition, myPicture.mySize * 0.5f);
	if (!someIsHovered && !myIsSelected)
	{
		myState = WidgetState::Idle;
		ApplyColor(NORMAL_COLOR);
	}
	else if (someIsHovered && IsActivatedByMouse(myActivationMode))
	{
		myState = WidgetState::Pressed;
		ApplyColor(PRESSED_COLOR);
	}
	else
	{
		myState = WidgetState::Hovered;
		ApplyColor(HOVERED_COLOR);
	}
}

void Button::OnResize()
{
	Norv::Vector2<float> someRatio;
	if (!TakeResizeRatio(someRatio))
		return;
	myPicture.mySize = { myPicture.mySize.x * someRatio.x, myPicture.mySize.y * someRatio.y };
	myBaseSize = { myBaseSize.x * someRatio.x, myBaseSize.y * someRatio.y };
	myLabel.SetScale(myLabel.GetScale() * someRatio.x);
	myPicture.myPosition = myPosition;
	myLabel.SetPosition(myPosition);
}

void Button::SetPressed()
{
	myState = WidgetState::Pressed;
	ApplyColor(PRESSED_COLOR);
}

void Button::ApplyColor(const Norv::Color& aColor)
{
	myPicture.myColor = aColor;
	myLabel.SetColor(aColor);
}
