#include "world/StandingPlace.h"

#include <cmath>

namespace
{
	constexpr float TILE = TileCollisionGrid::TILE_SIZE;
	// Tile coordinates beyond this are not searched (and would overflow the grid's integers).
	constexpr float MAX_TILE_COORDINATE = 1.0e6f;

	// The tiles a span of world units strictly overlaps: tile t covers [t - 0.5, t + 0.5]
	// in tile units, and a face that only touches the span does not count.
	struct TileRange
	{
		int first = 0;
		int last = -1;
	};

	TileRange RangeOf(float aCentre, float aSize)
	{
		const float someLow = (aCentre - aSize / 2.0f) / TILE;
		const float someHigh = (aCentre + aSize / 2.0f) / TILE;
		return { static_cast<int>(std::floor(someLow - 0.5f)) + 1, static_cast<int>(std::ceil(someHigh + 0.5f)) - 1 };
	}

	bool AnySolid(const TileCollisionGrid& aGrid, const TileRange& aColumns, const TileRange& aRows)
	{
		for (int someX = aColumns.first; someX <= aColumns.last; ++someX)
			for (int someY = aRows.first; someY <= aRows.last; ++someY)
				if (aGrid.IsSolid(someX, someY))
					return true;
		return false;
	}

	// The box's centre height when its bottom rests on the top of tile row aRow.
	float StandingHeight(int aRow, float aHeight)
	{
		return (static_cast<float>(aRow) + 0.5f) * TILE + aHeight / 2.0f;
	}

	bool StandsOn(const TileCollisionGrid& aGrid, const TileRange& aColumns, int aRow, float aHeight)
	{
		return AnySolid(aGrid, aColumns, { aRow, aRow }) && !AnySolid(aGrid, aColumns, RangeOf(StandingHeight(aRow, aHeight), aHeight));
	}

	// The first row from aFrom stepping by aStep (at most aCount rows) the box stands on.
	std::optional<int> FirstStandingRow(const TileCollisionGrid& aGrid, const TileRange& aColumns, int aFrom, int aStep, int aCount, float aHeight)
	{
		for (int someIndex = 0; someIndex < aCount; ++someIndex)
			if (const int someRow = aFrom + someIndex * aStep; StandsOn(aGrid, aColumns, someRow, aHeight))
				return someRow;
		return std::nullopt;
	}
}

std::optional<Norv::Vector2<float>> FindStandingPlace(const TileCollisionGrid& aGrid, const TileBox& aBox, int aSearchRows)
{
	const bool someIsPlace = std::isfinite(aBox.x) && std::isfinite(aBox.y) && aBox.w > 0.0f && aBox.h > 0.0f
		&& std::abs(aBox.x) + aBox.w < MAX_TILE_COORDINATE * TILE && std::abs(aBox.y) + aBox.h < MAX_TILE_COORDINATE * TILE;
	if (!someIsPlace || aSearchRows <= 0)
		return std::nullopt;
	const TileRange someColumns = RangeOf(aBox.x, aBox.w);
	// The highest row whose top is at or below the box's bottom.
	const int someBelow = static_cast<int>(std::floor((aBox.y - aBox.h / 2.0f) / TILE - 0.5f));
	const bool someIsFree = !AnySolid(aGrid, someColumns, RangeOf(aBox.y, aBox.h));
	const int someDown = -1, someUp = 1;
	std::optional<int> someRow = someIsFree ? FirstStandingRow(aGrid, someColumns, someBelow, someDown, aSearchRows, aBox.h)
											: FirstStandingRow(aGrid, someColumns, someBelow + 1, someUp, aSearchRows, aBox.h);
	if (!someRow)
		someRow = someIsFree ? FirstStandingRow(aGrid, someColumns, someBelow + 1, someUp, aSearchRows, aBox.h)
							 : FirstStandingRow(aGrid, someColumns, someBelow, someDown, aSearchRows, aBox.h);
	if (!someRow)
		return std::nullopt;
	return Norv::Vector2<float>{ aBox.x, StandingHeight(*someRow, aBox.h) };
}
