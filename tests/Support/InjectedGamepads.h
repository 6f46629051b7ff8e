#pragma once
// Replaces the real pads with injected ones while in scope.
#include "xinput/XInput.h"

namespace NorvTest
{
	class InjectedGamepads
	{
	public:
		InjectedGamepads() { Platform::SetGamepadInjection(true); }
		~InjectedGamepads() { Platform::SetGamepadInjection(false); }
		InjectedGamepads(const InjectedGamepads&) = delete;
		InjectedGamepads& operator=(const InjectedGamepads&) = delete;

		void Plug(DWORD aSlot, const XINPUT_GAMEPAD& aReading = {}) { Platform::InjectGamepad(aSlot, aReading); }
		void Unplug(DWORD aSlot) { Platform::InjectGamepad(aSlot, std::nullopt); }
	};
}
