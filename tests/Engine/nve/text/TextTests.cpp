// Fonts shared by texts, and texts drawn headless and read back.
#include "Support/AssertRecorder.h"
#include "Support/GraphicsSetUp.h"
#include "engine/DrawCalls.h"
#include "graphics/GraphicsStateStack.h"
#include "text/FontManager.h"
#include "text/Text.h"

#include <gtest/gtest.h>

namespace
{
	const std::string DEJAVU_SANS = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
	constexpr unsigned WIDTH = 400;
	constexpr unsigned HEIGHT = 200;
	const Norv::Color GREY{ 0.5f, 0.5f, 0.5f, 1.0f };

	class Texts : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(mySetUp.IsGraphicsReady());
			ASSERT_TRUE(myFonts.Init());
			mySetUp.DX11().Clear(GREY);
			mySetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
			Norv::DrawCalls::BeginFrame();
		}

		// Pixels of the back buffer that are not the grey background, split into
		// near-white and near-black; aBox (left, bottom, right, top, y up) collects
		// where any of them are.
		struct Ink
		{
			int myWhite = 0;
			int myBlack = 0;
			int myLeft = WIDTH, myBottom = HEIGHT, myRight = -1, myTop = -1;
		};

		Ink FindInk()
		{
			const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
			const std::array<std::uint8_t, 4> someGrey = mySetUp.PixelAt(someBytes, 0, 0);
			Ink someInk;
			for (unsigned someRow = 0; someRow < HEIGHT; ++someRow)
				for (unsigned someX = 0; someX < WIDTH; ++someX)
				{
					const std::array<std::uint8_t, 4> somePixel = mySetUp.PixelAt(someBytes, someX, someRow);
					if (somePixel == someGrey)
						continue;
					const int someY = static_cast<int>(HEIGHT - 1 - someRow);
					someInk.myWhite += somePixel[0] > 250 && somePixel[1] > 250 && somePixel[2] > 250;
					someInk.myBlack += somePixel[0] < 5 && somePixel[1] < 5 && somePixel[2] < 5;
					someInk.myLeft = std::min<int>(someInk.myLeft, someX);
					someInk.myRight = std::max<int>(someInk.myRight, someX);
					someInk.myBottom = std::min(someInk.myBottom, someY);
					someInk.myTop = std::max(someInk.myTop, someY);
				}
			return someInk;
		}

		NorvTest::GraphicsSetUp mySetUp{ { WIDTH, HEIGHT } };
		Norv::FontManager myFonts;
	};
}

TEST_F(Texts, SamePathSizeAndBorderShareOneFontUntilTheLastHolderGoes)
{
	std::weak_ptr<Norv::InternalTextAndFontData> someWatch;
	{
		Norv::Text someFirst(DEJAVU_SANS, 24, 0, &myFonts);
		Norv::Text someSecond(DEJAVU_SANS, 24, 0, &myFonts);
		ASSERT_TRUE(someFirst.GetFont());
		EXPECT_EQ(someFirst.GetFont(), someSecond.GetFont());
		EXPECT_EQ(someFirst.GetFont()->myKey, DEJAVU_SANS + "-24-0");
		EXPECT_NE(Norv::Text(DEJAVU_SANS, 24, 2, &myFonts).GetFont(), someFirst.GetFont());
		EXPECT_NE(Norv::Text(DEJAVU_SANS, 25, 0, &myFonts).GetFont(), someFirst.GetFont());
		someWatch = someFirst.GetFont();
		const Norv::Text someCopy = someFirst;
		someFirst = Norv::Text(nullptr, &myFonts);
		EXPECT_FALSE(someWatch.expired()) << "copies and the second text still hold it";
	}
	EXPECT_TRUE(someWatch.expired());
	Norv::Text someAgain(DEJAVU_SANS, 24, 0, &myFonts);
	ASSERT_TRUE(someAgain.GetFont()) << "loaded again";
	EXPECT_TRUE(someAgain.GetFont()->myAtlasView);
}

TEST_F(Texts, MissingFontIsEmptyDrawsNothingAndMeasuresZero)
{
	testing::internal::CaptureStderr();
	Norv::Text someText("fonts/missing.ttf", 24, 0, &myFonts);
	const std::string someOutput = testing::internal::GetCapturedStderr();
	EXPECT_NE(someOutput.find("fonts/missing.ttf"), std::string::npos) << someOutput;
	EXPECT_FALSE(someText.GetFont());
	someText.SetText("Hello");
	EXPECT_EQ(someText.GetWidth(), 0.0f);
	EXPECT_EQ(someText.GetHeight(), 0.0f);
	EXPECT_FALSE(myFonts.RenderText(someText, nullptr));
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 0u);

	// No font service at all (no engine): nothing to measure or draw with.
	Norv::Text someOrphan(DEJAVU_SANS, 24, 0);
	someOrphan.SetText("Hello");
	EXPECT_FALSE(someOrphan.GetFont());
	EXPECT_EQ(someOrphan.GetWidth(), 0.0f);
	someOrphan.Render();
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 0u);
}

TEST_F(Texts, MeasuresGrowWithTextAndScale)
{
	Norv::Text someText(DEJAVU_SANS, 24, 0, &myFonts);
	EXPECT_EQ(someText.GetWidth(), 0.0f) << "empty text";
	someText.SetText("A");
	const float someOne = someText.GetWidth();
	someText.SetText("AA");
	EXPECT_GT(someText.GetWidth(), someOne);
	const float someHeight = someText.GetHeight();
	someText.SetScale(2.0f);
	EXPECT_FLOAT_EQ(someText.GetHeight(), 2.0f * someHeight);
}

TEST_F(Texts, GlyphsLandInTheirBoxesInOneDrawCall)
{
	Norv::Text someText(DEJAVU_SANS, 36, 0, &myFonts);
	someText.SetText("H");
	someText.SetPosition({ 100.0f, 60.0f });
	ASSERT_TRUE(myFonts.RenderText(someText, nullptr));
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 1u);

	const Norv::GlyphData& someH = someText.GetFont()->myGlyphs['H'];
	const Ink someInk = FindInk();
	EXPECT_GT(someInk.myWhite, 100);
	EXPECT_EQ(someInk.myBlack, 0) << "no outline asked for";
	// The glyph box hangs down from (position + left, position + top), y up.
	EXPECT_NEAR(someInk.myLeft, 100 + someH.myLeft, 1);
	EXPECT_NEAR(someInk.myRight, 100 + someH.myLeft + someH.myWidth - 1, 1);
	EXPECT_NEAR(someInk.myTop, 60 + someH.myTop - 1, 1);
	EXPECT_NEAR(someInk.myBottom, 60 + someH.myTop - someH.myHeight, 1);
}

TEST_F(Texts, GlyphsAreUpright)
{
	Norv::Text someText(DEJAVU_SANS, 36, 0, &myFonts);
	someText.SetText("T");
	someText.SetPosition({ 100.0f, 60.0f });
	ASSERT_TRUE(myFonts.RenderText(someText, nullptr));
	const Ink someInk = FindInk();
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	const auto someInkInRow = [&](int aY) {
		int someCount = 0;
		for (unsigned someX = 0; someX < WIDTH; ++someX)
			someCount += mySetUp.PixelAt(someBytes, someX, HEIGHT - 1 - aY)[0] > 200;
		return someCount;
	};
	// The bar of the T is at the top (y up), the stem below it.
	EXPECT_GT(someInkInRow(someInk.myTop - 1), 3 * someInkInRow(someInk.myBottom + 1));
}

TEST_F(Texts, SmallFontsAreSampledWithoutFiltering)
{
	// Magnified four times, a point-sampled glyph is made of 4 x 4 blocks of equal
	// pixels; a filtered one shades smoothly between texels.
	const auto someEqualNeighbours = [&](std::uint32_t aSize) {
		mySetUp.DX11().Clear(GREY);
		Norv::Text someText(DEJAVU_SANS, aSize, 0, &myFonts);
		someText.SetText("O");
		someText.SetScale(48.0f / aSize);
		someText.SetPosition({ 100.0f, 40.0f });
		EXPECT_TRUE(myFonts.RenderText(someText, nullptr));
		const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
		const std::array<std::uint8_t, 4> someGrey = mySetUp.PixelAt(someBytes, 0, 0);
		int someInked = 0;
		int someEqual = 0;
		for (unsigned someRow = 0; someRow < HEIGHT; ++someRow)
			for (unsigned someX = 0; someX + 1 < WIDTH; ++someX)
			{
				const auto someLeft = mySetUp.PixelAt(someBytes, someX, someRow);
				if (someLeft == someGrey)
					continue;
				++someInked;
				someEqual += someLeft == mySetUp.PixelAt(someBytes, someX + 1, someRow);
			}
		return static_cast<float>(someEqual) / std::max(1, someInked);
	};
	EXPECT_GT(someEqualNeighbours(12), 0.7f) << "12 pixels: point sampling";
	EXPECT_LT(someEqualNeighbours(24), 0.6f) << "24 pixels: linear filtering";
}

TEST_F(Texts, OutlinedTextHasBlackAroundWhite)
{
	Norv::Text someText(DEJAVU_SANS, 36, 2, &myFonts);
	someText.SetText("H");
	someText.SetPosition({ 100.0f, 60.0f });
	ASSERT_TRUE(myFonts.RenderText(someText, nullptr));
	const Ink someInk = FindInk();
	EXPECT_GT(someInk.myWhite, 100);
	EXPECT_GT(someInk.myBlack, 100);
}

TEST_F(Texts, ColourAndLongTexts)
{
	Norv::Text someText(DEJAVU_SANS, 12, 0, &myFonts);
	someText.SetColor({ 0.0f, 0.0f, 0.0f, 1.0f });
	someText.SetText(std::string(1500, 'I'));
	someText.SetScale(0.01f);
	NorvTest::AssertRecorder someAsserts;
	ASSERT_TRUE(myFonts.RenderText(someText, nullptr));
	EXPECT_EQ(someAsserts.Count(), 0u);
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 2u) << "1024 glyph quads per draw call";
	EXPECT_EQ(FindInk().myWhite, 0) << "a black text leaves no white";
}
