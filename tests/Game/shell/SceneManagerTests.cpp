#include "Support/TempFolder.h"

#include "shell/SceneManager.h"

#include <gtest/gtest.h>

namespace
{
	class SceneListTest : public ::testing::Test
	{
	protected:
		SceneManager myScenes;
		NorvTest::TempFolder myRoot;
	};

	TEST_F(SceneListTest, EachFoundSceneIsSelectedThenReportedAndTheHubEndsCurrent)
	{
		myRoot.Write("scenes/Hub.nvs", "{}");
		myRoot.Write("scenes/Level_1.nvs", "{}");
		myRoot.Write("other/Tutorial.nvs", "{}");
		myRoot.Write("scenes/Notes.NVS", "{}");
		myRoot.Write("scenes/Hub.nvs.bak", "{}");
		myRoot.Write("scenes/Folder.nvs/inner.txt", "");

		testing::internal::CaptureStdout();
		myScenes.FindScenes(myRoot.Path().string());
		const std::string someOutput = testing::internal::GetCapturedStdout();

		ASSERT_EQ(myScenes.GetNames().size(), 3u) << someOutput;
		std::string someExpected;
		for (std::size_t someIndex = 0; someIndex < 3; ++someIndex)
		{
			// A count past the end selects the first found scene.
			someExpected += "Loading scene: scenes/" + myScenes.GetNames()[0] + ".nvs\n";
			someExpected += "Found scene: " + myScenes.GetNames()[someIndex] + " at " + myScenes.GetPaths()[someIndex] + "\n";
		}
		EXPECT_EQ(someOutput, someExpected);
		EXPECT_EQ(myScenes.GetCurrentScenePath(), "scenes/Hub.nvs");
		EXPECT_NE(std::find(myScenes.GetPaths().begin(), myScenes.GetPaths().end(), "other/Tutorial.nvs"), myScenes.GetPaths().end());

		// A scene outside "scenes/" is still loaded from there, by its stem.
		const auto someTutorial = std::find(myScenes.GetNames().begin(), myScenes.GetNames().end(), "Tutorial");
		testing::internal::CaptureStdout();
		myScenes.SelectScene(static_cast<int>(someTutorial - myScenes.GetNames().begin()));
		EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading scene: scenes/Tutorial.nvs\n");
		EXPECT_EQ(myScenes.GetCurrentScenePath(), "scenes/Tutorial.nvs");

		// The count wraps to the first.
		testing::internal::CaptureStdout();
		myScenes.SelectScene(3);
		testing::internal::GetCapturedStdout();
		EXPECT_EQ(myScenes.GetCurrentIndex(), 0);
	}

	TEST_F(SceneListTest, ANegativeIndexIsReportedAndChangesNothing)
	{
		myRoot.Write("scenes/Level_2.nvs", "{}");
		testing::internal::CaptureStdout();
		myScenes.FindScenes(myRoot.Path().string());
		myScenes.SelectScene(0);
		testing::internal::GetCapturedStdout();

		testing::internal::CaptureStdout();
		myScenes.SelectScene(-1);
		EXPECT_EQ(testing::internal::GetCapturedStdout(), "Invalid scene index: -1\n");
		EXPECT_EQ(myScenes.GetCurrentScenePath(), "scenes/Level_2.nvs");
	}

	TEST_F(SceneListTest, AMissingRootIsReportedAndLeavesAnEmptyListOnTheHub)
	{
		myRoot.Write("scenes/Hub.nvs", "{}");
		testing::internal::CaptureStdout();
		myScenes.FindScenes(myRoot.Path().string());
		testing::internal::GetCapturedStdout();

		testing::internal::CaptureStderr();
		myScenes.FindScenes((myRoot.Path() / "missing").string());
		EXPECT_NE(testing::internal::GetCapturedStderr().find("missing"), std::string::npos);
		EXPECT_TRUE(myScenes.GetPaths().empty());
		EXPECT_TRUE(myScenes.GetNames().empty());
		EXPECT_EQ(myScenes.GetCurrentScenePath(), "scenes/Hub.nvs");

		// Selecting from the empty list reads nothing and changes nothing.
		myScenes.SetCurrentScenePath("scenes/Tutorial.nvs");
		testing::internal::CaptureStdout();
		myScenes.SelectScene(0);
		myScenes.SelectScene(5);
		testing::internal::GetCapturedStdout();
		EXPECT_EQ(myScenes.GetCurrentScenePath(), "scenes/Tutorial.nvs");
	}
}
