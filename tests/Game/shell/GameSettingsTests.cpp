#include "Support/AssertRecorder.h"
#include "Support/ExecutableFolder.h"
#include "kernel/Kernel.h"
#include "shell/GameSettings.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(GameSettings, DamagedSettingsStopTheGameWithOneLineOnTheFile)
{
	NorvTest::ExecutableFolder someFolder;
	NorvTest::AssertRecorder someAsserts;
	const std::string someFile = (someFolder.Path() / "settings/Game.json").string();
	for (const char* someJson : { static_cast<const char*>(nullptr), "{\"window_settings\": ", R"({"window_settings": {"title": "T"}, "assets_path": {"engine": "e", "game": "g", "cooked": "c"}})" })
	{
		if (someJson)
			someFolder.WriteSettings(someJson);
		testing::internal::CaptureStderr();
		EXPECT_FALSE(GameSettings::Load()) << (someJson ? someJson : "no file");
		const std::string someError = testing::internal::GetCapturedStderr();
		EXPECT_EQ(std::count(someError.begin(), someError.end(), '\n'), 1) << someError;
		EXPECT_NE(someError.find(someFile), std::string::npos) << someError;
		EXPECT_NE(someError.find("the game cannot start"), std::string::npos) << someError;
	}
	EXPECT_EQ(someAsserts.Count(), 0u);
}

TEST(GameSettings, ShippedSettingsFileLoadsWithoutALine)
{
	NorvTest::ExecutableFolder someFolder;
	const std::string someExecutable = (std::filesystem::path(NORV_SOURCE_DIR) / "Bin/Game").string();
	Platform::SetModuleFileNameOverride([someExecutable] { return someExecutable; });
	testing::internal::CaptureStderr();
	EXPECT_TRUE(GameSettings::Load());
	EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
	EXPECT_EQ(Norv::GetEngineCreateParameters().myWindowSize, (Norv::Vector2<unsigned>(1280, 720)));
}
