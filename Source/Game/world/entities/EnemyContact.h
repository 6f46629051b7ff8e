#pragma once
// What touching an enemy does to the player: one petal and a throw away from the
// enemy, sideways and up. The player decides whether the hit applies.
#include "world/FrameContext.h"
#include "world/TileCollisionGrid.h"

namespace EnemyContact
{
	constexpr float DAMAGE = 1.0f;          // petals
	constexpr float KNOCKBACK_X = 1500.0f;  // units/s, away from the enemy
	constexpr float KNOCKBACK_Y = 1200.0f;  // units/s, up

	// Every player overlapping aBox is hit; true when there was one.
	bool HurtTouchingPlayers(const FrameContext& aContext, const TileBox& aBox, float anEnemyX);
}
