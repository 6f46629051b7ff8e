#include "SceneBuilder.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace NorvScenes
{
	namespace
	{
		using nlohmann::json;

		// Keys the tool reads itself; every other key is a property override.
		constexpr const char* KEY_NAME = "name";
		constexpr const char* KEY_ROTATION = "rotation";
		constexpr const char* KEY_SCALE = "scale";
		constexpr const char* KEY_OFFSET = "offset"; // grid objects: moved from the tile's centre
		constexpr const char* KEY_DEPTH = "z";       // grid objects and tile faces
		constexpr const char* KEY_FACE = "prop";     // tiles: the prop drawn on the tile
		constexpr const char* KEY_TOP_FACE = "top";  // tiles: the prop drawn when nothing solid lies above
		constexpr const char* KEY_DEEP_FACE = "deep";     // tiles: the prop drawn under DEEP_TILES solid tiles
		constexpr const char* KEY_DEEPER_FACE = "deeper"; // tiles: the prop drawn under DEEPER_TILES solid tiles
		constexpr std::size_t DEEP_TILES = 2;
		constexpr std::size_t DEEPER_TILES = 5;
		constexpr char FACE_SEPARATOR = '|'; // a face key may list several props, one picked per cell

		std::optional<std::vector<double>> Numbers(const std::string& aText)
		{
			std::vector<double> someValues;
			std::size_t someStart = 0;
			while (true)
			{
				const std::size_t someComma = aText.find(',', someStart);
				double someValue = 0.0;
				if (!ParseNumber(aText.substr(someStart, someComma - someStart), someValue))
					return std::nullopt;
				someValues.push_back(someValue);
				if (someComma == std::string::npos)
					return someValues;
				someStart = someComma + 1;
			}
		}

		std::optional<json> Vector(const std::string& aText, std::size_t aCount)
		{
			const std::optional<std::vector<double>> someValues = Numbers(aText);
			if (!someValues || someValues->size() != aCount)
				return std::nullopt;
			return json(*someValues);
		}

		// The json form of aText for a property of type aType; a message when it does not fit.
		std::optional<json> PropertyValue(const std::string& aType, const std::string& aText, std::string& aProblem)
		{
			if (aType == "Int")
			{
				int someValue = 0;
				const auto [somePtr, someError] = std::from_chars(aText.data(), aText.data() + aText.size(), someValue);
				if (someError == std::errc() && somePtr == aText.data() + aText.size())
					return json(someValue);
			}
			else if (aType == "Float")
			{
				double someValue = 0.0;
				if (ParseNumber(aText, someValue))
					return json(someValue);
			}
			else if (aType == "Float2" || aType == "Float3" || aType == "Float4" || aType == "Color")
			{
				const std::size_t someCount = aType == "Float2" ? 2 : aType == "Float3" ? 3 : 4;
				if (std::optional<json> someValue = Vector(aText, someCount))
					return someValue;
				aProblem = "expected " + std::to_string(someCount) + " numbers separated by commas";
				return std::nullopt;
			}
			else if (aType == "Bool")
			{
				if (aText == "true" || aText == "false")
					return json(aText == "true");
			}
			else if (aType == "StringId")
				return json(aText);
			else
			{
				aProblem = "properties of type " + aType + " cannot be set in a level source";
				return std::nullopt;
			}
			aProblem = "expected a value of type " + aType;
			return std::nullopt;
		}

		class Builder
		{
		public:
			Builder(const DefinitionTable& someDefinitions, const std::string& aSceneName, std::vector<SourceError>& someErrors)
				: myDefinitions(someDefinitions), myErrors(someErrors)
			{
				// FNV-1a over the scene name keeps the GUIDs of different scenes apart.
				myScenePrefix = 2166136261u;
				for (const char someChar : aSceneName)
					myScenePrefix = (myScenePrefix ^ static_cast<std::uint8_t>(someChar)) * 16777619u;
			}

			// One object; aToolKeys are the keys besides name, rotation and scale that the caller has read.
			void Add(const std::string& aDefinition, std::array<double, 3> aPosition, const std::vector<Setting>& someSettings, std::initializer_list<const char*> aToolKeys, int aLine)
			{
				const DefinitionKinds* someKinds = myDefinitions.Find(aDefinition);
				if (!someKinds)
				{
					Error(aLine, "unknown object definition '" + aDefinition + "'");
					return;
				}
				json someObject = { { "uuid", NextGuid() }, { "name", aDefinition }, { "object-definition", aDefinition }, { "translation", aPosition } };
				json someProperties = json::array();
				for (const Setting& someSetting : someSettings)
				{
					if (IsOneOf(someSetting.key, aToolKeys))
						continue;
					if (someSetting.key == KEY_NAME)
					{
						someObject["name"] = someSetting.value;
						continue;
					}
					if (someSetting.key == KEY_ROTATION || someSetting.key == KEY_SCALE)
					{
						std::optional<json> someVector = Vector(someSetting.value, 3);
						if (!someVector && someSetting.key == KEY_SCALE)
							if (const std::optional<json> someUniform = Vector(someSetting.value, 1))
								someVector = json::array({ (*someUniform)[0], (*someUniform)[0], (*someUniform)[0] });
						if (!someVector)
						{
							Error(aLine, someSetting.key + "='" + someSetting.value + "': expected " + (someSetting.key == KEY_SCALE ? "1 or 3" : "3") + " numbers separated by commas");
							continue;
						}
						someObject[someSetting.key] = *someVector;
						// Entities take their rotation and scale from properties when their definition has them.
						if (const auto someKind = someKinds->properties.find(someSetting.key); someKind != someKinds->properties.end() && someKind->second.perInstance && someKind->second.type == "Float3")
							someProperties.push_back({ { "name", someSetting.key }, { "type", "Float3" }, { "value", *someVector } });
						continue;
					}
					const auto someKind = someKinds->properties.find(someSetting.key);
					if (someKind == someKinds->properties.end())
					{
						Error(aLine, "'" + aDefinition + "' has no property '" + someSetting.key + "'");
						continue;
					}
					if (!someKind->second.perInstance)
					{
						Error(aLine, "'" + someSetting.key + "' of '" + aDefinition + "' is fixed by its definition");
						continue;
					}
					std::string someProblem;
					const std::optional<json> someValue = PropertyValue(someKind->second.type, someSetting.value, someProblem);
					if (!someValue)
					{
						Error(aLine, someSetting.key + "='" + someSetting.value + "': " + someProblem);
						continue;
					}
					if (someSetting.key == "targetScene" && someSetting.value.find_first_of("/.") != std::string::npos)
					{
						Error(aLine, "targetScene is a bare scene name such as 'Hub', not a path");
						continue;
					}
					someProperties.push_back({ { "name", someSetting.key }, { "type", someKind->second.type }, { "value", *someValue } });
				}
				someObject["properties"] = someProperties;
				myObjects.push_back(someObject);
			}

			// The value of aKey among someSettings as numbers, or aDefault; an error when it is malformed.
			std::vector<double> NumbersOf(const std::vector<Setting>& someSettings, const char* aKey, std::vector<double> aDefault, int aLine)
			{
				for (const Setting& someSetting : someSettings)
					if (someSetting.key == aKey)
					{
						const std::optional<std::vector<double>> someValues = Numbers(someSetting.value);
						if (someValues && someValues->size() == aDefault.size())
							return *someValues;
						Error(aLine, std::string(aKey) + "='" + someSetting.value + "': expected " + std::to_string(aDefault.size()) + " number(s) separated by commas");
					}
				return aDefault;
			}

			static std::string TextOf(const std::vector<Setting>& someSettings, const char* aKey)
			{
				for (const Setting& someSetting : someSettings)
					if (someSetting.key == aKey)
						return someSetting.value;
				return {};
			}

			void Error(int aLine, const std::string& aMessage) { myErrors.push_back({ aLine, aMessage }); }

			// An error for each name of someNames that no definition has.
			void CheckDefinitions(const std::vector<std::string>& someNames, int aLine)
			{
				for (const std::string& someName : someNames)
					if (!myDefinitions.Find(someName))
						Error(aLine, "unknown object definition '" + someName + "'");
			}

			json TakeObjects() { return std::move(myObjects); }

		private:
			static bool IsOneOf(const std::string& aKey, std::initializer_list<const char*> someKeys)
			{
				for (const char* someKey : someKeys)
					if (aKey == someKey)
						return true;
				return false;
			}

			std::string NextGuid()
			{
				char someText[40];
				std::snprintf(someText, sizeof(someText), "%08x-0000-4000-8000-%012x", myScenePrefix, ++myCounter);
				return someText;
			}

			const DefinitionTable& myDefinitions;
			std::vector<SourceError>& myErrors;
			json myObjects = json::array();
			std::uint32_t myScenePrefix = 0;
			unsigned myCounter = 0;
		};

		const LegendEntry* FindLegend(const SceneSource& aSource, char aSymbol)
		{
			for (const LegendEntry& someEntry : aSource.legend)
				if (someEntry.symbol == aSymbol)
					return &someEntry;
			return nullptr;
		}

		bool IsEmptyCell(char aSymbol) { return aSymbol == ' ' || aSymbol == '.'; }

		bool IsTileAt(const SceneSource& aSource, const GridBlock& aGrid, std::size_t aRow, std::size_t aColumn)
		{
			if (aColumn >= aGrid.rows[aRow].size())
				return false;
			const LegendEntry* someEntry = FindLegend(aSource, aGrid.rows[aRow][aColumn]);
			return someEntry && someEntry->isTile;
		}

		// The solid tiles straight above a cell, up to aLimit.
		std::size_t TilesAbove(const SceneSource& aSource, const GridBlock& aGrid, std::size_t aRow, std::size_t aColumn, std::size_t aLimit)
		{
			std::size_t someCount = 0;
			while (someCount < aLimit && someCount < aRow && IsTileAt(aSource, aGrid, aRow - 1 - someCount, aColumn))
				++someCount;
			return someCount;
		}

		std::vector<std::string> SplitFaces(const std::string& aList)
		{
			std::vector<std::string> someFaces;
			std::size_t someStart = 0;
			while (someStart <= aList.size() && !aList.empty())
			{
				const std::size_t someEnd = std::min(aList.find(FACE_SEPARATOR, someStart), aList.size());
				someFaces.push_back(aList.substr(someStart, someEnd - someStart));
				someStart = someEnd + 1;
			}
			return someFaces;
		}

		// One of someFaces for the cell, by a hash of its place: neighbours differ, and every
		// build picks the same.
		std::string PickFace(const std::vector<std::string>& someFaces, std::size_t aRow, std::size_t aColumn)
		{
			if (someFaces.empty())
				return {};
			std::uint32_t h = static_cast<std::uint32_t>(aColumn) * 0x9E3779B1u + static_cast<std::uint32_t>(aRow) * 0x85EBCA77u;
			h ^= h >> 15;
			h *= 0x2C1B3C6Du;
			h ^= h >> 12;
			return someFaces[h % someFaces.size()];
		}

		void BuildGrid(const SceneSource& aSource, const GridBlock& aGrid, Builder& aBuilder)
		{
			for (std::size_t someRow = 0; someRow < aGrid.rows.size(); ++someRow)
			{
				const int someLine = aGrid.firstLine + static_cast<int>(someRow);
				const double someY = aGrid.originY + TILE_SIZE * static_cast<double>(aGrid.rows.size() - 1 - someRow);
				for (std::size_t someColumn = 0; someColumn < aGrid.rows[someRow].size(); ++someColumn)
				{
					const char someSymbol = aGrid.rows[someRow][someColumn];
					if (IsEmptyCell(someSymbol))
						continue;
					const LegendEntry* someEntry = FindLegend(aSource, someSymbol);
					if (!someEntry)
					{
						aBuilder.Error(someLine, "column " + std::to_string(someColumn + 1) + ": '" + std::string(1, someSymbol) + "' is not in the legend");
						continue;
					}
					const double someX = aGrid.originX + TILE_SIZE * static_cast<double>(someColumn);
					if (someEntry->isTile)
					{
						// A tile is a cell of the collision grid: its transform keys are the drawn face's.
						aBuilder.Add(someEntry->definition, { someX, someY, 0.0 }, someEntry->settings,
							{ KEY_FACE, KEY_TOP_FACE, KEY_DEEP_FACE, KEY_DEEPER_FACE, KEY_DEPTH, KEY_ROTATION, KEY_SCALE }, someEntry->line);
						// The face by how deep the tile lies: the top where nothing solid lies above,
						// darker ground further down; a missing key falls back to the one above it.
						const std::size_t someAbove = TilesAbove(aSource, aGrid, someRow, someColumn, DEEPER_TILES);
						std::vector<std::string> someFaces;
						for (const auto& [someKey, someDepthReached] : { std::pair{ KEY_TOP_FACE, someAbove == 0 }, std::pair{ KEY_FACE, true },
								 std::pair{ KEY_DEEP_FACE, someAbove >= DEEP_TILES }, std::pair{ KEY_DEEPER_FACE, someAbove >= DEEPER_TILES } })
						{
							std::vector<std::string> someListed = SplitFaces(Builder::TextOf(someEntry->settings, someKey));
							aBuilder.CheckDefinitions(someListed, someEntry->line);
							if (someDepthReached && !someListed.empty() && (someFaces.empty() || someKey != KEY_FACE))
								someFaces = std::move(someListed);
						}
						const std::string someFace = PickFace(someFaces, someRow, someColumn);
						const double someDepth = aBuilder.NumbersOf(someEntry->settings, KEY_DEPTH, { 0.0 }, someEntry->line)[0];
						std::vector<Setting> someFaceSettings;
						for (const Setting& someSetting : someEntry->settings)
							if (someSetting.key == KEY_ROTATION || someSetting.key == KEY_SCALE)
								someFaceSettings.push_back(someSetting);
						if (!someFace.empty())
							aBuilder.Add(someFace, { someX, someY, someDepth }, someFaceSettings, {}, someEntry->line);
					}
					else
					{
						const std::vector<double> someOffset = aBuilder.NumbersOf(someEntry->settings, KEY_OFFSET, { 0.0, 0.0 }, someEntry->line);
						const double someDepth = aBuilder.NumbersOf(someEntry->settings, KEY_DEPTH, { 0.0 }, someEntry->line)[0];
						// A placed object may be one of several, picked per cell as tile faces are.
						const std::vector<std::string> someChoices = SplitFaces(someEntry->definition);
						aBuilder.CheckDefinitions(someChoices, someEntry->line);
						aBuilder.Add(PickFace(someChoices, someRow, someColumn), { someX + someOffset[0], someY + someOffset[1], someDepth }, someEntry->settings, { KEY_OFFSET, KEY_DEPTH }, someEntry->line);
					}
				}
			}
		}
	}

	nlohmann::json BuildSceneObjects(const SceneSource& aSource, const DefinitionTable& someDefinitions, const std::string& aSceneName, std::vector<SourceError>& someErrors)
	{
		Builder someBuilder(someDefinitions, aSceneName, someErrors);
		for (const GridBlock& someGrid : aSource.grids)
			BuildGrid(aSource, someGrid, someBuilder);
		for (const Placement& somePlacement : aSource.objects)
			someBuilder.Add(somePlacement.definition, { somePlacement.x, somePlacement.y, somePlacement.z }, somePlacement.settings, {}, somePlacement.line);
		// A faulty legend entry fails at every cell it marks: report each problem once.
		std::vector<SourceError> someUnique;
		for (const SourceError& someError : someErrors)
			if (std::none_of(someUnique.begin(), someUnique.end(), [&](const SourceError& e) { return e.line == someError.line && e.message == someError.message; }))
				someUnique.push_back(someError);
		someErrors = someUnique;
		return someBuilder.TakeObjects();
	}
}
