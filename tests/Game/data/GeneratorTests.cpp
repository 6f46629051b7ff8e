#include "Game/data/GameDataFolder.h"

#include "Support/TempFolder.h"

#include <cstdlib>

namespace
{
	const std::filesystem::path DATA_FOLDER = std::filesystem::path(NORV_SOURCE_DIR) / "Source/Game/data";

	std::string Quoted(const std::filesystem::path& aPath) { return "'" + aPath.string() + "'"; }

	// Runs one generator into aFolder; its exit status.
	int Generate(const char* aTool, const std::filesystem::path& aFolder, const std::string& anArguments = "")
	{
		const std::string someCommand = Quoted(std::filesystem::path(NORV_MEDIA_TOOLS_DIR) / aTool) + " " + Quoted(aFolder) + " " + anArguments;
		return std::system(someCommand.c_str());
	}
}

// A fresh run of every generator writes exactly the bytes the build wrote.
TEST(GameDataGenerators, GiveTheSameBytesOnEveryRun)
{
	NorvTest::TempFolder someFolder;
	const std::string someFonts = Quoted(NORV_DISPLAY_FONT) + " " + Quoted(NORV_BLACKLETTER_FONT);
	ASSERT_EQ(Generate("NorvMakeSounds", someFolder.Path()), 0);
	ASSERT_EQ(Generate("NorvMakeMusic", someFolder.Path()), 0);
	ASSERT_EQ(Generate("NorvMakeUiArt", someFolder.Path(), someFonts), 0);
	ASSERT_EQ(Generate("NorvMakeIconCursor", someFolder.Path()), 0);
	ASSERT_EQ(Generate("NorvMakeVideos", someFolder.Path(), Quoted(NORV_FFMPEG) + " " + Quoted(NORV_DISPLAY_FONT)), 0);

	int someFiles = 0;
	for (const auto& someEntry : std::filesystem::recursive_directory_iterator(someFolder.Path()))
	{
		if (!someEntry.is_regular_file())
			continue;
		++someFiles;
		const std::filesystem::path someRelative = std::filesystem::relative(someEntry.path(), someFolder.Path());
		EXPECT_TRUE(NorvTest::ReadText(someEntry.path()) == NorvTest::ReadText(DATA_FOLDER / someRelative)) << someRelative << " differs between runs";
	}
	EXPECT_GE(someFiles, 78 + 25 + 4);
}

TEST(GameDataGenerators, RefuseWrongArgumentsAndUnreadableFonts)
{
	NorvTest::TempFolder someFolder;
	EXPECT_NE(Generate("NorvMakeSounds", someFolder.Path(), "extra"), 0);
	EXPECT_NE(Generate("NorvMakeUiArt", someFolder.Path(), "/nonexistent/a.ttf /nonexistent/b.ttf 2>/dev/null"), 0);
	EXPECT_FALSE(std::filesystem::exists(someFolder.Path() / "UI"));
}
