#pragma once
// Writes scenes (form A) and object definitions into a test's game asset folder,
// and turns ASCII grids into scenes: one character per 100-unit tile, the bottom
// row at y = 0 and the first column at x = 0.
#include "Support/TempFolder.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace NorvTest
{
	constexpr float ASCII_TILE = 100.0f;
	constexpr char ASCII_SOLID = '#';

	// A definition "<aName>.nvo" whose properties (name, type, value) scene objects may all override.
	inline void WriteDefinition(const TempFolder& aFolder, const std::string& aName, const nlohmann::json& aProperties)
	{
		nlohmann::json someProperties = nlohmann::json::array();
		for (const nlohmann::json& someEntry : aProperties)
		{
			nlohmann::json someProperty = someEntry;
			someProperty["is-dynamic"] = false;
			someProperty["is-per-instance"] = true;
			someProperties.push_back(someProperty);
		}
		aFolder.Write("game/definitions/" + aName + ".nvo", nlohmann::json{ { "parent-object-definition", "" }, { "properties", someProperties } }.dump());
	}

	// A fresh GUID each call, rising, so objects keep the order they are written in.
	inline std::string NextGuid()
	{
		static unsigned ourCounter = 0x100;
		const unsigned someNumber = ++ourCounter;
		char someText[40];
		std::snprintf(someText, sizeof(someText), "%08x-0000-4000-8000-%012x", someNumber, someNumber);
		return someText;
	}

	// One scene object of definition aDefinition at aPosition, with its own property values.
	inline nlohmann::json SceneObject(const std::string& aName, const std::string& aDefinition, std::array<float, 3> aPosition, const nlohmann::json& aProperties = nlohmann::json::array())
	{
		return { { "uuid", NextGuid() }, { "name", aName }, { "object-definition", aDefinition }, { "translation", aPosition }, { "properties", aProperties } };
	}

	// aScenePath ("scenes/X.nvs") in form A holding aObjects in order.
	inline void WriteScene(const TempFolder& aFolder, const std::string& aScenePath, const nlohmann::json& aObjects)
	{
		const std::filesystem::path someFolder = std::filesystem::path("game") / std::filesystem::path(aScenePath).replace_extension(".leveldata_new");
		aFolder.Write(someFolder / "leveldata.json", aObjects.dump());
	}

	// The definitions the grids use: "Tile" and one per entity type of the legend.
	inline void WriteAsciiDefinitions(const TempFolder& aFolder, const std::map<char, std::string>& aLegend)
	{
		WriteDefinition(aFolder, "Tile", nlohmann::json::array({ { { "name", "tileId" }, { "type", "Int" }, { "value", 1 } } }));
		for (const auto& [someChar, someType] : aLegend)
			WriteDefinition(aFolder, someType, nlohmann::json::array({ { { "name", "entityId" }, { "type", "StringId" }, { "value", someType } } }));
	}

	// The scene objects of a grid: '#' a tile, a legend character an entity at its tile's centre.
	inline nlohmann::json AsciiObjects(const std::vector<std::string>& aRows, const std::map<char, std::string>& aLegend)
	{
		nlohmann::json someObjects = nlohmann::json::array();
		for (std::size_t someRow = 0; someRow < aRows.size(); ++someRow)
		{
			const float someY = ASCII_TILE * static_cast<float>(aRows.size() - 1 - someRow);
			for (std::size_t someColumn = 0; someColumn < aRows[someRow].size(); ++someColumn)
			{
				const char someChar = aRows[someRow][someColumn];
				const float someX = ASCII_TILE * static_cast<float>(someColumn);
				if (someChar == ASCII_SOLID)
					someObjects.push_back(SceneObject("tile", "Tile", { someX, someY, 0.0f }));
				else if (const auto someFound = aLegend.find(someChar); someFound != aLegend.end())
					someObjects.push_back(SceneObject(someFound->second, someFound->second, { someX, someY, 0.0f }));
			}
		}
		return someObjects;
	}

	inline void WriteAsciiScene(const TempFolder& aFolder, const std::string& aScenePath, const std::vector<std::string>& aRows, const std::map<char, std::string>& aLegend = {})
	{
		WriteAsciiDefinitions(aFolder, aLegend);
		WriteScene(aFolder, aScenePath, AsciiObjects(aRows, aLegend));
	}
}
