#pragma once
// A game state. States never push or pop each other: Update returns a
// transition code that the state owner carries out.
class InputMapper;

// The codes IStates::Update returns.
namespace StateTransition
{
	constexpr int Stay = 0;
	constexpr int NewGame = 1;          // reset the scene list to the tutorial, then as PlayCurrentScene
	constexpr int PlayCurrentScene = 2; // clear the stack, push the play state
	constexpr int Pause = 3;
	constexpr int AbilityPage = 4;
	constexpr int MainMenu = 5;         // clear the stack (the play state exits too), push the main menu
	constexpr int Options = 6;
	constexpr int Credits = 7;
	constexpr int None = 8;
	constexpr int QuitScreen = 9;
	constexpr int Back = 10;            // pop the top state
	constexpr int Quit = 11;            // clear the stack without exits and end the game
	constexpr int ToggleWindowMode = 12; // handled inside the options menu
	constexpr int ToggleMute = 13;       // handled inside the options menu
}

class IStates
{
public:
	// Right after the state is pushed.
	virtual void Init(InputMapper& anInput) = 0;
	// Once a frame, for the top state only.
	virtual int Update(InputMapper& anInput, float aDeltaTime) = 0;
	// When a code pops the state or clears the stack under it.
	virtual void Exit() = 0;
	// Every frame, for every stacked state, bottom first.
	virtual void Render(InputMapper& anInput) = 0;
	// Every frame just before Render, for every state but the play state.
	virtual void OnResize() = 0;
	virtual ~IStates() = default;
};
