#pragma once
// A breakable crystal that blocks a column of three tiles until it is struck:
// the tiles clear at once, it breaks apart and disappears a second later.
#include "world/animation/DestructibleAnimator.h"
#include "world/entities/Entity.h"

namespace Norv
{
	class Audio;
}

class Destructibles : public Entity
{
public:
	using DestructibleAnimator = DestructibleAnims::DestructibleAnimatorFor<Destructibles>;
	static constexpr int COLUMN_TILES = 3;

	Destructibles();

	void Init(FrameContext& aContext) override;
	void Update(FrameContext& aContext) override;
	Animator* GetAnimator() override { return &myAnimator; }
	void TakeDamage(DamageInfo anInfo) override;

	bool myIsDestroyed = false;
	bool myTilesSet = false;
	bool mySoundPlayed = false;
	FrameContext* myContext = nullptr; // the play state's record, from Init and every update
	Norv::Audio* myBreakSound = nullptr;
	DestructibleAnimator myAnimator;
	float myBreakTimer = 0.0f;

private:
	void SetColumn(bool aSolid);
};
