// Doors, levers with their gates, and spikes in a stepped level.
#include "Game/world/entities/MechanismWorld.h"

#include "world/entities/BookShowcase.h"
#include "world/entities/Checkpoint.h"
#include "world/entities/Door.h"
#include "world/entities/EndingTrigger.h"
#include "world/entities/Gate.h"
#include "world/entities/Lever.h"
#include "world/entities/PatrollingEnemy.h"
#include "world/entities/Spikes.h"

#include "stringRegistry/StringRegistry.h"

using NorvTest::Property;
using NorvTest::SceneObject;
using NorvTest::WriteDefinition;
using nlohmann::json;

namespace
{
	const NorvTest::FrameInput UP{ { InputAction::Up } };
	const NorvTest::FrameInput RIGHT{ { InputAction::Right } };
	const NorvTest::FrameInput ATTACK{ { InputAction::Attack } };

	// ---------------------------------------------------------------- doors

	class Doors : public NorvTest::MechanismWorldTest
	{
	protected:
		// The player on a floor with a door at anX: one that leads to "Hub", or one without a target.
		void LoadWithDoor(float anX, bool aHasTarget)
		{
			WriteDefinition(Folder(), "HubDoor", json::array({ Property("entityId", "StringId", "Door"), Property("targetScene", "StringId", "Hub") }));
			Load({ "        ", "  P     ", "########" }, { { 'd', "Door" } }, json::array({ SceneObject("door", aHasTarget ? "HubDoor" : "Door", { anX, 100.0f, 0.0f }) }));
		}
		const std::string& Pending() const { return myWorld.myState.GetPendingScenePath(); }
	};

	TEST_F(Doors, UpInsideADoorAsksForItsTargetScene)
	{
		LoadWithDoor(200.0f, true);
		Step(5);
		EXPECT_TRUE(Pending().empty());
		Step(1, UP);
		EXPECT_EQ(Pending(), "scenes/Hub.nvs");
	}

	TEST_F(Doors, UpBesideADoorDoesNothing)
	{
		LoadWithDoor(600.0f, true);
		Step(30, UP);
		EXPECT_TRUE(Pending().empty());
		EXPECT_TRUE(myWorld.myState.IsLevelLoaded());
	}

	TEST_F(Doors, ADoorWithoutATargetLeadsToAnEmptyLevelThatStillRuns)
	{
		LoadWithDoor(200.0f, false);
		Step(1, UP);
		EXPECT_EQ(Pending(), "scenes/.nvs");
		testing::internal::CaptureStderr();
		Step(10);
		testing::internal::GetCapturedStderr();
		EXPECT_TRUE(myWorld.myState.IsLevelLoaded());
		EXPECT_TRUE(myWorld.myState.GetEntities().empty());
		EXPECT_EQ(myWorld.myState.GetFrameContext().player, nullptr);
	}

	// ---------------------------------------------------------------- lever and gate

	class LeverAndGate : public NorvTest::MechanismWorldTest
	{
	protected:
		// The player, a lever within a sideways strike, and a gate further right.
		void LoadLevel()
		{
			Load({ "            ", "            ", "            ", "            ", "            ", " P L    G   ", "############" },
				{ { 'L', "Lever" }, { 'G', "Gate" } });
			myLever = Find<Lever>();
			myGate = Find<Gate>();
			ASSERT_NE(myLever, nullptr);
			ASSERT_NE(myGate, nullptr);
			ASSERT_EQ(myLever->myGate, myGate);
			ASSERT_EQ(myGate->myLever, myLever);
		}
		void Strike() { StepUntil([this] { return myLever->myIsPulled; }, 3, ATTACK); }

		Lever* myLever = nullptr;
		Gate* myGate = nullptr;
	};

	TEST_F(LeverAndGate, AClosedGateBlocksThePlayer)
	{
		LoadLevel();
		Step(180, RIGHT);
		EXPECT_LT(P().myPosition.x, 800.0f - 50.0f);
		EXPECT_FLOAT_EQ(myGate->myPosition.y, 100.0f);
	}

	TEST_F(LeverAndGate, StrikingTheLeverPansLocksInputAndRaisesTheGateToWalkUnder)
	{
		LoadLevel();
		Strike();
		ASSERT_TRUE(myLever->myIsPulled);
		EXPECT_FALSE(P().GetController().IsActive());
		Step(1);
		EXPECT_EQ(myWorld.myState.GetCameraController().myMode, CameraController::PAN_AND_RETURN);

		// Input stays off for 3.5 s: holding Right moves nothing.
		const float someStart = P().myPosition.x;
		Step(200, RIGHT);
		EXPECT_FLOAT_EQ(P().myPosition.x, someStart);
		// Rising since the strike's own frame.
		EXPECT_NEAR(myGate->myPosition.y, 100.0f + 202.0f * Gate::SPEED * NorvTest::SteppedWorld::FRAME, 2.0f);
		const int someLocked = StepUntil([this] { return P().GetController().IsActive(); }, 60, RIGHT);
		EXPECT_NEAR((201 + someLocked) * NorvTest::SteppedWorld::FRAME, Lever::LOCK_TIME, 2.0f * NorvTest::SteppedWorld::FRAME);

		// 400 units at 100 units/s, then under it.
		Step(60, RIGHT);
		EXPECT_NEAR(myGate->myPosition.y, 500.0f, 2.0f);
		EXPECT_NEAR(myLever->myRotation.z, Lever::PULLED_ANGLE, 0.01f);
		Step(120, RIGHT);
		EXPECT_GT(P().myPosition.x, 900.0f);
	}

	TEST_F(LeverAndGate, StrikingAPulledLeverAgainPlaysNothingAndLocksNothing)
	{
		LoadLevel();
		Strike();
		StepUntil([this] { return P().GetController().IsActive(); }, 300);
		ASSERT_TRUE(P().GetController().IsActive());
		Step(30);
		Step(3, ATTACK);
		Step(2);
		EXPECT_TRUE(P().GetController().IsActive());
		EXPECT_FALSE(myLever->myIsLockingPlayer);
	}

	TEST_F(LeverAndGate, TheLeverOnlyUnlocksWhatItLocked)
	{
		LoadLevel();
		Strike();
		// Something else takes the controller while the lever holds it: the page of a new ability.
		Step(30);
		BookShowcase someShowcase;
		someShowcase.myPlayer = &P();
		someShowcase.Show(2);
		Step(240);
		EXPECT_FALSE(myLever->myIsLockingPlayer);
		EXPECT_FALSE(P().GetController().IsActive());
		someShowcase.Hide();
		EXPECT_TRUE(P().GetController().IsActive());
	}

	TEST_F(LeverAndGate, AGateThatDoesNotPanLeavesTheInputOn)
	{
		WriteDefinition(Folder(), "QuietGate", json::array({ Property("entityId", "StringId", "Gate"), Property("panOnOpen", "Bool", false) }));
		Load({ "            ", " P L        ", "############" }, { { 'L', "Lever" } }, json::array({ SceneObject("gate", "QuietGate", { 800.0f, 100.0f, 0.0f }) }));
		Lever* someLever = Find<Lever>();
		ASSERT_NE(someLever, nullptr);
		StepUntil([someLever] { return someLever->myIsPulled; }, 3, ATTACK);
		ASSERT_TRUE(someLever->myIsPulled);
		EXPECT_TRUE(P().GetController().IsActive());
		Step(1);
		EXPECT_NE(myWorld.myState.GetCameraController().myMode, CameraController::PAN_AND_RETURN);
		EXPECT_GT(Find<Gate>()->myPosition.y, 100.0f);
	}

	// ---------------------------------------------------------------- spikes

	using SpikeBeds = NorvTest::MechanismWorldTest;

	TEST_F(SpikeBeds, TouchingSpikesKillsThePlayerAtOnce)
	{
		Load({ "        ", "  P  S  ", "########" }, { { 'S', "Spikes" } });
		EXPECT_FALSE(P().myIsDead);
		const float somePetals = P().myPetals;
		StepUntil([this] { return P().myIsDead; }, 120, RIGHT);
		EXPECT_TRUE(P().myIsDead);
		EXPECT_FLOAT_EQ(P().myPetals, somePetals);
		EXPECT_FALSE(P().GetController().IsActive());
	}

	TEST_F(SpikeBeds, TouchingSpikesKillsAHedgehog)
	{
		Load({ "          ", "P      H  ", "       S  ", "##########" }, { { 'S', "Spikes" }, { 'H', "PatrollingEnemy" } }, json::array(), 1);
		const auto* someHedgehog = Find<PatrollingEnemy>();
		ASSERT_NE(someHedgehog, nullptr);
		StepUntil([someHedgehog] { return someHedgehog->myIsDead; }, 120);
		EXPECT_TRUE(someHedgehog->myIsDead);
		EXPECT_FALSE(P().myIsDead);
	}

	TEST_F(SpikeBeds, OddQuarterTurnsSwapTheColliderAndKeepTheModelInPlace)
	{
		WriteDefinition(Folder(), "Spikes", json::array({ Property("entityId", "StringId", "Spikes"), Property("colliderOffset", "Float2", json::array({ 0, 0 })),
			Property("rotation", "Float3", json::array({ 0, 0, 0 })) }));
		const auto Turned = [](const char* aName, float aTurn) {
			return SceneObject(aName, "Spikes", { 1000.0f, 1000.0f, 0.0f },
				json::array({ Property("colliderOffset", "Float2", json::array({ 10, -20 })), Property("rotation", "Float3", json::array({ aTurn, 0, 0 })) }));
		};
		Load({ " P ", "###" }, {}, json::array({ Turned("plain", 0.0f), Turned("quarter", 90.0f), Turned("half", 180.0f), Turned("back", -270.0f) }), 1);
		std::vector<const Spikes*> someSpikes;
		for (const auto& someEntity : myWorld.myState.GetEntities())
			if (const auto* someBed = dynamic_cast<const Spikes*>(someEntity.get()))
				someSpikes.push_back(someBed);
		ASSERT_EQ(someSpikes.size(), 4u);
		for (std::size_t someIndex : { 0u, 2u })
		{
			EXPECT_EQ(someSpikes[someIndex]->myColliderSize, Norv::Vector2<float>(65.0f, 40.0f)) << someIndex;
			EXPECT_EQ(someSpikes[someIndex]->myPosition, Norv::Vector2<float>(1010.0f, 980.0f)) << someIndex;
		}
		for (std::size_t someIndex : { 1u, 3u })
		{
			const Spikes& someBed = *someSpikes[someIndex];
			EXPECT_EQ(someBed.myColliderSize, Norv::Vector2<float>(40.0f, 65.0f)) << someIndex;
			EXPECT_EQ(someBed.myModelOffset, Norv::Vector2<float>(20.0f, -10.0f)) << someIndex;
			// The model is drawn where it was: position plus model offset.
			EXPECT_EQ(someBed.myPosition, Norv::Vector2<float>(980.0f, 1010.0f)) << someIndex;
			EXPECT_EQ(someBed.myPosition + someBed.myModelOffset, Norv::Vector2<float>(1000.0f, 1000.0f)) << someIndex;
		}
	}
}

namespace
{
	using LeverLinks = NorvTest::MechanismWorldTest;

	TEST_F(LeverLinks, ALeverTakesTheFirstGateWithItsIdAndAnUnmatchedLeverStaysFree)
	{
		WriteDefinition(Folder(), "Lever3", json::array({ Property("entityId", "StringId", "Lever"), Property("connectedDoor", "Int", 3) }));
		WriteDefinition(Folder(), "Lever9", json::array({ Property("entityId", "StringId", "Lever"), Property("connectedDoor", "Int", 9) }));
		WriteDefinition(Folder(), "Gate3", json::array({ Property("entityId", "StringId", "Gate"), Property("connectedLever", "Int", 3) }));
		// A key on an entity of another class is ignored.
		WriteDefinition(Folder(), "Door3", json::array({ Property("entityId", "StringId", "Door"), Property("connectedLever", "Int", 3), Property("panOnOpen", "Bool", false) }));
		Load({ " P  ", "####" }, {},
			json::array({ SceneObject("first", "Gate3", { 1000.0f, 100.0f, 0.0f }), SceneObject("second", "Gate3", { 1500.0f, 100.0f, 0.0f }),
				SceneObject("door", "Door3", { 2000.0f, 100.0f, 0.0f }), SceneObject("lever", "Lever3", { 300.0f, 100.0f, 0.0f }),
				SceneObject("free", "Lever9", { 500.0f, 100.0f, 0.0f }) }),
			1);
		std::vector<Gate*> someGates;
		std::vector<Lever*> someLevers;
		for (const auto& someEntity : myWorld.myState.GetEntities())
		{
			if (auto* someGate = dynamic_cast<Gate*>(someEntity.get()))
				someGates.push_back(someGate);
			if (auto* someLever = dynamic_cast<Lever*>(someEntity.get()))
				someLevers.push_back(someLever);
		}
		ASSERT_EQ(someGates.size(), 2u);
		ASSERT_EQ(someLevers.size(), 2u);
		EXPECT_EQ(someLevers[0]->myGate, someGates[0]);
		EXPECT_EQ(someGates[0]->myLever, someLevers[0]);
		EXPECT_EQ(someGates[1]->myLever, nullptr);
		EXPECT_EQ(someLevers[1]->myGate, nullptr);
		EXPECT_TRUE(someGates[0]->myPanOnOpen);
	}

	TEST(MechanismFactory, EveryMechanismAndTriggerNameMakesItsClass)
	{
		const auto Make = [](const char* aName) { return GameState::CreateEntity(Norv::StringRegistry::RegisterOrGetString(aName)); };
		EXPECT_NE(dynamic_cast<Door*>(Make("Door").get()), nullptr);
		EXPECT_NE(dynamic_cast<Lever*>(Make("Lever").get()), nullptr);
		EXPECT_NE(dynamic_cast<Gate*>(Make("Gate").get()), nullptr);
		EXPECT_NE(dynamic_cast<Spikes*>(Make("Spikes").get()), nullptr);
		EXPECT_NE(dynamic_cast<EndingTrigger*>(Make("EndingTrigger").get()), nullptr);
		EXPECT_NE(dynamic_cast<BookShowcase*>(Make("bookShowcase").get()), nullptr);
		const std::unique_ptr<Entity> someCheckpoint = Make("Checkpoint");
		ASSERT_NE(dynamic_cast<Checkpoint*>(someCheckpoint.get()), nullptr);
		EXPECT_EQ(dynamic_cast<Checkpoint&>(*someCheckpoint).GetPickupType(), 0);
		EXPECT_EQ(Make("BookShowcase"), nullptr);
		EXPECT_EQ(Make("gate"), nullptr);
	}
}
