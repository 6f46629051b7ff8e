#pragma once
// The game's fixed bank of 78 sounds (music, ambience, effects, interface), each
// loaded once from a WAV file under "SFX/" on the first request for any of them.
// The bank owns the master volume and the mute flag of the options menu, pauses,
// resumes and stops all effects at once, sets the volume and pan of sounds placed
// in the world, settles the loops that entities share and picks footsteps at random.
#include "Math/Vector.h"
#include "sound/Audio.h"

class Entity;
struct FrameContext;

class AudioManager
{
public:
	// Each accessor loads the whole bank first when it is not loaded yet.
	static Norv::Audio* GetMusicMenuLoop();
	static Norv::Audio* GetMusicForrestLoop();
	static Norv::Audio* GetMusicCaveLoop();
	static Norv::Audio* GetMusicSadForrestLoop();
	static Norv::Audio* GetAmbienceCaveLoop();
	static Norv::Audio* GetAmbienceForrestLoop();
	static Norv::Audio* GetAmbienceSadForestLoop();
	static Norv::Audio* GetCampfireStart();
	static Norv::Audio* GetCampfireIdleLoop();
	static Norv::Audio* GetPlayerFootstepDirt1();
	static Norv::Audio* GetPlayerFootstepDirt2();
	static Norv::Audio* GetPlayerFootstepDirt3();
	static Norv::Audio* GetPlayerFootstepDirt4();
	static Norv::Audio* GetPlayerFootstepDirt5();
	static Norv::Audio* GetPlayerFootstepDirt6();
	static Norv::Audio* GetPlayerFootstepDirt7();
	static Norv::Audio* GetPlayerFootstepDirt8();
	static Norv::Audio* GetPlayerFootstepGrass1();
	static Norv::Audio* GetPlayerFootstepGrass2();
	static Norv::Audio* GetPlayerFootstepGrass3();
	static Norv::Audio* GetPlayerFootstepGrass4();
	static Norv::Audio* GetPlayerFootstepGrass5();
	static Norv::Audio* GetPlayerFootstepGrass6();
	static Norv::Audio* GetPlayerFootstepGrass7();
	static Norv::Audio* GetPlayerFootstepGrass8();
	static Norv::Audio* GetPlayerFootstepStone1();
	static Norv::Audio* GetPlayerFootstepStone2();
	static Norv::Audio* GetPlayerFootstepStone3();
	static Norv::Audio* GetPlayerFootstepStone4();
	static Norv::Audio* GetPlayerFootstepStone5();
	static Norv::Audio* GetPlayerFootstepStone6();
	static Norv::Audio* GetPlayerFootstepStone7();
	static Norv::Audio* GetPlayerFootstepStone8();
	static Norv::Audio* GetPlayerLandGrass2();
	static Norv::Audio* GetPlayerLandStone2();
	static Norv::Audio* GetPlayerJump5();
	static Norv::Audio* GetPlayerClimbLoop();
	static Norv::Audio* GetPlayerWallSlideLoop();
	static Norv::Audio* GetPlayerDash1();
	static Norv::Audio* GetPlayerDashSuper1();
	static Norv::Audio* GetPlayerDamage1();
	static Norv::Audio* GetPlayerDeathFallBackwards();
	static Norv::Audio* GetHedgehogMobDamage2();
	static Norv::Audio* GetHedgehogMobBlock3();
	static Norv::Audio* GetHedgehogMobAttackRollLoop();
	static Norv::Audio* GetHedgehogBossAttackBounce1();
	static Norv::Audio* GetHedgehogMobFootstep1();
	static Norv::Audio* GetHedgehogMobFootstep2();
	static Norv::Audio* GetHedgehogMobFootstep3();
	static Norv::Audio* GetHedgehogMobFootstep4();
	static Norv::Audio* GetHedgehogMobDeath();
	static Norv::Audio* GetHedgehogBossAttackBounce2();
	static Norv::Audio* GetHedgehogBossAttackJump3();
	static Norv::Audio* GetHedgehogBossDeath();
	static Norv::Audio* GetMushroomActionFootstep1();
	static Norv::Audio* GetMushroomActionFootstep2();
	static Norv::Audio* GetMushroomActionFootstep3();
	static Norv::Audio* GetMushroomActionFootstep4();
	static Norv::Audio* GetMushroomDamage3();
	static Norv::Audio* GetFlowerOpen1();
	static Norv::Audio* GetFlowerClose1();
	static Norv::Audio* GetFlowerDamage2();
	static Norv::Audio* GetWaspIdleLoop();
	static Norv::Audio* GetWaspAttackSting4();
	static Norv::Audio* GetWaspDamage5();
	static Norv::Audio* GetPlayerAttackRegular4();
	static Norv::Audio* GetBookIdleChimeLoop();
	static Norv::Audio* GetPlayerItemPickUp3();
	static Norv::Audio* GetPlayerPullLever();
	static Norv::Audio* GetUiSelect();
	static Norv::Audio* GetUiNavigateDown2();
	static Norv::Audio* GetWoodDoorOpen();
	static Norv::Audio* GetStoneDoorOpen();
	static Norv::Audio* GetBreakableObjectCrystal2();

	// Loads every sound in order, with its loop flag and volume, once; a file that
	// does not load leaves a handle that ignores every call.
	static void LoadAll();
	static bool IsLoaded();

	// Pause, resume and stop (at once) every effect; music, ambience and interface
	// sounds are left to their users.
	static void PauseAll();
	static void ResumeAll();
	static void StopAll();

	// Only stored until the bank is loaded. Once it is, every sound goes to the
	// master volume times its own factor (x2 the wasp's sting and damage, x4 the
	// book's chime, x1 the others), or to 0 while muted.
	static void SetMuted(bool aMuted);
	static void SetMasterVolume(float aVolume);
	static bool IsMuted();
	static float GetMasterVolume();

	// Volume and pan of aSound heard by the context's player: full (2 x master x
	// aBaseVolume) at the player, fading to 0 at aRadius; beyond it (or with no
	// player to hear it) silent with the pan kept. Never starts or stops the sound.
	static void UpdateSpatialSound(Norv::Audio* aSound, Norv::Vector2<float> aSourcePosition, const FrameContext& aContext, float aRadius, float aBaseVolume);
	// Plays one of aCount sounds picked at random; when aPositional, placed at
	// aSource's position within a radius of 2000 units of the player first.
	static void PlayRandom(Norv::Audio** aSounds, int aCount, const Entity& aSource, const FrameContext& aContext, bool aPositional);

	// ---------------------------------------------------------------- shared loops
	// A looping effect that several entities may play at once (the pickup chime, the
	// campfire, the wasp's buzz, the hedgehog's roll) is still one handle, so no
	// entity plays or stops such a loop itself. Instead, on every frame it wants the
	// loop heard, the entity claims it:
	//
	//     AudioManager::ClaimSpatialLoop(myBuzz, *this, myPosition, aContext, RADIUS, VOLUME);
	//     AudioManager::ClaimLoop(myRollLoop, *this, myRollVolume); // a volume of its own
	//
	// and simply stops claiming when it is done (out of its state, picked up, dead,
	// removed). Once a frame, after every entity has run, the play state calls
	// SettleLoops: a claimed loop that is not playing starts, the loudest claim of
	// the frame sets its volume and pan (so the nearest entity is the one heard), and
	// a loop nobody claimed this frame stops at once. An entity that is done with a
	// loop after it claimed it in the same frame withdraws with ReleaseLoop.
	// StopAll also forgets every claim, so the next claim starts its loop afresh.
	static void ClaimLoop(Norv::Audio* aSound, const Entity& aClaimant, float aVolume);
	// A claim at the volume and pan that UpdateSpatialSound would give.
	static void ClaimSpatialLoop(Norv::Audio* aSound, const Entity& aClaimant, Norv::Vector2<float> aSourcePosition, const FrameContext& aContext, float aRadius, float aBaseVolume);
	static void ReleaseLoop(Norv::Audio* aSound, const Entity& aClaimant);
	static void SettleLoops();

	// Read by the world directly; null before the bank is loaded.
	static inline Norv::Audio* musicBossLoop = nullptr;
};
