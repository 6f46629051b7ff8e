#pragma once
// Replaces the real pads with injected ones while in scope (when made on).
#include "xinput/XInput.h"

namespace NorvTest
{
	class InjectedGamepads
	{
	public:
		explicit InjectedGamepads(bool anIsOn = true) : myIsOn(anIsOn) { Platform::SetGamepadInjection(anIsOn); }
		~InjectedGamepads()
		{
			if (myIsOn)
				Platform::SetGamepadInjection(false);
		}
		InjectedGamepads(const InjectedGamepads&) = delete;
		InjectedGamepads& operator=(const InjectedGamepads&) = delete;

		void Plug(DWORD aSlot, const XINPUT_GAMEPAD& aReading = {}) { Platform::InjectGamepad(aSlot, aReading); }
		void Unplug(DWORD aSlot) { Platform::InjectGamepad(aSlot, std::nullopt); }
		bool IsOn() const { return myIsOn; }

	private:
		bool myIsOn;
	};
}
