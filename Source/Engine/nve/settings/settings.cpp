#include "settings/settings.h"

#include "engine/EngineCreateParameters.h"
#include "files/FilePath.h"
#include "kernel/Kernel.h"
#include "loaders/JsonWords.h"
#include "settings/DebugFeature.h"
#include "settings/SettingsValues.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <iostream>
#include <limits>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

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

		constexpr std::string_view DEFAULT_COLOUR_USED = "the default colour is used";

		// The largest side of a 2D texture Direct3D 11 guarantees, which the back
		// buffer is; also the largest window side the windowing layer makes.
		constexpr double MAX_WINDOW_SIDE_PX = 16384.0;

		using impl::SettingKind;
		using impl::SettingsValues;

		// The executable folder joined with a settings value; an absolute value replaces it.
		fs::path AssetFolderFrom(const std::string& aValue)
		{
			return (GetFolders().myExecutableFolder / fs::path(aValue)).lexically_normal();
		}

		bool IsFolder(const fs::path& aFolder)
		{
			std::error_code someError;
			return fs::is_directory(Platform::ResolveFilePath(aFolder), someError);
		}

		bool FindExecutableFolder()
		{
			wchar_t someModulePath[MODULE_PATH_BUFFER_LENGTH] = {};
			const DWORD someLength = GetModuleFileNameW(nullptr, someModulePath, MODULE_PATH_BUFFER_LENGTH);
			if (someLength == 0 || someLength >= MODULE_PATH_BUFFER_LENGTH) // a full buffer holds a path cut short
			{
				std::cerr << "The game's own folder could not be found" << (someLength == 0 ? "" : " (its path is too long)")
					<< ", so its settings file cannot be read; the game cannot start\n";
				return false;
			}
			fs::path someFolder = fs::path(Platform::WideToUtf8(someModulePath)).parent_path();
			while (someFolder.has_relative_path() && someFolder.filename().empty())
				someFolder = someFolder.parent_path();
			// The asset folders are only those this load names.
			GetFolders() = AssetFolders{ someFolder, {}, {}, {} };
			return true;
		}

		// The file's json, or nothing (and one line) when the file cannot be read, is
		// empty or is not json: without it the game's folders are unknown.
		std::optional<nlohmann::json> ParseSettingsFile(const fs::path& aFile)
		{
			const std::optional<std::vector<std::uint8_t>> someBytes = Platform::ReadWholeFile(aFile);
			const std::string someText = someBytes ? std::string(someBytes->begin(), someBytes->end()) : std::string();
			if (!someBytes || someText.find_first_not_of(" \t\r\n") == std::string::npos)
			{
				std::cerr << "The settings file \"" << aFile.string() << "\" is needed to find the game's folders, but "
					<< (someBytes ? "it is empty" : Platform::WhyUnreadable(aFile)) << "; the game cannot start\n";
				return std::nullopt;
			}
			std::string someFault;
			std::optional<nlohmann::json> someRoot = impl::ParseJson(someText, true, someFault);
			if (!someRoot)
				SettingsValues(aFile).Report("", "is not valid JSON: " + someFault, impl::CANNOT_START_WITHOUT_IT);
			return someRoot;
		}

		// "engine" and "game" are required once "assets_path" is given; "cooked" is optional.
		void ReadAssetFolders(const nlohmann::json& aRoot, const SettingsValues& aValues)
		{
			const nlohmann::json* someAssets = aValues.FindEssential(aRoot, "assets_path", SettingKind::Object);
			if (!someAssets)
				return;
			AssetFolders& someFolders = GetFolders();
			someFolders.myEngineAssets = AssetFolderFrom(aValues.FindRequired(*someAssets, "assets_path.engine", SettingKind::Text).get<std::string>());
			someFolders.myGameAssets = AssetFolderFrom(aValues.FindRequired(*someAssets, "assets_path.game", SettingKind::Text).get<std::string>());
			if (const nlohmann::json* someCooked = aValues.FindEssential(*someAssets, "assets_path.cooked", SettingKind::Text))
				someFolders.myCookedAssets = AssetFolderFrom(someCooked->get<std::string>());
		}

		void ReadFlag(const nlohmann::json& anObject, std::string_view aKey, const SettingsValues& aValues, bool& aFlag)
		{
			if (const nlohmann::json* someFlag = aValues.FindOptional(anObject, aKey, SettingKind::Flag, aFlag ? "true is used" : "false is used"))
				aFlag = someFlag->get<bool>();
		}

		// The four channels of aColor, each a number a float holds; else the colour stays.
		void ReadClearColor(const nlohmann::json& aColor, const SettingsValues& aValues, Color& aClearColor)
		{
			std::array<float, 4> someChannels{};
			constexpr std::array<std::string_view, 4> CHANNEL_KEYS = { "window_settings.clear_color.r", "window_settings.clear_color.g",
				"window_settings.clear_color.b", "window_settings.clear_color.a" };
			for (size_t i = 0; i < CHANNEL_KEYS.size(); ++i)
			{
				const nlohmann::json* someChannel = aValues.FindNeeded(aColor, CHANNEL_KEYS[i], SettingKind::Number, DEFAULT_COLOUR_USED);
				if (!someChannel)
					return;
				const double someValue = someChannel->get<double>();
				if (!(std::fabs(someValue) <= std::numeric_limits<float>::max()))
				{
					aValues.Report(CHANNEL_KEYS[i], "is " + impl::DescribeJsonValue(*someChannel) + ", past what a colour channel holds", DEFAULT_COLOUR_USED);
					return;
				}
				someChannels[i] = static_cast<float>(someValue);
			}
			aClearColor = { someChannels[0], someChannels[1], someChannels[2], someChannels[3] };
		}

		// aWindow's size aKey (set): an object whose "w" and "h" are numbers from 1 to
		// the largest window side. Anything else is reported and gives the built-in default.
		Vector2<unsigned int> ReadSize(const nlohmann::json& aWindow, const std::string& aKey, const SettingsValues& aValues)
		{
			const Vector2<unsigned int> someDefault = EngineCreateParameters().myWindowSize;
			const std::string someInstead = "the default " + std::to_string(someDefault.x) + " x " + std::to_string(someDefault.y) + " is used";
			const nlohmann::json* someSize = aValues.FindOptional(aWindow, aKey, SettingKind::Object, someInstead);
			const nlohmann::json* someWidth = someSize ? aValues.FindNeeded(*someSize, aKey + ".w", SettingKind::Number, someInstead) : nullptr;
			const nlohmann::json* someHeight = someWidth ? aValues.FindNeeded(*someSize, aKey + ".h", SettingKind::Number, someInstead) : nullptr;
			if (!someHeight)
				return someDefault;
			// Read as doubles, so no value, 1e20 neither, is converted to an integer it does not fit.
			const double someW = someWidth->get<double>();
			const double someH = someHeight->get<double>();
			const auto IsSide = [](double aSide) { return aSide >= 1.0 && aSide <= MAX_WINDOW_SIDE_PX; };
			if (IsSide(someW) && IsSide(someH))
				return { static_cast<unsigned int>(someW), static_cast<unsigned int>(someH) };
			std::ostringstream someProblem;
			someProblem << someW << " x " << someH << " is no window size (each side must be from 1 to " << MAX_WINDOW_SIDE_PX << ")";
			aValues.Report(aKey, someProblem.str(), someInstead);
			return someDefault;
		}

		void ReadWindowSettings(const nlohmann::json& aRoot, const SettingsValues& aValues, EngineCreateParameters& aParameters)
		{
			const nlohmann::json& someWindow = aValues.FindRequired(aRoot, "window_settings", SettingKind::Object);
			const std::string& someTitle = aValues.FindRequired(someWindow, "window_settings.title", SettingKind::Text).get_ref<const std::string&>();
			if (!someTitle.empty())
				aParameters.myTitle = Platform::Utf8ToWide(someTitle);

			if (const nlohmann::json* someColor = aValues.FindOptional(someWindow, "window_settings.clear_color", SettingKind::Object, DEFAULT_COLOUR_USED))
				ReadClearColor(*someColor, aValues, aParameters.myClearColor);

			const bool someHasWindowSize = impl::IsSet(someWindow, "window_size");
			const bool someHasRenderSize = impl::IsSet(someWindow, "render_size");
			if (someHasWindowSize)
			{
				aParameters.myWindowSize = ReadSize(someWindow, "window_settings.window_size", aValues);
				aParameters.myRenderSize = someHasRenderSize ? ReadSize(someWindow, "window_settings.render_size", aValues) : aParameters.myWindowSize;
			}
			else if (someHasRenderSize)
			{
				aParameters.myRenderSize = ReadSize(someWindow, "window_settings.render_size", aValues);
				aParameters.myWindowSize = aParameters.myRenderSize;
			}

			ReadFlag(someWindow, "window_settings.start_in_fullscreen", aValues, aParameters.myStartInFullscreen);
			ReadFlag(someWindow, "window_settings.start_maximized", aValues, aParameters.myStartMaximized);
			ReadFlag(someWindow, "window_settings.start_borderless", aValues, aParameters.myBorderless);
			ReadFlag(someWindow, "window_settings.borderless", aValues, aParameters.myBorderless);
		}

		// A word, or a list of words visited in order until aVisit returns false; an
		// element that is not a word is reported and skipped.
		template <typename Visit>
		void ForEachWord(const nlohmann::json& aValue, std::string_view aKey, const SettingsValues& aValues, Visit aVisit)
		{
			if (aValue.is_string())
			{
				aVisit(aValue.get_ref<const std::string&>());
				return;
			}
			for (size_t i = 0; i < aValue.size(); ++i)
			{
				const std::string someKey = std::string(aKey) + "[" + std::to_string(i) + "]";
				if (aValues.IsOfKind(aValue[i], someKey, SettingKind::Text, "it is skipped") && !aVisit(aValue[i].get_ref<const std::string&>()))
					return;
			}
		}

		// The entry of aWords (pairs of a word and its value) named aWord; an unknown
		// word is reported against aKey, with the words there are, and gives null.
		template <typename Words>
		const typename Words::value_type* FindWord(const Words& aWords, const std::string& aWord, std::string_view aKey, const SettingsValues& aValues, std::string_view aMoreWords = "")
		{
			for (const auto& someEntry : aWords)
				if (someEntry.first == aWord)
					return &someEntry;
			std::string someList;
			for (const auto& someEntry : aWords)
				someList += (someList.empty() ? "" : ", ") + std::string(someEntry.first);
			aValues.Report(aKey, "has the unknown word " + impl::QuoteText(aWord) + " (the words are " + someList + std::string(aMoreWords) + ")", "it is skipped");
			return nullptr;
		}

		std::uint32_t ReadDebugFeatures(const nlohmann::json& aValue, const SettingsValues& aValues)
		{
			std::uint32_t someFeatures = 0;
			ForEachWord(aValue, "debug_features", aValues, [&](const std::string& aWord) {
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
				if (const auto* someFeature = FindWord(DEBUG_FEATURE_WORDS, aWord, "debug_features", aValues, ", All, None"))
					someFeatures |= ToMask(someFeature->second);
				return true;
			});
			return someFeatures;
		}

		void ReadMultisampling(const nlohmann::json& aValue, const SettingsValues& aValues, int& aLevel)
		{
			ForEachWord(aValue, "multisampling", aValues, [&](const std::string& aWord) {
				if (const auto* someLevel = FindWord(MULTISAMPLING_WORDS, aWord, "multisampling", aValues))
					aLevel = someLevel->second;
				return true;
			});
		}

		void ReadSettings(const nlohmann::json& aRoot, const SettingsValues& aValues, EngineCreateParameters& aParameters)
		{
			if (!aRoot.is_object())
				aValues.Refuse("", "must hold an object of settings, not " + impl::DescribeJsonValue(aRoot));
			ReadAssetFolders(aRoot, aValues);
			ReadWindowSettings(aRoot, aValues, aParameters);
			ReadFlag(aRoot, "enable_vsync", aValues, aParameters.myVsync);

			// Absent, the debug features are all off (not the built-in default).
			const nlohmann::json* someFeatures = aValues.FindOptional(aRoot, "debug_features", SettingKind::Words, "no debug feature is on");
			aParameters.myDebugFeatures = someFeatures ? ReadDebugFeatures(*someFeatures, aValues) : 0;

			if (const nlohmann::json* someLevel = aValues.FindOptional(aRoot, "multisampling", SettingKind::Words, "it is ignored"))
				ReadMultisampling(*someLevel, aValues, aParameters.myMultisampling);
		}
	}

	bool LoadSettings(const std::string& aName)
	{
		if (!FindExecutableFolder())
			return false;
		const fs::path someFilePath = Settings::GetSettingsFilePath(aName);
		const std::optional<nlohmann::json> someRoot = ParseSettingsFile(someFilePath);
		if (!someRoot)
			return false;
		try
		{
			ReadSettings(*someRoot, SettingsValues(someFilePath), GetEngineCreateParameters());
			return true;
		}
		catch (const impl::UnusableSettings&)
		{
			return false; // reported where it was found
		}
	}

	namespace Settings
	{
		fs::path GetSettingsFilePath(const std::string& aName)
		{
			const std::string someFileName = aName.find('.') == std::string::npos ? aName + ".json" : aName;
			return GetFolders().myExecutableFolder / "settings" / someFileName;
		}

		bool HasAssetFolders(const std::string& aName)
		{
			const SettingsValues someValues(GetSettingsFilePath(aName));
			const AssetFolders& someFolders = GetFolders();
			// LoadSettings sets "engine" and "game" together, or neither when "assets_path" is absent.
			if (someFolders.myEngineAssets.empty())
			{
				someValues.Report("assets_path", "is missing (it must be an object naming the \"engine\", \"game\" and \"cooked\" folders)",
					impl::CANNOT_START_WITHOUT_IT);
				return false;
			}
			const std::pair<std::string_view, const fs::path*> someNamedFolders[] = { { "assets_path.engine", &someFolders.myEngineAssets },
				{ "assets_path.game", &someFolders.myGameAssets }, { "assets_path.cooked", &someFolders.myCookedAssets } };
			for (const auto& [someKey, someFolder] : someNamedFolders)
			{
				if (someFolder->empty())
					someValues.Report(someKey, "is missing (it must be text)", impl::CANNOT_START_WITHOUT_IT);
				else if (!IsFolder(*someFolder))
					someValues.Report(someKey, "names \"" + someFolder->string() + "\", which is not an existing folder", impl::CANNOT_START_WITHOUT_IT);
				else
					continue;
				return false;
			}
			return true;
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
