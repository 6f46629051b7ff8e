#include "Support/SteppedWorld.h"
#include "Support/VideoClip.h"
#include "Support/WorkingFolder.h"

#include "media/VideoOverlay.h"
#include "shell/SceneManager.h"
#include "world/entities/IPickupAble.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(TutorialCutscene, TheWorldStaysFrozenWhileTheOpeningVideoPlaysThenPlayBegins)
{
	NorvTest::SteppedWorld someWorld;
	ASSERT_TRUE(someWorld.IsStarted());
	NorvTest::WorkingFolder someWorking;
	NorvTest::ClipOptions someClip;
	someClip.myFrameCount = 5; // 0.2 s at 25 frames a second
	const std::filesystem::path someVideoFolder = someWorking.VideoFolder();
	std::filesystem::create_directories(someVideoFolder);
	ASSERT_TRUE(NorvTest::WriteVideoClip(someVideoFolder / "first_cutscene.mp4", someClip));
	NorvTest::WriteAsciiScene(someWorld.Folder(), GameState::TUTORIAL_SCENE, { ".D.", "###" }, { { 'D', "DashPickup" } });
	SceneManager::GetInstance().SetCurrentScenePath(GameState::TUTORIAL_SCENE);
	someWorld.myState.Init(someWorld.myInput);
	ASSERT_TRUE(VideoOverlay::GetInstance().IsActive());

	// The load frame finds the video playing: music and ambience stop, the world freezes.
	EXPECT_EQ(someWorld.Step(1), StateTransition::Stay);
	ASSERT_TRUE(someWorld.myState.IsLevelLoaded());
	EXPECT_TRUE(someWorld.myState.myIsPlayingCutscene);
	EXPECT_EQ(someWorld.myState.GetPendingScenePath(), GameState::TUTORIAL_SCENE);
	const auto& somePickup = dynamic_cast<const IPickupAble&>(*someWorld.myState.GetEntities()[0]);

	int someFrozenFrames = 0;
	while (someWorld.myState.myIsPlayingCutscene && someFrozenFrames < 600)
	{
		EXPECT_EQ(someWorld.Step(1, { InputAction::Pause }), StateTransition::Stay); // pause is not reported either
		++someFrozenFrames;
	}
	EXPECT_GE(someFrozenFrames, 10);
	EXPECT_FALSE(someWorld.myState.myIsPlayingCutscene);
	EXPECT_TRUE(someWorld.myState.GetPendingScenePath().empty());
	EXPECT_FLOAT_EQ(somePickup.myBobTime, 0.0f);

	someWorld.Step(1);
	EXPECT_GT(somePickup.myBobTime, 0.0f);
	SceneManager::GetInstance().SetCurrentScenePath("");
}

TEST(TutorialCutscene, OnlyTheExactTutorialPathRunsTheVideoLogic)
{
	NorvTest::SteppedWorld someWorld;
	ASSERT_TRUE(someWorld.IsStarted());
	NorvTest::WriteAsciiScene(someWorld.Folder(), "scenes/tutorial.nvs", { "###" });
	someWorld.Load("scenes/tutorial.nvs");
	EXPECT_FALSE(someWorld.myState.myIsPlayingCutscene);
	EXPECT_TRUE(someWorld.myState.GetPendingScenePath().empty());
}
