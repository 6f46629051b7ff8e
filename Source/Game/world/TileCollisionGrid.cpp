#include "world/TileCollisionGrid.h"
#include "world/GameState.h"

#include "drawers/LineDrawer.h"
#include "engine/Engine.h"
#include "graphics/GraphicsEngine.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace
{
	constexpr int NEIGHBOURHOOD = (2 * TileCollisionGrid::SEARCH_RADIUS + 1) * (2 * TileCollisionGrid::SEARCH_RADIUS + 1);
	constexpr float TILE_UNITS_PER_WORLD_UNIT = 0.01f;
	constexpr Norv::Vector4<float> TILE_OUTLINE_COLOR{ 1.0f, 1.0f, 1.0f, 1.0f };
	constexpr Norv::Vector4<float> CHUNK_OUTLINE_COLOR{ 0.0f, 0.0f, 1.0f, 1.0f };
	constexpr float TILE_INDEX_LIMIT = 268435456.0f; // 2^28 tiles: searches around it never overflow an int

	// A whole number of tiles as an index; infinities clamp to the limit, and NaN, which
	// is nowhere, goes to the far end rather than among the level's tiles.
	int ToTileIndex(float aWholeTiles)
	{
		return static_cast<int>(std::clamp(std::isnan(aWholeTiles) ? -TILE_INDEX_LIMIT : aWholeTiles, -TILE_INDEX_LIMIT, TILE_INDEX_LIMIT));
	}

	TileCollisionGrid::ChunkKey ChunkOf(int aTileX, int aTileY)
	{
		// Arithmetic shifts floor toward minus infinity: tile -1 is in chunk -1.
		return { aTileX >> 4, aTileY >> 4 };
	}

	int CellOf(int aTileX, int aTileY)
	{
		return (aTileX & (TileCollisionGrid::CHUNK_SIZE - 1)) * TileCollisionGrid::CHUNK_SIZE + (aTileY & (TileCollisionGrid::CHUNK_SIZE - 1));
	}

	// Boxes without area (a dead entity's zeroed collider) overlap nothing.
	bool HasArea(const TileBox& aBox)
	{
		return aBox.w > 0.0f && aBox.h > 0.0f;
	}

	bool Overlaps(const TileBox& aFirst, const TileBox& aSecond)
	{
		return HasArea(aFirst) && HasArea(aSecond)
			&& aFirst.w / 2.0f + aSecond.w / 2.0f - std::abs(aFirst.x - aSecond.x) > 0.0f
			&& aFirst.h / 2.0f + aSecond.h / 2.0f - std::abs(aFirst.y - aSecond.y) > 0.0f;
	}

	// The four sides of the square [aLeft, aLeft + aSide] x [aBottom, aBottom + aSide] at depth 0.
	void AddSquare(std::vector<DebugLine>& aLines, float aLeft, float aBottom, float aSide, const Norv::Vector4<float>& aColor)
	{
		const float someRight = aLeft + aSide;
		const float someTop = aBottom + aSide;
		aLines.push_back({ { aLeft, aBottom, 0.0f }, { someRight, aBottom, 0.0f }, aColor });
		aLines.push_back({ { someRight, aBottom, 0.0f }, { someRight, someTop, 0.0f }, aColor });
		aLines.push_back({ { someRight, someTop, 0.0f }, { aLeft, someTop, 0.0f }, aColor });
		aLines.push_back({ { aLeft, someTop, 0.0f }, { aLeft, aBottom, 0.0f }, aColor });
	}

	// The contact of the list whose resolved coordinate lies strictly nearest aStart; the first wins ties.
	const TileContact& Nearest(const TileContact* aContacts, int aCount, float aStart, float Norv::Vector2<float>::*anAxis)
	{
		const TileContact* someBest = &aContacts[0];
		for (int someIndex = 1; someIndex < aCount; ++someIndex)
			if (std::abs(aContacts[someIndex].point.*anAxis - aStart) < std::abs(someBest->point.*anAxis - aStart))
				someBest = &aContacts[someIndex];
		return *someBest;
	}
}

std::size_t TileCollisionGrid::ChunkKeyHash::operator()(const ChunkKey& aKey) const noexcept
{
	return std::hash<int>()(aKey.cx) ^ (std::hash<int>()(aKey.cy) << 1);
}

void TileCollisionGrid::Build(const EntityList* anEntities, const std::vector<LevelTile>& aTiles, GameState* aGame)
{
	myEntities = anEntities;
	myGame = aGame;
	myChunks.clear();
	for (const LevelTile& someTile : aTiles)
		SetTile(someTile.tileX, someTile.tileY, true);
}

bool TileCollisionGrid::IsSolid(int aTileX, int aTileY) const
{
	const auto someFound = myChunks.find(ChunkOf(aTileX, aTileY));
	return someFound != myChunks.end() && someFound->second.cells[CellOf(aTileX, aTileY)];
}

void TileCollisionGrid::SetTile(int aTileX, int aTileY, bool aSolid)
{
	myChunks[ChunkOf(aTileX, aTileY)].cells[CellOf(aTileX, aTileY)] = aSolid;
}

std::vector<Entity*> TileCollisionGrid::GetOverlappingEntities(const TileBox& aBox) const
{
	std::vector<Entity*> someFound;
	if (!myEntities)
		return someFound;
	for (const std::unique_ptr<Entity>& someEntity : *myEntities)
	{
		const TileBox someCollider{ someEntity->myPosition.x, someEntity->myPosition.y, someEntity->myColliderSize.x, someEntity->myColliderSize.y };
		if (Overlaps(someCollider, aBox))
			someFound.push_back(someEntity.get());
	}
	return someFound;
}

TileContact TileCollisionGrid::PointContact(Norv::Vector2<float> aPoint, const TileBox& aBox)
{
	const float someHalfW = aBox.w / 2.0f;
	const float someHalfH = aBox.h / 2.0f;
	if (aPoint.x < aBox.x - someHalfW || aPoint.x > aBox.x + someHalfW || aPoint.y < aBox.y - someHalfH || aPoint.y > aBox.y + someHalfH)
		return {};

	TileContact someContact{ true, aPoint, 0, 0 };
	const float someDx = aPoint.x - aBox.x;
	const float someDy = aPoint.y - aBox.y;
	if (std::abs(someDx * aBox.h) > std::abs(someDy * aBox.w))
	{
		const bool someIsLeft = std::signbit(someDx);
		someContact.sideX = someIsLeft ? -1 : 1;
		someContact.point.x = someIsLeft ? aBox.x - someHalfW : aBox.x + someHalfW;
	}
	else
	{
		const bool someIsBelow = std::signbit(someDy);
		someContact.sideY = someIsBelow ? -1 : 1;
		someContact.point.y = someIsBelow ? aBox.y - someHalfH : aBox.y + someHalfH;
	}
	return someContact;
}

TileContact TileCollisionGrid::MoveAndCollide(const TileBox& aBox, Norv::Vector2<float> aDisplacement) const
{
	const int someTileX = ToTileIndex(std::floor(aBox.x / TILE_SIZE));
	const int someTileY = ToTileIndex(std::floor(aBox.y / TILE_SIZE));
	const Norv::Vector2<float> someMoved{ aBox.x + aDisplacement.x, aBox.y + aDisplacement.y };

	TileContact someHorizontal[NEIGHBOURHOOD];
	TileContact someVertical[NEIGHBOURHOOD];
	int someHorizontalCount = 0;
	int someVerticalCount = 0;
	for (int someI = someTileX - SEARCH_RADIUS; someI <= someTileX + SEARCH_RADIUS; ++someI)
	{
		for (int someJ = someTileY - SEARCH_RADIUS; someJ <= someTileY + SEARCH_RADIUS; ++someJ)
		{
			if (!IsSolid(someI, someJ))
				continue;
			const TileBox someGrown{ TILE_SIZE * someI, TILE_SIZE * someJ, aBox.w + TILE_SIZE, aBox.h + TILE_SIZE };
			const TileContact someContact = PointContact(someMoved, someGrown);
			if (!someContact.hit)
				continue;
			if (someContact.sideX != 0)
			{
				if (!IsSolid(someI + someContact.sideX, someJ))
					someHorizontal[someHorizontalCount++] = someContact;
			}
			else if (!IsSolid(someI, someJ + someContact.sideY))
			{
				someVertical[someVerticalCount++] = someContact;
			}
		}
	}

	if (someHorizontalCount == 0 && someVerticalCount == 0)
		return { false, someMoved, 0, 0 };

	TileContact someResult{ true, someVerticalCount > 0 ? someVertical[0].point : someHorizontal[0].point, 0, 0 };
	if (someHorizontalCount > 0)
	{
		const TileContact& someNearest = Nearest(someHorizontal, someHorizontalCount, aBox.x, &Norv::Vector2<float>::x);
		someResult.point.x = someNearest.point.x;
		someResult.sideX = someNearest.sideX;
	}
	if (someVerticalCount > 0)
	{
		const TileContact& someNearest = Nearest(someVertical, someVerticalCount, aBox.y, &Norv::Vector2<float>::y);
		someResult.point.y = someNearest.point.y;
		someResult.sideY = someNearest.sideY;
	}
	return someResult;
}

bool TileCollisionGrid::OverlapsSolid(const TileBox& aBox) const
{
	const TileBox someBox{ aBox.x * TILE_UNITS_PER_WORLD_UNIT, aBox.y * TILE_UNITS_PER_WORLD_UNIT, aBox.w * TILE_UNITS_PER_WORLD_UNIT, aBox.h * TILE_UNITS_PER_WORLD_UNIT };
	const int someLastX = ToTileIndex(std::ceil(someBox.x));
	const int someLastY = ToTileIndex(std::ceil(someBox.y));
	for (int someI = ToTileIndex(std::floor(someBox.x)) - 1; someI <= someLastX; ++someI)
		for (int someJ = ToTileIndex(std::floor(someBox.y)) - 1; someJ <= someLastY; ++someJ)
			if (IsSolid(someI, someJ) && PointContact({ someBox.x, someBox.y }, { static_cast<float>(someI), static_cast<float>(someJ), someBox.w + 1.0f, someBox.h + 1.0f }).hit)
				return true;
	return false;
}

BoxPenetration TileCollisionGrid::GetPenetration(const TileBox& aFirst, const TileBox& aSecond)
{
	if (!Overlaps(aFirst, aSecond))
		return {};
	const Norv::Vector2<float> someDelta{ aSecond.x - aFirst.x, aSecond.y - aFirst.y };
	const float someOverlapX = aFirst.w / 2.0f + aSecond.w / 2.0f - std::abs(someDelta.x);
	const float someOverlapY = aFirst.h / 2.0f + aSecond.h / 2.0f - std::abs(someDelta.y);
	BoxPenetration someResult;
	someResult.hit = true;
	if (someOverlapY > someOverlapX)
	{
		someResult.sideX = someDelta.x > 0.0f ? 1 : -1;
		someResult.push = { someResult.sideX * someOverlapX, 0.0f };
	}
	else
	{
		someResult.sideY = someDelta.y > 0.0f ? 1 : -1;
		someResult.push = { 0.0f, someResult.sideY * someOverlapY };
	}
	return someResult;
}

std::vector<DebugLine> TileCollisionGrid::GetDebugLines() const
{
	constexpr float HALF_TILE = TILE_SIZE / 2.0f;
	constexpr float CHUNK_SIDE = TILE_SIZE * CHUNK_SIZE;
	std::vector<DebugLine> someLines;
	for (const auto& [someKey, someChunk] : myChunks)
	{
		for (int someCell = 0; someCell < CHUNK_SIZE * CHUNK_SIZE; ++someCell)
		{
			if (!someChunk.cells[static_cast<std::size_t>(someCell)])
				continue;
			const float someX = TILE_SIZE * static_cast<float>(someKey.cx * CHUNK_SIZE + someCell / CHUNK_SIZE);
			const float someY = TILE_SIZE * static_cast<float>(someKey.cy * CHUNK_SIZE + someCell % CHUNK_SIZE);
			if (!myGame || myGame->IsInView({ someX, someY }, { TILE_SIZE, TILE_SIZE }))
				AddSquare(someLines, someX - HALF_TILE, someY - HALF_TILE, TILE_SIZE, TILE_OUTLINE_COLOR);
		}
		AddSquare(someLines, CHUNK_SIDE * static_cast<float>(someKey.cx) - HALF_TILE, CHUNK_SIDE * static_cast<float>(someKey.cy) - HALF_TILE, CHUNK_SIDE, CHUNK_OUTLINE_COLOR);
	}
	return someLines;
}

void TileCollisionGrid::DebugDraw() const
{
	const Norv::Engine* someEngine = Norv::Engine::GetInstance();
	Norv::LineDrawer* someDrawer = someEngine && someEngine->GetGraphicsEngine() ? someEngine->GetGraphicsEngine()->GetLineDrawer() : nullptr;
	if (!someDrawer)
		return;
	const std::vector<DebugLine> someLines = GetDebugLines();
	std::vector<Norv::Vector3<float>> someFrom;
	std::vector<Norv::Vector3<float>> someTo;
	std::vector<Norv::Vector4<float>> someColors;
	for (const DebugLine& someLine : someLines)
	{
		someFrom.push_back(someLine.from);
		someTo.push_back(someLine.to);
		someColors.push_back(someLine.color);
	}
	// The drawer takes at most MAX_LINES lines a call.
	for (std::size_t someFirst = 0; someFirst < someLines.size(); someFirst += Norv::LineDrawer::MAX_LINES)
	{
		const std::size_t someCount = std::min<std::size_t>(someLines.size() - someFirst, Norv::LineDrawer::MAX_LINES);
		someDrawer->Draw({ someColors.data() + someFirst, someFrom.data() + someFirst, someTo.data() + someFirst, someCount });
	}
}
