#pragma once
// Scripted input for stepped worlds: the actions held in a frame become one
// injected pad reading, which the input mapper reads like a real pad.
#include "shell/InputMapper.h"
#include "xinput/XInput.h"

#include <cmath>
#include <initializer_list>
#include <vector>

namespace NorvTest
{
	struct FrameInput
	{
		FrameInput() = default;
		FrameInput(std::initializer_list<InputAction> aHeld, Norv::Vector2<float> aLeftStick = {}) : myHeld(aHeld), myLeftStick(aLeftStick) {}

		std::vector<InputAction> myHeld;
		Norv::Vector2<float> myLeftStick; // -1..1
	};

	inline XINPUT_GAMEPAD ToPadReading(const FrameInput& anInput)
	{
		XINPUT_GAMEPAD someReading{};
		for (InputAction someAction : anInput.myHeld)
		{
			switch (someAction)
			{
			case InputAction::Up: someReading.wButtons |= XINPUT_GAMEPAD_DPAD_UP; break;
			case InputAction::Down: someReading.wButtons |= XINPUT_GAMEPAD_DPAD_DOWN; break;
			case InputAction::Left: someReading.wButtons |= XINPUT_GAMEPAD_DPAD_LEFT; break;
			case InputAction::Right: someReading.wButtons |= XINPUT_GAMEPAD_DPAD_RIGHT; break;
			case InputAction::Jump: someReading.wButtons |= XINPUT_GAMEPAD_A; break;
			case InputAction::Attack: someReading.wButtons |= XINPUT_GAMEPAD_X; break;
			case InputAction::Dash: someReading.wButtons |= XINPUT_GAMEPAD_B; break;
			case InputAction::Climb: someReading.wButtons |= XINPUT_GAMEPAD_LEFT_SHOULDER; break;
			case InputAction::Pause: someReading.wButtons |= XINPUT_GAMEPAD_START; break;
			default: break;
			}
		}
		someReading.sThumbLX = static_cast<SHORT>(std::lround(anInput.myLeftStick.x * 32767.0f));
		someReading.sThumbLY = static_cast<SHORT>(std::lround(anInput.myLeftStick.y * 32767.0f));
		return someReading;
	}
}
