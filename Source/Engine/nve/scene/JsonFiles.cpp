#include "scene/JsonFiles.h"

#include "files/FilePath.h"
#include "properties/PropertyType.h"
#include "stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <string>

namespace Norv::impl
{
	bool ReadJsonFile(const std::filesystem::path& aPath, const std::function<void(const nlohmann::json&)>& aRead)
	{
		std::ifstream someFile = Platform::OpenInputFile(aPath);
		if (!someFile)
		{
			std::cerr << "Could not open \"" << aPath.string() << "\"\n";
			return false;
		}
		try
		{
			nlohmann::json someDocument;
			someFile >> someDocument; // stops after the first complete value
			aRead(someDocument);
			return true;
		}
		catch (const nlohmann::json::exception& aError)
		{
			std::cerr << "Could not read \"" << aPath.string() << "\": " << aError.what() << '\n';
			return false;
		}
	}

	const nlohmann::json& MemberOrNull(const nlohmann::json& aObject, const char* aKey)
	{
		static const nlohmann::json ourNull;
		if (!aObject.is_object())
			return aObject[aKey]; // throws type error 305 for every json type but an object
		const auto someFound = aObject.find(aKey);
		return someFound == aObject.end() ? ourNull : *someFound;
	}

	const PropertyTypeBase* ReadPropertyType(const nlohmann::json& aEntry, StringId aPropertyName, const std::filesystem::path& aFile)
	{
		const std::string someTypeName = MemberOrNull(aEntry, "type").get<std::string>();
		const PropertyTypeBase* someType = PropertyTypeBase::FindType(Intern(someTypeName));
		if (!someType)
		{
			std::cerr << "\"" << aFile.string() << "\": property \"" << aPropertyName.c_str() << "\" has the unknown type \""
				<< someTypeName << "\" and is skipped\n";
		}
		return someType;
	}

	StringId Intern(const std::string& aText)
	{
		return StringRegistry::RegisterOrGetString(aText);
	}
}
