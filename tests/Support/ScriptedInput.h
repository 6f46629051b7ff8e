#pragma once
// Scripted input for stepped worlds: the actions held in a frame become one
// injected pad reading, which the input mapper reads like a real pad.
#include "PlayScript.h"

#include "shell/InputMapper.h"
#include "xinput/XInput.h"

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
		Playthrough::ActionMask someHeld = 0;
		for (InputAction someAction : anInput.myHeld)
			someHeld |= Playthrough::ActionMask{ 1 } << static_cast<unsigned>(someAction);
		return Playthrough::ToPadReading(someHeld, anInput.myLeftStick);
	}
}
