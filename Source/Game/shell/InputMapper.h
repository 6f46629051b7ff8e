#pragma once
// The game's 13 input actions over keyboard, mouse and gamepad. Follows the
// device the player last touched: on the gamepad only pad buttons count, on the
// keyboard and mouse only keys; stick directions count on both. A key counts
// from the second consecutive frame it is down in, so its action turns on one
// frame after the key went down.
#include "Math/Vector.h"
#include "input/InputManager.h"
#include "input/XInputController.h"
#include "kernel/WindowsTypes.h"

#include <array>
#include <cstdint>
#include <vector>

enum class InputAction : std::uint8_t
{
	Up,
	Down,
	Left,
	Right,
	Jump,
	Attack,
	Dash,
	Climb,
	Pause,
	Confirm,
	Back,
	MouseLeft,
	MouseRight,
	Count
};

// Stick directions a binding can name; an axis counts when strictly beyond 0.5.
enum class StickDirection : std::uint8_t
{
	LeftUp,
	LeftDown,
	LeftLeft,
	LeftRight,
	RightUp,
	RightDown,
	RightLeft,
	RightRight
};

enum class InputDevice : std::uint8_t
{
	Gamepad,
	KeyboardAndMouse
};

struct ActionBinding
{
	std::vector<std::uint16_t> myKeys;       // virtual-key codes, mouse buttons included
	std::vector<std::uint16_t> myPadButtons; // XINPUT_GAMEPAD_* masks
	std::vector<std::uint8_t> mySticks;      // StickDirection codes; codes above 7 are skipped
};

class InputMapper
{
public:
	static constexpr std::size_t ACTION_COUNT = static_cast<std::size_t>(InputAction::Count);
	static constexpr float PAD_X_DEAD_ZONE = 0.2f;
	static constexpr float PAD_Y_DEAD_ZONE = 0.1f;
	static constexpr float STICK_THRESHOLD = 0.5f;
	static constexpr float RESET_TIME_SECONDS = 5.0f; // a reset buffer reads as long ago

	// Reads keyboard and mouse from aWindow's messages; publishes itself.
	explicit InputMapper(HWND aWindow);
	~InputMapper();
	InputMapper(const InputMapper&) = delete;
	InputMapper& operator=(const InputMapper&) = delete;

	// The published mapper; null before one exists.
	static InputMapper* GetInstance() { return ourInstance; }

	// Once a frame, before the states update.
	void Update(float aDeltaTime);

	bool IsDown(InputAction anAction) const;
	bool IsPressed(InputAction anAction) const;
	bool IsReleased(InputAction anAction) const;
	// The action was pressed less than aSeconds ago.
	bool PressedWithin(InputAction anAction, float aSeconds) const;
	void ResetTimer(InputAction anAction);
	void ResetAllTimers();

	// A frame the world steps in several sub-steps of aStepSeconds: the first sees
	// the frame's presses and releases, with the press timers aStepSeconds on from
	// the last frame; each NextSubStep sees no new edge and adds its own length, so
	// one press acts once and the timers count the world's time. EndSubSteps gives
	// the frame's edges back to whoever reads the input after the world.
	void BeginSubSteps(float aStepSeconds);
	void NextSubStep(float aStepSeconds);
	void EndSubSteps();

	Norv::Vector2<float> GetLeftStick() const { return myLeftStick; }
	Norv::Vector2<float> GetRightStick() const { return myRightStick; }
	InputDevice GetActiveDevice() const { return myActiveDevice; }
	Norv::InputManager& GetKeyboardAndMouse() { return myKeyboardAndMouse; }
	Norv::XInputController& GetGamepad() { return myGamepad; }

private:
	static std::uint32_t GetBit(InputAction anAction) { return 1u << (static_cast<std::uint32_t>(anAction) % 32); }

	void SetDefaultBindings();
	void UpdateActions();
	bool IsBindingDown(const ActionBinding& aBinding) const;
	bool IsStickDirectionOn(std::uint8_t aDirection) const;

	inline static InputMapper* ourInstance = nullptr;

	InputDevice myActiveDevice = InputDevice::Gamepad;
	std::uint32_t myPreviousActions = 0;
	std::uint32_t myCurrentActions = 0;
	Norv::InputManager myKeyboardAndMouse;
	Norv::XInputController myGamepad;
	std::array<ActionBinding, ACTION_COUNT> myBindings;
	std::array<float, ACTION_COUNT> myTimeSincePress{};
	std::array<float, ACTION_COUNT> myTimeBeforeFrame{}; // the timers as the frame found them
	std::uint32_t myFramePreviousActions = 0;            // kept while sub-steps hide the edges
	Norv::Vector2<float> myLeftStick;
	Norv::Vector2<float> myRightStick;
};
