#pragma once
// Level source files in, scene files out.
#include "DefinitionTable.h"

#include <filesystem>
#include <ostream>

namespace NorvScenes
{
	// The scene file text of one source file; false, with "<file>:<line>: <problem>"
	// lines on aErrors, when the source has faults (nothing is then to be written).
	bool MakeSceneText(const std::filesystem::path& aSourceFile, const DefinitionTable& someDefinitions, std::string& aText, std::ostream& aErrors);

	// Every "*.txt" of aLevels (in name order) into aGameData/scenes, with the
	// definitions under aGameData/definitions. False when any source has faults;
	// the faultless ones are still written.
	bool MakeScenes(const std::filesystem::path& aLevels, const std::filesystem::path& aGameData);
}
