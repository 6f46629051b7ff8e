#include "input/XInputController.h"

#include <algorithm>
#include <cmath>

namespace
{
	constexpr float THUMB_MAX = 32767.0f;
	constexpr float TRIGGER_MAX = 255.0f;
	constexpr float MOTOR_MAX = 65535.0f;

	// A raw axis as -1..1 with the dead zone cut out and the rest stretched back to 1.
	float ApplyDeadZone(SHORT aRaw, float aDeadZone)
	{
		const float someValue = std::max(-1.0f, static_cast<float>(aRaw) / THUMB_MAX);
		const float someMagnitude = std::fabs(someValue);
		if (someMagnitude < aDeadZone || someMagnitude == 0.0f || aDeadZone >= 1.0f)
			return 0.0f;
		// Divided rather than multiplied by the inverse, so full deflection is exactly 1.
		return std::copysign((someMagnitude - aDeadZone) / (1.0f - aDeadZone), someValue);
	}
}

namespace Norv
{
	bool XInputController::Connect()
	{
		for (DWORD someIndex = 0; someIndex < XUSER_MAX_COUNT; ++someIndex)
		{
			XINPUT_STATE someState{};
			if (XInputGetState(someIndex, &someState) == ERROR_SUCCESS)
			{
				myPadIndex = someIndex;
				return true;
			}
		}
		myPadIndex = NO_PAD;
		return false;
	}

	bool XInputController::Update()
	{
		if (myPadIndex == NO_PAD && !Connect())
			return false;

		const DWORD somePreviousPacket = myState.dwPacketNumber;
		myState = {};
		if (XInputGetState(myPadIndex, &myState) != ERROR_SUCCESS)
		{
			myPadIndex = NO_PAD;
			return false;
		}

		const XINPUT_GAMEPAD& somePad = myState.Gamepad;
		myLeftStickX = ApplyDeadZone(somePad.sThumbLX, myXDeadZone);
		myLeftStickY = ApplyDeadZone(somePad.sThumbLY, myYDeadZone);
		myRightStickX = ApplyDeadZone(somePad.sThumbRX, myXDeadZone);
		myRightStickY = ApplyDeadZone(somePad.sThumbRY, myYDeadZone);
		myLeftTrigger = static_cast<float>(somePad.bLeftTrigger) / TRIGGER_MAX;
		myRightTrigger = static_cast<float>(somePad.bRightTrigger) / TRIGGER_MAX;

		const bool someHasInput = myLeftStickX != 0.0f || myLeftStickY != 0.0f || myRightStickX != 0.0f || myRightStickY != 0.0f
			|| myLeftTrigger > 0.0f || myRightTrigger > 0.0f || somePad.wButtons != 0;
		myIsActive = myState.dwPacketNumber != somePreviousPacket && someHasInput;
		return true;
	}

	void XInputController::SetVibration(float aLeft, float aRight)
	{
		XINPUT_STATE someState{};
		if (myPadIndex == NO_PAD || XInputGetState(myPadIndex, &someState) != ERROR_SUCCESS)
			return;
		XINPUT_VIBRATION someVibration{};
		someVibration.wLeftMotorSpeed = static_cast<WORD>(std::lround(std::clamp(aLeft, 0.0f, 1.0f) * MOTOR_MAX));
		someVibration.wRightMotorSpeed = static_cast<WORD>(std::lround(std::clamp(aRight, 0.0f, 1.0f) * MOTOR_MAX));
		XInputSetState(myPadIndex, &someVibration);
	}

	void XInputController::SetDeadZones(float anXDeadZone, float aYDeadZone)
	{
		myXDeadZone = anXDeadZone;
		myYDeadZone = aYDeadZone;
	}
}

