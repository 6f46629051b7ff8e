#include "media/AudioManager.h"

#include "world/FrameContext.h"
#include "world/entities/Player.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

namespace
{
	constexpr float FOOTSTEP_RADIUS = 2000.0f;     // world units
	constexpr float FOOTSTEP_BASE_VOLUME = 1.0f;
	constexpr float SPATIAL_VOLUME_FACTOR = 2.0f;  // at the listener: 2 x master x base volume

	enum class Group { MusicAndAmbience, Interface, Effects };

	struct SoundEntry
	{
		const char* myPath;
		bool myIsLooping;
		std::optional<float> myLoadVolumeFactor; // times the master volume when loaded; none keeps 1.0

		// Times the master volume whenever the volume changes later.
		constexpr float GetVolumeFactor() const { return myLoadVolumeFactor.value_or(1.0f); }
		Group myGroup;
	};

	enum class Sound
	{
		MusicMenuLoop,
		MusicForrestLoop,
		MusicLullaby,
		MusicCaveLoop,
		MusicSadForrestLoop,
		MusicBossLoop,
		AmbienceCaveLoop,
		AmbienceForrestLoop,
		AmbienceSadForestLoop,
		CampfireStart,
		CampfireIdleLoop,
		PlayerFootstepDirt1,
		PlayerFootstepDirt2,
		PlayerFootstepDirt3,
		PlayerFootstepDirt4,
		PlayerFootstepDirt5,
		PlayerFootstepDirt6,
		PlayerFootstepDirt7,
		PlayerFootstepDirt8,
		PlayerFootstepGrass1,
		PlayerFootstepGrass2,
		PlayerFootstepGrass3,
		PlayerFootstepGrass4,
		PlayerFootstepGrass5,
		PlayerFootstepGrass6,
		PlayerFootstepGrass7,
		PlayerFootstepGrass8,
		PlayerFootstepStone1,
		PlayerFootstepStone2,
		PlayerFootstepStone3,
		PlayerFootstepStone4,
		PlayerFootstepStone5,
		PlayerFootstepStone6,
		PlayerFootstepStone7,
		PlayerFootstepStone8,
		PlayerLandGrass2,
		PlayerLandStone2,
		PlayerJump5,
		PlayerClimbLoop,
		PlayerWallSlideLoop,
		PlayerDash1,
		PlayerDashSuper1,
		PlayerDamage1,
		PlayerDeathFallBackwards,
		HedgehogMobDamage2,
		HedgehogMobBlock3,
		HedgehogMobAttackRollLoop,
		HedgehogBossAttackBounce1,
		HedgehogMobFootstep1,
		HedgehogMobFootstep2,
		HedgehogMobFootstep3,
		HedgehogMobFootstep4,
		HedgehogMobDeath,
		HedgehogBossAttackBounce2,
		HedgehogBossAttackJump3,
		HedgehogBossDeath,
		MushroomActionFootstep1,
		MushroomActionFootstep2,
		MushroomActionFootstep3,
		MushroomActionFootstep4,
		MushroomDamage3,
		FlowerOpen1,
		FlowerClose1,
		FlowerDamage2,
		WaspIdleLoop,
		WaspAttackSting4,
		WaspDamage5,
		PlayerAttackRegular4,
		BookIdleChimeLoop,
		PlayerItemPickUp3,
		PlayerPullLever,
		UiPause,
		UiUnpause,
		UiSelect,
		UiNavigateDown2,
		WoodDoorOpen,
		StoneDoorOpen,
		BreakableObjectCrystal2,
		Count
	};

	constexpr std::array<SoundEntry, static_cast<std::size_t>(Sound::Count)> SOUNDS = { {
		{ "SFX/music_menu_loop.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/music/music_forrest/music_forrest_loop.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/music/music_lullaby/music_lullaby.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/music/music_cave/music_cave_loop.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/music/music_sad_forrest/music_sad_forrest_loop.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/music/music_boss/music_boss_loop.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/ambience/ambience_cave_loop.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/ambience/ambience_forrest_loop.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/ambience/ambience_sad_forest_loop.wav", true, 1.0f, Group::MusicAndAmbience },
		{ "SFX/campfire/campfire_start.wav", false, 1.0f, Group::Effects },
		{ "SFX/campfire/campfire_idle_loop.wav", true, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_1.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_2.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_3.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_4.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_5.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_6.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_7.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_dirt_8.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_1.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_2.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_3.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_4.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_5.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_6.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_7.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_grass_8.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_stone_1.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_stone_2.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_stone_3.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_stone_4.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_stone_5.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_stone_6.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_stone_7.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_footstep/main_character_action_footstep_stone_8.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_land/main_character_action_land_grass_2.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_land/main_character_action_land_stone_2.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_jump/main_character_action_jump_5.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_climb_loop.wav", true, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_wall_slide_loop.wav", true, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_dash/main_character_action_dash_1.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_action/main_character_action_dash/main_character_action_dash_super_1.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_damage/main_character_damage_1.wav", false, std::nullopt, Group::Effects },
		{ "SFX/main_character/main_character_death/main_character_death_fall_backwards.wav", false, std::nullopt, Group::Effects },
		{ "SFX/hedgehog_mob/hedgehog_mob_damage/hedgehog_mob_damage_2.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_mob/hedgehog_mob_block/hedgehog_mob_block_3.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_mob/hedgehog_mob_attack/hedgehog_mob_attack_roll_loop.wav", true, 1.0f, Group::Effects },
		{ "SFX/hedgehog_boss/hedgehog_boss_attack/hedgehog_boss_attack_bounce_1.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_mob/hedgehog_mob_footstep/hedgehog_mob_footstep_1.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_mob/hedgehog_mob_footstep/hedgehog_mob_footstep_2.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_mob/hedgehog_mob_footstep/hedgehog_mob_footstep_3.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_mob/hedgehog_mob_footstep/hedgehog_mob_footstep_4.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_mob/hedgehog_mob_death.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_boss/hedgehog_boss_attack/hedgehog_boss_attack_bounce_2.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_boss/hedgehog_boss_attack/hedgehog_boss_attack_jump_3.wav", false, 1.0f, Group::Effects },
		{ "SFX/hedgehog_boss/hedgehog_boss_death.wav", false, 1.0f, Group::Effects },
		{ "SFX/mushroom/mushroom_action_footstep/mushroom_action_footstep_1.wav", false, 1.0f, Group::Effects },
		{ "SFX/mushroom/mushroom_action_footstep/mushroom_action_footstep_2.wav", false, 1.0f, Group::Effects },
		{ "SFX/mushroom/mushroom_action_footstep/mushroom_action_footstep_3.wav", false, 1.0f, Group::Effects },
		{ "SFX/mushroom/mushroom_action_footstep/mushroom_action_footstep_4.wav", false, 1.0f, Group::Effects },
		{ "SFX/mushroom/mushroom_damage/mushroom_damage_3.wav", false, std::nullopt, Group::Effects },
		{ "SFX/flower/flower_open_1.wav", false, 1.0f, Group::Effects },
		{ "SFX/flower/flower_close_1.wav", false, 1.0f, Group::Effects },
		{ "SFX/flower/flower_damage_2.wav", false, 1.0f, Group::Effects },
		{ "SFX/wasp/wasp_idle_loop.wav", true, 1.0f, Group::Effects },
		{ "SFX/wasp/wasp_attack/wasp_attack_sting_4.wav", false, 2.0f, Group::Effects },
		{ "SFX/wasp/wasp_damage/wasp_damage_5.wav", false, 2.0f, Group::Effects },
		{ "SFX/main_character/main_character_attack/main_character_attack_regular/main_character_attack_regular_4.wav", false, 1.0f, Group::Effects },
		{ "SFX/book/book_idle_chime_loop.wav", true, 4.0f, Group::Effects },
		{ "SFX/main_character/main_character_interaction/main_character_interaction_item_pick_up_3.wav", false, 1.0f, Group::Effects },
		{ "SFX/main_character/main_character_interaction/main_character_interaction_pull_lever.wav", false, 1.0f, Group::Effects },
		{ "SFX/ui/ui_pause.wav", false, 1.0f, Group::Interface },
		{ "SFX/ui/ui_unpause.wav", false, 1.0f, Group::Interface },
		{ "SFX/ui/ui_select.wav", false, 1.0f, Group::Interface },
		{ "SFX/ui/ui_navigate_down_2.wav", false, 1.0f, Group::Interface },
		{ "SFX/wood_door_open.wav", false, std::nullopt, Group::Effects },
		{ "SFX/stone_door_open.wav", false, std::nullopt, Group::Effects },
		{ "SFX/breakable_object/breakable_object_crystal_2.wav", false, std::nullopt, Group::Effects },
	} };

	// One entity's wish to hear a shared loop this frame.
	struct LoopClaim
	{
		Norv::Audio* mySound;
		const Entity* myClaimant; // compared only, never followed
		float myVolume;
		std::optional<float> myPan;
	};

	struct Bank
	{
		float myMasterVolume = 1.0f;
		bool myIsMuted = false;
		bool myIsLoaded = false;
		std::array<Norv::Audio*, SOUNDS.size()> mySounds{};
		std::vector<LoopClaim> myClaims;          // this frame's, cleared by SettleLoops
		std::vector<Norv::Audio*> myPlayingLoops; // started by SettleLoops and not stopped since
	};

	Bank& GetBank()
	{
		static Bank ourBank;
		return ourBank;
	}

	Norv::Audio* Get(Sound aSound)
	{
		if (!GetBank().myIsLoaded)
			AudioManager::LoadAll();
		return GetBank().mySounds[static_cast<std::size_t>(aSound)];
	}

	// Every sound at the master volume times its own factor, or 0 when muted.
	void ApplyVolumes()
	{
		Bank& someBank = GetBank();
		if (!someBank.myIsLoaded)
			return;
		for (std::size_t i = 0; i < SOUNDS.size(); ++i)
			someBank.mySounds[i]->SetVolume(someBank.myIsMuted ? 0.0f : someBank.myMasterVolume * SOUNDS[i].GetVolumeFactor());
	}

	// Calls aAction on every loaded sound of aGroup.
	template <typename Action>
	void ForEachIn(Group aGroup, Action aAction)
	{
		for (std::size_t i = 0; i < SOUNDS.size(); ++i)
		{
			if (SOUNDS[i].myGroup == aGroup && GetBank().mySounds[i])
				aAction(*GetBank().mySounds[i]);
		}
	}
}

// -------------------------------------------------------------------- accessors

Norv::Audio* AudioManager::GetMusicMenuLoop() { return Get(Sound::MusicMenuLoop); }
Norv::Audio* AudioManager::GetMusicForrestLoop() { return Get(Sound::MusicForrestLoop); }
Norv::Audio* AudioManager::GetMusicCaveLoop() { return Get(Sound::MusicCaveLoop); }
Norv::Audio* AudioManager::GetMusicSadForrestLoop() { return Get(Sound::MusicSadForrestLoop); }
Norv::Audio* AudioManager::GetAmbienceCaveLoop() { return Get(Sound::AmbienceCaveLoop); }
Norv::Audio* AudioManager::GetAmbienceForrestLoop() { return Get(Sound::AmbienceForrestLoop); }
Norv::Audio* AudioManager::GetAmbienceSadForestLoop() { return Get(Sound::AmbienceSadForestLoop); }
Norv::Audio* AudioManager::GetCampfireStart() { return Get(Sound::CampfireStart); }
Norv::Audio* AudioManager::GetCampfireIdleLoop() { return Get(Sound::CampfireIdleLoop); }
Norv::Audio* AudioManager::GetPlayerFootstepDirt1() { return Get(Sound::PlayerFootstepDirt1); }
Norv::Audio* AudioManager::GetPlayerFootstepDirt2() { return Get(Sound::PlayerFootstepDirt2); }
Norv::Audio* AudioManager::GetPlayerFootstepDirt3() { return Get(Sound::PlayerFootstepDirt3); }
Norv::Audio* AudioManager::GetPlayerFootstepDirt4() { return Get(Sound::PlayerFootstepDirt4); }
Norv::Audio* AudioManager::GetPlayerFootstepDirt5() { return Get(Sound::PlayerFootstepDirt5); }
Norv::Audio* AudioManager::GetPlayerFootstepDirt6() { return Get(Sound::PlayerFootstepDirt6); }
Norv::Audio* AudioManager::GetPlayerFootstepDirt7() { return Get(Sound::PlayerFootstepDirt7); }
Norv::Audio* AudioManager::GetPlayerFootstepDirt8() { return Get(Sound::PlayerFootstepDirt8); }
Norv::Audio* AudioManager::GetPlayerFootstepGrass1() { return Get(Sound::PlayerFootstepGrass1); }
Norv::Audio* AudioManager::GetPlayerFootstepGrass2() { return Get(Sound::PlayerFootstepGrass2); }
Norv::Audio* AudioManager::GetPlayerFootstepGrass3() { return Get(Sound::PlayerFootstepGrass3); }
Norv::Audio* AudioManager::GetPlayerFootstepGrass4() { return Get(Sound::PlayerFootstepGrass4); }
Norv::Audio* AudioManager::GetPlayerFootstepGrass5() { return Get(Sound::PlayerFootstepGrass5); }
Norv::Audio* AudioManager::GetPlayerFootstepGrass6() { return Get(Sound::PlayerFootstepGrass6); }
Norv::Audio* AudioManager::GetPlayerFootstepGrass7() { return Get(Sound::PlayerFootstepGrass7); }
Norv::Audio* AudioManager::GetPlayerFootstepGrass8() { return Get(Sound::PlayerFootstepGrass8); }
Norv::Audio* AudioManager::GetPlayerFootstepStone1() { return Get(Sound::PlayerFootstepStone1); }
Norv::Audio* AudioManager::GetPlayerFootstepStone2() { return Get(Sound::PlayerFootstepStone2); }
Norv::Audio* AudioManager::GetPlayerFootstepStone3() { return Get(Sound::PlayerFootstepStone3); }
Norv::Audio* AudioManager::GetPlayerFootstepStone4() { return Get(Sound::PlayerFootstepStone4); }
Norv::Audio* AudioManager::GetPlayerFootstepStone5() { return Get(Sound::PlayerFootstepStone5); }
Norv::Audio* AudioManager::GetPlayerFootstepStone6() { return Get(Sound::PlayerFootstepStone6); }
Norv::Audio* AudioManager::GetPlayerFootstepStone7() { return Get(Sound::PlayerFootstepStone7); }
Norv::Audio* AudioManager::GetPlayerFootstepStone8() { return Get(Sound::PlayerFootstepStone8); }
Norv::Audio* AudioManager::GetPlayerLandGrass2() { return Get(Sound::PlayerLandGrass2); }
Norv::Audio* AudioManager::GetPlayerLandStone2() { return Get(Sound::PlayerLandStone2); }
Norv::Audio* AudioManager::GetPlayerJump5() { return Get(Sound::PlayerJump5); }
Norv::Audio* AudioManager::GetPlayerClimbLoop() { return Get(Sound::PlayerClimbLoop); }
Norv::Audio* AudioManager::GetPlayerWallSlideLoop() { return Get(Sound::PlayerWallSlideLoop); }
Norv::Audio* AudioManager::GetPlayerDash1() { return Get(Sound::PlayerDash1); }
Norv::Audio* AudioManager::GetPlayerDashSuper1() { return Get(Sound::PlayerDashSuper1); }
Norv::Audio* AudioManager::GetPlayerDamage1() { return Get(Sound::PlayerDamage1); }
Norv::Audio* AudioManager::GetPlayerDeathFallBackwards() { return Get(Sound::PlayerDeathFallBackwards); }
Norv::Audio* AudioManager::GetHedgehogMobDamage2() { return Get(Sound::HedgehogMobDamage2); }
Norv::Audio* AudioManager::GetHedgehogMobBlock3() { return Get(Sound::HedgehogMobBlock3); }
Norv::Audio* AudioManager::GetHedgehogMobAttackRollLoop() { return Get(Sound::HedgehogMobAttackRollLoop); }
Norv::Audio* AudioManager::GetHedgehogBossAttackBounce1() { return Get(Sound::HedgehogBossAttackBounce1); }
Norv::Audio* AudioManager::GetHedgehogMobFootstep1() { return Get(Sound::HedgehogMobFootstep1); }
Norv::Audio* AudioManager::GetHedgehogMobFootstep2() { return Get(Sound::HedgehogMobFootstep2); }
Norv::Audio* AudioManager::GetHedgehogMobFootstep3() { return Get(Sound::HedgehogMobFootstep3); }
Norv::Audio* AudioManager::GetHedgehogMobFootstep4() { return Get(Sound::HedgehogMobFootstep4); }
Norv::Audio* AudioManager::GetHedgehogMobDeath() { return Get(Sound::HedgehogMobDeath); }
Norv::Audio* AudioManager::GetHedgehogBossAttackBounce2() { return Get(Sound::HedgehogBossAttackBounce2); }
Norv::Audio* AudioManager::GetHedgehogBossAttackJump3() { return Get(Sound::HedgehogBossAttackJump3); }
Norv::Audio* AudioManager::GetHedgehogBossDeath() { return Get(Sound::HedgehogBossDeath); }
Norv::Audio* AudioManager::GetMushroomActionFootstep1() { return Get(Sound::MushroomActionFootstep1); }
Norv::Audio* AudioManager::GetMushroomActionFootstep2() { return Get(Sound::MushroomActionFootstep2); }
Norv::Audio* AudioManager::GetMushroomActionFootstep3() { return Get(Sound::MushroomActionFootstep3); }
Norv::Audio* AudioManager::GetMushroomActionFootstep4() { return Get(Sound::MushroomActionFootstep4); }
Norv::Audio* AudioManager::GetMushroomDamage3() { return Get(Sound::MushroomDamage3); }
Norv::Audio* AudioManager::GetFlowerOpen1() { return Get(Sound::FlowerOpen1); }
Norv::Audio* AudioManager::GetFlowerClose1() { return Get(Sound::FlowerClose1); }
Norv::Audio* AudioManager::GetFlowerDamage2() { return Get(Sound::FlowerDamage2); }
Norv::Audio* AudioManager::GetWaspIdleLoop() { return Get(Sound::WaspIdleLoop); }
Norv::Audio* AudioManager::GetWaspAttackSting4() { return Get(Sound::WaspAttackSting4); }
Norv::Audio* AudioManager::GetWaspDamage5() { return Get(Sound::WaspDamage5); }
Norv::Audio* AudioManager::GetPlayerAttackRegular4() { return Get(Sound::PlayerAttackRegular4); }
Norv::Audio* AudioManager::GetBookIdleChimeLoop() { return Get(Sound::BookIdleChimeLoop); }
Norv::Audio* AudioManager::GetPlayerItemPickUp3() { return Get(Sound::PlayerItemPickUp3); }
Norv::Audio* AudioManager::GetPlayerPullLever() { return Get(Sound::PlayerPullLever); }
Norv::Audio* AudioManager::GetUiSelect() { return Get(Sound::UiSelect); }
Norv::Audio* AudioManager::GetUiNavigateDown2() { return Get(Sound::UiNavigateDown2); }
Norv::Audio* AudioManager::GetWoodDoorOpen() { return Get(Sound::WoodDoorOpen); }
Norv::Audio* AudioManager::GetStoneDoorOpen() { return Get(Sound::StoneDoorOpen); }
Norv::Audio* AudioManager::GetBreakableObjectCrystal2() { return Get(Sound::BreakableObjectCrystal2); }

// -------------------------------------------------------------------- loading

void AudioManager::LoadAll()
{
	Bank& someBank = GetBank();
	// Loading again would only replace every handle by a refused duplicate.
	if (someBank.myIsLoaded)
		return;
	for (std::size_t i = 0; i < SOUNDS.size(); ++i)
	{
		// Handles live until the process ends.
		Norv::Audio* someSound = new Norv::Audio();
		someSound->Init(SOUNDS[i].myPath, SOUNDS[i].myIsLooping);
		if (SOUNDS[i].myLoadVolumeFactor)
			someSound->SetVolume(someBank.myMasterVolume * *SOUNDS[i].myLoadVolumeFactor);
		someBank.mySounds[i] = someSound;
	}
	musicBossLoop = someBank.mySounds[static_cast<std::size_t>(Sound::MusicBossLoop)];
	someBank.myIsLoaded = true;
}

bool AudioManager::IsLoaded()
{
	return GetBank().myIsLoaded;
}

// -------------------------------------------------------------------- groups and volume

void AudioManager::PauseAll()
{
	ForEachIn(Group::Effects, [](Norv::Audio& aSound) { aSound.Pause(); });
}

void AudioManager::ResumeAll()
{
	ForEachIn(Group::Effects, [](Norv::Audio& aSound) { aSound.Resume(); });
}

void AudioManager::StopAll()
{
	ForEachIn(Group::Effects, [](Norv::Audio& aSound) { aSound.Stop(true); });
	Bank& someBank = GetBank();
	for (Norv::Audio* someLoop : someBank.myPlayingLoops)
		someLoop->Stop(true);
	someBank.myPlayingLoops.clear();
	someBank.myClaims.clear();
}

void AudioManager::SetMuted(bool aMuted)
{
	Bank& someBank = GetBank();
	someBank.myIsMuted = aMuted;
	if (!someBank.myIsLoaded)
		return;
	ApplyVolumes();
}

void AudioManager::SetMasterVolume(float aVolume)
{
	Bank& someBank = GetBank();
	someBank.myMasterVolume = aVolume;
	if (!someBank.myIsMuted)
		ApplyVolumes();
}

bool AudioManager::IsMuted()
{
	return GetBank().myIsMuted;
}

float AudioManager::GetMasterVolume()
{
	return GetBank().myMasterVolume;
}

// -------------------------------------------------------------------- sounds in the world

namespace
{
	struct SpatialMix
	{
		float myVolume = 0.0f;
		std::optional<float> myPan; // none: keep the pan as it is
	};

	// How loud, and where, a sound at aSource is for the context's player.
	SpatialMix MixFor(Norv::Vector2<float> aSource, const FrameContext& aContext, float aRadius, float aBaseVolume)
	{
		// A radius of 0 or less hears nothing (and never divides by it).
		if (!aContext.player || aRadius <= 0.0f)
			return {};
		const Norv::Vector2<float> someOffset = aSource - aContext.player->myPosition;
		if (someOffset.LengthSqr() > aRadius * aRadius)
			return {};
		const float someFade = std::sqrt(std::max(0.0f, 1.0f - someOffset.Length() / aRadius));
		return { SPATIAL_VOLUME_FACTOR * GetBank().myMasterVolume * aBaseVolume * someFade, std::clamp(someOffset.x / aRadius, -1.0f, 1.0f) };
	}
}

void AudioManager::UpdateSpatialSound(Norv::Audio* aSound, Norv::Vector2<float> aSourcePosition, const FrameContext& aContext, float aRadius, float aBaseVolume)
{
	if (!aSound)
		return;
	const SpatialMix someMix = MixFor(aSourcePosition, aContext, aRadius, aBaseVolume);
	aSound->SetVolume(someMix.myVolume);
	if (someMix.myPan)
		aSound->SetPosition({ *someMix.myPan, 0.0f });
}

void AudioManager::PlayRandom(Norv::Audio** aSounds, int aCount, const Entity& aSource, const FrameContext& aContext, bool aPositional)
{
	if (!aSounds || aCount <= 0)
		return;
	std::random_device someDevice;
	std::mt19937 someGenerator(someDevice());
	Norv::Audio* someSound = aSounds[std::uniform_int_distribution<int>(0, aCount - 1)(someGenerator)];
	if (!someSound)
		return;
	if (aPositional)
		UpdateSpatialSound(someSound, aSource.myPosition, aContext, FOOTSTEP_RADIUS, FOOTSTEP_BASE_VOLUME);
	someSound->Play();
	// The pan was set on the handle's previous channel: give it to the one just started.
	if (aPositional)
		someSound->SetPosition(someSound->GetPosition());
}

// -------------------------------------------------------------------- shared loops

void AudioManager::ClaimLoop(Norv::Audio* aSound, const Entity& aClaimant, float aVolume)
{
	if (aSound)
		GetBank().myClaims.push_back({ aSound, &aClaimant, aVolume, std::nullopt });
}

void AudioManager::ClaimSpatialLoop(Norv::Audio* aSound, const Entity& aClaimant, Norv::Vector2<float> aSourcePosition, const FrameContext& aContext, float aRadius, float aBaseVolume)
{
	if (!aSound)
		return;
	const SpatialMix someMix = MixFor(aSourcePosition, aContext, aRadius, aBaseVolume);
	GetBank().myClaims.push_back({ aSound, &aClaimant, someMix.myVolume, someMix.myPan });
}

void AudioManager::ReleaseLoop(Norv::Audio* aSound, const Entity& aClaimant)
{
	std::erase_if(GetBank().myClaims, [&](const LoopClaim& aClaim) { return aClaim.mySound == aSound && aClaim.myClaimant == &aClaimant; });
}

void AudioManager::SettleLoops()
{
	Bank& someBank = GetBank();
	std::vector<LoopClaim>& someClaims = someBank.myClaims;
	const auto IsClaimed = [&](const Norv::Audio* aSound) {
		return std::any_of(someClaims.begin(), someClaims.end(), [&](const LoopClaim& aClaim) { return aClaim.mySound == aSound; });
	};
	std::erase_if(someBank.myPlayingLoops, [&](Norv::Audio* aSound) {
		if (IsClaimed(aSound))
			return false;
		aSound->Stop(true);
		return true;
	});

	for (std::size_t i = 0; i < someClaims.size(); ++i)
	{
		Norv::Audio* someSound = someClaims[i].mySound;
		// Each loop once, at its first claim of the frame.
		if (std::any_of(someClaims.begin(), someClaims.begin() + static_cast<std::ptrdiff_t>(i), [&](const LoopClaim& aClaim) { return aClaim.mySound == someSound; }))
			continue;
		const LoopClaim* someLoudest = &someClaims[i];
		for (std::size_t j = i + 1; j < someClaims.size(); ++j)
			if (someClaims[j].mySound == someSound && someClaims[j].myVolume > someLoudest->myVolume)
				someLoudest = &someClaims[j];
		someSound->SetVolume(someLoudest->myVolume);
		if (std::find(someBank.myPlayingLoops.begin(), someBank.myPlayingLoops.end(), someSound) == someBank.myPlayingLoops.end())
		{
			someSound->Play();
			someBank.myPlayingLoops.push_back(someSound);
		}
		// After Play, so that a channel just started gets the pan too.
		if (someLoudest->myPan)
			someSound->SetPosition({ *someLoudest->myPan, 0.0f });
	}
	someClaims.clear();
}
