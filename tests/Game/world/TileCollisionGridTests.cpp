#include "world/TileCollisionGrid.h"
#include "world/entities/IPickupAble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <memory>

namespace
{
	TileCollisionGrid GridWithTiles(std::initializer_list<std::pair<int, int>> aTiles)
	{
		std::vector<LevelTile> someTiles;
		for (const auto& [someX, someY] : aTiles)
			someTiles.push_back({ someX, someY, true, {} });
		TileCollisionGrid someGrid;
		someGrid.Build(nullptr, someTiles, nullptr);
		return someGrid;
	}

	std::unique_ptr<Entity> EntityAt(float anX, float aY, float aWidth, float aHeight)
	{
		auto someEntity = std::make_unique<Entity>();
		someEntity->myPosition = { anX, aY };
		someEntity->myColliderSize = { aWidth, aHeight };
		return someEntity;
	}
}

TEST(TileCollisionGridChunks, ClearingAMissingTileCreatesItsChunkWithNegativeCoordinatesFloored)
{
	TileCollisionGrid someGrid;
	EXPECT_FALSE(someGrid.IsSolid(-1, -1));
	someGrid.SetTile(-1, -1, false);
	EXPECT_EQ(someGrid.GetChunkCount(), 1u);
	EXPECT_FALSE(someGrid.IsSolid(-1, -1));

	someGrid.SetTile(-16, -16, true); // still chunk (-1, -1), cell 0
	EXPECT_EQ(someGrid.GetChunkCount(), 1u);
	someGrid.SetTile(-17, 0, true);   // chunk (-2, 0)
	EXPECT_EQ(someGrid.GetChunkCount(), 2u);
	EXPECT_TRUE(someGrid.IsSolid(-16, -16));
	EXPECT_TRUE(someGrid.IsSolid(-17, 0));
	EXPECT_FALSE(someGrid.IsSolid(-1, -1));
	EXPECT_FALSE(someGrid.IsSolid(0, 0));
	EXPECT_FALSE(someGrid.IsSolid(15, 15));
}

TEST(TileCollisionGridChunks, BuildClearsEarlierTiles)
{
	TileCollisionGrid someGrid = GridWithTiles({ { 3, 4 } });
	someGrid.SetTile(9, 9, true);
	someGrid.Build(nullptr, { LevelTile{ 1, 1, true, {} } }, nullptr);
	EXPECT_FALSE(someGrid.IsSolid(3, 4));
	EXPECT_FALSE(someGrid.IsSolid(9, 9));
	EXPECT_TRUE(someGrid.IsSolid(1, 1));
}

TEST(TileCollisionGridMove, RestingOnAFloorStaysInContactForZeroAndNegativeZeroDisplacements)
{
	const TileCollisionGrid someGrid = GridWithTiles({ { 0, 0 } });
	for (const Norv::Vector2<float> someDisplacement : { Norv::Vector2<float>{ 0.0f, 0.0f }, Norv::Vector2<float>{ -0.0f, -0.0f }, Norv::Vector2<float>{ 0.0f, -5.0f } })
	{
		const TileContact someContact = someGrid.MoveAndCollide({ 0.0f, 100.0f, 100.0f, 100.0f }, someDisplacement);
		EXPECT_TRUE(someContact.hit);
		EXPECT_EQ(someContact.sideY, 1);
		EXPECT_EQ(someContact.sideX, 0);
		EXPECT_FLOAT_EQ(someContact.point.y, 100.0f);
	}
}

// Faces shared by two solid tiles stop nothing: a box running along a floor or a wall
// of many tiles, or falling onto it, meets only the outer face at every seam.
TEST(TileCollisionGridMove, AFloorOrWallOfManyTilesHasNoInnerFacesToSnagOn)
{
	const TileCollisionGrid someFloor = GridWithTiles({ { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 4, 0 }, { 5, 0 } });
	for (float someX = 0.0f; someX <= 450.0f; someX += 3.0f)
	{
		for (const Norv::Vector2<float> someMove : { Norv::Vector2<float>{ 7.0f, -3.0f }, Norv::Vector2<float>{ -7.0f, -3.0f }, Norv::Vector2<float>{ 0.0f, -60.0f } })
		{
			const float someStartY = someMove.y < -10.0f ? 150.0f : 100.0f;
			const TileContact someContact = someFloor.MoveAndCollide({ someX, someStartY, 100.0f, 100.0f }, someMove);
			EXPECT_EQ(someContact.sideX, 0) << "x " << someX << " moving " << someMove.x;
			EXPECT_EQ(someContact.sideY, 1) << "x " << someX << " moving " << someMove.x;
			EXPECT_FLOAT_EQ(someContact.point.x, someX + someMove.x);
			EXPECT_FLOAT_EQ(someContact.point.y, 100.0f);
		}
	}

	// A wall whose left face stands at x 50, pushed into while sliding up or down it.
	const TileCollisionGrid someWall = GridWithTiles({ { 1, 0 }, { 1, 1 }, { 1, 2 }, { 1, 3 }, { 1, 4 }, { 1, 5 } });
	for (float someY = 0.0f; someY <= 450.0f; someY += 3.0f)
	{
		for (const float someRise : { 7.0f, -7.0f })
		{
			const TileContact someContact = someWall.MoveAndCollide({ 0.0f, someY, 100.0f, 100.0f }, { 3.0f, someRise });
			EXPECT_EQ(someContact.sideY, 0) << "y " << someY << " moving " << someRise;
			EXPECT_EQ(someContact.sideX, -1) << "y " << someY << " moving " << someRise;
			EXPECT_FLOAT_EQ(someContact.point.x, 0.0f);
			EXPECT_FLOAT_EQ(someContact.point.y, someY + someRise);
		}
	}
}

TEST(TileCollisionGridMove, WallStopsHorizontalMovementFlushAgainstItsFace)
{
	const TileCollisionGrid someGrid = GridWithTiles({ { 1, 0 } });
	const TileContact someContact = someGrid.MoveAndCollide({ -10.0f, 0.0f, 100.0f, 100.0f }, { 30.0f, 2.0f });
	EXPECT_EQ(someContact.sideX, -1);
	EXPECT_EQ(someContact.sideY, 0);
	EXPECT_FLOAT_EQ(someContact.point.x, 0.0f);
	EXPECT_FLOAT_EQ(someContact.point.y, 2.0f);
}

TEST(TileCollisionGridMove, DiagonalIntoAnOuterCornerTiesResolveVertically)
{
	const TileCollisionGrid someGrid = GridWithTiles({ { 0, 0 } });
	const TileContact someContact = someGrid.MoveAndCollide({ -110.0f, 110.0f, 100.0f, 100.0f }, { 10.0f, -10.0f });
	EXPECT_EQ(someContact.sideX, 0);
	EXPECT_EQ(someContact.sideY, 1);
	EXPECT_FLOAT_EQ(someContact.point.y, 100.0f);
}

TEST(TileCollisionGridMove, NegativeCoordinatesLandOnTheirTile)
{
	const TileCollisionGrid someGrid = GridWithTiles({ { -1, -1 } });
	const TileContact someContact = someGrid.MoveAndCollide({ -100.0f, 20.0f, 100.0f, 100.0f }, { 0.0f, -30.0f });
	EXPECT_EQ(someContact.sideY, 1);
	EXPECT_FLOAT_EQ(someContact.point.y, 0.0f);

	const TileContact someFree = someGrid.MoveAndCollide({ -300.0f, 20.0f, 100.0f, 100.0f }, { 0.0f, -30.0f });
	EXPECT_FALSE(someFree.hit);
	EXPECT_FLOAT_EQ(someFree.point.y, -10.0f);
}

TEST(TileCollisionGridMove, FarAndNonFiniteBoxesFindNoTileAndStayDefined)
{
	// Tile indices of such boxes would overflow an int; the sanitizer build aborts on that.
	const TileCollisionGrid someGrid = GridWithTiles({ { 0, 0 }, { -1, -1 } });
	const float someInfinity = std::numeric_limits<float>::infinity();
	for (const float someCoordinate : { 1e30f, -1e30f, someInfinity, -someInfinity, std::numeric_limits<float>::quiet_NaN() })
	{
		SCOPED_TRACE(someCoordinate);
		EXPECT_FALSE(someGrid.MoveAndCollide({ someCoordinate, 20.0f, 100.0f, 100.0f }, { 0.0f, -30.0f }).hit);
		EXPECT_FALSE(someGrid.MoveAndCollide({ 0.0f, someCoordinate, 100.0f, 100.0f }, { 0.0f, -30.0f }).hit);
		EXPECT_FALSE(someGrid.OverlapsSolid({ someCoordinate, someCoordinate, 100.0f, 100.0f }));
	}
	// A box near the origin still lands.
	EXPECT_EQ(someGrid.MoveAndCollide({ 0.0f, 120.0f, 100.0f, 100.0f }, { 0.0f, -30.0f }).sideY, 1);
}

TEST(TileCollisionGridQueries, TouchingIsAnOverlapForTilesButNotForEntities)
{
	const TileCollisionGrid someTiles = GridWithTiles({ { 0, 0 } });
	EXPECT_TRUE(someTiles.OverlapsSolid({ 100.0f, 0.0f, 100.0f, 100.0f }));
	EXPECT_FALSE(someTiles.OverlapsSolid({ 101.0f, 0.0f, 100.0f, 100.0f }));
	EXPECT_TRUE(someTiles.OverlapsSolid({ -20.0f, 30.0f, 10.0f, 10.0f }));

	EntityList someEntities;
	someEntities.push_back(EntityAt(0.0f, 0.0f, 100.0f, 100.0f));
	someEntities.push_back(EntityAt(99.0f, 0.0f, 100.0f, 100.0f));
	TileCollisionGrid someGrid;
	someGrid.Build(&someEntities, {}, nullptr);
	const std::vector<Entity*> someFound = someGrid.GetOverlappingEntities({ 100.0f, 0.0f, 100.0f, 100.0f });
	ASSERT_EQ(someFound.size(), 1u);
	EXPECT_EQ(someFound[0], someEntities[1].get());
}

TEST(TileCollisionGridQueries, ZeroSizeCollidersOverlapNothing)
{
	EntityList someEntities;
	someEntities.push_back(EntityAt(0.0f, 0.0f, 0.0f, 0.0f));
	someEntities.push_back(EntityAt(0.0f, 0.0f, 100.0f, 0.0f));
	TileCollisionGrid someGrid;
	someGrid.Build(&someEntities, {}, nullptr);
	EXPECT_TRUE(someGrid.GetOverlappingEntities({ 0.0f, 0.0f, 200.0f, 200.0f }).empty());
	EXPECT_FALSE(TileCollisionGrid::GetPenetration({ 0.0f, 0.0f, 0.0f, 0.0f }, { 0.0f, 0.0f, 200.0f, 200.0f }).hit);
}

TEST(TileCollisionGridQueries, TypedQueryKeepsOnlyThatClassInListOrder)
{
	EntityList someEntities;
	someEntities.push_back(std::make_unique<DashPickup>());
	someEntities.push_back(EntityAt(0.0f, 0.0f, 100.0f, 100.0f));
	someEntities.push_back(std::make_unique<ClimbPickup>());
	TileCollisionGrid someGrid;
	someGrid.Build(&someEntities, {}, nullptr);
	const std::vector<Entity*> someFound = someGrid.GetOverlappingEntitiesOfType<IPickupAble>({ 0.0f, 0.0f, 10.0f, 10.0f });
	ASSERT_EQ(someFound.size(), 2u);
	EXPECT_EQ(someFound[0], someEntities[0].get());
	EXPECT_EQ(someFound[1], someEntities[2].get());
}

TEST(TileCollisionGridQueries, PenetrationPushesAlongTheSmallerOverlapAndOnYForTies)
{
	const BoxPenetration someSideways = TileCollisionGrid::GetPenetration({ 0.0f, 0.0f, 100.0f, 100.0f }, { 90.0f, 10.0f, 100.0f, 100.0f });
	EXPECT_TRUE(someSideways.hit);
	EXPECT_EQ(someSideways.sideX, 1);
	EXPECT_FLOAT_EQ(someSideways.push.x, 10.0f);

	const BoxPenetration someTie = TileCollisionGrid::GetPenetration({ 0.0f, 0.0f, 100.0f, 100.0f }, { -80.0f, -80.0f, 100.0f, 100.0f });
	EXPECT_EQ(someTie.sideX, 0);
	EXPECT_EQ(someTie.sideY, -1);
	EXPECT_FLOAT_EQ(someTie.push.y, -20.0f);

	EXPECT_FALSE(TileCollisionGrid::GetPenetration({ 0.0f, 0.0f, 100.0f, 100.0f }, { 100.0f, 0.0f, 100.0f, 100.0f }).hit);
}

TEST(TileCollisionGridDebug, EachSolidTileIsOutlinedWhiteAndEachChunkBlue)
{
	TileCollisionGrid someGrid = GridWithTiles({ { 0, 0 }, { -1, -1 } });
	someGrid.SetTile(40, 0, false); // a chunk without solid tiles is still outlined
	const std::vector<DebugLine> someLines = someGrid.GetDebugLines();
	const Norv::Vector4<float> WHITE{ 1, 1, 1, 1 };
	const Norv::Vector4<float> BLUE{ 0, 0, 1, 1 };
	// The x range each colour's lines cover, per square they outline.
	std::map<std::pair<float, float>, int> someWhite;
	std::map<std::pair<float, float>, int> someBlue;
	for (const DebugLine& someLine : someLines)
	{
		EXPECT_FLOAT_EQ(someLine.from.z, 0.0f);
		const bool someIsWhite = someLine.color == WHITE;
		ASSERT_TRUE(someIsWhite || someLine.color == BLUE);
		// Every side is axis-aligned: the two ends share x or y.
		EXPECT_TRUE(someLine.from.x == someLine.to.x || someLine.from.y == someLine.to.y);
		if (someLine.from.y == someLine.to.y)
			++(someIsWhite ? someWhite : someBlue)[std::minmax(someLine.from.x, someLine.to.x)];
	}
	EXPECT_EQ(someLines.size(), 2u * 4u + 3u * 4u);
	EXPECT_EQ(someWhite, (std::map<std::pair<float, float>, int>{ { { -150.0f, -50.0f }, 2 }, { { -50.0f, 50.0f }, 2 } }));
	EXPECT_EQ(someBlue, (std::map<std::pair<float, float>, int>{ { { -1650.0f, -50.0f }, 2 }, { { -50.0f, 1550.0f }, 2 }, { { 3150.0f, 4750.0f }, 2 } }));
}
