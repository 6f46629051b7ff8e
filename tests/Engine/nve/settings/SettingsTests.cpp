#include "Support/AssertRecorder.h"
#include "Support/ExecutableFolder.h"
#include "engine/EngineCreateParameters.h"
#include "settings/settings.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using Norv::GetEngineCreateParameters;
using Norv::LoadSettings;

namespace
{
	constexpr const char* MINIMAL = R"({"window_settings": {"title": "T"}})";

	std::string WithRoot(const std::string& aExtra)
	{
		return R"({"window_settings": {"title": "T"}, )" + aExtra + "}";
	}

	std::string WithWindow(const std::string& aExtra)
	{
		return R"({"window_settings": {"title": "T", )" + aExtra + "}}";
	}
}

class SettingsFile : public ::testing::Test
{
protected:
	NorvTest::ExecutableFolder myFolder;
};

TEST_F(SettingsFile, NameWithoutDotGetsJsonExtension)
{
	myFolder.WriteSettings(MINIMAL, "Game.json");
	EXPECT_TRUE(LoadSettings("Game"));
	EXPECT_TRUE(LoadSettings("Game.json"));
	myFolder.WriteSettings(MINIMAL, "Other.cfg");
	EXPECT_TRUE(LoadSettings("Other.cfg"));
}

TEST_F(SettingsFile, MissingFileAssertsNamesTheFileAndKeepsDefaults)
{
	NorvTest::AssertRecorder someAsserts;
	testing::internal::CaptureStderr();
	EXPECT_FALSE(LoadSettings("Game.json"));
	EXPECT_NE(testing::internal::GetCapturedStderr().find(Norv::Settings::GetSettingsFilePath("Game.json").string()), std::string::npos);
	EXPECT_TRUE(someAsserts.Saw("Could not open project settings file in Norv::LoadSettings"));
	EXPECT_EQ(GetEngineCreateParameters().myDebugFeatures, 3u);
	EXPECT_EQ(GetEngineCreateParameters().myWindowSize, (Norv::Vector2<unsigned>(1280, 720)));
}

TEST_F(SettingsFile, DebugFeatureWords)
{
	const std::pair<const char*, unsigned> someCases[] = {
		{ R"("debug_features": ["Fps", "None", "Mem"])", 0u },
		{ R"("debug_features": ["Fps", "All"])", 511u },
		{ R"("debug_features": "Filewatcher")", 32u },
		{ R"("debug_features": ["Fps", "Unknown", "Cpu"])", 9u },
		{ R"("debug_features": [])", 0u },
		{ R"("debug_features": ["Collision", "Fps"])", 513u },
	};
	for (const auto& [someJson, someExpected] : someCases)
	{
		myFolder.WriteSettings(WithRoot(someJson));
		ASSERT_TRUE(LoadSettings("Game.json"));
		EXPECT_EQ(GetEngineCreateParameters().myDebugFeatures, someExpected) << someJson;
	}
}

TEST_F(SettingsFile, NoDebugFeaturesTurnsEveryFeatureOff)
{
	for (const std::string& someJson : { std::string(MINIMAL), WithRoot(R"("debug_features": null)") })
	{
		GetEngineCreateParameters().myDebugFeatures = ~0u;
		myFolder.WriteSettings(someJson);
		ASSERT_TRUE(LoadSettings("Game.json")) << someJson;
		EXPECT_EQ(GetEngineCreateParameters().myDebugFeatures, 0u) << someJson;
	}
}

TEST_F(SettingsFile, NonStringDebugFeatureThrowsTypeError)
{
	myFolder.WriteSettings(WithRoot(R"("debug_features": ["Fps", 3])"));
	try
	{
		LoadSettings("Game.json");
		FAIL() << "no exception";
	}
	catch (const nlohmann::json::type_error& anError)
	{
		EXPECT_EQ(anError.id, 302);
		EXPECT_NE(std::string(anError.what()).find("type must be string, but is number"), std::string::npos);
	}
}

TEST_F(SettingsFile, MultisamplingLastMatchWins)
{
	for (const char* someJson : { R"("multisampling": "High")", R"("multisampling": ["Low", "High"])", R"("multisampling": ["High", "Bogus"])" })
	{
		myFolder.WriteSettings(WithRoot(someJson));
		ASSERT_TRUE(LoadSettings("Game.json"));
		EXPECT_EQ(GetEngineCreateParameters().myMultisampling, 3) << someJson;
	}
	GetEngineCreateParameters().myMultisampling = 0;
	myFolder.WriteSettings(WithRoot(R"("multisampling": "Ultra")"));
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_EQ(GetEngineCreateParameters().myMultisampling, 0);
	// Null is as if the key were absent: the level stays.
	GetEngineCreateParameters().myMultisampling = 2;
	myFolder.WriteSettings(WithRoot(R"("multisampling": null)"));
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_EQ(GetEngineCreateParameters().myMultisampling, 2);
}

TEST_F(SettingsFile, RenderSizeAloneSetsBothSizes)
{
	myFolder.WriteSettings(WithWindow(R"("render_size": {"w": 1920, "h": 1080})"));
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_EQ(GetEngineCreateParameters().myWindowSize, (Norv::Vector2<unsigned>(1920, 1080)));
	EXPECT_EQ(GetEngineCreateParameters().myRenderSize, (Norv::Vector2<unsigned>(1920, 1080)));
}

TEST_F(SettingsFile, WindowSizeWithAndWithoutRenderSize)
{
	myFolder.WriteSettings(WithWindow(R"("window_size": {"w": 800, "h": 600})"));
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_EQ(GetEngineCreateParameters().myRenderSize, (Norv::Vector2<unsigned>(800, 600)));
	myFolder.WriteSettings(WithWindow(R"("window_size": {"w": 800, "h": 600}, "render_size": {"w": 400, "h": 300})"));
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_EQ(GetEngineCreateParameters().myWindowSize, (Norv::Vector2<unsigned>(800, 600)));
	EXPECT_EQ(GetEngineCreateParameters().myRenderSize, (Norv::Vector2<unsigned>(400, 300)));
}

TEST_F(SettingsFile, SizesOfZeroOrBelowAreReportedAndTakeTheDefault)
{
	const std::pair<const char*, Norv::Vector2<unsigned>> someCases[] = {
		{ R"("window_size": {"w": 0, "h": 600})", { 1280, 720 } },
		{ R"("window_size": {"w": 800, "h": -600})", { 1280, 720 } },
		{ R"("render_size": {"w": -1, "h": 1e20})", { 1280, 720 } },
		{ R"("window_size": {"w": 800, "h": 600}, "render_size": {"w": 400, "h": 0})", { 800, 600 } },
	};
	for (const auto& [someJson, someWindow] : someCases)
	{
		SCOPED_TRACE(someJson);
		Norv::GetEngineCreateParameters() = {};
		myFolder.WriteSettings(WithWindow(someJson));
		testing::internal::CaptureStderr();
		ASSERT_TRUE(LoadSettings("Game.json"));
		const std::string someErrors = testing::internal::GetCapturedStderr();
		EXPECT_NE(someErrors.find(Norv::Settings::GetSettingsFilePath("Game.json").string()), std::string::npos) << someErrors;
		EXPECT_NE(someErrors.find("the default 1280 x 720 is used"), std::string::npos) << someErrors;
		EXPECT_EQ(GetEngineCreateParameters().myWindowSize, someWindow);
		EXPECT_EQ(GetEngineCreateParameters().myRenderSize, (Norv::Vector2<unsigned>(1280, 720)));
	}
	Norv::GetEngineCreateParameters() = {};
}

TEST_F(SettingsFile, BorderlessWinsOverStartBorderless)
{
	myFolder.WriteSettings(WithWindow(R"("start_borderless": true, "borderless": false)"));
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_FALSE(GetEngineCreateParameters().myBorderless);
	myFolder.WriteSettings(WithWindow(R"("start_borderless": true, "borderless": null)"));
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_TRUE(GetEngineCreateParameters().myBorderless);
}

TEST_F(SettingsFile, TitleIsReadAsUtf8AndEmptyKeepsDefault)
{
	myFolder.WriteSettings(R"({"window_settings": {"title": "Norv – Sö"}})");
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_EQ(GetEngineCreateParameters().myTitle, L"Norv \u2013 S\u00f6");
	const std::wstring someBefore = GetEngineCreateParameters().myTitle;
	myFolder.WriteSettings(R"({"window_settings": {"title": ""}})");
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_EQ(GetEngineCreateParameters().myTitle, someBefore);
}

TEST_F(SettingsFile, ClearColorFlagsAndVsync)
{
	myFolder.WriteSettings(R"({"window_settings": {"title": "T", "clear_color": {"r": 0.1, "g": 0.2, "b": 0.3, "a": 0.4},
		"start_in_fullscreen": true, "start_maximized": null}, "enable_vsync": true})");
	ASSERT_TRUE(LoadSettings("Game.json"));
	const Norv::EngineCreateParameters& someParameters = GetEngineCreateParameters();
	EXPECT_EQ(someParameters.myClearColor, Norv::Color(0.1f, 0.2f, 0.3f, 0.4f));
	EXPECT_TRUE(someParameters.myStartInFullscreen);
	EXPECT_FALSE(someParameters.myStartMaximized);
	EXPECT_TRUE(someParameters.myVsync);
}

TEST_F(SettingsFile, MissingTitleOrWindowSettingsThrow)
{
	for (const char* someJson : { R"({"window_settings": {}})", R"({"enable_vsync": true})" })
	{
		myFolder.WriteSettings(someJson);
		try
		{
			LoadSettings("Game.json");
			ADD_FAILURE() << "no exception for " << someJson;
		}
		catch (const nlohmann::json::type_error& anError)
		{
			EXPECT_NE(std::string(anError.what()).find("type must be string, but is null"), std::string::npos);
		}
	}
}

TEST_F(SettingsFile, MalformedAndTruncatedJsonThrowParseErrors)
{
	for (const char* someJson : { "{\"window_settings\": {\"title\": \"T\"", "", "not json" })
	{
		myFolder.WriteSettings(someJson);
		EXPECT_THROW(LoadSettings("Game.json"), nlohmann::json::parse_error) << someJson;
	}
}

TEST_F(SettingsFile, AssetsPathsRequireEngineAndGame)
{
	myFolder.WriteSettings(WithRoot(R"("assets_path": {"engine": "eng"})"));
	EXPECT_THROW(LoadSettings("Game.json"), nlohmann::json::type_error);
}

TEST_F(SettingsFile, MissingAssetFoldersAreNamed)
{
	myFolder.Write("eng/readme.txt", "x");
	myFolder.WriteSettings(WithRoot(R"("assets_path": {"engine": "eng", "game": "gone/data", "cooked": "cooked"})"));
	testing::internal::CaptureStderr();
	ASSERT_TRUE(LoadSettings("Game.json"));
	const std::string someErrors = testing::internal::GetCapturedStderr();
	const std::string someFile = Norv::Settings::GetSettingsFilePath("Game.json").string();
	EXPECT_EQ(someErrors, "Settings file \"" + someFile + "\": the \"game\" asset folder \"" + (myFolder.Path() / "gone/data").string() + "\" does not exist\n"
		+ "Settings file \"" + someFile + "\": the \"cooked\" asset folder \"" + (myFolder.Path() / "cooked").string() + "\" does not exist\n");
}

class AssetLookup : public SettingsFile
{
protected:
	void SetUp() override
	{
		myFolder.WriteSettings(WithRoot(R"("assets_path": {"engine": "../engine", "game": "game/./assets", "cooked": "/abs/cooked"})"));
		ASSERT_TRUE(LoadSettings("Game.json"));
	}
};

TEST_F(AssetLookup, FoldersAreJoinedAndNormalised)
{
	const auto& someRoot = myFolder.Path();
	EXPECT_EQ(Norv::Settings::GetExecutableFolder(), someRoot);
	EXPECT_EQ(Norv::Settings::GetGameAssetsPath(), someRoot / "game/assets");
	EXPECT_EQ(Norv::Settings::GetEngineAssetsPath(), (someRoot / "../engine").lexically_normal());
	EXPECT_EQ(Norv::Settings::GetCookedAssetsPath(), std::filesystem::path("/abs/cooked"));
}

TEST_F(AssetLookup, DataFolderWinsThenGameThenEngine)
{
	myFolder.Write("game/assets/Textures/a.png", "game");
	myFolder.Write("data/Textures/a.png", "data");
	myFolder.Write("game/assets/b.png", "game");
	EXPECT_EQ(Norv::Settings::ResolveAssetPath("Textures/a.png"), (myFolder.Path() / "data/Textures/a.png").string());
	EXPECT_EQ(Norv::Settings::ResolveAssetPath("b.png"), (myFolder.Path() / "game/assets/b.png").string());
	EXPECT_EQ(Norv::Settings::ResolveAssetPath("nowhere.png"), "");
	EXPECT_EQ(Norv::Settings::ResolveAssetPath("Textures"), "");
}

TEST_F(AssetLookup, NamesFromTheExecutableFolderResolveLast)
{
	myFolder.Write("UI/Button.png", "beside");
	EXPECT_EQ(Norv::Settings::ResolveAssetPath("UI/Button.png"), (myFolder.Path() / "UI/Button.png").string());
	EXPECT_EQ(Norv::Settings::ResolveAssetPath("settings/../UI/Button.png"), (myFolder.Path() / "UI/Button.png").string());
	myFolder.Write("game/assets/UI/Button.png", "game");
	EXPECT_EQ(Norv::Settings::ResolveAssetPath("UI/Button.png"), (myFolder.Path() / "game/assets/UI/Button.png").string());
}

TEST_F(AssetLookup, WindowsStyleNamesResolve)
{
	myFolder.Write("game/assets/SFX/Jump.wav", "x");
	EXPECT_EQ(Norv::Settings::ResolveAssetPath("sfx\\jump.WAV"), (myFolder.Path() / "game/assets/SFX/Jump.wav").string());
}
