#pragma once
// Keyboard and mouse state from window messages: a live state written while
// messages are dispatched, and this frame's and the previous frame's snapshots.
// A key or button pressed and released again between two snapshots is down in
// the next two, as a key held over those frames would be, so a tap quicker than a
// frame is neither lost nor counted twice.
// Mouse buttons are keys under their virtual-key codes (VK_LBUTTON ...).
#include "Math/Vector.h"
#include "kernel/WindowsTypes.h"

#include <bitset>
#include <cstdint>

namespace Norv
{
	class InputManager
	{
	public:
		static constexpr std::size_t KEY_COUNT = 256;

		// Registers raw mouse input for aWindow.
		explicit InputManager(HWND aWindow);

		// True when the message was keyboard or mouse input and was taken in.
		bool UpdateEvents(UINT aMessage, WPARAM aWParam, LPARAM aLParam);
		// Takes this frame's snapshot; once a frame, before the game reads input.
		void Update();

		// Down in this frame's snapshot and in the previous one.
		bool IsKeyHeld(int aKey) const;
		// Down in this frame's snapshot and up in the previous one.
		bool IsKeyPressed(int aKey) const;
		// Client pixels, y counted upward from the bottom edge.
		Vector2<float> GetMousePosition() const;
		// Raw mouse motion summed over this frame.
		Vector2<float> GetMouseDelta() const;
		// +1, -1 or 0: the sign of the frame's last wheel message.
		float GetWheelDirection() const { return myWheelDirection; }
		// Keys or mouse position differ from the previous frame.
		bool HasChanged() const { return myHasChanged; }

		// Screen coordinates.
		void SetMousePosition(int aX, int aY);
		void HideCursor();
		void ShowCursor();

	private:
		using KeySet = std::bitset<KEY_COUNT>;

		static bool IsValidKey(int aKey) { return aKey >= 0 && aKey < static_cast<int>(KEY_COUNT); }
		void SetKeyDown(std::size_t aKey);

		KeySet myLiveKeys;
		KeySet myPressedKeys;    // went down since the last snapshot
		KeySet myTappedKeys;     // went down and up again before the last snapshot
		KeySet myFrameKeys;
		KeySet myPreviousKeys;
		HWND myWindow = nullptr;
		Vector2<int> myLiveMousePosition;
		Vector2<int> myFrameMousePosition;
		Vector2<int> myPreviousMousePosition;
		Vector2<int> myLiveMouseDelta;
		Vector2<int> myFrameMouseDelta;
		float myLiveWheel = 0.0f;
		float myWheelDirection = 0.0f;
		bool myHasChanged = false;
	};
}
