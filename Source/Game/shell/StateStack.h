#pragma once
// The owner of the game's state stack: updates the top state once a frame,
// carries out the transition code it returns, renders every stacked state
// bottom-up under a fresh interface camera, and holds the quit flag.
#include "shell/FrozenWorld.h"
#include "shell/IStates.h"

#include "graphics/Camera.h"

#include <memory>
#include <vector>

class InputMapper;

// The state each transition code brings up; a state left null is never pushed.
struct StateSet
{
	IStates* myMainMenu = nullptr;
	IStates* myPauseMenu = nullptr;
	IStates* myPauseBookCase = nullptr;
	IStates* myGameState = nullptr;
	IStates* myOptionMenu = nullptr;
	IStates* myCredits = nullptr;
	IStates* myQuitScreen = nullptr;
	IStates* myIntroState = nullptr;
};

class StateStack
{
public:
	static constexpr float INTERFACE_NEAR_PLANE = 0.1f;
	static constexpr float INTERFACE_FAR_PLANE = 50000.0f;
	static constexpr float INTERFACE_CAMERA_Z = -100.0f;

	// Publishes itself.
	explicit StateStack(const StateSet& aStates);
	~StateStack();
	StateStack(const StateStack&) = delete;
	StateStack& operator=(const StateStack&) = delete;

	// The published owner; null when there is none.
	static StateStack* GetInstance() { return ourInstance; }

	// Pushes the intro and initialises it.
	void PushInitialState(InputMapper& anInput);
	void Update(InputMapper& anInput, float aDeltaTime);
	void Render(InputMapper& anInput);
	bool ShouldQuit() const { return myShouldQuit; }

	// The state aCode pushes, or null. Codes that clear the stack (1, 2, 5) do so
	// here, with the exits they ask for.
	IStates* GetState(int aCode);
	// The end of the game: the play state exits (its music and loops stop), the
	// stack is cleared without any other exit and the main menu comes up. Asked
	// during a state's update, it happens once that update returns, and the code
	// the update returned is dropped: it was meant for the old stack.
	void ReturnToMainMenu(InputMapper& anInput);

	const Norv::Camera& GetInterfaceCamera() const { return *myInterfaceCamera; }
	const std::vector<IStates*>& GetStack() const { return myStack; }
	IStates* GetGameState() const { return myStates.myGameState; }
	// The play state's frame kept while menus cover it.
	FrozenWorld& GetFrozenWorld() { return myFrozenWorld; }

private:
	void Push(IStates* aState, InputMapper& anInput);
	void LeaveForMainMenu(InputMapper& anInput);
	// Carries out a transition code other than Stay.
	void ApplyTransition(int aCode, InputMapper& anInput);
	void ExitTop();
	void MakeInterfaceCamera();
	// The play state under the top state, its frame from the kept copy while the world stays frozen.
	void RenderGameState(InputMapper& anInput);

	inline static StateStack* ourInstance = nullptr;

	std::unique_ptr<Norv::Camera> myInterfaceCamera;
	std::vector<IStates*> myStack;
	StateSet myStates;
	FrozenWorld myFrozenWorld;
	bool myShouldQuit = false;
	bool myIsUpdating = false;
	bool myIsMainMenuRequested = false;
};
