#include "Game/data/GameDataFolder.h"

#include "shell/LoadingScreen.h"
#include "text/FontRasterizer.h"
#include "text/TextLayout.h"
#include "video/VideoPlayer.h"
#include "win32/IconFiles.h"
#include "win32/Internal.h"
#include "kernel/Kernel.h"

#include <SDL_image.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <memory>

namespace
{
	constexpr double SHORTEST_CUTSCENE_SECONDS = 10.0;
	constexpr std::uintmax_t LARGEST_CUTSCENE_BYTES = 8u << 20;
	constexpr float SMALLEST_WINDOW_WIDTH = 1280.0f;
	constexpr float TIP_MARGIN = 32.0f; // pixels kept clear on each side

	using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

	// The picture as 32-bit RGBA, whatever the file stores.
	Surface LoadPicture(const std::string& aName)
	{
		SDL_Surface* someLoaded = IMG_Load(Norv::Settings::ResolveAssetPath(aName).c_str());
		if (!someLoaded)
			return { nullptr, &SDL_FreeSurface };
		Surface someRgba(SDL_ConvertSurfaceFormat(someLoaded, SDL_PIXELFORMAT_ABGR8888, 0), &SDL_FreeSurface);
		SDL_FreeSurface(someLoaded);
		return someRgba;
	}

	const std::uint8_t* Texel(const SDL_Surface& aSurface, int x, int y)
	{
		return static_cast<const std::uint8_t*>(aSurface.pixels) + y * aSurface.pitch + x * 4;
	}

	// Mean absolute difference of the colour channels between two equally sized areas.
	double MeanDifference(const SDL_Surface& aSurface, bool aMirrored)
	{
		double someSum = 0.0;
		for (int y = 0; y < aSurface.h; ++y)
			for (int x = 0; x < aSurface.w; ++x)
			{
				const std::uint8_t* a = Texel(aSurface, x, y);
				const std::uint8_t* b = aMirrored ? Texel(aSurface, aSurface.w - 1 - x, y) : Texel(aSurface, 0, 0);
				for (int c = 0; c < 4; ++c)
					someSum += std::abs(a[c] - b[c]);
			}
		return someSum / (aSurface.w * aSurface.h * 4.0);
	}

	class MediaData : public NorvTest::GameDataFolder
	{
	};
}

TEST_F(MediaData, InterfacePicturesAreDrawnForTheReferenceWindow)
{
	const std::pair<const char*, std::pair<int, int>> someSizes[] = {
		{ "../Source/Game/data/UI/Main_menu.png", { 2560, 1440 } },
		{ "../Source/Game/data/UI/Credits.png", { 2560, 1440 } },
		{ "../Source/Game/data/UI/Pause_Menu.png", { 2560, 1440 } },
	};
	for (const auto& [someName, someSize] : someSizes)
	{
		const Surface somePicture = LoadPicture(someName);
		ASSERT_TRUE(somePicture) << someName << ": " << IMG_GetError();
		EXPECT_EQ(somePicture->w, someSize.first) << someName;
		EXPECT_EQ(somePicture->h, someSize.second) << someName;
		EXPECT_GT(MeanDifference(*somePicture, false), 10.0) << someName << " is one flat colour";
	}
	// The game's logo is shown at a third of its size: it must be large enough to stay sharp.
	const Surface someLogo = LoadPicture("../Source/Game/data/Logos/NORV LOGO EXP/LOGO_Invert.png");
	ASSERT_TRUE(someLogo);
	EXPECT_GE(someLogo->w, 3 * 600);
	const Surface someStudio = LoadPicture("../Source/Game/data/Logos/Studio_Logo_V2.png");
	ASSERT_TRUE(someStudio);
	EXPECT_LT(someStudio->w, someLogo->w / 2);
}

TEST_F(MediaData, TheIndicatorShowsItsMirroringAndThePetalsShareOneSize)
{
	const Surface someIndicator = LoadPicture("../Source/Game/data/UI/Indicator_Flower.png");
	ASSERT_TRUE(someIndicator);
	EXPECT_GT(MeanDifference(*someIndicator, true), 20.0) << "the flower looks the same mirrored";

	// The head-up display draws every petal at Petal_1's size.
	const Surface someFirst = LoadPicture("UI/Petal_1.png");
	ASSERT_TRUE(someFirst);
	std::set<std::vector<std::uint8_t>> someDistinct;
	for (int i = 1; i <= 5; ++i)
	{
		const Surface somePetal = LoadPicture("UI/Petal_" + std::to_string(i) + ".png");
		ASSERT_TRUE(somePetal);
		EXPECT_EQ(somePetal->w, someFirst->w);
		EXPECT_EQ(somePetal->h, someFirst->h);
		const auto* someBytes = static_cast<const std::uint8_t*>(somePetal->pixels);
		someDistinct.insert(std::vector<std::uint8_t>(someBytes, someBytes + somePetal->pitch * somePetal->h));
	}
	EXPECT_EQ(someDistinct.size(), 5u) << "each petal points its own way";
}

TEST_F(MediaData, EveryLoadingTipFitsTheSmallestWindow)
{
	// The tips are drawn at the font's own pixel size whatever the window, so the face
	// decides whether the longest one stays inside a 1280 pixel wide window.
	FT_Library someLibrary = nullptr;
	ASSERT_EQ(FT_Init_FreeType(&someLibrary), 0);
	auto someFont = std::make_unique<Norv::InternalTextAndFontData>();
	const bool someIsRasterized = Norv::impl::RasterizeFont(someLibrary, Norv::Settings::ResolveAssetPath(LoadingScreen::TIP_FONT_PATH), LoadingScreen::TIP_FONT_SIZE, 0, *someFont);
	FT_Done_FreeType(someLibrary);
	ASSERT_TRUE(someIsRasterized);
	float someWidest = 0.0f;
	for (const char* someTip : LoadingScreen::TIPS)
	{
		float someRight = 0.0f;
		float someTallest = 0.0f;
		Norv::LayOutText(*someFont, someTip, 1.0f, [&](const Norv::GlyphBox& aBox) {
			someRight = std::max(someRight, aBox.myLeft + aBox.myWidth);
			someTallest = std::max(someTallest, aBox.myHeight);
		});
		EXPECT_LE(someRight, SMALLEST_WINDOW_WIDTH - 2.0f * TIP_MARGIN) << someTip;
		EXPECT_GE(someTallest, 24.0f) << someTip << ": too small to read";
		someWidest = std::max(someWidest, someRight);
	}
	EXPECT_GT(someWidest, SMALLEST_WINDOW_WIDTH * 0.6f) << "the tips shrank further than they need to";
}

TEST_F(MediaData, CutscenesPlayWithPicturesAndSound)
{
	for (const char* someName : { "../Source/Game/data/video/first_cutscene.mp4", "../Source/Game/data/video/last_cutscene_long_version.mp4" })
	{
		const std::filesystem::path somePath = NorvTest::BIN_FOLDER / someName;
		EXPECT_LE(std::filesystem::file_size(somePath), LARGEST_CUTSCENE_BYTES) << someName;
		Norv::VideoPlayer somePlayer;
		ASSERT_EQ(somePlayer.Init(somePath.string().c_str(), false), Norv::VideoPlayer::STATUS_OK) << someName;
		ASSERT_TRUE(somePlayer.DecodeFirstFrame());
		int someFrames = 1;
		std::set<std::uint32_t> someColours;
		const std::uint32_t w = somePlayer.GetFrameWidth();
		const std::uint32_t h = somePlayer.GetFrameHeight();
		ASSERT_GT(w * h, 0u);
		std::vector<std::uint8_t> someTexels(static_cast<std::size_t>(w) * h * 4);
		while (somePlayer.DecodeNextFrame() >= 0)
		{
			if (++someFrames % 48 == 0)
			{
				// Sample the middle row of every second's picture.
				ASSERT_TRUE(somePlayer.CopyFrameTo(someTexels.data(), w * 4, w, h));
				for (std::uint32_t x = 0; x < w; x += 8)
				{
					const std::uint8_t* p = &someTexels[(static_cast<std::size_t>(h / 2) * w + x) * 4];
					someColours.insert(static_cast<std::uint32_t>(p[0] >> 4 | (p[1] >> 4) << 4 | (p[2] >> 4) << 8));
				}
			}
		}
		EXPECT_GE(someFrames / somePlayer.GetFrameRate(), SHORTEST_CUTSCENE_SECONDS) << someName;
		EXPECT_GT(someColours.size(), 20u) << someName << " shows too few colours to be a scene";

		// The sound plays in real time, so only its first moments are decoded.
		Norv::VideoPlayer someHeard;
		ASSERT_EQ(someHeard.Init(somePath.string().c_str(), true), Norv::VideoPlayer::STATUS_OK) << someName;
		ASSERT_TRUE(someHeard.DecodeFirstFrame());
		for (int i = 0; i < 12; ++i)
			someHeard.DecodeNextFrame();
		EXPECT_TRUE(someHeard.HasSoundOutput()) << someName << " has no sound";
		EXPECT_GT(someHeard.GetQueuedSoundBytes(), 0u) << someName;
	}
}

TEST_F(MediaData, TheWindowIconAndTheAnimatedCursorLoad)
{
	const std::wstring someIconPath = Platform::Utf8ToWide((NorvTest::BIN_FOLDER / "../Source/Game/data/UI/game.ico").string());
	const HANDLE someIcon = LoadImageW(nullptr, someIconPath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
	ASSERT_NE(someIcon, nullptr);
	SDL_Surface* someIconSurface = Platform::impl::GetIconSurface(static_cast<HICON>(someIcon));
	ASSERT_NE(someIconSurface, nullptr);
	EXPECT_GE(someIconSurface->w, 32);

	const std::filesystem::path someCursorPath = NorvTest::BIN_FOLDER / "../Source/Game/data/UI/cursor.ani";
	const HANDLE someCursor = LoadImageW(nullptr, Platform::Utf8ToWide(someCursorPath.string()).c_str(), IMAGE_CURSOR, 64, 64, LR_LOADFROMFILE | LR_DEFAULTSIZE);
	ASSERT_NE(someCursor, nullptr);
	SDL_Surface* someCursorSurface = Platform::impl::GetIconSurface(static_cast<HICON>(someCursor));
	ASSERT_NE(someCursorSurface, nullptr);
	EXPECT_EQ(someCursorSurface->w, 64);

	const std::string someAni = NorvTest::ReadText(someCursorPath);
	const auto someFrames = Platform::impl::ReadAnimatedCursorFrames({ reinterpret_cast<const std::uint8_t*>(someAni.data()), someAni.size() });
	ASSERT_GE(someFrames.size(), 4u);
	std::set<std::vector<std::uint8_t>> someDistinct;
	for (const auto& someFrame : someFrames)
	{
		const auto someEntry = Platform::impl::ReadIconDirectory(someFrame);
		ASSERT_TRUE(someEntry);
		EXPECT_TRUE(someEntry->myIsCursor);
		someDistinct.insert({ someFrame.begin(), someFrame.end() });
	}
	EXPECT_EQ(someDistinct.size(), someFrames.size()) << "the cursor does not move";
}
