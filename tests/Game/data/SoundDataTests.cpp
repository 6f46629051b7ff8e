#include "Game/data/GameDataFolder.h"
#include "Support/VideoSound.h"

#include "bass/bass.h"
#include "Loudness.h"
#include "Mix.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace
{
	constexpr double LONGEST_ONE_SHOT_SECONDS = 3.0;
	constexpr double SHORTEST_MUSIC_SECONDS = 20.0;
	constexpr std::size_t SEAM_NEIGHBOURHOOD = 110; // samples each side of a loop's seam, 5 ms at 22 kHz

	bool IsMusic(const std::string& aName) { return aName.find("music") != std::string::npos; }

	// The mix's kind of a file of the bank, by where it lives.
	NorvMedia::SoundKind KindOf(const std::string& aName)
	{
		if (aName == "SFX/music/music_boss/music_boss_loop.wav")
			return NorvMedia::SoundKind::MusicLayer;
		if (IsMusic(aName))
			return NorvMedia::SoundKind::Music;
		if (aName.starts_with("SFX/ambience/"))
			return NorvMedia::SoundKind::Ambience;
		return aName.find("_footstep_") != std::string::npos ? NorvMedia::SoundKind::Footstep : NorvMedia::SoundKind::Effect;
	}

	void ExpectMixed(const std::string& aName, NorvMedia::SoundKind aKind, const std::vector<float>& aSamples, int aRate, double aToleranceLu)
	{
		EXPECT_NEAR(NorvMedia::MeasureLoudness(aKind, aSamples, aRate), NorvMedia::FileTargetLufs(aKind, aName), aToleranceLu) << aName;
		EXPECT_LE(NorvMedia::TruePeakDb(aSamples), NorvMedia::TRUE_PEAK_CEILING_DB) << aName;
	}

	NorvTest::Sound ReadSound(const std::string& aName)
	{
		return NorvTest::ReadMonoWav(Norv::Settings::ResolveAssetPath(aName));
	}

	// |x[i+1] - 2 x[i] + x[i-1]| around a loop: how sharply the wave bends.
	float Bend(const std::vector<float>& aSamples, std::size_t i)
	{
		const std::size_t n = aSamples.size();
		return std::abs(aSamples[(i + 1) % n] - 2.0f * aSamples[i] + aSamples[(i + n - 1) % n]);
	}

	// Mean |difference| between neighbours over mean |sample|: high for hiss and crackle, low for thumps.
	double Brightness(const std::vector<float>& aSamples)
	{
		double someChange = 0.0;
		double someLevel = 0.0;
		for (std::size_t i = 1; i < aSamples.size(); ++i)
		{
			someChange += std::abs(aSamples[i] - aSamples[i - 1]);
			someLevel += std::abs(aSamples[i]);
		}
		return someChange / std::max(1e-9, someLevel);
	}

	class SoundData : public NorvTest::GameDataFolder
	{
	protected:
		void SetUp() override
		{
			NorvTest::GameDataFolder::SetUp();
			if (!BASS_Init(0, 44100, 0, nullptr, nullptr))
			{
				ASSERT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
			}
		}
	};
}

TEST_F(SoundData, EverySoundOpensThroughBassWithALengthThatFitsItsUse)
{
	for (const auto& [someName, someIsLoop] : NorvTest::SoundBankEntries())
	{
		const std::string somePath = Norv::Settings::ResolveAssetPath(someName);
		const HSAMPLE someSample = BASS_SampleLoad(FALSE, somePath.c_str(), 0, 0, 1, someIsLoop ? BASS_SAMPLE_LOOP : 0);
		ASSERT_NE(someSample, 0u) << someName;
		BASS_SAMPLE someInfo{};
		ASSERT_TRUE(BASS_SampleGetInfo(someSample, &someInfo));
		EXPECT_GT(someInfo.length, 0u) << someName;
		EXPECT_TRUE(BASS_SampleFree(someSample));

		const NorvTest::Sound someSound = ReadSound(someName);
		ASSERT_GT(someSound.myRate, 0) << someName << " is not 16-bit mono PCM";
		if (IsMusic(someName))
			EXPECT_GE(someSound.Seconds(), SHORTEST_MUSIC_SECONDS) << someName;
		else if (!someIsLoop)
		{
			EXPECT_LE(someSound.Seconds(), LONGEST_ONE_SHOT_SECONDS) << someName;
			// A one-shot starts and ends in silence: no click when it starts or stops.
			EXPECT_LT(std::abs(someSound.mySamples.front()), 0.01f) << someName;
			EXPECT_LT(std::abs(someSound.mySamples.back()), 0.01f) << someName;
		}
	}
}

// One mix for the whole game: every sound of the bank and the cutscenes' sound, as
// the game plays it, at its kind's loudness (less what the game adds when it plays
// it) and with its true peak under the ceiling.
TEST_F(SoundData, EverySoundAndCutsceneSitsAtItsKindsLoudnessUnderTheCeiling)
{
	for (const auto& [someName, someIsLoop] : NorvTest::SoundBankEntries())
	{
		const NorvTest::Sound someSound = ReadSound(someName);
		ASSERT_GT(someSound.myRate, 0) << someName << " is not 16-bit mono PCM";
		ExpectMixed(someName, KindOf(someName), someSound.mySamples, someSound.myRate, 0.5);
	}
	for (const char* someName : { "../Source/Game/data/video/first_cutscene.mp4", "../Source/Game/data/video/last_cutscene_long_version.mp4" })
	{
		const NorvTest::StereoSound someHeard = NorvTest::ReadVideoSound(NorvTest::BIN_FOLDER / someName);
		ASSERT_GT(someHeard.myRate, 0) << someName << " has no sound that decodes";
		// Lossy sound coding moves the level a little.
		ExpectMixed(std::string(someName) + ", left", NorvMedia::SoundKind::Cutscene, someHeard.myLeft, someHeard.myRate, 1.0);
		ExpectMixed(std::string(someName) + ", right", NorvMedia::SoundKind::Cutscene, someHeard.myRight, someHeard.myRate, 1.0);
	}
}

TEST_F(SoundData, LoopsJoinWithoutAClick)
{
	int someLoops = 0;
	for (const auto& [someName, someIsLoop] : NorvTest::SoundBankEntries())
	{
		if (!someIsLoop)
			continue;
		++someLoops;
		const NorvTest::Sound someSound = ReadSound(someName);
		ASSERT_GT(someSound.mySamples.size(), 1000u) << someName;
		// The step and the bend across the seam must look like those just before and
		// after it: a cut shows as a jump far larger than its neighbours.
		const std::vector<float>& x = someSound.mySamples;
		const std::size_t n = x.size();
		const auto step = [&](std::size_t i) { return std::abs(x[(i + 1) % n] - x[i % n]); };
		float someNearbyStep = 0.0f;
		float someNearbyBend = 0.0f;
		for (std::size_t i = 2; i < SEAM_NEIGHBOURHOOD; ++i)
		{
			someNearbyStep = std::max({ someNearbyStep, step(i), step(n - i) });
			someNearbyBend = std::max({ someNearbyBend, Bend(x, i), Bend(x, n - i) });
		}
		EXPECT_LE(step(n - 1), someNearbyStep * 1.5f) << someName << ": the loop's ends do not meet";
		EXPECT_LE(std::max(Bend(x, 0), Bend(x, n - 1)), someNearbyBend * 1.5f) << someName << ": the loop's ends do not join smoothly";
	}
	EXPECT_EQ(someLoops, 15);
}

TEST_F(SoundData, FootstepsSoundOfTheirGroundAndNoTwoAreAlike)
{
	const std::string someFolder = "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_";
	std::map<std::string, double> someBrightness;
	std::map<std::string, double> someLength;
	std::set<std::vector<float>> someDistinct;
	for (const char* someGround : { "dirt", "grass", "stone" })
		for (int i = 1; i <= 8; ++i)
		{
			const NorvTest::Sound someStep = ReadSound(someFolder + someGround + "_" + std::to_string(i) + ".wav");
			ASSERT_FALSE(someStep.mySamples.empty()) << someGround << i;
			someBrightness[someGround] += Brightness(someStep.mySamples) / 8.0;
			someLength[someGround] += someStep.Seconds() / 8.0;
			someDistinct.insert(someStep.mySamples);
		}
	EXPECT_EQ(someDistinct.size(), 24u);
	// Soil thuds, grass rustles; stone clicks short and hard.
	EXPECT_GT(someBrightness["grass"], someBrightness["dirt"] * 1.5);
	EXPECT_GT(someBrightness["stone"], someBrightness["dirt"] * 1.5);
	EXPECT_LT(someLength["stone"], someLength["dirt"]);
	EXPECT_LT(someLength["dirt"], someLength["grass"]);
}

TEST_F(SoundData, MusicMovesThroughNotesRatherThanHoldingOneTone)
{
	for (const auto& [someName, someIsLoop] : NorvTest::SoundBankEntries())
	{
		if (!IsMusic(someName))
			continue;
		const NorvTest::Sound someTune = ReadSound(someName);
		// Zero crossings per half second follow the notes being played.
		const std::size_t someWindow = static_cast<std::size_t>(someTune.myRate / 2);
		std::vector<double> someRates;
		for (std::size_t start = 0; start + someWindow <= someTune.mySamples.size(); start += someWindow)
		{
			int someCrossings = 0;
			for (std::size_t i = start + 1; i < start + someWindow; ++i)
				someCrossings += (someTune.mySamples[i - 1] < 0.0f) != (someTune.mySamples[i] < 0.0f);
			someRates.push_back(someCrossings);
		}
		const double someMean = std::accumulate(someRates.begin(), someRates.end(), 0.0) / static_cast<double>(someRates.size());
		double someSpread = 0.0;
		for (double someRate : someRates)
			someSpread += (someRate - someMean) * (someRate - someMean);
		someSpread = std::sqrt(someSpread / static_cast<double>(someRates.size()));
		EXPECT_GT(someSpread, someMean * 0.05) << someName << " sounds like one held tone";
	}
}
