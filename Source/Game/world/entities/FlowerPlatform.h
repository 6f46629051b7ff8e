#pragma once
// A closed flower that pushes the player away; struck, it opens into a solid
// platform (a row of tiles above it) for a few seconds, then closes again.
#include "world/TileCollisionGrid.h"
#include "world/animation/FlowerAnimator.h"
#include "world/entities/Entity.h"

#include "Math/Vector.h"

#include <vector>

namespace Norv
{
	class Audio;
}

class FlowerPlatform : public Entity
{
public:
	using FlowerAnimator = FlowerAnims::FlowerAnimatorFor<FlowerPlatform>;

	enum State : int
	{
		CLOSED = 0, OPEN = 1, OPENING = 2, CLOSING = 3
	};

	FlowerPlatform();

	void Update(FrameContext& aContext) override;
	Animator* GetAnimator() override { return &myAnimator; }
	void TakeDamage(DamageInfo anInfo) override;

	FlowerAnimator myAnimator;
	int myState = CLOSED;           // read by the animator
	bool myIsClosed = false;        // the closing step has run
	bool myIsOpen = true;
	bool myIsStruck = false;        // set by a hit, cleared when the open time ends
	TileBox myPushBox{ 0.0f, 0.0f, 50.0f, 300.0f };
	Norv::Vector2<float> myClosedPushSize{ 50.0f, 300.0f };
	float myOpenTimer = 0.0f;
	float myOpenTime = 3.0f;        // s
	Norv::Vector2<float> myPushForce{ 1000.0f, 100.0f };
	Norv::Audio* myOpenSound = nullptr;
	Norv::Audio* myCloseSound = nullptr;
	Norv::Audio* myHitSound = nullptr;

private:
	void PushTouchingPlayers(const FrameContext& aContext);
	void Close(const FrameContext& aContext);
	void Open(const FrameContext& aContext);
	void ShapeCollider(float aHeight);
	// The platform's row of tiles: set solid, or back to clear. Only the tiles
	// this flower turned solid are cleared, so level tiles in the row stay.
	void SetPlatformRow(const FrameContext& aContext);
	void ClearPlatformRow(const FrameContext& aContext);

	std::vector<Norv::Vector2<int>> mySetTiles; // tiles of the row this flower made solid
};
