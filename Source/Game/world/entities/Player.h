#pragma once
// The character the user steers: owns its movement controller and animator, keeps
// five petals of health shown in the head-up display, resolves its directional
// sword attack, reacts to what it touches, and dies and respawns at the last
// checkpoint.
#include "world/animation/PlayerAnimations.h"
#include "world/entities/Entity.h"
#include "world/entities/PlayerController.h"

#include "Math/Vector.h"
#include "drawers/SpriteData.h"

#include <array>
#include <memory>

namespace Norv
{
	class Audio;
}
class FlipbookVFX;
class TileCollisionGrid;

class Player : public Entity
{
public:
	static constexpr float MAX_PETALS = 5.0f;
	static constexpr int EFFECT_COUNT = 7;
	static constexpr int HUD_IMAGE_COUNT = 6;
	static constexpr Norv::Vector2<float> COLLIDER_SIZE{ 96.0f, 150.0f }; // units, unless the level gives another
	static constexpr float FALL_OUT_TILES = -300.0f; // tiles; a player below falls out and respawns

	// The height is below the line where a fall brings the player back.
	static bool IsBelowWorld(float aHeight);

	Player();
	~Player() override;
	Player(const Player&) = delete;
	Player& operator=(const Player&) = delete;

	void Init(FrameContext& aContext) override;
	void Update(FrameContext& aContext) override;
	void LateRender() override;
	void DebugRender() override;
	void RenderUI() override;
	void OnCollision(Entity& anOther) override;
	Animator* GetAnimator() override { return &myAnimator; }
	void TakeDamage(DamageInfo anInfo) override;
	void Die() override;

	void Attack(TileCollisionGrid* aGrid);
	void Respawn();
	void DrawHud();
	PlayerController& GetController() { return myController; }
	const PlayerController& GetController() const { return myController; }
	bool IsAttacking() const { return myIsAttacking; }
	bool IsAttackLanded() const { return myAttackLanded; }
	const TileBox& GetAttackBox() const { return myAttackBox; }
	bool IsDeathSoundPlayed() const { return myDeathSoundPlayed; }

	Norv::Vector2<float> myRespawnPoint{ 0.0f, 100.0f };
	int myAttackDirection = 0; // of the last attack: 0 sideways, 1 up, 2 down
	bool myCanAttack = true;   // false while an ability page is open
	float mySpawnGrace = 0.0f; // s since construction, up to 1; damage is ignored below 1
	float myYawOffset;
	float myPetals = MAX_PETALS;
	std::array<int, 4> myAbilityIndex{ 0, 1, 2, 3 };
	FrameContext* myContext = nullptr;

private:
	enum Effect
	{
		ATTACK_RIGHT, ATTACK_LEFT, ATTACK_UP_RIGHT, ATTACK_UP_LEFT, ATTACK_DOWN_RIGHT, ATTACK_DOWN_LEFT, DAMAGED
	};
	enum Sound
	{
		ATTACK_SOUND, DAMAGE_SOUND, DEATH_SOUND, PICKUP_SOUND
	};

	void FetchSounds();
	void UpdateEffects(FrameContext& aContext);
	void UpdateTurning();
	void UpdateAttack(FrameContext& aContext);
	// The enemies and props inside the attack box take the attack's hits.
	void HitTargets(const TileCollisionGrid& aGrid);
	void PlayEffect(Effect anEffect, const Norv::Vector3<float>& aPosition, float aDirection);
	void DrawHudSprite(const Norv::SpriteSharedData& anImage, const Norv::Vector2<float>& aPosition);

	PlayerController myController;
	PlayerAnims::PlayerAnimations myAnimator;
	std::array<std::unique_ptr<FlipbookVFX>, EFFECT_COUNT> myEffects;
	std::array<Norv::Audio*, 4> mySounds{};
	Norv::Sprite2DInstanceData myHudSprite;
	std::array<Norv::SpriteSharedData, HUD_IMAGE_COUNT> myHudImages;
	bool myIsTurnedLeft = false;
	bool myIsAttacking = false;
	bool myDeathSoundPlayed = false;
	float myDeathTimer = 0.0f;
	float myRespawnDelay;
	float myHurtTimer;
	float myAttackTimer = 0.0f;
	bool myAttackLanded = false;
	TileBox myAttackBox{ 0.0f, 0.0f, 100.0f, 100.0f };
};
