#include "video/Video.h"
#include "video/VideoPlayer.h"

#include "Support/GraphicsSetUp.h"
#include "Support/TempFolder.h"
#include "Support/VideoClip.h"
#include "d3d11/TestSeams.h"

extern "C"
{
#include <libavutil/rational.h>
}

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace
{
	constexpr std::uint8_t UNTOUCHED = 0xAB;

	// Frames are uploaded to textures of the engine's device.
	class VideoFile : public ::testing::Test
	{
	protected:
		void SetUp() override { ASSERT_TRUE(mySetUp.IsReady()); }

		std::string MakeClip(const char* aName, const NorvTest::ClipOptions& anOptions)
		{
			const std::filesystem::path somePath = myFolder.Path() / aName;
			EXPECT_TRUE(NorvTest::WriteVideoClip(somePath, anOptions));
			return somePath.string();
		}

		std::string ReadBytes(const std::string& aPath)
		{
			std::ifstream someFile(aPath, std::ios::binary);
			return { std::istreambuf_iterator<char>(someFile), {} };
		}

		// The red value the frame aIndex decodes to.
		static int Grey(int aIndex) { return (NorvTest::ClipFrameLuma(aIndex) - 16) * 255 / 219; }

		NorvTest::GraphicsSetUp mySetUp;
		NorvTest::TempFolder myFolder;
	};

	// Reads the player's current picture through a texture-sized buffer of aPitch bytes a row.
	std::vector<std::uint8_t> CopyFrame(Norv::VideoPlayer& aPlayer, std::uint32_t aWidth, std::uint32_t aHeight, std::uint32_t aPitch)
	{
		std::vector<std::uint8_t> someTexels(static_cast<std::size_t>(aPitch) * aHeight, UNTOUCHED);
		EXPECT_TRUE(aPlayer.CopyFrameTo(someTexels.data(), aPitch, aWidth, aHeight));
		return someTexels;
	}
}

TEST_F(VideoFile, FrameFillsTheTopLeftOfAPowerOfTwoTextureAndZeroesTheRest)
{
	NorvTest::ClipOptions someOptions;
	someOptions.myWidth = 1280;
	someOptions.myHeight = 720;
	someOptions.myFrameCount = 2;
	const std::string somePath = MakeClip("wide.mp4", someOptions);

	Norv::Video someVideo;
	ASSERT_TRUE(someVideo.Init(somePath.c_str(), true));
	EXPECT_EQ(someVideo.GetVideoWidth(), 1280u);
	EXPECT_EQ(someVideo.GetVideoHeight(), 720u);
	EXPECT_EQ(someVideo.GetTextureWidth(), 2048u);
	EXPECT_EQ(someVideo.GetTextureHeight(), 1024u);
	EXPECT_EQ(someVideo.GetState(), Norv::Video::STATE_PLAYING);
	EXPECT_FALSE(someVideo.IsPlaying());
	// The sprite's record shows the frame texture: 2048 x 1024 sRGB, one level, dynamic.
	ASSERT_NE(someVideo.GetTextureRecord(), nullptr);
	EXPECT_EQ(someVideo.GetTextureRecord()->myView.Get(), someVideo.GetTexture().GetView());
	EXPECT_EQ(Norv::Texture::CalculateTextureSize(someVideo.GetTextureRecord()->myView.Get()), (Norv::Vector2<unsigned int>(2048, 1024)));
	D3D11_TEXTURE2D_DESC someDesc{};
	someVideo.GetTexture().GetTexture()->GetDesc(&someDesc);
	EXPECT_EQ(someDesc.MipLevels, 1u);
	EXPECT_EQ(someDesc.Format, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB);
	EXPECT_EQ(someDesc.Usage, D3D11_USAGE_DYNAMIC);

	// The uploaded frame, read back from the device.
	someVideo.Play(false);
	someVideo.Update(0.04f);
	const std::vector<std::uint8_t> someUploaded = NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, someVideo.GetTexture().GetTexture());
	ASSERT_EQ(someUploaded.size(), 2048u * 1024u * 4u);
	const auto uploaded = [&](std::uint32_t x, std::uint32_t y, int c) { return someUploaded[(y * 2048 + x) * 4 + static_cast<std::uint32_t>(c)]; };
	EXPECT_NEAR(uploaded(0, 0, 0), Grey(1), 3);
	EXPECT_NEAR(uploaded(1279, 719, 2), Grey(1), 3);
	EXPECT_EQ(uploaded(1279, 719, 3), 255);
	for (const auto& [x, y] : { std::pair{ 1280u, 0u }, { 2047u, 719u }, { 0u, 720u }, { 1279u, 1023u }, { 2047u, 1023u } })
		EXPECT_EQ(uploaded(x, y, 0) | uploaded(x, y, 1) | uploaded(x, y, 2) | uploaded(x, y, 3), 0) << x << ", " << y;

	// A row pitch wider than the texture: the padding is never written.
	Norv::VideoPlayer somePlayer;
	ASSERT_EQ(somePlayer.Init(somePath.c_str(), false), Norv::VideoPlayer::STATUS_OK);
	EXPECT_FALSE(somePlayer.CopyFrameTo(nullptr, 0, 2048, 1024));
	somePlayer.DecodeFirstFrame();
	constexpr std::uint32_t PITCH = 2048 * 4 + 64;
	const std::vector<std::uint8_t> someTexels = CopyFrame(somePlayer, 2048, 1024, PITCH);
	const auto texel = [&](std::uint32_t x, std::uint32_t y, int c) { return someTexels[y * PITCH + x * 4 + static_cast<std::uint32_t>(c)]; };
	EXPECT_NEAR(texel(0, 0, 0), Grey(0), 3);
	EXPECT_NEAR(texel(1279, 719, 1), Grey(0), 3);
	EXPECT_EQ(texel(1279, 719, 3), 255);
	for (std::uint32_t y : { 0u, 400u, 719u })
	{
		for (std::uint32_t x : { 1280u, 1500u, 2047u })
			EXPECT_EQ(texel(x, y, 0) | texel(x, y, 1) | texel(x, y, 2) | texel(x, y, 3), 0) << x << ", " << y;
		EXPECT_EQ(someTexels[y * PITCH + 2048 * 4], UNTOUCHED);
	}
	for (std::uint32_t y : { 720u, 900u, 1023u })
	{
		for (std::uint32_t x : { 0u, 640u, 2047u })
			EXPECT_EQ(texel(x, y, 0) | texel(x, y, 3), 0) << x << ", " << y;
		EXPECT_EQ(someTexels[y * PITCH + PITCH - 1], UNTOUCHED);
	}
	EXPECT_EQ(somePlayer.GetCopiedFrameCount(), 1);
	// A pitch shorter than a texture row is refused.
	std::vector<std::uint8_t> someShort(2048 * 4);
	EXPECT_FALSE(somePlayer.CopyFrameTo(someShort.data(), 100, 2048, 1));
}

TEST_F(VideoFile, FramesFallDueAtTheFrameRateAndTheRemainderCarriesOver)
{
	NorvTest::ClipOptions someOptions;
	someOptions.myFrameCount = 40;
	Norv::Video someVideo;
	ASSERT_TRUE(someVideo.Init(MakeClip("steady.mp4", someOptions).c_str(), false));
	const Norv::VideoPlayer& somePlayer = *someVideo.GetPlayer();
	EXPECT_DOUBLE_EQ(somePlayer.GetFrameRate(), 25.0);
	const int someStart = somePlayer.GetCopiedFrameCount();

	someVideo.Update(1.0f); // not playing yet
	EXPECT_EQ(somePlayer.GetCopiedFrameCount(), someStart);

	someVideo.Play(false);
	someVideo.Update(0.1f);
	const int someFirstCall = somePlayer.GetCopiedFrameCount() - someStart;
	EXPECT_GE(someFirstCall, 2);
	EXPECT_LE(someFirstCall, 3);
	for (int i = 0; i < 9; ++i)
		someVideo.Update(0.1f);
	EXPECT_NEAR(somePlayer.GetCopiedFrameCount() - someStart, 25, 1);
	EXPECT_EQ(someVideo.GetState(), Norv::Video::STATE_PLAYING);
}

TEST_F(VideoFile, AFailedMapEndsTheCallAndTheDueFramesFollowLater)
{
	NorvTest::ClipOptions someOptions;
	someOptions.myFrameCount = 20;
	Norv::Video someVideo;
	ASSERT_TRUE(someVideo.Init(MakeClip("stalled.mp4", someOptions).c_str(), false));
	const Norv::VideoPlayer& somePlayer = *someVideo.GetPlayer();
	const int someStart = somePlayer.GetCopiedFrameCount();
	someVideo.Play(false);

	Platform::SetMapFailureOverride([] { return true; });
	someVideo.Update(0.2f);
	Platform::SetMapFailureOverride({});
	EXPECT_EQ(somePlayer.GetCopiedFrameCount(), someStart);

	// The time is kept: the next call uploads the frames that fell due.
	someVideo.Update(0.0f);
	EXPECT_NEAR(somePlayer.GetCopiedFrameCount() - someStart, 5, 1);
}

TEST_F(VideoFile, EndOfStreamFinishesOrLoopsFromTheFirstFrame)
{
	NorvTest::ClipOptions someOptions;
	someOptions.myFrameCount = 6;
	const std::string somePath = MakeClip("short.mp4", someOptions);
	// The red value of the frame the video's texture shows, read back from the device.
	const auto Shown = [](const Norv::Video& aVideo) {
		const std::vector<std::uint8_t> someTexels = NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, aVideo.GetTexture().GetTexture());
		return someTexels.empty() ? -1 : static_cast<int>(someTexels[0]);
	};

	Norv::Video someOnce;
	ASSERT_TRUE(someOnce.Init(somePath.c_str(), false));
	someOnce.Play(false);
	someOnce.Update(0.2f);
	EXPECT_EQ(someOnce.GetState(), Norv::Video::STATE_PLAYING);
	someOnce.Update(0.2f);
	EXPECT_EQ(someOnce.GetState(), Norv::Video::STATE_FINISHED);
	// It keeps showing its last frame while it is left playing.
	const int someCount = someOnce.GetPlayer()->GetCopiedFrameCount();
	someOnce.Update(0.2f);
	EXPECT_GT(someOnce.GetPlayer()->GetCopiedFrameCount(), someCount);
	EXPECT_EQ(someOnce.GetState(), Norv::Video::STATE_FINISHED);
	EXPECT_NEAR(Shown(someOnce), Grey(5), 3) << "a one-shot video ends on its last frame";

	Norv::Video someLoop;
	ASSERT_TRUE(someLoop.Init(somePath.c_str(), false));
	someLoop.Play(true);
	for (int i = 0; i < 7 && someLoop.GetState() != Norv::Video::STATE_FINISHED; ++i)
		someLoop.Update(0.04f);
	ASSERT_EQ(someLoop.GetState(), Norv::Video::STATE_FINISHED);
	EXPECT_NEAR(Shown(someLoop), Grey(5), 3);
	// Rewound at its end, it plays on from its first frame.
	someLoop.Update(0.04f);
	EXPECT_NEAR(Shown(someLoop), Grey(0), 3);
	someLoop.Update(0.04f);
	EXPECT_NEAR(Shown(someLoop), Grey(1), 3);
	const int someLoopCount = someLoop.GetPlayer()->GetCopiedFrameCount();
	someLoop.Update(0.4f);
	EXPECT_TRUE(someLoop.IsPlaying());
	EXPECT_NEAR(someLoop.GetPlayer()->GetCopiedFrameCount(), someLoopCount + 10, 1);

	// Rewound, the player decodes the first picture again.
	Norv::VideoPlayer somePlayer;
	ASSERT_EQ(somePlayer.Init(somePath.c_str(), false), Norv::VideoPlayer::STATUS_OK);
	int someDecoded = 0;
	while (somePlayer.DecodeNextFrame() >= 0)
		++someDecoded;
	EXPECT_EQ(someDecoded, 6);
	EXPECT_NEAR(CopyFrame(somePlayer, 64, 64, 256)[0], Grey(5), 3);
	somePlayer.Rewind();
	EXPECT_GE(somePlayer.DecodeNextFrame(), 0);
	EXPECT_NEAR(CopyFrame(somePlayer, 64, 64, 256)[0], Grey(0), 3);
	EXPECT_GE(somePlayer.DecodeNextFrame(), 0);
	EXPECT_NEAR(CopyFrame(somePlayer, 64, 64, 256)[0], Grey(1), 3);
}

TEST_F(VideoFile, SoundOpensTheWaveOutOnlyWhenThereIsSoundAndItIsWanted)
{
	NorvTest::ClipOptions someSilent;
	someSilent.myFrameCount = 5;
	Norv::Video someQuiet;
	ASSERT_TRUE(someQuiet.Init(MakeClip("silent.mp4", someSilent).c_str(), true));
	someQuiet.Play(false);
	someQuiet.Update(0.3f);
	EXPECT_EQ(someQuiet.GetState(), Norv::Video::STATE_FINISHED);
	EXPECT_FALSE(someQuiet.GetPlayer()->HasSoundOutput());

	NorvTest::ClipOptions someLoud = someSilent;
	someLoud.mySoundRate = 22050;
	const std::string somePath = MakeClip("loud.mp4", someLoud);
	Norv::Video someMuted;
	ASSERT_TRUE(someMuted.Init(somePath.c_str(), false));
	someMuted.Play(false);
	someMuted.Update(0.3f);
	EXPECT_FALSE(someMuted.GetPlayer()->HasSoundOutput());

	Norv::Video someHeard;
	ASSERT_TRUE(someHeard.Init(somePath.c_str(), true));
	someHeard.Play(false);
	someHeard.Update(0.3f);
	EXPECT_TRUE(someHeard.GetPlayer()->HasSoundOutput());
}

TEST_F(VideoFile, EverySoundFrameAndTheResamplerTailAreQueued)
{
	// PCM in Matroska: many small sound packets, each decoding to exactly its samples.
	NorvTest::ClipOptions someOptions;
	someOptions.myFrameCount = 10; // 0.4 s
	someOptions.mySoundRate = 22050;
	someOptions.mySoundChannels = 2;
	Norv::Video someVideo;
	ASSERT_TRUE(someVideo.Init(MakeClip("pcm.mkv", someOptions).c_str(), true));
	someVideo.Play(false);
	for (int i = 0; i < 10 && someVideo.GetState() != Norv::Video::STATE_FINISHED; ++i)
		someVideo.Update(0.1f);
	ASSERT_EQ(someVideo.GetState(), Norv::Video::STATE_FINISHED);
	const double someSourceSeconds = 10.0 / 25.0;
	const double someExpectedBytes = someSourceSeconds * 44100 * 4;
	EXPECT_NEAR(static_cast<double>(someVideo.GetPlayer()->GetQueuedSoundBytes()), someExpectedBytes, 4 * 4);
}

TEST_F(VideoFile, MissingTruncatedAndGarbageFilesFailCleanly)
{
	const std::string someGood = ReadBytes(MakeClip("good.mp4", {}));
	const std::string someCases[] = {
		(myFolder.Path() / "missing.mp4").string(),
		myFolder.Write("empty.mp4", "").string(),
		myFolder.Write("garbage.mp4", std::string(4096, '\x5a')).string(),
		myFolder.Write("truncated.mp4", someGood.substr(0, someGood.size() / 2)).string(),
		myFolder.Write("header.mp4", someGood.substr(0, 64)).string(),
	};
	for (const std::string& somePath : someCases)
	{
		SCOPED_TRACE(somePath);
		testing::internal::CaptureStderr();
		Norv::Video someVideo;
		EXPECT_FALSE(someVideo.Init(somePath.c_str(), true));
		EXPECT_NE(testing::internal::GetCapturedStderr().find("Video error: "), std::string::npos);
		EXPECT_EQ(someVideo.GetState(), Norv::Video::STATE_NONE);
		EXPECT_EQ(someVideo.GetTextureWidth(), 0u);
		someVideo.Play(false);
		someVideo.Update(1.0f);
		EXPECT_FALSE(someVideo.Init(somePath.c_str(), true));
	}

	// Matroska cut short still plays what it holds, then ends.
	NorvTest::ClipOptions someOptions;
	someOptions.myFrameCount = 20;
	const std::string someLong = ReadBytes(MakeClip("long.mkv", someOptions));
	Norv::Video someCut;
	ASSERT_TRUE(someCut.Init(myFolder.Write("cut.mkv", someLong.substr(0, someLong.size() / 2)).string().c_str(), true));
	someCut.Play(false);
	someCut.Update(1.0f);
	EXPECT_EQ(someCut.GetState(), Norv::Video::STATE_FINISHED);
}

TEST(VideoWithoutDevice, FailsToOpenWithAMessageAndPlaysNothing)
{
	NorvTest::TempFolder someFolder;
	const std::filesystem::path somePath = someFolder.Path() / "clip.mp4";
	ASSERT_TRUE(NorvTest::WriteVideoClip(somePath, {}));
	ASSERT_EQ(Norv::DX11::ourDevice, nullptr);
	testing::internal::CaptureStderr();
	Norv::Video someVideo;
	EXPECT_FALSE(someVideo.Init(somePath.string().c_str(), true));
	EXPECT_NE(testing::internal::GetCapturedStderr().find("Video error: " + somePath.string() + ": no 64 x 64 texture"), std::string::npos);
	EXPECT_EQ(someVideo.GetState(), Norv::Video::STATE_NONE);
	EXPECT_EQ(someVideo.GetTextureRecord(), nullptr);
	someVideo.Play(false);
	someVideo.Update(1.0f);
	EXPECT_EQ(someVideo.GetPlayer()->GetCopiedFrameCount(), 0);
}

TEST(VideoFrameRate, FirstUsableRateWinsAndNoneGivesTheDefault)
{
	EXPECT_DOUBLE_EQ(Norv::VideoPlayer::ChooseFrameRate({ 30, 1 }, { 25, 1 }, { 1, 50 }), 30.0);
	EXPECT_DOUBLE_EQ(Norv::VideoPlayer::ChooseFrameRate({ 0, 1 }, { 24000, 1001 }, { 1, 50 }), 24000.0 / 1001.0);
	EXPECT_DOUBLE_EQ(Norv::VideoPlayer::ChooseFrameRate({ 5, 0 }, { 0, 0 }, { 1, 50 }), 50.0);
	EXPECT_DOUBLE_EQ(Norv::VideoPlayer::ChooseFrameRate({ 1, 100000 }, { 0, 0 }, { 0, 1 }), Norv::VideoPlayer::DEFAULT_FRAME_RATE);
	EXPECT_DOUBLE_EQ(Norv::VideoPlayer::ChooseFrameRate({ 0, 0 }, { 0, 0 }, { 0, 0 }), Norv::VideoPlayer::DEFAULT_FRAME_RATE);
}
