#include "Support/InjectedGamepads.h"
#include "Support/Messages.h"

#include "shell/InputMapper.h"

#include <gtest/gtest.h>

namespace
{
	constexpr float FRAME_SECONDS = 0.016f;

	class InputMapperTest : public ::testing::Test
	{
	protected:
		void KeyDown(WPARAM aKey) { myInput.GetKeyboardAndMouse().UpdateEvents(WM_KEYDOWN, aKey, 0); }
		void KeyUp(WPARAM aKey) { myInput.GetKeyboardAndMouse().UpdateEvents(WM_KEYUP, aKey, 0); }
		void Frame() { myInput.Update(FRAME_SECONDS); }

		XINPUT_GAMEPAD Buttons(WORD aButtons)
		{
			XINPUT_GAMEPAD somePad{};
			somePad.wButtons = aButtons;
			return somePad;
		}

		NorvTest::InjectedGamepads myPads;
		NorvTest::TestWindow myWindow{ WS_POPUP | WS_VISIBLE, 400, 300 };
		InputMapper myInput{ myWindow.Handle() };
	};

	TEST_F(InputMapperTest, IsPublishedWhileItLives)
	{
		EXPECT_EQ(InputMapper::GetInstance(), &myInput);
		{
			InputMapper someOther(myWindow.Handle());
			EXPECT_EQ(InputMapper::GetInstance(), &someOther);
		}
		EXPECT_EQ(InputMapper::GetInstance(), nullptr);
	}

	TEST_F(InputMapperTest, AKeyCountsFromItsSecondFrameDown)
	{
		KeyDown('W');
		Frame();
		EXPECT_EQ(myInput.GetActiveDevice(), InputDevice::KeyboardAndMouse);
		EXPECT_FALSE(myInput.IsDown(InputAction::Up));
		Frame();
		EXPECT_TRUE(myInput.IsDown(InputAction::Up));
		EXPECT_TRUE(myInput.IsPressed(InputAction::Up));
		Frame();
		EXPECT_TRUE(myInput.IsDown(InputAction::Up));
		EXPECT_FALSE(myInput.IsPressed(InputAction::Up));
		KeyUp('W');
		Frame();
		EXPECT_TRUE(myInput.IsReleased(InputAction::Up));
	}

	TEST_F(InputMapperTest, AKeyDownForASingleFrameNeverCounts)
	{
		KeyDown(VK_SPACE);
		Frame();
		KeyUp(VK_SPACE);
		for (int someFrame = 0; someFrame < 3; ++someFrame)
		{
			EXPECT_FALSE(myInput.IsDown(InputAction::Jump));
			Frame();
		}
		EXPECT_FALSE(myInput.PressedWithin(InputAction::Jump, 1.0f));
	}

	// However slow the frames, a press between two of them turns its action on
	// once, one frame late, as a key held over two frames does.
	TEST_F(InputMapperTest, ATapBetweenTwoFramesIsPressedOnceAFrameLate)
	{
		KeyDown(VK_SPACE);
		KeyUp(VK_SPACE);
		myInput.GetKeyboardAndMouse().UpdateEvents(WM_LBUTTONDOWN, MK_LBUTTON, 0);
		myInput.GetKeyboardAndMouse().UpdateEvents(WM_LBUTTONUP, 0, 0);
		Frame();
		EXPECT_FALSE(myInput.IsDown(InputAction::Jump));
		EXPECT_FALSE(myInput.IsDown(InputAction::MouseLeft));
		Frame();
		EXPECT_TRUE(myInput.IsPressed(InputAction::Jump));
		EXPECT_TRUE(myInput.PressedWithin(InputAction::Jump, 0.001f));
		EXPECT_TRUE(myInput.IsPressed(InputAction::MouseLeft));
		EXPECT_TRUE(myInput.IsPressed(InputAction::Attack));
		Frame();
		EXPECT_TRUE(myInput.IsReleased(InputAction::Jump));
		EXPECT_TRUE(myInput.IsReleased(InputAction::MouseLeft));
		Frame();
		EXPECT_FALSE(myInput.IsDown(InputAction::Jump));
		EXPECT_FALSE(myInput.IsReleased(InputAction::Jump));
		EXPECT_FALSE(myInput.PressedWithin(InputAction::Jump, FRAME_SECONDS));
	}

	TEST_F(InputMapperTest, EscapeSetsBothPauseAndBack)
	{
		KeyDown(VK_ESCAPE);
		Frame();
		Frame();
		EXPECT_TRUE(myInput.IsDown(InputAction::Pause));
		EXPECT_TRUE(myInput.IsDown(InputAction::Back));
		EXPECT_FALSE(myInput.IsDown(InputAction::Confirm));
	}

	TEST_F(InputMapperTest, APadButtonCountsInItsOwnFrameAndTakesOverFromTheKeyboard)
	{
		KeyDown('J');
		Frame();
		Frame();
		ASSERT_TRUE(myInput.IsDown(InputAction::Attack));

		myPads.Plug(0, Buttons(XINPUT_GAMEPAD_A));
		Frame();
		EXPECT_EQ(myInput.GetActiveDevice(), InputDevice::Gamepad);
		EXPECT_TRUE(myInput.IsPressed(InputAction::Jump));
		EXPECT_TRUE(myInput.IsPressed(InputAction::Confirm));
		// The held key no longer counts while the pad is the active device.
		EXPECT_FALSE(myInput.IsDown(InputAction::Attack));
	}

	TEST_F(InputMapperTest, TheKeyboardWinsWhenBothChangeInOneFrame)
	{
		myPads.Plug(0, Buttons(XINPUT_GAMEPAD_B));
		KeyDown('L');
		Frame();
		EXPECT_EQ(myInput.GetActiveDevice(), InputDevice::KeyboardAndMouse);
		EXPECT_FALSE(myInput.IsDown(InputAction::Dash)); // the pad's B no longer counts, the key not yet
		Frame();
		EXPECT_TRUE(myInput.IsPressed(InputAction::Dash));
	}

	TEST_F(InputMapperTest, StickDirectionsCountOnEitherDeviceOnlyBeyondHalf)
	{
		XINPUT_GAMEPAD somePad{};
		somePad.sThumbLX = static_cast<SHORT>((0.2f + 0.8f * 0.499f) * 32767); // reads just under 0.5
		somePad.sThumbLY = static_cast<SHORT>(-(0.1f + 0.9f * 0.51f) * 32767); // reads just over 0.5 down
		myPads.Plug(0, somePad);
		KeyDown(VK_SHIFT);
		Frame();
		ASSERT_EQ(myInput.GetActiveDevice(), InputDevice::KeyboardAndMouse);
		EXPECT_LT(myInput.GetLeftStick().x, 0.5f);
		EXPECT_FALSE(myInput.IsDown(InputAction::Right));
		EXPECT_TRUE(myInput.IsDown(InputAction::Down));
		EXPECT_FALSE(myInput.IsDown(InputAction::Up));
	}

	TEST_F(InputMapperTest, WithoutAPadBothSticksReadZero)
	{
		myPads.Plug(1, [] { XINPUT_GAMEPAD somePad{}; somePad.sThumbRX = 32767; somePad.sThumbLY = 32767; return somePad; }());
		Frame();
		EXPECT_EQ(myInput.GetRightStick().x, 1.0f);
		myPads.Unplug(1);
		Frame();
		EXPECT_EQ(myInput.GetLeftStick(), Norv::Vector2<float>());
		EXPECT_EQ(myInput.GetRightStick(), Norv::Vector2<float>());
		EXPECT_FALSE(myInput.IsDown(InputAction::Up));
	}

	TEST_F(InputMapperTest, PressTimersBufferInputUntilReset)
	{
		// At start the timers read as after a reset: nothing was pressed lately.
		EXPECT_FALSE(myInput.PressedWithin(InputAction::Jump, 1.0f));
		EXPECT_TRUE(myInput.PressedWithin(InputAction::Jump, 5.1f));
		myInput.ResetAllTimers();
		EXPECT_FALSE(myInput.PressedWithin(InputAction::Attack, 1.0f));

		myPads.Plug(0, Buttons(XINPUT_GAMEPAD_A));
		Frame();
		EXPECT_TRUE(myInput.PressedWithin(InputAction::Jump, 0.001f));
		Frame(); // held: the timer keeps growing
		Frame();
		EXPECT_FALSE(myInput.PressedWithin(InputAction::Jump, 2 * FRAME_SECONDS - 0.001f));
		EXPECT_TRUE(myInput.PressedWithin(InputAction::Jump, 2 * FRAME_SECONDS + 0.001f));
		myInput.ResetTimer(InputAction::Jump);
		EXPECT_FALSE(myInput.PressedWithin(InputAction::Jump, 4.9f));
		EXPECT_TRUE(myInput.PressedWithin(InputAction::Jump, 5.1f));
	}

	TEST_F(InputMapperTest, TheLeftMouseButtonIsAttackAndMouseLeft)
	{
		myInput.GetKeyboardAndMouse().UpdateEvents(WM_LBUTTONDOWN, MK_LBUTTON, 0);
		Frame();
		Frame();
		EXPECT_TRUE(myInput.IsDown(InputAction::Attack));
		EXPECT_TRUE(myInput.IsDown(InputAction::MouseLeft));
		EXPECT_FALSE(myInput.IsDown(InputAction::MouseRight));
	}
}
