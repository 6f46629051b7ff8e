// Playing a clip: time steps, looping, the end state and sampling between frames.
#include "model/AnimationPlayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace
{
	// Frame f moves joint 0 to x = f and turns it f * 3 degrees about z.
	std::shared_ptr<Norv::Animation> CountingClip(std::uint32_t aFrames, float aRate)
	{
		auto someClip = std::make_shared<Norv::Animation>();
		someClip->myFrameCount = aFrames;
		someClip->myFrameRate = aRate;
		someClip->myDuration = aRate > 0.0f && aFrames > 0 ? static_cast<float>(aFrames - 1) / aRate : 0.0f;
		someClip->myFrames.resize(aFrames);
		for (std::uint32_t f = 0; f < aFrames; ++f)
		{
			Norv::SkeletonPose& somePose = someClip->myFrames[f];
			somePose.myJointCount = 2;
			somePose.myJoints[0].myTranslation = { static_cast<float>(f), 0.0f, 0.0f };
			const float someHalf = static_cast<float>(f) * 1.5f * 3.14159265f / 180.0f;
			somePose.myJoints[0].myRotation = Norv::Quaternion(std::cos(someHalf), 0.0f, 0.0f, std::sin(someHalf));
		}
		return someClip;
	}

	Norv::AnimationPlayer Playing(std::shared_ptr<Norv::Animation> aClip, bool aLoop)
	{
		Norv::AnimationPlayer somePlayer;
		somePlayer.SetAnimation(std::move(aClip));
		somePlayer.SetLooping(aLoop);
		somePlayer.SetState(Norv::ANIMATION_STATE_PLAYING);
		return somePlayer;
	}

	float X(const Norv::AnimationPlayer& aPlayer) { return aPlayer.GetPose().myJoints[0].myTranslation.x; }
}

TEST(AnimationPlayer, NewPlayerTakesTheClipsFrameRateAndAdvancesOnlyWhenPlaying)
{
	Norv::AnimationPlayer somePlayer;
	EXPECT_EQ(somePlayer.GetState(), Norv::ANIMATION_STATE_NEW);
	EXPECT_EQ(somePlayer.GetSpeed(), 1.0f);
	EXPECT_TRUE(somePlayer.IsInterpolating());
	somePlayer.Update(0.1f); // no clip: nothing to sample, nothing breaks
	somePlayer.SetAnimation(CountingClip(31, 30.0f));
	EXPECT_EQ(somePlayer.GetFrameRate(), 30.0f);
	somePlayer.Update(0.2f);
	EXPECT_EQ(somePlayer.GetTime(), 0.0f);
	EXPECT_EQ(somePlayer.GetPose().myJointCount, 2u);
}

TEST(AnimationPlayer, SamplesFrame15AtHalfASecondAndThreeTenthsTowardFrame16Later)
{
	Norv::AnimationPlayer somePlayer = Playing(CountingClip(31, 30.0f), false);
	somePlayer.SetTime(0.5f);
	somePlayer.UpdatePose();
	EXPECT_NEAR(X(somePlayer), 15.0f, 1e-4f);
	somePlayer.SetTime(0.51f);
	somePlayer.UpdatePose();
	EXPECT_NEAR(X(somePlayer), 15.3f, 1e-3f);
	// Rotation by slerp: 45.9 degrees about z, half angle 22.95.
	EXPECT_NEAR(somePlayer.GetPose().myJoints[0].myRotation.z, std::sin(22.95f * 3.14159265f / 180.0f), 1e-4f);

	somePlayer.SetInterpolating(false);
	somePlayer.UpdatePose();
	EXPECT_EQ(X(somePlayer), 15.0f);
}

TEST(AnimationPlayer, OvershootWithoutLoopClampsFinishesAndHoldsTheLastFrame)
{
	Norv::AnimationPlayer somePlayer = Playing(CountingClip(31, 30.0f), false);
	somePlayer.Update(0.9f);
	somePlayer.Update(0.3f);
	EXPECT_EQ(somePlayer.GetTime(), 1.0f);
	EXPECT_EQ(somePlayer.GetState(), Norv::ANIMATION_STATE_FINISHED);
	EXPECT_NEAR(X(somePlayer), 30.0f, 1e-4f);
	somePlayer.Update(5.0f); // finished: no more advancing
	EXPECT_NEAR(X(somePlayer), 30.0f, 1e-4f);
}

TEST(AnimationPlayer, LoopingStepOfTwoAndAHalfDurationsWrapsTwiceAndTheLastFrameBlendsIntoTheFirst)
{
	Norv::AnimationPlayer somePlayer = Playing(CountingClip(31, 30.0f), true);
	somePlayer.Update(2.5f);
	EXPECT_NEAR(somePlayer.GetTime(), 0.5f, 1e-5f);
	EXPECT_EQ(somePlayer.GetState(), Norv::ANIMATION_STATE_PLAYING);

	// Half a frame past frame 29 (of 0..30) lies between 29 and 30; the position
	// on frame 30 itself blends toward frame 0.
	somePlayer.SetState(Norv::ANIMATION_STATE_SWITCHED_AWAY);
	somePlayer.SetTime(29.5f / 30.0f);
	somePlayer.UpdatePose();
	EXPECT_NEAR(X(somePlayer), 29.5f, 1e-3f);
}

TEST(AnimationPlayer, SpeedScalesTheStepAndSpeedZeroStillResamples)
{
	Norv::AnimationPlayer somePlayer = Playing(CountingClip(31, 30.0f), false);
	somePlayer.SetSpeed(0.5f);
	somePlayer.Update(0.2f);
	EXPECT_NEAR(somePlayer.GetTime(), 0.1f, 1e-6f);
	somePlayer.SetSpeed(0.0f);
	somePlayer.SetAnimation(CountingClip(31, 15.0f)); // same time, other clip: the pose follows
	somePlayer.Update(1.0f);
	EXPECT_NEAR(somePlayer.GetTime(), 0.1f, 1e-6f);
	EXPECT_NEAR(X(somePlayer), 1.5f, 1e-3f);
}

TEST(AnimationPlayer, DegenerateClipsAndTimesGiveNoNaNAndNoFrameOutOfRange)
{
	// A looping one-frame clip has duration 0: the step ends and holds frame 0.
	Norv::AnimationPlayer someSingle = Playing(CountingClip(1, 30.0f), true);
	someSingle.Update(0.1f);
	EXPECT_EQ(someSingle.GetTime(), 0.0f);
	EXPECT_EQ(X(someSingle), 0.0f);

	// Frame rate 0: every time is frame 0.
	Norv::AnimationPlayer someStill = Playing(CountingClip(5, 0.0f), false);
	someStill.SetTime(3.0f);
	someStill.UpdatePose();
	EXPECT_EQ(X(someStill), 0.0f);

	Norv::AnimationPlayer somePlayer = Playing(CountingClip(31, 30.0f), true);
	for (float someTime : { -2.0f, 1e30f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN() })
	{
		somePlayer.SetTime(someTime);
		somePlayer.UpdatePose();
		EXPECT_TRUE(std::isfinite(X(somePlayer))) << someTime;
		EXPECT_GE(X(somePlayer), 0.0f);
		EXPECT_LE(X(somePlayer), 30.0f);
	}
	// A huge looping step wraps into the clip in bounded time.
	somePlayer.SetTime(0.0f);
	somePlayer.Update(1e9f);
	EXPECT_GE(somePlayer.GetTime(), 0.0f);
	EXPECT_LT(somePlayer.GetTime(), 1.0f);
	// A clip without frames leaves the pose alone.
	Norv::AnimationPlayer someEmpty = Playing(std::make_shared<Norv::Animation>(), true);
	someEmpty.Update(1.0f);
	EXPECT_EQ(someEmpty.GetPose().myJointCount, 0u);
}
