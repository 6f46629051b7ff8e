#pragma once
// The generated data set as the tests see it: its two folders and the object
// definitions read back as plain json.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace NorvTest
{
	inline const std::filesystem::path GAME_DATA = std::filesystem::path(NORV_SOURCE_DIR) / "Source/Game/data";
	inline const std::filesystem::path ENGINE_ASSETS = std::filesystem::path(NORV_SOURCE_DIR) / "Source/Engine/assets";

	struct DefinitionFile
	{
		std::string name; // the file stem
		nlohmann::json properties;

		// The value of the first property named aName, or null.
		nlohmann::json Value(const std::string& aName) const
		{
			for (const nlohmann::json& p : properties)
				if (p.at("name") == aName)
					return p.at("value");
			return nullptr;
		}
	};

	// Every ".nvo" under the game data folder, sorted by path.
	inline std::vector<DefinitionFile> ReadDefinitions()
	{
		std::vector<std::filesystem::path> somePaths;
		for (const auto& someEntry : std::filesystem::recursive_directory_iterator(GAME_DATA))
			if (someEntry.is_regular_file() && someEntry.path().extension() == ".nvo")
				somePaths.push_back(someEntry.path());
		std::sort(somePaths.begin(), somePaths.end());
		std::vector<DefinitionFile> someDefinitions;
		for (const std::filesystem::path& somePath : somePaths)
		{
			std::ifstream someFile(somePath);
			const nlohmann::json someJson = nlohmann::json::parse(someFile);
			someDefinitions.push_back({ somePath.stem().string(), someJson.value("properties", nlohmann::json::array()) });
		}
		return someDefinitions;
	}

	// Resolves a data-set name as the asset lookup does: game data first, then the engine's assets.
	inline std::filesystem::path Resolve(const std::string& aRelative)
	{
		const std::filesystem::path someGame = GAME_DATA / aRelative;
		return std::filesystem::exists(someGame) ? someGame : ENGINE_ASSETS / aRelative;
	}
}
