#pragma once
// Reads the game's settings file for the program entry.
#include <string>

namespace GameSettings
{
	constexpr const char* SETTINGS_NAME = "Game.json";

	// Loads aName into the engine's create parameters. A missing file keeps the
	// defaults (the engine reports it); a malformed one prints one line naming
	// the file and the json error and returns false, so the program can stop.
	bool Load(const std::string& aName = SETTINGS_NAME);
}
