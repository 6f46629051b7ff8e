#include "DefinitionTable.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace NorvScenes
{
	void DefinitionTable::Load(const std::filesystem::path& aRoot)
	{
		std::vector<std::filesystem::path> somePaths;
		for (const auto& someEntry : std::filesystem::recursive_directory_iterator(aRoot))
			if (someEntry.is_regular_file() && someEntry.path().extension() == ".nvo")
				somePaths.push_back(someEntry.path());
		std::sort(somePaths.begin(), somePaths.end());
		for (const std::filesystem::path& somePath : somePaths)
		{
			std::ifstream someFile(somePath);
			try
			{
				const nlohmann::json someJson = nlohmann::json::parse(someFile);
				DefinitionKinds someKinds;
				for (const nlohmann::json& someProperty : someJson.value("properties", nlohmann::json::array()))
					someKinds.properties.emplace(someProperty.at("name").get<std::string>(),
						PropertyKind{ someProperty.at("type").get<std::string>(), someProperty.at("is-per-instance").get<bool>() });
				Add(somePath.stem().string(), someKinds);
			}
			catch (const nlohmann::json::exception& someError)
			{
				throw std::runtime_error(somePath.string() + ": not a readable object definition: " + someError.what());
			}
		}
	}

	void DefinitionTable::Add(const std::string& aName, const DefinitionKinds& aKinds)
	{
		myDefinitions.emplace(aName, aKinds);
	}

	const DefinitionKinds* DefinitionTable::Find(const std::string& aName) const
	{
		const auto someFound = myDefinitions.find(aName);
		return someFound == myDefinitions.end() ? nullptr : &someFound->second;
	}
}
