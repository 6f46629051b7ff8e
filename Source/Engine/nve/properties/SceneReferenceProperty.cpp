#include "properties/SceneReferenceProperty.h"

#include "stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <string>

namespace Norv
{
	void PropertyValueOps<SceneReferenceHandle>::FromJson(SceneReferenceHandle& aValue, const nlohmann::json& aJson)
	{
		// Never merged with the previous value: absent keys keep the default.
		aValue.ResetToFreshDefault();
		aValue.Write().myScenePath = StringRegistry::RegisterOrGetString(aJson.value("scene_path", std::string()));
	}

	void PropertyValueOps<SceneReferenceHandle>::ToJson(const SceneReferenceHandle& aValue, nlohmann::json& aJson)
	{
		aJson["scene_path"] = aValue->myScenePath.c_str();
	}
}
