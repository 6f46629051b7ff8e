#include "Support/CountingState.h"
#include "Support/SteppedWorld.h"

#include "shell/StateStack.h"
#include "world/entities/Player.h"

#include "graphics/Camera.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
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
	myWorld.Step(1, {}, 0.1f); // a long frame ends with the step that asked for the change
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

TEST_F(PlayState, ALongFrameIsSteppedInBoundedStepsSoNothingFallsThroughTheFloor)
{
	// Centred over the seam of two floor tiles at the highest fall speed: the worst case.
	ProbeEntity& someFaller = AddProbe("faller", { 150.0f, 260.0f });
	someFaller.myUsesTileCollision = true;
	someFaller.myVelocity = { 0.0f, -10000.0f };
	myWorld.Step(1, {}, 2.0f); // a slow load or a hitch: caught up on only as far as the cap
	EXPECT_FLOAT_EQ(someFaller.myPosition.y, 100.0f);
	EXPECT_EQ(someFaller.myContactSide.y, 1);
	EXPECT_EQ(myLog.size(), 15u);
	EXPECT_FLOAT_EQ(myWorld.myState.GetFrameContext().deltaTime, GameState::MAX_FRAME_SECONDS / 15.0f);

	// Frames are cut into equal steps of about the tuned step, together the frame;
	// a frame a little over it, as the 60 Hz timer gives them, stays one step.
	const std::pair<float, std::size_t> someFrames[] = { { 0.03f, 2u }, { 0.0174f, 1u }, { 0.05f, 3u }, { 1.0f / 144.0f, 1u } };
	for (const auto& [someFrame, someSteps] : someFrames)
	{
		myLog.clear();
		myWorld.Step(1, {}, someFrame);
		EXPECT_EQ(myLog.size(), someSteps) << someFrame;
		EXPECT_FLOAT_EQ(myWorld.myState.GetFrameContext().deltaTime, someFrame / static_cast<float>(someSteps)) << someFrame;
		EXPECT_LE(myWorld.myState.GetFrameContext().deltaTime, GameState::MAX_STEP_SECONDS);
	}
}

TEST_F(PlayState, APressActsInOneSubStepAndItsWindowCountsTheWorldsTime)
{
	int someSteps = 0;
	int somePresses = 0;
	int someInWindow = 0;
	ProbeEntity& someProbe = AddProbe("A", { 0.0f, 500.0f });
	someProbe.myOnUpdate = [&](FrameContext& aContext) {
		++someSteps;
		somePresses += aContext.input->IsPressed(InputAction::Jump) ? 1 : 0;
		someInWindow += aContext.input->PressedWithin(InputAction::Jump, 0.06f) ? 1 : 0;
	};
	// One step a frame at 60 fps, six at 10 fps: the same world either way.
	for (const float someRate : { 60.0f, 10.0f })
	{
		someSteps = somePresses = someInWindow = 0;
		myWorld.Step(static_cast<int>(0.2f * someRate), { { InputAction::Jump } }, 1.0f / someRate);
		EXPECT_EQ(someSteps, 12) << someRate;
		EXPECT_EQ(somePresses, 1) << someRate;
		EXPECT_EQ(someInWindow, 4) << someRate; // the steps 0 to 0.05 s after the press
		myWorld.Step(1, {}, 1.0f / someRate);
	}
	// Whoever reads the input after the world still sees the frame's press.
	EXPECT_EQ(myWorld.Step(1, { { InputAction::Pause } }, 0.1f), StateTransition::Pause);
}

TEST_F(PlayState, ARenderSizeChangeReachesTheWorldCamerasProjectionAlsoWhilePaused)
{
	const Norv::Vector2<float> someSize(myWorld.myEngine.Get().GetRenderSize());
	Norv::Camera someExpected;
	someExpected.SetPerspectiveProjection(GameState::FIELD_OF_VIEW_DEGREES, someSize, GameState::NEAR_PLANE, GameState::FAR_PLANE);
	const auto IsFollowed = [&] {
		return myWorld.myState.myResolution == someSize
			&& std::memcmp(&myWorld.myState.GetWorldCamera()->myProjection, &someExpected.myProjection, sizeof(Norv::Matrix4x4)) == 0;
	};
	myWorld.myState.myResolution = { 100.0f, 100.0f };
	// Under a menu the play state is drawn but not updated.
	myWorld.myState.Render(myWorld.myInput);
	EXPECT_TRUE(IsFollowed());

	myWorld.myState.myResolution = { 100.0f, 100.0f };
	myWorld.Step(1);
	EXPECT_TRUE(IsFollowed());
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

namespace
{
	const std::map<char, std::string> LEGEND = { { 'P', "Player" }, { 'E', "PatrollingEnemy" }, { 'D', "Door" } };

	// Levels with a player, as the game plays them: a level without one is refused.
	class PlayStateLevels : public testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(myWorld.IsStarted());
			myWorld.myState.myIsPlayerRequired = true;
			NorvTest::WriteAsciiDefinitions(myWorld.Folder(), LEGEND);
		}
		// The grid's objects, then any more.
		void WriteLevel(const std::string& aScenePath, const std::vector<std::string>& aRows, const nlohmann::json& aMore = nlohmann::json::array())
		{
			nlohmann::json someObjects = NorvTest::AsciiObjects(aRows, LEGEND);
			someObjects.insert(someObjects.end(), aMore.begin(), aMore.end());
			NorvTest::WriteScene(myWorld.Folder(), aScenePath, someObjects);
		}
		// The standard error of aFrames frames.
		std::string StepAndReadErrors(int aFrames)
		{
			testing::internal::CaptureStderr();
			myWorld.Step(aFrames);
			return testing::internal::GetCapturedStderr();
		}
		static int CountLines(const std::string& aText, const std::string& aPart)
		{
			int someCount = 0;
			for (std::size_t someAt = aText.find(aPart); someAt != std::string::npos; someAt = aText.find(aPart, someAt + 1))
				++someCount;
			return someCount;
		}

		NorvTest::SteppedWorld myWorld;
	};
}

TEST_F(PlayStateLevels, ADoorToAnUnplayableSceneLeavesThePlayerWhereTheyWere)
{
	WriteLevel("scenes/Home.nvs", { "  P   ", "######" });
	myWorld.Load("scenes/Home.nvs");
	myWorld.Step(30);
	const Player* somePlayer = myWorld.myState.GetFrameContext().player;
	ASSERT_NE(somePlayer, nullptr);
	const Norv::Vector2<float> somePlace = somePlayer->myPosition;
	// A cut file: the document ends inside its first object.
	myWorld.Folder().Write("game/scenes/Cut.leveldata_new/leveldata.json", R"([{"uuid": "00000abc-0000-4000-8000-000000000abc", "name": "Pla)");
	// Its only player placed past the limits, which skip it.
	WriteLevel("scenes/Far.nvs", { " E  D ", "######" }, nlohmann::json::array({ NorvTest::SceneObject("Player", "Player", { 1e30f, 100, 0 }) }));
	// Its player starts below where a fall brings it back, though on the ground there.
	WriteLevel("scenes/Deep.nvs", { " E  D ", "######" },
		nlohmann::json::array({ NorvTest::SceneObject("Player", "Player", { 300, -100000, 0 }), NorvTest::SceneObject("tile", "Tile", { 300, -100100, 0 }) }));
	// Ground beside the player's start and above it, none under it.
	WriteLevel("scenes/Floating.nvs", { "#     ", "P     ", "      ", "   ###" });

	const std::pair<std::string, std::string> someTargets[] = {
		{ "scenes/Missing.nvs", "it has no objects" },
		{ "scenes/Cut.nvs", "its files could not be read" },
		{ "scenes/Far.nvs", "it has no player" },
		{ "scenes/Deep.nvs", "its player starts at y -100000, below the line at y -30000 where a fall brings the player back" },
		{ "scenes/Floating.nvs", "there is no ground under its player's start at (0, 200)" },
	};
	for (const auto& [someTarget, someReason] : someTargets)
	{
		SCOPED_TRACE(someTarget);
		myWorld.myState.ChangeScene(someTarget); // as a door does
		const std::string someErrors = StepAndReadErrors(1);
		EXPECT_EQ(CountLines(someErrors, "cannot be played"), 1) << someErrors;
		EXPECT_NE(someErrors.find("The scene \"" + someTarget + "\" cannot be played (" + someReason + "): back to \"scenes/Home.nvs\"\n"), std::string::npos) << someErrors;
		EXPECT_TRUE(myWorld.myState.IsLevelLoaded());
		EXPECT_EQ(myWorld.myState.myScenePath, "scenes/Home.nvs");
		ASSERT_EQ(myWorld.myState.GetFrameContext().player, somePlayer);
		EXPECT_NEAR(somePlayer->myPosition.x, somePlace.x, 0.01f);

		// The player still stands in the door: it asks every frame, and is not heard again.
		testing::internal::CaptureStderr();
		for (int someFrame = 0; someFrame < 5; ++someFrame)
		{
			myWorld.myState.ChangeScene(someTarget);
			myWorld.Step(1);
		}
		EXPECT_EQ(testing::internal::GetCapturedStderr().find("cannot be played"), std::string::npos);
		EXPECT_TRUE(myWorld.myState.IsLevelLoaded());
	}

	// A playable scene loads as before, and a refused one may be tried again after it.
	WriteLevel("scenes/Other.nvs", { "P     ", "######" });
	myWorld.myState.ChangeScene("scenes/Other.nvs");
	myWorld.Step(1);
	EXPECT_EQ(myWorld.myState.myScenePath, "scenes/Other.nvs");
	myWorld.myState.ChangeScene("scenes/Missing.nvs");
	EXPECT_EQ(CountLines(StepAndReadErrors(1), "cannot be played"), 1);
}

TEST_F(PlayStateLevels, AnUnplayableFirstLevelGoesBackToTheMainMenu)
{
	WriteLevel("scenes/NoPlayer.nvs", { "   E  ", " D  ED", "######" });
	NorvTest::CountingState someMainMenu;
	StateSet someStates;
	someStates.myMainMenu = &someMainMenu;
	someStates.myGameState = &myWorld.myState;
	someStates.myIntroState = &myWorld.myState; // the play state comes up first
	StateStack someStack(someStates);
	for (const std::string someScene : { "scenes/NoPlayer.nvs", "scenes/Missing.nvs" })
	{
		SceneManager::GetInstance().SetCurrentScenePath(someScene);
		someStack.PushInitialState(myWorld.myInput);
		testing::internal::CaptureStderr();
		myWorld.myInput.Update(NorvTest::SteppedWorld::FRAME);
		someStack.Update(myWorld.myInput, NorvTest::SteppedWorld::FRAME);
		const std::string someErrors = testing::internal::GetCapturedStderr();
		EXPECT_EQ(CountLines(someErrors, "The scene \"" + someScene + "\" cannot be played"), 1) << someErrors;
		EXPECT_NE(someErrors.find(someScene == "scenes/NoPlayer.nvs" ? "(it has no player)" : "(it has no objects)"), std::string::npos) << someErrors;
		EXPECT_NE(someErrors.find("back to the main menu"), std::string::npos) << someErrors;
		ASSERT_EQ(someStack.GetStack(), std::vector<IStates*>{ &someMainMenu });
		EXPECT_FALSE(myWorld.myState.IsLevelLoaded());
		// The loading screen the play state put up goes, uncovering the menu.
		EXPECT_TRUE(LoadingScreen::GetInstance().IsFading());
	}
	EXPECT_EQ(someMainMenu.myInits, 2);
}

TEST_F(PlayStateLevels, EveryLevelLoadStartsItsOwnGlide)
{
	WriteLevel("scenes/A.nvs", { "  P                              ", "#################################" });
	WriteLevel("scenes/B.nvs", { "                              P  ", "#################################" });
	myWorld.Load("scenes/A.nvs");
	myWorld.Step(60); // a third of the way through the glide, a door is taken
	myWorld.myState.ChangeScene("scenes/B.nvs");
	myWorld.Step(2);
	const Norv::Vector3<float> someCamera = myWorld.myState.GetWorldCamera()->myTransform.GetTranslation();
	const Norv::Vector2<float> somePlayer = myWorld.myState.GetFrameContext().player->myPosition;
	EXPECT_LT(someCamera.z, CameraController::START_Z + 1.0f);
	EXPECT_NEAR(someCamera.x, somePlayer.x, 1.0f);
	EXPECT_EQ(myWorld.myState.GetCameraController().myMode, CameraController::RETURN_TO_PLAYER);
}
