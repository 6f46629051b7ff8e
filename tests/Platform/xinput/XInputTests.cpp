#include "Support/InjectedGamepads.h"
#include "Support/VirtualGamepad.h"

#include <gtest/gtest.h>

namespace
{
	TEST(XInput, EmptySlotsAndBadArgumentsAreRefused)
	{
		NorvTest::InjectedGamepads somePads;
		XINPUT_STATE someState{};
		EXPECT_EQ(XInputGetState(0, &someState), ERROR_DEVICE_NOT_CONNECTED);
		EXPECT_EQ(XInputGetState(4, &someState), ERROR_BAD_ARGUMENTS);
		EXPECT_EQ(XInputGetState(0, nullptr), ERROR_BAD_ARGUMENTS);
		XINPUT_VIBRATION someVibration{ 1, 2 };
		EXPECT_EQ(XInputSetState(1, &someVibration), ERROR_DEVICE_NOT_CONNECTED);
	}

	TEST(XInput, ThePacketNumberChangesOnlyWhenTheStateDoes)
	{
		NorvTest::InjectedGamepads somePads;
		XINPUT_GAMEPAD someReading{};
		somePads.Plug(2, someReading);
		XINPUT_STATE someState{};
		ASSERT_EQ(XInputGetState(2, &someState), ERROR_SUCCESS);
		const DWORD someFirst = someState.dwPacketNumber;
		ASSERT_EQ(XInputGetState(2, &someState), ERROR_SUCCESS);
		EXPECT_EQ(someState.dwPacketNumber, someFirst);

		someReading.wButtons = XINPUT_GAMEPAD_A;
		someReading.sThumbLY = -32768;
		somePads.Plug(2, someReading);
		ASSERT_EQ(XInputGetState(2, &someState), ERROR_SUCCESS);
		EXPECT_NE(someState.dwPacketNumber, someFirst);
		EXPECT_EQ(someState.Gamepad.wButtons, XINPUT_GAMEPAD_A);
		EXPECT_EQ(someState.Gamepad.sThumbLY, -32768);
	}

	TEST(XInput, VibrationReachesAConnectedPad)
	{
		NorvTest::InjectedGamepads somePads;
		somePads.Plug(0);
		XINPUT_VIBRATION someVibration{ 1000, 65535 };
		EXPECT_EQ(XInputSetState(0, &someVibration), ERROR_SUCCESS);
		EXPECT_EQ(Platform::GetInjectedVibration(0).wLeftMotorSpeed, 1000);
		EXPECT_EQ(Platform::GetInjectedVibration(0).wRightMotorSpeed, 65535);
	}

	// A tap quicker than a frame reaches the game as one reading with the button down.
	TEST(XInput, AButtonPressedAndReleasedBetweenReadsIsReadDownOnce)
	{
		NorvTest::VirtualGamepad somePad;
		if (!somePad.IsPlugged())
			GTEST_SKIP() << "SDL gave no virtual controller: " << SDL_GetError();
		XINPUT_STATE someState{};
		DWORD someSlot = 0;
		while (someSlot < XUSER_MAX_COUNT && XInputGetState(someSlot, &someState) != ERROR_SUCCESS)
			++someSlot;
		ASSERT_LT(someSlot, XUSER_MAX_COUNT);
		EXPECT_EQ(someState.Gamepad.wButtons & XINPUT_GAMEPAD_START, 0);

		somePad.Hold(SDL_CONTROLLER_BUTTON_START);
		SDL_PumpEvents(); // the window's message pump, between two frames
		somePad.Release(SDL_CONTROLLER_BUTTON_START);
		SDL_PumpEvents();
		ASSERT_EQ(XInputGetState(someSlot, &someState), ERROR_SUCCESS);
		EXPECT_EQ(someState.Gamepad.wButtons & XINPUT_GAMEPAD_START, XINPUT_GAMEPAD_START);
		ASSERT_EQ(XInputGetState(someSlot, &someState), ERROR_SUCCESS);
		EXPECT_EQ(someState.Gamepad.wButtons & XINPUT_GAMEPAD_START, 0);
	}
}
