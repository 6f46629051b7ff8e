#pragma once
// The game's own set-up for the data-set tests: the settings of Bin/ loaded as if
// the executable ran there, so names resolve through the same asset lookup the game
// uses; and readers for the generated sounds.
#include "kernel/Kernel.h"
#include "settings/settings.h"
#include "engine/EngineCreateParameters.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace NorvTest
{
	inline const std::filesystem::path BIN_FOLDER = std::filesystem::path(NORV_SOURCE_DIR) / "Bin";

	class GameDataFolder : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			Platform::SetModuleFileNameOverride([] { return (BIN_FOLDER / "Game").string(); });
			ASSERT_TRUE(Norv::LoadSettings("Game"));
		}

		void TearDown() override
		{
			Platform::SetModuleFileNameOverride({});
			Norv::GetEngineCreateParameters() = Norv::EngineCreateParameters();
		}
	};

	inline std::string ReadText(const std::filesystem::path& aPath)
	{
		std::ifstream someFile(aPath, std::ios::binary);
		return { std::istreambuf_iterator<char>(someFile), {} };
	}

	// Every string literal of the sources under aFolder that matches aPattern.
	inline std::set<std::string> NamesInSources(const std::filesystem::path& aFolder, const std::regex& aPattern)
	{
		std::set<std::string> someNames;
		for (const auto& someEntry : std::filesystem::recursive_directory_iterator(aFolder))
		{
			const std::string someExtension = someEntry.path().extension().string();
			if (someExtension != ".cpp" && someExtension != ".h")
				continue;
			const std::string someText = ReadText(someEntry.path());
			for (std::sregex_iterator it(someText.begin(), someText.end(), aPattern), end; it != end; ++it)
				someNames.insert((*it)[1].str());
		}
		return someNames;
	}

	struct BankEntry
	{
		std::string myName;
		bool myIsLooping;
	};

	// The sound bank's files and whether each loops, as its source lists them.
	inline std::vector<BankEntry> SoundBankEntries()
	{
		const std::string someText = ReadText(std::filesystem::path(NORV_SOURCE_DIR) / "Source/Game/media/AudioManager.cpp");
		const std::regex someEntry("\"(SFX/[^\"]+\\.wav)\", (true|false),");
		std::vector<BankEntry> someEntries;
		for (std::sregex_iterator it(someText.begin(), someText.end(), someEntry), end; it != end; ++it)
			someEntries.push_back({ (*it)[1].str(), (*it)[2].str() == "true" });
		return someEntries;
	}

	struct Sound
	{
		int myRate = 0;
		std::vector<float> mySamples; // -1..1
		double Seconds() const { return myRate > 0 ? static_cast<double>(mySamples.size()) / myRate : 0.0; }
	};

	// A 16-bit mono PCM WAV file as the generators write it; empty when it is not one.
	inline Sound ReadMonoWav(const std::filesystem::path& aPath)
	{
		const std::string someBytes = ReadText(aPath);
		const auto u32 = [&](std::size_t at) { return static_cast<std::uint32_t>(static_cast<unsigned char>(someBytes[at]) | static_cast<unsigned char>(someBytes[at + 1]) << 8 | static_cast<unsigned char>(someBytes[at + 2]) << 16 | static_cast<std::uint32_t>(static_cast<unsigned char>(someBytes[at + 3])) << 24); };
		const auto u16 = [&](std::size_t at) { return static_cast<std::uint16_t>(static_cast<unsigned char>(someBytes[at]) | static_cast<unsigned char>(someBytes[at + 1]) << 8); };
		Sound someSound;
		if (someBytes.size() < 44 || someBytes.compare(0, 4, "RIFF") != 0 || someBytes.compare(8, 8, "WAVEfmt ") != 0 || u16(20) != 1 || u16(22) != 1 || u16(34) != 16 || someBytes.compare(36, 4, "data") != 0)
			return someSound;
		const std::size_t someCount = std::min<std::size_t>(u32(40), someBytes.size() - 44) / 2;
		someSound.myRate = static_cast<int>(u32(24));
		for (std::size_t i = 0; i < someCount; ++i)
			someSound.mySamples.push_back(static_cast<float>(static_cast<std::int16_t>(u16(44 + 2 * i))) / 32768.0f);
		return someSound;
	}
}
