// The scenes around the levels (Tutorial, Hub, Ending) as shipped: their doors lead
// to scenes that exist, the Hub's doors stand under their titles, and each stretch
// asks for the ability that the story has given by then.
#include "ShippedLevels.h"

#include <nlohmann/json.hpp>

#include <array>
#include <map>

namespace
{
	using nlohmann::json;

	const std::array<const char*, 5> SCENES{ "Tutorial", "Hub", "Level_1", "Level_2", "Ending" };

	json ReadScene(const std::string& aName)
	{
		std::ifstream someFile(NorvTest::SHIPPED_DATA / "scenes" / (aName + ".leveldata_new") / "leveldata.json");
		return someFile ? json::parse(someFile) : json();
	}

	std::string TargetOf(const json& anObject)
	{
		for (const json& someProperty : anObject.at("properties"))
			if (someProperty.at("name") == "targetScene")
				return someProperty.at("value");
		return {};
	}

	int Count(const json& someObjects, const std::string& aDefinition)
	{
		int someCount = 0;
		for (const json& someObject : someObjects)
			someCount += someObject.at("object-definition") == aDefinition;
		return someCount;
	}

	using StoryScenes = NorvTest::ShippedLevelTest;
}

TEST_F(StoryScenes, EverySceneHasOnePlayerItsSettingsAndOrderedBoundsAndItsDoorsLeadToScenesThatExist)
{
	for (const char* someName : SCENES)
	{
		const json someObjects = ReadScene(someName);
		ASSERT_TRUE(someObjects.is_array()) << someName << " was not made";
		EXPECT_EQ(Count(someObjects, "Player"), 1) << someName;
		EXPECT_EQ(Count(someObjects, "LevelSettings"), 1) << someName;
		EXPECT_EQ(Count(someObjects, "CameraBoundaryBottomLeft"), 1) << someName;
		EXPECT_EQ(Count(someObjects, "CameraBoundaryTopRight"), 1) << someName;
		std::map<std::string, json> someBounds;
		for (const json& someObject : someObjects)
		{
			const std::string someDefinition = someObject.at("object-definition");
			if (someDefinition.rfind("CameraBoundary", 0) == 0)
				someBounds[someDefinition] = someObject.at("translation");
			if (someDefinition == "Door" || someDefinition == "DoorStone")
				EXPECT_TRUE(ReadScene(TargetOf(someObject)).is_array()) << someName << ": a door leads to \"" << TargetOf(someObject) << "\"";
		}
		if (someBounds.size() == 2)
			for (int i = 0; i < 2; ++i)
				EXPECT_LE(someBounds["CameraBoundaryBottomLeft"][i].get<float>(), someBounds["CameraBoundaryTopRight"][i].get<float>()) << someName;
	}
}

TEST_F(StoryScenes, TheHubsDoorsStandUnderTheirTitles)
{
	// The titles hang at fixed places: Tutorial, Cave, Forest, Dungeon.
	const std::map<std::string, float> someTitles{ { "Tutorial", 790.0f }, { "Level_1", 1200.0f }, { "Level_2", 1654.0f }, { "Ending", 2060.0f } };
	std::map<std::string, float> someDoors;
	for (const json& someObject : ReadScene("Hub"))
		if (const std::string someTarget = TargetOf(someObject); !someTarget.empty())
			someDoors[someTarget] = someObject.at("translation")[0].get<float>();
	ASSERT_EQ(someDoors.size(), someTitles.size());
	for (const auto& [someTarget, someX] : someTitles)
		EXPECT_NEAR(someDoors[someTarget], someX, 30.0f) << someTarget;
}

TEST_F(StoryScenes, TheTutorialShaftIsLeftOnlyWithTheWallJump)
{
	const auto someClimb = [this](bool aWallJump) {
		Load("Tutorial");
		AbilityFlags[Ability::WALL_JUMP] = aWallJump;
		PlaceAt({ 7500.0f, 125.0f });
		myWorld.Step(30, { { InputAction::Right } }); // against the shaft's right wall
		myWorld.Step(12, { { InputAction::Right, InputAction::Jump } });
		myWorld.Step(3, { { InputAction::Right } });
		for (int someJump = 0; someJump < 7; ++someJump)
		{
			myWorld.Step(12, { { InputAction::Jump } });
			myWorld.Step(3);
		}
		myWorld.Step(60, { { InputAction::Right } });
		return ThePlayer().myPosition;
	};
	const Norv::Vector2<float> someWithout = someClimb(false);
	EXPECT_LT(someWithout.y, 500.0f) << "a jump alone must not leave the shaft";
	const Norv::Vector2<float> someWith = someClimb(true);
	EXPECT_GT(someWith.x, 7750.0f);
	EXPECT_NEAR(someWith.y, 1625.0f, 1.0f) << "the wall jumps must reach the ledge of the door";
}

TEST_F(StoryScenes, TheEndingsSpikePitIsClearedWithAJumpAndADash)
{
	const auto someCross = [this](bool aDash) {
		Load("Ending");
		AbilityFlags[Ability::DASH] = aDash;
		PlaceAt({ 1900.0f, 125.0f });
		int someGuard = 0;
		while (ThePlayer().myPosition.x < 2130.0f && ++someGuard < 200)
			myWorld.Step(1, { { InputAction::Right } });
		myWorld.Step(8, { { InputAction::Right, InputAction::Jump } });
		myWorld.Step(2, { { InputAction::Right, InputAction::Jump, InputAction::Dash } });
		myWorld.Step(40, { { InputAction::Right } });
		return ThePlayer().myPosition;
	};
	EXPECT_LT(someCross(false).y, 0.0f) << "a plain jump must fall into the pit";
	const Norv::Vector2<float> someWith = someCross(true);
	EXPECT_GT(someWith.x, 2800.0f);
	EXPECT_NEAR(someWith.y, 125.0f, 1.0f);
}
