// Writes the sound bank's effects, ambience loops and interface sounds under
// <data>/SFX/, each synthesised from a small recipe. Usage: NorvMakeSounds <data folder>
#include "FileOutput.h"
#include "Mix.h"
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <vector>

using namespace NorvMedia;

namespace
{
	constexpr double LOOP_OVERLAP_SECONDS = 0.5; // rendered past a loop's end for the seam

	const std::string FOOTSTEP_FOLDER = "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_";

	struct Recipe
	{
		std::string myPath;
		bool myIsLoop;
		std::function<Buffer()> myMake;
	};

	SoundKind KindOf(const std::string& aPath)
	{
		if (aPath.starts_with("SFX/ambience/"))
			return SoundKind::Ambience;
		return aPath.find("_footstep_") != std::string::npos ? SoundKind::Footstep : SoundKind::Effect;
	}

	// Soil: a dull low thump with a little grit.
	Buffer DirtStep(int aVariant)
	{
		Buffer someSound;
		const double someLength = 0.13 + 0.01 * (aVariant % 3);
		AddNoiseBurst(someSound, 0.0, someLength, 60.0, 700.0 + 60.0 * aVariant, 1.0f, 100 + aVariant);
		AddSweep(someSound, 0.0, 0.08, 110.0 + 6.0 * aVariant, 55.0, 0, 0.7f);
		AddNoiseBurst(someSound, 0.02, 0.05, 1500.0, 4000.0, 0.15f, 150 + aVariant);
		return someSound;
	}

	// Grass: a soft swish made of many small crackles, brighter and longer than soil.
	Buffer GrassStep(int aVariant)
	{
		Buffer someSound;
		AddNoiseBurst(someSound, 0.0, 0.2 + 0.015 * (aVariant % 4), 2200.0, 7500.0, 0.5f, 200 + aVariant, 0.03);
		Random someRandom(250 + aVariant);
		for (int i = 0; i < 14; ++i)
			AddNoiseBurst(someSound, someRandom.Unit() * 0.16, 0.012, 3000.0, 9000.0, 0.5f + someRandom.Unit() * 0.5f, 260 + aVariant * 20 + i);
		AddSweep(someSound, 0.0, 0.06, 90.0, 60.0, 0, 0.25f);
		return someSound;
	}

	// Stone: a hard short click with a hollow ring.
	Buffer StoneStep(int aVariant)
	{
		Buffer someSound;
		AddNoiseBurst(someSound, 0.0, 0.03, 1500.0, 0.0, 0.9f, 300 + aVariant, 0.0005);
		const double someRing = 900.0 + 70.0 * aVariant;
		AddSweep(someSound, 0.0, 0.09, someRing, someRing * 0.97, 0, 0.35f, 0.0005);
		AddSweep(someSound, 0.0, 0.07, someRing * 2.3, someRing * 2.25, 0, 0.15f, 0.0005);
		AddSweep(someSound, 0.0, 0.05, 140.0, 90.0, 0, 0.4f);
		return someSound;
	}

	Buffer Landing(bool anOnStone)
	{
		Buffer someSound = anOnStone ? StoneStep(3) : GrassStep(3);
		AddSweep(someSound, 0.0, 0.18, 120.0, 45.0, 0, 0.9f);
		AddNoiseBurst(someSound, 0.0, 0.25, 80.0, anOnStone ? 2500.0 : 5000.0, 0.6f, anOnStone ? 31 : 32);
		return someSound;
	}

	Buffer Whoosh(double aLength, double aLowHz, double aHighHz, std::uint32_t aSeed)
	{
		// Noise through a band that sweeps up and back down as the air rushes past
		// (a state-variable filter, so the band can move every sample).
		Buffer someSound(static_cast<std::size_t>(ToSamples(aLength)), 0.0f);
		Random someRandom(aSeed);
		double someLow = 0.0;
		double someBand = 0.0;
		for (std::size_t i = 0; i < someSound.size(); ++i)
		{
			const double someProgress = static_cast<double>(i) / static_cast<double>(someSound.size());
			const double someHz = std::min(4000.0, aLowHz + (aHighHz - aLowHz) * std::sin(PI * someProgress));
			const double someTuning = 2.0 * std::sin(PI * someHz / SOUND_RATE);
			someLow += someTuning * someBand;
			const double someHigh = someRandom.Signed() - someLow - 0.9 * someBand;
			someBand += someTuning * someHigh;
			someSound[i] = static_cast<float>(someBand * std::sin(PI * someProgress));
		}
		return someSound;
	}

	Buffer Sparkle(double aStart, double aBaseNote, int aCount, double aStep, Buffer aSound = {})
	{
		for (int i = 0; i < aCount; ++i)
			AddBell(aSound, aStart + aStep * i, MidiToHz(aBaseNote + (i * 7) % 12 + 12 * (i / 3)), 0.25, 0.35f);
		return aSound;
	}

	// A squeak or cry: a tone bent by a vibrato, optionally falling.
	Buffer Cry(double aLength, double aStartHz, double anEndHz, int aWave, std::uint32_t aSeed)
	{
		Buffer someSound;
		AddSweep(someSound, 0.0, aLength, aStartHz, anEndHz, aWave, 0.6f, 0.01);
		AddSweep(someSound, 0.0, aLength, aStartHz * 1.5, anEndHz * 1.5, 0, 0.25f, 0.01);
		AddNoiseBurst(someSound, 0.0, 0.05, 800.0, 5000.0, 0.4f, aSeed);
		return someSound;
	}

	Buffer Hit(double aPitchHz, std::uint32_t aSeed)
	{
		Buffer someSound;
		AddNoiseBurst(someSound, 0.0, 0.12, 200.0, 6000.0, 1.0f, aSeed, 0.0005);
		AddSweep(someSound, 0.0, 0.15, aPitchHz, aPitchHz * 0.5, 2, 0.4f);
		return someSound;
	}

	Buffer Thud(double aPitchHz, double aLength, std::uint32_t aSeed)
	{
		Buffer someSound;
		AddSweep(someSound, 0.0, aLength, aPitchHz, aPitchHz * 0.45, 0, 1.0f);
		AddNoiseBurst(someSound, 0.0, aLength * 0.7, 40.0, 900.0, 0.7f, aSeed);
		return someSound;
	}

	Buffer Death(double aStartHz, double aLength, std::uint32_t aSeed)
	{
		Buffer someSound = Cry(aLength, aStartHz, aStartHz * 0.35, 1, aSeed);
		Buffer someFall = Thud(90.0, 0.3, aSeed + 1);
		const std::size_t someAt = static_cast<std::size_t>(ToSamples(aLength * 0.8));
		MixInto(someSound, someFall, someAt);
		return someSound;
	}

	// Loops are rendered a little longer than they last; the caller folds the rest in.
	Buffer Crackle(double aLength, float aDensity, std::uint32_t aSeed)
	{
		// A low roar of burning wood with sharp pops scattered over it.
		Buffer someSound(static_cast<std::size_t>(ToSamples(aLength)), 0.0f);
		Biquad someRumble = Biquad::LowPass(500.0);
		Random someRandom(aSeed);
		for (float& someSample : someSound)
			someSample = someRumble.Process(someRandom.Signed()) * 0.35f;
		const int somePops = static_cast<int>(aLength * aDensity);
		for (int i = 0; i < somePops; ++i)
			AddNoiseBurst(someSound, someRandom.Unit() * (aLength - 0.03), 0.006 + someRandom.Unit() * 0.02, 1000.0, 8000.0, 0.3f + someRandom.Unit(), aSeed + 10 + i, 0.0002);
		someSound.resize(static_cast<std::size_t>(ToSamples(aLength)));
		return someSound;
	}

	Buffer Wind(double aLength, double aCenterHz, std::uint32_t aSeed)
	{
		Buffer someSound(static_cast<std::size_t>(ToSamples(aLength)), 0.0f);
		Random someRandom(aSeed);
		Biquad someBand = Biquad::BandPass(aCenterHz, 0.7);
		for (std::size_t i = 0; i < someSound.size(); ++i)
		{
			const double someTime = static_cast<double>(i) / SOUND_RATE;
			const double someGust = 0.6 + 0.4 * std::sin(2.0 * PI * someTime / 5.3) * std::sin(2.0 * PI * someTime / 2.9 + 1.0);
			someSound[i] = someBand.Process(someRandom.Signed()) * static_cast<float>(someGust);
		}
		return someSound;
	}

	Buffer ForestAmbience(double aLength)
	{
		Buffer someSound = Wind(aLength, 500.0, 41);
		Random someRandom(42);
		for (double someTime = 0.4; someTime < aLength - 1.0; someTime += 1.1 + someRandom.Unit() * 1.6)
		{
			// A bird: two or three quick chirps falling in pitch.
			const double someHz = 2600.0 + someRandom.Unit() * 1400.0;
			for (int i = 0, n = 2 + someRandom.Below(2); i < n; ++i)
				AddSweep(someSound, someTime + i * 0.11, 0.07, someHz * 1.25, someHz, 0, 0.12f);
		}
		return someSound;
	}

	Buffer CaveAmbience(double aLength)
	{
		Buffer someSound = Wind(aLength, 120.0, 51);
		Random someRandom(52);
		for (double someTime = 0.3; someTime < aLength - 1.0; someTime += 0.7 + someRandom.Unit() * 1.3)
		{
			// A water drop: a short rising plink with a faint echo.
			const double someHz = 900.0 + someRandom.Unit() * 700.0;
			AddSweep(someSound, someTime, 0.06, someHz, someHz * 1.8, 0, 0.25f, 0.001);
			AddSweep(someSound, someTime + 0.23, 0.06, someHz, someHz * 1.8, 0, 0.07f, 0.001);
		}
		return someSound;
	}

	Buffer SadForestAmbience(double aLength)
	{
		Buffer someSound = Wind(aLength, 300.0, 61);
		for (int i = 0; i < 3; ++i)
			AddPad(someSound, i * aLength / 3.0, MidiToHz(45 + i * 3), aLength / 3.0, 0.08f, 500.0);
		return someSound;
	}

	Buffer Buzz(double aLoopLength, double aHz)
	{
		// Wing beats: a saw with a whole number of cycles, wobbles and beats per loop.
		Buffer someSound(static_cast<std::size_t>(ToSamples(aLoopLength + LOOP_OVERLAP_SECONDS)), 0.0f);
		Biquad someBody = Biquad::LowPass(2500.0, 2.0);
		double somePhase = 0.0;
		for (std::size_t i = 0; i < someSound.size(); ++i)
		{
			const double someTime = static_cast<double>(i) / SOUND_RATE;
			somePhase += aHz * (1.0 + 0.03 * std::sin(2.0 * PI * someTime * 6.0 / aLoopLength)) / SOUND_RATE;
			const double someSaw = 2.0 * (somePhase - std::floor(somePhase)) - 1.0;
			someSound[i] = someBody.Process(static_cast<float>(someSaw)) * static_cast<float>(0.8 + 0.2 * std::sin(2.0 * PI * someTime * 16.0 / aLoopLength));
		}
		CrossFadeIntoLoop(someSound, aLoopLength);
		return someSound;
	}

	Buffer Scrape(double aLength, double aRate, double aLowHz, double aHighHz, std::uint32_t aSeed)
	{
		Buffer someSound(static_cast<std::size_t>(ToSamples(aLength)), 0.0f);
		Random someRandom(aSeed);
		Biquad someHigh = Biquad::HighPass(aLowHz);
		Biquad someLow = Biquad::LowPass(aHighHz);
		for (std::size_t i = 0; i < someSound.size(); ++i)
		{
			const double someTime = static_cast<double>(i) / SOUND_RATE;
			const double somePulse = 0.55 + 0.45 * std::sin(2.0 * PI * aRate * someTime);
			someSound[i] = someLow.Process(someHigh.Process(someRandom.Signed())) * static_cast<float>(somePulse);
		}
		return someSound;
	}

	Buffer Chimes(double aLength)
	{
		Buffer someSound;
		constexpr int NOTES[] = { 76, 79, 83, 88, 86, 83 };
		for (int i = 0; i < 6; ++i)
			AddBell(someSound, i * aLength / 6.0, MidiToHz(NOTES[i]), 0.5, 0.3f);
		return someSound;
	}

	Buffer Roll(double aLength, std::uint32_t aSeed)
	{
		Buffer someSound = Scrape(aLength + LOOP_OVERLAP_SECONDS, 12.0, 60.0, 1400.0, aSeed);
		for (double someTime = 0.0; someTime < aLength + LOOP_OVERLAP_SECONDS - 0.05; someTime += 0.125)
			AddNoiseBurst(someSound, someTime, 0.03, 2500.0, 7000.0, 0.3f, aSeed + static_cast<std::uint32_t>(someTime * 100.0));
		return someSound;
	}

	Buffer Creak(double aLength, double aHz, std::uint32_t aSeed)
	{
		// Wood: a rough saw whose pitch wanders, then a knock when it stops.
		Buffer someSound;
		for (int i = 0; i < 5; ++i)
			AddSweep(someSound, i * aLength / 6.0, aLength / 5.0, aHz * (1.0 + 0.1 * i), aHz * (1.3 - 0.05 * i), 3, 0.25f, 0.02);
		Biquad someFilter = Biquad::BandPass(aHz * 4.0, 1.0);
		for (float& someSample : someSound)
			someSample = someFilter.Process(someSample);
		MixInto(someSound, Thud(150.0, 0.2, aSeed), someSound.size(), 0.6f);
		return someSound;
	}

	Buffer Grind(double aLength, std::uint32_t aSeed)
	{
		Buffer someSound = Scrape(aLength, 7.0, 40.0, 600.0, aSeed);
		for (std::size_t i = 0; i < someSound.size(); ++i)
			someSound[i] *= Swell(static_cast<double>(i) / SOUND_RATE, aLength, 0.3, 0.4);
		AddSweep(someSound, 0.0, aLength, 55.0, 50.0, 3, 0.3f, 0.3);
		Buffer someStop = Thud(80.0, 0.4, aSeed + 1);
		const std::size_t someAt = someSound.size() - someSound.size() / 8;
		MixInto(someSound, someStop, someAt);
		return someSound;
	}

	Buffer Shatter(std::uint32_t aSeed)
	{
		Buffer someSound;
		AddNoiseBurst(someSound, 0.0, 0.4, 2500.0, 0.0, 0.7f, aSeed, 0.0005);
		Random someRandom(aSeed);
		for (int i = 0; i < 9; ++i)
			AddBell(someSound, someRandom.Unit() * 0.25, 1800.0 + someRandom.Unit() * 2600.0, 0.12, 0.2f);
		return someSound;
	}

	Buffer TwoTones(int aFirstNote, int aSecondNote)
	{
		Buffer someSound;
		AddBell(someSound, 0.0, MidiToHz(aFirstNote), 0.12, 0.5f);
		AddBell(someSound, 0.09, MidiToHz(aSecondNote), 0.18, 0.5f);
		return someSound;
	}

	Buffer Click(double aHz, double aLength)
	{
		Buffer someSound;
		AddSweep(someSound, 0.0, aLength, aHz, aHz * 0.8, 1, 0.7f, 0.0005);
		AddNoiseBurst(someSound, 0.0, 0.01, 3000.0, 0.0, 0.3f, 7, 0.0002);
		return someSound;
	}

	Buffer Boing(double aHz, std::uint32_t aSeed)
	{
		Buffer someSound;
		AddSweep(someSound, 0.0, 0.16, aHz, aHz * 1.6, 0, 0.6f);
		AddNoiseBurst(someSound, 0.0, 0.06, 100.0, 1200.0, 0.5f, aSeed);
		return someSound;
	}

	Buffer Loop(Buffer (*aMake)(double), double aLength)
	{
		Buffer someSound = aMake(aLength + LOOP_OVERLAP_SECONDS);
		CrossFadeIntoLoop(someSound, aLength);
		return someSound;
	}

	std::vector<Recipe> Recipes()
	{
		std::vector<Recipe> someRecipes = {
			{ "SFX/ambience/ambience_cave_loop.wav", true, [] { return Loop(CaveAmbience, 12.0); } },
			{ "SFX/ambience/ambience_forrest_loop.wav", true, [] { return Loop(ForestAmbience, 12.0); } },
			{ "SFX/ambience/ambience_sad_forest_loop.wav", true, [] { return Loop(SadForestAmbience, 12.0); } },
			{ "SFX/campfire/campfire_start.wav", false, [] { Buffer s = Whoosh(0.6, 200.0, 1200.0, 70); MixInto(s, Crackle(0.8, 40.0f, 71), 0, 0.6f); return s; } },
			{ "SFX/campfire/campfire_idle_loop.wav", true, [] { Buffer s = Crackle(4.0 + LOOP_OVERLAP_SECONDS, 18.0f, 72); CrossFadeIntoLoop(s, 4.0); return s; } },
			{ "SFX/main_character/main_character_action/main_character_action_land/main_character_action_land_grass_2.wav", false, [] { return Landing(false); } },
			{ "SFX/main_character/main_character_action/main_character_action_land/main_character_action_land_stone_2.wav", false, [] { return Landing(true); } },
			{ "SFX/main_character/main_character_action/main_character_action_jump/main_character_action_jump_5.wav", false, [] { Buffer s = Whoosh(0.22, 600.0, 2500.0, 80); AddSweep(s, 0.0, 0.16, 320.0, 720.0, 1, 0.35f); return s; } },
			{ "SFX/main_character/main_character_action/main_character_action_climb_loop.wav", true, [] { Buffer s = Scrape(1.0 + LOOP_OVERLAP_SECONDS, 4.0, 400.0, 3000.0, 81); CrossFadeIntoLoop(s, 1.0); return s; } },
			{ "SFX/main_character/main_character_action/main_character_action_wall_slide_loop.wav", true, [] { Buffer s = Scrape(1.0 + LOOP_OVERLAP_SECONDS, 1.0, 1200.0, 6000.0, 82); CrossFadeIntoLoop(s, 1.0); return s; } },
			{ "SFX/main_character/main_character_action/main_character_action_dash/main_character_action_dash_1.wav", false, [] { return Whoosh(0.3, 400.0, 3500.0, 83); } },
			{ "SFX/main_character/main_character_action/main_character_action_dash/main_character_action_dash_super_1.wav", false, [] { Buffer s = Whoosh(0.4, 300.0, 5000.0, 84); return Sparkle(0.05, 84, 4, 0.05, s); } },
			{ "SFX/main_character/main_character_damage/main_character_damage_1.wav", false, [] { Buffer s = Hit(500.0, 85); AddSweep(s, 0.02, 0.18, 700.0, 380.0, 1, 0.5f); return s; } },
			{ "SFX/main_character/main_character_death/main_character_death_fall_backwards.wav", false, [] { return Death(660.0, 0.8, 86); } },
			{ "SFX/hedgehog_mob/hedgehog_mob_damage/hedgehog_mob_damage_2.wav", false, [] { Buffer s = Hit(900.0, 90); MixInto(s, Cry(0.15, 1400.0, 1000.0, 1, 91), 0); return s; } },
			{ "SFX/hedgehog_mob/hedgehog_mob_block/hedgehog_mob_block_3.wav", false, [] { Buffer s; AddBell(s, 0.0, 1250.0, 0.08, 0.7f); AddNoiseBurst(s, 0.0, 0.05, 3000.0, 0.0, 0.5f, 92, 0.0003); return s; } },
			{ "SFX/hedgehog_mob/hedgehog_mob_attack/hedgehog_mob_attack_roll_loop.wav", true, [] { Buffer s = Roll(1.0, 93); CrossFadeIntoLoop(s, 1.0); return s; } },
			{ "SFX/hedgehog_mob/hedgehog_mob_death.wav", false, [] { return Death(1200.0, 0.5, 94); } },
			{ "SFX/hedgehog_boss/hedgehog_boss_attack/hedgehog_boss_attack_bounce_1.wav", false, [] { return Thud(70.0, 0.45, 95); } },
			{ "SFX/hedgehog_boss/hedgehog_boss_attack/hedgehog_boss_attack_bounce_2.wav", false, [] { return Thud(62.0, 0.5, 96); } },
			{ "SFX/hedgehog_boss/hedgehog_boss_attack/hedgehog_boss_attack_jump_3.wav", false, [] { Buffer s = Whoosh(0.45, 150.0, 900.0, 97); AddSweep(s, 0.0, 0.3, 80.0, 160.0, 3, 0.3f); return s; } },
			{ "SFX/hedgehog_boss/hedgehog_boss_death.wav", false, [] { return Death(300.0, 1.4, 98); } },
			{ "SFX/mushroom/mushroom_damage/mushroom_damage_3.wav", false, [] { Buffer s = Boing(180.0, 110); AddNoiseBurst(s, 0.0, 0.3, 200.0, 2000.0, 0.4f, 111, 0.02); return s; } },
			{ "SFX/flower/flower_open_1.wav", false, [] { Buffer s = Whoosh(0.35, 800.0, 3000.0, 120); AddSweep(s, 0.0, 0.35, 400.0, 800.0, 0, 0.25f, 0.05); return Sparkle(0.15, 79, 3, 0.06, s); } },
			{ "SFX/flower/flower_close_1.wav", false, [] { Buffer s = Whoosh(0.3, 2500.0, 700.0, 121); AddSweep(s, 0.0, 0.3, 700.0, 350.0, 0, 0.25f, 0.03); return s; } },
			{ "SFX/flower/flower_damage_2.wav", false, [] { Buffer s; AddPluckedString(s, 0.0, 220.0, 0.4, 0.7f, 122, 0.8f); AddNoiseBurst(s, 0.0, 0.1, 1500.0, 6000.0, 0.5f, 123); return s; } },
			{ "SFX/wasp/wasp_idle_loop.wav", true, [] { return Buzz(2.0, 180.0); } },
			{ "SFX/wasp/wasp_attack/wasp_attack_sting_4.wav", false, [] { Buffer s = Whoosh(0.25, 1500.0, 5000.0, 130); AddSweep(s, 0.0, 0.25, 260.0, 520.0, 3, 0.3f); return s; } },
			{ "SFX/wasp/wasp_damage/wasp_damage_5.wav", false, [] { Buffer s = Hit(700.0, 131); AddSweep(s, 0.0, 0.3, 400.0, 150.0, 3, 0.3f); return s; } },
			{ "SFX/main_character/main_character_attack/main_character_attack_regular/main_character_attack_regular_4.wav", false, [] { return Whoosh(0.2, 900.0, 4500.0, 140); } },
			{ "SFX/book/book_idle_chime_loop.wav", true, [] { Buffer s = Chimes(3.0); WrapIntoLoop(s, 3.0); return s; } },
			{ "SFX/main_character/main_character_interaction/main_character_interaction_item_pick_up_3.wav", false, [] { return Sparkle(0.0, 76, 4, 0.07); } },
			{ "SFX/main_character/main_character_interaction/main_character_interaction_pull_lever.wav", false, [] { Buffer s = Click(900.0, 0.04); MixInto(s, Thud(180.0, 0.2, 150), static_cast<std::size_t>(ToSamples(0.136))); return s; } },
			{ "SFX/ui/ui_pause.wav", false, [] { return TwoTones(79, 72); } },
			{ "SFX/ui/ui_unpause.wav", false, [] { return TwoTones(72, 79); } },
			{ "SFX/ui/ui_select.wav", false, [] { Buffer s = Click(1300.0, 0.05); AddBell(s, 0.01, MidiToHz(84), 0.1, 0.3f); return s; } },
			{ "SFX/ui/ui_navigate_down_2.wav", false, [] { return Click(700.0, 0.035); } },
			{ "SFX/wood_door_open.wav", false, [] { return Creak(1.0, 140.0, 160); } },
			{ "SFX/stone_door_open.wav", false, [] { return Grind(1.4, 161); } },
			{ "SFX/breakable_object/breakable_object_crystal_2.wav", false, [] { return Shatter(162); } },
		};
		for (int i = 1; i <= 8; ++i)
		{
			someRecipes.push_back({ FOOTSTEP_FOLDER + "dirt_" + std::to_string(i) + ".wav", false, [i] { return DirtStep(i); } });
			someRecipes.push_back({ FOOTSTEP_FOLDER + "grass_" + std::to_string(i) + ".wav", false, [i] { return GrassStep(i); } });
			someRecipes.push_back({ FOOTSTEP_FOLDER + "stone_" + std::to_string(i) + ".wav", false, [i] { return StoneStep(i); } });
		}
		for (int i = 1; i <= 4; ++i)
		{
			someRecipes.push_back({ "SFX/hedgehog_mob/hedgehog_mob_footstep/hedgehog_mob_footstep_" + std::to_string(i) + ".wav", false, [i] { Buffer s; AddNoiseBurst(s, 0.0, 0.07, 150.0, 1500.0 + 150.0 * i, 0.8f, 170 + i); AddNoiseBurst(s, 0.0, 0.04, 3000.0, 8000.0, 0.3f, 175 + i); return s; } });
			someRecipes.push_back({ "SFX/mushroom/mushroom_action_footstep/mushroom_action_footstep_" + std::to_string(i) + ".wav", false, [i] { return Boing(120.0 + 15.0 * i, 180 + i); } });
		}
		return someRecipes;
	}
}

int main(int anArgumentCount, char** anArguments)
{
	if (anArgumentCount != 2)
	{
		std::fprintf(stderr, "usage: NorvMakeSounds <data folder>\n");
		return 2;
	}
	const std::filesystem::path someFolder = anArguments[1];
	try
	{
		for (const Recipe& someRecipe : Recipes())
		{
			Buffer someSound = someRecipe.myMake();
			if (!someRecipe.myIsLoop)
				FadeEnds(someSound);
			MixToTarget(someSound, KindOf(someRecipe.myPath), someRecipe.myPath);
			WriteFileAtomically(someFolder / someRecipe.myPath, EncodeWav(someSound, SOUND_RATE));
		}
	}
	catch (const std::exception& anError)
	{
		std::fprintf(stderr, "NorvMakeSounds: %s\n", anError.what());
		return 1;
	}
	return 0;
}
