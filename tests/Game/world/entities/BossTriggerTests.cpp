#include "MechanismWorld.h"

#include "world/entities/BossTrigger.h"
#include "world/entities/Gate.h"
#include "world/entities/PatrollingEnemy.h"

namespace
{
	using NorvTest::FrameInput;
	using NorvTest::Property;
	using NorvTest::SceneObject;
	using nlohmann::json;

	constexpr int SECOND = 60; // frames
	constexpr float GATE_HOME_Y = 100.0f;

	enum class BossPlace { None, BeforeTrigger, AfterTrigger };

	// The boss level's arena in its fixed coordinates: a floor from -3000 to 3000,
	// a gate at each side, the trigger just right of the player.
	class BossFight : public NorvTest::MechanismWorldTest, public testing::WithParamInterface<BossPlace>
	{
	protected:
		void LoadArena(BossPlace aPlace, bool anAddHedgehog = false)
		{
			NorvTest::WriteDefinition(Folder(), "HedgehogBoss", json::array({ Property("entityId", "StringId", "PatrollingEnemy"), Property("isBoss", "Bool", true) }));
			NorvTest::WriteDefinition(Folder(), "Hedgehog", json::array({ Property("entityId", "StringId", "PatrollingEnemy"), Property("isBoss", "Bool", false) }));
			json someObjects = json::array();
			for (int someX = -3000; someX <= 3000; someX += 100)
				someObjects.push_back(SceneObject("tile", "Tile", { static_cast<float>(someX), 0.0f, 0.0f }));
			someObjects.push_back(SceneObject("left gate", "Gate", { -1800.0f, GATE_HOME_Y, 0.0f }));
			if (aPlace == BossPlace::BeforeTrigger)
				someObjects.push_back(SceneObject("boss", "HedgehogBoss", { 0.0f, 300.0f, 0.0f }));
			if (anAddHedgehog)
				someObjects.push_back(SceneObject("hedgehog", "Hedgehog", { 2000.0f, 200.0f, 0.0f }));
			someObjects.push_back(SceneObject("trigger", "BossTrigger", { -1000.0f, 500.0f, 0.0f }));
			someObjects.push_back(SceneObject("right gate", "Gate", { 2500.0f, GATE_HOME_Y, 0.0f }));
			if (aPlace == BossPlace::AfterTrigger)
				someObjects.push_back(SceneObject("boss", "HedgehogBoss", { 0.0f, 300.0f, 0.0f }));
			someObjects.push_back(SceneObject("player", "Player", { -1200.0f, 200.0f, 0.0f }));
			Load({}, { { 'G', "Gate" }, { 'T', "BossTrigger" } }, someObjects, SECOND);
			for (const std::unique_ptr<Entity>& someEntity : myWorld.myState.GetEntities())
				if (Gate* someGate = dynamic_cast<Gate*>(someEntity.get()))
					myGates.push_back(someGate);
			ASSERT_EQ(myGates.size(), 2u);
		}

		BossTrigger& Trigger() { return *Find<BossTrigger>(); }
		PatrollingEnemy* Boss() { return Find<PatrollingEnemy>(); }
		const CameraController& Camera() { return myWorld.myState.GetCameraController(); }
		bool AllGates(bool (*aTest)(const Gate&))
		{
			return std::all_of(myGates.begin(), myGates.end(), [&](const Gate* aGate) { return aTest(*aGate); });
		}
		// Walks right into the trigger; the frames it took.
		int WalkIntoTrigger()
		{
			const int someFrames = StepUntil([&] { return Trigger().myIsTriggered; }, 2 * SECOND, { { InputAction::Right } });
			EXPECT_TRUE(Trigger().myIsTriggered);
			return someFrames;
		}

		std::vector<Gate*> myGates;
	};

	bool IsForcedOpen(const Gate& aGate) { return aGate.myForceOpen; }
	bool IsClosedAtHome(const Gate& aGate) { return !aGate.myForceOpen && aGate.myPosition.y == GATE_HOME_Y; }

	TEST_P(BossFight, AFourSecondIntroClosesTheGatesThenTheFightRunsUntilTheBossDies)
	{
		LoadArena(GetParam());
		ASSERT_NE(Boss(), nullptr);
		EXPECT_EQ(Trigger().myBoss, Boss());
		EXPECT_TRUE(AllGates(IsForcedOpen));
		EXPECT_FALSE(Boss()->myIsActive);

		WalkIntoTrigger();
		Step(2);
		EXPECT_FALSE(P().GetController().IsActive());
		EXPECT_FLOAT_EQ(P().myVelocity.x, 0.0f);
		EXPECT_FALSE(AllGates(IsForcedOpen));
		EXPECT_EQ(Camera().myMode, CameraController::PAN_AND_RETURN);

		// Frozen through both pans, two seconds each: the arena with a short hold, then
		// the boss with a longer one. The boss is held in its place meanwhile.
		const Norv::Vector2<float> someArena{ -2550.0f, 1050.0f };
		EXPECT_EQ(Camera().myPanTarget, someArena);
		EXPECT_FLOAT_EQ(Camera().myPanHold, 0.5f);
		const int someFirstPan = StepUntil([&] { return Camera().myPanTarget != someArena; }, 3 * SECOND);
		EXPECT_NEAR(someFirstPan, 2 * SECOND, 2);
		EXPECT_EQ(Camera().myPanTarget, (Norv::Vector2<float>{ 1850.0f, 50.0f }));
		EXPECT_FLOAT_EQ(Camera().myPanHold, 1.0f);
		const int someFrozen = someFirstPan + StepUntil([&] { return P().GetController().IsActive(); }, 4 * SECOND);
		EXPECT_NEAR(someFrozen, 4 * SECOND, 4);
		EXPECT_TRUE(Boss()->myIsActive);
		EXPECT_TRUE(Boss()->myShowBossHud);
		EXPECT_FLOAT_EQ(Boss()->myPosition.x, 1600.0f);
		EXPECT_NEAR(Boss()->myPosition.y, 150.0f, 50.0f); // still settling onto the floor
		Step(1);
		EXPECT_EQ(Trigger().myState, BossTrigger::FIGHT);
		EXPECT_EQ(Camera().myMode, CameraController::PAN_AND_ZOOM);
		EXPECT_FLOAT_EQ(Camera().myZoomTargetZ, -5500.0f);
		EXPECT_TRUE(AllGates(IsClosedAtHome));

		// The fight: nothing releases the camera or opens a gate while the boss lives.
		Step(3 * SECOND);
		EXPECT_FALSE(Camera().myRelease);
		EXPECT_TRUE(AllGates(IsClosedAtHome));

		Boss()->Die();
		Step(1);
		EXPECT_TRUE(Camera().myRelease);
		EXPECT_TRUE(AllGates(IsForcedOpen));
		EXPECT_EQ(Trigger().myBoss, nullptr);
		// Removed a second later, the boss is never read again; the arena stays open.
		Step(SECOND + 5);
		EXPECT_EQ(Boss(), nullptr);
		Step(5 * SECOND);
		EXPECT_TRUE(AllGates(IsForcedOpen));
		EXPECT_GT(myGates[0]->myPosition.y, GATE_HOME_Y + 300.0f);
		EXPECT_EQ(Camera().myMode, CameraController::FOLLOW);
	}

	INSTANTIATE_TEST_SUITE_P(BossListed, BossFight, testing::Values(BossPlace::BeforeTrigger, BossPlace::AfterTrigger),
		[](const testing::TestParamInfo<BossPlace>& anInfo) { return anInfo.param == BossPlace::BeforeTrigger ? "BeforeTheTrigger" : "AfterTheTrigger"; });

	using BossFightWithoutBoss = BossFight;

	// A trigger with no boss to stage (a plain hedgehog is no boss) leaves the arena open.
	TEST_F(BossFightWithoutBoss, TheTriggerNeitherLocksThePlayerNorClosesTheGates)
	{
		LoadArena(BossPlace::None, true);
		EXPECT_EQ(Trigger().myBoss, nullptr);
		WalkIntoTrigger();
		Step(5 * SECOND);
		EXPECT_TRUE(P().GetController().IsActive());
		EXPECT_TRUE(AllGates(IsForcedOpen));
		EXPECT_NE(Camera().myMode, CameraController::PAN_AND_ZOOM);
		ASSERT_NE(Boss(), nullptr);
		EXPECT_NE(Boss()->myPosition.x, 1600.0f);
	}
}
