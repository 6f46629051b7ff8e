// Checkpoints, ability pickups with the book showcase, and the ending trigger in
// a stepped level.
#include "Game/world/entities/MechanismWorld.h"

#include "world/effects/FlipbookVFX.h"
#include "world/entities/BookShowcase.h"
#include "world/entities/Checkpoint.h"
#include "world/entities/IPickupAble.h"

using NorvTest::Property;
using NorvTest::SceneObject;
using NorvTest::WriteDefinition;
using nlohmann::json;

namespace
{
	const NorvTest::FrameInput LEFT{ { InputAction::Left } };
	const NorvTest::FrameInput RIGHT{ { InputAction::Right } };

	// ---------------------------------------------------------------- checkpoints

	class Checkpoints : public NorvTest::MechanismWorldTest
	{
	protected:
		void LoadTwo()
		{
			Load({ "            ", "   C P   C  ", "############" }, { { 'C', "Checkpoint" } });
			for (const auto& someEntity : myWorld.myState.GetEntities())
				if (auto* someCheckpoint = dynamic_cast<Checkpoint*>(someEntity.get()))
					(myLeft ? myRight : myLeft) = someCheckpoint;
			ASSERT_NE(myRight, nullptr);
		}
		Checkpoint* myLeft = nullptr;
		Checkpoint* myRight = nullptr;
	};

	TEST_F(Checkpoints, TouchingLightsOnceAndStartsTheFireTwoSecondsLater)
	{
		LoadTwo();
		EXPECT_FALSE(myRight->myIsLit);
		StepUntil([this] { return myRight->myIsLit; }, 240, RIGHT);
		ASSERT_TRUE(myRight->myIsLit);
		EXPECT_EQ(P().myRespawnPoint, myRight->myPosition);
		EXPECT_TRUE(myRight->myStartEffect->IsPlaying());
		EXPECT_FALSE(myRight->myFireEffect->IsPlaying());

		// Standing in it for the next frames neither relights it nor holds the fire back,
		// and its start flame plays once.
		const int someFrames = StepUntil([this] { return myRight->myFireEffect->IsPlaying(); }, 240);
		EXPECT_NEAR(someFrames * NorvTest::SteppedWorld::FRAME, Checkpoint::FIRE_DELAY, 2.0f * NorvTest::SteppedWorld::FRAME);
		EXPECT_TRUE(myRight->myIsLit);
		StepUntil([this] { return !myRight->myStartEffect->IsPlaying(); }, 60);
		Step(5);
		EXPECT_FALSE(myRight->myStartEffect->IsPlaying());
		EXPECT_EQ(P().myRespawnPoint, myRight->myPosition);
	}

	TEST_F(Checkpoints, EveryTouchMovesTheRespawnPointEvenToALitCheckpoint)
	{
		LoadTwo();
		StepUntil([this] { return myRight->myIsLit; }, 240, RIGHT);
		StepUntil([this] { return myLeft->myIsLit; }, 480, LEFT);
		ASSERT_TRUE(myLeft->myIsLit);
		EXPECT_EQ(P().myRespawnPoint, myLeft->myPosition);
		const float someDelay = myRight->myFireDelay;
		// Back to the right one, already lit.
		StepUntil([this] { return P().myRespawnPoint == myRight->myPosition; }, 480, RIGHT);
		EXPECT_EQ(P().myRespawnPoint, myRight->myPosition);
		EXPECT_LE(myRight->myFireDelay, someDelay);

		// Dying sends the player back there, standing on the floor the campfire sits in.
		P().Die();
		StepUntil([this] { return !P().myIsDead; }, 120);
		EXPECT_FALSE(P().myIsDead);
		constexpr float FLOOR_STANDING_Y = 50.0f + 75.0f; // the floor's top plus half the player's collider
		EXPECT_EQ(P().myPosition, (Norv::Vector2<float>{ myRight->myPosition.x, FLOOR_STANDING_Y }));
	}

	// ---------------------------------------------------------------- pickups and the showcase

	class Pickups : public NorvTest::MechanismWorldTest
	{
	protected:
		void LoadPickup(bool aWithShowcase)
		{
			json someExtra = json::array();
			if (aWithShowcase)
			{
				WriteDefinition(Folder(), "Showcase", json::array({ Property("entityId", "StringId", "bookShowcase") }));
				someExtra.push_back(SceneObject("showcase", "Showcase", { 0.0f, 3000.0f, 0.0f }));
			}
			Load({ "          ", "  P   D   ", "##########" }, { { 'D', "DashPickup" } }, someExtra);
			ASSERT_NE(Find<DashPickup>(), nullptr);
		}
		// Walks right until the pickup is gone; the code of the frame it went.
		int Collect()
		{
			int someCode = 0;
			for (int someFrame = 0; someFrame < 240 && Find<DashPickup>(); ++someFrame)
				someCode = Step(1, RIGHT);
			return someCode;
		}
	};

	TEST_F(Pickups, TouchingOneGrantsItsAbilityAndOpensTheShowcaseWithTheControllerOff)
	{
		LoadPickup(true);
		EXPECT_FALSE(AbilityFlags[Ability::DASH]);
		EXPECT_EQ(Collect(), StateTransition::AbilityPage);
		EXPECT_EQ(Find<DashPickup>(), nullptr);
		EXPECT_TRUE(AbilityFlags[Ability::DASH]);
		BookShowcase* someShowcase = Find<BookShowcase>();
		ASSERT_NE(someShowcase, nullptr);
		EXPECT_TRUE(someShowcase->myIsShowing);
		EXPECT_FALSE(P().GetController().IsActive());
		EXPECT_FALSE(P().myCanAttack);
		// The page is asked for once.
		EXPECT_EQ(Step(1), StateTransition::Stay);

		someShowcase->Hide();
		EXPECT_FALSE(someShowcase->myIsShowing);
		EXPECT_TRUE(P().GetController().IsActive());
		EXPECT_TRUE(P().myCanAttack);
	}

	TEST_F(Pickups, WithoutAShowcaseTheAbilityIsGrantedSilently)
	{
		LoadPickup(false);
		EXPECT_EQ(Collect(), StateTransition::Stay);
		EXPECT_EQ(Find<DashPickup>(), nullptr);
		EXPECT_TRUE(AbilityFlags[Ability::DASH]);
		EXPECT_TRUE(P().GetController().IsActive());
		EXPECT_FALSE(myWorld.myState.myIsShowcaseRequested);
	}
}
