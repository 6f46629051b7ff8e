// The player steered through the real input path: a virtual SDL controller read
// by the xinput stand-in, and SDL key events turned into window messages by the
// win32 stand-in, both mapped to actions by the game's input mapper.
#include "PlayerWorld.h"

#include "Support/Messages.h"
#include "Support/VirtualGamepad.h"

#include <functional>

namespace
{
	using NorvTest::InputSource;

	constexpr float RUN_SPEED = 850.0f;  // units/s
	constexpr float DASH_SPEED = 2250.0f; // units/s
	constexpr float DIAGONAL = 0.70710677f;

	enum class Control
	{
		Right,
		Up,
		Jump,
		Dash
	};
	using SetControl = std::function<void(Control, bool)>;

	class PlayerDevices : public NorvTest::PlayerWorldTest
	{
	protected:
		PlayerDevices() : PlayerWorldTest(InputSource::Devices) {}

		// Runs right for a second, jumps while running, lands, then dashes up and
		// to the right: what a player does first with a new device.
		void RunJumpAndDash(const SetControl& aSet)
		{
			Load({ "                              ", "                              ", "  P                           ", "                              ",
				"##############################" });
			AbilityFlags[Ability::DASH] = true;
			ASSERT_TRUE(IsStanding());
			const float someFloorY = P().myPosition.y;
			const float someStartX = P().myPosition.x;

			aSet(Control::Right, true);
			Step(60);
			EXPECT_GT(P().myVelocity.x, 0.95f * RUN_SPEED);
			EXPECT_EQ(P().myFacing, 1);
			EXPECT_GT(P().myPosition.x - someStartX, 500.0f);

			aSet(Control::Jump, true);
			float someTop = someFloorY;
			for (int someFrame = 0; someFrame < 20; ++someFrame)
			{
				Step(1);
				someTop = std::max(someTop, P().myPosition.y);
			}
			aSet(Control::Jump, false);
			for (int someFrame = 0; someFrame < 120 && !IsStanding(); ++someFrame)
			{
				Step(1);
				someTop = std::max(someTop, P().myPosition.y);
			}
			EXPECT_GT(someTop - someFloorY, 300.0f); // a held jump, not a tap
			ASSERT_TRUE(IsStanding());

			aSet(Control::Up, true);
			aSet(Control::Dash, true);
			Step(3);
			ASSERT_TRUE(C().IsDashing());
			EXPECT_NEAR(P().myVelocity.x, DASH_SPEED * DIAGONAL, 1.0f);
			EXPECT_NEAR(P().myVelocity.y, DASH_SPEED * DIAGONAL, 1.0f);
			aSet(Control::Dash, false);
			aSet(Control::Up, false);
			aSet(Control::Right, false);
			Step(60);
			EXPECT_FALSE(C().IsDashing());
			EXPECT_NEAR(P().myVelocity.x, 0.0f, 1.0f);
		}
	};

	TEST_F(PlayerDevices, AGamepadRunsJumpsAndDashesWithTheStickAndItsButtons)
	{
		NorvTest::VirtualGamepad somePad;
		if (!somePad.IsPlugged())
			GTEST_SKIP() << "SDL gave no virtual controller: " << SDL_GetError();
		RunJumpAndDash([&](Control aControl, bool anIsDown) {
			switch (aControl)
			{
			// The stick's y grows downward in SDL: full up is its minimum.
			case Control::Right: somePad.SetAxis(SDL_CONTROLLER_AXIS_LEFTX, anIsDown ? SDL_JOYSTICK_AXIS_MAX : 0); break;
			case Control::Up: somePad.SetAxis(SDL_CONTROLLER_AXIS_LEFTY, anIsDown ? SDL_JOYSTICK_AXIS_MIN : 0); break;
			case Control::Jump: somePad.Hold(SDL_CONTROLLER_BUTTON_A, anIsDown); break;
			case Control::Dash: somePad.Hold(SDL_CONTROLLER_BUTTON_B, anIsDown); break;
			}
		});
		EXPECT_EQ(myWorld.myInput.GetActiveDevice(), InputDevice::Gamepad);
	}

	TEST_F(PlayerDevices, TheKeyboardRunsJumpsAndDashesThroughTheWindowsMessages)
	{
		const Uint32 someWindow = NorvTest::GetSdlWindowId(myWorld.myEngine.Window());
		RunJumpAndDash([&](Control aControl, bool anIsDown) {
			switch (aControl)
			{
			case Control::Right: NorvTest::PushKey(someWindow, anIsDown, SDL_SCANCODE_D, SDLK_d); break;
			case Control::Up: NorvTest::PushKey(someWindow, anIsDown, SDL_SCANCODE_W, SDLK_w); break;
			case Control::Jump: NorvTest::PushKey(someWindow, anIsDown, SDL_SCANCODE_SPACE, SDLK_SPACE); break;
			case Control::Dash: NorvTest::PushKey(someWindow, anIsDown, SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, KMOD_LSHIFT); break;
			}
		});
		EXPECT_EQ(myWorld.myInput.GetActiveDevice(), InputDevice::KeyboardAndMouse);
	}
}
