#include "world/TileCollisionGrid.h"
#include "world/entities/Entity.h"
#include "world/entities/IPickupAble.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
	constexpr float FRAME = 0.05f;

	class CountingEntity : public Entity
	{
	public:
		void Die() override
		{
			++myDeaths;
			Entity::Die();
		}
		int myDeaths = 0;
	};

	struct EntityWorld
	{
		explicit EntityWorld(std::vector<LevelTile> aTiles)
		{
			myGrid.Build(nullptr, aTiles, nullptr);
			myContext.grid = &myGrid;
			myContext.deltaTime = FRAME;
		}
		TileCollisionGrid myGrid;
		FrameContext myContext;
	};
}

TEST(EntityMove, RunningIntoAWallStopsOnlyTheHorizontalSpeed)
{
	EntityWorld someWorld({ LevelTile{ 1, 0, true, {} } });
	Entity someEntity;
	someEntity.myUsesGravity = false;
	someEntity.myPosition = { -10.0f, 0.0f };
	someEntity.myVelocity = { 1000.0f, 300.0f };
	someEntity.MoveAndCollide(someWorld.myContext);
	EXPECT_EQ(someEntity.myContactSide.x, -1);
	EXPECT_EQ(someEntity.myContactSide.y, 0);
	EXPECT_FLOAT_EQ(someEntity.myVelocity.x, 0.0f);
	EXPECT_FLOAT_EQ(someEntity.myVelocity.y, 300.0f);
	EXPECT_FLOAT_EQ(someEntity.myPosition.x, 0.0f);
	EXPECT_NEAR(someEntity.myPosition.y, 15.0f, 1e-4f);
}

TEST(EntityMove, LandingResetsAirTimeAndTheFloorKeepsHoldingUnderGravity)
{
	EntityWorld someWorld({ LevelTile{ 0, 0, true, {} } });
	Entity someEntity;
	someEntity.myPosition = { 0.0f, 110.0f };
	someEntity.myVelocity = { 0.0f, -1000.0f };
	someEntity.myAirTime = 3.0f;
	someEntity.MoveAndCollide(someWorld.myContext);
	EXPECT_EQ(someEntity.myContactSide.y, 1);
	EXPECT_FLOAT_EQ(someEntity.myAirTime, 0.0f);
	EXPECT_FLOAT_EQ(someEntity.myPosition.y, 100.0f);
	// Falling gravity: 5032 x 1.25 for one frame.
	EXPECT_FLOAT_EQ(someEntity.myVelocity.y, -6290.0f * FRAME);

	for (int someFrame = 0; someFrame < 20; ++someFrame)
		someEntity.MoveAndCollide(someWorld.myContext);
	EXPECT_FLOAT_EQ(someEntity.myPosition.y, 100.0f);
	EXPECT_FLOAT_EQ(someEntity.myAirTime, 0.0f);
}

TEST(EntityMove, CeilingStopsTheRiseAndGravityTakesOverAtTheFallingRate)
{
	EntityWorld someWorld({ LevelTile{ 0, 2, true, {} } });
	Entity someEntity;
	someEntity.myPosition = { 0.0f, 90.0f };
	someEntity.myVelocity = { 0.0f, 1000.0f };
	someEntity.MoveAndCollide(someWorld.myContext);
	EXPECT_EQ(someEntity.myContactSide.y, -1);
	EXPECT_FLOAT_EQ(someEntity.myPosition.y, 100.0f);
	EXPECT_FLOAT_EQ(someEntity.myVelocity.y, -6290.0f * FRAME);
}

TEST(EntityMove, RisingFeelsPlainGravityAndFallingIsClamped)
{
	EntityWorld someWorld({});
	Entity someEntity;
	someEntity.myVelocity = { 0.0f, 1000.0f };
	someEntity.MoveAndCollide(someWorld.myContext);
	EXPECT_FLOAT_EQ(someEntity.myVelocity.y, 1000.0f - 5032.0f * FRAME);

	someEntity.myVelocity = { 0.0f, -9990.0f };
	someEntity.MoveAndCollide(someWorld.myContext);
	EXPECT_FLOAT_EQ(someEntity.myVelocity.y, -10000.0f);
}

TEST(EntityMove, WithoutTileCollisionNothingMovesButAirTimeGrows)
{
	EntityWorld someWorld({});
	Entity someEntity;
	someEntity.myUsesTileCollision = false;
	someEntity.myPosition = { 5.0f, 6.0f };
	someEntity.myVelocity = { 100.0f, 100.0f };
	someEntity.myContactSide = { 1, 1 };
	someEntity.MoveAndCollide(someWorld.myContext);
	someEntity.MoveAndCollide(someWorld.myContext);
	EXPECT_EQ(someEntity.myPosition, (Norv::Vector2<float>{ 5.0f, 6.0f }));
	EXPECT_EQ(someEntity.myVelocity, (Norv::Vector2<float>{ 100.0f, 100.0f }));
	EXPECT_EQ(someEntity.myContactSide, (Norv::Vector2<int>{ 1, 1 }));
	EXPECT_FLOAT_EQ(someEntity.myAirTime, 2.0f * FRAME);
}

TEST(EntityDamage, HealthStopsAtZeroAndDeathZeroesTheKnockback)
{
	CountingEntity someEntity;
	someEntity.TakeDamage({ 0.5f, { 30.0f, 40.0f }, "", nullptr });
	EXPECT_FLOAT_EQ(someEntity.myHealth, 1.5f);
	EXPECT_EQ(someEntity.myVelocity, (Norv::Vector2<float>{ 30.0f, 40.0f }));
	EXPECT_EQ(someEntity.myDeaths, 0);

	someEntity.myVelocity = { 999.0f, 999.0f };
	someEntity.TakeDamage({ 2.0f, { 10.0f, 20.0f }, "", nullptr });
	EXPECT_FLOAT_EQ(someEntity.myHealth, 0.0f);
	EXPECT_EQ(someEntity.myDeaths, 1);
	EXPECT_TRUE(someEntity.myIsDead);
	EXPECT_EQ(someEntity.myVelocity, (Norv::Vector2<float>{}));
	EXPECT_FALSE(someEntity.myShouldRemove);

	someEntity.TakeDamage({ 0.0f, {}, "", nullptr });
	EXPECT_EQ(someEntity.myDeaths, 2);
}

TEST(PickupBase, ModelsBobAroundAStillColliderAndSpin)
{
	DashPickup somePickup;
	EXPECT_EQ(somePickup.myColliderSize, (Norv::Vector2<float>{ 50.0f, 50.0f }));
	EXPECT_FALSE(somePickup.myUsesGravity);
	FrameContext someContext;
	someContext.deltaTime = 0.1f;
	float someHighest = 0.0f;
	for (int someFrame = 0; someFrame < 26; ++someFrame)
	{
		somePickup.MoveAndCollide(someContext);
		somePickup.Update(someContext);
		someHighest = std::max(someHighest, somePickup.myModelOffset.y);
	}
	EXPECT_NEAR(somePickup.myModelOffset.y, std::sin(2.6f * 2.5f) * 23.0f, 1e-3f);
	EXPECT_NEAR(someHighest, 23.0f, 0.1f);
	EXPECT_EQ(somePickup.myPosition, (Norv::Vector2<float>{}));
	EXPECT_NEAR(somePickup.myRotation.y, 2.6f * 150.0f, 1e-3f);
}
