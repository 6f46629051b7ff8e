#pragma once
// The loaded content of one level: its scene objects keyed by the dense index
// of their GUID (0 for a missing or unreadable one), and how many objects were
// added under each "path" value. Main thread only.
#include "properties/StringIdText.h"
#include "scene/SceneObject.h"
#include "stringRegistry/StringId.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Norv
{
	class Scene
	{
	public:
		// Empties the objects and counts; path and name stay.
		void Clear();
		void SetName(const char* aName);
		void SetPath(const char* aPath);

		// Stores a copy of aObject under the index of aGuid, replacing whatever was
		// stored there, and counts it under its path and under the null key.
		// Returns the id and the stored object.
		std::pair<std::uint32_t, SceneObject*> AddObject(const char* aGuid, const SceneObject& aObject);

		std::string path;            // the scene name as the caller gave it
		std::string name = "untitled";
		std::unordered_map<std::uint32_t, std::shared_ptr<SceneObject>> objects;
		// The ids of objects in the order they were first added (a replacement keeps its
		// place): the loader's file order, whatever other scenes did to the ids.
		std::vector<std::uint32_t> order;
		// Objects added per path (never taken back on replacement); the null key counts all.
		std::map<StringId, std::uint32_t, StringIdTextLess> pathCounts;
	};
}
