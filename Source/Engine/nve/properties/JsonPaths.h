#pragma once
// Reading and writing the path fields of the asset-reference property types.
#include "stringRegistry/StringId.h"
#include "stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <string>

namespace Norv
{
	// The interned string under aKey of an object (null when absent): error 306
	// when aJson is no object, 302 when the value is no string.
	inline StringId ReadPathValue(const nlohmann::json& aJson, const char* aKey)
	{
		return StringRegistry::RegisterOrGetString(aJson.value(aKey, std::string()));
	}

	// A path as a json string; null as the empty string.
	inline nlohmann::json PathJson(const StringId& aPath)
	{
		return aPath.c_str();
	}
}
