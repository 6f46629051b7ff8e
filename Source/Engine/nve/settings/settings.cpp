#include "settings/settings.h"

#include "debug/Assert.h"
#include "engine/EngineCreateParameters.h"
#include "files/FilePath.h"
#include "kernel/Kernel.h"
#include "settings/DebugFeature.h"

#include <nlohmann/json.hpp>

#include <array>
#include <iostream>
#include <limits>
#include <utility>

namespace fs = std::filesystem;

namespace Norv
{
	namespace
	{
		constexpr DWORD MODULE_PATH_BUFFER_LENGTH = 520; // wide characters

		struct AssetFolders
		{
			fs::path myExecutableFolder;
			fs::path myEngineAssets;
			fs::path myGameAssets;
			fs::path myCookedAssets;
		};

		AssetFolders& GetFolders()
		{
			static AssetFolders ourFolders;
			return ourFolders;
		}

		constexpr std::array<std::pair<std::string_view, DebugFeature>, 10> DEBUG_FEATURE_WORDS = { {
			{ "Fps", DebugFeature::Fps },
			{ "Mem", DebugFeature::Mem },
			{ "Drawcalls", DebugFeature::Drawcalls },
			{ "Cpu", DebugFeature::Cpu },
			{ "FpsGraph", DebugFeature::FpsGraph },
			{ "Filewatcher", DebugFeature::Filewatcher },
			{ "OptimizeWarnings", DebugFeature::OptimizeWarnings },
			{ "MemoryTrackingStackTraces", DebugFeature::MemoryTrackingStackTraces },
			{ "MemoryTrackingAllAllocations", DebugFeature::MemoryTrackingAllAllocations },
			{ "Collision", DebugFeature::Collision },
		} };

		constexpr std::array<std::pair<std::string_view, int>, 4> MULTISAMPLING_WORDS = { {
			{ "Off", 0 }, { "Low", 1 }, { "Medium", 2 }, { "High", 3 },
		} };

		// The executable folder joined with a settings value; an absolute value replaces it.
		fs::path AssetFolderFrom(const std::string& aValue)
		{
			return (GetFolders().myExecutableFolder / fs::path(aValue)).lexically_normal();
		}

		// Nothing would load from a folder that is not there: say which one, once, here.
		void ReportMissingFolder(const fs::path& aFile, const char* aKey, const fs::path& aFolder)
		{
			std::error_code someError;
			if (!fs::is_directory(Platform::ResolveFilePath(aFolder), someError))
				std::cerr << "Settings file \"" << aFile.string() << "\": the \"" << aKey << "\" asset folder \"" << aFolder.string() << "\" does not exist\n";
		}

		bool IsSet(const nlohmann::json& aObject, const char* aKey)
		{
			return aObject.contains(aKey) && !aObject[aKey].is_null();
		}

		// A string or an array of strings, visited in order until aVisit returns false;
		// null holds no word, as if the key were absent.
		template <typename Visit>
		void ForEachWord(const nlohmann::json& aValue, Visit aVisit)
		{
			if (aValue.is_null())
				return;
			if (!aValue.is_array())
			{
				aVisit(aValue.get<std::string>());
				return;
			}
			for (const nlohmann::json& someWord : aValue)
			{
				if (!aVisit(someWord.get<std::string>()))
					return;
			}
		}

		std::uint32_t ReadDebugFeatures(const nlohmann::json& aValue)
		{
			std::uint32_t someFeatures = 0;
			ForEachWord(aValue, [&](const std::string& aWord) {
				if (aWord == "All")
				{
					someFeatures = ToMask(DebugFeature::All);
					return false;
				}
				if (aWord == "None")
				{
					someFeatures = 0;
					return false;
				}
				for (const auto& [someName, someBit] : DEBUG_FEATURE_WORDS)
				{
					if (aWord == someName)
						someFeatures |= ToMask(someBit);
				}
				return true;
			});
			return someFeatures;
		}

		void ReadMultisampling(const nlohmann::json& aValue, int& aLevel)
		{
			ForEachWord(aValue, [&](const std::string& aWord) {
				for (const auto& [someName, someLevel] : MULTISAMPLING_WORDS)
				{
					if (aWord == someName)
						aLevel = someLevel;
				}
				return true;
			});
		}

		// aWindow[aKey] as a size; one of zero or below (or past what a size holds) is
		// reported against aFile and replaced by the built-in default.
		Vector2<unsigned int> ReadSize(nlohmann::json& aWindow, const char* aKey, const fs::path& aFile)
		{
			// Read as doubles, so no value, 1e20 neither, is converted to an integer it does not fit.
			nlohmann::json& someSize = aWindow[aKey];
			const double someWidth = someSize["w"].get<double>();
			const double someHeight = someSize["h"].get<double>();
			const auto IsSide = [](double aSide) { return aSide >= 1.0 && aSide <= std::numeric_limits<unsigned int>::max(); };
			if (IsSide(someWidth) && IsSide(someHeight))
				return { static_cast<unsigned int>(someWidth), static_cast<unsigned int>(someHeight) };
			const Vector2<unsigned int> someDefault = EngineCreateParameters().myWindowSize;
			std::cerr << "Settings file \"" << aFile.string() << "\": \"" << aKey << "\" " << someWidth << " x " << someHeight
				<< " is no window size; the default " << someDefault.x << " x " << someDefault.y << " is used\n";
			return someDefault;
		}

		void ReadWindowSettings(nlohmann::json& aWindow, EngineCreateParameters& aParameters, const fs::path& aFile)
		{
			const std::string someTitle = aWindow["title"].get<std::string>();
			if (!someTitle.empty())
				aParameters.myTitle = Platform::Utf8ToWide(someTitle);

			if (IsSet(aWindow, "clear_color"))
			{
				nlohmann::json& someColor = aWindow["clear_color"];
				aParameters.myClearColor = { someColor["r"].get<float>(), someColor["g"].get<float>(), someColor["b"].get<float>(), someColor["a"].get<float>() };
			}

			const bool someHasWindowSize = aWindow.contains("window_size");
			const bool someHasRenderSize = aWindow.contains("render_size");
			if (someHasWindowSize)
			{
				aParameters.myWindowSize = ReadSize(aWindow, "window_size", aFile);
				aParameters.myRenderSize = someHasRenderSize ? ReadSize(aWindow, "render_size", aFile) : aParameters.myWindowSize;
			}
			else if (someHasRenderSize)
			{
				aParameters.myRenderSize = ReadSize(aWindow, "render_size", aFile);
				aParameters.myWindowSize = aParameters.myRenderSize;
			}

			if (IsSet(aWindow, "start_in_fullscreen"))
				aParameters.myStartInFullscreen = aWindow["start_in_fullscreen"].get<bool>();
			if (IsSet(aWindow, "start_maximized"))
				aParameters.myStartMaximized = aWindow["start_maximized"].get<bool>();
			if (IsSet(aWindow, "start_borderless"))
				aParameters.myBorderless = aWindow["start_borderless"].get<bool>();
			if (IsSet(aWindow, "borderless"))
				aParameters.myBorderless = aWindow["borderless"].get<bool>();
		}
	}

	bool LoadSettings(const std::string& aName)
	{
		wchar_t someModulePath[MODULE_PATH_BUFFER_LENGTH] = {};
		if (GetModuleFileNameW(nullptr, someModulePath, MODULE_PATH_BUFFER_LENGTH) == 0)
		{
			NV_ASSERT(false && "GetModuleFileName failed in Norv::LoadSettings");
			return false;
		}
		fs::path someFolder = fs::path(Platform::WideToUtf8(someModulePath)).parent_path();
		while (someFolder.has_relative_path() && someFolder.filename().empty())
			someFolder = someFolder.parent_path();
		GetFolders().myExecutableFolder = someFolder;

		const fs::path someFilePath = Settings::GetSettingsFilePath(aName);
		std::ifstream someFile = Platform::OpenInputFile(someFilePath);
		if (!someFile)
		{
			std::cerr << "Could not open the settings file \"" << someFilePath.string() << "\"; the built-in defaults are used\n";
			NV_ASSERT(false && "Could not open project settings file in Norv::LoadSettings");
			return false;
		}

		nlohmann::json someRoot = nlohmann::json::parse(someFile);
		EngineCreateParameters& someParameters = GetEngineCreateParameters();

		if (someRoot.is_object() && someRoot.contains("assets_path"))
		{
			nlohmann::json& someAssets = someRoot["assets_path"];
			GetFolders().myEngineAssets = AssetFolderFrom(someAssets["engine"].get<std::string>());
			GetFolders().myGameAssets = AssetFolderFrom(someAssets["game"].get<std::string>());
			ReportMissingFolder(someFilePath, "engine", GetFolders().myEngineAssets);
			ReportMissingFolder(someFilePath, "game", GetFolders().myGameAssets);
			if (someAssets.contains("cooked"))
			{
				GetFolders().myCookedAssets = AssetFolderFrom(someAssets["cooked"].get<std::string>());
				ReportMissingFolder(someFilePath, "cooked", GetFolders().myCookedAssets);
			}
		}

		ReadWindowSettings(someRoot["window_settings"], someParameters, someFilePath);

		if (IsSet(someRoot, "enable_vsync"))
			someParameters.myVsync = someRoot["enable_vsync"].get<bool>();

		someParameters.myDebugFeatures = someRoot.contains("debug_features") ? ReadDebugFeatures(someRoot["debug_features"]) : 0;

		if (someRoot.contains("multisampling"))
			ReadMultisampling(someRoot["multisampling"], someParameters.myMultisampling);
		return true;
	}

	namespace Settings
	{
		fs::path GetSettingsFilePath(const std::string& aName)
		{
			const std::string someFileName = aName.find('.') == std::string::npos ? aName + ".json" : aName;
			return GetFolders().myExecutableFolder / "settings" / someFileName;
		}

		std::string ResolveAssetPath(std::string_view aRelative)
		{
			const fs::path someRelative = Platform::ResolveFilePath(aRelative);
			const AssetFolders& someFolders = GetFolders();
			const auto someExisting = [&](const fs::path& aFolder) -> std::string {
				const fs::path someCandidate = Platform::ResolveFilePath(aFolder / someRelative);
				std::error_code someError;
				return fs::is_regular_file(someCandidate, someError) ? someCandidate.string() : std::string();
			};

			if (std::string someFound = someExisting(someFolders.myExecutableFolder / "data"); !someFound.empty())
				return someFound;
			if (!someFolders.myGameAssets.empty())
			{
				if (std::string someFound = someExisting(someFolders.myGameAssets); !someFound.empty())
					return someFound;
			}
			if (!someFolders.myEngineAssets.empty())
			{
				if (std::string someFound = someExisting(someFolders.myEngineAssets); !someFound.empty())
					return someFound;
			}
			// The game spells some names from its working directory, the executable's folder
			// ("../Source/Game/data/UI/..."); no asset folder joins those to an existing file.
			return someExisting(someFolders.myExecutableFolder);
		}

		const fs::path& GetExecutableFolder() { return GetFolders().myExecutableFolder; }
		const fs::path& GetEngineAssetsPath() { return GetFolders().myEngineAssets; }
		const fs::path& GetGameAssetsPath() { return GetFolders().myGameAssets; }
		const fs::path& GetCookedAssetsPath() { return GetFolders().myCookedAssets; }
	}
}
