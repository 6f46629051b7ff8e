#include "world/animation/DestructibleAnimator.h"
#include "world/animation/FlowerAnimator.h"
#include "world/animation/FlyingEnemyAnimator.h"
#include "world/animation/MushroomAnimator.h"
#include "world/animation/PatrollingEnemyAnims.h"
#include "world/animation/PlayerAnimations.h"
#include "world/entities/Player.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
	constexpr float FRAME = 1.0f / 60.0f;

	// A one-joint clip of aFrames frames at 10 frames per second.
	Norv::AnimationPlayer MakePlayer(std::uint32_t aFrames)
	{
		auto someClip = std::make_shared<Norv::Animation>();
		someClip->myFrameCount = aFrames;
		someClip->myFrameRate = 10.0f;
		someClip->myDuration = static_cast<float>(aFrames - 1) / 10.0f;
		Norv::SkeletonPose somePose;
		somePose.myJointCount = 1;
		someClip->myFrames.assign(aFrames, somePose);
		Norv::AnimationPlayer somePlayer;
		somePlayer.SetAnimation(someClip);
		return somePlayer;
	}

	using PlayerAnims::PlayerAnimations;

	class PlayerAnimationsTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			// Every clip 6 s long, so the exit offsets of the table take effect.
			for (int someIndex = 0; someIndex <= PlayerAnimations::SLIDING; ++someIndex)
			{
				Animations().AddState(MakePlayer(61), someIndex, "clip");
			}
		}
		PlayerAnimations& Animations() { return static_cast<PlayerAnimations&>(*myPlayer.GetAnimator()); }
		int Current() { return Animations().GetCurrentStateIndex(); }
		void Step(int aFrames = 1)
		{
			for (int someFrame = 0; someFrame < aFrames; ++someFrame)
			{
				Animations().Update(FRAME);
			}
		}
		void Run()
		{
			myPlayer.myAirTime = 0.0f;
			myPlayer.myVelocity = { 850.0f, -0.1f };
			Step(2);
		}

		Player myPlayer;
	};

	TEST_F(PlayerAnimationsTest, WalkingOffALedgeKeepsRunningUntilTheFallIsFasterThan175)
	{
		Run();
		ASSERT_EQ(Current(), PlayerAnimations::RUNNING);
		myPlayer.myAirTime = 0.1f;
		myPlayer.myVelocity.y = -175.0f;
		Step();
		EXPECT_EQ(Animations().SelectState(), -1);
		EXPECT_EQ(Current(), PlayerAnimations::RUNNING);
		myPlayer.myVelocity.y = -176.0f;
		Step();
		EXPECT_EQ(Current(), PlayerAnimations::FALLING_RUN);
		// Landing from it plays the run landing, which cannot be interrupted.
		myPlayer.myAirTime = 0.0f;
		Step();
		EXPECT_EQ(Current(), PlayerAnimations::LANDING_RUN);
		myPlayer.myVelocity.x = 0.0f;
		Step();
		EXPECT_EQ(Current(), PlayerAnimations::LANDING_RUN);
	}

	TEST_F(PlayerAnimationsTest, ASpeedOfExactly100IsNotMoving)
	{
		Run();
		myPlayer.myVelocity.x = -100.0f;
		Step();
		EXPECT_EQ(Current(), PlayerAnimations::IDLE);
		myPlayer.myVelocity.x = 100.5f;
		Step();
		EXPECT_EQ(Current(), PlayerAnimations::RUNNING);
	}

	// Test doubles holding the state the enemy animators read.
	struct FakeHedgehog : Entity
	{
		bool myIsGettingUp = false, myIsRollingUp = false, myIsUnrolling = false, myIsRolling = false;
		int myMode = 0;
	};
	struct FakeWasp : Entity
	{
		bool myIsAttacking = false;
		int myMode = 1;
	};
	struct FakeFlower : Entity
	{
		int myState = 0;
	};
	struct FakeCrystal : Entity
	{
		bool myIsDestroyed = false;
	};

	TEST(EnemyAnimators, AHurtRollingHedgehogShowsDamagedAndAStunnedOneRollStunned)
	{
		FakeHedgehog someHedgehog;
		EnemyAnims::PatrollingEnemyAnimsFor<FakeHedgehog> someAnims;
		someAnims.Init(&someHedgehog);
		using Anims = EnemyAnims::PatrollingEnemyAnimsFor<FakeHedgehog>;
		EXPECT_EQ(someAnims.SelectState(), Anims::WALK);
		someHedgehog.myIsRolling = true;
		EXPECT_EQ(someAnims.SelectState(), Anims::ROLL);
		someHedgehog.myIsHurt = true;
		EXPECT_EQ(someAnims.SelectState(), Anims::DAMAGED);
		someHedgehog.myIsHurt = false;
		someHedgehog.myMode = 3;
		EXPECT_EQ(someAnims.SelectState(), Anims::ROLL_STUNNED);
		someHedgehog.myIsGettingUp = true;
		EXPECT_EQ(someAnims.SelectState(), Anims::ROLL_STUNNED_BACK_UP);
		EXPECT_FLOAT_EQ(someAnims.GetState(Anims::DEATH).startTime, 0.25f);
		EXPECT_FLOAT_EQ(someAnims.GetState(Anims::ROLL).exitOffset, 0.7f);
		EXPECT_TRUE(someAnims.GetState(Anims::IDLE).player.IsLooping());
	}

	TEST(EnemyAnimators, AnAnimatorOnAnEntityOfAnotherClassHasNoPreference)
	{
		FakeWasp someWasp;
		EnemyAnims::PatrollingEnemyAnimsFor<FakeHedgehog> someAnims;
		someAnims.Init(&someWasp);
		EXPECT_EQ(someAnims.SelectState(), -1);
	}

	TEST(EnemyAnimators, WaspMushroomAndFlowerFollowTheirOwnersState)
	{
		FakeWasp someWasp;
		FlyingEnemyAnims::FlyingEnemyAnimatorFor<FakeWasp> someWaspAnims;
		someWaspAnims.Init(&someWasp);
		using Wasp = FlyingEnemyAnims::FlyingEnemyAnimatorFor<FakeWasp>;
		EXPECT_EQ(someWaspAnims.SelectState(), Wasp::FLYING);
		someWasp.myMode = 2;
		EXPECT_EQ(someWaspAnims.SelectState(), Wasp::FLYING_CHARGE);
		someWasp.myIsAttacking = true;
		EXPECT_EQ(someWaspAnims.SelectState(), Wasp::ATTACK);
		EXPECT_FALSE(someWaspAnims.GetState(Wasp::ATTACK).interruptible);

		Entity someMushroom;
		MushroomEnemyAnims::MushroomAnimatorFor<Entity> someMushroomAnims;
		someMushroomAnims.Init(&someMushroom);
		someMushroom.myIsHurt = true;
		EXPECT_EQ(someMushroomAnims.SelectState(), 2);
		someMushroom.myIsDead = true;
		EXPECT_EQ(someMushroomAnims.SelectState(), 3);

		FakeFlower someFlower;
		FlowerAnims::FlowerAnimatorFor<FakeFlower> someFlowerAnims;
		someFlowerAnims.Init(&someFlower);
		using Flower = FlowerAnims::FlowerAnimatorFor<FakeFlower>;
		for (const int someMode : { 0, 4, -7 })
		{
			someFlower.myState = someMode;
			EXPECT_EQ(someFlowerAnims.SelectState(), Flower::SLEEPING);
		}
		someFlower.myState = 2;
		EXPECT_EQ(someFlowerAnims.SelectState(), Flower::OPENING);
		EXPECT_FLOAT_EQ(someFlowerAnims.GetState(Flower::CLOSING).speed, 1.2f);
	}

	TEST(EnemyAnimators, TheWaspsAttackEndsAtItsClipsEnd)
	{
		FakeWasp someWasp;
		using Wasp = FlyingEnemyAnims::FlyingEnemyAnimatorFor<FakeWasp>;
		Wasp someAnims;
		someAnims.Init(&someWasp);
		someAnims.AddState(MakePlayer(6), Wasp::FLYING, "Flying");
		someAnims.AddState(MakePlayer(6), Wasp::ATTACK, "Attack");
		someWasp.myIsAttacking = true;
		someAnims.Update(FRAME);
		someAnims.Update(FRAME);
		ASSERT_EQ(someAnims.GetCurrentStateIndex(), Wasp::ATTACK);
		someWasp.myIsAttacking = false;
		// Not interruptible: it plays on while the wasp has stopped stinging...
		someAnims.Update(FRAME);
		EXPECT_EQ(someAnims.GetCurrentStateIndex(), Wasp::ATTACK);
		// ...and gives way once its 0.5 s clip is over.
		for (int someFrame = 0; someFrame < 60; ++someFrame)
			someAnims.Update(FRAME);
		EXPECT_EQ(someAnims.GetCurrentStateIndex(), Wasp::FLYING);
	}

	TEST(EnemyAnimators, ACrystalAnimatesOnlyOnceDestroyedAndNotFromItsFirstState)
	{
		FakeCrystal someCrystal;
		DestructibleAnims::DestructibleAnimatorFor<FakeCrystal> someAnims;
		someAnims.Init(&someCrystal);
		someAnims.AddState(MakePlayer(11), 0, "destroyed");
		someAnims.Update(0.1f);
		EXPECT_EQ(someAnims.GetState(0).player.GetState(), Norv::ANIMATION_STATE_NEW);
		someCrystal.myIsDestroyed = true;
		someAnims.Update(0.1f);
		EXPECT_EQ(someAnims.GetState(0).player.GetState(), Norv::ANIMATION_STATE_NEW);
		// The destroyed crystal runs the base update itself.
		someAnims.Animator::Update(0.1f);
		EXPECT_FLOAT_EQ(someAnims.GetState(0).player.GetTime(), 0.1f * 0.45f);
	}
}
