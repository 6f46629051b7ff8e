// The generated blackletter face: its capitals V and I read as such at the boss
// title's size, every other glyph is the scaled Debian face's own, and the tool
// that redraws them refuses fonts it cannot mend.
#include "Game/data/GameDataFolder.h"

#include "Support/TempFolder.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cstdlib>
#include <set>

namespace
{
	namespace fs = std::filesystem;

	constexpr FT_UInt TITLE_SIZE = 72; // the boss title's size, as the game sets it (points at 100 dpi)
	constexpr FT_UInt TITLE_DPI = 100;
	const fs::path DATA_FONT = fs::path(NORV_SOURCE_DIR) / "Source/Game/data/UI/BlackCastleMF.ttf";
	constexpr const char* REDRAWN = "VITvwkz"; // the letters the tool draws anew

	std::string Quoted(const fs::path& aPath) { return "'" + aPath.string() + "'"; }

	// Runs one of the media tools; its exit status. Its error stream goes to anErrors.
	int RunTool(const char* aTool, const std::string& anArguments, const fs::path& anErrors)
	{
		const std::string someCommand = Quoted(fs::path(NORV_MEDIA_TOOLS_DIR) / aTool) + " " + anArguments + " 2>" + Quoted(anErrors);
		return std::system(someCommand.c_str());
	}

	// A glyph rendered as the game renders it; a pixel is ink from half coverage on.
	struct Ink
	{
		int myWidth = 0;
		int myRows = 0;
		int myBaseline = 0; // the first row below the baseline
		int myTop = 0;      // the first and the last row holding ink
		int myBottom = -1;
		std::vector<bool> myPixels;

		bool At(int x, int y) const { return x >= 0 && y >= 0 && x < myWidth && y < myRows && myPixels[y * myWidth + x]; }

		// The horizontal runs of ink in row y, as (first, last) columns.
		std::vector<std::pair<int, int>> Runs(int y) const
		{
			std::vector<std::pair<int, int>> someRuns;
			for (int x = 0; x < myWidth; ++x)
				if (At(x, y) && !At(x - 1, y))
					someRuns.push_back({ x, x });
				else if (At(x, y))
					someRuns.back().second = x;
			return someRuns;
		}

		// From the first ink to the last in rows first..last, the widest.
		int WidestSpan(int aFirst, int aLast) const
		{
			int someWidest = 0;
			for (int y = aFirst; y <= aLast; ++y)
				if (const auto someRuns = Runs(y); !someRuns.empty())
					someWidest = std::max(someWidest, someRuns.back().second - someRuns.front().first + 1);
			return someWidest;
		}

		// Background pixels that no 8-connected path of background joins to the outside: a bowl.
		int EnclosedBackground() const
		{
			const int w = myWidth + 2, h = myRows + 2; // a frame of background all round
			std::vector<bool> isReached(static_cast<std::size_t>(w * h), false);
			std::vector<std::pair<int, int>> someOpen = { { 0, 0 } };
			isReached[0] = true;
			while (!someOpen.empty())
			{
				const auto [x, y] = someOpen.back();
				someOpen.pop_back();
				for (int dy = -1; dy <= 1; ++dy)
					for (int dx = -1; dx <= 1; ++dx)
					{
						const int nx = x + dx, ny = y + dy;
						if (nx < 0 || ny < 0 || nx >= w || ny >= h || isReached[ny * w + nx] || At(nx - 1, ny - 1))
							continue;
						isReached[ny * w + nx] = true;
						someOpen.push_back({ nx, ny });
					}
			}
			int someEnclosed = 0;
			for (int y = 0; y < myRows; ++y)
				for (int x = 0; x < myWidth; ++x)
					someEnclosed += !At(x, y) && !isReached[(y + 1) * w + x + 1];
			return someEnclosed;
		}
	};

	Ink Render(FT_Face aFace, char aCharacter)
	{
		Ink someInk;
		if (FT_Load_Char(aFace, static_cast<unsigned char>(aCharacter), FT_LOAD_RENDER) != 0)
			return someInk;
		const FT_Bitmap& someBitmap = aFace->glyph->bitmap;
		someInk.myWidth = static_cast<int>(someBitmap.width);
		someInk.myRows = static_cast<int>(someBitmap.rows);
		someInk.myBaseline = aFace->glyph->bitmap_top;
		someInk.myTop = someInk.myRows;
		for (int y = 0; y < someInk.myRows; ++y)
			for (int x = 0; x < someInk.myWidth; ++x)
			{
				someInk.myPixels.push_back(someBitmap.buffer[y * someBitmap.pitch + x] >= 128);
				if (someInk.myPixels.back())
					someInk.myTop = std::min(someInk.myTop, y), someInk.myBottom = y;
			}
		return someInk;
	}

	// Every glyph's bytes in the glyf table, by glyph index, as loca places them.
	std::vector<std::vector<std::uint8_t>> GlyphBytes(FT_Face aFace)
	{
		const auto Table = [aFace](FT_ULong aTag) {
			FT_ULong someLength = 0;
			FT_Load_Sfnt_Table(aFace, aTag, 0, nullptr, &someLength);
			std::vector<std::uint8_t> someTable(someLength);
			return someLength > 0 && FT_Load_Sfnt_Table(aFace, aTag, 0, someTable.data(), &someLength) == 0 ? someTable : std::vector<std::uint8_t>();
		};
		const auto* someHead = static_cast<const TT_Header*>(FT_Get_Sfnt_Table(aFace, FT_SFNT_HEAD));
		const std::vector<std::uint8_t> someLoca = Table(TTAG_loca);
		const std::vector<std::uint8_t> someGlyf = Table(TTAG_glyf);
		const bool isShort = someHead && someHead->Index_To_Loc_Format == 0;
		const auto someOffset = [&](std::size_t i) -> std::size_t {
			return isShort ? 2u * (someLoca[2 * i] << 8 | someLoca[2 * i + 1])
				: static_cast<std::size_t>(someLoca[4 * i]) << 24 | someLoca[4 * i + 1] << 16 | someLoca[4 * i + 2] << 8 | someLoca[4 * i + 3];
		};
		std::vector<std::vector<std::uint8_t>> someGlyphs;
		const std::size_t someCount = static_cast<std::size_t>(aFace->num_glyphs);
		if (someLoca.size() < (someCount + 1) * (isShort ? 2 : 4))
			return someGlyphs;
		for (std::size_t i = 0; i < someCount; ++i)
			if (someOffset(i) <= someOffset(i + 1) && someOffset(i + 1) <= someGlyf.size())
				someGlyphs.emplace_back(someGlyf.begin() + someOffset(i), someGlyf.begin() + someOffset(i + 1));
		return someGlyphs;
	}
}

// Makes the face the way the build does: the Debian face scaled, then its misreading letters redrawn.
class BlackletterFace : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_EQ(FT_Init_FreeType(&myLibrary), 0);
		ASSERT_EQ(RunTool("NorvScaleFont", Quoted(NORV_BLACKLETTER_FONT) + " " + Quoted(myScaled) + " 0.7", myErrors), 0);
		ASSERT_EQ(RunTool("NorvTexturaLetters", Quoted(myScaled) + " " + Quoted(myFont), myErrors), 0);
	}

	void TearDown() override
	{
		for (FT_Face someFace : myFaces)
			FT_Done_Face(someFace);
		FT_Done_FreeType(myLibrary);
	}

	FT_Face Open(const fs::path& aFont)
	{
		FT_Face someFace = nullptr;
		if (FT_New_Face(myLibrary, aFont.string().c_str(), 0, &someFace) != 0)
			return nullptr;
		myFaces.push_back(someFace);
		FT_Set_Char_Size(someFace, TITLE_SIZE * 64, 0, TITLE_DPI, TITLE_DPI);
		return someFace;
	}

	NorvTest::TempFolder myFolder;
	const fs::path myScaled = myFolder.Path() / "scaled.ttf";
	const fs::path myFont = myFolder.Path() / "BlackCastleMF.ttf";
	const fs::path myErrors = myFolder.Path() / "errors.txt";
	FT_Library myLibrary = nullptr;
	std::vector<FT_Face> myFaces;
};

TEST_F(BlackletterFace, ItsVAndIReadAtTheTitleSize)
{
	EXPECT_TRUE(NorvTest::ReadText(myFont) == NorvTest::ReadText(DATA_FONT)) << "the build's face differs from a fresh run";
	FT_Face someFace = Open(DATA_FONT);
	ASSERT_NE(someFace, nullptr);
	const Ink someV = Render(someFace, 'V');
	const Ink someI = Render(someFace, 'I');
	const Ink someH = Render(someFace, 'H');
	const Ink someL = Render(someFace, 'l');
	const int someVTop = someV.myTop, someVBottom = someV.myBottom;
	const int someITop = someI.myTop, someIBottom = someI.myBottom;
	ASSERT_GT(someVBottom - someVTop, 30) << "the title size gives capitals about 50 pixels tall";
	ASSERT_GT(someIBottom - someITop, 30);

	// Capitals of one height: both stand on the baseline and reach the H's top.
	EXPECT_NEAR(someV.myBaseline - someVTop, someH.myBaseline - someH.myTop, 2);
	EXPECT_NEAR(someI.myBaseline - someITop, someH.myBaseline - someH.myTop, 2);

	// V: two arms apart above, narrowing to one point on the baseline, no bowl as a D has.
	const int someVHeight = someVBottom - someVTop + 1;
	const int someVTopSpan = someV.WidestSpan(someVTop, someVTop + someVHeight / 4);
	EXPECT_LT(someV.WidestSpan(someVBottom - someVHeight / 10, someVBottom), someVTopSpan / 4) << "the V does not come to a point";
	EXPECT_LT(someVBottom, someV.myBaseline) << "the V's point hangs below the baseline";
	for (int y = someVTop + someVHeight / 4; y < someVTop + someVHeight / 2; ++y)
		EXPECT_EQ(someV.Runs(y).size(), 2u) << "row " << y - someVTop << " of the V: its arms are not apart";
	EXPECT_EQ(someV.EnclosedBackground(), 0) << "the V closes a bowl";

	// I: one stem of the face's own weight down to the baseline, no hook below it (a J's),
	// and bars at its ends wider than the stem (or it reads as an l).
	EXPECT_LT(someIBottom, someI.myBaseline) << "the I hangs below the baseline";
	const int someIHeight = someIBottom - someITop + 1;
	const int someLStem = someL.WidestSpan((someL.myTop + someL.myBottom) / 2, (someL.myTop + someL.myBottom) / 2);
	int someStem = 0;
	for (int y = someITop + someIHeight / 4; y <= someITop + 3 * someIHeight / 4; ++y)
	{
		const auto someRuns = someI.Runs(y);
		ASSERT_EQ(someRuns.size(), 1u) << "row " << y - someITop << " of the I is not one stroke";
		someStem = std::max(someStem, someRuns[0].second - someRuns[0].first + 1);
	}
	EXPECT_NEAR(someStem, someLStem, 2) << "the I's stem is not as heavy as the face's l";
	EXPECT_GE(someI.WidestSpan(someITop, someITop + someIHeight / 8), 2 * someStem) << "no bar on the I's top";
	EXPECT_GE(someI.WidestSpan(someIBottom - someIHeight / 8, someIBottom), 2 * someStem) << "no bar on the I's foot";
}

TEST_F(BlackletterFace, KeepsEveryOtherGlyphAndEveryAdvance)
{
	FT_Face someScaled = Open(myScaled);
	FT_Face someFont = Open(myFont);
	ASSERT_TRUE(someScaled && someFont);
	ASSERT_EQ(someFont->num_glyphs, someScaled->num_glyphs);
	ASSERT_EQ(someFont->units_per_EM, someScaled->units_per_EM);
	const auto someBefore = GlyphBytes(someScaled);
	const auto someAfter = GlyphBytes(someFont);
	ASSERT_EQ(someBefore.size(), static_cast<std::size_t>(someScaled->num_glyphs));
	ASSERT_EQ(someAfter.size(), someBefore.size());
	std::set<FT_UInt> someRedrawn;
	for (const char someLetter : std::string(REDRAWN))
		someRedrawn.insert(FT_Get_Char_Index(someFont, static_cast<unsigned char>(someLetter)));
	for (FT_UInt i = 0; i < someBefore.size(); ++i)
	{
		const bool isRedrawn = someRedrawn.count(i) > 0;
		EXPECT_EQ(someAfter[i] != someBefore[i], isRedrawn) << "glyph " << i << (isRedrawn ? " was not redrawn" : " changed");
		FT_Fixed someOld = 0, someNew = 0;
		FT_Get_Advance(someScaled, i, FT_LOAD_NO_SCALE, &someOld);
		FT_Get_Advance(someFont, i, FT_LOAD_NO_SCALE, &someNew);
		EXPECT_EQ(someNew, someOld) << "glyph " << i << ": text would change its width";
	}
}

TEST_F(BlackletterFace, RefusesFontsItCannotMend)
{
	const std::string someSource = NorvTest::ReadText(NORV_BLACKLETTER_FONT);
	std::string someWithoutCharacterMap = someSource;
	someWithoutCharacterMap.replace(someWithoutCharacterMap.find("cmap"), 4, "cmaq");
	someWithoutCharacterMap.replace(someWithoutCharacterMap.find("post"), 4, "posq"); // glyph names would stand in
	const fs::path someOut = myFolder.Path() / "out.ttf";
	const fs::path someBadFonts[] = {
		NORV_DISPLAY_FONT, // CFF outlines, no glyf table
		myFolder.Write("cut-directory.ttf", someSource.substr(0, 100)),
		myFolder.Write("cut-half.ttf", someSource.substr(0, someSource.size() / 2)),
		myFolder.Write("cut-garbled.ttf", someSource.substr(0, 12) + "\xDA\x01\n?" + someSource.substr(16, someSource.size() / 2)),
		myFolder.Write("no-characters.ttf", someWithoutCharacterMap),
		myFolder.Write("words.ttf", "not a font at all, only words"),
		myFolder.Path() / "missing.ttf",
	};
	for (const fs::path& someBad : someBadFonts)
	{
		EXPECT_NE(RunTool("NorvTexturaLetters", Quoted(someBad) + " " + Quoted(someOut), myErrors), 0) << someBad;
		const std::string someMessage = NorvTest::ReadText(myErrors);
		EXPECT_EQ(std::count(someMessage.begin(), someMessage.end(), '\n'), 1) << someMessage;
		EXPECT_TRUE(std::all_of(someMessage.begin(), someMessage.end(), [](unsigned char c) { return c == '\n' || (c >= 0x20 && c < 0x7F); })) << someMessage;
		EXPECT_NE(someMessage.find(someBad.string()), std::string::npos) << "the error does not name the file: " << someMessage;
		EXPECT_FALSE(fs::exists(someOut)) << someBad;
	}
}
