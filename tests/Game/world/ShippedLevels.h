#pragma once
// The game's own levels, loaded through level building from the generated data set
// (scenes and definitions made by the build), and their level sources read back
// independently of the scene tool: the grid cells and the world origin.
#include "Support/SteppedWorld.h"

#include "world/AbilityFlags.h"
#include "world/entities/Player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace NorvTest
{
	inline const std::filesystem::path SHIPPED_DATA = std::filesystem::path(NORV_SOURCE_DIR) / "Source/Game/data";
	inline const std::filesystem::path LEVEL_SOURCES = std::filesystem::path(NORV_SOURCE_DIR) / "tools/scenes/levels";

	// The tile grid of a level source: cells by world tile coordinates.
	struct LevelGrid
	{
		int myOriginX = 0; // tile coordinates of the bottom-left cell
		int myOriginY = 0;
		std::vector<std::string> myRows; // top row first

		char At(int aTileX, int aTileY) const
		{
			const int someRow = static_cast<int>(myRows.size()) - 1 - (aTileY - myOriginY);
			const int someColumn = aTileX - myOriginX;
			if (someRow < 0 || someRow >= static_cast<int>(myRows.size()) || someColumn < 0 || someColumn >= static_cast<int>(myRows[someRow].size()))
				return ' ';
			return myRows[someRow][someColumn];
		}
		int Width() const
		{
			std::size_t someWidth = 0;
			for (const std::string& someRow : myRows)
				someWidth = std::max(someWidth, someRow.size());
			return static_cast<int>(someWidth);
		}
		int Height() const { return static_cast<int>(myRows.size()); }
	};

	// The one grid of aName's source (the levels use a single origin and grid).
	inline LevelGrid ReadLevelGrid(const std::string& aName)
	{
		std::ifstream someFile(LEVEL_SOURCES / (aName + ".txt"));
		LevelGrid someGrid;
		std::string someLine;
		bool someInGrid = false;
		while (std::getline(someFile, someLine))
		{
			if (someInGrid)
			{
				if (someLine == "end")
					break;
				someGrid.myRows.push_back(someLine);
			}
			else if (someLine.rfind("origin ", 0) == 0)
			{
				std::istringstream someWords(someLine.substr(7));
				float someX = 0.0f, someY = 0.0f;
				someWords >> someX >> someY;
				someGrid.myOriginX = static_cast<int>(someX / 100.0f);
				someGrid.myOriginY = static_cast<int>(someY / 100.0f);
			}
			else if (someLine == "grid")
				someInGrid = true;
		}
		return someGrid;
	}

	// A stepped world whose game asset folder is the shipped data set.
	class ShippedLevelTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			AbilityFlags.fill(false);
			if (!std::filesystem::exists(SHIPPED_DATA / "scenes"))
				GTEST_SKIP() << "the data set is not built: " << SHIPPED_DATA;
			if (!myWorld.IsStarted())
				GTEST_SKIP() << "the engine did not start headless";
			// Definitions are read from the game folder, models from the executable's data folder.
			std::filesystem::create_directory_symlink(SHIPPED_DATA, myWorld.Folder().Path() / "game");
			std::filesystem::create_directory_symlink(SHIPPED_DATA, myWorld.Folder().Path() / "data");
		}
		void TearDown() override { AbilityFlags.fill(false); }

		void Load(const std::string& aName) { myWorld.Load("scenes/" + aName + ".nvs"); }

		template <typename T>
		std::vector<T*> All()
		{
			std::vector<T*> someFound;
			for (const std::unique_ptr<Entity>& someEntity : myWorld.myState.GetEntities())
				if (T* someTyped = dynamic_cast<T*>(someEntity.get()))
					someFound.push_back(someTyped);
			return someFound;
		}
		Player& ThePlayer() { return *myWorld.myState.GetFrameContext().player; }
		TileCollisionGrid& Grid() { return myWorld.myState.GetTileGrid(); }
		// The player put at aPosition, at rest, with the abilities given.
		void PlaceAt(Norv::Vector2<float> aPosition)
		{
			ThePlayer().myPosition = aPosition;
			ThePlayer().myVelocity = { 0.0f, 0.0f };
			myWorld.Step(30);
		}

		SteppedWorld myWorld;
	};
}
