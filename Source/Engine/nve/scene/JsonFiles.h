#pragma once
// Reading the json files of scenes and object definitions. A broken file is
// reported on standard error with its path and never ends the program; a value
// of the wrong form is said in the game's words, never in the json library's.
#include "properties/Property.h"
#include "stringRegistry/StringId.h"

#include <nlohmann/json_fwd.hpp>

#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace Norv
{
	class PropertyTypeBase;

	namespace impl
	{
		// A value that does not have the form its key needs, as one plain sentence:
		// "translation" must be a list of 3 numbers, but is the text "1,2,3".
		class ValueError : public std::runtime_error
		{
		public:
			using std::runtime_error::runtime_error;
		};

		// Parses aPath (plain json; text after the first value is ignored) and hands
		// the document to aRead, whose result is returned. A file that cannot be
		// opened or is not json is reported with the path and why; the result is
		// then false.
		bool ReadJsonFile(const std::filesystem::path& aPath, const std::function<bool(const nlohmann::json&)>& aRead);

		// The readers below throw a ValueError for a value of the wrong form. anOwner
		// says where the key sits: empty for an object's own keys, or the label of a
		// property entry (property "hp") for the entry's keys.

		// A ValueError unless aJson is an object: aWhat names it ("the file"), aForm
		// says the object it must be.
		void RequireObject(const nlohmann::json& aJson, const std::string& aWhat, const std::string& aForm);
		// The member aKey of an object, or null when it has none.
		const nlohmann::json* FindMember(const nlohmann::json& anObject, const char* aKey);
		// The text under aKey: aDefault when there is none.
		std::string ReadText(const nlohmann::json& anObject, const char* aKey, const std::string& aDefault, const std::string& anOwner = {});
		// The text under aKey, which must be there.
		std::string RequireText(const nlohmann::json& anObject, const char* aKey, const std::string& anOwner = {});
		// True or false under aKey, which must be there.
		bool RequireFlag(const nlohmann::json& anObject, const char* aKey, const std::string& anOwner = {});
		// The first aOut.size() elements of the list under aKey (numbers, or booleans
		// as 0 and 1; longer lists are fine), as floats.
		void ReadNumbers(const nlohmann::json& anObject, const char* aKey, std::span<float> aOut);
		// The property entries under aKey: a list's elements, an object's member
		// values in key order, none for null or no such key.
		std::vector<const nlohmann::json*> ReadEntries(const nlohmann::json& anObject, const char* aKey);

		// A property entry's label for the messages: property "hp", or property entry 3
		// (its place counting from 1) when it has no readable name. A ValueError
		// unless the entry is an object.
		std::string RequireEntry(const nlohmann::json& anEntry, std::size_t aPlace);
		// The registered type named by the entry's "type". When no type has that name
		// the entry is reported with aFile and the result is null: the caller skips it.
		const PropertyTypeBase* ReadPropertyType(const nlohmann::json& anEntry, const std::string& anOwner, const std::filesystem::path& aFile);
		// The entry's "value" as a value of aType (a json null when it has none).
		Property ReadPropertyValue(const nlohmann::json& anEntry, const std::string& anOwner, const PropertyTypeBase& aType);

		// The text interned; the empty text gives the null id.
		StringId Intern(const std::string& aText);
	}
}
