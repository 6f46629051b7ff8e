#pragma once
// One XInput game pad: finds a connected pad, polls it once a frame, and turns
// raw sticks and triggers into floats with dead zones.
#include "kernel/WindowsTypes.h"
#include "xinput/XInput.h"

#include <cstdint>

namespace Norv
{
	class XInputController
	{
	public:
		static constexpr DWORD NO_PAD = 0xFFFFFFFF;

		// Keeps the first of pads 0-3 that answers; false (and no pad) when none does.
		bool Connect();
		// One poll; false when no pad is connected (the previous values then stay).
		bool Update();
		bool IsButtonDown(WORD aMask) const { return (myState.Gamepad.wButtons & aMask) != 0; }
		// Motor speeds 0..1.
		void SetVibration(float aLeft, float aRight);

		void SetDeadZones(float anXDeadZone, float aYDeadZone);
		bool IsActive() const { return myIsActive; }
		DWORD GetPadIndex() const { return myPadIndex; }

		// -1..1 after the dead zones, y up.
		float myLeftStickX = 0.0f;
		float myLeftStickY = 0.0f;
		float myRightStickX = 0.0f;
		float myRightStickY = 0.0f;
		// 0..1.
		float myLeftTrigger = 0.0f;
		float myRightTrigger = 0.0f;

	private:
		bool myIsActive = false;
		DWORD myPadIndex = NO_PAD;
		XINPUT_STATE myState{};
		float myXDeadZone = 0.0f;
		float myYDeadZone = 0.0f;
	};
}
