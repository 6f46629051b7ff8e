#pragma once
// Inputs the tests make, kept as seeds for the loaders' fuzzers: with
// NORV_FUZZ_SEEDS set to a folder, each input is written to <folder>/<loader>/,
// named by its hash. Without it nothing is written.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

namespace NorvTest
{
	// Seeds past this size slow every fuzzer run down and find nothing more.
	constexpr std::size_t MAX_FUZZ_SEED_BYTES = 256 * 1024;

	inline void SaveFuzzSeed(std::string_view aLoader, std::string_view aBytes)
	{
		const char* someRoot = std::getenv("NORV_FUZZ_SEEDS");
		if (!someRoot || !*someRoot || aLoader.empty() || aBytes.size() > MAX_FUZZ_SEED_BYTES)
			return;
		const std::filesystem::path someFolder = std::filesystem::path(someRoot) / aLoader;
		std::filesystem::create_directories(someFolder);
		std::ofstream someFile(someFolder / std::to_string(std::hash<std::string_view>{}(aBytes)), std::ios::binary);
		someFile.write(aBytes.data(), static_cast<std::streamsize>(aBytes.size()));
	}

	// The loader that reads a file written at aPath, by the names the program gives
	// its files; "" for none.
	inline std::string_view FuzzLoaderOf(const std::filesystem::path& aPath, std::string_view aBytes)
	{
		std::string someExtension = aPath.extension().string();
		for (char& someChar : someExtension)
			someChar = static_cast<char>(std::tolower(static_cast<unsigned char>(someChar)));
		const std::string someFolder = aPath.parent_path().filename().string();
		if (someExtension == ".json")
			return aPath.filename() == "leveldata.json" ? "scene" : someFolder == "settings" ? "settings" : "";
		if (aPath.parent_path().extension() == ".leveldata")
			return "scene-folder";
		if (someExtension == ".fbx")
			return aBytes.starts_with("Kaydara FBX Binary") ? "fbx-binary" : "fbx-ascii";
		constexpr std::pair<std::string_view, std::string_view> LOADERS[] = {
			{ ".nvo", "definition" }, { ".dds", "dds" }, { ".tga", "targa" }, { ".png", "image" }, { ".jpg", "image" },
			{ ".jpeg", "image" }, { ".gif", "image" }, { ".bmp", "image" }, { ".wav", "wav" }, { ".ttf", "font" },
			{ ".otf", "font" }, { ".ico", "icon" }, { ".cur", "icon" }, { ".ani", "cursor" }, { ".mp4", "video" },
			{ ".mkv", "video" }, { ".avi", "video" }, { ".webm", "video" },
		};
		for (const auto& [someKnown, someLoader] : LOADERS)
		{
			if (someExtension == someKnown)
				return someLoader;
		}
		return "";
	}

	inline void SaveFuzzSeedFile(const std::filesystem::path& aPath, std::string_view aBytes)
	{
		SaveFuzzSeed(FuzzLoaderOf(aPath, aBytes), aBytes);
	}
}
