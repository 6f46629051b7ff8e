#include "world/animation/Animator.h"
#include "world/entities/Entity.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
	constexpr float FRAME_RATE = 10.0f; // frames per second of the test clips

	// A one-joint clip whose joint's translation x is the frame's time in seconds.
	std::shared_ptr<Norv::Animation> MakeClip(std::uint32_t aFrameCount)
	{
		auto someClip = std::make_shared<Norv::Animation>();
		someClip->myFrameCount = aFrameCount;
		someClip->myFrameRate = FRAME_RATE;
		someClip->myDuration = aFrameCount > 0 ? static_cast<float>(aFrameCount - 1) / FRAME_RATE : 0.0f;
		for (std::uint32_t someFrame = 0; someFrame < aFrameCount; ++someFrame)
		{
			Norv::SkeletonPose somePose;
			somePose.myJointCount = 1;
			somePose.myJoints[0].myTranslation.x = static_cast<float>(someFrame) / FRAME_RATE;
			someClip->myFrames.push_back(somePose);
		}
		return someClip;
	}

	Norv::AnimationPlayer MakePlayer(std::uint32_t aFrameCount, bool aLoop = false)
	{
		Norv::AnimationPlayer somePlayer;
		somePlayer.SetAnimation(MakeClip(aFrameCount));
		somePlayer.SetLooping(aLoop);
		return somePlayer;
	}

	// An animator whose selection the test sets.
	class ScriptedAnimator : public Animator
	{
	public:
		explicit ScriptedAnimator(int aStateCount) : Animator(aStateCount) {}
		void Update(float aDeltaTime) override { Animator::Update(aDeltaTime); }
		int SelectState() override { return mySelection; }

		using Animator::myAnyTransition;
		int mySelection = -1;
	};

	float ShownX(const Animator& anAnimator) { return anAnimator.GetShownPose().myJoints[0].myTranslation.x; }

	class AnimatorTest : public ::testing::Test
	{
	protected:
		void SetUp() override { myAnimator.Init(&myOwner); }

		Entity myOwner;
		ScriptedAnimator myAnimator{ 4 };
	};

	TEST_F(AnimatorTest, ANonInterruptibleStateWithExitOffsetZeroIsLeftExactlyWhenItsClipFinishes)
	{
		myAnimator.AddState(MakePlayer(5), 0, "Attack"); // 0.4 s
		myAnimator.AddState(MakePlayer(11, true), 1, "Idle");
		myAnimator.GetState(0).exitOffset = 0.0f;
		myAnimator.GetState(0).allowedTransitions = 1u << 3;
		myAnimator.mySelection = 1;
		int someFrames = 0;
		while (myAnimator.GetCurrentStateIndex() == 0 && someFrames < 100)
		{
			myAnimator.Update(0.1f);
			++someFrames;
		}
		// Four updates take the clip to its end; the fifth sees it ended.
		EXPECT_EQ(someFrames, 5);
		EXPECT_EQ(myAnimator.GetCurrentStateIndex(), 1);
		EXPECT_EQ(myAnimator.GetState(0).player.GetState(), Norv::ANIMATION_STATE_SWITCHED_AWAY);
		EXPECT_FLOAT_EQ(myAnimator.GetState(0).player.GetTime(), 0.0f);
	}

	TEST_F(AnimatorTest, AnyTransitionSwitchesOnEveryChangeOfSelectionButAStateNeverBoundIsNoSwitch)
	{
		myAnimator.myAnyTransition = true;
		for (int someIndex = 0; someIndex < 2; ++someIndex)
		{
			myAnimator.AddState(MakePlayer(11, true), someIndex, "state");
			myAnimator.GetState(someIndex).interruptible = true;
		}
		myAnimator.mySelection = 1;
		myAnimator.Update(0.016f);
		EXPECT_EQ(myAnimator.GetCurrentStateIndex(), 1);
		myAnimator.mySelection = 0;
		myAnimator.Update(0.016f);
		EXPECT_EQ(myAnimator.GetCurrentStateIndex(), 0);
		// State 2 was never bound: its index field is still 0, the current one's.
		myAnimator.mySelection = 2;
		myAnimator.Update(0.016f);
		EXPECT_EQ(myAnimator.GetCurrentStateIndex(), 0);
	}

	TEST_F(AnimatorTest, ReenteringAFinishedStateRestartsItFromTheStart)
	{
		myAnimator.myAnyTransition = true;
		myAnimator.AddState(MakePlayer(3), 0, "Once"); // 0.2 s
		myAnimator.AddState(MakePlayer(11, true), 1, "Loop");
		myAnimator.GetState(0).interruptible = true;
		myAnimator.GetState(1).interruptible = true;
		myAnimator.mySelection = 0;
		for (int someFrame = 0; someFrame < 2; ++someFrame)
		{
			myAnimator.Update(0.15f);
		}
		myAnimator.mySelection = 1;
		myAnimator.Update(0.15f);
		myAnimator.mySelection = 0;
		myAnimator.Update(0.05f);
		// Shown at time 0 (before the step), now advanced by one step only.
		EXPECT_FLOAT_EQ(myAnimator.GetState(0).player.GetTime(), 0.05f);
		EXPECT_EQ(myAnimator.GetState(0).player.GetState(), Norv::ANIMATION_STATE_PLAYING);
	}

	TEST_F(AnimatorTest, ASecondSwitchWithinTheBlendTimeCrossFadesFromThePoseAtTheSecondSwitch)
	{
		myAnimator.myAnyTransition = true;
		for (int someIndex = 0; someIndex < 3; ++someIndex)
		{
			myAnimator.AddState(MakePlayer(21, true), someIndex, "state");
			myAnimator.GetState(someIndex).interruptible = true;
		}
		myAnimator.mySelection = 0;
		for (int someFrame = 0; someFrame < 10; ++someFrame)
		{
			myAnimator.Update(0.05f); // state 0 reaches 0.5 s
		}
		myAnimator.mySelection = 1;
		myAnimator.Update(0.05f);
		EXPECT_TRUE(myAnimator.IsBlending());
		EXPECT_FLOAT_EQ(myAnimator.GetBlendFromPose().myJoints[0].myTranslation.x, 0.5f);
		EXPECT_NEAR(ShownX(myAnimator), 0.25f, 1e-5f); // halfway from 0.5 to state 1's 0
		myAnimator.mySelection = 2;
		myAnimator.Update(0.02f);
		// The new cross-fade starts from state 1's pose (0.05 s in), not from 0.5.
		EXPECT_NEAR(myAnimator.GetBlendFromPose().myJoints[0].myTranslation.x, 0.05f, 1e-5f);
		EXPECT_NEAR(ShownX(myAnimator), 0.05f * 0.8f, 1e-5f);
		myAnimator.Update(0.1f);
		EXPECT_FALSE(myAnimator.IsBlending());
		EXPECT_NEAR(ShownX(myAnimator), 0.02f, 1e-5f);
	}

	TEST_F(AnimatorTest, AStateWithoutAClipBorrowsStateOnesPlayerAndNothingPlaysWhenStateOneHasNone)
	{
		myAnimator.myAnyTransition = true;
		myAnimator.GetState(0).interruptible = true;
		myAnimator.mySelection = 0;
		for (int someFrame = 0; someFrame < 3; ++someFrame)
		{
			myAnimator.Update(0.1f);
		}
		EXPECT_EQ(myAnimator.GetShownPose().myJointCount, 0u);
		EXPECT_FALSE(myAnimator.GetState(0).player.GetAnimation());

		myAnimator.AddState(MakePlayer(11, true), 1, "Running");
		myAnimator.Update(0.1f);
		EXPECT_TRUE(myAnimator.GetState(0).player.GetAnimation());
		EXPECT_EQ(myAnimator.GetShownPose().myJointCount, 1u);
	}

	TEST_F(AnimatorTest, AClipShorterThanItsExitOffsetStillPlaysThroughAndEndsAtItsEnd)
	{
		myAnimator.AddState(MakePlayer(6), 0, "Landing"); // 0.5 s, far shorter than the offset
		myAnimator.AddState(MakePlayer(11, true), 1, "Idle");
		myAnimator.GetState(0).exitOffset = 3.75f;
		myAnimator.GetState(0).allowedTransitions = 1u << 3;
		myAnimator.mySelection = 1;
		float someLastX = -1.0f;
		for (int someFrame = 0; someFrame < 5; ++someFrame)
		{
			myAnimator.Update(0.1f);
			EXPECT_EQ(myAnimator.GetCurrentStateIndex(), 0);
			EXPECT_GT(ShownX(myAnimator), someLastX);
			someLastX = ShownX(myAnimator);
		}
		myAnimator.Update(0.1f);
		myAnimator.Update(0.1f);
		EXPECT_EQ(myAnimator.GetCurrentStateIndex(), 1);
	}

	TEST_F(AnimatorTest, ALoopingClipOfZeroDurationHoldsItsOnlyFrame)
	{
		myAnimator.AddState(MakePlayer(1, true), 0, "Still");
		myAnimator.mySelection = 0;
		for (int someFrame = 0; someFrame < 3; ++someFrame)
		{
			myAnimator.Update(0.1f);
		}
		EXPECT_FLOAT_EQ(myAnimator.GetState(0).player.GetTime(), 0.0f);
		EXPECT_EQ(myAnimator.GetShownPose().myJointCount, 1u);
	}

	TEST_F(AnimatorTest, AddStateKeepsTheLoopFlagOfTheStateAndIgnoresIndicesOutsideTheTable)
	{
		myAnimator.GetState(2).player.SetLooping(true);
		myAnimator.AddState(MakePlayer(4, false), 2, "Walk");
		EXPECT_TRUE(myAnimator.GetState(2).player.IsLooping());
		EXPECT_EQ(myAnimator.GetState(2).index, 2);
		EXPECT_EQ(myAnimator.GetState(2).name, "Walk");
		myAnimator.AddState(MakePlayer(4), 4, "Outside");
		myAnimator.AddState(MakePlayer(4), -1, "Outside");
		EXPECT_EQ(myAnimator.GetStateCount(), 4);
	}
}
