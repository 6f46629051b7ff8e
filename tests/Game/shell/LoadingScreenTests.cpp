#include "Support/ShellFixture.h"

#include "shell/LoadingScreen.h"

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
		EXPECT_LT(someScreen.GetCurrentTip(), LoadingScreen::TIPS.size());
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

	TEST(LoadingScreenTips, AreTheEighteenAsWritten)
	{
		ASSERT_EQ(LoadingScreen::TIPS.size(), 18u);
		EXPECT_STREQ(LoadingScreen::TIPS[11], "If you distrubed a creature and do not wish to fight, go away, they will probably forget about you");
		EXPECT_STREQ(LoadingScreen::TIPS[15], "Are you really Reading this ?");
	}
}
