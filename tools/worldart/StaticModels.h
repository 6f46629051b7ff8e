#pragma once
// The static models: the engine's placeholder quad, the static entities'
// models, tiles and props, listed by the names the object definitions use.
#include "WorldArt.h"

#include <string>
#include <vector>

namespace NorvArt
{
	inline constexpr const char* PLACEHOLDER_QUAD = "models/Placeholders/SM_Quad.fbx";

	enum class Look { FOREST, CAVE, SAD_FOREST };

	struct StaticModel
	{
		std::string name; // the file stem and the definition name
		std::string path; // under the game data folder
	};

	// Entity models, by the definition that uses them: "Door", "Lever" ...
	const std::vector<StaticModel>& EntityModels();
	// Tiles and props with the look they belong to.
	struct SetPiece
	{
		StaticModel model;
		Look look;
		bool isTile;
		bool isDrawnWithHints = false; // a board behind a scene's hints, drawn only while they are
	};
	const std::vector<SetPiece>& SetPieces();
	std::string EntityModelPath(const std::string& aName);
}
