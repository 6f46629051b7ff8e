#include "files/FilePath.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace Platform
{
	namespace
	{
		bool EqualsIgnoringCase(const std::string& aLeft, const std::string& aRight)
		{
			return std::equal(aLeft.begin(), aLeft.end(), aRight.begin(), aRight.end(), [](char a, char b) {
				const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
				return lower(a) == lower(b);
			});
		}

		bool Exists(const fs::path& aPath)
		{
			std::error_code someError;
			return fs::exists(aPath, someError);
		}

		fs::path Normalise(const fs::path& aPath)
		{
			std::string someText = aPath.string();
			std::replace(someText.begin(), someText.end(), '\\', '/');
			fs::path someNormal = fs::path(someText).lexically_normal();
			// "a/b/" normalises to "a/b/" with an empty last element: drop it.
			if (!someNormal.empty() && someNormal.filename().empty() && someNormal != someNormal.root_path())
				someNormal = someNormal.parent_path();
			return someNormal;
		}

		// Finds the entry of aFolder whose name equals aName ignoring case.
		std::optional<fs::path> FindIgnoringCase(const fs::path& aFolder, const std::string& aName)
		{
			std::error_code someError;
			const fs::path someFolder = aFolder.empty() ? fs::path(".") : aFolder;
			for (fs::directory_iterator someEntry(someFolder, someError), someEnd; !someError && someEntry != someEnd; someEntry.increment(someError))
			{
				if (EqualsIgnoringCase(someEntry->path().filename().string(), aName))
					return aFolder / someEntry->path().filename();
			}
			return std::nullopt;
		}
	}

	fs::path ResolveFilePath(const fs::path& aPath)
	{
		const fs::path someNormal = Normalise(aPath);
		if (someNormal.empty() || Exists(someNormal))
			return someNormal;

		fs::path someResolved = someNormal.root_path();
		for (const fs::path& someComponent : someNormal.relative_path())
		{
			const std::string someName = someComponent.string();
			if (someName == "." || someName == ".." || Exists(someResolved / someComponent))
			{
				someResolved /= someComponent;
				continue;
			}
			const std::optional<fs::path> someMatch = FindIgnoringCase(someResolved, someName);
			if (!someMatch)
				return someNormal;
			someResolved = *someMatch;
		}
		return someResolved;
	}

	fs::path ResolveFilePath(std::string_view aPath)
	{
		return ResolveFilePath(fs::path(std::string(aPath)));
	}

	bool FileExists(const fs::path& aPath)
	{
		return Exists(ResolveFilePath(aPath));
	}

	std::ifstream OpenInputFile(const fs::path& aPath, std::ios::openmode aMode)
	{
		return std::ifstream(ResolveFilePath(aPath), aMode);
	}

	std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& aPath)
	{
		const fs::path someResolved = ResolveFilePath(aPath);
		std::error_code someError;
		if (fs::is_directory(someResolved, someError))
			return std::nullopt;
		std::ifstream someFile(someResolved, std::ios::binary);
		if (!someFile)
			return std::nullopt;
		std::vector<std::uint8_t> someBytes((std::istreambuf_iterator<char>(someFile)), std::istreambuf_iterator<char>());
		if (someFile.bad())
			return std::nullopt;
		return someBytes;
	}

	std::string WhyUnreadable(const fs::path& aPath)
	{
		const fs::path someResolved = ResolveFilePath(aPath);
		const auto CannotOpen = [](int anError) { return "it cannot be opened (" + std::generic_category().message(anError) + ")"; };
		std::error_code someError;
		const fs::file_status someStatus = fs::status(someResolved, someError);
		if (someStatus.type() == fs::file_type::not_found)
			return "it does not exist";
		if (someError)
			return CannotOpen(someError.value()); // a folder on the way may not be entered
		if (fs::is_directory(someStatus))
			return "it is a folder";
		if (!fs::is_regular_file(someStatus))
			return "it is not a plain file"; // a device or a pipe, which opening could block on
		errno = 0;
		const std::unique_ptr<std::FILE, int (*)(std::FILE*)> someFile(std::fopen(someResolved.c_str(), "rb"), &std::fclose);
		return someFile ? "it could not be read" : CannotOpen(errno);
	}
}
