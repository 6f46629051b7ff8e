#include "Support/AssertRecorder.h"
#include "Support/ExecutableFolder.h"
#include "shell/GameSettings.h"

#include <gtest/gtest.h>

TEST(GameSettings, MalformedFileReportsTheFileAndFails)
{
	NorvTest::ExecutableFolder someFolder;
	someFolder.WriteSettings("{\"window_settings\": ");
	testing::internal::CaptureStderr();
	EXPECT_FALSE(GameSettings::Load());
	const std::string someError = testing::internal::GetCapturedStderr();
	EXPECT_NE(someError.find((someFolder.Path() / "settings/Game.json").string()), std::string::npos) << someError;
	EXPECT_NE(someError.find("parse error"), std::string::npos) << someError;
}

TEST(GameSettings, MissingFileKeepsDefaultsAndGoesOn)
{
	NorvTest::ExecutableFolder someFolder;
	NorvTest::AssertRecorder someAsserts;
	EXPECT_TRUE(GameSettings::Load());
	EXPECT_EQ(someAsserts.Count(), 1u);
	EXPECT_EQ(Norv::GetEngineCreateParameters().myDebugFeatures, 3u);
}

TEST(GameSettings, ShippedSettingsFileLoads)
{
	NorvTest::ExecutableFolder someFolder;
	std::filesystem::copy(std::filesystem::path(NORV_SOURCE_DIR) / "Bin/settings", someFolder.Path() / "settings");
	EXPECT_TRUE(GameSettings::Load());
	EXPECT_EQ(Norv::GetEngineCreateParameters().myWindowSize, (Norv::Vector2<unsigned>(1280, 720)));
}
