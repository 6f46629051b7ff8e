#pragma once
// The settings file ("settings/<name>.json" beside the executable) and the asset
// lookup every loader resolves relative names through.
#include <filesystem>
#include <string>
#include <string_view>

namespace Norv
{
	// Reads the settings into the global create parameters and the asset folders.
	// Every value that cannot be used is reported in one line naming the file and
	// the key. An optional one (sizes, colour, flags, vsync, debug features,
	// multisampling) keeps its default; the result is false, after its one line,
	// when the executable's folder or the file cannot be had, the file is empty or
	// not json, or the title or an asset folder is missing or of the wrong type.
	bool LoadSettings(const std::string& aName);

	namespace Settings
	{
		// The file LoadSettings(aName) reads.
		std::filesystem::path GetSettingsFilePath(const std::string& aName);

		// True when the loaded settings name the engine, game and cooked asset folders
		// and each exists; else the first that does not is reported against the file
		// aName. The engine starts without them (assets then resolve only through
		// "data/"); a game whose assets and shaders are there cannot.
		bool HasAssetFolders(const std::string& aName);

		// Full path of the first existing of: <executable folder>/data/<relative>,
		// <game assets>/<relative>, <engine assets>/<relative>; "" when none exists.
		std::string ResolveAssetPath(std::string_view aRelative);

		const std::filesystem::path& GetExecutableFolder();
		const std::filesystem::path& GetEngineAssetsPath();
		const std::filesystem::path& GetGameAssetsPath();
		const std::filesystem::path& GetCookedAssetsPath();
	}
}
