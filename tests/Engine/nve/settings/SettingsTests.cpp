#include "Support/AssertRecorder.h"
#include "Support/ExecutableFolder.h"
#include "engine/EngineCreateParameters.h"
#include "kernel/Kernel.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <tuple>

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

	struct Loaded
	{
		bool myResult;
		std::string myErrors;
	};

	Loaded LoadCapturing(const std::string& aName = "Game.json")
	{
		testing::internal::CaptureStderr();
		const bool someResult = LoadSettings(aName);
		return { someResult, testing::internal::GetCapturedStderr() };
	}
}

class SettingsFile : public ::testing::Test
{
protected:
	// A line on the settings file: its start, and aRest after it.
	std::string OnTheFile(const std::string& aRest) const
	{
		return "Settings file \"" + (myFolder.Path() / "settings/Game.json").string() + "\"" + aRest + "\n";
	}

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

TEST_F(SettingsFile, AMissingEmptyOrUnreadableFileIsOneLineWithItsPathAndNoAssert)
{
	NorvTest::AssertRecorder someAsserts;
	const std::filesystem::path someFile = myFolder.Path() / "settings/Game.json";
	const std::string someStart = "The settings file \"" + someFile.string() + "\" is needed to find the game's folders, but ";
	EXPECT_EQ(LoadCapturing().myErrors, someStart + "it does not exist; the game cannot start\n");
	myFolder.WriteSettings(" \r\n\t ");
	EXPECT_EQ(LoadCapturing().myErrors, someStart + "it is empty; the game cannot start\n");
	std::filesystem::remove(someFile);
	std::filesystem::create_directories(someFile);
	const Loaded someFolder = LoadCapturing();
	EXPECT_FALSE(someFolder.myResult);
	EXPECT_EQ(someFolder.myErrors, someStart + "it is a folder; the game cannot start\n");
	EXPECT_EQ(someAsserts.Count(), 0u);
	EXPECT_EQ(GetEngineCreateParameters().myDebugFeatures, 3u);
}

TEST_F(SettingsFile, AnExecutablePathThatCannotBeHadIsOneLineAndNoAssert)
{
	NorvTest::AssertRecorder someAsserts;
	for (const std::string& someExecutable : { std::string(), "/" + std::string(600, 'a') + "/Game" })
	{
		Platform::SetModuleFileNameOverride([someExecutable] { return someExecutable; });
		const Loaded someLoad = LoadCapturing();
		EXPECT_FALSE(someLoad.myResult);
		EXPECT_EQ(someLoad.myErrors, std::string("The game's own folder could not be found") + (someExecutable.empty() ? "" : " (its path is too long)")
			+ ", so its settings file cannot be read; the game cannot start\n");
	}
	EXPECT_EQ(someAsserts.Count(), 0u);
}

TEST_F(SettingsFile, DebugFeatureWords)
{
	const std::pair<const char*, unsigned> someCases[] = {
		{ R"("debug_features": ["Fps", "None", "Mem"])", 0u },
		{ R"("debug_features": ["Fps", "All"])", 511u },
		{ R"("debug_features": "Filewatcher")", 32u },
		{ R"("debug_features": [])", 0u },
		{ R"("debug_features": ["Collision", "Fps"])", 513u },
		// After "All" or "None" nothing more is read, damaged or not.
		{ R"("debug_features": ["Cpu", "All", 7, "Bogus"])", 511u },
	};
	for (const auto& [someJson, someExpected] : someCases)
	{
		myFolder.WriteSettings(WithRoot(someJson));
		const Loaded someLoad = LoadCapturing();
		ASSERT_TRUE(someLoad.myResult);
		EXPECT_EQ(someLoad.myErrors, "") << someJson;
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

TEST_F(SettingsFile, MultisamplingLastMatchWins)
{
	for (const char* someJson : { R"("multisampling": "High")", R"("multisampling": ["Low", "High"])" })
	{
		myFolder.WriteSettings(WithRoot(someJson));
		ASSERT_TRUE(LoadSettings("Game.json"));
		EXPECT_EQ(GetEngineCreateParameters().myMultisampling, 3) << someJson;
	}
	// Null is as if the key were absent: the level stays.
	GetEngineCreateParameters().myMultisampling = 2;
	myFolder.WriteSettings(WithRoot(R"("multisampling": null)"));
	ASSERT_TRUE(LoadSettings("Game.json"));
	EXPECT_EQ(GetEngineCreateParameters().myMultisampling, 2);
}

TEST_F(SettingsFile, WordsOfNoKnownWordOrTheWrongTypeAreALineEachAndSkipped)
{
	constexpr const char* DEBUG_WORDS = " (the words are Fps, Mem, Drawcalls, Cpu, FpsGraph, Filewatcher, OptimizeWarnings, "
		"MemoryTrackingStackTraces, MemoryTrackingAllAllocations, Collision, All, None); it is skipped";
	const std::tuple<const char*, unsigned, int, std::string> someCases[] = {
		{ R"("debug_features": ["Fps", 3, "Bogus", "Cpu"])", 9u, 0, OnTheFile(R"(: "debug_features[1]" must be text, not the number 3; it is skipped)")
			+ OnTheFile(R"(: "debug_features" has the unknown word "Bogus")" + std::string(DEBUG_WORDS)) },
		{ R"("debug_features": 5)", 0u, 0, OnTheFile(R"(: "debug_features" must be a word or a list of words, not the number 5; no debug feature is on)") },
		{ R"("multisampling": ["High", "Ultra"])", 0u, 3, OnTheFile(R"(: "multisampling" has the unknown word "Ultra" (the words are Off, Low, Medium, High); it is skipped)") },
		{ R"("multisampling": ["Low", true])", 0u, 1, OnTheFile(R"(: "multisampling[1]" must be text, not true; it is skipped)") },
		{ R"("multisampling": {"level": "High"})", 0u, 0, OnTheFile(R"(: "multisampling" must be a word or a list of words, not an object; it is ignored)") },
	};
	for (const auto& [someJson, someFeatures, someLevel, someLines] : someCases)
	{
		GetEngineCreateParameters() = {};
		myFolder.WriteSettings(WithRoot(someJson));
		const Loaded someLoad = LoadCapturing();
		ASSERT_TRUE(someLoad.myResult) << someJson;
		EXPECT_EQ(someLoad.myErrors, someLines);
		EXPECT_EQ(GetEngineCreateParameters().myDebugFeatures, someFeatures) << someJson;
		EXPECT_EQ(GetEngineCreateParameters().myMultisampling, someLevel) << someJson;
	}
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

TEST_F(SettingsFile, SizesNoWindowCanHaveAreReportedAndTakeTheDefault)
{
	const std::tuple<const char*, Norv::Vector2<unsigned>, const char*> someCases[] = {
		{ R"("window_size": {"w": 0, "h": 600})", { 1280, 720 }, "window_size\" 0 x 600" },
		{ R"("window_size": {"w": 800, "h": -600})", { 1280, 720 }, "window_size\" 800 x -600" },
		{ R"("render_size": {"w": -1, "h": 1e20})", { 1280, 720 }, "render_size\" -1 x 1e+20" },
		{ R"("window_size": {"w": 800, "h": 600}, "render_size": {"w": 400, "h": 0})", { 800, 600 }, "render_size\" 400 x 0" },
		// Past the largest window and back buffer there are: making it would fail.
		{ R"("window_size": {"w": 100000, "h": 100000}, "render_size": {"w": 1280, "h": 720})", { 1280, 720 }, "window_size\" 100000 x 100000" },
		{ R"("window_size": {"w": 1280, "h": 16385}, "render_size": {"w": 1280, "h": 720})", { 1280, 720 }, "window_size\" 1280 x 16385" },
	};
	for (const auto& [someJson, someWindow, someSize] : someCases)
	{
		SCOPED_TRACE(someJson);
		Norv::GetEngineCreateParameters() = {};
		myFolder.WriteSettings(WithWindow(someJson));
		const Loaded someLoad = LoadCapturing();
		ASSERT_TRUE(someLoad.myResult);
		EXPECT_EQ(someLoad.myErrors, OnTheFile(": \"window_settings." + std::string(someSize)
			+ " is no window size (each side must be from 1 to 16384); the default 1280 x 720 is used"));
		EXPECT_EQ(GetEngineCreateParameters().myWindowSize, someWindow);
		EXPECT_EQ(GetEngineCreateParameters().myRenderSize, (Norv::Vector2<unsigned>(1280, 720)));
	}
	myFolder.WriteSettings(WithWindow(R"("window_size": {"w": 16384, "h": 1})"));
	EXPECT_EQ(LoadCapturing().myErrors, "");
	EXPECT_EQ(GetEngineCreateParameters().myWindowSize, (Norv::Vector2<unsigned>(16384, 1)));
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

TEST_F(SettingsFile, EachFlagIsReadFromItsOwnKeyAlone)
{
	using Flag = bool Norv::EngineCreateParameters::*;
	const Flag someFlags[] = { &Norv::EngineCreateParameters::myStartInFullscreen, &Norv::EngineCreateParameters::myStartMaximized,
		&Norv::EngineCreateParameters::myBorderless, &Norv::EngineCreateParameters::myVsync };
	const std::pair<std::string, Flag> someCases[] = {
		{ WithWindow(R"("start_in_fullscreen": true)"), someFlags[0] },
		{ WithWindow(R"("start_maximized": true)"), someFlags[1] },
		{ WithWindow(R"("borderless": true)"), someFlags[2] },
		{ WithWindow(R"("start_borderless": true)"), someFlags[2] },
		{ WithRoot(R"("enable_vsync": true)"), someFlags[3] },
	};
	for (const auto& [someJson, someSet] : someCases)
	{
		Norv::GetEngineCreateParameters() = {};
		myFolder.WriteSettings(someJson);
		ASSERT_TRUE(LoadSettings("Game.json")) << someJson;
		for (const Flag someFlag : someFlags)
			EXPECT_EQ(GetEngineCreateParameters().*someFlag, someFlag == someSet) << someJson << ", flag " << (&someFlag - someFlags);
	}
}

TEST_F(SettingsFile, OptionalValuesOfTheWrongTypeAreOneLineEachAndKeepTheirDefault)
{
	const std::pair<std::string, const char*> someCases[] = {
		{ WithWindow(R"("window_size": {"w": "big", "h": 600})"), R"("window_settings.window_size.w" must be a number, not the text "big"; the default 1280 x 720 is used)" },
		{ WithWindow(R"("render_size": {"w": 800})"), R"("window_settings.render_size.h" is missing (it must be a number); the default 1280 x 720 is used)" },
		{ WithWindow(R"("window_size": [800, 600])"), R"("window_settings.window_size" must be an object, not a list of 2 values; the default 1280 x 720 is used)" },
		{ WithWindow(R"("clear_color": {"r": 0.1, "g": "0.2", "b": 0.3, "a": 1})"), R"("window_settings.clear_color.g" must be a number, not the text "0.2"; the default colour is used)" },
		{ WithWindow(R"("clear_color": {"r": 1e300, "g": 0.2, "b": 0.3, "a": 1})"), R"("window_settings.clear_color.r" is the number 1e+300, past what a colour channel holds; the default colour is used)" },
		{ WithWindow(R"("start_maximized": 1)"), R"("window_settings.start_maximized" must be true or false, not the number 1; false is used)" },
		{ WithWindow(R"("start_borderless": false, "borderless": {})"), R"("window_settings.borderless" must be true or false, not an object; false is used)" },
		{ WithRoot(R"("enable_vsync": ")" + std::string(60, 'y') + "\""), R"("enable_vsync" must be true or false, not the text "yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy"...; false is used)" },
	};
	const Norv::EngineCreateParameters someDefaults;
	for (const auto& [someJson, someLine] : someCases)
	{
		Norv::GetEngineCreateParameters() = {};
		myFolder.WriteSettings(someJson);
		const Loaded someLoad = LoadCapturing();
		ASSERT_TRUE(someLoad.myResult) << someJson;
		EXPECT_EQ(someLoad.myErrors, OnTheFile(std::string(": ") + someLine));
		const Norv::EngineCreateParameters& someRead = GetEngineCreateParameters();
		EXPECT_EQ(someRead.myWindowSize, someDefaults.myWindowSize) << someJson;
		EXPECT_EQ(someRead.myClearColor, someDefaults.myClearColor) << someJson;
		EXPECT_FALSE(someRead.myStartMaximized || someRead.myBorderless || someRead.myVsync) << someJson;
	}
}

TEST_F(SettingsFile, MalformedJsonOrValuesTheGameCannotStartWithoutStopWithOneLine)
{
	const std::pair<std::string, const char*> someCases[] = {
		{ R"({"window_settings": {"title": null}})", R"(: "window_settings.title" is missing (it must be text))" },
		{ R"({"window_settings": {"title": 3}})", R"(: "window_settings.title" must be text, not the number 3)" },
		{ R"({"enable_vsync": true})", R"(: "window_settings" is missing (it must be an object))" },
		{ R"({"window_settings": "Norv"})", R"(: "window_settings" must be an object, not the text "Norv")" },
		{ "[1, 2]", " must hold an object of settings, not a list of 2 values" },
		{ WithRoot(R"("assets_path": "../data")"), R"(: "assets_path" must be an object, not the text "../data")" },
		{ WithRoot(R"("assets_path": {"engine": "eng"})"), R"(: "assets_path.game" is missing (it must be text))" },
		{ WithRoot(R"("assets_path": {"engine": "eng", "game": "game", "cooked": false})"), R"(: "assets_path.cooked" must be text, not false)" },
		{ R"({"window_settings": {"title": "T")", " is not valid JSON: it ends too early" },
		{ "{\n  \"window_settings\": {\"title\": \"T\"},\n  \"enable_vsync\": yes\n}", " is not valid JSON: it goes wrong at line 3, column 19" },
		{ R"({"window_settings": {"title": "T"}} trailing)", " is not valid JSON: it goes wrong at line 1, column 39" }, // where "trailing" stops being a word
		{ R"({"window_settings": {"title": "T"}, "w": -1e400})", " is not valid JSON: it holds a number too large at line 1, column 47" },
	};
	for (const auto& [someJson, someLine] : someCases)
	{
		myFolder.WriteSettings(someJson);
		const Loaded someLoad = LoadCapturing();
		EXPECT_FALSE(someLoad.myResult) << someJson;
		EXPECT_EQ(someLoad.myErrors, OnTheFile(someLine + std::string("; the game cannot start without it")));
	}
}

TEST_F(SettingsFile, TheGameNeedsEveryAssetFolderNamedAndThere)
{
	for (const char* someFolder : { "eng", "Game/Data", "cooked" })
		std::filesystem::create_directories(myFolder.Path() / someFolder);
	const std::pair<std::string, std::string> someCases[] = {
		{ MINIMAL, R"("assets_path" is missing (it must be an object naming the "engine", "game" and "cooked" folders))" },
		{ WithRoot(R"("assets_path": {"engine": "eng", "game": "game/data"})"), R"("assets_path.cooked" is missing (it must be text))" },
		{ WithRoot(R"("assets_path": {"engine": "eng", "game": "gone/data", "cooked": "cooked"})"), "\"assets_path.game\" names \"" + (myFolder.Path() / "gone/data").string() + "\", which is not an existing folder" },
		// Named in any case, as the game's names are.
		{ WithRoot(R"("assets_path": {"engine": "eng", "game": "game/data", "cooked": "cooked"})"), "" },
	};
	for (const auto& [someJson, someLine] : someCases)
	{
		myFolder.WriteSettings(someJson);
		ASSERT_TRUE(LoadSettings("Game.json")) << "the engine itself starts without them";
		testing::internal::CaptureStderr();
		EXPECT_EQ(Norv::Settings::HasAssetFolders("Game.json"), someLine.empty()) << someJson;
		EXPECT_EQ(testing::internal::GetCapturedStderr(), someLine.empty() ? "" : OnTheFile(": " + someLine + "; the game cannot start without it"));
	}
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
