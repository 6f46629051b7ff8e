#include "Support/RunningEngine.h"

#include "world/FrameContext.h"
#include "world/effects/FlipbookVFX.h"
#include "world/entities/Player.h"

#include <gtest/gtest.h>

namespace
{
	constexpr float PLACEHOLDER_SIZE = 512.0f; // texels of a sheet that is missing

	// Updates aEffect aSteps times at aDeltaTime; the frame index after each.
	std::vector<int> Play(FlipbookVFX& anEffect, const FrameContext& aContext, int aSteps)
	{
		std::vector<int> someFrames;
		for (int someStep = 0; someStep < aSteps && anEffect.IsPlaying(); ++someStep)
		{
			anEffect.Update(aContext, {});
			if (anEffect.IsPlaying())
				someFrames.push_back(anEffect.GetFrameIndex());
		}
		return someFrames;
	}

	std::vector<int> Range(int aFirst, int aLast, int aStep)
	{
		std::vector<int> someValues;
		for (int someValue = aFirst; someValue <= aLast; someValue += aStep)
			someValues.push_back(someValue);
		return someValues;
	}

	TEST(FlipbookVFX, ANonLoopingFourByFourSheetShowsFrames0To15AndStopsOnTheUpdateThatWouldShow16)
	{
		FrameContext someContext;
		someContext.deltaTime = 0.05f;
		FlipbookVFX someEffect;
		someEffect.Init(6);
		someEffect.PlayAt({ 1.0f, 2.0f, 3.0f }, 1.0f);
		EXPECT_EQ(someEffect.GetFrameIndex(), 0);
		EXPECT_EQ(Play(someEffect, someContext, 15), Range(1, 15, 1));
		EXPECT_TRUE(someEffect.IsPlaying());
		const Norv::Vector4<float> someLast = someEffect.GetSprite().mySecondRect;
		EXPECT_EQ(someLast, (Norv::Vector4<float>{ 0.75f, 0.75f, 1.0f, 1.0f }));
		someEffect.Update(someContext, {});
		EXPECT_FALSE(someEffect.IsPlaying());
		EXPECT_EQ(someEffect.GetFrameIndex(), 0);
	}

	TEST(FlipbookVFX, ADashSheetStepsTwoFramesAtATimeAndALoopingOneRestarts)
	{
		FrameContext someContext;
		someContext.deltaTime = 0.01f;
		FlipbookVFX someDash;
		someDash.Init(2);
		someDash.PlayAt({}, 1.0f);
		EXPECT_EQ(Play(someDash, someContext, 40), Range(2, 62, 2));
		EXPECT_FALSE(someDash.IsPlaying());

		someContext.deltaTime = 0.055f;
		FlipbookVFX someButterfly;
		someButterfly.Init(21);
		someButterfly.PlayAt({}, 1.0f);
		EXPECT_EQ(Play(someButterfly, someContext, 10), (std::vector<int>{ 1, 2, 3, 4, 5, 6, 7, 8, 0, 1 }));
		EXPECT_TRUE(someButterfly.IsPlaying());
	}

	TEST(FlipbookVFX, PlayAtOnAPlayingEffectChangesNothing)
	{
		FrameContext someContext;
		someContext.deltaTime = 0.05f;
		FlipbookVFX someEffect;
		someEffect.Init(11);
		someEffect.PlayAt({ 10.0f, 20.0f, 30.0f }, 1.0f);
		Play(someEffect, someContext, 3);
		someEffect.PlayAt({ 99.0f, 99.0f, 99.0f }, -1.0f);
		EXPECT_EQ(someEffect.GetPosition(), (Norv::Vector3<float>{ 10.0f, 20.0f, 30.0f }));
		EXPECT_EQ(someEffect.GetFrameIndex(), 3);
	}

	TEST(FlipbookVFX, IdsPastTheTableNeverPlay)
	{
		FlipbookVFX someEffect;
		someEffect.Init(27);
		someEffect.PlayAt({}, 1.0f);
		EXPECT_FALSE(someEffect.IsPlaying());
		someEffect.Init(-1);
		someEffect.PlayAt({}, 1.0f);
		EXPECT_FALSE(someEffect.IsPlaying());
	}

	TEST(FlipbookVFX, TheWalkingPoolIsMadeOnceForAnEngineAndAfreshAfterItsRelease)
	{
		FlipbookVFX::ReleaseWalkingPool();
		FlipbookVFX::CreateWalkingPool();
		ASSERT_EQ(FlipbookVFX::GetWalkingPool().size(), 20u);
		const FlipbookVFX* someFirst = FlipbookVFX::GetWalkingPool().front().get();
		FlipbookVFX::CreateWalkingPool();
		EXPECT_EQ(FlipbookVFX::GetWalkingPool().size(), 20u);
		EXPECT_EQ(FlipbookVFX::GetWalkingPool().front().get(), someFirst);

		// Released with its engine, the next engine's first use makes it again.
		FlipbookVFX::ReleaseWalkingPool();
		EXPECT_TRUE(FlipbookVFX::GetWalkingPool().empty());
		FlipbookVFX::CreateWalkingPool();
		EXPECT_EQ(FlipbookVFX::GetWalkingPool().size(), 20u);
		FlipbookVFX::ReleaseWalkingPool();
	}

	class FlipbookPlacement : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			if (!myEngine.IsStarted())
				GTEST_SKIP() << "the engine did not start headless";
			myPlayer = std::make_unique<Player>();
			myPlayer->myPosition = { 1000.0f, 500.0f };
			myContext.deltaTime = 0.001f;
			myContext.player = myPlayer.get();
		}
		Norv::Vector3<float> Translation(const FlipbookVFX& anEffect)
		{
			const Norv::Matrix4x4& m = anEffect.GetSprite().myTransform;
			return { m(4, 1), m(4, 2), m(4, 3) };
		}

		NorvTest::RunningEngine myEngine;
		std::unique_ptr<Player> myPlayer;
		FrameContext myContext;
	};

	TEST_F(FlipbookPlacement, ADashAtMinus45DegreesStores315AndUsesOctant7)
	{
		FlipbookVFX someDash;
		someDash.Init(2);
		someDash.myRotation = -45.0f;
		someDash.PlayAt({}, 1.0f);
		someDash.Update(myContext, {});
		EXPECT_FLOAT_EQ(someDash.myRotation, 315.0f);
		const float w = PLACEHOLDER_SIZE / 8.0f;
		const Norv::Vector3<float> someCorner = Translation(someDash);
		EXPECT_NEAR(someCorner.x, 1000.0f - w / 2.0f - 50.0f, 0.01f);
		EXPECT_NEAR(someCorner.y, 500.0f + w / 2.0f + 400.0f, 0.01f);
		EXPECT_FLOAT_EQ(someCorner.z, 0.0f);
	}

	TEST_F(FlipbookPlacement, AttackDownLeftIsAlwaysMirroredAndFollowsThePlayer)
	{
		FlipbookVFX someEffect;
		someEffect.Init(17);
		someEffect.PlayAt({ 0.0f, 0.0f, -50.0f }, 1.0f);
		someEffect.Update(myContext, {});
		const float w = PLACEHOLDER_SIZE / 7.0f;
		const float h = PLACEHOLDER_SIZE / 4.0f;
		const Norv::Matrix4x4& m = someEffect.GetSprite().myTransform;
		EXPECT_NEAR(m(1, 1), -std::floor(w), 0.01f);
		EXPECT_NEAR(m(2, 2), h, 0.01f);
		const Norv::Vector3<float> someCorner = Translation(someEffect);
		EXPECT_NEAR(someCorner.x, 1000.0f + std::floor(w) / 2.0f + 10.0f, 0.01f);
		EXPECT_NEAR(someCorner.y, 500.0f - 200.0f + h / 2.0f + 185.0f, 0.01f);
		EXPECT_FLOAT_EQ(someCorner.z, -50.0f);
	}
}
