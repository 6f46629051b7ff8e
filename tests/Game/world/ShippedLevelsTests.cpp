// The cave and the misty forest as shipped: they load through level building with every
// object they place, their tiles are where their sources draw them, and the abilities
// they hand out are the ones their obstacles need.
#include "ShippedLevels.h"

#include <nlohmann/json.hpp>

using NorvTest::LevelGrid;
using NorvTest::ReadLevelGrid;
using NorvTest::SHIPPED_DATA;

namespace
{
	nlohmann::json ReadSceneObjects(const std::string& aName)
	{
		std::ifstream someFile(SHIPPED_DATA / "scenes" / (aName + ".leveldata_new") / "leveldata.json");
		return nlohmann::json::parse(someFile, nullptr, false);
	}

	int CountObjects(const nlohmann::json& someObjects, const std::string& aDefinitionFolder)
	{
		int someCount = 0;
		for (const nlohmann::json& someObject : someObjects)
			if (std::filesystem::exists(SHIPPED_DATA / "definitions" / aDefinitionFolder / (someObject.value("object-definition", "") + ".nvo")))
				++someCount;
		return someCount;
	}

	int CountCells(const LevelGrid& aGrid, char aCell)
	{
		int someCount = 0;
		for (const std::string& someRow : aGrid.myRows)
			someCount += static_cast<int>(std::count(someRow.begin(), someRow.end(), aCell));
		return someCount;
	}

	int CountSolid(TileCollisionGrid& aTiles, const LevelGrid& aGrid)
	{
		int someCount = 0;
		for (int x = aGrid.myOriginX - 2; x < aGrid.myOriginX + aGrid.Width() + 2; ++x)
			for (int y = aGrid.myOriginY - 2; y < aGrid.myOriginY + aGrid.Height() + 2; ++y)
				someCount += aTiles.IsSolid(x, y) ? 1 : 0;
		return someCount;
	}
}

class ShippedLevelLoad : public NorvTest::ShippedLevelTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(ShippedLevelLoad, EveryObjectBecomesAnEntityAndEveryGridTileIsSolid)
{
	const std::string someName = GetParam();
	const nlohmann::json someObjects = ReadSceneObjects(someName);
	ASSERT_TRUE(someObjects.is_array()) << "scene file of " << someName << " missing or malformed";
	const LevelGrid someGrid = ReadLevelGrid(someName);
	ASSERT_GT(someGrid.Height(), 0);
	Load(someName);

	// An entity type the factory does not know would be skipped silently.
	EXPECT_EQ(static_cast<int>(myWorld.myState.GetEntities().size()), CountObjects(someObjects, "entities"));
	ASSERT_NE(myWorld.myState.GetFrameContext().player, nullptr);
	EXPECT_EQ(All<Player>().size(), 1u);

	// Tiles: every '#' of the source, plus the three cells each destructible blocks.
	int someBlockers = 0;
	for (const nlohmann::json& someObject : someObjects)
		if (const std::string someDefinition = someObject.value("object-definition", ""); someDefinition == "Crystal" || someDefinition == "Crate")
			++someBlockers;
	for (int x = someGrid.myOriginX; x < someGrid.myOriginX + someGrid.Width(); ++x)
		for (int y = someGrid.myOriginY; y < someGrid.myOriginY + someGrid.Height(); ++y)
			if (someGrid.At(x, y) == '#')
				ASSERT_TRUE(Grid().IsSolid(x, y)) << someName << " tile (" << x << ", " << y << ")";
	EXPECT_EQ(CountSolid(Grid(), someGrid), CountCells(someGrid, '#') + 3 * someBlockers);

	// The player starts on a floor inside the level, not in rock.
	const Norv::Vector2<float> someStart = ThePlayer().myPosition;
	myWorld.Step(60);
	EXPECT_LE(ThePlayer().myAirTime, 0.0f);
	EXPECT_NEAR(ThePlayer().myPosition.y, someStart.y, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedLevelLoad, ::testing::Values("Level_1", "Level_2"));

// ---------------------------------------------------------------- the abilities each level asks for

using ShippedLevelAbilities = NorvTest::ShippedLevelTest;

TEST_F(ShippedLevelAbilities, TheCaveChasmIsCrossedOnlyWithTheDash)
{
	// From the pickup ledge's edge: run, jump, and at the top of the jump dash (or not).
	const auto someCross = [this](bool aDash) {
		Load("Level_1");
		AbilityFlags[Ability::DASH] = aDash;
		// Past the pickup, whose page would hold the player still.
		PlaceAt({ -4290.0f, 325.0f });
		int someGuard = 0;
		while (ThePlayer().myPosition.x < -4090.0f && ++someGuard < 200)
			myWorld.Step(1, { { InputAction::Right } });
		myWorld.Step(14, { { InputAction::Right, InputAction::Jump } });
		myWorld.Step(2, { { InputAction::Right, InputAction::Dash } });
		myWorld.Step(90, { { InputAction::Right } });
		return ThePlayer().myPosition;
	};
	const Norv::Vector2<float> someWithout = someCross(false);
	EXPECT_LT(someWithout.y, 0.0f) << "a plain jump must fall short into the chasm";
	const Norv::Vector2<float> someWith = someCross(true);
	EXPECT_GT(someWith.x, -2950.0f);
	EXPECT_GT(someWith.y, 0.0f) << "a jump and a dash must land beyond the chasm";
}

TEST_F(ShippedLevelAbilities, TheShaftLedgesNeedAJumpAndAnUpwardDash)
{
	Load("Level_1");
	AbilityFlags[Ability::DASH] = true;
	PlaceAt({ 2850.0f, 125.0f });
	myWorld.Step(14, { { InputAction::Jump } });
	EXPECT_LT(ThePlayer().myPosition.y, 750.0f) << "the first ledge (top 750) is out of a jump's reach";
	myWorld.Step(2, { { InputAction::Up, InputAction::Dash } });
	myWorld.Step(16, { { InputAction::Up } });
	myWorld.Step(60, { { InputAction::Left } });
	EXPECT_NEAR(ThePlayer().myPosition.y, 825.0f, 1.0f);
	EXPECT_LE(ThePlayer().myAirTime, 0.0f);
}

TEST_F(ShippedLevelAbilities, TheForestCliffIsBeyondAJumpAndADashButNotTheClimb)
{
	Load("Level_2");
	// Level settings hand over the dash found in the cave; the climb is this level's pickup.
	EXPECT_TRUE(AbilityFlags[Ability::DASH]);
	EXPECT_FALSE(AbilityFlags[Ability::CLIMB]);
	const Norv::Vector2<float> someFoot{ 3900.0f, 1225.0f };
	PlaceAt(someFoot);
	myWorld.Step(14, { { InputAction::Right, InputAction::Jump } });
	myWorld.Step(2, { { InputAction::Up, InputAction::Dash } });
	myWorld.Step(60, { { InputAction::Right } });
	EXPECT_LT(ThePlayer().myPosition.y, 2000.0f) << "jump and dash must not reach the plateau (top 2450)";

	AbilityFlags[Ability::CLIMB] = true;
	PlaceAt(someFoot);
	myWorld.Step(10, { { InputAction::Right, InputAction::Jump } });
	myWorld.Step(240, { { InputAction::Right, InputAction::Climb, InputAction::Up } });
	myWorld.Step(40, { { InputAction::Right } });
	EXPECT_GT(ThePlayer().myPosition.y, 2450.0f);
	EXPECT_GT(ThePlayer().myPosition.x, 4000.0f);
}
