#include "Support/SteppedWorld.h"

#include "graphics/Camera.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
	using Log = std::vector<std::string>;

	// An entity that writes what happens to it into a shared log.
	class ProbeEntity : public Entity
	{
	public:
		ProbeEntity(std::string aName, Log& aLog) : myName(std::move(aName)), myLog(aLog) { myUsesTileCollision = false; }
		void Update(FrameContext& aContext) override
		{
			myLog.push_back(myName + ".Update");
			if (myOnUpdate)
				myOnUpdate(aContext);
		}
		void OnCollision(Entity& anOther) override
		{
			myLog.push_back(myName + ".OnCollision(" + static_cast<ProbeEntity&>(anOther).myName + ")");
			if (myOnCollision)
				myOnCollision(anOther);
		}

		std::string myName;
		Log& myLog;
		std::function<void(FrameContext&)> myOnUpdate;
		std::function<void(Entity&)> myOnCollision;
	};

	class PlayState : public testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(myWorld.IsStarted());
			myWorld.LoadAscii({ "....", "####" });
		}

		ProbeEntity& AddProbe(const std::string& aName, Norv::Vector2<float> aPosition)
		{
			auto someProbe = std::make_unique<ProbeEntity>(aName, myLog);
			someProbe->myPosition = aPosition;
			ProbeEntity& someAdded = *someProbe;
			myWorld.myState.GetFrameContext().entities->push_back(std::move(someProbe));
			return someAdded;
		}

		NorvTest::SteppedWorld myWorld;
		Log myLog;
	};
}

// Overlaps are tested with each entity's box after its own move and update, against
// the others where they stand at that moment.
TEST_F(PlayState, EachSideOfAnOverlapHearsOfItRightAfterItsOwnMoveAndUpdate)
{
	ProbeEntity& someA = AddProbe("A", { -2000.0f, 500.0f });
	someA.myOnUpdate = [&someA](FrameContext&) { someA.myPosition.x = 0.0f; };
	AddProbe("B", { 50.0f, 500.0f });
	ProbeEntity& someC = AddProbe("C", { 300.0f, 500.0f }); // moves 200 left onto B
	someC.myUsesTileCollision = true;
	someC.myVelocity = { -12000.0f, 0.0f };
	AddProbe("D", { 5000.0f, 500.0f });
	myWorld.Step(1);
	EXPECT_EQ(myLog, (Log{ "A.Update", "A.OnCollision(B)", "B.Update", "B.OnCollision(A)", "C.Update", "C.OnCollision(B)", "D.Update" }));
}

TEST_F(PlayState, TheCameraFollowsWhereThePlayerWasBeforeTheEntitiesMove)
{
	ProbeEntity& someRunner = AddProbe("runner", { 0.0f, 500.0f });
	someRunner.myOnUpdate = [&someRunner](FrameContext&) { someRunner.myPosition.x = 600.0f; };
	CameraController& someCamera = myWorld.myState.GetCameraController();
	someCamera.SetPlayer(&someRunner);
	someCamera.myMode = CameraController::FOLLOW;
	myWorld.Step(1);
	EXPECT_FLOAT_EQ(myWorld.myState.GetWorldCamera()->myTransform.GetTranslation().x, 0.0f);
	myWorld.Step(1);
	EXPECT_FLOAT_EQ(myWorld.myState.GetWorldCamera()->myTransform.GetTranslation().x, 600.0f * CameraController::HORIZONTAL_RATE * NorvTest::SteppedWorld::FRAME);
}

TEST_F(PlayState, AnEntityRemovedByAnotherStillRunsItsFrameAndIsGoneBeforeTheNext)
{
	ProbeEntity& someA = AddProbe("A", { 0.0f, 500.0f });
	AddProbe("B", { 50.0f, 500.0f });
	someA.myOnCollision = [](Entity& anOther) { anOther.myShouldRemove = true; };
	myWorld.Step(1);
	EXPECT_EQ(myLog, (Log{ "A.Update", "A.OnCollision(B)", "B.Update", "B.OnCollision(A)" }));
	ASSERT_EQ(myWorld.myState.GetEntities().size(), 1u);
	myLog.clear();
	myWorld.Step(1);
	EXPECT_EQ(myLog, Log{ "A.Update" });
}

TEST_F(PlayState, RemovingTheDeadKeepsTheSurvivorsInTheirOrder)
{
	const char* someNames[] = { "A", "B", "C", "D", "E", "F" };
	for (const char* someName : someNames)
		AddProbe(someName, { 0.0f, 500.0f }).myColliderSize = {};
	for (int someIndex : { 0, 2, 3 })
		myWorld.myState.GetEntities()[someIndex]->myShouldRemove = true;
	// The camera forgets a followed entity that is removed.
	myWorld.myState.GetCameraController().SetPlayer(myWorld.myState.GetEntities()[2].get());
	myWorld.Step(1);
	EXPECT_EQ(myWorld.myState.GetCameraController().myPlayer, nullptr);
	Log someSurvivors;
	for (const std::unique_ptr<Entity>& someEntity : myWorld.myState.GetEntities())
		someSurvivors.push_back(static_cast<ProbeEntity&>(*someEntity).myName);
	EXPECT_EQ(someSurvivors, (Log{ "B", "E", "F" }));
}

TEST_F(PlayState, ADeadEntityWithAZeroedColliderIsNotReportedAgain)
{
	ProbeEntity& someA = AddProbe("A", { 0.0f, 500.0f });
	ProbeEntity& someB = AddProbe("B", { 0.0f, 500.0f });
	someB.myColliderSize = {};
	someA.myColliderSize = { 300.0f, 300.0f };
	myWorld.Step(1);
	EXPECT_EQ(myLog, (Log{ "A.Update", "B.Update" }));
}

TEST_F(PlayState, ChangeSceneInsideAnUpdateFinishesTheFrameOnTheOldLevel)
{
	NorvTest::WriteAsciiScene(myWorld.Folder(), "scenes/Other.nvs", { "#" });
	ProbeEntity& someA = AddProbe("A", { 0.0f, 500.0f });
	ProbeEntity& someB = AddProbe("B", { 5000.0f, 500.0f });
	someA.myOnUpdate = [&](FrameContext& aContext) {
		aContext.gameState->ChangeScene("scenes/Other.nvs");
		someB.myShouldRemove = true;
	};
	myWorld.Step(1);
	EXPECT_EQ(myLog, (Log{ "A.Update", "B.Update" }));
	EXPECT_EQ(myWorld.myState.GetEntities().size(), 1u); // removal ran on the old level
	EXPECT_EQ(myWorld.myState.myScenePath, "scenes/Test.nvs");
	EXPECT_FALSE(myWorld.myState.IsLevelLoaded());

	myLog.clear();
	myWorld.Step(1);
	EXPECT_TRUE(myLog.empty());
	EXPECT_EQ(myWorld.myState.myScenePath, "scenes/Other.nvs");
	EXPECT_TRUE(myWorld.myState.GetEntities().empty());
	EXPECT_EQ(myWorld.myState.GetTiles().size(), 1u);
}

TEST_F(PlayState, PauseGivesThreeAndAShowcaseRequestInTheSameFrameWinsWithFour)
{
	EXPECT_EQ(myWorld.Step(1, { { InputAction::Pause } }), StateTransition::Pause);
	EXPECT_EQ(myWorld.Step(1, { { InputAction::Pause } }), StateTransition::Stay); // held, not pressed
	myWorld.Step(1);

	myWorld.myState.myIsShowcaseRequested = true;
	EXPECT_EQ(myWorld.Step(1, { { InputAction::Pause } }), StateTransition::AbilityPage);
	EXPECT_FALSE(myWorld.myState.myIsShowcaseRequested);
}

TEST_F(PlayState, NothingRunsWhileNoLevelIsLoaded)
{
	AddProbe("A", { 0.0f, 500.0f });
	myWorld.myState.Exit();
	EXPECT_EQ(myWorld.Step(3, { { InputAction::Pause } }), StateTransition::Stay);
	EXPECT_TRUE(myLog.empty());
	Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
	ASSERT_NE(someStates, nullptr);
	myWorld.myState.Render(myWorld.myInput);
}

TEST_F(PlayState, ALongFrameIsSteppedAtTheBoundSoNothingFallsThroughTheFloor)
{
	// Centred over the seam of two floor tiles at the highest fall speed: the worst case.
	ProbeEntity& someFaller = AddProbe("faller", { 150.0f, 260.0f });
	someFaller.myUsesTileCollision = true;
	someFaller.myVelocity = { 0.0f, -10000.0f };
	myWorld.Step(1, {}, 2.0f); // a slow load or a hitch
	EXPECT_FLOAT_EQ(someFaller.myPosition.y, 100.0f);
	EXPECT_EQ(someFaller.myContactSide.y, 1);
	EXPECT_FLOAT_EQ(someFaller.myAirTime, 0.0f);
	EXPECT_FLOAT_EQ(myWorld.myState.GetFrameContext().deltaTime, GameState::MAX_STEP_SECONDS);
}

TEST_F(PlayState, ARenderSizeChangeReachesTheWorldCamerasProjection)
{
	myWorld.myState.myResolution = { 100.0f, 100.0f };
	myWorld.Step(1);
	const Norv::Vector2<float> someSize(myWorld.myEngine.Get().GetRenderSize());
	EXPECT_EQ(myWorld.myState.myResolution, someSize);
	Norv::Camera someExpected;
	someExpected.SetPerspectiveProjection(GameState::FIELD_OF_VIEW_DEGREES, someSize, GameState::NEAR_PLANE, GameState::FAR_PLANE);
	EXPECT_EQ(std::memcmp(&myWorld.myState.GetWorldCamera()->myProjection, &someExpected.myProjection, sizeof(Norv::Matrix4x4)), 0);
}

TEST_F(PlayState, RenderLeavesTheGraphicsStateStackAsItFoundIt)
{
	AddProbe("A", { 0.0f, 500.0f });
	myWorld.Step(1);
	Norv::GraphicsStateStack* someStates = Norv::GraphicsEngine::GetStateStack();
	ASSERT_NE(someStates, nullptr);
	const std::size_t someDepth = someStates->GetStackSize();
	myWorld.myState.Render(myWorld.myInput);
	EXPECT_EQ(someStates->GetStackSize(), someDepth);
}

TEST(PlayStateReplay, TheSameInputsGiveTheSameWorldBitForBit)
{
	auto Run = [](std::vector<float>& aOut) {
		NorvTest::SteppedWorld someWorld;
		someWorld.LoadAscii({ "..D.......", "....#.....", "##########" }, { { 'D', "DashPickup" } });
		auto someFaller = std::make_unique<Entity>();
		someFaller->myPosition = { 130.0f, 400.0f };
		someFaller->myVelocity = { 700.0f, 300.0f };
		someWorld.myState.GetFrameContext().entities->push_back(std::move(someFaller));
		someWorld.myState.GetCameraController().SetPlayer(someWorld.myState.GetFrameContext().entities->back().get());
		someWorld.myState.GetCameraController().Shake(1.0f, 30.0f);
		for (int someFrame = 0; someFrame < 90; ++someFrame)
			someWorld.Step(1, { { someFrame % 20 < 10 ? InputAction::Right : InputAction::Left } });
		for (const std::unique_ptr<Entity>& someEntity : someWorld.myState.GetEntities())
			aOut.insert(aOut.end(), { someEntity->myPosition.x, someEntity->myPosition.y, someEntity->myVelocity.x, someEntity->myVelocity.y, someEntity->myModelOffset.y, someEntity->myRotation.y });
		const Norv::Vector3<float> someCamera = someWorld.myState.GetWorldCamera()->myTransform.GetTranslation();
		aOut.insert(aOut.end(), { someCamera.x, someCamera.y, someCamera.z });
	};
	std::vector<float> someFirst;
	std::vector<float> someSecond;
	Run(someFirst);
	Run(someSecond);
	ASSERT_EQ(someFirst.size(), someSecond.size());
	EXPECT_EQ(std::memcmp(someFirst.data(), someSecond.data(), someFirst.size() * sizeof(float)), 0);
	EXPECT_NE(someFirst[6], 130.0f); // the faller moved
}
