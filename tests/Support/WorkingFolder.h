#pragma once
// The working directory inside a temporary folder while in scope, so that the
// game's "../Source/Game/data/..." names resolve to files of the test.
#include "Support/TempFolder.h"

#include <filesystem>

namespace NorvTest
{
	class WorkingFolder
	{
	public:
		WorkingFolder() : myPrevious(std::filesystem::current_path())
		{
			std::filesystem::create_directories(myFolder.Path() / "Bin");
			std::filesystem::current_path(myFolder.Path() / "Bin");
		}
		~WorkingFolder() { std::filesystem::current_path(myPrevious); }
		WorkingFolder(const WorkingFolder&) = delete;
		WorkingFolder& operator=(const WorkingFolder&) = delete;

		const TempFolder& Folder() const { return myFolder; }
		// Where the game's "../Source/Game/data/video/" names point.
		std::filesystem::path VideoFolder() const { return myFolder.Path() / "Source/Game/data/video"; }

	private:
		TempFolder myFolder;
		std::filesystem::path myPrevious;
	};
}
