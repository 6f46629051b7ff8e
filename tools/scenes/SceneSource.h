#pragma once
// A level source as written by hand: a tile grid (one character per 100-unit
// tile), the legend that says what each grid character places, and objects at
// free world positions. Parsing checks only the shape of each line; names and
// values are checked against the object definitions when the scene is built.
#include <string>
#include <vector>

namespace NorvScenes
{
	constexpr double TILE_SIZE = 100.0;

	// A problem in a source, at a line (1-based) of its file.
	struct SourceError
	{
		int line = 0;
		std::string message;
	};

	// "key=value", as written.
	struct Setting
	{
		std::string key, value;
	};

	// What one grid character places: a tile, or an object at the tile's centre.
	struct LegendEntry
	{
		char symbol = 0;
		bool isTile = false;
		std::string definition;
		std::vector<Setting> settings;
		int line = 0;
	};

	// Rows top first; the bottom row's first cell is centred on the origin.
	struct GridBlock
	{
		double originX = 0.0, originY = 0.0;
		std::vector<std::string> rows;
		int firstLine = 0; // the line of the first row
	};

	struct Placement
	{
		std::string definition;
		double x = 0.0, y = 0.0, z = 0.0;
		std::vector<Setting> settings;
		int line = 0;
	};

	struct SceneSource
	{
		std::vector<LegendEntry> legend;
		std::vector<GridBlock> grids;
		std::vector<Placement> objects;
	};

	// Parses aText; every malformed line adds an error and parsing goes on.
	SceneSource ParseSceneSource(const std::string& aText, std::vector<SourceError>& someErrors);

	// A decimal number, the whole text; false when it is not one.
	bool ParseNumber(const std::string& aText, double& aValue);
}
