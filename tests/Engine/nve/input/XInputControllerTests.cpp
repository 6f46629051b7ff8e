#include "Support/InjectedGamepads.h"

#include "input/XInputController.h"

#include <gtest/gtest.h>

namespace
{
	using NorvTest::InjectedGamepads;

	XINPUT_GAMEPAD Sticks(SHORT aLeftX, SHORT aLeftY, SHORT aRightX = 0, SHORT aRightY = 0)
	{
		XINPUT_GAMEPAD somePad{};
		somePad.sThumbLX = aLeftX;
		somePad.sThumbLY = aLeftY;
		somePad.sThumbRX = aRightX;
		somePad.sThumbRY = aRightY;
		return somePad;
	}

	TEST(XInputController, DeadZonesCutTheCentreAndStretchTheRestToOne)
	{
		InjectedGamepads somePads;
		Norv::XInputController someController;
		someController.SetDeadZones(0.2f, 0.1f);

		somePads.Plug(0, Sticks(static_cast<SHORT>(0.2f * 32767), -32768, 32767, 0));
		ASSERT_TRUE(someController.Update());
		EXPECT_EQ(someController.myLeftStickX, 0.0f);
		EXPECT_EQ(someController.myLeftStickY, -1.0f);
		EXPECT_EQ(someController.myRightStickX, 1.0f);
		EXPECT_EQ(someController.myRightStickY, 0.0f);

		// Halfway between the dead zone and the edge reads one half.
		somePads.Plug(0, Sticks(static_cast<SHORT>(0.6f * 32767), static_cast<SHORT>(0.55f * 32767)));
		ASSERT_TRUE(someController.Update());
		EXPECT_NEAR(someController.myLeftStickX, 0.5f, 1e-4f);
		EXPECT_NEAR(someController.myLeftStickY, 0.5f, 1e-4f);
	}

	TEST(XInputController, ACentredStickWithoutDeadZoneReadsZero)
	{
		InjectedGamepads somePads;
		Norv::XInputController someController;
		somePads.Plug(1, Sticks(0, 0, -16384, 0));
		ASSERT_TRUE(someController.Update());
		EXPECT_EQ(someController.myLeftStickX, 0.0f);
		EXPECT_NEAR(someController.myRightStickX, -16384.0f / 32767.0f, 1e-6f);
	}

	TEST(XInputController, TriggersAndButtons)
	{
		InjectedGamepads somePads;
		Norv::XInputController someController;
		XINPUT_GAMEPAD somePad{};
		somePad.bLeftTrigger = 255;
		somePad.bRightTrigger = 51;
		somePad.wButtons = XINPUT_GAMEPAD_B | XINPUT_GAMEPAD_START;
		somePads.Plug(0, somePad);
		ASSERT_TRUE(someController.Update());
		EXPECT_EQ(someController.myLeftTrigger, 1.0f);
		EXPECT_FLOAT_EQ(someController.myRightTrigger, 0.2f);
		EXPECT_TRUE(someController.IsButtonDown(XINPUT_GAMEPAD_B));
		EXPECT_TRUE(someController.IsButtonDown(XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_START));
		EXPECT_FALSE(someController.IsButtonDown(XINPUT_GAMEPAD_A));
	}

	TEST(XInputController, UnpluggingIsNoticedAndAnotherSlotIsFoundNextTime)
	{
		InjectedGamepads somePads;
		Norv::XInputController someController;
		EXPECT_FALSE(someController.Connect());
		EXPECT_FALSE(someController.Update());

		XINPUT_GAMEPAD somePad{};
		somePad.wButtons = XINPUT_GAMEPAD_A;
		somePads.Plug(0, somePad);
		ASSERT_TRUE(someController.Update());
		EXPECT_EQ(someController.GetPadIndex(), 0u);

		somePads.Unplug(0);
		somePads.Plug(3);
		EXPECT_FALSE(someController.Update());
		EXPECT_EQ(someController.GetPadIndex(), Norv::XInputController::NO_PAD);
		EXPECT_FALSE(someController.IsButtonDown(XINPUT_GAMEPAD_A));
		EXPECT_TRUE(someController.Update());
		EXPECT_EQ(someController.GetPadIndex(), 3u);
	}

	TEST(XInputController, HoldingAButtonIsActiveOnlyWhenThePacketChanges)
	{
		InjectedGamepads somePads;
		Norv::XInputController someController;
		somePads.Plug(0);
		ASSERT_TRUE(someController.Update());
		EXPECT_FALSE(someController.IsActive()); // new packet, but nothing pressed

		XINPUT_GAMEPAD somePad{};
		somePad.wButtons = XINPUT_GAMEPAD_X;
		somePads.Plug(0, somePad);
		ASSERT_TRUE(someController.Update());
		EXPECT_TRUE(someController.IsActive());
		ASSERT_TRUE(someController.Update());
		EXPECT_FALSE(someController.IsActive());
		EXPECT_TRUE(someController.IsButtonDown(XINPUT_GAMEPAD_X));
	}

	TEST(XInputController, VibrationIsRoundedToMotorSpeeds)
	{
		InjectedGamepads somePads;
		Norv::XInputController someController;
		someController.SetVibration(1.0f, 1.0f); // no pad: nothing happens
		somePads.Plug(2);
		ASSERT_TRUE(someController.Connect());
		someController.SetVibration(0.5f, 1.0f);
		EXPECT_EQ(Platform::GetInjectedVibration(2).wLeftMotorSpeed, 32768);
		EXPECT_EQ(Platform::GetInjectedVibration(2).wRightMotorSpeed, 65535);
	}
}
