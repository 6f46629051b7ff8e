#pragma once
// A virtual SDL game controller plugged in while in scope: the xinput stand-in
// finds and reads it as it would a real pad. Its buttons and axes are SDL's
// game controller ones (y axes grow downward). The test's window never has the
// focus, so the pad is read as in the background.
#include <SDL.h>

namespace NorvTest
{
	class VirtualGamepad
	{
	public:
		VirtualGamepad()
		{
			SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
			if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
				return;
			myIsSdlUp = true;
			const int someIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
			if (someIndex >= 0)
				myJoystick = SDL_JoystickOpen(someIndex);
		}
		~VirtualGamepad()
		{
			if (myJoystick)
			{
				const SDL_JoystickID someId = SDL_JoystickInstanceID(myJoystick);
				SDL_JoystickClose(myJoystick);
				for (int someIndex = 0; someIndex < SDL_NumJoysticks(); ++someIndex)
					if (SDL_JoystickGetDeviceInstanceID(someIndex) == someId)
						SDL_JoystickDetachVirtual(someIndex);
			}
			if (myIsSdlUp)
				SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
			SDL_ResetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS);
		}
		VirtualGamepad(const VirtualGamepad&) = delete;
		VirtualGamepad& operator=(const VirtualGamepad&) = delete;

		bool IsPlugged() const { return myJoystick != nullptr; }
		void Hold(SDL_GameControllerButton aButton, bool anIsDown = true) { SDL_JoystickSetVirtualButton(myJoystick, aButton, anIsDown ? 1 : 0); }
		void Release(SDL_GameControllerButton aButton) { Hold(aButton, false); }
		void SetAxis(SDL_GameControllerAxis anAxis, Sint16 aValue) { SDL_JoystickSetVirtualAxis(myJoystick, anAxis, aValue); }

	private:
		SDL_Joystick* myJoystick = nullptr;
		bool myIsSdlUp = false;
	};
}
