// The shell as a player sees it: the intro skipped into the main menu, then the
// options opened over it, drawn headless at 1280 x 720 and at 2560 x 1440 and
// read back: the art and the button texts are where the layout puts them.
#include "Support/ReadBack.h"
#include "Support/ShellFixture.h"

#include "shell/GameStates.h"
#include "shell/LoadingScreen.h"
#include "shell/states/IntroState.h"

#include "graphics/TextureManager.h"

#include "graphics/DX11.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{
	using Rgb = std::array<int, 3>;
	constexpr Rgb MENU_COLOR{ 40, 80, 200 };
	constexpr Rgb PANEL_COLOR{ 90, 60, 40 };
	constexpr Rgb BAR_COLOR{ 255, 255, 255 };
	constexpr Rgb LABEL_COLOR{ 179, 162, 150 };
	constexpr Rgb FLOWER_COLOR{ 255, 0, 0 };

	Norv::EngineCreateParameters WithSize(unsigned aWidth, unsigned aHeight)
	{
		Norv::EngineCreateParameters someParameters;
		someParameters.myWindowSize = { aWidth, aHeight };
		someParameters.myRenderSize = { aWidth, aHeight };
		return someParameters;
	}

	class RenderedMenuTest : public NorvTest::ShellTest, public ::testing::WithParamInterface<std::pair<unsigned, unsigned>>
	{
	protected:
		RenderedMenuTest() : ShellTest(WithSize(GetParam().first, GetParam().second))
		{
			// The backgrounds at the reference size, as shipped.
			WriteImage("../Source/Game/data/UI/Main_menu.png", 2560, 1440, { 40, 80, 200, 255 });
			WriteImage("../Source/Game/data/UI/Pause_Menu.png", 1100, 900, { 90, 60, 40, 255 });
			WriteImage("../Source/Game/data/UI/Volume_Bar.png", 400, 20, { 255, 255, 255, 255 });
			WriteImage("../Source/Game/data/UI/Icon_Bar.png", 40, 40, { 0, 255, 0, 255 });
			WriteImage("../Source/Game/data/UI/SoundOn_V2.png", 60, 60, { 0, 0, 255, 255 });
			WriteImage("../Source/Game/data/UI/Indicator_Flower.png", 32, 32, { 255, 0, 0, 255 });
			WriteMenuFont();
		}

		// One frame of the game loop; the back buffer's pixels before it is presented.
		void RenderFrame(StateStack& aStates)
		{
			myCounter.AdvanceMilliseconds(16);
			ASSERT_TRUE(myEngine.Get().BeginFrame());
			aStates.Update(myInput, 0.016f);
			aStates.Render(myInput);
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
			ASSERT_EQ(Norv::DX11::ourSwapChain->GetBuffer(0, someBuffer.GetAddressOf()), S_OK);
			myPixels = NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, someBuffer.Get());
			myEngine.Get().EndFrame();
		}

		Norv::Vector2<float> Size() const { return Norv::Vector2<float>(myEngine.Get().GetRenderSize()); }

		// The picture of a game file as the texture manager holds it.
		static const Norv::Texture* Picture(const std::string& aGamePath)
		{
			return Norv::TextureManager::GetCurrent()->GetPicture(aGamePath.c_str(), Norv::TEXTURE_MODE_FORCE_SRGB);
		}

		// The pixel at fractions of the render size, y up from the bottom.
		Rgb At(float anXFraction, float aYFraction) const
		{
			const Norv::Vector2<float> someSize = Size();
			const std::size_t someX = static_cast<std::size_t>(someSize.x * anXFraction);
			const std::size_t someY = static_cast<std::size_t>(someSize.y * (1.0f - aYFraction));
			const std::size_t someIndex = (someY * static_cast<std::size_t>(someSize.x) + someX) * 4;
			return { myPixels[someIndex + 2], myPixels[someIndex + 1], myPixels[someIndex] };
		}

		static bool IsNear(const Rgb& aPixel, const Rgb& aColor, int aTolerance = 2)
		{
			for (std::size_t i = 0; i < 3; ++i)
				if (std::abs(aPixel[i] - aColor[i]) > aTolerance)
					return false;
			return true;
		}

		// How many pixels of a box around a point (fractions of the render size, y up) are near aColor.
		int CountNear(float anXFraction, float aYFraction, float aHalfWidth, float aHalfHeight, const Rgb& aColor, int aTolerance) const
		{
			int someCount = 0;
			for (float y = aYFraction - aHalfHeight; y <= aYFraction + aHalfHeight; y += 1.0f / Size().y)
				for (float x = anXFraction - aHalfWidth; x <= anXFraction + aHalfWidth; x += 1.0f / Size().x)
					someCount += IsNear(At(x, y), aColor, aTolerance) ? 1 : 0;
			return someCount;
		}

		std::vector<std::uint8_t> myPixels;
	};

	TEST_P(RenderedMenuTest, TheMainMenuAndTheOptionsAreDrawnWhereTheirLayoutPutsThem)
	{
		ASSERT_TRUE(myEngine.IsStarted());
		ASSERT_EQ(myEngine.Get().GetRenderSize(), Norv::Vector2<unsigned int>(GetParam().first, GetParam().second));
		GameStates someGameStates;
		StateStack someStates{ someGameStates.GetStateSet() };
		testing::internal::CaptureStdout();
		someStates.PushInitialState(myInput);

		PressKey(VK_RETURN); // skips the intro
		RenderFrame(someStates);
		KeyUp(VK_RETURN);
		Frame();
		ASSERT_EQ(someStates.GetStack().back(), &someGameStates.myMainMenu);
		RenderFrame(someStates);

		// The background is held at the window's size, and laid out by the file's.
		const Norv::Texture* someBackground = Picture("../Source/Game/data/UI/Main_menu.png");
		EXPECT_EQ(someBackground->mySize, Norv::Vector2<unsigned int>(2560, 1440));
		EXPECT_EQ(someBackground->myUploadedSize, myEngine.Get().GetRenderSize());

		// The menu picture fills the window; the labels stand at 0.635 of the width.
		EXPECT_TRUE(IsNear(At(0.02f, 0.02f), MENU_COLOR)) << At(0.02f, 0.02f)[2];
		EXPECT_TRUE(IsNear(At(0.3f, 0.5f), MENU_COLOR));
		EXPECT_TRUE(IsNear(At(0.98f, 0.98f), MENU_COLOR));
		const float someLabelHalfHeight = 0.02f;
		for (float someY : { 0.7f, 0.6f, 0.5f, 0.4f, 0.3f })
		{
			EXPECT_GT(CountNear(0.635f, someY, 0.04f, someLabelHalfHeight, LABEL_COLOR, 12), 20) << someY;
			EXPECT_EQ(CountNear(0.3f, someY, 0.04f, someLabelHalfHeight, LABEL_COLOR, 12), 0) << someY;
		}
		// Between two rows there is no text.
		EXPECT_EQ(CountNear(0.635f, 0.55f, 0.04f, 0.01f, LABEL_COLOR, 12), 0);

		// Down twice to "Options" and Confirm: the options over the main menu.
		for (WPARAM someKey : { VK_DOWN, VK_DOWN, VK_RETURN })
		{
			PressKey(someKey);
			RenderFrame(someStates);
			KeyUp(someKey);
			Frame();
		}
		ASSERT_EQ(someStates.GetStack().back(), &someGameStates.myOptionMenu);
		// A second of frames: the flowers have faded in.
		for (int someFrame = 0; someFrame < 60; ++someFrame)
			RenderFrame(someStates);
		testing::internal::GetCapturedStdout();

		// The panel, 1100 x 900 at the reference, centred over the menu picture.
		EXPECT_TRUE(IsNear(At(0.5f, 0.5f + 0.3f), PANEL_COLOR));
		EXPECT_TRUE(IsNear(At(0.5f - 0.2f, 0.5f), PANEL_COLOR));
		EXPECT_TRUE(IsNear(At(0.5f - 0.23f, 0.5f), MENU_COLOR)) << "beside the panel, the main menu still shows";
		// The bar at 0.53 of the height, 400 reference pixels wide.
		EXPECT_TRUE(IsNear(At(0.5f - 0.06f, 0.53f), BAR_COLOR));
		EXPECT_TRUE(IsNear(At(0.5f - 0.10f, 0.53f), PANEL_COLOR));
		// The slider is selected first: a flower beside each end of the bar.
		EXPECT_TRUE(IsNear(At(0.5f - 0.084f, 0.53f), FLOWER_COLOR, 4));
		EXPECT_TRUE(IsNear(At(0.5f + 0.089f, 0.53f), FLOWER_COLOR, 4)) << "beyond the knob, at full volume on the right end";
		// "Mute", "Toggle Window" and "Back" at 0.5, 0.45 and 0.4 of the height.
		for (float someY : { 0.5f, 0.45f, 0.4f })
			EXPECT_GT(CountNear(0.5f, someY, 0.02f, 0.012f, LABEL_COLOR, 12), 10) << someY;
		EXPECT_EQ(CountNear(0.5f, 0.35f, 0.05f, 0.012f, LABEL_COLOR, 12), 0);
		// The sound-on icon at (0.6, 0.5).
		EXPECT_TRUE(IsNear(At(0.6f, 0.5f), { 0, 0, 255 }));

		PressKey(VK_ESCAPE);
		RenderFrame(someStates);
		EXPECT_EQ(someStates.GetStack().back(), &someGameStates.myMainMenu) << "Escape goes back";
		someStates.GetStack().back()->Exit();
	}

	TEST_P(RenderedMenuTest, TheFirstFrameDecodesOnlyTheSplashAtTheSizeItIsShown)
	{
		ASSERT_TRUE(myEngine.IsStarted());
		WriteImage(IntroState::PICTURE_PATHS[0], 1920, 1080, { 250, 200, 100, 255 });
		WriteImage(IntroState::PICTURE_PATHS[1], 1200, 600, { 10, 10, 10, 255 });
		WriteImage(IntroState::PICTURE_PATHS[2], 2700, 1260, { 255, 255, 255, 255 });
		LoadingScreen::DestroyInstance();
		GameStates someGameStates;
		StateStack someStates{ someGameStates.GetStateSet() };
		someStates.PushInitialState(myInput);
		RenderFrame(someStates);

		// The splash fills the window, but is never held larger than its file.
		const Norv::Vector2<unsigned int> someWindow = myEngine.Get().GetRenderSize();
		EXPECT_EQ(Picture(IntroState::PICTURE_PATHS[0])->myUploadedSize,
			Norv::Vector2<unsigned int>(std::min(someWindow.x, 1920u), std::min(someWindow.y, 1080u)));
		// What later frames show waits for them.
		EXPECT_EQ(Picture(IntroState::PICTURE_PATHS[1])->myView.Get(), nullptr);
		EXPECT_EQ(Picture(IntroState::PICTURE_PATHS[2])->myView.Get(), nullptr);
		EXPECT_EQ(LoadingScreen::FindInstance(), nullptr);

		// The third picture, at a third of its laid-out size, once it shows.
		for (int someFrame = 0; someFrame < 1000 && someGameStates.myIntroState.GetPhase() < 3; ++someFrame)
			someStates.Update(myInput, 0.05f);
		RenderFrame(someStates);
		const Norv::Texture* someLogo = Picture(IntroState::PICTURE_PATHS[2]);
		EXPECT_EQ(someLogo->myUploadedSize, Norv::Vector2<unsigned int>(std::lround(2700.0f * someWindow.x / 2560.0f / 3.0f), std::lround(1260.0f * someWindow.x / 2560.0f / 3.0f)));
		someStates.GetStack().back()->Exit();
	}

	INSTANTIATE_TEST_SUITE_P(WindowSizes, RenderedMenuTest, ::testing::Values(std::pair{ 1280u, 720u }, std::pair{ 2560u, 1440u }),
		[](const auto& anInfo) { return std::to_string(anInfo.param.first) + "x" + std::to_string(anInfo.param.second); });
}
