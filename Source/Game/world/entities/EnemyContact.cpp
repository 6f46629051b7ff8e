#include "world/entities/EnemyContact.h"

#include "world/entities/EntityQueries.h"
#include "world/entities/Player.h"

bool EnemyContact::HurtTouchingPlayers(const FrameContext& aContext, const TileBox& aBox, float anEnemyX)
{
	bool someHit = false;
	EntityQueries::ForEachOverlapping<Player>(aContext, aBox, [&](Player& aPlayer) {
		const float someSide = aPlayer.myPosition.x > anEnemyX ? 1.0f : -1.0f;
		aPlayer.TakeDamage({ DAMAGE, { someSide * KNOCKBACK_X, KNOCKBACK_Y }, "", nullptr });
		someHit = true;
	});
	return someHit;
}
