#pragma once
// Stand-in for Windows file-name rules on a case-sensitive file system.
// Keeps: '\' as a separator, lexical "." and ".." resolution, and
// case-insensitive names (each component is matched ignoring ASCII case when the
// exact path is missing). Every file the program opens goes through here.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Platform
{
	// The existing file or folder the name means, or the normalised name itself
	// when nothing matches (so error messages still show what was asked for).
	std::filesystem::path ResolveFilePath(const std::filesystem::path& aPath);
	std::filesystem::path ResolveFilePath(std::string_view aPath);

	bool FileExists(const std::filesystem::path& aPath);

	std::ifstream OpenInputFile(const std::filesystem::path& aPath, std::ios::openmode aMode = std::ios::in);

	// The whole file's bytes, or nothing when it cannot be opened or read.
	std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& aPath);

	// Why the file aPath means could not be read, in words for a message: "it does
	// not exist", "it is a folder", "it is not a plain file", "it cannot be opened
	// (<the system's reason>)", or "it could not be read" when it opens (the read
	// itself failed).
	std::string WhyUnreadable(const std::filesystem::path& aPath);
}
