#include "WorldArt.h"

#include <fstream>
#include <stdexcept>

namespace NorvArt
{
	void WriteOutputFile(const std::filesystem::path& aRoot, const std::string& aRelative, const std::string& aBytes)
	{
		const std::filesystem::path somePath = aRoot / aRelative;
		std::filesystem::create_directories(somePath.parent_path());
		std::ofstream someFile(somePath, std::ios::binary | std::ios::trunc);
		someFile.write(aBytes.data(), static_cast<std::streamsize>(aBytes.size()));
		if (!someFile)
			throw std::runtime_error("cannot write " + somePath.string());
	}
}
