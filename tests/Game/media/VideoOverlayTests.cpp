#include "media/VideoOverlay.h"

#include "engine/EngineCreateParameters.h"

#include "Support/TempFolder.h"
#include "Support/VideoClip.h"

#include <gtest/gtest.h>

namespace
{
	class Overlay : public ::testing::Test
	{
	protected:
		void SetUp() override { Norv::GetEngineCreateParameters().myRenderSize = { 800, 600 }; }
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
	someOverlay.Play();
	someOverlay.Update(1.0f);
	EXPECT_NE(someOverlay.GetState(), Norv::Video::STATE_PLAYING);
}
