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
	inline void SaveFuzzSeed(std::string_view aLoader, std::string_view aBytes)
	{
		const char* someRoot = std::getenv("NORV_FUZZ_SEEDS");
		if (!someRoot || !*someRoot)
			return;
		const std::filesystem::path someFolder = std::filesystem::path(someRoot) / aLoader;
		std::filesystem::create_directories(someFolder);
		std::ofstream someFile(someFolder / std::to_string(std::hash<std::string_view>{}(aBytes)), std::ios::binary);
		someFile.write(aBytes.data(), static_cast<std::streamsize>(aBytes.size()));
	}
}
