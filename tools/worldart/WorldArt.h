#pragma once
// The generators of the game's own data set. Each writes its files under the
// game data folder or the engine asset folder; every byte follows from the code,
// so two runs write the same files.
#include <filesystem>
#include <string>

namespace NorvArt
{
	struct OutputFolders
	{
		std::filesystem::path game;   // Source/Game/data
		std::filesystem::path engine; // Source/Engine/assets
	};

	// Writes aBytes to aRoot / aRelative, making the folders; throws on failure.
	void WriteOutputFile(const std::filesystem::path& aRoot, const std::string& aRelative, const std::string& aBytes);

	void WriteEngineTextures(const OutputFolders& aFolders);
	void WriteFlipbooks(const OutputFolders& aFolders);
	void WriteModels(const OutputFolders& aFolders);
	void WriteClips(const OutputFolders& aFolders);
	void WriteDefinitions(const OutputFolders& aFolders);
}
