// The scene tool: level sources with faults are refused with their file and
// line, and a clean source becomes a scene that level building loads as written.
#include "SceneFile.h"

#include "Support/SteppedWorld.h"
#include "Support/TempFolder.h"

#include "world/AbilityFlags.h"
#include "world/entities/IPickupAble.h"
#include "world/entities/Player.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <sstream>

using nlohmann::json;
using testing::HasSubstr;

namespace
{
	json Property(const char* aName, const char* aType, const json& aValue, bool aPerInstance = true)
	{
		return { { "name", aName }, { "type", aType }, { "value", aValue }, { "is-dynamic", false }, { "is-per-instance", aPerInstance } };
	}

	// The definitions the sources below name, written where level building finds them.
	void WriteDefinitions(const NorvTest::TempFolder& aFolder)
	{
		const auto Write = [&](const char* aName, const json& aProperties) {
			aFolder.Write(std::string("game/definitions/") + aName + ".nvo", json{ { "parent-object-definition", "" }, { "properties", aProperties } }.dump());
		};
		Write("Ground", json::array({ Property("tileId", "StringId", "Ground", false), Property("visible", "Bool", true) }));
		Write("Face", json::array({ Property("prop", "StringId", "Face", false), Property("useFrustumCulling", "Bool", true) }));
		Write("Grass", json::array({ Property("prop", "StringId", "Grass", false) }));
		for (const char* someFace : { "FaceB", "Deep", "DeepB", "Deeper" })
			Write(someFace, json::array({ Property("prop", "StringId", someFace, false) }));
		Write("Hero", json::array({ Property("entityId", "StringId", "Player", false), Property("positionZ", "Float", 0.0) }));
		Write("Gem", json::array({ Property("entityId", "StringId", "DashPickup", false), Property("colliderSize", "Float2", json::array({ 50, 50 })),
			Property("scale", "Float3", json::array({ 1, 1, 1 })) }));
		Write("Settings", json::array({ Property("system", "StringId", "Settings", false), Property("dashUnlocked", "Bool", false), Property("fogColor", "Color", json::array({ 0, 0, 0, 1 })) }));
		Write("Low", json::array({ Property("system", "StringId", "Low", false), Property("cameraBoundaryBottomLeft", "Bool", true) }));
		Write("High", json::array({ Property("system", "StringId", "High", false), Property("cameraBoundaryTopRight", "Bool", true) }));
	}

	class SceneTool : public testing::Test
	{
	protected:
		void SetUp() override
		{
			WriteDefinitions(myFolder);
			myDefinitions.Load(myFolder.Path() / "game/definitions");
		}

		// Makes the scene of aSource (written as "<aName>.txt"); the errors land in myErrors.
		bool Make(const std::string& aSource, std::string& aText, const std::string& aName = "Test")
		{
			const std::filesystem::path someFile = myFolder.Write("levels/" + aName + ".txt", aSource);
			std::ostringstream someErrors;
			const bool someIsClean = NorvScenes::MakeSceneText(someFile, myDefinitions, aText, someErrors);
			myErrors = someErrors.str();
			return someIsClean;
		}

		json MakeObjects(const std::string& aSource)
		{
			std::string someText;
			EXPECT_TRUE(Make(aSource, someText)) << myErrors;
			return json::parse(someText);
		}

		NorvTest::TempFolder myFolder;
		NorvScenes::DefinitionTable myDefinitions;
		std::string myErrors;
	};

	const std::string LEGEND = "tile # Ground prop=Face top=Grass\nplace P Hero offset=0,25\n";
}

TEST_F(SceneTool, FaultsAreReportedWithTheirFileAndLineAndNothingIsMade)
{
	struct Case
	{
		std::string source, message;
		int line;
	};
	const std::vector<Case> someCases{
		{ "tile # Ground\nbogus 1 2\n", "unknown line 'bogus'", 2 },
		{ "object Gem 10 abc\n", "y 'abc' is not a number", 1 },
		{ "object Gem 10 20 30 colliderSize\n", "expected key=value", 1 },
		{ "\n\nobject Rock 0 0\n", "unknown object definition 'Rock'", 3 },
		{ "object Gem 0 0 speed=3\n", "'Gem' has no property 'speed'", 1 },
		{ "object Hero 0 0 entityId=Door\n", "fixed by its definition", 1 },
		{ "object Gem 0 0 colliderSize=50\n", "expected 2 numbers", 1 },
		{ "object Gem 0 0 colliderSize=50,x\n", "expected 2 numbers", 1 },
		{ "object Settings 0 0 dashUnlocked=yes\n", "expected a value of type Bool", 1 },
		{ "object Gem 0 0 scale=1,2\n", "expected 1 or 3 numbers", 1 },
		{ "tile # Ground\ngrid\n#.#\n#x#\nend\n", "column 2: 'x' is not in the legend", 4 },
		{ "tile # Ground\ngrid\n###\n", "has no 'end'", 3 },
		{ "tile # Ground\nplace # Hero\n", "already in the legend (line 1)", 2 },
		{ "tile # Ground prop=Missing\ngrid\n#\nend\n", "unknown object definition 'Missing'", 1 },
		{ "origin 50 0\n", "multiples of 100", 1 },
	};
	for (const Case& someCase : someCases)
	{
		std::string someText = "untouched";
		EXPECT_FALSE(Make(someCase.source, someText)) << someCase.source;
		EXPECT_THAT(myErrors, HasSubstr("Test.txt:" + std::to_string(someCase.line) + ": ")) << someCase.source;
		EXPECT_THAT(myErrors, HasSubstr(someCase.message)) << someCase.source;
		EXPECT_EQ(someText, "untouched");
	}
}

TEST_F(SceneTool, AFaultyLegendEntryIsReportedOnceAndEveryFaultyLineIsReported)
{
	std::string someText;
	EXPECT_FALSE(Make("tile # Ground visible=maybe\ngrid\n####\nend\nobject Gem 0 0 hue=1\nobject Door 0 0 targetScene=scenes/Hub.nvs\n", someText));
	const std::string someFile = (myFolder.Path() / "levels/Test.txt").string();
	EXPECT_EQ(myErrors, someFile + ":1: visible='maybe': expected a value of type Bool\n" + someFile + ":5: 'Gem' has no property 'hue'\n" + someFile + ":6: unknown object definition 'Door'\n");
}

TEST_F(SceneTool, GridCellsBecomeTilesAndObjectsAtTheirCentresWithTheTopFaceOnlyWhereNothingSolidLiesAbove)
{
	const json someObjects = MakeObjects("tile # Ground prop=Face top=Grass scale=1,1,0.5\nplace P Hero offset=0,25\norigin -200 100\ngrid\n.P.\n##.\n.#\nend\n");
	const std::vector<std::pair<std::string, std::array<float, 3>>> someExpected{
		{ "Hero", { -100, 325, 0 } },
		{ "Ground", { -200, 200, 0 } }, { "Grass", { -200, 200, 0 } },
		{ "Ground", { -100, 200, 0 } }, { "Grass", { -100, 200, 0 } }, // an object above is not a cover
		{ "Ground", { -100, 100, 0 } }, { "Face", { -100, 100, 0 } },
	};
	ASSERT_EQ(someObjects.size(), someExpected.size()) << someObjects.dump();
	// A tile legend's scale is its drawn face's; the collision cell has none.
	EXPECT_FALSE(someObjects[1].contains("scale"));
	EXPECT_EQ(someObjects[2].at("scale"), json::array({ 1.0, 1.0, 0.5 }));
	std::set<std::string> someGuids;
	for (std::size_t i = 0; i < someExpected.size(); ++i)
	{
		EXPECT_EQ(someObjects[i].at("object-definition"), someExpected[i].first) << i;
		EXPECT_EQ((someObjects[i].at("translation").get<std::array<float, 3>>()), someExpected[i].second) << i;
		someGuids.insert(someObjects[i].at("uuid").get<std::string>());
	}
	EXPECT_EQ(someGuids.size(), someExpected.size());
}

TEST_F(SceneTool, TileFacesDarkenWithTheTilesAboveAndVaryFromCellToCell)
{
	// A column seven tiles deep whose top two cells have no top face, and a row of eleven
	// surface tiles over a row of bodies.
	const std::string someSource = "tile # Ground prop=Face|FaceB deep=Deep|DeepB deeper=Deeper top=Grass\ntile o Ground prop=Face\ngrid\n"
								   "o\no\n#\n#\n#\n############\n############\nend\n";
	const json someObjects = MakeObjects(someSource);
	std::map<std::pair<int, int>, std::string> someFaces; // by cell, of every drawn face
	for (const json& someObject : someObjects)
		if (someObject.at("object-definition") != "Ground")
			someFaces[{ someObject.at("translation")[0].get<int>() / 100, someObject.at("translation")[1].get<int>() / 100 }] = someObject.at("object-definition");
	ASSERT_EQ(someFaces.size(), 7u + 2 * 11) << someObjects.dump();
	// Down the column: faces by the solid tiles above, whatever legend those have.
	std::vector<std::string> someColumn;
	for (int y = 6; y >= 0; --y)
		someColumn.push_back(someFaces[{ 0, y }]);
	EXPECT_EQ(someColumn[0], "Face");
	EXPECT_EQ(someColumn[1], "Face") << "one tile above is not deep";
	EXPECT_TRUE(someColumn[2] == "Deep" || someColumn[2] == "DeepB") << someColumn[2];
	EXPECT_TRUE(someColumn[4] == "Deep" || someColumn[4] == "DeepB") << someColumn[4];
	EXPECT_EQ(someColumn[5], "Deeper");
	EXPECT_EQ(someColumn[6], "Deeper");
	// Along the row: the top where nothing lies above, the listed faces mixed under it.
	std::set<std::string> someTops, someBodies;
	for (int x = 1; x < 12; ++x)
	{
		someTops.insert(someFaces[{ x, 1 }]);
		someBodies.insert(someFaces[{ x, 0 }]);
	}
	EXPECT_EQ(someTops, (std::set<std::string>{ "Grass" }));
	EXPECT_EQ(someBodies, (std::set<std::string>{ "Face", "FaceB" })) << "eleven cells all given one of two faces";
	// Every build picks the same.
	EXPECT_EQ(MakeObjects(someSource), someObjects);

	// A listed face that no definition has is an error, even where it is never picked.
	std::string someText;
	EXPECT_FALSE(Make("tile # Ground prop=Face deep=Deep|Missing\ngrid\n#\nend\n", someText));
	EXPECT_THAT(myErrors, HasSubstr("unknown object definition 'Missing'"));
}

TEST_F(SceneTool, OverridesAreTypedByTheirDefinitionAndTransformKeysReachTheTransform)
{
	const json someObjects = MakeObjects("object Gem 250 150 -40 name=gem colliderSize=80,60 scale=2 rotation=0,90,0\n"
										 "object Settings 0 0 dashUnlocked=true fogColor=0.5,0.25,0,1\n");
	ASSERT_EQ(someObjects.size(), 2u);
	const json& someGem = someObjects[0];
	EXPECT_EQ(someGem.at("name"), "gem");
	EXPECT_EQ(someGem.at("translation"), json::array({ 250.0, 150.0, -40.0 }));
	EXPECT_EQ(someGem.at("scale"), json::array({ 2.0, 2.0, 2.0 }));
	EXPECT_EQ(someGem.at("rotation"), json::array({ 0.0, 90.0, 0.0 }));
	// "scale" is also a property of the definition, "rotation" is not.
	EXPECT_EQ(someGem.at("properties"), json::array({ { { "name", "colliderSize" }, { "type", "Float2" }, { "value", { 80.0, 60.0 } } },
											 { { "name", "scale" }, { "type", "Float3" }, { "value", { 2.0, 2.0, 2.0 } } } }));
	EXPECT_EQ(someObjects[1].at("properties"), json::array({ { { "name", "dashUnlocked" }, { "type", "Bool" }, { "value", true } },
												   { { "name", "fogColor" }, { "type", "Color" }, { "value", { 0.5, 0.25, 0.0, 1.0 } } } }));
}

TEST_F(SceneTool, TheSameSourceGivesTheSameBytesAndOtherScenesOtherGuids)
{
	const std::string someSource = LEGEND + "grid\n.P\n##\nend\nobject Gem 0 0\n";
	std::string someFirst, someSecond, someOther;
	ASSERT_TRUE(Make(someSource, someFirst));
	ASSERT_TRUE(Make(someSource, someSecond));
	ASSERT_TRUE(Make(someSource, someOther, "Other"));
	EXPECT_EQ(someFirst, someSecond);
	std::set<std::string> someGuids;
	for (const std::string* someText : { &someFirst, &someOther })
		for (const json& someObject : json::parse(*someText))
			someGuids.insert(someObject.at("uuid").get<std::string>());
	EXPECT_EQ(someGuids.size(), 2 * json::parse(someFirst).size());
}

TEST(SceneToolLevel, AMadeSceneLoadsThroughLevelBuildingAsWritten)
{
	NorvTest::SteppedWorld someWorld;
	ASSERT_TRUE(someWorld.IsStarted());
	WriteDefinitions(someWorld.Folder());
	NorvScenes::DefinitionTable someDefinitions;
	someDefinitions.Load(someWorld.Folder().Path() / "game/definitions");
	const std::filesystem::path someSource = someWorld.Folder().Write("levels/Made.txt", LEGEND +
		"grid\n"
		"#.....#\n"
		"#P....#\n"
		"#######\n"
		"end\n"
		"object Gem 450 150 colliderSize=80,60\n"
		"object Settings 0 0 dashUnlocked=true\n"
		"object Low 300 -100\n"
		"object High 900 700\n");
	std::string someText;
	std::ostringstream someErrors;
	ASSERT_TRUE(NorvScenes::MakeSceneText(someSource, someDefinitions, someText, someErrors)) << someErrors.str();
	someWorld.Folder().Write("game/scenes/Made.leveldata_new/leveldata.json", someText);

	AbilityFlags = {};
	someWorld.Load("scenes/Made.nvs");
	const GameState& someState = someWorld.myState;
	EXPECT_EQ(someState.GetTiles().size(), 11u);
	EXPECT_EQ(someState.GetPropInstances().size(), 11u); // one face a tile
	const TileCollisionGrid& someGrid = const_cast<GameState&>(someState).GetTileGrid();
	EXPECT_TRUE(someGrid.IsSolid(0, 2));
	EXPECT_TRUE(someGrid.IsSolid(3, 0));
	EXPECT_FALSE(someGrid.IsSolid(1, 1));
	ASSERT_EQ(someState.GetEntities().size(), 2u);
	const Entity* someHero = nullptr;
	const Entity* someGem = nullptr;
	for (const auto& someEntity : someState.GetEntities())
		(dynamic_cast<const Player*>(someEntity.get()) ? someHero : someGem) = someEntity.get();
	ASSERT_NE(someHero, nullptr);
	ASSERT_NE(dynamic_cast<const DashPickup*>(someGem), nullptr);
	EXPECT_EQ(someHero->myPosition, (Norv::Vector2<float>{ 100.0f, 125.0f }));
	EXPECT_EQ(someGem->myPosition, (Norv::Vector2<float>{ 450.0f, 150.0f }));
	EXPECT_EQ(someGem->myColliderSize, (Norv::Vector2<float>{ 80.0f, 60.0f }));
	EXPECT_EQ(someState.GetCameraController().myBoundsMin, (Norv::Vector2<float>{ 300.0f, -100.0f }));
	EXPECT_EQ(someState.GetCameraController().myBoundsMax, (Norv::Vector2<float>{ 900.0f, 700.0f }));
	EXPECT_TRUE(AbilityFlags[Ability::DASH]);
	AbilityFlags = {};
}
