// The generated blackletter face: every letter the game shows in it reads as
// itself at the size it is shown, the redrawn letters are the only glyphs that
// differ from the scaled Debian face's own, and the tool that redraws them
// refuses fonts it cannot mend.
#include "Game/data/GameDataFolder.h"

#include "shell/LoadingScreen.h"
#include "world/entities/PatrollingEnemy.h"

#include "Support/TempFolder.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>

namespace
{
	namespace fs = std::filesystem;

	constexpr FT_UInt TITLE_SIZE = 72; // the boss title's size, as the game sets it (points at 100 dpi)
	constexpr FT_UInt TEXT_DPI = 100;  // the game sets every text size in points at this resolution
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

		// Regions of background of at least aSmallest pixels that no 8-connected path of
		// background joins to the outside: bowls.
		int Counters(int aSmallest = 1) const
		{
			const int w = myWidth + 2, h = myRows + 2; // a frame of background all round
			std::vector<int> someRegion(static_cast<std::size_t>(w * h), 0);
			int someCount = 0;
			for (int someStart = 0; someStart < w * h; ++someStart)
			{
				if (someRegion[someStart] != 0 || At(someStart % w - 1, someStart / w - 1))
					continue;
				const int someId = someStart + 1;
				bool isOutside = someStart == 0;
				int someArea = 0;
				std::vector<int> someOpen = { someStart };
				someRegion[someStart] = someId;
				while (!someOpen.empty())
				{
					const int x = someOpen.back() % w, y = someOpen.back() / w;
					someOpen.pop_back();
					++someArea;
					isOutside = isOutside || x == 0 || y == 0 || x == w - 1 || y == h - 1;
					for (int dy = -1; dy <= 1; ++dy)
						for (int dx = -1; dx <= 1; ++dx)
						{
							const int nx = x + dx, ny = y + dy;
							if (nx < 0 || ny < 0 || nx >= w || ny >= h || someRegion[ny * w + nx] != 0 || At(nx - 1, ny - 1))
								continue;
							someRegion[ny * w + nx] = someId;
							someOpen.push_back(ny * w + nx);
						}
				}
				someCount += !isOutside && someArea >= aSmallest;
			}
			return someCount;
		}

		// The first row of ink in column x seen from above, and from below; myRows and -1 in an empty column.
		int FirstFromAbove(int x) const
		{
			for (int y = 0; y < myRows; ++y)
				if (At(x, y))
					return y;
			return myRows;
		}
		int FirstFromBelow(int x) const
		{
			for (int y = myRows - 1; y >= 0; --y)
				if (At(x, y))
					return y;
			return -1;
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

	// A glyph within its band: the x-height for a lowercase letter, from its top down to the
	// baseline for any other. Its traits are what a reader tells letters apart by.
	struct Letter
	{
		Ink myInk;
		int myBandTop = 0;
		int myBandBottom = 0; // the last row above the baseline

		int Band() const { return std::max(1, myBandBottom - myBandTop + 1); }
		// A bowl a fifth of the band across, not the speck a joint leaves.
		bool HasABowl() const { return myInk.Counters(Band() * Band() / 25) > 0; }
		bool Ascends() const { return 4 * (myBandTop - myInk.myTop) > Band(); }
		bool Descends() const { return 4 * (myInk.myBottom - myBandBottom) > Band(); }
		// A notch a third of the band deep or more, with ink near that edge of the band on
		// both sides of it: the u's from above, the n's from below.
		bool OpensAbove() const { return HasANotch([this](int x) { return myInk.FirstFromAbove(x) - myBandTop; }); }
		bool OpensBelow() const { return HasANotch([this](int x) { return myBandBottom - myInk.FirstFromBelow(x); }); }
		// Its foot on the baseline a third as wide as its top at most.
		bool NarrowsToAPoint() const { return 3 * myInk.WidestSpan(myBandBottom - Band() / 8, myBandBottom) <= myInk.WidestSpan(myBandTop, myBandTop + Band() / 4); }
		// One stem at half height under a bar reaching out on both sides alike: a T's, not a C's.
		bool StandsUnderItsBar() const
		{
			const auto someStem = myInk.Runs((myBandTop + myBandBottom) / 2);
			int someBarFirst = myInk.myWidth, someBarLast = -1;
			for (int y = myBandTop; y <= myBandTop + Band() / 6; ++y)
				if (const auto someRuns = myInk.Runs(y); !someRuns.empty())
					someBarFirst = std::min(someBarFirst, someRuns.front().first), someBarLast = std::max(someBarLast, someRuns.back().second);
			if (someStem.size() != 1)
				return false;
			const int someLeft = someStem[0].first - someBarFirst, someRight = someBarLast - someStem[0].second;
			return someLeft > 0 && someRight > 0 && 3 * std::min(someLeft, someRight) >= 2 * std::max(someLeft, someRight);
		}

		// aDepth(x): how far in from the band's edge column x's first ink lies.
		template <typename Depth>
		bool HasANotch(Depth aDepth) const
		{
			std::vector<int> someDepths;
			for (int x = 0; x < myInk.myWidth; ++x)
				someDepths.push_back(aDepth(x));
			const auto isShoulder = [&](int aDepthHere) { return 5 * aDepthHere <= Band(); };
			for (int x = 1; x + 1 < myInk.myWidth; ++x)
				if (3 * someDepths[x] >= Band() && std::any_of(someDepths.begin(), someDepths.begin() + x, isShoulder)
					&& std::any_of(someDepths.begin() + x + 1, someDepths.end(), isShoulder))
					return true;
			return false;
		}
	};

	// The traits that tell each letter the game shows from those it could be taken for:
	// letters that read as themselves only with the trait, and only without it.
	struct Trait
	{
		const char* myName;
		bool (Letter::*myTest)() const;
		const char* myHaving;
		const char* myLacking;
	};
	const Trait TRAITS[] = {
		{ "a closed bowl", &Letter::HasABowl, "abgop09", "cfhijklmnrstuvwyzCFGHILMNTUV15!',.?" },
		{ "an ascender", &Letter::Ascends, "bdfhkl", "acegmnoprsuvwyz" },
		{ "a descender", &Letter::Descends, "gjpy", "abcdeiklmnorstuvwzABCGILMNRTUVW0159%!?" },
		{ "an opening from above", &Letter::OpensAbove, "uvwyUVY", "acehmnorsz" },
		{ "an opening from below", &Letter::OpensBelow, "hkmnMN", "aceosuvyz" },
		{ "a point on the baseline", &Letter::NarrowsToAPoint, "vV", "uU" },
		{ "a stem under the middle of its bar", &Letter::StandsUnderItsBar, "TI", "C" },
	};

	// Where the game shows the face: the loading tips and the boss's title at their point sizes
	// (at 100 dpi); the texts lettered into the interface pictures at their pixel sizes for the
	// 2560 x 1440 reference window, in the same letters at the face's full size, and shown at
	// that size and at half of it in a 1280 x 720 window.
	struct Shown
	{
		const char* myPlace;
		std::vector<std::string> myTexts;
		FT_UInt mySize;
		bool isPicture;
	};
	const Shown SHOWN[] = {
		{ "the loading tips", { LoadingScreen::TIPS.begin(), LoadingScreen::TIPS.end() }, LoadingScreen::TIP_FONT_SIZE, false },
		{ "the boss's title", { PatrollingEnemy::BOSS_NAME }, TITLE_SIZE, false },
		{ "the studio's logo", { "Norv Team" }, 120, true },
		{ "the credits", { "the Norv team", "made with our own tools", "Cherry Bomb and Blankenburg" }, 72, true },
		{ "the main menu", { "a little forest tale" }, 90, true },
		{ "the game's logo", { "a little forest tale" }, 60, true },
	};
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
		FT_Set_Char_Size(someFace, TITLE_SIZE * 64, 0, TEXT_DPI, TEXT_DPI);
		return someFace;
	}

	// aCharacter in aFace at the size set, in its band; the x-height is the x's.
	static Letter Read(FT_Face aFace, char aCharacter)
	{
		const Ink someX = Render(aFace, 'x');
		Letter someLetter{ Render(aFace, aCharacter) };
		const bool isLowercase = aCharacter >= 'a' && aCharacter <= 'z';
		someLetter.myBandBottom = someLetter.myInk.myBaseline - 1;
		someLetter.myBandTop = isLowercase ? someLetter.myInk.myBaseline - (someX.myBaseline - someX.myTop) : someLetter.myInk.myTop;
		return someLetter;
	}

	NorvTest::TempFolder myFolder;
	const fs::path myScaled = myFolder.Path() / "scaled.ttf";
	const fs::path myFont = myFolder.Path() / "BlackCastleMF.ttf";
	const fs::path myPictureFont = myFolder.Path() / "full.ttf";
	const fs::path myErrors = myFolder.Path() / "errors.txt";
	FT_Library myLibrary = nullptr;
	std::vector<FT_Face> myFaces;
};

TEST_F(BlackletterFace, EveryLetterTheGameShowsReadsAsItselfWhereItIsShown)
{
	EXPECT_TRUE(NorvTest::ReadText(myFont) == NorvTest::ReadText(DATA_FONT)) << "the build's face differs from a fresh run";
	ASSERT_EQ(RunTool("NorvTexturaLetters", Quoted(NORV_BLACKLETTER_FONT) + " " + Quoted(myPictureFont), myErrors), 0);
	FT_Face someGameFace = Open(DATA_FONT);
	FT_Face somePictureFace = Open(myPictureFont);
	ASSERT_TRUE(someGameFace && somePictureFace);
	for (const Shown& someShown : SHOWN)
		for (const FT_UInt someSize : someShown.isPicture ? std::vector<FT_UInt>{ someShown.mySize, someShown.mySize / 2 } : std::vector<FT_UInt>{ someShown.mySize })
		{
			FT_Face someFace = someShown.isPicture ? somePictureFace : someGameFace;
			if (someShown.isPicture)
				FT_Set_Pixel_Sizes(someFace, 0, someSize);
			else
				FT_Set_Char_Size(someFace, someSize * 64, 0, TEXT_DPI, TEXT_DPI);
			std::set<char> someCharacters;
			for (const std::string& someText : someShown.myTexts)
				someCharacters.insert(someText.begin(), someText.end());
			someCharacters.erase(' ');
			for (const char someCharacter : someCharacters)
			{
				const Letter someLetter = Read(someFace, someCharacter);
				const std::string someWhere = std::string("'") + someCharacter + "' in " + someShown.myPlace + " at " + std::to_string(someSize) + (someShown.isPicture ? " pixels" : " points");
				bool isTold = false;
				for (const Trait& someTrait : TRAITS)
				{
					const bool isHad = std::strchr(someTrait.myHaving, someCharacter) != nullptr;
					if (!isHad && std::strchr(someTrait.myLacking, someCharacter) == nullptr)
						continue;
					isTold = true;
					EXPECT_EQ((someLetter.*someTrait.myTest)(), isHad) << someWhere << (isHad ? " lacks " : " has ") << someTrait.myName;
				}
				EXPECT_TRUE(isTold) << someWhere << ": no trait tells it from the letters it could be taken for";
			}
		}
}

TEST_F(BlackletterFace, ItsRedrawnLettersKeepItsHeightsAndItsStems)
{
	FT_Face someFace = Open(DATA_FONT);
	ASSERT_NE(someFace, nullptr);
	const Ink someH = Render(someFace, 'H');
	const Ink someX = Render(someFace, 'x');
	const Ink someL = Render(someFace, 'l');
	ASSERT_GT(someX.myBaseline - someX.myTop, 25) << "the title size gives an x-height of about 33 pixels";
	for (const char someLetter : std::string(REDRAWN))
	{
		// Capitals as tall as the H, the k as the l, the other lowercase letters as the x; all on the baseline.
		const Ink someInk = Render(someFace, someLetter);
		const Ink& someModel = someLetter == 'k' ? someL : someLetter < 'a' ? someH : someX;
		EXPECT_NEAR(someInk.myBaseline - someInk.myTop, someModel.myBaseline - someModel.myTop, 2) << someLetter;
		EXPECT_NEAR(someInk.myBottom, someInk.myBaseline - 1, 1) << someLetter << " does not stand on the baseline";
	}
	// The I's stem as heavy as the l's.
	const Ink someI = Render(someFace, 'I');
	const int someIMiddle = (someI.myTop + someI.myBottom) / 2, someLMiddle = (someL.myTop + someL.myBottom) / 2;
	EXPECT_NEAR(someI.WidestSpan(someIMiddle, someIMiddle), someL.WidestSpan(someLMiddle, someLMiddle), 2);
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
