#include "sound/Audio.h"
#include "sound/AudioOut.h"

#include "bass/BassOutput.h"
#include "bass/bass.h"
#include "settings/settings.h"

#include "Support/ExecutableFolder.h"
#include "Support/WavFile.h"

#include <gtest/gtest.h>

#include <deque>
#include <vector>

namespace
{
	constexpr std::size_t ONE_SECOND = 44100;

	// Sounds under the executable's "data/" folder, resolved as the game resolves them.
	class Sound : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			myFolder.WriteSettings(R"({"window_settings": {"title": "T"}})");
			ASSERT_TRUE(Norv::LoadSettings("Game"));
		}

		void TearDown() override
		{
			for (Norv::Audio& someSound : mySounds)
				someSound.Stop(true);
		}

		// A loaded handle of aFrames constant frames (aLeft, aRight).
		Norv::Audio& Load(const char* aName, bool aLoop, std::size_t aFrames = ONE_SECOND, std::int16_t aLeft = 1000, std::int16_t aRight = 1000)
		{
			myFolder.Write(std::filesystem::path("data") / aName, NorvTest::MakeConstantWav(aFrames, aLeft, aRight));
			Norv::Audio& someSound = mySounds.emplace_back();
			someSound.Init(aName, aLoop);
			return someSound;
		}

		// The mix in 16-bit units.
		static std::vector<float> Mix(std::size_t aFrames)
		{
			std::vector<float> someOut(aFrames * 2);
			Platform::MixBassOutput(someOut.data(), aFrames);
			for (float& someValue : someOut)
				someValue *= 32768.0f;
			return someOut;
		}

		static DWORD StateOf(const Norv::Audio& aSound) { return BASS_ChannelIsActive(aSound.GetChannel()); }

		NorvTest::ExecutableFolder myFolder;
		std::deque<Norv::Audio> mySounds;
	};
}

TEST_F(Sound, SecondLoadOfAFileIsRefusedWithAMessage)
{
	Norv::Audio& someFirst = Load("SFX/twice.wav", false);
	EXPECT_NE(someFirst.GetSampleId(), 0u);
	EXPECT_NE(someFirst.GetSampleId(), Norv::AudioOut::NO_SAMPLE);

	testing::internal::CaptureStderr();
	Norv::Audio& someSecond = mySounds.emplace_back();
	someSecond.Init("SFX/twice.wav", true);
	const std::string someMessage = testing::internal::GetCapturedStderr();
	EXPECT_EQ(someSecond.GetSampleId(), 0u);
	const std::string someResolved = Norv::Settings::ResolveAssetPath("SFX/twice.wav");
	EXPECT_EQ(someMessage, "Audio error: " + someResolved + " already loaded\n");
	EXPECT_EQ(Norv::AudioOut::GetInstance().FindSample(someResolved), someFirst.GetSampleId());

	// The refused handle plays nothing.
	someSecond.Play();
	EXPECT_EQ(someSecond.GetChannel(), 0u);
}

TEST_F(Sound, MissingFileGivesAHandleThatIgnoresEverything)
{
	testing::internal::CaptureStderr();
	Norv::Audio someMissing;
	someMissing.Init("SFX/nowhere.wav", false);
	EXPECT_NE(testing::internal::GetCapturedStderr().find("SFX/nowhere.wav"), std::string::npos);
	EXPECT_EQ(someMissing.GetSampleId(), Norv::AudioOut::NO_SAMPLE);

	testing::internal::CaptureStderr();
	myFolder.Write("data/SFX/broken.wav", "RIFF....WAVEfmt ");
	Norv::Audio someBroken;
	someBroken.Init("SFX/broken.wav", false);
	EXPECT_NE(testing::internal::GetCapturedStderr().find("broken.wav"), std::string::npos);
	EXPECT_EQ(someBroken.GetSampleId(), Norv::AudioOut::NO_SAMPLE);

	someMissing.Play();
	someMissing.Pause();
	someMissing.Resume();
	someMissing.Stop(true);
	someMissing.Stop(false);
	EXPECT_EQ(someMissing.GetChannel(), 0u);
	someMissing.SetVolume(0.25f);
	EXPECT_EQ(someMissing.GetVolume(), 0.25f);
	someMissing.SetPosition({ -1.0f, 0.0f });
	EXPECT_EQ(someMissing.GetPosition().x, -1.0f);
}

TEST_F(Sound, VolumeAboveOneAmplifiesAndPanSilencesASide)
{
	Norv::Audio& someSound = Load("SFX/level.wav", true, ONE_SECOND, 1000, 20000);
	someSound.SetVolume(2.0f);
	someSound.Play();
	ASSERT_EQ(StateOf(someSound), BASS_ACTIVE_PLAYING);
	EXPECT_EQ(Mix(4), (std::vector<float>{ 2000, 40000, 2000, 40000, 2000, 40000, 2000, 40000 }));

	someSound.SetPosition({ -1.0f, 0.0f });
	EXPECT_EQ(Mix(1), (std::vector<float>{ 2000, 0 }));
	someSound.SetPosition({ 1.0f, 0.0f });
	someSound.SetVolume(0.5f);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 0, 10000 }));
}

TEST_F(Sound, StopLetsALoopFinishItsPassOrSilencesItAtOnce)
{
	// Half-second passes: long against the device's own pulls, which also move channels on.
	Norv::Audio& someLoop = Load("SFX/loop.wav", true, ONE_SECOND / 2);
	someLoop.Play();
	Mix(ONE_SECOND / 2 + 10); // into the second pass: it loops
	ASSERT_EQ(StateOf(someLoop), BASS_ACTIVE_PLAYING);

	someLoop.Stop(false);
	EXPECT_EQ(StateOf(someLoop), BASS_ACTIVE_PLAYING);
	EXPECT_EQ(BASS_ChannelFlags(someLoop.GetChannel(), 0, 0) & BASS_SAMPLE_LOOP, 0u);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 1000, 1000 }));
	Mix(ONE_SECOND / 2);
	EXPECT_EQ(StateOf(someLoop), BASS_ACTIVE_STOPPED);

	someLoop.Play();
	ASSERT_EQ(StateOf(someLoop), BASS_ACTIVE_PLAYING);
	someLoop.Stop(true);
	EXPECT_EQ(StateOf(someLoop), BASS_ACTIVE_STOPPED);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 0, 0 }));

	// A one-shot sound is not a loop: stopping it gently leaves it alone.
	Norv::Audio& someOnce = Load("SFX/once.wav", false);
	someOnce.Play();
	someOnce.Stop(false);
	EXPECT_EQ(StateOf(someOnce), BASS_ACTIVE_PLAYING);
}

TEST_F(Sound, ResumeRestartsOnlyPausedChannels)
{
	Norv::Audio& someSound = Load("SFX/steps.wav", false, ONE_SECOND);
	someSound.Play();
	const std::uint32_t someFirst = someSound.GetChannel();
	Mix(ONE_SECOND / 2);
	someSound.Play();
	const std::uint32_t someSecond = someSound.GetChannel();
	ASSERT_NE(someFirst, someSecond);
	Mix(ONE_SECOND / 2 + 100); // the first ends, the second plays on
	ASSERT_EQ(BASS_ChannelIsActive(someFirst), BASS_ACTIVE_STOPPED);

	someSound.Pause();
	EXPECT_EQ(BASS_ChannelIsActive(someSecond), BASS_ACTIVE_PAUSED);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 0, 0 }));
	someSound.Resume();
	EXPECT_EQ(BASS_ChannelIsActive(someSecond), BASS_ACTIVE_PLAYING);
	EXPECT_EQ(BASS_ChannelIsActive(someFirst), BASS_ACTIVE_STOPPED);
}

TEST_F(Sound, AOneShotOverlapsUpToThreeTimes)
{
	Norv::Audio& someSound = Load("SFX/hit.wav", false, ONE_SECOND, 100, 100);
	for (int i = 0; i < 5; ++i)
		someSound.Play();
	EXPECT_EQ(Norv::AudioOut::GetInstance().GetChannels(someSound.GetSampleId()).size(), 3u);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 300, 300 }));

	// A looping sound refuses a fourth channel instead of replacing one.
	Norv::Audio& someLoop = Load("SFX/hum.wav", true, ONE_SECOND, 10, 10);
	for (int i = 0; i < 4; ++i)
		someLoop.Play();
	EXPECT_EQ(Norv::AudioOut::GetInstance().GetChannels(someLoop.GetSampleId()).size(), 3u);
	EXPECT_EQ(Mix(1), (std::vector<float>{ 330, 330 }));
}
