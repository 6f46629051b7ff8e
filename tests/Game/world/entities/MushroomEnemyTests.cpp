#include "LevelWorld.h"

#include "world/effects/FlipbookVFX.h"
#include "world/entities/MushroomEnemy.h"

#include <algorithm>

namespace
{
	using NorvTest::LevelWorldTest;

	const std::map<char, std::string> LEGEND{ { 'M', "MushroomEnemy" }, { 'P', "Player" } };

	class MushroomTest : public LevelWorldTest
	{
	protected:
		MushroomEnemy& M() { return *Find<MushroomEnemy>(); }
	};

	TEST_F(MushroomTest, TouchingItCostsAPetalAndThrowsThePlayer1500SidewaysAnd1200Up)
	{
		Load({ "                    ", "  P       M         ", "####################" }, LEGEND);
		Step(70); // past the player's spawn grace
		ASSERT_NE(Find<MushroomEnemy>(), nullptr);
		// The player is updated first: the knockback stands as the mushroom gave it.
		P().myPosition = { M().myPosition.x + 60.0f, M().myPosition.y };
		Step(1);
		EXPECT_FLOAT_EQ(P().myPetals, 4.0f);
		EXPECT_FLOAT_EQ(P().myVelocity.x, 1500.0f);
		EXPECT_FLOAT_EQ(P().myVelocity.y, 1200.0f);
		EXPECT_FALSE(M().myIsDead); // it never attacks: nothing else happened to it
	}

	TEST_F(MushroomTest, ADeadMushroomStopsWalkingAndSteppingHurtsNobodyAndGoesAfterASecond)
	{
		Load({ "                    ", "  P       M         ", "####################" }, LEGEND);
		Step(70);
		const float someWalkStart = M().myPosition.x;
		Step(30);
		ASSERT_NE(M().myPosition.x, someWalkStart); // alive, it walks

		M().TakeDamage({ 2.0f, {}, "", nullptr });
		ASSERT_TRUE(M().myIsDead);
		Step(1);
		const float someDeadX = M().myPosition.x;
		const float someFootstepTimer = M().myFootstepTimer;
		Step(20);
		EXPECT_FLOAT_EQ(M().myPosition.x, someDeadX);
		EXPECT_FLOAT_EQ(M().myFootstepTimer, someFootstepTimer);
		EXPECT_FLOAT_EQ(M().myRotation.x, -90.0f); // fallen over
		EXPECT_LT(M().GetFogEffect().GetSprite().myColor.a, 0.4f); // the cloud fades with it

		P().myPosition = M().myPosition;
		Step(1);
		EXPECT_FLOAT_EQ(P().myPetals, 5.0f);
		// A hit on the corpse changes nothing.
		M().TakeDamage({ 1.0f, { 500.0f, 0.0f }, "", nullptr });
		EXPECT_EQ(M().myVelocity, (Norv::Vector2<float>{}));
		Step(40);
		EXPECT_EQ(Find<MushroomEnemy>(), nullptr);
	}

	TEST_F(MushroomTest, ItPatrolsAPlatformEndToEndWithoutFallingOff)
	{
		Load({ "                    ", "       M            ", "                    ", "     ######         ", "                    ", "                    ",
			"####################" },
			LEGEND);
		Step(60);
		const float someTop = M().myPosition.y;
		float someLeft = M().myPosition.x;
		float someRight = M().myPosition.x;
		for (int someFrame = 0; someFrame < 20 * 60; ++someFrame)
		{
			Step(1);
			someLeft = std::min(someLeft, M().myPosition.x);
			someRight = std::max(someRight, M().myPosition.x);
			ASSERT_NEAR(M().myPosition.y, someTop, 1.0f) << "fell off at frame " << someFrame;
		}
		// The platform spans x 450 to 1050: it walks most of it, both ways.
		EXPECT_LT(someLeft, 600.0f);
		EXPECT_GT(someRight, 900.0f);
	}

	TEST_F(MushroomTest, TheSwordKnocksItBackAndTwoStrikesKillIt)
	{
		Load({ "                    ", "       P M          ", "####################" }, LEGEND);
		Step(70);
		M().myPosition.x = P().myPosition.x + 200.0f;
		M().myVelocity = {};
		Press(InputAction::Attack);
		EXPECT_FLOAT_EQ(M().myHealth, 1.0f);
		EXPECT_TRUE(M().GetHitEffect().IsPlaying());
		EXPECT_TRUE(P().IsAttackLanded());
		Step(30);
		M().myPosition.x = P().myPosition.x + 200.0f;
		Press(InputAction::Attack);
		EXPECT_TRUE(M().myIsDead);
	}
}
