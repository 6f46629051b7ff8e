#include "media/VideoOverlay.h"

#include "engine/EngineCreateParameters.h"

#include "Support/GraphicsSetUp.h"
#include "Support/ImageEncoding.h"
#include "Support/TempFolder.h"
#include "Support/VideoClip.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <fstream>

namespace
{
	constexpr unsigned WINDOW_WIDTH = 160;
	constexpr unsigned WINDOW_HEIGHT = 120;

	// Frames go to textures of the engine's device and are drawn with its sprite drawer.
	class Overlay : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(mySetUp.IsGraphicsReady());
			Norv::GetEngineCreateParameters().myRenderSize = { 800, 600 };
		}
		void TearDown() override { Norv::GetEngineCreateParameters() = Norv::EngineCreateParameters(); }

		std::string MakeClip(const char* aName, int aWidth, int aHeight, int aFrames)
		{
			NorvTest::ClipOptions someOptions;
			someOptions.myWidth = aWidth;
			someOptions.myHeight = aHeight;
			someOptions.myFrameCount = aFrames;
			someOptions.mySoundRate = 44100;
			const std::filesystem::path somePath = myFolder.Path() / aName;
			EXPECT_TRUE(NorvTest::WriteVideoClip(somePath, someOptions));
			return somePath.string();
		}

		// The back buffer after clearing it to BACKGROUND and rendering the overlay.
		std::vector<std::uint8_t> RenderOver(VideoOverlay& anOverlay)
		{
			mySetUp.DX11().Clear(Norv::Color(BACKGROUND[0] / 255.0f, BACKGROUND[1] / 255.0f, BACKGROUND[2] / 255.0f, 1.0f));
			mySetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
			anOverlay.Render();
			return mySetUp.ReadBackBuffer();
		}

		std::array<std::uint8_t, 4> Pixel(const std::vector<std::uint8_t>& aBytes, unsigned aX, unsigned aY) const { return mySetUp.PixelAt(aBytes, aX, aY); }

		static constexpr std::array<std::uint8_t, 4> BACKGROUND{ 255, 0, 255, 255 };

		NorvTest::GraphicsSetUp mySetUp{ { WINDOW_WIDTH, WINDOW_HEIGHT } };
		NorvTest::TempFolder myFolder;
	};
}

TEST_F(Overlay, IsOneForTheGameAndShowsNothingBeforeALoad)
{
	VideoOverlay& someOverlay = VideoOverlay::GetInstance();
	EXPECT_EQ(&someOverlay, &VideoOverlay::GetInstance());

	VideoOverlay someFresh;
	EXPECT_FALSE(someFresh.IsActive());
	EXPECT_FALSE(someFresh.IsShowingFrame());
	EXPECT_EQ(someFresh.GetState(), Norv::Video::STATE_NONE);
	someFresh.Play();
	someFresh.Update(1.0f);
	someFresh.Update();
	EXPECT_EQ(someFresh.GetState(), Norv::Video::STATE_NONE);
	EXPECT_EQ(Pixel(RenderOver(someFresh), WINDOW_WIDTH / 2, WINDOW_HEIGHT / 2), BACKGROUND);
}

TEST_F(Overlay, FrameAreaFillsTheWindowFromItsTopLeft)
{
	VideoOverlay someOverlay;
	someOverlay.Load(MakeClip("square.mp4", 64, 64, 3).c_str(), true);
	EXPECT_TRUE(someOverlay.IsActive());
	EXPECT_EQ(someOverlay.GetFrameSprite().mySize, (Norv::Vector2<float>(800.0f, 600.0f)));
	EXPECT_EQ(someOverlay.GetFrameSprite().myPosition, (Norv::Vector2<float>(0.0f, 600.0f)));
	EXPECT_EQ(someOverlay.GetFrameSprite().myPivot, (Norv::Vector2<float>(0.0f, 0.0f)));

	// A 64 x 48 frame sits in a 64 x 64 texture: the sprite overhangs below the window.
	someOverlay.Load(MakeClip("wide.mp4", 64, 48, 3).c_str(), true);
	EXPECT_EQ(someOverlay.GetFrameSprite().mySize, (Norv::Vector2<float>(800.0f, 800.0f)));
}

TEST_F(Overlay, PlaysToItsEndAndThenShowsNothing)
{
	VideoOverlay someOverlay;
	someOverlay.Load(MakeClip("scene.mp4", 32, 32, 5).c_str(), true);
	ASSERT_EQ(someOverlay.GetState(), Norv::Video::STATE_PLAYING);
	EXPECT_TRUE(someOverlay.IsShowingFrame());
	someOverlay.Update(1.0f); // not started yet
	EXPECT_FALSE(someOverlay.GetVideo()->IsPlaying());

	for (int i = 0; i < 10 && someOverlay.GetState() == Norv::Video::STATE_PLAYING; ++i)
	{
		someOverlay.Play();
		someOverlay.Update(0.04f);
	}
	EXPECT_EQ(someOverlay.GetState(), Norv::Video::STATE_FINISHED);
	EXPECT_FALSE(someOverlay.IsShowingFrame());
	EXPECT_TRUE(someOverlay.GetVideo()->GetPlayer()->HasSoundOutput());

	// Updates still reach the finished video.
	const int someCopied = someOverlay.GetVideo()->GetPlayer()->GetCopiedFrameCount();
	someOverlay.Update(0.04f);
	EXPECT_GT(someOverlay.GetVideo()->GetPlayer()->GetCopiedFrameCount(), someCopied);
}

TEST_F(Overlay, ASecondLoadReplacesThePlayingVideo)
{
	VideoOverlay someOverlay;
	const std::string somePath = MakeClip("first.mp4", 32, 32, 20);
	someOverlay.Load(somePath.c_str(), true);
	someOverlay.Play();
	someOverlay.Update(0.2f);
	const Norv::Video* someFirst = someOverlay.GetVideo();
	const int someFirstFrames = someFirst->GetPlayer()->GetCopiedFrameCount();
	EXPECT_GE(someFirstFrames, 5);

	someOverlay.Load(somePath.c_str(), true);
	EXPECT_FALSE(someOverlay.GetVideo()->IsPlaying());
	EXPECT_LT(someOverlay.GetVideo()->GetPlayer()->GetCopiedFrameCount(), someFirstFrames);
	EXPECT_EQ(someOverlay.GetState(), Norv::Video::STATE_PLAYING);
}

TEST_F(Overlay, UnopenableVideoReportsNothingPlaysAndHasNoSize)
{
	VideoOverlay someOverlay;
	testing::internal::CaptureStderr();
	someOverlay.Load((myFolder.Path() / "missing.mp4").string().c_str(), true);
	EXPECT_NE(testing::internal::GetCapturedStderr().find("missing.mp4"), std::string::npos);
	EXPECT_TRUE(someOverlay.IsActive());
	EXPECT_NE(someOverlay.GetState(), Norv::Video::STATE_PLAYING);
	EXPECT_FALSE(someOverlay.IsShowingFrame());
	EXPECT_EQ(someOverlay.GetFrameSprite().mySize, (Norv::Vector2<float>(0.0f, 0.0f)));
	EXPECT_EQ(Pixel(RenderOver(someOverlay), WINDOW_WIDTH / 2, WINDOW_HEIGHT / 2), BACKGROUND);
	someOverlay.Play();
	someOverlay.Update(1.0f);
	EXPECT_NE(someOverlay.GetState(), Norv::Video::STATE_PLAYING);
}

TEST_F(Overlay, DrawsTheCurrentFrameOverTheWholeWindowUntilTheEnd)
{
	Norv::GetEngineCreateParameters().myRenderSize = { WINDOW_WIDTH, WINDOW_HEIGHT };
	VideoOverlay someOverlay;
	// A frame of the window's size in a 256 x 128 texture: texel for pixel, the
	// texture's right and lower parts outside the window.
	someOverlay.Load(MakeClip("drawn.mp4", WINDOW_WIDTH, WINDOW_HEIGHT, 12).c_str(), true);
	EXPECT_EQ(someOverlay.GetFrameSprite().mySize, (Norv::Vector2<float>(256.0f, 128.0f)));
	constexpr int SHOWN_FRAME = 6;
	for (int i = 0; i < SHOWN_FRAME; ++i)
	{
		someOverlay.Play();
		someOverlay.Update(0.04f);
	}
	ASSERT_EQ(someOverlay.GetState(), Norv::Video::STATE_PLAYING);

	const std::vector<std::uint8_t> someBytes = RenderOver(someOverlay);
	// Written for people to look at; the back buffer's BGRA becomes RGBA.
	std::vector<std::uint8_t> someRgba = someBytes;
	for (std::size_t i = 0; i + 3 < someRgba.size(); i += 4)
		std::swap(someRgba[i], someRgba[i + 2]);
	std::ofstream("VideoOverlayFrame.png", std::ios::binary) << NorvTest::EncodePng(WINDOW_WIDTH, WINDOW_HEIGHT, someRgba);

	const int someGrey = (NorvTest::ClipFrameLuma(SHOWN_FRAME) - 16) * 255 / 219;
	for (unsigned y : { 0u, 1u, WINDOW_HEIGHT / 2, WINDOW_HEIGHT - 2, WINDOW_HEIGHT - 1 })
		for (unsigned x : { 0u, 1u, WINDOW_WIDTH / 2, WINDOW_WIDTH - 2, WINDOW_WIDTH - 1 })
		{
			const std::array<std::uint8_t, 4> somePixel = Pixel(someBytes, x, y);
			for (int c = 0; c < 3; ++c)
				EXPECT_NEAR(somePixel[c], someGrey, 4) << x << ", " << y << " channel " << c;
		}

	for (int i = 0; i < 10 && someOverlay.GetState() == Norv::Video::STATE_PLAYING; ++i)
		someOverlay.Update(0.04f);
	ASSERT_EQ(someOverlay.GetState(), Norv::Video::STATE_FINISHED);
	EXPECT_EQ(Pixel(RenderOver(someOverlay), WINDOW_WIDTH / 2, WINDOW_HEIGHT / 2), BACKGROUND);
}
