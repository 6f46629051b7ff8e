#include "scene/AssetWalk.h"

#include <iostream>
#include <system_error>

namespace fs = std::filesystem;

namespace Norv
{
	namespace
	{
		struct Walk
		{
			std::string_view myExtension;
			std::string_view myWhat;
			const std::function<void(const fs::path&)>& myVisit;

			void Folder(const fs::path& aFolder) const
			{
				std::error_code someError;
				fs::directory_iterator someEntries(aFolder, someError);
				for (const fs::directory_iterator someEnd; !someError && someEntries != someEnd; someEntries.increment(someError))
				{
					const fs::directory_entry& someEntry = *someEntries;
					std::error_code someEntryError;
					if (someEntry.symlink_status(someEntryError).type() == fs::file_type::directory)
						Folder(someEntry.path());
					else if (!someEntryError && someEntry.path().extension() == myExtension && someEntry.is_regular_file(someEntryError))
						myVisit(someEntry.path());
					if (someEntryError)
						std::cerr << "\"" << someEntry.path().string() << "\" cannot be read (" << someEntryError.message() << ") and is skipped in the search for " << myWhat << '\n';
				}
				if (someError)
					std::cerr << "The folder \"" << aFolder.string() << "\" cannot be read (" << someError.message() << "); the " << myWhat << " in it are skipped\n";
			}
		};
	}

	void ForEachAssetFile(const fs::path& aRoot, std::string_view anExtension, std::string_view aWhat, const std::function<void(const fs::path&)>& aVisit)
	{
		Walk{ anExtension, aWhat, aVisit }.Folder(aRoot);
	}
}
