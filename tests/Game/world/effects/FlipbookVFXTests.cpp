#include "Game/world/entities/PlayerWorld.h"
#include "Support/RunningEngine.h"

#include "world/FrameContext.h"
#include "world/effects/FlipbookVFX.h"
#include "world/effects/FlipbookTable.h"
#include "world/entities/Player.h"

#include "graphics/Texture.h"
#include "graphics/TextureManager.h"

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

	// Where each effect other than the dashes is placed, and which are mirrored or
	// turned, for a player running either way.
	enum Anchor { STORED, ARGUMENT_XY, ARGUMENT, PLAYER, PLAYER_Z0 };
	struct Placement
	{
		int myId;
		Anchor myAnchor;
		Norv::Vector2<float> myLift;   // added to the anchor
		Norv::Vector2<float> myCells;  // corner = anchor + cells x (w, h) + shift
		Norv::Vector2<float> myShift;
		bool myIsMirrored;
		float myTurn;                  // degrees
		float myCellScale = 1.0f;      // frame size over the sheet's cell
		float myDrawScale = 1.0f;      // drawn size over the placed size
		float mySide = 0.0f;
		float myDirection = 1.0f;
		bool myIsRunningLeft = false;
	};

	const Placement PLACEMENTS[] = {
		{ 0, STORED, {}, { -1.0f, 1.0f }, {}, false, 0.0f, 1.0f, 2.0f },
		{ 1, STORED, {}, { -1.0f, 1.0f }, {}, false, 0.0f, 1.0f, 2.0f },
		{ 6, STORED, {}, { -1.0f, 0.5f }, {}, false, 0.0f, 1.0f, 2.0f },
		{ 6, STORED, {}, { 1.0f, 0.5f }, {}, true, 0.0f, 1.0f, 2.0f, 0.0f, 1.0f, true },
		{ 7, STORED, {}, {}, {}, false, 0.0f },
		{ 7, STORED, {}, {}, {}, false, 90.0f, 1.0f, 1.0f, -1.0f },
		{ 7, STORED, {}, {}, {}, true, -90.0f, 1.0f, 1.0f, 1.0f },
		{ 8, ARGUMENT_XY, {}, { -0.5f, 0.5f }, {}, false, 0.0f },
		{ 9, ARGUMENT_XY, {}, { -0.5f, 0.5f }, {}, false, 0.0f, 2.0f },
		{ 10, PLAYER, {}, { -0.5f, 0.5f }, {}, false, 0.0f },
		{ 10, PLAYER, {}, { 0.5f, 0.5f }, {}, true, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, true },
		{ 11, STORED, {}, { -0.5f, 0.5f }, {}, false, 0.0f },
		{ 12, STORED, {}, { -0.5f, 0.5f }, {}, false, 0.0f },
		{ 13, PLAYER, { 0.0f, 45.0f }, { -0.5f, 0.5f }, {}, false, 0.0f },
		{ 14, PLAYER, { 100.0f, 45.0f }, { -0.5f, 0.5f }, { -100.0f, -70.0f }, false, 0.0f },
		{ 15, PLAYER, { 0.0f, 45.0f }, { -0.5f, 0.5f }, { -25.0f, -40.0f }, false, 0.0f },
		{ 16, PLAYER, { 0.0f, 150.0f }, { -0.5f, 0.5f }, { -20.0f, -50.0f }, false, 0.0f },
		{ 16, PLAYER, { 0.0f, 150.0f }, { 0.5f, 0.5f }, { 10.0f, -50.0f }, true, 0.0f, 1.0f, 1.0f, 0.0f, -1.0f },
		{ 17, PLAYER, { 0.0f, -200.0f }, { 0.5f, 0.5f }, { 10.0f, 185.0f }, true, 0.0f },
		{ 18, PLAYER, { 0.0f, -200.0f }, { -0.5f, 0.5f }, { -40.0f, 185.0f }, false, 0.0f },
		{ 19, STORED, {}, {}, {}, false, 0.0f },
		{ 19, STORED, {}, { 0.0f, -1.0f }, {}, false, 90.0f, 1.0f, 1.0f, -1.0f },
		{ 19, STORED, {}, { 0.0f, -1.0f }, {}, true, -90.0f, 1.0f, 1.0f, 1.0f },
		{ 20, STORED, {}, { -1.0f, 1.0f }, {}, false, 0.0f, 1.0f, 2.0f },
		{ 21, ARGUMENT, {}, { -0.5f, 0.5f }, {}, false, 0.0f },
		{ 22, ARGUMENT, {}, { -0.5f, 0.5f }, {}, false, 0.0f },
		{ 23, STORED, {}, { -0.5f, 0.5f }, {}, false, 0.0f },
		{ 24, STORED, {}, { -0.5f, 0.5f }, {}, false, 0.0f, 2.0f },
		{ 25, STORED, {}, { -0.5f, 0.5f }, {}, false, 0.0f, 2.0f },
		{ 26, PLAYER_Z0, {}, { -0.5f, 0.5f }, {}, false, 0.0f, 2.0f },
	};

	using FlipbookPlacements = NorvTest::PlayerWorldTest;

	TEST_F(FlipbookPlacements, EveryEffectSitsMirrorsAndTurnsAsItsIdSays)
	{
		Load(NorvTest::FLAT_FLOOR, 30);
		const Norv::Vector3<float> STORED_AT{ 100.0f, 200.0f, -50.0f };
		const Norv::Vector3<float> ARGUMENT_AT{ 300.0f, 400.0f, 25.0f };
		for (const Placement& someCase : PLACEMENTS)
		{
			Step(2, { { someCase.myIsRunningLeft ? InputAction::Left : InputAction::Right } });
			const FlipbookTable::Sheet& someSheet = *FlipbookTable::Find(someCase.myId);
			const Norv::Vector2<unsigned int> someSheetSize = Norv::TextureManager::GetCurrent()->GetTexture(someSheet.myPath, Norv::TEXTURE_MODE_FORCE_SRGB)->mySize;
			const float w = static_cast<float>(someSheetSize.x / static_cast<unsigned int>(someSheet.myColumns)) * someCase.myCellScale;
			const float h = static_cast<float>(someSheetSize.y / static_cast<unsigned int>(someSheet.myRows)) * someCase.myCellScale;
			const Norv::Vector2<float> p = P().myPosition;
			const Norv::Vector3<float> ANCHORS[] = { STORED_AT, { ARGUMENT_AT.x, ARGUMENT_AT.y, STORED_AT.z }, ARGUMENT_AT, { p.x, p.y, STORED_AT.z }, { p.x, p.y, 0.0f } };
			const Norv::Vector3<float> a = ANCHORS[someCase.myAnchor];

			FlipbookVFX someEffect;
			someEffect.Init(someCase.myId);
			someEffect.mySide = someCase.mySide;
			someEffect.PlayAt(STORED_AT, someCase.myDirection);
			someEffect.Update(myWorld.myState.GetFrameContext(), ARGUMENT_AT);

			const std::string someName = "id " + std::to_string(someCase.myId) + " side " + std::to_string(someCase.mySide) + " direction " + std::to_string(someCase.myDirection)
				+ (someCase.myIsRunningLeft ? " running left" : " running right");
			const Norv::Matrix4x4& m = someEffect.GetSprite().myTransform;
			EXPECT_NEAR(m(4, 1), a.x + someCase.myLift.x + someCase.myCells.x * w + someCase.myShift.x, 0.01f) << someName;
			EXPECT_NEAR(m(4, 2), a.y + someCase.myLift.y + someCase.myCells.y * h + someCase.myShift.y, 0.01f) << someName;
			EXPECT_FLOAT_EQ(m(4, 3), a.z) << someName;
			const float someWidth = (someCase.myIsMirrored ? -w : w) * someCase.myDrawScale;
			const float someHeight = h * someCase.myDrawScale;
			const float c = std::cos(someCase.myTurn * 3.14159265f / 180.0f);
			const float s = std::sin(someCase.myTurn * 3.14159265f / 180.0f);
			EXPECT_NEAR(m(1, 1), c * someWidth, 0.01f) << someName;
			EXPECT_NEAR(m(1, 2), s * someWidth, 0.01f) << someName;
			EXPECT_NEAR(m(2, 1), -s * someHeight, 0.01f) << someName;
			EXPECT_NEAR(m(2, 2), c * someHeight, 0.01f) << someName;
		}
	}
}
