// The data set as a whole: every name the engine and the definitions use is a
// file of it, every entity type has a definition, and the generator writes the
// same bytes on every run.
#include "WorldArtData.h"

#include "Support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace
{
	std::string ReadText(const fs::path& aPath)
	{
		std::ifstream someFile(aPath, std::ios::binary);
		return { std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
	}

	// Relative path -> bytes of every file under aRoot.
	std::map<std::string, std::string> Snapshot(const fs::path& aRoot)
	{
		std::map<std::string, std::string> someFiles;
		for (const auto& someEntry : fs::recursive_directory_iterator(aRoot))
			if (someEntry.is_regular_file())
				someFiles[fs::relative(someEntry.path(), aRoot).generic_string()] = ReadText(someEntry.path());
		return someFiles;
	}

	bool RunGenerator(const fs::path& aGame, const fs::path& aEngine)
	{
		const std::string someCommand = std::string("\"") + NORV_WORLDART_EXE + "\" \"" + aGame.string() + "\" \"" + aEngine.string() + "\"";
		return std::system(someCommand.c_str()) == 0;
	}

	// The entity types the entity factory creates.
	const std::set<std::string> ENTITY_TYPES{ "Player", "PatrollingEnemy", "Door", "WallJumpPickup", "DashPickup", "ClimbPickup", "DashSlashPickup", "Spikes",
		"Checkpoint", "Lever", "Gate", "FlowerPlatform", "Destructible", "BossTrigger", "EndingTrigger", "FlyingEnemy", "MushroomEnemy", "Butterfly", "bookShowcase" };
	constexpr const char* MARKERS[] = { "entityId", "tileId", "prop", "system" };
}

TEST(WorldArtDataSet, TheEngineNamedFilesExist)
{
	for (const char* someName : { "Textures/T_Default_c.dds", "Textures/T_Default_n.dds", "Textures/T_Default_m.dds", "Textures/T_Default_fx.dds",
			 "Textures/whiteCubeMap.dds", "Textures/horizonCubeMap.dds", "models/Placeholders/SM_Quad.fbx" })
		EXPECT_TRUE(fs::is_regular_file(NorvTest::ENGINE_ASSETS / someName)) << someName;
}

TEST(WorldArtDataSet, DefinitionsCoverEveryEntityTypeAndNameOnlyFilesThatExist)
{
	std::set<std::string> someTypes, someNames;
	size_t someTiles = 0, someProps = 0, someSystems = 0;
	for (const NorvTest::DefinitionFile& someDefinition : NorvTest::ReadDefinitions())
	{
		SCOPED_TRACE(someDefinition.name);
		EXPECT_TRUE(someNames.insert(someDefinition.name).second) << "definition names are unique";
		ASSERT_FALSE(someDefinition.properties.empty());
		// The first property is the category marker, so nothing before it can take its place.
		const std::string someMarker = someDefinition.properties.front().at("name");
		EXPECT_NE(std::find(std::begin(MARKERS), std::end(MARKERS), someMarker), std::end(MARKERS)) << someMarker;
		if (someMarker == "entityId")
			someTypes.insert(someDefinition.properties.front().at("value").get<std::string>());
		someTiles += someMarker == "tileId";
		someProps += someMarker == "prop";
		someSystems += someMarker == "system";
		for (const nlohmann::json& someProperty : someDefinition.properties)
		{
			for (const char* someKey : { "name", "type", "is-dynamic", "is-per-instance" })
				EXPECT_TRUE(someProperty.contains(someKey)) << someKey;
			const nlohmann::json& someValue = someProperty.at("value");
			if (someProperty.at("type") == "Model")
			{
				EXPECT_TRUE(fs::is_regular_file(NorvTest::Resolve(someValue.at("path")))) << someValue;
			}
			else if (someProperty.at("type") == "Animation Clip")
			{
				EXPECT_TRUE(fs::is_regular_file(NorvTest::Resolve(someValue.at("clip_path")))) << someValue;
			}
		}
	}
	EXPECT_EQ(someTypes, ENTITY_TYPES);
	EXPECT_GE(someTiles, 6u);
	EXPECT_GE(someProps, 18u);
	EXPECT_EQ(someSystems, 3u);
}

TEST(WorldArtDataSet, TheGeneratorWritesTheSameBytesEveryRun)
{
	// A fresh run elsewhere against the build's own run: nothing depends on where or when it ran.
	NorvTest::TempFolder someRun;
	ASSERT_TRUE(RunGenerator(someRun.Path() / "game", someRun.Path() / "engine"));
	for (const char* someRoot : { "game", "engine" })
	{
		const std::map<std::string, std::string> someFiles = Snapshot(someRun.Path() / someRoot);
		ASSERT_GT(someFiles.size(), 0u);
		const fs::path someBuilt = std::string(someRoot) == "game" ? NorvTest::GAME_DATA : NorvTest::ENGINE_ASSETS;
		for (const auto& [someName, someBytes] : someFiles)
			EXPECT_TRUE(ReadText(someBuilt / someName) == someBytes) << someName;
	}
}

TEST(WorldArtDataSet, TheGeneratorRefusesAWrongCommandLine)
{
	const std::string someCommand = std::string("\"") + NORV_WORLDART_EXE + "\" only-one-folder 2>/dev/null";
	EXPECT_NE(std::system(someCommand.c_str()), 0);
}
