// Every shipped level brings the player back on its feet: at each campfire and at
// the level's start, a respawn stands on the ground there and stays there, and a
// death in the Tutorial's hedgehog hollow ends standing by the campfire.
#include "ShippedLevels.h"

#include "world/entities/Checkpoint.h"
#include "world/entities/PatrollingEnemy.h"

namespace
{
	constexpr int SECOND = 60;                // frames
	constexpr float STANDING_TOLERANCE = 1.0f; // units a player at rest may move in a step
	constexpr float CHECKPOINT_REACH = 400.0f; // units, half the campfire's collider height

	class ShippedRespawn : public NorvTest::ShippedLevelTest, public ::testing::WithParamInterface<const char*>
	{
	protected:
		// Respawns at aPoint and expects the player standing near it, still there a moment later.
		void ExpectStandingRespawn(Norv::Vector2<float> aPoint, const std::string& aWhat)
		{
			SCOPED_TRACE(std::string(GetParam()) + ", " + aWhat + " at (" + std::to_string(aPoint.x) + ", " + std::to_string(aPoint.y) + ")");
			Player& someP = ThePlayer();
			someP.myRespawnPoint = aPoint;
			someP.myPetals = 1.0f;
			someP.Respawn();
			const Norv::Vector2<float> someBack = someP.myPosition;
			EXPECT_FLOAT_EQ(someP.myPetals, Player::MAX_PETALS);
			EXPECT_NEAR(someBack.x, aPoint.x, STANDING_TOLERANCE);
			EXPECT_NEAR(someBack.y, aPoint.y, CHECKPOINT_REACH);
			myWorld.Step(SECOND / 2);
			// Inside solid tiles the player falls through them; above the ground it falls onto it.
			EXPECT_LE(someP.myAirTime, 0.0f);
			EXPECT_NEAR(someP.myPosition.y, someBack.y, STANDING_TOLERANCE);
			EXPECT_NEAR(someP.myPosition.x, someBack.x, STANDING_TOLERANCE);
			EXPECT_FALSE(someP.myIsDead);
		}
	};

	TEST_P(ShippedRespawn, EveryCheckpointAndTheStartBringThePlayerBackStandingOnTheGround)
	{
		Load(GetParam());
		ASSERT_NE(myWorld.myState.GetFrameContext().player, nullptr);
		const Norv::Vector2<float> someStart = ThePlayer().myPosition;
		// Before any campfire the player comes back where the level put it.
		EXPECT_EQ(ThePlayer().myRespawnPoint, someStart);
		ExpectStandingRespawn(someStart, "the start");
		for (const Checkpoint* someCheckpoint : All<Checkpoint>())
			ExpectStandingRespawn(someCheckpoint->myPosition, "a checkpoint");
	}

	INSTANTIATE_TEST_SUITE_P(Levels, ShippedRespawn, ::testing::Values("Tutorial", "Hub", "Level_1", "Level_2", "Ending"));

	using TutorialDeath = NorvTest::ShippedLevelTest;

	// The hedgehog hollow beyond the first campfire: the hedgehog's hits take every
	// petal, and the player comes back standing by the campfire, not falling again.
	TEST_F(TutorialDeath, DyingInTheHedgehogHollowBringsThePlayerBackStandingByTheCampfire)
	{
		Load("Tutorial");
		std::vector<Checkpoint*> someCampfires = All<Checkpoint>();
		ASSERT_FALSE(someCampfires.empty());
		const Checkpoint& someCampfire = **std::min_element(someCampfires.begin(), someCampfires.end(),
			[](const Checkpoint* aFirst, const Checkpoint* aSecond) { return aFirst->myPosition.x < aSecond->myPosition.x; });
		// The hollow's hedgehog: the first one beyond the campfire.
		const PatrollingEnemy* someHedgehog = nullptr;
		for (const PatrollingEnemy* someEnemy : All<PatrollingEnemy>())
			if (someEnemy->myPosition.x > someCampfire.myPosition.x && (!someHedgehog || someEnemy->myPosition.x < someHedgehog->myPosition.x))
				someHedgehog = someEnemy;
		ASSERT_NE(someHedgehog, nullptr);

		// Walk onto the campfire's plateau from above and touch it.
		PlaceAt({ someCampfire.myPosition.x - 200.0f, someCampfire.myPosition.y + 300.0f });
		myWorld.Step(SECOND, { { InputAction::Right } });
		ASSERT_EQ(ThePlayer().myRespawnPoint, someCampfire.myPosition);
		const float someCampfireGround = ThePlayer().myPosition.y;

		// Into the hollow beside the hedgehog, and back at it after every knock until the petals run out.
		PlaceAt({ someHedgehog->myPosition.x - 150.0f, someHedgehog->myPosition.y + 50.0f });
		int someFrames = 0;
		while (!ThePlayer().myIsDead && someFrames++ < 60 * SECOND)
			myWorld.Step(1, { { someHedgehog->myPosition.x > ThePlayer().myPosition.x ? InputAction::Right : InputAction::Left } });
		ASSERT_TRUE(ThePlayer().myIsDead) << "the hedgehog never killed the player; petals " << ThePlayer().myPetals;

		while (ThePlayer().myIsDead && someFrames++ < 62 * SECOND)
			myWorld.Step(1);
		ASSERT_FALSE(ThePlayer().myIsDead);
		EXPECT_FLOAT_EQ(ThePlayer().myPetals, Player::MAX_PETALS);
		EXPECT_NEAR(ThePlayer().myPosition.x, someCampfire.myPosition.x, STANDING_TOLERANCE);
		EXPECT_NEAR(ThePlayer().myPosition.y, someCampfireGround, STANDING_TOLERANCE);
		// Three seconds later it still stands there: no fall out of the world, no second death.
		for (int someFrame = 0; someFrame < 3 * SECOND; ++someFrame)
		{
			myWorld.Step(1);
			ASSERT_FALSE(ThePlayer().myIsDead) << "frame " << someFrame;
			ASSERT_NEAR(ThePlayer().myPosition.y, someCampfireGround, STANDING_TOLERANCE) << "frame " << someFrame;
		}
		EXPECT_LE(ThePlayer().myAirTime, 0.0f);
		EXPECT_FLOAT_EQ(ThePlayer().myPetals, Player::MAX_PETALS);
	}
}
