#pragma once
// Reading the json files of scenes and object definitions. A broken file is
// reported on standard error with its path and never ends the program.
#include "stringRegistry/StringId.h"

#include <nlohmann/json_fwd.hpp>

#include <filesystem>
#include <functional>

namespace Norv
{
	class PropertyTypeBase;

	namespace impl
	{
		// Parses aPath (plain json; text after the first value is ignored) and hands
		// the document to aRead. A file that cannot be opened or parsed, or a json
		// error thrown by aRead, is reported with the path; the result is then false.
		bool ReadJsonFile(const std::filesystem::path& aPath, const std::function<void(const nlohmann::json&)>& aRead);

		// The member aKey of an object, or a json null when it has none; anything but
		// an object gets the library's type error 305.
		const nlohmann::json& MemberOrNull(const nlohmann::json& aObject, const char* aKey);

		// The registered type named by a property entry's "type" (type error 302 when
		// it is missing or not a string). When no type has that name, the entry is
		// reported with the file and the result is null: the caller skips the entry.
		const PropertyTypeBase* ReadPropertyType(const nlohmann::json& aEntry, StringId aPropertyName, const std::filesystem::path& aFile);

		// The text interned; the empty text gives the null id.
		StringId Intern(const std::string& aText);
	}
}
