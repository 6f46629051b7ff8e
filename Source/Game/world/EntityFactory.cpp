// GameState::CreateEntity: the one place where level data chooses an entity class.
#include "world/GameState.h"
#include "world/entities/BookShowcase.h"
#include "world/entities/BossTrigger.h"
#include "world/entities/Butterfly.h"
#include "world/entities/Checkpoint.h"
#include "world/entities/Destructibles.h"
#include "world/entities/Door.h"
#include "world/entities/EndingTrigger.h"
#include "world/entities/FlowerPlatform.h"
#include "world/entities/FlyingEnemy.h"
#include "world/entities/Gate.h"
#include "world/entities/IPickupAble.h"
#include "world/entities/Lever.h"
#include "world/entities/MushroomEnemy.h"
#include "world/entities/PatrollingEnemy.h"
#include "world/entities/Player.h"
#include "world/entities/Spikes.h"

#include "stringRegistry/StringRegistry.h"

#include <array>
#include <functional>

namespace
{
	template <typename T>
	std::unique_ptr<Entity> Make()
	{
		return std::make_unique<T>();
	}

	struct EntityType
	{
		const char* myName;
		std::unique_ptr<Entity> (*myCreate)();
	};

	// Compared in this order; names are exact and case-sensitive.
	constexpr std::array ENTITY_TYPES{
		EntityType{ "Player", &Make<Player> },
		EntityType{ "PatrollingEnemy", &Make<PatrollingEnemy> },
		EntityType{ "Door", &Make<Door> },
		EntityType{ "WallJumpPickup", &Make<WallJumpPickup> },
		EntityType{ "DashPickup", &Make<DashPickup> },
		EntityType{ "ClimbPickup", &Make<ClimbPickup> },
		EntityType{ "DashSlashPickup", &Make<DashSlashPickup> },
		EntityType{ "Spikes", &Make<Spikes> },
		EntityType{ "Checkpoint", &Make<Checkpoint> },
		EntityType{ "Lever", &Make<Lever> },
		EntityType{ "Gate", &Make<Gate> },
		EntityType{ "FlowerPlatform", &Make<FlowerPlatform> },
		EntityType{ "Destructible", &Make<Destructibles> },
		EntityType{ "BossTrigger", &Make<BossTrigger> },
		EntityType{ "EndingTrigger", &Make<EndingTrigger> },
		EntityType{ "FlyingEnemy", &Make<FlyingEnemy> },
		EntityType{ "MushroomEnemy", &Make<MushroomEnemy> },
		EntityType{ "Butterfly", &Make<Butterfly> },
		EntityType{ "bookShowcase", &Make<BookShowcase> },
	};
}

std::unique_ptr<Entity> GameState::CreateEntity(Norv::StringId aType)
{
	if (!aType)
		return nullptr;
	for (const EntityType& someType : ENTITY_TYPES)
		if (Norv::StringRegistry::RegisterOrGetString(someType.myName) == aType)
			return someType.myCreate();
	return nullptr;
}
