#pragma once
// A menu widget: the menu updates, draws, re-lays out and queries it; the widget
// reads the mouse itself from the game's input actions. Keyboard and pad
// selection is the menu's business; a widget only shows it.
#include "Math/Vector.h"

#include <cstdint>

// Widget states GetState reports.
namespace WidgetState
{
	constexpr std::uint8_t Idle = 0;
	constexpr std::uint8_t Hovered = 1; // or selected
	constexpr std::uint8_t Pressed = 2; // activated this frame
}

// When a mouse click over a button activates it.
namespace ActivationMode
{
	constexpr std::uint8_t OnRelease = 1;
	constexpr std::uint8_t OnPress = 2;
	constexpr std::uint8_t WhileDown = 3;
}

class IInteractableUiElement
{
public:
	virtual ~IInteractableUiElement() = default;
	virtual void Render() = 0;
	virtual void Update(float aDeltaTime) = 0;
	// Follows a change of the render size proportionally.
	virtual void OnResize() = 0;
	virtual std::uint8_t GetState() const = 0;
	virtual Norv::Vector2<float> GetSize() const = 0;
	virtual void Decrease() {}
	virtual void Increase() {}
	virtual void SetPressed() {}

	void SetSelected(bool aSelected) { myIsSelected = aSelected; }
	bool IsSelected() const { return myIsSelected; }
	const Norv::Vector2<float>& GetPosition() const { return myPosition; }

protected:
	// Stores the render size and the position at layout.
	void StartLayout(Norv::Vector2<float> aPosition);
	// The ratio of the render size to the stored one, which it then replaces, and
	// the position scaled by it. False (nothing changed) when either size is zero,
	// as for a minimised window: the layout keeps its last real size.
	bool TakeResizeRatio(Norv::Vector2<float>& aRatio);
	// Whether the mouse button condition of anActivationMode holds this frame.
	static bool IsActivatedByMouse(std::uint8_t anActivationMode);
	static bool IsMouseDown();
	static bool IsMousePressed();
	static bool IsMouseReleased();
	// Whether aPoint lies within aCentre +/- aHalfSize on both axes (bounds included).
	static bool IsWithin(Norv::Vector2<float> aPoint, Norv::Vector2<float> aCentre, Norv::Vector2<float> aHalfSize);

	Norv::Vector2<float> myWindowSize;
	Norv::Vector2<float> myPosition;
	bool myIsSelected = false;
};
