#pragma once
// The "Scene" property type: a reference to another scene file, kept in a pool
// slot shared by copy-on-write handles.
#include "properties/PropertyType.h"
#include "properties/StaticObjectPool.h"
#include "stringRegistry/StringId.h"

#include <new>

namespace Norv
{
	struct SceneReference
	{
		StringId myScenePath; // json "scene_path"; null when none
	};

	using SceneReferenceHandle = CopyOnWriteWrapper<SceneReference>;

	template <>
	struct PropertyValueOps<SceneReferenceHandle> : ValueSemanticsOps<SceneReferenceHandle>
	{
		static void Construct(void* aDst) { ::new (aDst) SceneReferenceHandle(); }
		// An object whose optional "scene_path" is a string, read into a fresh slot:
		// error 306 for anything but an object, 302 for a path that is no string.
		static void FromJson(SceneReferenceHandle& aValue, const nlohmann::json& aJson);
		// Sets "scene_path" (an empty string for none) on aJson.
		static void ToJson(const SceneReferenceHandle& aValue, nlohmann::json& aJson);
		static bool Edit(SceneReferenceHandle& aValue, const char* aLabel, const char* aDescription);
	};

	template <> PropertyType<SceneReferenceHandle> PropertyType<SceneReferenceHandle>::ourInstance;
}
