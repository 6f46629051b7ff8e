#include "Support/SteppedWorld.h"

#include "world/AbilityFlags.h"
#include "world/entities/Butterfly.h"
#include "world/entities/Destructibles.h"
#include "world/entities/FlowerPlatform.h"
#include "world/entities/FlyingEnemy.h"
#include "world/entities/IPickupAble.h"
#include "world/entities/MushroomEnemy.h"
#include "world/entities/Player.h"

#include "stringRegistry/StringRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using NorvTest::SceneObject;
using NorvTest::WriteDefinition;
using NorvTest::WriteScene;
using nlohmann::json;
using testing::HasSubstr;

namespace
{
	json Property(const char* aName, const char* aType, const json& aValue)
	{
		return { { "name", aName }, { "type", aType }, { "value", aValue } };
	}

	class LevelBuilding : public testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(myWorld.IsStarted());
			WriteDefinition(Folder(), "Pickup", json::array({ Property("entityId", "StringId", "DashPickup"), Property("colliderOffset", "Float2", json::array({ 0, 0 })),
				Property("colliderSize", "Float2", json::array({ 50, 50 })), Property("positionZ", "Float", 0.0) }));
			WriteDefinition(Folder(), "Tile", json::array({ Property("tileId", "Int", 1), Property("visible", "Bool", true) }));
			WriteDefinition(Folder(), "System", json::array({ Property("system", "Int", 1), Property("cameraBoundaryTopRight", "Int", 0) }));
			WriteDefinition(Folder(), "SystemLow", json::array({ Property("system", "Int", 1), Property("cameraBoundaryBottomLeft", "Int", 0) }));
			WriteDefinition(Folder(), "Abilities", json::array({ Property("system", "Int", 1), Property("dashUnlocked", "Bool", true), Property("climbUnlocked", "Int", 1) }));
		}

		const NorvTest::ExecutableFolder& Folder() const { return myWorld.Folder(); }

		// The lines of the last load's standard error that hold aPart.
		int CountLines(const std::string& aPart) const
		{
			std::istringstream someLines(myErrors);
			int someCount = 0;
			for (std::string someLine; std::getline(someLines, someLine);)
				someCount += someLine.find(aPart) != std::string::npos ? 1 : 0;
			return someCount;
		}

		// Loads the scene, capturing standard error.
		void Load(const json& anObjects)
		{
			WriteScene(Folder(), "scenes/Test.nvs", anObjects);
			testing::internal::CaptureStderr();
			myWorld.Load("scenes/Test.nvs");
			myErrors = testing::internal::GetCapturedStderr();
		}

		NorvTest::SteppedWorld myWorld;
		std::string myErrors;
	};
}

TEST_F(LevelBuilding, ColliderOffsetMovesTheColliderAndKeepsTheModelWherePlaced)
{
	Load(json::array({ SceneObject("pickup", "Pickup", { 100, 100, 30 }, json::array({ Property("colliderOffset", "Float2", json::array({ 10, -20 })) })) }));
	ASSERT_EQ(myWorld.myState.GetEntities().size(), 1u);
	const Entity& someEntity = *myWorld.myState.GetEntities()[0];
	EXPECT_NE(dynamic_cast<const DashPickup*>(&someEntity), nullptr);
	EXPECT_EQ(someEntity.myPosition, (Norv::Vector2<float>{ 110.0f, 80.0f }));
	EXPECT_EQ(someEntity.myModelOffset, (Norv::Vector2<float>{ -10.0f, 20.0f }));
	EXPECT_EQ(someEntity.myColliderSize, (Norv::Vector2<float>{ 50.0f, 50.0f }));
	// A static entity type never takes "positionZ": the depth stays the placed one.
	EXPECT_FLOAT_EQ(someEntity.myZ, 30.0f);
	EXPECT_TRUE(myWorld.myState.IsLevelLoaded());
}

TEST_F(LevelBuilding, TileCoordinatesAreRoundedThenTruncatedTowardZero)
{
	Load(json::array({ SceneObject("tile", "Tile", { -150.0f, 249.6f, 0 }), SceneObject("hidden", "Tile", { 0, -50.0f, 0 }, json::array({ Property("visible", "Bool", false) })) }));
	const std::vector<LevelTile>& someTiles = myWorld.myState.GetTiles();
	ASSERT_EQ(someTiles.size(), 2u);
	EXPECT_EQ(someTiles[0].tileX, -1);
	EXPECT_EQ(someTiles[0].tileY, 2);
	EXPECT_TRUE(someTiles[0].visible);
	EXPECT_EQ(someTiles[1].tileY, 0);
	EXPECT_FALSE(someTiles[1].visible);
	EXPECT_TRUE(myWorld.myState.GetTileGrid().IsSolid(-1, 2));
}

TEST_F(LevelBuilding, BoundaryMarkersSetTheCameraBoundsAndTheLastInFileOrderWins)
{
	Load(json::array({ SceneObject("top right", "System", { 1, 2, 0 }), SceneObject("low", "SystemLow", { -500, -1000, 0 }), SceneObject("top right again", "System", { 8000, 3000, 0 }) }));
	const CameraController& someCamera = myWorld.myState.GetCameraController();
	EXPECT_EQ(someCamera.myBoundsMax, (Norv::Vector2<float>{ 8000.0f, 3000.0f }));
	EXPECT_EQ(someCamera.myBoundsMin, (Norv::Vector2<float>{ -500.0f, -1000.0f }));
	EXPECT_EQ(someCamera.myMode, CameraController::RETURN_TO_PLAYER);
}

TEST_F(LevelBuilding, AbilityKeysOfTheRightTypeSetTheFlagsAndALoadResetsAllButTheWallJump)
{
	AbilityFlags = { true, true, true, true };
	Load(json::array({ SceneObject("abilities", "Abilities", { 0, 0, 0 }) }));
	EXPECT_TRUE(AbilityFlags[Ability::WALL_JUMP]);
	EXPECT_TRUE(AbilityFlags[Ability::DASH]);
	EXPECT_FALSE(AbilityFlags[Ability::CLIMB]); // an "Int" value is ignored
	EXPECT_FALSE(AbilityFlags[Ability::DASH_SLASH]);
	AbilityFlags = {};
}

TEST_F(LevelBuilding, ObjectsWithoutARegisteredDefinitionOrEntityTypeAreReportedByName)
{
	WriteDefinition(Folder(), "OldDoor", json::array({ Property("entityId", "StringId", "Doorway") }));
	json someObjects = json::array({ SceneObject("Lost Crate", "NoSuchDefinition", { 0, 0, 0 }), SceneObject("pickup", "Pickup", { 0, 0, 0 }),
		SceneObject("Hub Door", "OldDoor", { 0, 0, 0 }) });
	for (const char* someName : { "Grass 1", "Grass 2", "Grass 3" })
		someObjects.push_back(SceneObject(someName, "Tile_Grass", { 0, -100, 0 }));
	someObjects.push_back(SceneObject("bare", "", { 0, 0, 0 }));
	Load(someObjects);
	// Each missing definition is said once, however many objects name it.
	EXPECT_THAT(myErrors, HasSubstr("Scene \"scenes/Test.nvs\": object \"Lost Crate\" is skipped: its object definition \"NoSuchDefinition\" is not registered\n"));
	EXPECT_THAT(myErrors, HasSubstr("Scene \"scenes/Test.nvs\": 3 objects are skipped (the first is \"Grass 1\"): their object definition \"Tile_Grass\" is not registered\n"));
	EXPECT_THAT(myErrors, HasSubstr("Scene \"scenes/Test.nvs\": object \"bare\" is skipped: it names no object definition\n"));
	// One line naming the definition file and the type the factory does not know.
	EXPECT_THAT(myErrors, testing::ContainsRegex("OldDoor\\.nvo.*unknown entity type \"Doorway\".*Hub Door"));
	EXPECT_EQ(CountLines("skipped"), 4) << myErrors;
	EXPECT_EQ(myWorld.myState.GetEntities().size(), 1u);
}

// Every model path that resolves nowhere is said once with its definition, whether
// the definition or an object's own value names it; the objects are still built.
TEST_F(LevelBuilding, AModelPathThatResolvesNowhereIsSaidOnceWithItsDefinition)
{
	const auto Model = [](const char* aPath) { return Property("Model", "Model", { { "path", aPath } }); };
	WriteDefinition(Folder(), "Gateway", json::array({ Property("entityId", "StringId", "Door"), Model("models/Gone/SM_Door.fbx") }));
	WriteDefinition(Folder(), "Hero", json::array({ Property("entityId", "StringId", "Player"), Model("models/Gone/SK_Hero.fbx") }));
	WriteDefinition(Folder(), "Rock", json::array({ Property("tileId", "Int", 1), Model("models/Gone/SM_Rock.fbx") }));
	WriteDefinition(Folder(), "Bare", json::array({ Property("tileId", "Int", 1), Model("") }));
	Load(json::array({ SceneObject("door 1", "Gateway", { 0, 0, 0 }), SceneObject("door 2", "Gateway", { 300, 0, 0 }),
		SceneObject("door 3", "Gateway", { 600, 0, 0 }, json::array({ Model("models/Gone/SM_Door_Old.fbx") })), SceneObject("hero", "Hero", { 0, 200, 0 }),
		SceneObject("rock", "Rock", { 0, -100, 0 }), SceneObject("rock", "Rock", { 100, -100, 0 }), SceneObject("bare", "Bare", { 200, -100, 0 }) }));
	const auto Line = [](const char* aDefinition, const char* aPath) {
		return std::string("Object definition \"definitions/") + aDefinition + ".nvo\": property \"Model\" names the model \"" + aPath
			+ "\", which is in no asset folder: it is not drawn\n";
	};
	EXPECT_THAT(myErrors, HasSubstr(Line("Gateway", "models/Gone/SM_Door.fbx")));
	EXPECT_THAT(myErrors, HasSubstr(Line("Gateway", "models/Gone/SM_Door_Old.fbx")));
	EXPECT_THAT(myErrors, HasSubstr(Line("Hero", "models/Gone/SK_Hero.fbx")));
	EXPECT_THAT(myErrors, HasSubstr(Line("Rock", "models/Gone/SM_Rock.fbx")));
	EXPECT_EQ(CountLines("models/Gone/"), 4) << myErrors;
	EXPECT_EQ(myWorld.myState.GetEntities().size(), 4u);
	EXPECT_EQ(myWorld.myState.GetTiles().size(), 3u);
}

TEST_F(LevelBuilding, ObjectsAreBuiltInFileOrderWhateverWasLoadedBefore)
{
	WriteDefinition(Folder(), "Hero", json::array({ Property("entityId", "StringId", "Player") }));
	const std::string someFirst = NorvTest::NextGuid();
	const std::string someSecond = NorvTest::NextGuid();
	const auto Hero = [](const std::string& aGuid, float anX) {
		json someObject = SceneObject("hero", "Hero", { anX, 0, 0 });
		someObject["uuid"] = aGuid;
		return someObject;
	};
	const auto PlayerX = [this] { return myWorld.myState.GetFrameContext().player ? myWorld.myState.GetFrameContext().player->myPosition.x : -1.0f; };

	// Scene A meets the two GUIDs against their name order; the last "Player" in the file wins.
	Load(json::array({ Hero(someSecond, 100), Hero(someFirst, 200) }));
	EXPECT_FLOAT_EQ(PlayerX(), 200.0f);

	// Scene B holds them the other way round: still its own last one, and its own order.
	Load(json::array({ Hero(someFirst, 300), Hero(someSecond, 400), SceneObject("pickup", "Pickup", { 0, 0, 0 }) }));
	EXPECT_FLOAT_EQ(PlayerX(), 400.0f);
	const EntityList& someEntities = myWorld.myState.GetEntities();
	ASSERT_EQ(someEntities.size(), 3u);
	EXPECT_FLOAT_EQ(someEntities[0]->myPosition.x, 300.0f);
	EXPECT_NE(dynamic_cast<const DashPickup*>(someEntities[2].get()), nullptr);

	// The folder form: file names sort against the order scene A met them in.
	std::filesystem::remove_all(Folder().Path() / "game/scenes/Test.leveldata_new");
	for (const auto& [someGuid, someX] : { std::pair{ someSecond, 500.0f }, std::pair{ someFirst, 600.0f } })
	{
		json someObject = Hero(someGuid, someX);
		someObject.erase("uuid");
		Folder().Write("game/scenes/Test.leveldata/" + someGuid, someObject.dump());
	}
	myWorld.Load("scenes/Test.nvs");
	EXPECT_FLOAT_EQ(PlayerX(), 500.0f) << "the later file name is the later object";
}

TEST_F(LevelBuilding, ObjectsPlacedOutOfRangeAreReportedAndSkipped)
{
	WriteDefinition(Folder(), "Spinner", json::array({ Property("entityId", "StringId", "DashPickup"), Property("rotation", "Float3", json::array({ 0, 0, 0 })) }));
	// A rotation of 1e39 is past a float: infinite once read.
	Load(json::array({ SceneObject("far tile", "Tile", { 1e30f, 0, 0 }), SceneObject("spun", "Spinner", { 0, 0, 0 }, json::array({ Property("rotation", "Float3", json::array({ 0, 1e39, 0 })) })),
		SceneObject("far collider", "Pickup", { 0, 0, 0 }, json::array({ Property("colliderOffset", "Float2", json::array({ 0, -2e7 })) })),
		SceneObject("tile", "Tile", { 0, -100, 0 }), SceneObject("pickup", "Pickup", { 100, 0, 0 }) }));
	EXPECT_THAT(myErrors, HasSubstr("object \"far tile\" has translation (1e+30, 0, 0)"));
	EXPECT_THAT(myErrors, HasSubstr("object \"spun\" has rotation (0, inf, 0)"));
	EXPECT_THAT(myErrors, HasSubstr("object \"far collider\" has colliderOffset (0, -2e+07)"));
	ASSERT_EQ(myWorld.myState.GetTiles().size(), 1u);
	ASSERT_EQ(myWorld.myState.GetEntities().size(), 1u);
	EXPECT_FLOAT_EQ(myWorld.myState.GetEntities()[0]->myPosition.x, 100.0f);
	myWorld.Step(3);
}

TEST_F(LevelBuilding, ReloadingTheSameSceneKeepsNothingOfTheFirstLoad)
{
	Load(json::array({ SceneObject("pickup", "Pickup", { 0, 0, 0 }), SceneObject("tile", "Tile", { 0, -100, 0 }) }));
	myWorld.Step(5);
	const Entity* someFirst = myWorld.myState.GetEntities()[0].get();
	EntityList& someList = *myWorld.myState.GetFrameContext().entities;
	someList.push_back(std::make_unique<Entity>());
	myWorld.myState.GetCameraController().SetPlayer(someList.back().get());

	myWorld.Load("scenes/Test.nvs");
	ASSERT_EQ(myWorld.myState.GetEntities().size(), 1u);
	EXPECT_EQ(myWorld.myState.GetTiles().size(), 1u);
	const auto* someSecond = dynamic_cast<const DashPickup*>(myWorld.myState.GetEntities()[0].get());
	ASSERT_NE(someSecond, nullptr);
	EXPECT_FLOAT_EQ(someSecond->myBobTime, 0.0f) << (someSecond == someFirst ? "the same entity survived" : "");
	// The level has no player: the camera must not keep the destroyed one.
	EXPECT_EQ(myWorld.myState.GetCameraController().myPlayer, nullptr);
}

TEST_F(LevelBuilding, MissingOrBrokenScenesLoadAsEmptyLevels)
{
	myWorld.Load("scenes/Missing.nvs");
	EXPECT_TRUE(myWorld.myState.IsLevelLoaded());
	EXPECT_TRUE(myWorld.myState.GetEntities().empty());

	Folder().Write("game/scenes/Broken.leveldata_new/leveldata.json", "[{\"uuid\": \"0a000000-0000-4000-8000-0000000000aa\", \"na");
	testing::internal::CaptureStderr();
	myWorld.Load("scenes/Broken.nvs");
	EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("leveldata.json"));
	EXPECT_TRUE(myWorld.myState.IsLevelLoaded());
	EXPECT_EQ(myWorld.myState.myScenePath, "scenes/Broken.nvs");
}

TEST_F(LevelBuilding, ColourKeysAdjustAnAnimatedEntitysModel)
{
	WriteDefinition(Folder(), "Wasp", json::array({ Property("entityId", "StringId", "FlyingEnemy"), Property("brightness", "Float", 0.5),
		Property("saturation", "Float", 0.25), Property("hue", "Int", 3) }));
	Load(json::array({ SceneObject("wasp", "Wasp", { 0, 0, 0 }) }));
	ASSERT_EQ(myWorld.myState.GetEntities().size(), 1u);
	const Norv::Vector4<float>& someAdjust = myWorld.myState.GetEntities()[0]->myAnimatedInstance.myColorAdjust;
	EXPECT_FLOAT_EQ(someAdjust.x, 0.5f);
	EXPECT_FLOAT_EQ(someAdjust.y, 0.25f);
	EXPECT_FLOAT_EQ(someAdjust.z, 0.0f); // an "Int" hue is not a "Float": ignored
}

TEST(EntityFactory, EnemyAndPropNamesMakeTheirClasses)
{
	const auto Make = [](const char* aName) { return GameState::CreateEntity(Norv::StringRegistry::RegisterOrGetString(aName)); };
	EXPECT_NE(dynamic_cast<FlyingEnemy*>(Make("FlyingEnemy").get()), nullptr);
	EXPECT_NE(dynamic_cast<MushroomEnemy*>(Make("MushroomEnemy").get()), nullptr);
	EXPECT_NE(dynamic_cast<FlowerPlatform*>(Make("FlowerPlatform").get()), nullptr);
	EXPECT_NE(dynamic_cast<Destructibles*>(Make("Destructible").get()), nullptr);
	EXPECT_NE(dynamic_cast<Butterfly*>(Make("Butterfly").get()), nullptr);
}

TEST(EntityFactory, NamesAreExactAndEachPickupReportsItsKind)
{
	const std::pair<const char*, int> someKinds[] = { { "WallJumpPickup", 1 }, { "DashPickup", 2 }, { "ClimbPickup", 3 }, { "DashSlashPickup", 4 } };
	for (const auto& [someName, someKind] : someKinds)
	{
		std::unique_ptr<Entity> someEntity = GameState::CreateEntity(Norv::StringRegistry::RegisterOrGetString(someName));
		auto* somePickup = dynamic_cast<IPickupAble*>(someEntity.get());
		ASSERT_NE(somePickup, nullptr) << someName;
		EXPECT_EQ(somePickup->GetPickupType(), someKind);
	}
	for (const char* someUnknown : { "BookShowcase", "dashPickup", "DashPickup ", "Destructibles" })
		EXPECT_EQ(GameState::CreateEntity(Norv::StringRegistry::RegisterOrGetString(someUnknown)), nullptr) << someUnknown;
	EXPECT_EQ(GameState::CreateEntity(Norv::StringId()), nullptr);
}
