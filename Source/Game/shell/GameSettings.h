#pragma once
// Reads the game's settings file for the program entry.
#include <string>

namespace GameSettings
{
	constexpr const char* SETTINGS_NAME = "Game.json";

	// Loads aName into the engine's create parameters. False, after one line that
	// names the file and what it needs, when the game cannot start with it: the
	// file is missing, empty or not json, a value it needs is missing or of the
	// wrong type, or an asset folder is not named or does not exist.
	bool Load(const std::string& aName = SETTINGS_NAME);
}
