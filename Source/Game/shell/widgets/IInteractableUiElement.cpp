#include "shell/widgets/IInteractableUiElement.h"

#include "shell/InputMapper.h"
#include "shell/widgets/MenuSprites.h"

void IInteractableUiElement::StartLayout(Norv::Vector2<float> aPosition)
{
	myPosition = aPosition;
	myWindowSize = Menu::GetRenderSize();
}

bool IInteractableUiElement::TakeResizeRatio(Norv::Vector2<float>& aRatio)
{
	const Norv::Vector2<float> someSize = Menu::GetRenderSize();
	if (someSize.x <= 0.0f || someSize.y <= 0.0f || myWindowSize.x <= 0.0f || myWindowSize.y <= 0.0f)
		return false;
	aRatio = { someSize.x / myWindowSize.x, someSize.y / myWindowSize.y };
	myWindowSize = someSize;
	myPosition = { myPosition.x * aRatio.x, myPosition.y * aRatio.y };
	return true;
}

bool IInteractableUiElement::IsActivatedByMouse(std::uint8_t anActivationMode)
{
	switch (anActivationMode)
	{
	case ActivationMode::OnRelease: return IsMouseReleased();
	case ActivationMode::OnPress: return IsMousePressed();
	case ActivationMode::WhileDown: return IsMouseDown();
	default: return false;
	}
}

bool IInteractableUiElement::IsMouseDown()
{
	const InputMapper* someInput = InputMapper::GetInstance();
	return someInput && someInput->IsDown(InputAction::MouseLeft);
}

bool IInteractableUiElement::IsMousePressed()
{
	const InputMapper* someInput = InputMapper::GetInstance();
	return someInput && someInput->IsPressed(InputAction::MouseLeft);
}

bool IInteractableUiElement::IsMouseReleased()
{
	const InputMapper* someInput = InputMapper::GetInstance();
	return someInput && someInput->IsReleased(InputAction::MouseLeft);
}

bool IInteractableUiElement::IsWithin(Norv::Vector2<float> aPoint, Norv::Vector2<float> aCentre, Norv::Vector2<float> aHalfSize)
{
	return aPoint.x >= aCentre.x - aHalfSize.x && aPoint.x <= aCentre.x + aHalfSize.x && aPoint.y >= aCentre.y - aHalfSize.y && aPoint.y <= aCentre.y + aHalfSize.y;
}
