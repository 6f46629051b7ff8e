#include "PlayerWorld.h"

#include "world/entities/IPickupAble.h"

#include "engine/DrawCalls.h"

namespace
{
	using NorvTest::PlayerWorldTest;

	constexpr float HURT_TIME = 0.7f; // s

	// A checkpoint as the player sees it: a pickup of type 0.
	class TestCheckpoint : public IPickupAble
	{
	public:
		int GetPickupType() override { return 0; }
	};

	using PlayerHealth = PlayerWorldTest;

	DamageInfo Hit(float aDamage = 1.0f) { return { aDamage, { 300.0f, 400.0f }, "", nullptr }; }

	TEST_F(PlayerHealth, AHitWithin07SecondsOfTheLastIsIgnoredEntirely)
	{
		Load(NorvTest::FLAT_FLOOR, 70); // past the spawn grace
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f);
		EXPECT_TRUE(P().myIsHurt);
		Step(30);
		P().myVelocity = {};
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f);
		EXPECT_EQ(P().myVelocity, (Norv::Vector2<float>{}));
		Step(15);
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 3.0f);
	}

	TEST_F(PlayerHealth, DamageIsIgnoredDuringTheFirstSecond)
	{
		Load(NorvTest::FLAT_FLOOR, 50);
		P().TakeDamage(Hit());
		EXPECT_FLOAT_EQ(P().myPetals, 5.0f);
	}

	TEST_F(PlayerHealth, FiveHitsKillTheFifthOnlyPlaysTheDeathAndTheCheckpointRespawnsWithFivePetals)
	{
		Load(NorvTest::FLAT_FLOOR, 70);
		TestCheckpoint someCheckpoint;
		someCheckpoint.myPosition = { 700.0f, 300.0f };
		P().OnCollision(someCheckpoint);
		EXPECT_EQ(P().myRespawnPoint, someCheckpoint.myPosition);

		const CameraController& someCamera = myWorld.myState.GetCameraController();
		for (int someHit = 1; someHit <= 4; ++someHit)
		{
			P().TakeDamage(Hit());
			EXPECT_GT(someCamera.myShakeRemaining, 0.0f);
			Step(static_cast<int>(HURT_TIME * 60.0f) + 5);
		}
		ASSERT_FLOAT_EQ(P().myPetals, 1.0f);
		ASSERT_LE(someCamera.myShakeRemaining, 0.0f);
		P().TakeDamage(Hit());
		EXPECT_TRUE(P().myIsDead);
		EXPECT_FALSE(P().myIsHurt);
		EXPECT_LE(someCamera.myShakeRemaining, 0.0f);
		EXPECT_TRUE(P().IsDeathSoundPlayed());
		EXPECT_FALSE(C().IsActive());

		Step(30);
		EXPECT_TRUE(P().myIsDead);
		Step(31);
		EXPECT_FALSE(P().myIsDead);
		EXPECT_FLOAT_EQ(P().myPetals, 5.0f);
		EXPECT_TRUE(C().IsActive());
		EXPECT_FALSE(P().IsDeathSoundPlayed());
		EXPECT_NEAR(P().myPosition.x, 700.0f, 20.0f);
	}

	TEST_F(PlayerHealth, FallingBelowMinus30000RespawnsAtOnceWithoutDying)
	{
		Load(NorvTest::FLAT_FLOOR);
		P().myRespawnPoint = { 500.0f, 400.0f };
		P().myPosition.y = -30100.0f;
		P().myVelocity = {};
		Step(1);
		EXPECT_EQ(P().myPosition, (Norv::Vector2<float>{ 500.0f, 400.0f }));
		EXPECT_FALSE(P().myIsDead);
	}

	TEST_F(PlayerHealth, AnAbilityPickupGrantsItsAbilityAndIsRemoved)
	{
		Load(NorvTest::FLAT_FLOOR);
		DashPickup somePickup;
		P().OnCollision(somePickup);
		EXPECT_TRUE(AbilityFlags[Ability::DASH]);
		EXPECT_FALSE(AbilityFlags[Ability::CLIMB]);
		EXPECT_TRUE(somePickup.myShouldRemove);
	}

	using PlayerAttack = PlayerWorldTest;

	TEST_F(PlayerAttack, UpWinsOverDownAndGivesABoxTwiceTheColliderWideAnd200Higher)
	{
		Load(NorvTest::FLAT_FLOOR);
		Step(1, { { InputAction::Up, InputAction::Down } });
		P().Attack(&myWorld.myState.GetTileGrid());
		ASSERT_TRUE(P().IsAttacking());
		EXPECT_EQ(P().myAttackDirection, 1);
		EXPECT_FLOAT_EQ(P().GetAttackBox().w, 2.0f * 96.0f);
		EXPECT_FLOAT_EQ(P().GetAttackBox().y, P().myPosition.y + 200.0f);
		EXPECT_FLOAT_EQ(P().GetAttackBox().x, P().myPosition.x + 60.0f);
		ASSERT_EQ(myWorld.myState.myDebugHitBoxes.size(), 1u);
		// While it runs the box follows the player, 100 above it.
		Step(1, { { InputAction::Up } });
		EXPECT_FLOAT_EQ(myWorld.myState.myDebugHitBoxes.front().y, P().myPosition.y + 100.0f);
		Step(30);
		EXPECT_FALSE(P().IsAttacking());
		EXPECT_TRUE(myWorld.myState.myDebugHitBoxes.empty());
	}

	using PlayerHud = PlayerWorldTest;

	TEST_F(PlayerHud, TheHeadUpDisplayDrawsTheBudAndOnePetalPerPetalLeft)
	{
		Load(NorvTest::FLAT_FLOOR);
		for (const auto& [somePetals, someDraws] : { std::pair{ 5.0f, 6u }, std::pair{ 2.5f, 4u }, std::pair{ 0.0f, 1u } })
		{
			P().myPetals = somePetals;
			const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
			P().DrawHud();
			EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount() - someBefore, someDraws) << somePetals << " petals";
		}
	}
}
