// The ending: the play state under a state owner, the last cutscene over the
// level, then the main menu with the level's music gone.
#include "Support/CountingState.h"
#include "Support/SteppedWorld.h"
#include "Support/VideoClip.h"
#include "Support/WorkingFolder.h"

#include "media/VideoOverlay.h"
#include "shell/StateStack.h"
#include "world/entities/EndingTrigger.h"
#include "world/entities/Player.h"

#include "video/Video.h"

#include <gtest/gtest.h>

namespace
{
	class Ending : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			if (!myWorld.IsStarted())
				GTEST_SKIP() << "the engine did not start headless";
			NorvTest::ClipOptions someClip;
			someClip.myFrameCount = 5; // 0.2 s at 25 frames a second
			std::filesystem::create_directories(myWorking.VideoFolder());
			ASSERT_TRUE(NorvTest::WriteVideoClip(myWorking.VideoFolder() / "last_cutscene_long_version.mp4", someClip));
			NorvTest::WriteAsciiScene(myWorld.Folder(), GameState::ENDING_SCENE, { "        ", " P   E  ", "########" },
				{ { 'P', "Player" }, { 'E', "EndingTrigger" } });
			myStack.PushInitialState(myWorld.myInput);
			myWorld.myState.ChangeScene(GameState::ENDING_SCENE);
			Step(1);
			ASSERT_TRUE(myWorld.myState.IsLevelLoaded());
			myTrigger = myWorld.myState.FindEntityOfType<EndingTrigger>();
			ASSERT_NE(myTrigger, nullptr);
		}
		// One frame through the state owner.
		void Step(int aFrames, const NorvTest::FrameInput& anInput = {})
		{
			for (int someFrame = 0; someFrame < aFrames; ++someFrame)
			{
				Platform::InjectGamepad(0, NorvTest::ToPadReading(anInput));
				myWorld.myInput.Update(NorvTest::SteppedWorld::FRAME);
				myStack.Update(myWorld.myInput, NorvTest::SteppedWorld::FRAME);
			}
		}
		bool IsInMenu() { return myStack.GetStack() == std::vector<IStates*>{ &myMainMenu }; }

		NorvTest::SteppedWorld myWorld;
		NorvTest::WorkingFolder myWorking;
		NorvTest::CountingState myMainMenu;
		NorvTest::CountingState myPauseMenu;
		StateStack myStack{ StateSet{ &myMainMenu, &myPauseMenu, nullptr, &myWorld.myState, nullptr, nullptr, nullptr, &myWorld.myState } };
		EndingTrigger* myTrigger = nullptr;
	};
}

TEST_F(Ending, TouchingItPlaysTheLastCutsceneThenReturnsToTheMenuWithTheLevelStopped)
{
	Step(60);
	EXPECT_FALSE(myTrigger->myIsTriggered);
	ASSERT_NE(myWorld.myState.GetAmbienceTrack(), nullptr);

	int someFrames = 0;
	while (!myTrigger->myIsTriggered && someFrames++ < 240)
		Step(1, { { InputAction::Right } });
	ASSERT_TRUE(myTrigger->myIsTriggered);
	Step(1);
	EXPECT_TRUE(myTrigger->myHasStarted);
	EXPECT_TRUE(myWorld.myState.myIsPlayingCutscene);
	EXPECT_EQ(VideoOverlay::GetInstance().GetState(), Norv::Video::STATE_PLAYING);
	EXPECT_FALSE(myWorld.myState.GetFrameContext().player->GetController().IsActive());

	// Until the video is over the level stays; Pause is pressed on the frame that ends it.
	someFrames = 0;
	while (!IsInMenu() && someFrames++ < 600)
	{
		const bool someIsOver = VideoOverlay::GetInstance().GetState() != Norv::Video::STATE_PLAYING;
		EXPECT_EQ(myStack.GetStack().back(), &myWorld.myState);
		Step(1, someIsOver ? NorvTest::FrameInput{ { InputAction::Pause } } : NorvTest::FrameInput{});
	}
	EXPECT_GE(someFrames, 10);
	ASSERT_TRUE(IsInMenu());
	EXPECT_EQ(myMainMenu.myInits, 1);
	// The play state's pause code of that frame belonged to the old stack.
	EXPECT_EQ(myPauseMenu.myInits, 0);
	// The play state has exited: no level, no music or ambience left playing.
	EXPECT_FALSE(myWorld.myState.IsLevelLoaded());
	EXPECT_EQ(myWorld.myState.GetAmbienceTrack(), nullptr);
	EXPECT_EQ(myWorld.myState.GetMusicTrack(), nullptr);
	EXPECT_FALSE(myWorld.myState.myIsPlayingCutscene);
}
