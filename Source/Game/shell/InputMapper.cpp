#include "shell/InputMapper.h"

#include "win32/VirtualKeys.h"
#include "xinput/XInput.h"

namespace
{
	std::size_t ToIndex(InputAction anAction)
	{
		return static_cast<std::size_t>(anAction);
	}

	std::uint8_t ToCode(StickDirection aDirection)
	{
		return static_cast<std::uint8_t>(aDirection);
	}
}

InputMapper::InputMapper(HWND aWindow)
	: myKeyboardAndMouse(aWindow)
{
	myGamepad.SetDeadZones(PAD_X_DEAD_ZONE, PAD_Y_DEAD_ZONE);
	SetDefaultBindings();
	// As after a reset: no action reads as pressed lately before it ever was.
	ResetAllTimers();
	ourInstance = this;
}

InputMapper::~InputMapper()
{
	if (ourInstance == this)
		ourInstance = nullptr;
}

void InputMapper::SetDefaultBindings()
{
	auto Bind = [this](InputAction anAction, std::vector<std::uint16_t> aKeys, std::vector<std::uint16_t> aPadButtons, std::vector<std::uint8_t> aSticks)
	{
		myBindings[ToIndex(anAction)] = { std::move(aKeys), std::move(aPadButtons), std::move(aSticks) };
	};
	Bind(InputAction::Up, { 'W', VK_UP }, { XINPUT_GAMEPAD_DPAD_UP }, { ToCode(StickDirection::LeftUp) });
	Bind(InputAction::Down, { 'S', VK_DOWN }, { XINPUT_GAMEPAD_DPAD_DOWN }, { ToCode(StickDirection::LeftDown) });
	Bind(InputAction::Left, { 'A', VK_LEFT }, { XINPUT_GAMEPAD_DPAD_LEFT }, { ToCode(StickDirection::LeftLeft) });
	Bind(InputAction::Right, { 'D', VK_RIGHT }, { XINPUT_GAMEPAD_DPAD_RIGHT }, { ToCode(StickDirection::LeftRight) });
	Bind(InputAction::Jump, { VK_SPACE, 'K' }, { XINPUT_GAMEPAD_A }, {});
	Bind(InputAction::Attack, { 'J', VK_LBUTTON }, { XINPUT_GAMEPAD_X }, {});
	Bind(InputAction::Dash, { VK_SHIFT, 'L' }, { XINPUT_GAMEPAD_B }, {});
	Bind(InputAction::Climb, { VK_CONTROL, 'I' }, { XINPUT_GAMEPAD_LEFT_SHOULDER, XINPUT_GAMEPAD_RIGHT_SHOULDER }, {});
	Bind(InputAction::Pause, { VK_ESCAPE }, { XINPUT_GAMEPAD_START }, {});
	Bind(InputAction::Confirm, { VK_RETURN }, { XINPUT_GAMEPAD_A }, {});
	Bind(InputAction::Back, { VK_ESCAPE }, { XINPUT_GAMEPAD_B }, {});
	Bind(InputAction::MouseLeft, { VK_LBUTTON }, {}, {});
	Bind(InputAction::MouseRight, { VK_RBUTTON }, {}, {});
}

void InputMapper::Update(float aDeltaTime)
{
	myKeyboardAndMouse.Update();
	myGamepad.Update();
	if (myGamepad.Connect())
	{
		myLeftStick = { myGamepad.myLeftStickX, myGamepad.myLeftStickY };
		myRightStick = { myGamepad.myRightStickX, myGamepad.myRightStickY };
	}
	else
	{
		myLeftStick = {};
		myRightStick = {};
	}

	UpdateActions();

	myTimeBeforeFrame = myTimeSincePress;
	for (std::size_t someIndex = 0; someIndex < ACTION_COUNT; ++someIndex)
	{
		const std::uint32_t someBit = GetBit(static_cast<InputAction>(someIndex));
		if ((myCurrentActions & someBit) && !(myPreviousActions & someBit))
			myTimeSincePress[someIndex] = 0.0f;
		else
			myTimeSincePress[someIndex] += aDeltaTime;
	}
}

void InputMapper::UpdateActions()
{
	myPreviousActions = myCurrentActions;
	if (myGamepad.IsActive())
		myActiveDevice = InputDevice::Gamepad;
	if (myKeyboardAndMouse.HasChanged())
		myActiveDevice = InputDevice::KeyboardAndMouse;

	for (std::size_t someIndex = 0; someIndex < ACTION_COUNT; ++someIndex)
	{
		const std::uint32_t someBit = GetBit(static_cast<InputAction>(someIndex));
		myCurrentActions &= ~someBit;
		if (IsBindingDown(myBindings[someIndex]))
			myCurrentActions |= someBit;
	}
}

bool InputMapper::IsBindingDown(const ActionBinding& aBinding) const
{
	if (myActiveDevice == InputDevice::Gamepad)
	{
		for (std::uint16_t someButton : aBinding.myPadButtons)
			if (myGamepad.IsButtonDown(someButton))
				return true;
	}
	else
	{
		for (std::uint16_t someKey : aBinding.myKeys)
			if (myKeyboardAndMouse.IsKeyHeld(someKey))
				return true;
	}
	for (std::uint8_t someDirection : aBinding.mySticks)
		if (IsStickDirectionOn(someDirection))
			return true;
	return false;
}

bool InputMapper::IsStickDirectionOn(std::uint8_t aDirection) const
{
	switch (static_cast<StickDirection>(aDirection))
	{
	case StickDirection::LeftUp: return myLeftStick.y > STICK_THRESHOLD;
	case StickDirection::LeftDown: return myLeftStick.y < -STICK_THRESHOLD;
	case StickDirection::LeftLeft: return myLeftStick.x < -STICK_THRESHOLD;
	case StickDirection::LeftRight: return myLeftStick.x > STICK_THRESHOLD;
	case StickDirection::RightUp: return myRightStick.y > STICK_THRESHOLD;
	case StickDirection::RightDown: return myRightStick.y < -STICK_THRESHOLD;
	case StickDirection::RightLeft: return myRightStick.x < -STICK_THRESHOLD;
	case StickDirection::RightRight: return myRightStick.x > STICK_THRESHOLD;
	default: return false;
	}
}

bool InputMapper::IsDown(InputAction anAction) const
{
	return (myCurrentActions & GetBit(anAction)) != 0;
}

bool InputMapper::IsPressed(InputAction anAction) const
{
	return IsDown(anAction) && (myPreviousActions & GetBit(anAction)) == 0;
}

bool InputMapper::IsReleased(InputAction anAction) const
{
	return !IsDown(anAction) && (myPreviousActions & GetBit(anAction)) != 0;
}

bool InputMapper::PressedWithin(InputAction anAction, float aSeconds) const
{
	const std::size_t someIndex = ToIndex(anAction);
	return someIndex < ACTION_COUNT && aSeconds > myTimeSincePress[someIndex];
}

void InputMapper::ResetTimer(InputAction anAction)
{
	if (const std::size_t someIndex = ToIndex(anAction); someIndex < ACTION_COUNT)
		myTimeSincePress[someIndex] = RESET_TIME_SECONDS;
}

void InputMapper::ResetAllTimers()
{
	myTimeSincePress.fill(RESET_TIME_SECONDS);
}

void InputMapper::BeginSubSteps(float aStepSeconds)
{
	myFramePreviousActions = myPreviousActions;
	for (std::size_t someIndex = 0; someIndex < ACTION_COUNT; ++someIndex)
		if (!IsPressed(static_cast<InputAction>(someIndex)))
			myTimeSincePress[someIndex] = myTimeBeforeFrame[someIndex] + aStepSeconds;
}

void InputMapper::NextSubStep(float aStepSeconds)
{
	myPreviousActions = myCurrentActions;
	for (float& someTime : myTimeSincePress)
		someTime += aStepSeconds;
}

void InputMapper::EndSubSteps()
{
	myPreviousActions = myFramePreviousActions;
}
