#pragma once
// The rolling hedgehog: walks back and forth, turns at walls and ledges, winds up
// and rolls at a player who comes near on its level, is stunned when it rolls into
// a wall, deflects hits while rolling and hurts the player on contact. Flagged as
// the boss ("isBoss") it is larger, tougher and faster, bounces off walls, jumps at
// a player high above and shows its name and health bar; the boss does nothing
// until the boss trigger starts the fight.
#include "world/animation/PatrollingEnemyAnims.h"
#include "world/entities/Entity.h"

#include "drawers/SpriteData.h"
#include "text/Text.h"

#include <array>
#include <memory>

namespace Norv
{
	class Audio;
}
class FlipbookVFX;
class PatrollingEnemy;

namespace EnemyAnims
{
	using PatrollingEnemyAnims = PatrollingEnemyAnimsFor<PatrollingEnemy>;
}

class PatrollingEnemy : public Entity
{
public:
	enum Mode : int
	{
		NO_MODE = 0, PATROL = 1, ROLL = 2, STUNNED = 3, UNROLLING = 4, BOSS_JUMP = 5
	};
	static constexpr const char* BOSS_NAME = "Lord Hedgehog the VI";
	static constexpr int FOOTSTEP_COUNT = 4;

	PatrollingEnemy();
	~PatrollingEnemy() override;
	PatrollingEnemy(const PatrollingEnemy&) = delete;
	PatrollingEnemy& operator=(const PatrollingEnemy&) = delete;

	void Init(FrameContext& aContext) override;
	void Update(FrameContext& aContext) override;
	void LateRender() override;
	void RenderUI() override;
	Animator* GetAnimator() override { return &myAnimator; }
	// Ignored while hurt or dead; deflected while rolling.
	void TakeDamage(DamageInfo anInfo) override;
	// Once: a dead enemy does not die again.
	void Die() override;

	// The boss trigger starts the fight: the HUD fades in and the boss acts.
	void StartBossFight();

	float mySpeed;
	float myWalkSpeed;
	float myAccel;
	bool myCanMove = true;
	float myPatrolTimer = 0.0f;
	float myPatrolRange;
	float myAggroRange;
	float myRollSpeed;
	bool myIsRolling = false;
	bool myRollStarted = false;
	int myRollFacing = 1;
	float myWindupTime;
	float myWindupTimer = 0.0f;
	bool myIsRollingUp = false;
	float myRollTime = 0.0f;
	float myMaxRollTime;
	bool myIsUnrolling = false;
	bool myIsStunned = false;
	bool myIsGettingUp = false;
	float myStunTime;
	float myStunTimer = 0.0f;
	float myRollCooldown;
	float myRollCooldownTimer = 0.0f;
	float myDeathTimer = 0.0f;
	float myDeathDelay;
	float myHurtTimer = 0.0f;
	float myHurtTime;
	bool myIsBoss = false;
	bool myShowBossHud = false;
	bool myIsActive = true;
	Norv::Vector2<float> myToPlayer; // player centre minus own centre
	float myFootstepTimer = 0.0f;
	float myFootstepInterval;
	float myRollVolume = 0.0f;       // of the roll loop
	bool myIsAggro = false;
	int myMode = NO_MODE;
	float myBarY = 0.0f;
	float myJumpTimer = 0.0f;
	float myJumpInterval;
	float myJumpSpeedY = 0.0f;
	float myJumpSpeedX = 0.0f;
	float myRollCycleTimer = 0.0f;
	float myRollCycle;
	float myBarSpacing;
	float myHudAlpha = 0.0f;
	bool myIsJumping = false;
	bool mySlamReady = false;

	const FlipbookVFX& GetHitEffect() const { return *myHitEffect; }
	const FlipbookVFX& GetDeathEffect() const { return *myDeathEffect; }
	const FlipbookVFX& GetRollEffect() const { return *myRollEffect; }
	const FlipbookVFX& GetDeflectEffect() const { return *myDeflectEffect; }
	Norv::Audio* GetRollLoop() const { return mySounds[ROLL_LOOP]; }

private:
	enum Sound
	{
		DAMAGE, ROLL_LOOP, BLOCK, DEATH, WALL_BOUNCE, FOOTSTEP_1, FOOTSTEP_2, FOOTSTEP_3, FOOTSTEP_4, JUMP, IMPACT, BOSS_DEATH, SOUND_COUNT
	};

	void UpdateEffects(const FrameContext& aContext);
	// The hurt flash ends after the hurt time.
	void UpdateHurt(float aDeltaTime);
	void UpdateDead(float aDeltaTime);
	// True while the stun or the unroll still runs.
	bool UpdateStun(float aDeltaTime);
	void ChooseMode(const FrameContext& aContext, float aDistance);
	void Patrol(const FrameContext& aContext);
	void Roll(float aDeltaTime);
	void Jump();
	void UpdateBossSlam(const FrameContext& aContext);
	void HurtTouchingPlayers(const FrameContext& aContext);
	void Face(int aFacing);
	void PlaySound(Sound aSound);
	void DrawBossHud();

	EnemyAnims::PatrollingEnemyAnims myAnimator;
	Norv::Sprite2DInstanceData myBarSprite;
	Norv::SpriteSharedData myBarImage;
	std::array<Norv::Audio*, SOUND_COUNT> mySounds{};
	std::unique_ptr<FlipbookVFX> myHitEffect;
	std::unique_ptr<FlipbookVFX> myDeathEffect;
	std::unique_ptr<FlipbookVFX> myRollEffect;
	std::unique_ptr<FlipbookVFX> myDeflectEffect;
	std::unique_ptr<Norv::Text> myNameText; // the boss's only
};
