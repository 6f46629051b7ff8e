#include "Game/data/GameDataFolder.h"

#include <algorithm>

namespace
{
	// Names the shell and the head-up display use, as the game's states give them
	// (the sources are scanned as well, so names added in code are checked too).
	const char* const NAMED_PICTURES_AND_FONTS[] = {
		"../Source/Game/data/UI/norv-splash.png", "../Source/Game/data/Logos/Studio_Logo_V2.png", "../Source/Game/data/Logos/NORV LOGO EXP/LOGO_Invert.png",
		"../Source/Game/data/UI/Indicator_Flower.png", "../Source/Game/data/UI/Main_menu.png", "../Source/Game/data/UI/Credits.png",
		"../Source/Game/data/UI/Button.png", "../Source/Game/data/UI/Pause_Menu.png", "../Source/Game/data/UI/SoundOn_V2.png",
		"../Source/Game/data/UI/SoundOff_V2.png", "../Source/Game/data/UI/Volume_Bar.png", "../Source/Game/data/UI/Icon_Bar.png",
		"../Source/Game/data/UI/LoadingScreen_Picture.png", "../Source/Game/data/UI/Loading_Screen_Text.png",
		"../Source/Game/data/UI/Tutorial_Text.png", "../Source/Game/data/UI/Cave_Text.png", "../Source/Game/data/UI/Forest_Text.png",
		"../Source/Game/data/UI/Dungeon_Text.png", "UI/Petal_1.png", "UI/Petal_2.png", "UI/Petal_3.png", "UI/Petal_4.png", "UI/Petal_5.png",
		"UI/Blomknopp.png", "UI/Boss_HB_V1.png", "../Source/Game/data/UI/Melon_Pop.ttf", "../Source/Game/data/UI/BlackCastleMF.ttf",
	};
	// Opened relative to the working directory (Bin/), not through the asset lookup.
	const char* const WORKING_DIRECTORY_FILES[] = {
		"../Source/Game/data/UI/game.ico", "../Source/Game/data/UI/cursor.ani",
		"../Source/Game/data/video/first_cutscene.mp4", "../Source/Game/data/video/last_cutscene_long_version.mp4",
	};

	bool IsOpenedFromWorkingDirectory(const std::string& aName)
	{
		return aName.ends_with(".ico") || aName.ends_with(".ani") || aName.ends_with(".mp4");
	}

	class DataNames : public NorvTest::GameDataFolder
	{
	};
}

TEST_F(DataNames, EveryFileTheGameNamesIsInTheDataSet)
{
	const std::regex someName("\"((?:\\.\\./Source/Game/data/|UI/|SFX/|Logos/|video/)[^\"]*\\.(?:png|ttf|wav|mp4|ico|ani))\"");
	std::set<std::string> someNames = NorvTest::NamesInSources(std::filesystem::path(NORV_SOURCE_DIR) / "Source/Game", someName);
	ASSERT_GE(someNames.size(), 78u) << "the sound bank's names were not found in the sources";
	someNames.insert(std::begin(NAMED_PICTURES_AND_FONTS), std::end(NAMED_PICTURES_AND_FONTS));
	someNames.insert(std::begin(WORKING_DIRECTORY_FILES), std::end(WORKING_DIRECTORY_FILES));

	for (const std::string& someName : someNames)
	{
		if (IsOpenedFromWorkingDirectory(someName))
			EXPECT_TRUE(std::filesystem::is_regular_file(NorvTest::BIN_FOLDER / someName)) << someName;
		else
			EXPECT_FALSE(Norv::Settings::ResolveAssetPath(someName).empty()) << someName << " does not resolve";
	}
}

TEST_F(DataNames, TheSoundBankHasOneFileForEachOfItsSeventyEightSounds)
{
	const std::vector<NorvTest::BankEntry> someEntries = NorvTest::SoundBankEntries();
	ASSERT_EQ(someEntries.size(), 78u);
	std::set<std::string> someFiles;
	for (const NorvTest::BankEntry& someEntry : someEntries)
		someFiles.insert(Norv::Settings::ResolveAssetPath(someEntry.myName));
	EXPECT_EQ(someFiles.size(), 78u) << "two sounds resolve to one file, or one is missing";
	EXPECT_EQ(someFiles.count(""), 0u);
}
