#pragma once
// Box queries that entities run every frame. Unlike the grid's lists these walk
// the frame's entity list in place, so a per-frame query allocates nothing.
#include "world/FrameContext.h"
#include "world/TileCollisionGrid.h"
#include "world/entities/Entity.h"


namespace EntityQueries
{
	inline TileBox ColliderOf(const Entity& anEntity)
	{
		return { anEntity.myPosition.x, anEntity.myPosition.y, anEntity.myColliderSize.x, anEntity.myColliderSize.y };
	}

	// Calls aVisit(T&) for every entity of type T, in list order, whose collider
	// strictly overlaps aBox; dead ones are skipped when aSkipDead.
	template <typename T, typename Visit>
	void ForEachOverlapping(const FrameContext& aContext, const TileBox& aBox, Visit&& aVisit, bool aSkipDead = false)
	{
		if (!aContext.entities)
			return;
		// Indexed: a visit may not add entities, but it may touch the list's elements.
		const EntityList& someEntities = *aContext.entities;
		for (std::size_t someIndex = 0; someIndex < someEntities.size(); ++someIndex)
		{
			T* someFound = dynamic_cast<T*>(someEntities[someIndex].get());
			if (!someFound || (aSkipDead && someFound->myIsDead))
				continue;
			if (TileCollisionGrid::GetPenetration(aBox, ColliderOf(*someFound)).hit)
				aVisit(*someFound);
		}
	}
}
