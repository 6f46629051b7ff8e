#include "Game/data/GameDataFolder.h"

#include "Support/TempFolder.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <fstream>

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

	int ScaleFont(const std::filesystem::path& aSource, const std::filesystem::path& aDestination, const std::string& aFraction)
	{
		const std::string someCommand = Quoted(std::filesystem::path(NORV_MEDIA_TOOLS_DIR) / "NorvScaleFont") + " " + Quoted(aSource) + " " + Quoted(aDestination) + " " + aFraction + " 2>/dev/null";
		return std::system(someCommand.c_str());
	}

	// The advance of 'M' at 36 pixels, in 26.6 units; -1 when the font does not load.
	long AdvanceOfM(FT_Library aLibrary, const std::filesystem::path& aFont)
	{
		FT_Face someFace = nullptr;
		if (FT_New_Face(aLibrary, aFont.string().c_str(), 0, &someFace) != 0)
			return -1;
		FT_Set_Pixel_Sizes(someFace, 0, 36);
		const long someAdvance = FT_Load_Char(someFace, 'M', FT_LOAD_NO_HINTING) == 0 ? someFace->glyph->advance.x : -1;
		FT_Done_Face(someFace);
		return someAdvance;
	}
}

// A fresh run of every generator writes exactly the bytes the build wrote.
TEST(GameDataGenerators, GiveTheSameBytesOnEveryRun)
{
	NorvTest::TempFolder someFolder;
	// The interface pictures are lettered with the blackletter face's redrawn letters at its full size.
	NorvTest::TempFolder someFontFolder;
	const std::filesystem::path someBlackletter = someFontFolder.Path() / "full.ttf";
	const std::string someLettering = Quoted(std::filesystem::path(NORV_MEDIA_TOOLS_DIR) / "NorvTexturaLetters") + " " + Quoted(NORV_BLACKLETTER_FONT) + " " + Quoted(someBlackletter);
	ASSERT_EQ(std::system(someLettering.c_str()), 0);
	const std::string someFonts = Quoted(NORV_DISPLAY_FONT) + " " + Quoted(someBlackletter);
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

TEST(GameDataGenerators, AScaledFontDrawsItsGlyphsAtThatFraction)
{
	NorvTest::TempFolder someFolder;
	const std::filesystem::path someSource = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
	const std::filesystem::path someHalf = someFolder.Path() / "half.ttf";
	ASSERT_EQ(ScaleFont(someSource, someHalf, "0.5"), 0);
	FT_Library someLibrary = nullptr;
	ASSERT_EQ(FT_Init_FreeType(&someLibrary), 0);
	const long someFull = AdvanceOfM(someLibrary, someSource);
	const long someScaled = AdvanceOfM(someLibrary, someHalf);
	FT_Done_FreeType(someLibrary);
	ASSERT_GT(someFull, 0);
	EXPECT_NEAR(static_cast<double>(someScaled), someFull * 0.5, 2.0);

	// Refused without writing anything: a fraction of 0, a missing file, a file that is no font.
	const std::filesystem::path someOut = someFolder.Path() / "out.ttf";
	EXPECT_NE(ScaleFont(someSource, someOut, "0"), 0);
	EXPECT_NE(ScaleFont(someFolder.Path() / "missing.ttf", someOut, "0.5"), 0);
	std::ofstream(someFolder.Path() / "text.ttf") << "not a font at all, only words";
	EXPECT_NE(ScaleFont(someFolder.Path() / "text.ttf", someOut, "0.5"), 0);
	EXPECT_FALSE(std::filesystem::exists(someOut));
}
