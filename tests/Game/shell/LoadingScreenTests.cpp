#include "Support/ReadBack.h"
#include "Support/ShellFixture.h"

#include "shell/LoadingScreen.h"
#include "shell/StateStack.h"

#include "graphics/DX11.h"
#include "text/Text.h"

#include <algorithm>
#include <array>
#include <climits>

namespace
{
	using LoadingScreenTest = NorvTest::ShellTest;

	TEST_F(LoadingScreenTest, TheFadeEndsExactlyWhenAlphaReachesZero)
	{
		LoadingScreen& someScreen = LoadingScreen::GetInstance();
		EXPECT_FALSE(someScreen.IsVisible());
		someScreen.Render(0.1f);
		EXPECT_FALSE(someScreen.IsVisible()) << "hidden, nothing happens";

		someScreen.Show({ 1.0f, 1.0f, 1.0f, 1.0f });
		someScreen.Render(1.0f);
		EXPECT_TRUE(someScreen.IsVisible());
		EXPECT_FLOAT_EQ(someScreen.GetAlpha(), 1.0f) << "shown, it holds until the fade starts";

		someScreen.StartFadeOut();
		for (int someFrame = 0; someFrame < 4; ++someFrame)
			someScreen.Render(0.125f);
		EXPECT_FLOAT_EQ(someScreen.GetAlpha(), 0.0f);
		EXPECT_FALSE(someScreen.IsVisible()) << "0.5 s at 2 per second";
		EXPECT_FALSE(someScreen.IsFading());

		someScreen.StartFadeOut();
		someScreen.Render(0.125f);
		someScreen.Render(0.125f);
		someScreen.Render(0.2f);
		EXPECT_TRUE(someScreen.IsVisible());
		EXPECT_NEAR(someScreen.GetAlpha(), 0.1f, 1e-6f);
		someScreen.Render(0.3f); // one frame of overshoot
		EXPECT_FLOAT_EQ(someScreen.GetAlpha(), 0.0f);
		EXPECT_FALSE(someScreen.IsVisible());
	}

	TEST_F(LoadingScreenTest, ShowDuringAFadeRestartsAtFullAlpha)
	{
		LoadingScreen& someScreen = LoadingScreen::GetInstance();
		someScreen.StartFadeOut();
		someScreen.Render(0.3f);
		ASSERT_LT(someScreen.GetAlpha(), 1.0f);
		someScreen.Show({ 0.0f, 0.0f, 0.0f, 0.0f });
		EXPECT_FALSE(someScreen.IsFading());
		someScreen.Render(0.3f);
		EXPECT_FLOAT_EQ(someScreen.GetAlpha(), 1.0f);
		EXPECT_TRUE(someScreen.IsVisible());
		// The tint of the caller stays; the alpha is the screen's own.
		EXPECT_EQ(someScreen.GetPicture().myColor, Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
	}

	TEST_F(LoadingScreenTest, ItsLayoutFollowsTheRenderSizeWhileVisible)
	{
		LoadingScreen& someScreen = LoadingScreen::GetInstance();
		someScreen.Show({ 1.0f, 1.0f, 1.0f, 1.0f });
		someScreen.Render(0.0f);
		EXPECT_EQ(someScreen.GetPicture().mySize, Norv::Vector2<float>(1280.0f, 720.0f));
		EXPECT_EQ(someScreen.GetCaption().myPosition, Norv::Vector2<float>(640.0f, 144.0f));
		SetWindowPos(myEngine.Window(), nullptr, 0, 0, 1920, 1080, SWP_NOMOVE);
		NorvTest::PumpMessages();
		myEngine.Get().EndFrame();
		const Norv::Vector2<float> someSize(myEngine.Get().GetRenderSize());
		someScreen.Render(0.0f);
		EXPECT_EQ(someScreen.GetPicture().mySize, someSize);
		EXPECT_FLOAT_EQ(someScreen.GetCaption().mySizeScale.x, someSize.x / 2560.0f);
		EXPECT_FLOAT_EQ(someScreen.GetCaption().mySizeScale.y, someSize.x / 2560.0f);
	}

	// The tip is the only light thing on a black picture: its lit pixels, wherever
	// the window's size puts them, are centred across the window and stand at 30 %
	// of its height from the bottom. The longest and the shortest tip are drawn.
	TEST_F(LoadingScreenTest, ItsTipIsCentredAcrossTheWindowAtThirtyPercentOfItsHeight)
	{
		WriteImage(LoadingScreen::PICTURE_PATH, 64, 36, { 0, 0, 0, 255 });
		WriteImage(LoadingScreen::CAPTION_PATH, 64, 16, { 0, 0, 0, 255 });
		WriteFont(LoadingScreen::TIP_FONT_PATH);
		StateStack someStates{ StateSet{} };
		LoadingScreen& someScreen = LoadingScreen::GetInstance();
		SetWindowPos(myEngine.Window(), nullptr, 0, 0, 3200, 800, SWP_NOMOVE);
		NorvTest::PumpMessages();
		myEngine.Get().EndFrame();
		const Norv::Vector2<unsigned int> someSize = myEngine.Get().GetRenderSize();

		const auto WidthOf = [](const char* aTip) {
			Norv::Text someText(LoadingScreen::TIP_FONT_PATH, LoadingScreen::TIP_FONT_SIZE, 0);
			someText.SetText(aTip);
			return someText.GetWidth();
		};
		const auto ByWidth = [&](const char* aLeft, const char* aRight) { return WidthOf(aLeft) < WidthOf(aRight); };
		const auto [someShortest, someLongest] = std::minmax_element(LoadingScreen::TIPS.begin(), LoadingScreen::TIPS.end(), ByWidth);
		// Lit pixels clipped at both edges would look centred: the longest must fit.
		ASSERT_LT(WidthOf(*someLongest) + 8.0f, static_cast<float>(someSize.x)) << *someLongest;

		for (const auto someWanted : { someLongest, someShortest })
		{
			const auto someIndex = static_cast<std::uint32_t>(someWanted - LoadingScreen::TIPS.begin());
			for (int someDraw = 0; someDraw < 1000 && someScreen.GetCurrentTip() != someIndex; ++someDraw)
				someScreen.Show({ 1.0f, 1.0f, 1.0f, 1.0f });
			const std::string someTip = *someWanted;
			ASSERT_EQ(someScreen.GetCurrentTip(), someIndex) << someTip << ": never picked";
			ASSERT_TRUE(myEngine.Get().BeginFrame());
			someStates.Update(myInput, 0.0f); // the interface camera of the window's size
			someStates.Render(myInput);
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
			ASSERT_EQ(Norv::DX11::ourSwapChain->GetBuffer(0, someBuffer.GetAddressOf()), S_OK);
			const std::vector<std::uint8_t> somePixels = NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, someBuffer.Get());
			myEngine.Get().EndFrame();
			ASSERT_EQ(somePixels.size(), static_cast<std::size_t>(someSize.x) * someSize.y * 4);

			// The lit pixels' box, in interface pixels (y up from the bottom).
			unsigned someLeft = UINT_MAX, someRight = 0, someBottom = UINT_MAX, someTop = 0;
			for (unsigned y = 0; y < someSize.y; ++y)
				for (unsigned x = 0; x < someSize.x; ++x)
				{
					const std::uint8_t* somePixel = &somePixels[(static_cast<std::size_t>(y) * someSize.x + x) * 4];
					if (std::min({ somePixel[0], somePixel[1], somePixel[2] }) < 128)
						continue;
					someLeft = std::min(someLeft, x);
					someRight = std::max(someRight, x);
					someBottom = std::min(someBottom, someSize.y - 1 - y);
					someTop = std::max(someTop, someSize.y - 1 - y);
				}
			ASSERT_LE(someLeft, someRight) << "no tip drawn: " << someTip;
			const float someHeight = 0.3f * static_cast<float>(someSize.y);
			EXPECT_NEAR(0.5f * static_cast<float>(someLeft + someRight + 1), 0.5f * static_cast<float>(someSize.x), 4.0f) << someTip;
			EXPECT_LE(static_cast<float>(someBottom), someHeight + 4.0f) << someTip;
			EXPECT_GE(static_cast<float>(someTop), someHeight - 4.0f) << someTip;
			EXPECT_LT(someTop - someBottom, LoadingScreen::TIP_FONT_SIZE * 2u) << someTip << ": one line at 30 % of the height";
		}
	}

	// Every tip can come up, each about as often as another.
	TEST_F(LoadingScreenTest, EveryTipIsPickedAboutAsOftenAsAnother)
	{
		LoadingScreen& someScreen = LoadingScreen::GetInstance();
		constexpr int PER_TIP = 1000;
		std::array<int, LoadingScreen::TIPS.size()> someCounts{};
		for (std::size_t i = 0; i < PER_TIP * LoadingScreen::TIPS.size(); ++i)
		{
			someScreen.Show({ 1.0f, 1.0f, 1.0f, 1.0f });
			ASSERT_LT(someScreen.GetCurrentTip(), LoadingScreen::TIPS.size());
			++someCounts[someScreen.GetCurrentTip()];
		}
		// About 31 either way is one standard deviation.
		for (std::size_t someTip = 0; someTip < someCounts.size(); ++someTip)
			EXPECT_NEAR(someCounts[someTip], PER_TIP, 200) << "tip " << someTip;
	}

	TEST(LoadingScreenTips, AreTheEighteenAsWritten)
	{
		ASSERT_EQ(LoadingScreen::TIPS.size(), 18u);
		EXPECT_STREQ(LoadingScreen::TIPS[11], "If you distrubed a creature and do not wish to fight, go away, they will probably forget about you");
		EXPECT_STREQ(LoadingScreen::TIPS[15], "Are you really Reading this ?");
	}
}
