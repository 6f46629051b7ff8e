// The shipped levels' mechanisms wired as they are meant to play: the cave's boss
// trigger holds both arena gates and the boss, closes them for the fight and opens
// them for good at the boss's death; each of the forest's levers opens its own gate.
#include "ShippedLevels.h"

#include "world/entities/BossTrigger.h"
#include "world/entities/Gate.h"
#include "world/entities/IPickupAble.h"
#include "world/entities/Lever.h"
#include "world/entities/PatrollingEnemy.h"

#include <array>

using NorvTest::LevelGrid;
using NorvTest::ReadLevelGrid;

namespace
{
	constexpr int ENTRANCE_COLUMN = -26; // tile columns of the arena's gates
	constexpr int EXIT_COLUMN = 20;
	constexpr int PASSAGE_ROWS[] = { 1, 2, 3 }; // the rows a player walks through

	bool IsPassageOpen(TileCollisionGrid& aGrid, int aColumn)
	{
		for (int someRow : PASSAGE_ROWS)
			if (aGrid.IsSolid(aColumn, someRow))
				return false;
		return true;
	}
}

using ShippedCave = NorvTest::ShippedLevelTest;

TEST_F(ShippedCave, TheBossTriggerHoldsBothGatesAndTheBossAndItsPointsLieInTheArena)
{
	Load("Level_1");
	const std::vector<BossTrigger*> someTriggers = All<BossTrigger>();
	ASSERT_EQ(someTriggers.size(), 1u);
	const BossTrigger& someTrigger = *someTriggers[0];
	EXPECT_EQ(someTrigger.myGates.size(), All<Gate>().size());
	EXPECT_EQ(someTrigger.myGates.size(), 2u);

	// The trigger takes the last hedgehog of the level: it must be the boss.
	const std::vector<PatrollingEnemy*> someHedgehogs = All<PatrollingEnemy>();
	ASSERT_GE(someHedgehogs.size(), 2u) << "the hall's hedgehogs and the boss";
	ASSERT_NE(someTrigger.myBoss, nullptr);
	EXPECT_EQ(someTrigger.myBoss, someHedgehogs.back());
	EXPECT_TRUE(someTrigger.myBoss->myIsBoss);
	for (std::size_t i = 0; i + 1 < someHedgehogs.size(); ++i)
		EXPECT_FALSE(someHedgehogs[i]->myIsBoss);

	// The camera's tour of the fight shows the entrance gate, then the boss and the exit gate.
	const LevelGrid someGrid = ReadLevelGrid("Level_1");
	const auto someInView = [](Norv::Vector2<float> aCentre, Norv::Vector2<float> aPoint) {
		constexpr float HALF_VIEW_WIDTH = 1750.0f, HALF_VIEW_HEIGHT = 980.0f; // at the follow depth
		return std::fabs(aPoint.x - aCentre.x) < HALF_VIEW_WIDTH && std::fabs(aPoint.y - aCentre.y) < HALF_VIEW_HEIGHT;
	};
	const std::vector<Gate*> someGates = All<Gate>();
	EXPECT_TRUE(someInView({ -2550.0f, 1050.0f }, someGates.front()->myPosition));
	EXPECT_TRUE(someInView({ 1850.0f, 50.0f }, someGates.back()->myPosition));
	EXPECT_TRUE(someInView({ 1850.0f, 50.0f }, { 1600.0f, 150.0f }));
	for (const Norv::Vector2<float> somePoint : { Norv::Vector2<float>{ 1600.0f, 150.0f }, { -200.0f, 1000.0f } })
		EXPECT_NE(someGrid.At(static_cast<int>(std::lround(somePoint.x / 100.0f)), static_cast<int>(std::lround(somePoint.y / 100.0f))), '#')
			<< "(" << somePoint.x << ", " << somePoint.y << ") is in rock";
	EXPECT_EQ(someGrid.At(16, -1), '#') << "the boss's mark stands on the arena floor";
}

TEST_F(ShippedCave, GatesStandOpenCloseForTheFightAndOpenForGoodWhenTheBossDies)
{
	Load("Level_1");
	myWorld.Step(6 * 60);
	EXPECT_TRUE(IsPassageOpen(Grid(), ENTRANCE_COLUMN)) << "the arena is open before the fight";
	EXPECT_TRUE(IsPassageOpen(Grid(), EXIT_COLUMN));

	BossTrigger& someTrigger = *All<BossTrigger>()[0];
	PatrollingEnemy& someBoss = *someTrigger.myBoss;
	EXPECT_FALSE(someBoss.myIsActive);
	// Walk in past the entrance: the trigger takes over for the camera's tour.
	PlaceAt({ -2400.0f, 25.0f });
	myWorld.Step(40, { { InputAction::Right } });
	EXPECT_TRUE(someTrigger.myIsTriggered);
	myWorld.Step(6 * 60);
	EXPECT_TRUE(someBoss.myIsActive);
	EXPECT_FALSE(IsPassageOpen(Grid(), ENTRANCE_COLUMN)) << "the entrance shuts behind the player";
	EXPECT_FALSE(IsPassageOpen(Grid(), EXIT_COLUMN)) << "and the way on until the boss is beaten";

	someBoss.Die();
	myWorld.Step(6 * 60);
	EXPECT_TRUE(All<PatrollingEnemy>().size() < 3u) << "the dead boss is removed";
	EXPECT_TRUE(IsPassageOpen(Grid(), ENTRANCE_COLUMN));
	EXPECT_TRUE(IsPassageOpen(Grid(), EXIT_COLUMN));
}

using ShippedForest = NorvTest::ShippedLevelTest;

TEST_F(ShippedForest, EachLeverOpensItsOwnGateAndBothPickupsAreThere)
{
	Load("Level_2");
	const std::vector<Lever*> someLevers = All<Lever>();
	const std::vector<Gate*> someGates = All<Gate>();
	ASSERT_EQ(someLevers.size(), 2u);
	ASSERT_EQ(someGates.size(), 2u);
	EXPECT_EQ(All<ClimbPickup>().size(), 1u);
	EXPECT_EQ(All<DashSlashPickup>().size(), 1u);
	ASSERT_NE(someGates[0]->myLever, nullptr);
	ASSERT_NE(someGates[1]->myLever, nullptr);
	EXPECT_NE(someGates[0]->myLever, someGates[1]->myLever) << "each gate has a lever of its own";

	// A gate's three cells above its floor, all solid or all clear; a gate moves as it opens, so
	// its cells are taken where it stands closed.
	const auto CellsOf = [](const Gate& aGate) {
		return std::array<int, 2>{ static_cast<int>(aGate.myPosition.x / 100.0f), static_cast<int>((aGate.myPosition.y - 50.0f) / 100.0f) };
	};
	const auto SolidCells = [this](std::array<int, 2> aCells) {
		int someCount = 0;
		for (int someRow = aCells[1] + 1; someRow <= aCells[1] + 3; ++someRow)
			someCount += Grid().IsSolid(aCells[0], someRow) ? 1 : 0;
		return someCount;
	};
	const std::array<std::array<int, 2>, 2> someCells{ CellsOf(*someGates[0]), CellsOf(*someGates[1]) };
	myWorld.Step(60);
	EXPECT_EQ(SolidCells(someCells[0]), 3) << "closed until its lever is struck";
	EXPECT_EQ(SolidCells(someCells[1]), 3) << "closed until its lever is struck";

	// Each lever struck by the player standing on its floor, left of it, opens its gate and only its gate.
	const std::array<Norv::Vector2<float>, 2> someLeverAt{ someGates[0]->myLever->myPosition, someGates[1]->myLever->myPosition };
	for (int i = 0; i < 2; ++i)
	{
		Load("Level_2");
		myWorld.Step(60);
		PlaceAt({ someLeverAt[i].x - 150.0f, someLeverAt[i].y - 25.0f });
		myWorld.Step(2, { { InputAction::Right } });
		myWorld.Step(2, { { InputAction::Attack } });
		myWorld.Step(6 * 60);
		EXPECT_EQ(SolidCells(someCells[i]), 0) << "gate " << i << " opened by its lever";
		EXPECT_EQ(SolidCells(someCells[1 - i]), 3) << "gate " << 1 - i << " left closed";
	}
}
