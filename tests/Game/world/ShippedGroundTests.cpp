// Everything of the shipped levels that stands stands on its ground, as drawn: the
// models of each walking enemy and each campfire reach down to the floor under them
// (no hedgehog hovering over the grass, none sunk into it), and each ability pickup
// bobs just over its ground without dipping into it.
#include "ShippedLevels.h"

#include "Support/ModelScene.h"

#include "world/entities/Checkpoint.h"
#include "world/entities/IPickupAble.h"
#include "world/entities/MushroomEnemy.h"
#include "world/entities/PatrollingEnemy.h"

#include <algorithm>
#include <cfloat>
#include <sstream>
#include <typeinfo>

namespace
{
	constexpr const char* LEVELS[] = { "Tutorial", "Hub", "Level_1", "Level_2", "Ending" };
	constexpr int SETTLE_FRAMES = 30;     // walkers placed in the air come down to their floor
	constexpr float TILE = 100.0f;        // units
	constexpr float FOOT_SINK = 6.0f;     // units a walker's feet may sink into the grass
	constexpr float FOOT_GAP = 4.0f;      // units a walker's feet may stand over its floor
	constexpr float PICKUP_HOVER = 60.0f; // units at most between a pickup's lowest point and its ground
	constexpr int DEEPEST_SEARCH = 40;    // tiles looked down for a floor

	// The lowest point of the entity's models as placed this frame.
	float ModelBottom(const Entity& anEntity)
	{
		float someBottom = FLT_MAX;
		const auto Lower = [&](const Norv::Model* aModel, const Norv::Matrix4x4& aTransform) {
			if (!aModel)
				return;
			const NorvTest::ModelBox someBox(*aModel);
			for (int i = 0; i < 8; ++i)
			{
				const Norv::Vector4<float> someCorner(i & 1 ? someBox.myMax.x : someBox.myMin.x, i & 2 ? someBox.myMax.y : someBox.myMin.y, i & 4 ? someBox.myMax.z : someBox.myMin.z, 1.0f);
				someBottom = std::min(someBottom, (someCorner * aTransform).y);
			}
		};
		Lower(anEntity.myAnimatedInstance.GetModel().get(), anEntity.myAnimatedInstance.GetTransform());
		for (const Norv::ModelInstance& someInstance : anEntity.myModels)
			Lower(someInstance.GetModel().get(), someInstance.GetTransform());
		return someBottom;
	}

	std::string Describe(const std::string& aLevel, const Entity& anEntity)
	{
		std::ostringstream someText;
		someText << aLevel << ": " << typeid(anEntity).name() << " at (" << anEntity.myPosition.x << ", " << anEntity.myPosition.y << ")";
		return someText.str();
	}

	class ShippedGround : public NorvTest::ShippedLevelTest
	{
	protected:
		// The top of the first solid tile at or under the point just below aBottom, at the
		// entity's column, or -FLT_MAX. A model sunk into its floor finds that floor's top above it.
		float FloorUnder(const Entity& anEntity, float aBottom)
		{
			const int someColumn = static_cast<int>(std::round(anEntity.myPosition.x / TILE));
			for (int someRow = static_cast<int>(std::floor((aBottom - 1.0f) / TILE + 0.5f)), someLast = someRow - DEEPEST_SEARCH; someRow > someLast; --someRow)
				if (Grid().IsSolid(someColumn, someRow))
					return someRow * TILE + TILE * 0.5f;
			return -FLT_MAX;
		}
	};
}

TEST_F(ShippedGround, EveryWalkingEnemyCampfireAndPickupStandsOnItsGround)
{
	int someStanding = 0, somePickups = 0;
	for (const char* someLevel : LEVELS)
	{
		Load(someLevel);
		myWorld.Step(SETTLE_FRAMES);
		for (const std::unique_ptr<Entity>& someEntity : myWorld.myState.GetEntities())
		{
			const Entity* e = someEntity.get();
			const bool someStands = dynamic_cast<const PatrollingEnemy*>(e) || dynamic_cast<const MushroomEnemy*>(e) || dynamic_cast<const Checkpoint*>(e);
			const bool someIsPickup = !someStands && dynamic_cast<const IPickupAble*>(e);
			if (!someStands && !someIsPickup)
				continue;
			const std::string someWhat = Describe(someLevel, *e);
			const float someBottom = ModelBottom(*e);
			ASSERT_LT(someBottom, FLT_MAX) << someWhat << ": no model";
			// A pickup's ground is under the lowest point of its bob.
			const float someRest = someBottom - e->myModelOffset.y;
			const float someFloor = FloorUnder(*e, someIsPickup ? someRest - IPickupAble::BOB_AMPLITUDE : someBottom);
			ASSERT_GT(someFloor, -FLT_MAX) << someWhat << ": no floor under it";
			if (someStands)
			{
				++someStanding;
				EXPECT_GE(someBottom, someFloor - FOOT_SINK) << someWhat << ": sunk into its floor at " << someFloor;
				EXPECT_LE(someBottom, someFloor + FOOT_GAP) << someWhat << ": floats over its floor at " << someFloor;
			}
			else
			{
				++somePickups;
				EXPECT_GE(someRest - IPickupAble::BOB_AMPLITUDE, someFloor) << someWhat << ": dips into its ground at " << someFloor;
				EXPECT_LE(someRest - IPickupAble::BOB_AMPLITUDE, someFloor + PICKUP_HOVER) << someWhat << ": floats high over its ground at " << someFloor;
			}
		}
	}
	// The hedgehogs, the boss, the mushrooms and the campfires, and the four ability pickups.
	EXPECT_GE(someStanding, 12);
	EXPECT_EQ(somePickups, 4);
}
