#include "Scratch.h"

#include "kernel/Kernel.h"

#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace NorvFuzz
{
	namespace
	{
		struct Folder
		{
			Folder()
				: myPath(fs::temp_directory_path() / ("norv-fuzz-" + std::to_string(::getpid())))
			{
				fs::create_directories(myPath);
				const std::string someExecutable = (myPath / "Game").string();
				Platform::SetModuleFileNameOverride([someExecutable] { return someExecutable; });
			}
			~Folder()
			{
				Platform::SetModuleFileNameOverride({});
				std::error_code someError;
				fs::remove_all(myPath, someError);
			}
			fs::path myPath;
		};
	}

	const fs::path& ScratchFolder()
	{
		static const Folder ourFolder;
		return ourFolder.myPath;
	}

	fs::path WriteScratch(const fs::path& aRelative, Input aInput)
	{
		const fs::path someFull = ScratchFolder() / aRelative;
		fs::create_directories(someFull.parent_path());
		std::ofstream someFile(someFull, std::ios::binary | std::ios::trunc);
		someFile.write(reinterpret_cast<const char*>(aInput.data()), static_cast<std::streamsize>(aInput.size()));
		return someFull;
	}

	void RemoveScratch(const fs::path& aRelative)
	{
		std::error_code someError;
		fs::remove_all(ScratchFolder() / aRelative, someError);
	}

	bool Inconsistent(const char* aReason)
	{
		std::cerr << "inconsistent result: " << aReason << '\n';
		return false;
	}
}
