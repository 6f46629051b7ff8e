#include "world/entities/Destructibles.h"

#include "world/TileCollisionGrid.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

#include <cmath>

namespace
{
	constexpr Norv::Vector2<float> COLLIDER_SIZE{ 100.0f, 100.0f }; // units
	constexpr float BREAK_TIME = 1.0f;     // s from the strike to removal
	constexpr float FINAL_DAMAGE = 10.0f;  // the hit it gives itself at the end
}

Destructibles::Destructibles()
	: myBreakSound(AudioManager::GetBreakableObjectCrystal2())
{
	myColliderSize = COLLIDER_SIZE;
	// It stands inside the tiles it makes solid: falling or colliding would sink it.
	myUsesGravity = false;
	myUsesTileCollision = false;
	myAnimator.Init(this);
}

void Destructibles::Init(FrameContext& aContext)
{
	// Remembered now, so a hit before the first update still reaches the grid.
	myContext = &aContext;
	SetColumn(true);
	myTilesSet = true;
}

void Destructibles::SetColumn(bool aSolid)
{
	if (!myContext || !myContext->grid)
		return;
	const int tx = static_cast<int>(std::floor((myPosition.x + myColliderSize.x / 2.0f) / TileCollisionGrid::TILE_SIZE));
	const int ty = static_cast<int>(std::floor((myPosition.y + myColliderSize.y / 2.0f) / TileCollisionGrid::TILE_SIZE));
	for (int someTile = 0; someTile < COLUMN_TILES; ++someTile)
		myContext->grid->SetTile(tx, ty + someTile, aSolid);
}

void Destructibles::TakeDamage(DamageInfo)
{
	// Any hit breaks it.
	SetColumn(false);
	myIsDestroyed = true;
}

void Destructibles::Update(FrameContext& aContext)
{
	myContext = &aContext;
	if (!myIsDestroyed)
		return;
	// The animator's own update leaves the destroy clip to its owner.
	myAnimator.Animator::Update(aContext.deltaTime);
	myBreakTimer += aContext.deltaTime;
	if (!mySoundPlayed)
	{
		if (myBreakSound)
			myBreakSound->Play();
		mySoundPlayed = true;
	}
	if (myBreakTimer >= BREAK_TIME && !myShouldRemove)
	{
		TakeDamage({ FINAL_DAMAGE, {}, "", nullptr });
		myShouldRemove = true;
	}
}
