#pragma once
// Recorded input for a scripted run of the whole game, one text file a level:
//
//   # a comment, to the end of the line
//   120 Right            hold Right for 120 frames (nothing after the count: nothing held)
//   8 Right Jump         hold both for 8 frames
//   until scene Hub 600  play up to 600 frames with nothing held until the stage holds
//   until near 2400 300 80 400 Right   the same, holding Right meanwhile
//   expect ability Dash  the stage must hold now (an "until" of 0 frames)
//
// Actions are the game's input actions by name (Up Down Left Right Jump Attack
// Dash Climb Pause Confirm Back), fed as the gamepad buttons they are bound to.
// The stages a script can wait for are listed in Stage.
#include "Math/Vector.h"
#include "xinput/XInput.h"

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace Playthrough
{
	// Bit i: input action i held.
	using ActionMask = std::uint32_t;

	// A script line that cannot be read; the message names the script and line.
	class ScriptError : public std::runtime_error
	{
	public:
		using std::runtime_error::runtime_error;
	};

	struct Stage
	{
		enum class Kind
		{
			Intro,    // "intro": the intro pictures are on top
			Menu,     // "menu": the main menu is on top
			Cutscene, // "cutscene": the play state is on top, a video playing over the level
			Scene,    // "scene <Name>": scenes/<Name>.nvs loaded and played (no load pending, no video)
			Page,     // "page": the ability page is up
			Paused,   // "paused": the pause menu is up
			Ability,  // "ability <WallJump|Dash|Climb|DashSlash>": the ability is granted
			Near,     // "near <x> <y> <distance>": the player is within distance of the point
			Ending,   // "ending": the closing video plays in the ending scene
			BossFight, // "boss-fight": the level's boss is alive, active and shows its health bar
			BossDead,  // "boss-dead": the boss of the level in play has died in it
			Options,   // "options": the options menu is up
			Volume,    // "volume <0..1>": the master volume is this, to within a hundredth
			Dead,      // "dead <Spikes|Hedgehog|Boss|Wasp|Mushroom>": the player lies dead, that harm the nearest to it
			Fallen,    // "fallen": the player has dropped out of the level, below y -10000
			Respawned, // "respawned": the player lives, stands on the ground and has every petal
		};

		// What kills the player, for "dead".
		enum class Harm
		{
			Spikes,
			Hedgehog,
			Boss,
			Wasp,
			Mushroom,
		};

		Kind myKind = Kind::Intro;
		std::string myName;          // the scene or ability named
		std::size_t myAbility = 0;   // Ability::* of an ability stage
		Harm myHarm = Harm::Spikes;  // dead: what killed the player
		float myVolume = 0.0f;       // volume: the master volume
		Norv::Vector2<float> myPoint; // near: the point, world units
		float myDistance = 0.0f;     // near: world units

		// The stage as a script spells it.
		std::string ToText() const;
	};

	struct Step
	{
		int myLine = 0;        // 1-based, in its script
		int myFrames = 0;      // frames to hold, or at most to wait
		ActionMask myHeld = 0;
		bool myIsWait = false; // "until"/"expect": stop once myStage holds, fail if it never does
		Stage myStage;
	};

	struct Script
	{
		std::string myName; // for reports, e.g. "Level_1.txt"
		std::vector<Step> mySteps;
	};

	// Throws ScriptError naming aName and the line of the first line it cannot read.
	Script ParseScript(std::string_view aText, const std::string& aName);
	// The file's script, named by its file name; throws ScriptError when it cannot be read.
	Script LoadScript(const std::filesystem::path& aPath);

	// The pad reading that holds the actions of aHeld (each action's first pad
	// button) and the left stick at aLeftStick (-1..1 on each axis).
	XINPUT_GAMEPAD ToPadReading(ActionMask aHeld, Norv::Vector2<float> aLeftStick = {});
}
