#pragma once
// Stand-in for XInput 9.1.0: the state and vibration of up to four pads.
// Keeps: slots 0-3 filled in the order pads are plugged in (a freed slot is
// reused), hot-plug, the XINPUT_GAMEPAD_* button masks, thumbsticks in
// -32768..32767 with y up, triggers 0..255, a packet number that changes
// whenever the state changes, vibration of the two motors. A button pressed and
// released between two reads is read down once, if SDL's events brought its press.
// Does not keep: battery, keystroke and capability queries, headset audio.
// Vibration runs at most SDL's longest rumble (about a minute) per call.
// Built on SDL2's game controller API. A test seam replaces the pads with
// injected states.
#include "kernel/WindowsTypes.h"

#include <optional>

constexpr DWORD XUSER_MAX_COUNT = 4;
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD ERROR_BAD_ARGUMENTS = 160;
constexpr DWORD ERROR_DEVICE_NOT_CONNECTED = 1167;

constexpr WORD XINPUT_GAMEPAD_DPAD_UP = 0x0001;
constexpr WORD XINPUT_GAMEPAD_DPAD_DOWN = 0x0002;
constexpr WORD XINPUT_GAMEPAD_DPAD_LEFT = 0x0004;
constexpr WORD XINPUT_GAMEPAD_DPAD_RIGHT = 0x0008;
constexpr WORD XINPUT_GAMEPAD_START = 0x0010;
constexpr WORD XINPUT_GAMEPAD_BACK = 0x0020;
constexpr WORD XINPUT_GAMEPAD_LEFT_THUMB = 0x0040;
constexpr WORD XINPUT_GAMEPAD_RIGHT_THUMB = 0x0080;
constexpr WORD XINPUT_GAMEPAD_LEFT_SHOULDER = 0x0100;
constexpr WORD XINPUT_GAMEPAD_RIGHT_SHOULDER = 0x0200;
constexpr WORD XINPUT_GAMEPAD_A = 0x1000;
constexpr WORD XINPUT_GAMEPAD_B = 0x2000;
constexpr WORD XINPUT_GAMEPAD_X = 0x4000;
constexpr WORD XINPUT_GAMEPAD_Y = 0x8000;

struct XINPUT_GAMEPAD
{
	WORD wButtons;
	BYTE bLeftTrigger;
	BYTE bRightTrigger;
	SHORT sThumbLX;
	SHORT sThumbLY;
	SHORT sThumbRX;
	SHORT sThumbRY;

	bool operator==(const XINPUT_GAMEPAD&) const = default;
};

struct XINPUT_STATE
{
	DWORD dwPacketNumber;
	XINPUT_GAMEPAD Gamepad;
};

struct XINPUT_VIBRATION
{
	WORD wLeftMotorSpeed;
	WORD wRightMotorSpeed;
};

// ERROR_SUCCESS with the pad's state, ERROR_DEVICE_NOT_CONNECTED for an empty slot.
DWORD XInputGetState(DWORD anIndex, XINPUT_STATE* aState);
// Left is the low-frequency motor, right the high-frequency one.
DWORD XInputSetState(DWORD anIndex, XINPUT_VIBRATION* aVibration);

namespace Platform
{
	// Test seam: while on, the slots hold only what is injected (all empty at first)
	// and SDL's controllers are not read. Turning it off empties the injected slots.
	void SetGamepadInjection(bool anIsOn);
	// Plugs a pad with this reading into the slot; nothing unplugs it.
	void InjectGamepad(DWORD anIndex, const std::optional<XINPUT_GAMEPAD>& aReading);
	// The last vibration set on an injected slot.
	XINPUT_VIBRATION GetInjectedVibration(DWORD anIndex);
}
