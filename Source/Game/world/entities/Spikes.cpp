#include "world/entities/Spikes.h"
#include "world/entities/EntityQueries.h"

#include "world/TileCollisionGrid.h"
#include "world/entities/PatrollingEnemy.h"
#include "world/entities/Player.h"

#include <cmath>
#include <utility>

Spikes::Spikes()
{
	myColliderSize = COLLIDER_SIZE;
	myUsesTileCollision = false;
	myUsesGravity = false;
}

void Spikes::Init(FrameContext&)
{
	const long someQuarterTurns = std::lround(myRotation.x / QUARTER_TURN);
	if (someQuarterTurns % 2 == 0)
		return;
	std::swap(myColliderSize.x, myColliderSize.y);
	const Norv::Vector2<float> someOffset = myModelOffset;
	std::swap(myModelOffset.x, myModelOffset.y);
	// The model stays where it is drawn while the collider turns about it.
	myPosition += Norv::Vector2<float>(someOffset.x - someOffset.y, someOffset.y - someOffset.x);
}

void Spikes::Update(FrameContext& aContext)
{
	// Walked in place every frame: the bed's own collider always overlaps it, so a
	// collected list would allocate on every frame of every bed.
	const TileBox someBox = EntityQueries::ColliderOf(*this);
	bool someTouchesPlayer = false;
	EntityQueries::ForEachOverlapping<Player>(aContext, someBox, [&](Player&) { someTouchesPlayer = true; });
	if (aContext.player && someTouchesPlayer)
		aContext.player->Die();
	EntityQueries::ForEachOverlapping<PatrollingEnemy>(aContext, someBox, [](PatrollingEnemy& anEnemy) { anEnemy.Die(); }, true);
}
