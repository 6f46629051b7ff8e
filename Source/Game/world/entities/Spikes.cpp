#include "world/entities/Spikes.h"

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
	if (!aContext.grid)
		return;
	const TileBox someBox{ myPosition.x, myPosition.y, myColliderSize.x, myColliderSize.y };
	if (aContext.player && !aContext.grid->GetOverlappingEntitiesOfType<Player>(someBox).empty())
		aContext.player->Die();
	for (Entity* someEnemy : aContext.grid->GetOverlappingEntitiesOfType<PatrollingEnemy>(someBox))
		if (!someEnemy->myIsDead)
			someEnemy->Die();
}
