#pragma once
// The walk over the game asset folder that finds scene names and object
// definitions: depth first in the file system's order, each sub-folder walked
// where it is met, links to folders not followed. A folder or entry that cannot
// be read is reported with one line on standard error, naming it and why, and
// skipped; the walk goes on with the rest.
#include <filesystem>
#include <functional>
#include <string_view>

namespace Norv
{
	// Hands every regular file under aRoot whose extension is exactly anExtension
	// (a link to such a file counts) to aVisit. aWhat names what is looked for, for
	// the lines ("object definitions"). A root that cannot be read is reported too.
	void ForEachAssetFile(const std::filesystem::path& aRoot, std::string_view anExtension, std::string_view aWhat,
		const std::function<void(const std::filesystem::path&)>& aVisit);
}
