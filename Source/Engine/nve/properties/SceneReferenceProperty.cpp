#include "properties/SceneReferenceProperty.h"

#include "properties/JsonPaths.h"

#include <nlohmann/json.hpp>

#include <string>

namespace Norv
{
	void PropertyValueOps<SceneReferenceHandle>::FromJson(SceneReferenceHandle& aValue, const nlohmann::json& aJson)
	{
		// Never merged with the previous value: absent keys keep the default.
		aValue.ResetToFreshDefault();
		aValue.Write().myScenePath = ReadPathValue(aJson, "scene_path");
	}

	void PropertyValueOps<SceneReferenceHandle>::ToJson(const SceneReferenceHandle& aValue, nlohmann::json& aJson)
	{
		aJson["scene_path"] = PathJson(aValue->myScenePath);
	}
}
