// Generates the data set: worldart <game data folder> <engine asset folder>.
#include "WorldArt.h"

#include <exception>
#include <fstream>
#include <iostream>
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

int main(int argc, char** argv)
{
	if (argc != 3)
	{
		std::cerr << "usage: worldart <game data folder> <engine asset folder>\n";
		return 2;
	}
	try
	{
		const NorvArt::OutputFolders someFolders{ argv[1], argv[2] };
		NorvArt::WriteEngineTextures(someFolders);
		NorvArt::WriteFlipbooks(someFolders);
		NorvArt::WriteModels(someFolders);
		NorvArt::WriteClips(someFolders);
		NorvArt::WriteDefinitions(someFolders);
	}
	catch (const std::exception& aError)
	{
		std::cerr << "worldart: " << aError.what() << '\n';
		return 1;
	}
	return 0;
}
