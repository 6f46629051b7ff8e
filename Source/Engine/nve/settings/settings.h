#pragma once
// The settings file ("settings/<name>.json" beside the executable) and the asset
// lookup every loader resolves relative names through.
#include <filesystem>
#include <string>
#include <string_view>

namespace Norv
{
	// Reads the settings into the global create parameters and the asset folders.
	// False (with an assert) when the executable path or the file cannot be had;
	// malformed json and missing required keys throw the json library's exceptions.
	bool LoadSettings(const std::string& aName);

	namespace Settings
	{
		// The file LoadSettings(aName) reads.
		std::filesystem::path GetSettingsFilePath(const std::string& aName);

		// Full path of the first existing of: <executable folder>/data/<relative>,
		// <game assets>/<relative>, <engine assets>/<relative>; "" when none exists.
		std::string ResolveAssetPath(std::string_view aRelative);

		const std::filesystem::path& GetExecutableFolder();
		const std::filesystem::path& GetEngineAssetsPath();
		const std::filesystem::path& GetGameAssetsPath();
		const std::filesystem::path& GetCookedAssetsPath();
	}
}
