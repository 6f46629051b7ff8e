#include "xinput/XInput.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace
{
	// SDL caps one rumble call at this length; XInput vibration has no end.
	constexpr Uint32 RUMBLE_DURATION_MS = 0xFFFF;
	constexpr int SDL_AXIS_MAX = 32767;
	constexpr int TRIGGER_MAX = 255;

	constexpr std::pair<SDL_GameControllerButton, WORD> BUTTONS[] = {
		{ SDL_CONTROLLER_BUTTON_DPAD_UP, XINPUT_GAMEPAD_DPAD_UP }, { SDL_CONTROLLER_BUTTON_DPAD_DOWN, XINPUT_GAMEPAD_DPAD_DOWN },
		{ SDL_CONTROLLER_BUTTON_DPAD_LEFT, XINPUT_GAMEPAD_DPAD_LEFT }, { SDL_CONTROLLER_BUTTON_DPAD_RIGHT, XINPUT_GAMEPAD_DPAD_RIGHT },
		{ SDL_CONTROLLER_BUTTON_START, XINPUT_GAMEPAD_START }, { SDL_CONTROLLER_BUTTON_BACK, XINPUT_GAMEPAD_BACK },
		{ SDL_CONTROLLER_BUTTON_LEFTSTICK, XINPUT_GAMEPAD_LEFT_THUMB }, { SDL_CONTROLLER_BUTTON_RIGHTSTICK, XINPUT_GAMEPAD_RIGHT_THUMB },
		{ SDL_CONTROLLER_BUTTON_LEFTSHOULDER, XINPUT_GAMEPAD_LEFT_SHOULDER }, { SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, XINPUT_GAMEPAD_RIGHT_SHOULDER },
		{ SDL_CONTROLLER_BUTTON_A, XINPUT_GAMEPAD_A }, { SDL_CONTROLLER_BUTTON_B, XINPUT_GAMEPAD_B },
		{ SDL_CONTROLLER_BUTTON_X, XINPUT_GAMEPAD_X }, { SDL_CONTROLLER_BUTTON_Y, XINPUT_GAMEPAD_Y },
	};

	struct Slot
	{
		SDL_GameController* myController = nullptr;
		WORD myPressedButtons = 0; // went down since the slot was last read
		std::optional<XINPUT_GAMEPAD> myInjected;
		XINPUT_VIBRATION myInjectedVibration{};
		XINPUT_GAMEPAD myLastReading{};
		DWORD myPacketNumber = 0;
	};

	struct PadState
	{
		std::array<Slot, XUSER_MAX_COUNT> mySlots;
		bool myIsInjecting = false;
		bool myIsSdlReady = false;
	};

	PadState& Pads()
	{
		static PadState ourPads;
		return ourPads;
	}

	Slot* FindSlot(SDL_JoystickID anId);

	// A button that goes down and up again between two reads is still read down once.
	int LatchPress(void*, SDL_Event* anEvent)
	{
		if (anEvent->type != SDL_CONTROLLERBUTTONDOWN)
			return 0;
		Slot* someSlot = FindSlot(anEvent->cbutton.which);
		for (const auto& [someButton, someMask] : BUTTONS)
			if (someSlot && someButton == anEvent->cbutton.button)
				someSlot->myPressedButtons |= someMask;
		return 0;
	}

	bool EnsureControllers()
	{
		PadState& somePads = Pads();
		if (!somePads.myIsSdlReady)
		{
			if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
			{
				std::fprintf(stderr, "Gamepads are unavailable: %s\n", SDL_GetError());
				return false;
			}
			somePads.myIsSdlReady = true;
			SDL_AddEventWatch(&LatchPress, nullptr);
		}
		return true;
	}

	Slot* FindSlot(SDL_JoystickID anId)
	{
		for (Slot& someSlot : Pads().mySlots)
			if (someSlot.myController && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(someSlot.myController)) == anId)
				return &someSlot;
		return nullptr;
	}

	bool IsOpen(SDL_JoystickID anId)
	{
		return FindSlot(anId) != nullptr;
	}

	// Frees the slots of unplugged pads and puts newly plugged ones into free slots.
	void RefreshControllers()
	{
		SDL_GameControllerUpdate();
		auto& someSlots = Pads().mySlots;
		for (Slot& someSlot : someSlots)
			if (someSlot.myController && !SDL_GameControllerGetAttached(someSlot.myController))
			{
				SDL_GameControllerClose(someSlot.myController);
				someSlot = Slot();
			}
		for (int someIndex = 0; someIndex < SDL_NumJoysticks(); ++someIndex)
		{
			if (!SDL_IsGameController(someIndex) || IsOpen(SDL_JoystickGetDeviceInstanceID(someIndex)))
				continue;
			auto someFree = std::find_if(someSlots.begin(), someSlots.end(), [](const Slot& aSlot) { return aSlot.myController == nullptr; });
			if (someFree == someSlots.end())
				return;
			someFree->myController = SDL_GameControllerOpen(someIndex);
		}
	}

	SHORT ToThumb(Sint16 aValue, bool anIsInverted)
	{
		// SDL's y axes grow downward; XInput's grow upward.
		return anIsInverted ? static_cast<SHORT>(std::min(SDL_AXIS_MAX, -static_cast<int>(aValue))) : aValue;
	}

	BYTE ToTrigger(Sint16 aValue)
	{
		return static_cast<BYTE>(std::clamp<int>(aValue, 0, SDL_AXIS_MAX) * TRIGGER_MAX / SDL_AXIS_MAX);
	}

	XINPUT_GAMEPAD ReadController(SDL_GameController* aController)
	{
		XINPUT_GAMEPAD somePad{};
		for (const auto& [someButton, someMask] : BUTTONS)
			if (SDL_GameControllerGetButton(aController, someButton))
				somePad.wButtons |= someMask;
		somePad.bLeftTrigger = ToTrigger(SDL_GameControllerGetAxis(aController, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
		somePad.bRightTrigger = ToTrigger(SDL_GameControllerGetAxis(aController, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
		somePad.sThumbLX = ToThumb(SDL_GameControllerGetAxis(aController, SDL_CONTROLLER_AXIS_LEFTX), false);
		somePad.sThumbLY = ToThumb(SDL_GameControllerGetAxis(aController, SDL_CONTROLLER_AXIS_LEFTY), true);
		somePad.sThumbRX = ToThumb(SDL_GameControllerGetAxis(aController, SDL_CONTROLLER_AXIS_RIGHTX), false);
		somePad.sThumbRY = ToThumb(SDL_GameControllerGetAxis(aController, SDL_CONTROLLER_AXIS_RIGHTY), true);
		return somePad;
	}

	// The slot's current reading; nothing when the slot is empty.
	std::optional<XINPUT_GAMEPAD> ReadSlot(DWORD anIndex)
	{
		Slot& someSlot = Pads().mySlots[anIndex];
		if (Pads().myIsInjecting)
			return someSlot.myInjected;
		if (!EnsureControllers())
			return std::nullopt;
		RefreshControllers();
		if (someSlot.myController == nullptr)
			return std::nullopt;
		XINPUT_GAMEPAD someReading = ReadController(someSlot.myController);
		someReading.wButtons |= someSlot.myPressedButtons;
		someSlot.myPressedButtons = 0;
		return someReading;
	}
}

DWORD XInputGetState(DWORD anIndex, XINPUT_STATE* aState)
{
	if (anIndex >= XUSER_MAX_COUNT || aState == nullptr)
		return ERROR_BAD_ARGUMENTS;
	const std::optional<XINPUT_GAMEPAD> someReading = ReadSlot(anIndex);
	if (!someReading)
		return ERROR_DEVICE_NOT_CONNECTED;
	Slot& someSlot = Pads().mySlots[anIndex];
	if (someSlot.myPacketNumber == 0 || *someReading != someSlot.myLastReading)
		++someSlot.myPacketNumber;
	someSlot.myLastReading = *someReading;
	aState->dwPacketNumber = someSlot.myPacketNumber;
	aState->Gamepad = *someReading;
	return ERROR_SUCCESS;
}

DWORD XInputSetState(DWORD anIndex, XINPUT_VIBRATION* aVibration)
{
	if (anIndex >= XUSER_MAX_COUNT || aVibration == nullptr)
		return ERROR_BAD_ARGUMENTS;
	Slot& someSlot = Pads().mySlots[anIndex];
	if (Pads().myIsInjecting)
	{
		if (!someSlot.myInjected)
			return ERROR_DEVICE_NOT_CONNECTED;
		someSlot.myInjectedVibration = *aVibration;
		return ERROR_SUCCESS;
	}
	if (!EnsureControllers())
		return ERROR_DEVICE_NOT_CONNECTED;
	RefreshControllers();
	if (someSlot.myController == nullptr)
		return ERROR_DEVICE_NOT_CONNECTED;
	SDL_GameControllerRumble(someSlot.myController, aVibration->wLeftMotorSpeed, aVibration->wRightMotorSpeed, RUMBLE_DURATION_MS);
	return ERROR_SUCCESS;
}

namespace Platform
{
	void SetGamepadInjection(bool anIsOn)
	{
		PadState& somePads = Pads();
		somePads.myIsInjecting = anIsOn;
		for (Slot& someSlot : somePads.mySlots)
		{
			someSlot.myInjected.reset();
			someSlot.myInjectedVibration = {};
			if (someSlot.myController == nullptr)
				someSlot.myPacketNumber = 0;
		}
	}

	void InjectGamepad(DWORD anIndex, const std::optional<XINPUT_GAMEPAD>& aReading)
	{
		if (anIndex < XUSER_MAX_COUNT)
			Pads().mySlots[anIndex].myInjected = aReading;
	}

	XINPUT_VIBRATION GetInjectedVibration(DWORD anIndex)
	{
		return anIndex < XUSER_MAX_COUNT ? Pads().mySlots[anIndex].myInjectedVibration : XINPUT_VIBRATION{};
	}
}
