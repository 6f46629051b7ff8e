#include "input/InputManager.h"

#include "win32/Win32.h"

namespace
{
	constexpr USHORT USAGE_PAGE_GENERIC_DESKTOP = 1;
	constexpr USHORT USAGE_MOUSE = 2;
	constexpr UINT RAW_INPUT_BYTES = 48;

	// One buffer for every instance: messages are read on the main thread only.
	alignas(RAWINPUT) std::uint8_t ourRawInputBuffer[RAW_INPUT_BYTES];
	static_assert(sizeof(RAWINPUT) == RAW_INPUT_BYTES);
}

namespace Norv
{
	InputManager::InputManager(HWND aWindow)
		: myWindow(aWindow)
	{
		RAWINPUTDEVICE someMouse{};
		someMouse.usUsagePage = USAGE_PAGE_GENERIC_DESKTOP;
		someMouse.usUsage = USAGE_MOUSE;
		someMouse.dwFlags = RIDEV_INPUTSINK;
		someMouse.hwndTarget = aWindow;
		RegisterRawInputDevices(&someMouse, 1, sizeof(someMouse));
	}

	bool InputManager::UpdateEvents(UINT aMessage, WPARAM aWParam, LPARAM aLParam)
	{
		switch (aMessage)
		{
		case WM_KEYDOWN:
		case WM_SYSKEYDOWN:
			if (IsValidKey(static_cast<int>(aWParam)))
				SetKeyDown(static_cast<std::size_t>(aWParam));
			return true;
		case WM_KEYUP:
		case WM_SYSKEYUP:
			if (IsValidKey(static_cast<int>(aWParam)))
				myLiveKeys.reset(aWParam);
			return true;
		case WM_LBUTTONDOWN: SetKeyDown(VK_LBUTTON); return true;
		case WM_LBUTTONUP: myLiveKeys.reset(VK_LBUTTON); return true;
		case WM_RBUTTONDOWN: SetKeyDown(VK_RBUTTON); return true;
		case WM_RBUTTONUP: myLiveKeys.reset(VK_RBUTTON); return true;
		case WM_MBUTTONDOWN: SetKeyDown(VK_MBUTTON); return true;
		case WM_MBUTTONUP: myLiveKeys.reset(VK_MBUTTON); return true;
		case WM_XBUTTONDOWN:
			SetKeyDown(GET_XBUTTON_WPARAM(aWParam) == XBUTTON1 ? VK_XBUTTON1 : VK_XBUTTON2);
			return true;
		case WM_XBUTTONUP:
			myLiveKeys.reset(GET_XBUTTON_WPARAM(aWParam) == XBUTTON1 ? VK_XBUTTON1 : VK_XBUTTON2);
			return true;
		case WM_MOUSEWHEEL:
			myLiveWheel = static_cast<float>(GET_WHEEL_DELTA_WPARAM(aWParam));
			return true;
		case WM_MOUSEMOVE:
		{
			RECT someClient{};
			GetClientRect(myWindow, &someClient);
			myLiveMousePosition.x = GET_X_LPARAM(aLParam);
			myLiveMousePosition.y = someClient.bottom - GET_Y_LPARAM(aLParam) - someClient.top;
			return true;
		}
		case WM_INPUT:
		{
			UINT someSize = RAW_INPUT_BYTES;
			if (GetRawInputData(reinterpret_cast<HRAWINPUT>(aLParam), RID_INPUT, ourRawInputBuffer, &someSize, sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1))
			{
				const auto* someInput = reinterpret_cast<const RAWINPUT*>(ourRawInputBuffer);
				if (someInput->header.dwType == RIM_TYPEMOUSE)
				{
					myLiveMouseDelta.x += someInput->data.mouse.lLastX;
					myLiveMouseDelta.y += someInput->data.mouse.lLastY;
				}
			}
			return true;
		}
		case WM_KILLFOCUS:
			// Releases that happen while another window has the focus never arrive.
			myLiveKeys.reset();
			return false;
		default:
			return false;
		}
	}

	void InputManager::Update()
	{
		myFrameMouseDelta = myLiveMouseDelta;
		myLiveMouseDelta = {};

		myPreviousMousePosition = myFrameMousePosition;
		myFrameMousePosition = myLiveMousePosition;

		myWheelDirection = myLiveWheel > 0.0f ? 1.0f : (myLiveWheel < 0.0f ? -1.0f : 0.0f);
		myLiveWheel = 0.0f;

		myPreviousKeys = myFrameKeys;
		myFrameKeys = myLiveKeys | myPressedKeys | myTappedKeys;
		myTappedKeys = myPressedKeys & ~myLiveKeys;
		myPressedKeys.reset();

		myHasChanged = myPreviousKeys != myFrameKeys || myPreviousMousePosition != myFrameMousePosition;
	}

	void InputManager::SetKeyDown(std::size_t aKey)
	{
		myLiveKeys.set(aKey);
		myPressedKeys.set(aKey);
	}

	bool InputManager::IsKeyHeld(int aKey) const
	{
		return IsValidKey(aKey) && myFrameKeys.test(static_cast<std::size_t>(aKey)) && myPreviousKeys.test(static_cast<std::size_t>(aKey));
	}

	bool InputManager::IsKeyPressed(int aKey) const
	{
		return IsValidKey(aKey) && myFrameKeys.test(static_cast<std::size_t>(aKey)) && !myPreviousKeys.test(static_cast<std::size_t>(aKey));
	}

	Vector2<float> InputManager::GetMousePosition() const
	{
		return Vector2<float>(myFrameMousePosition);
	}

	Vector2<float> InputManager::GetMouseDelta() const
	{
		return Vector2<float>(myFrameMouseDelta);
	}

	void InputManager::SetMousePosition(int aX, int aY)
	{
		SetCursorPos(aX, aY);
	}

	void InputManager::HideCursor()
	{
		while (::ShowCursor(FALSE) >= 0)
		{
		}
	}

	void InputManager::ShowCursor()
	{
		while (::ShowCursor(TRUE) < 0)
		{
		}
	}
}
