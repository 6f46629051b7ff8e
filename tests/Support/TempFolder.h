#pragma once
// A fresh folder under the system temp folder, removed with everything in it.
#include "Support/FuzzSeeds.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>

namespace NorvTest
{
	class TempFolder
	{
	public:
		TempFolder()
		{
			std::random_device someDevice;
			myPath = std::filesystem::temp_directory_path() / ("norv-test-" + std::to_string(someDevice()) + std::to_string(someDevice()));
			std::filesystem::create_directories(myPath);
		}
		~TempFolder()
		{
			std::error_code someError;
			std::filesystem::remove_all(myPath, someError);
		}
		TempFolder(const TempFolder&) = delete;
		TempFolder& operator=(const TempFolder&) = delete;

		const std::filesystem::path& Path() const { return myPath; }

		// Writes aContent to aRelative (folders made as needed); returns the full path.
		std::filesystem::path Write(const std::filesystem::path& aRelative, std::string_view aContent) const
		{
			const std::filesystem::path someFull = myPath / aRelative;
			std::filesystem::create_directories(someFull.parent_path());
			std::ofstream someFile(someFull, std::ios::binary);
			someFile.write(aContent.data(), static_cast<std::streamsize>(aContent.size()));
			SaveFuzzSeedFile(aRelative, aContent);
			return someFull;
		}

	private:
		std::filesystem::path myPath;
	};
}
