#include "world/entities/FlowerPlatform.h"

#include "world/entities/EntityQueries.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

#include <cmath>

namespace
{
	constexpr Norv::Vector2<float> COLLIDER_SIZE{ 100.0f, 200.0f }; // units
	constexpr float MODEL_SCALE = 28.0f;          // the scale the model is authored at
	constexpr float CLOSED_WIDTH = 200.0f;        // units at the authored scale
	constexpr float CLOSED_HEIGHT = 300.0f;       // units at the authored scale
	constexpr float OPEN_HEIGHT = 200.0f;         // units, less 100 at the authored scale
	constexpr float OPEN_SHRINK = 100.0f;         // units at the authored scale
	constexpr float HALF_WIDTH = 100.0f;          // units at the authored scale, the platform's half width
	constexpr float PUSH_DROP = 50.0f;            // units the closed push box sits below the centre
	constexpr float STRUCK_PUSH_WIDTH = 300.0f;   // units at the authored scale
	constexpr float STRUCK_PUSH_HEIGHT = 300.0f;  // units
	constexpr float STRUCK_PUSH_RAISE = 100.0f;   // units at the authored scale
	constexpr float MODEL_DROP = 50.0f;           // units below the collider offset the model sits
	constexpr float ROW_RAISE = 50.0f;            // units at the authored scale, the row above the top
	constexpr float ROW_ROUND_UP_SCALE = 85.0f;   // above this scale the row rounds up
	constexpr float PUSH_DAMAGE = 1.0f;           // petals

	void Play(Norv::Audio* aSound)
	{
		if (aSound)
			aSound->Play();
	}
}

FlowerPlatform::FlowerPlatform()
	: myOpenSound(AudioManager::GetFlowerOpen1())
	, myCloseSound(AudioManager::GetFlowerClose1())
	, myHitSound(AudioManager::GetFlowerDamage2())
{
	myColliderSize = COLLIDER_SIZE;
	myUsesGravity = false;
	// It never moves: tiles around its tall closed collider must not shove it.
	myUsesTileCollision = false;
	myAnimator.Init(this);
}

void FlowerPlatform::Update(FrameContext& aContext)
{
	myAnimator.Update(aContext.deltaTime);
	if (!myIsStruck)
	{
		PushTouchingPlayers(aContext);
		if (myIsOpen)
			Close(aContext);
		if (!myIsClosed)
		{
			myState = CLOSING;
			myIsClosed = true;
			Play(myCloseSound);
		}
		else
		{
			myState = CLOSED;
		}
	}
	else
	{
		myPushBox.w = myScale.x * STRUCK_PUSH_WIDTH / MODEL_SCALE;
		myPushBox.h = STRUCK_PUSH_HEIGHT;
		myPushBox.y = myScale.y * STRUCK_PUSH_RAISE / MODEL_SCALE + myPosition.y;
		myIsClosed = false;
		if (myIsOpen)
		{
			myState = OPEN;
			myOpenTimer -= aContext.deltaTime;
		}
		else
		{
			Open(aContext);
		}
	}
	if (myOpenTimer <= 0.0f)
	{
		myIsStruck = false;
		myOpenTimer = myOpenTime;
	}
}

void FlowerPlatform::PushTouchingPlayers(const FrameContext& aContext)
{
	// Thrown back against the direction the player walked in.
	EntityQueries::ForEachOverlapping<Player>(aContext, myPushBox, [&](Player& aPlayer) {
		aPlayer.TakeDamage({ PUSH_DAMAGE, { -aPlayer.GetController().GetMoveInput() * myPushForce.x, myPushForce.y }, "", nullptr });
	});
}

void FlowerPlatform::ShapeCollider(float aHeight)
{
	const float sx = myScale.x / MODEL_SCALE;
	const float sy = myScale.y / MODEL_SCALE;
	myColliderSize = { sx * CLOSED_WIDTH, aHeight };
	myPushBox.w = sx * myClosedPushSize.x;
	myPushBox.h = sy * myClosedPushSize.y;
	myModelOffset.y = -(myColliderOffset.y + MODEL_DROP) * sy;
}

void FlowerPlatform::Close(const FrameContext& aContext)
{
	ClearPlatformRow(aContext);
	const float sy = myScale.y / MODEL_SCALE;
	ShapeCollider(CLOSED_HEIGHT * sy);
	myPushBox.x = myPosition.x;
	myPushBox.y = myPosition.y - myScale.y * PUSH_DROP / MODEL_SCALE;
	myIsOpen = false;
}

void FlowerPlatform::Open(const FrameContext& aContext)
{
	const float sy = myScale.y / MODEL_SCALE;
	ShapeCollider(OPEN_HEIGHT - sy * OPEN_SHRINK);
	myPushBox.x = myPosition.x;
	myPushBox.y = myPosition.y;
	myIsOpen = true;
	myState = OPENING;
	Play(myOpenSound);
	SetPlatformRow(aContext);
}

void FlowerPlatform::SetPlatformRow(const FrameContext& aContext)
{
	// The open flower's collider is the platform's half width wide.
	const float someHalfWidth = myScale.x * HALF_WIDTH / MODEL_SCALE;
	myColliderSize.x = someHalfWidth;
	if (!aContext.grid)
		return;
	const float someRow = (myColliderSize.y / 2.0f + myPosition.y + myScale.y * ROW_RAISE / MODEL_SCALE) / TileCollisionGrid::TILE_SIZE;
	const int ty = static_cast<int>(myScale.y > ROW_ROUND_UP_SCALE ? std::ceil(someRow) : std::floor(someRow));
	const int someFirst = static_cast<int>(std::ceil((myPosition.x - someHalfWidth + 1.0f) / TileCollisionGrid::TILE_SIZE));
	const int someEnd = static_cast<int>(std::ceil((myPosition.x + someHalfWidth) / TileCollisionGrid::TILE_SIZE));
	for (int tx = someFirst; tx < someEnd; ++tx)
	{
		if (aContext.grid->IsSolid(tx, ty))
			continue;
		aContext.grid->SetTile(tx, ty, true);
		mySetTiles.push_back({ tx, ty });
	}
}

void FlowerPlatform::ClearPlatformRow(const FrameContext& aContext)
{
	if (aContext.grid)
		for (const Norv::Vector2<int>& someTile : mySetTiles)
			aContext.grid->SetTile(someTile.x, someTile.y, false);
	mySetTiles.clear();
}

void FlowerPlatform::TakeDamage(DamageInfo)
{
	myIsStruck = true;
	Play(myHitSound);
}
