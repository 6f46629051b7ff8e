// Generates the data set: worldart <game data folder> <engine asset folder>.
#include "WorldArt.h"

#include <exception>
#include <iostream>

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
