#include "Loudness.h"
#include "Mix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace
{
	constexpr double PI = 3.14159265358979323846;
	constexpr double CALIBRATION_HZ = 997.0; // where K-weighting adds nothing

	std::vector<float> Tone(double aHz, double anAmplitude, double aSeconds, int aRate, double aPhase = 0.0)
	{
		std::vector<float> someTone(static_cast<std::size_t>(aSeconds * aRate));
		for (std::size_t i = 0; i < someTone.size(); ++i)
			someTone[i] = static_cast<float>(anAmplitude * std::sin(2.0 * PI * aHz * static_cast<double>(i) / aRate + aPhase));
		return someTone;
	}

	// Raised-cosine fades over aSeconds at both ends: a tone that starts abruptly rings
	// past its own crest when band-limited.
	std::vector<float> Faded(std::vector<float> aSound, double aSeconds, int aRate)
	{
		const std::size_t someCount = static_cast<std::size_t>(aSeconds * aRate);
		for (std::size_t i = 0; i < someCount; ++i)
		{
			const float someGain = static_cast<float>(0.5 - 0.5 * std::cos(PI * static_cast<double>(i) / static_cast<double>(someCount)));
			aSound[i] *= someGain;
			aSound[aSound.size() - 1 - i] *= someGain;
		}
		return aSound;
	}

	// A sine of amplitude A in one channel reads 20 log10(A) - 3.01 LUFS.
	double ToneLufs(double anAmplitude) { return 20.0 * std::log10(anAmplitude) - 3.01; }

	std::vector<float> Joined(std::vector<float> aFirst, const std::vector<float>& aSecond)
	{
		aFirst.insert(aFirst.end(), aSecond.begin(), aSecond.end());
		return aFirst;
	}
}

TEST(LoudnessMeter, ReadsTheCalibrationToneAlikeAtEveryRate)
{
	for (int someRate : { 22050, 44100, 48000 })
	{
		const std::vector<float> someTone = Tone(CALIBRATION_HZ, 0.1, 5.0, someRate);
		EXPECT_NEAR(NorvMedia::IntegratedLoudness(someTone, someRate), ToneLufs(0.1), 0.05) << someRate;
		EXPECT_NEAR(NorvMedia::MaxMomentaryLoudness(someTone, someRate), ToneLufs(0.1), 0.05) << someRate;
	}
}

TEST(LoudnessMeter, WeighsTrebleUpAndRumbleDownAsTheEarDoes)
{
	for (int someRate : { 22050, 48000 })
	{
		const double someMiddle = NorvMedia::IntegratedLoudness(Tone(CALIBRATION_HZ, 0.1, 3.0, someRate), someRate);
		// The shelf lifts the treble by up to 4 dB; the high pass cuts the lowest bass.
		EXPECT_NEAR(NorvMedia::IntegratedLoudness(Tone(6000.0, 0.1, 3.0, someRate), someRate) - someMiddle, 3.35, 0.15) << someRate;
		EXPECT_NEAR(NorvMedia::IntegratedLoudness(Tone(20.0, 0.1, 3.0, someRate), someRate) - someMiddle, -13.95, 0.3) << someRate;
	}
}

TEST(LoudnessMeter, GatesSilenceAndQuietPassagesButNotShortSounds)
{
	constexpr int RATE = 22050;
	const std::vector<float> someTone = Tone(CALIBRATION_HZ, 0.1, 4.0, RATE);
	// Silence and a passage 20 dB down fall below the gates and leave the reading as it
	// was, but for the few blocks that straddle the change.
	EXPECT_NEAR(NorvMedia::IntegratedLoudness(Joined(someTone, std::vector<float>(4 * RATE, 0.0f)), RATE), ToneLufs(0.1), 0.2);
	EXPECT_NEAR(NorvMedia::IntegratedLoudness(Joined(someTone, Tone(CALIBRATION_HZ, 0.01, 4.0, RATE)), RATE), ToneLufs(0.1), 0.2);
	// A passage only 6 dB down passes the relative gate and pulls the reading down.
	EXPECT_LT(NorvMedia::IntegratedLoudness(Joined(someTone, Tone(CALIBRATION_HZ, 0.05, 4.0, RATE)), RATE), ToneLufs(0.1) - 1.5);

	// A 100 ms blip: too short for a gating block, a quarter of a momentary window.
	const std::vector<float> someBlip = Tone(CALIBRATION_HZ, 0.1, 0.1, RATE);
	EXPECT_EQ(NorvMedia::IntegratedLoudness(someBlip, RATE), NorvMedia::SILENCE_LUFS);
	EXPECT_NEAR(NorvMedia::MaxMomentaryLoudness(someBlip, RATE), ToneLufs(0.1) - 10.0 * std::log10(4.0), 0.3);
	// The loudest moment is found wherever it is.
	EXPECT_NEAR(NorvMedia::MaxMomentaryLoudness(Joined(Tone(CALIBRATION_HZ, 0.01, 3.0, RATE), Joined(Tone(CALIBRATION_HZ, 0.1, 0.5, RATE), std::vector<float>(RATE, 0.0f))), RATE), ToneLufs(0.1), 0.1);

	for (const std::vector<float>& someSilence : { std::vector<float>(), std::vector<float>(RATE, 0.0f) })
	{
		EXPECT_EQ(NorvMedia::IntegratedLoudness(someSilence, RATE), NorvMedia::SILENCE_LUFS);
		EXPECT_EQ(NorvMedia::MaxMomentaryLoudness(someSilence, RATE), NorvMedia::SILENCE_LUFS);
	}
}

TEST(LoudnessMeter, FindsTheTruePeakBetweenTheSamples)
{
	// A quarter of the rate at 45 degrees: every sample sits at 0.707 of the crest.
	const std::vector<float> someTone = Faded(Tone(22050.0 / 4.0, 0.5, 0.5, 22050, PI / 4.0), 0.05, 22050);
	float someSamplePeak = 0.0f;
	for (float someValue : someTone)
		someSamplePeak = std::max(someSamplePeak, std::abs(someValue));
	ASSERT_NEAR(20.0 * std::log10(someSamplePeak), 20.0 * std::log10(0.5) - 3.01, 0.05);
	EXPECT_NEAR(NorvMedia::TruePeakDb(someTone), 20.0 * std::log10(0.5), 0.05);
	EXPECT_NEAR(NorvMedia::TruePeakDb(Faded(Tone(22050.0 / 7.3, 0.5, 0.5, 22050, 0.3), 0.05, 22050)), 20.0 * std::log10(0.5), 0.05);

	// A lone full-scale sample's own value is a peak; its ringing is smaller.
	std::vector<float> someClick(100, 0.0f);
	someClick[50] = -1.0f;
	EXPECT_NEAR(NorvMedia::TruePeakDb(someClick), 0.0, 0.01);
	EXPECT_EQ(NorvMedia::TruePeakDb(std::vector<float>(10, 0.0f)), -INFINITY);
	EXPECT_EQ(NorvMedia::TruePeakDb({}), -INFINITY);
}

TEST(SoundMix, ScalesEachKindToItsLoudnessAndRefusesWhatWouldPassTheCeiling)
{
	for (NorvMedia::SoundKind someKind : { NorvMedia::SoundKind::Music, NorvMedia::SoundKind::MusicLayer, NorvMedia::SoundKind::Ambience, NorvMedia::SoundKind::Effect, NorvMedia::SoundKind::Footstep })
	{
		NorvMedia::Buffer someSound = Tone(CALIBRATION_HZ, 0.3, 2.0, NorvMedia::SOUND_RATE);
		NorvMedia::MixToTarget(someSound, someKind, "tone");
		EXPECT_NEAR(NorvMedia::MeasureLoudness(someKind, someSound, NorvMedia::SOUND_RATE), NorvMedia::TargetOf(someKind).myLufs, 0.01);
	}
	// Effects sit above footsteps and under the music, music above ambience, and a
	// layer played over the music well under it.
	EXPECT_GT(NorvMedia::TargetOf(NorvMedia::SoundKind::Effect).myLufs, NorvMedia::TargetOf(NorvMedia::SoundKind::Footstep).myLufs);
	EXPECT_GT(NorvMedia::TargetOf(NorvMedia::SoundKind::Music).myLufs, NorvMedia::TargetOf(NorvMedia::SoundKind::Effect).myLufs);
	EXPECT_GT(NorvMedia::TargetOf(NorvMedia::SoundKind::Music).myLufs, NorvMedia::TargetOf(NorvMedia::SoundKind::Ambience).myLufs);
	EXPECT_LE(NorvMedia::TargetOf(NorvMedia::SoundKind::MusicLayer).myLufs, NorvMedia::TargetOf(NorvMedia::SoundKind::Music).myLufs - 10.0);

	// What the game plays at twice the master volume is mixed 6 dB under its kind, and only that.
	for (const std::string somePath : { "SFX/wasp/wasp_idle_loop.wav", "SFX/mushroom/mushroom_action_footstep/mushroom_action_footstep_3.wav" })
	{
		NorvMedia::Buffer someSound = Tone(CALIBRATION_HZ, 0.3, 2.0, NorvMedia::SOUND_RATE);
		NorvMedia::MixToTarget(someSound, NorvMedia::SoundKind::Effect, somePath);
		EXPECT_NEAR(NorvMedia::MeasureLoudness(NorvMedia::SoundKind::Effect, someSound, NorvMedia::SOUND_RATE), NorvMedia::TargetOf(NorvMedia::SoundKind::Effect).myLufs - 6.02, 0.01) << somePath;
	}
	for (const std::string somePath : { "SFX/wasp/wasp_idle_loop.wav.bak", "SFX/mushroom/mushroom_damage/mushroom_damage_3.wav", "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_1.wav" })
		EXPECT_EQ(NorvMedia::PlayedGainDb(somePath), 0.0) << somePath;
	EXPECT_EQ(NorvMedia::TargetOf(NorvMedia::SoundKind::Cutscene).myLufs, NorvMedia::TargetOf(NorvMedia::SoundKind::Music).myLufs);

	// One click carries almost no energy: raised to an effect's loudness it would clip.
	NorvMedia::Buffer someClick(NorvMedia::SOUND_RATE, 0.0f);
	someClick[100] = 0.5f;
	try
	{
		NorvMedia::MixToTarget(someClick, NorvMedia::SoundKind::Effect, "SFX/click.wav");
		ADD_FAILURE() << "a click mixed to an effect's loudness passes the ceiling";
	}
	catch (const std::runtime_error& anError)
	{
		EXPECT_NE(std::string(anError.what()).find("SFX/click.wav peaks at"), std::string::npos) << anError.what();
	}
	NorvMedia::Buffer someSilence(NorvMedia::SOUND_RATE, 0.0f);
	EXPECT_THROW(NorvMedia::MixToTarget(someSilence, NorvMedia::SoundKind::Music, "silence"), std::runtime_error);
}
