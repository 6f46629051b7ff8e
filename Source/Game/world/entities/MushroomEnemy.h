#pragma once
// The walking mushroom in its toxic fog: patrols like the hedgehog, turning at
// walls and ledges, never attacks on its own, and hurts the player on contact.
#include "world/TileCollisionGrid.h"
#include "world/animation/MushroomAnimator.h"
#include "world/entities/Entity.h"

#include <array>
#include <memory>

namespace Norv
{
	class Audio;
}
class FlipbookVFX;

class MushroomEnemy : public Entity
{
public:
	using MushroomAnimator = MushroomEnemyAnims::MushroomAnimatorFor<MushroomEnemy>;
	static constexpr int FOOTSTEP_COUNT = 4;

	MushroomEnemy();
	~MushroomEnemy() override;
	MushroomEnemy(const MushroomEnemy&) = delete;
	MushroomEnemy& operator=(const MushroomEnemy&) = delete;

	void Update(FrameContext& aContext) override;
	void Render() override;
	void LateRender() override;
	Animator* GetAnimator() override { return &myAnimator; }
	void TakeDamage(DamageInfo anInfo) override;

	const FlipbookVFX& GetFogEffect() const { return *myFogEffect; }
	const FlipbookVFX& GetHitEffect() const { return *myHitEffect; }

	float mySpeed = 150.0f;
	float myWalkSpeed = 150.0f;
	float myAccel = 700.0f;
	bool myCanMove = true;
	float myPatrolTimer = 0.0f;
	float myPatrolRange = 300.0f;
	float myDeathTimer = 0.0f;
	float myDeathDelay = 1.0f;
	float myHurtTimer = 0.0f;
	float myHurtTime = 0.3f;
	MushroomAnimator myAnimator;
	TileBox myDamageBox{ 0.0f, 0.0f, 100.0f, 100.0f };
	float myFootstepTimer = 0.0f;
	float myFootstepInterval = 0.5f;

private:
	void UpdateDeath(float aDeltaTime);
	void Patrol(const FrameContext& aContext);
	void Face(int aFacing);

	std::unique_ptr<FlipbookVFX> myHitEffect;
	std::unique_ptr<FlipbookVFX> myFogEffect;
	Norv::Audio* myHitSound = nullptr;
	std::array<Norv::Audio*, FOOTSTEP_COUNT> myFootsteps{};
};
