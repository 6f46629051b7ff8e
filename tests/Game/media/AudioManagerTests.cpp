#include "media/AudioManager.h"
#include "world/FrameContext.h"
#include "world/entities/IPickupAble.h"
#include "world/entities/Player.h"

#include "bass/BassOutput.h"
#include "bass/bass.h"
#include "settings/settings.h"
#include "sound/AudioOut.h"

#include "Support/ExecutableFolder.h"
#include "Support/WavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
	constexpr std::size_t ONE_SECOND = 44100;

	class SoundBank : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			myFolder.WriteSettings(R"({"window_settings": {"title": "T"}})");
			ASSERT_TRUE(Norv::LoadSettings("Game"));
		}

		void WriteSound(const std::string& aPath, std::int16_t aValue = 1000)
		{
			myFolder.Write(std::filesystem::path("data") / aPath, NorvTest::MakeConstantWav(ONE_SECOND, aValue, aValue));
		}

		static DWORD StateOf(const Norv::Audio* aSound) { return BASS_ChannelIsActive(aSound->GetChannel()); }

		// A listener and a frame it hears through; making a player loads the bank.
		void MakeListener(Norv::Vector2<float> aPosition)
		{
			testing::internal::CaptureStderr();
			myListener = std::make_unique<Player>();
			testing::internal::GetCapturedStderr();
			myListener->myPosition = aPosition;
			myContext.player = myListener.get();
		}

		static Entity At(Norv::Vector2<float> aPosition)
		{
			Entity someEntity;
			someEntity.myPosition = aPosition;
			return someEntity;
		}

		// One frame of the mix in 16-bit units.
		static std::vector<float> MixOne()
		{
			std::vector<float> someOut(2);
			Platform::MixBassOutput(someOut.data(), 1);
			return { someOut[0] * 32768.0f, someOut[1] * 32768.0f };
		}

		NorvTest::ExecutableFolder myFolder;
		std::unique_ptr<Player> myListener;
		FrameContext myContext;
	};

	// The bank's files, as a few accessors and the load order name them.
	const char* const FOOTSTEP_GRASS_1 = "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_1.wav";
}

// The bank is loaded once per process, so its whole life is one test.
TEST_F(SoundBank, LoadsOnceOnFirstRequestAndDrivesVolumesAndGroups)
{
	if (AudioManager::IsLoaded())
		GTEST_SKIP() << "the bank was loaded earlier in this process (a repeated run)";
	for (const char* somePath : {
			 "SFX/music_menu_loop.wav", "SFX/music/music_boss/music_boss_loop.wav", "SFX/campfire/campfire_start.wav",
			 "SFX/campfire/campfire_idle_loop.wav", "SFX/ui/ui_select.wav", "SFX/wasp/wasp_attack/wasp_attack_sting_4.wav",
			 "SFX/wasp/wasp_damage/wasp_damage_5.wav", "SFX/book/book_idle_chime_loop.wav", FOOTSTEP_GRASS_1,
			 "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_1.wav" })
		WriteSound(somePath);

	// Before the bank is loaded the setters only store.
	AudioManager::SetMasterVolume(0.5f);
	AudioManager::SetMuted(false);
	EXPECT_FALSE(AudioManager::IsLoaded());
	EXPECT_EQ(AudioManager::musicBossLoop, nullptr);

	const std::size_t someSamplesBefore = Norv::AudioOut::GetInstance().GetSampleCount();
	testing::internal::CaptureStderr();
	Norv::Audio* someMenuMusic = AudioManager::GetMusicMenuLoop();
	testing::internal::GetCapturedStderr(); // the 68 files this test leaves out
	ASSERT_TRUE(AudioManager::IsLoaded());
	EXPECT_EQ(Norv::AudioOut::GetInstance().GetSampleCount(), someSamplesBefore + 10);
	EXPECT_EQ(AudioManager::GetAmbienceCaveLoop()->GetSampleId(), Norv::AudioOut::NO_SAMPLE);

	testing::internal::CaptureStderr();
	EXPECT_EQ(AudioManager::GetMusicMenuLoop(), someMenuMusic);
	AudioManager::LoadAll();
	EXPECT_EQ(AudioManager::GetMusicMenuLoop(), someMenuMusic);
	EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
	EXPECT_EQ(Norv::AudioOut::GetInstance().GetSampleCount(), someSamplesBefore + 10);
	ASSERT_NE(AudioManager::musicBossLoop, nullptr);
	EXPECT_NE(AudioManager::musicBossLoop->GetSampleId(), Norv::AudioOut::NO_SAMPLE);

	// Loop flags and the volumes given at load.
	BASS_SAMPLE someInfo{};
	ASSERT_TRUE(BASS_SampleGetInfo(AudioManager::GetCampfireIdleLoop()->GetSampleId(), &someInfo));
	EXPECT_EQ(someInfo.flags, BASS_SAMPLE_LOOP | BASS_SAMPLE_SOFTWARE);
	ASSERT_TRUE(BASS_SampleGetInfo(AudioManager::GetCampfireStart()->GetSampleId(), &someInfo));
	EXPECT_EQ(someInfo.flags & BASS_SAMPLE_LOOP, 0u);
	EXPECT_FLOAT_EQ(someMenuMusic->GetVolume(), 0.5f);
	EXPECT_FLOAT_EQ(AudioManager::GetPlayerFootstepDirt1()->GetVolume(), 0.5f);
	EXPECT_FLOAT_EQ(AudioManager::GetPlayerFootstepGrass1()->GetVolume(), 1.0f);
	EXPECT_FLOAT_EQ(AudioManager::GetWaspAttackSting4()->GetVolume(), 1.0f);
	EXPECT_FLOAT_EQ(AudioManager::GetBookIdleChimeLoop()->GetVolume(), 2.0f);

	AudioManager::SetMuted(true);
	EXPECT_FLOAT_EQ(AudioManager::GetBookIdleChimeLoop()->GetVolume(), 0.0f);
	EXPECT_FLOAT_EQ(AudioManager::GetPlayerFootstepGrass1()->GetVolume(), 0.0f);
	AudioManager::SetMasterVolume(0.8f); // muted: stored only
	EXPECT_FLOAT_EQ(someMenuMusic->GetVolume(), 0.0f);
	AudioManager::SetMuted(false);
	EXPECT_FLOAT_EQ(AudioManager::GetWaspDamage5()->GetVolume(), 1.6f);
	EXPECT_FLOAT_EQ(AudioManager::GetWaspAttackSting4()->GetVolume(), 1.6f);
	EXPECT_FLOAT_EQ(AudioManager::GetBookIdleChimeLoop()->GetVolume(), 3.2f);
	EXPECT_FLOAT_EQ(AudioManager::GetPlayerFootstepGrass1()->GetVolume(), 0.8f);
	// A new master volume keeps every sound's own factor.
	AudioManager::SetMasterVolume(1.0f);
	EXPECT_FLOAT_EQ(AudioManager::GetBookIdleChimeLoop()->GetVolume(), 4.0f);
	EXPECT_FLOAT_EQ(AudioManager::GetWaspDamage5()->GetVolume(), 2.0f);
	EXPECT_FLOAT_EQ(someMenuMusic->GetVolume(), 1.0f);

	// Group operations touch the effects only.
	Norv::Audio* someEffect = AudioManager::GetCampfireIdleLoop();
	Norv::Audio* someInterface = AudioManager::GetUiSelect();
	someMenuMusic->Play();
	someEffect->Play();
	someInterface->Play();
	AudioManager::PauseAll();
	EXPECT_EQ(StateOf(someMenuMusic), BASS_ACTIVE_PLAYING);
	EXPECT_EQ(StateOf(someInterface), BASS_ACTIVE_PLAYING);
	EXPECT_EQ(StateOf(someEffect), BASS_ACTIVE_PAUSED);
	AudioManager::ResumeAll();
	EXPECT_EQ(StateOf(someEffect), BASS_ACTIVE_PLAYING);
	AudioManager::StopAll();
	EXPECT_EQ(StateOf(someEffect), BASS_ACTIVE_STOPPED);
	EXPECT_EQ(StateOf(someMenuMusic), BASS_ACTIVE_PLAYING);
	someMenuMusic->Stop(true);
	someInterface->Stop(true);

	// A random footstep placed to the right is panned right on the channel it starts.
	Norv::Audio* someSteps[] = { AudioManager::GetPlayerFootstepGrass1() };
	someSteps[0]->SetPosition({ -1.0f, 0.0f });
	MakeListener({ 0.0f, 0.0f });
	AudioManager::PlayRandom(someSteps, 1, At({ 1000.0f, 0.0f }), myContext, true);
	ASSERT_EQ(StateOf(someSteps[0]), BASS_ACTIVE_PLAYING);
	EXPECT_FLOAT_EQ(someSteps[0]->GetVolume(), 2.0f * std::sqrt(0.5f));
	const std::vector<float> someMixed = MixOne();
	EXPECT_NEAR(someMixed[0], 1000.0f * 2.0f * std::sqrt(0.5f) * 0.5f, 1.0f);
	EXPECT_NEAR(someMixed[1], 1000.0f * 2.0f * std::sqrt(0.5f), 1.0f);
	AudioManager::StopAll();
	AudioManager::SetMasterVolume(1.0f);
}

TEST_F(SoundBank, PlaceSoundsByDistanceAndSide)
{
	WriteSound("SFX/placed.wav");
	Norv::Audio someSound;
	someSound.Init("SFX/placed.wav", false);
	const float someMaster = AudioManager::GetMasterVolume();
	MakeListener({ 50.0f, 70.0f });

	AudioManager::UpdateSpatialSound(&someSound, { 50.0f, 70.0f }, myContext, 500.0f, 0.5f);
	EXPECT_FLOAT_EQ(someSound.GetVolume(), 2.0f * someMaster * 0.5f);
	EXPECT_FLOAT_EQ(someSound.GetPosition().x, 0.0f);

	myListener->myPosition = { 0.0f, 0.0f };
	AudioManager::UpdateSpatialSound(&someSound, { -300.0f, 400.0f }, myContext, 1000.0f, 1.0f);
	EXPECT_FLOAT_EQ(someSound.GetVolume(), 2.0f * someMaster * std::sqrt(0.5f));
	EXPECT_FLOAT_EQ(someSound.GetPosition().x, -0.3f);

	// Beyond the radius, or with nobody to hear it: silent, the pan as it was.
	AudioManager::UpdateSpatialSound(&someSound, { 5000.0f, 0.0f }, myContext, 1000.0f, 1.0f);
	EXPECT_FLOAT_EQ(someSound.GetVolume(), 0.0f);
	EXPECT_FLOAT_EQ(someSound.GetPosition().x, -0.3f);
	someSound.SetVolume(1.0f);
	AudioManager::UpdateSpatialSound(&someSound, { 0.0f, 0.0f }, FrameContext{}, 1000.0f, 1.0f);
	EXPECT_FLOAT_EQ(someSound.GetVolume(), 0.0f);
	EXPECT_FLOAT_EQ(someSound.GetPosition().x, -0.3f);

	// A footstep exactly at the radius, or beyond it, is silent but played.
	Norv::Audio* someSteps[] = { &someSound };
	for (const float someX : { 2000.0f, 2500.0f })
	{
		someSound.Stop(true);
		AudioManager::PlayRandom(someSteps, 1, At({ someX, 0.0f }), myContext, true);
		EXPECT_FLOAT_EQ(someSound.GetVolume(), 0.0f);
		EXPECT_EQ(StateOf(&someSound), BASS_ACTIVE_PLAYING);
	}
	someSound.Stop(true);

	// No radius hears nothing; no sounds or a null one play nothing.
	AudioManager::UpdateSpatialSound(&someSound, { 0.0f, 0.0f }, myContext, 0.0f, 1.0f);
	EXPECT_FLOAT_EQ(someSound.GetVolume(), 0.0f);
	AudioManager::UpdateSpatialSound(nullptr, { 0.0f, 0.0f }, myContext, 10.0f, 1.0f);
	AudioManager::PlayRandom(someSteps, 0, At({}), myContext, true);
	Norv::Audio* someNothing[] = { nullptr };
	AudioManager::PlayRandom(someNothing, 1, At({}), myContext, false);
	EXPECT_EQ(StateOf(&someSound), BASS_ACTIVE_STOPPED);
}

// One handle, several entities: the loop plays while anyone claims it, at the
// loudest claim's volume and pan, and stops once nobody does.
TEST_F(SoundBank, ASharedLoopFollowsItsLoudestClaimAndStopsWhenNobodyClaimsIt)
{
	WriteSound("SFX/shared_loop.wav");
	Norv::Audio someLoop;
	someLoop.Init("SFX/shared_loop.wav", true);
	MakeListener({ 0.0f, 0.0f });
	const float someMaster = AudioManager::GetMasterVolume();
	const Entity someNear = At({ 250.0f, 0.0f });
	const Entity someFar = At({ -750.0f, 0.0f });
	const auto Claim = [&](const Entity& anEntity) { AudioManager::ClaimSpatialLoop(&someLoop, anEntity, anEntity.myPosition, myContext, 1000.0f, 1.0f); };

	// Claimed by both: started once, heard from the near one (on its side).
	Claim(someFar);
	Claim(someNear);
	AudioManager::SettleLoops();
	ASSERT_EQ(StateOf(&someLoop), BASS_ACTIVE_PLAYING);
	const std::uint32_t someChannel = someLoop.GetChannel();
	EXPECT_FLOAT_EQ(someLoop.GetVolume(), 2.0f * someMaster * std::sqrt(0.75f));
	EXPECT_FLOAT_EQ(someLoop.GetPosition().x, 0.25f);
	Claim(someNear);
	Claim(someFar);
	AudioManager::SettleLoops();
	EXPECT_EQ(someLoop.GetChannel(), someChannel);

	// The near one is done (out of range, picked up, dead): the far one still hears
	// it, on the same channel, at its own volume and side.
	Claim(someFar);
	AudioManager::SettleLoops();
	EXPECT_EQ(StateOf(&someLoop), BASS_ACTIVE_PLAYING);
	EXPECT_EQ(someLoop.GetChannel(), someChannel);
	EXPECT_FLOAT_EQ(someLoop.GetVolume(), 2.0f * someMaster * std::sqrt(0.25f));
	EXPECT_FLOAT_EQ(someLoop.GetPosition().x, -0.75f);

	// A claim withdrawn in the frame it was made counts for nothing.
	Claim(someNear);
	Claim(someFar);
	AudioManager::ReleaseLoop(&someLoop, someNear);
	AudioManager::SettleLoops();
	EXPECT_FLOAT_EQ(someLoop.GetVolume(), 2.0f * someMaster * std::sqrt(0.25f));
	Claim(someFar);
	AudioManager::ReleaseLoop(&someLoop, someFar);
	AudioManager::SettleLoops();
	EXPECT_EQ(StateOf(&someLoop), BASS_ACTIVE_STOPPED);

	// Claimed again after it stopped, it starts again; a plain claim sets its volume as given.
	AudioManager::ClaimLoop(&someLoop, someFar, 0.4f);
	AudioManager::SettleLoops();
	EXPECT_EQ(StateOf(&someLoop), BASS_ACTIVE_PLAYING);
	EXPECT_FLOAT_EQ(someLoop.GetVolume(), 0.4f);

	// Stopping every effect forgets the claims too: the next one starts the loop afresh.
	AudioManager::StopAll();
	EXPECT_EQ(StateOf(&someLoop), BASS_ACTIVE_STOPPED);
	Claim(someNear);
	AudioManager::SettleLoops();
	EXPECT_EQ(StateOf(&someLoop), BASS_ACTIVE_PLAYING);
	AudioManager::SettleLoops();
	EXPECT_EQ(StateOf(&someLoop), BASS_ACTIVE_STOPPED);
}

// Pickups share the bank's one chime: taking one leaves the other's chime playing.
TEST_F(SoundBank, TakingOnePickupLeavesTheNextOnesChimePlaying)
{
	WriteSound("SFX/chime_loop.wav");
	Norv::Audio someChime;
	someChime.Init("SFX/chime_loop.wav", true);
	MakeListener({ 0.0f, 0.0f });
	myContext.deltaTime = 1.0f / 60.0f;
	DashPickup someNear;
	ClimbPickup someFar;
	someNear.myPosition = { 300.0f, 0.0f };
	someFar.myPosition = { -1500.0f, 0.0f };
	someNear.myLoopSound = &someChime;
	someFar.myLoopSound = &someChime;
	const auto Frame = [&] {
		someNear.Update(myContext);
		someFar.Update(myContext);
		AudioManager::SettleLoops();
	};

	Frame();
	ASSERT_EQ(StateOf(&someChime), BASS_ACTIVE_PLAYING);
	EXPECT_FLOAT_EQ(someChime.GetPosition().x, 0.1f);

	// Taken after its update in the frame, as the player takes pickups.
	someNear.Update(myContext);
	someFar.Update(myContext);
	someNear.OnPickedUp();
	someNear.myShouldRemove = true;
	AudioManager::SettleLoops();
	EXPECT_EQ(StateOf(&someChime), BASS_ACTIVE_PLAYING);
	EXPECT_FLOAT_EQ(someChime.GetVolume(), 2.0f * AudioManager::GetMasterVolume() * std::sqrt(0.5f));
	EXPECT_FLOAT_EQ(someChime.GetPosition().x, -0.5f);
	Frame(); // a removed pickup's update, had it one, claims nothing
	EXPECT_FLOAT_EQ(someChime.GetPosition().x, -0.5f);

	someFar.OnPickedUp();
	someFar.myShouldRemove = true;
	Frame();
	EXPECT_EQ(StateOf(&someChime), BASS_ACTIVE_STOPPED);
}
