#pragma once
// Turns a parsed level source into the objects of a scene file: one json
// object per tile, placed object and drawn tile face, with the "uuid",
// "name", "object-definition", transform and property overrides the scene
// loader reads. Every override is typed by the definition it names.
#include "DefinitionTable.h"
#include "SceneSource.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace NorvScenes
{
	// The scene's objects in source order (grids first, then the placed objects).
	// The GUIDs are derived from aSceneName, so the same source always gives the same bytes.
	// Every problem adds an error at its source line; the result is then incomplete.
	nlohmann::json BuildSceneObjects(const SceneSource& aSource, const DefinitionTable& someDefinitions, const std::string& aSceneName, std::vector<SourceError>& someErrors);
}
