#pragma once
// Object definitions (".nvo" files anywhere under the game assets folder): the
// typed properties of a kind of scene object with their defaults, each marked
// whether a scene object may override it; and the merge of a scene object's own
// values into its definition's list. Main thread only.
#include "properties/Property.h"
#include "properties/StringIdText.h"
#include "scene/SceneObject.h"
#include "stringRegistry/StringId.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Norv
{
	constexpr std::uint32_t PROPERTY_FLAG_DYNAMIC = 1u << 0;
	constexpr std::uint32_t PROPERTY_FLAG_PER_INSTANCE = 1u << 1; // scene objects may override it

	struct PropertyDefinition
	{
		StringId name;
		const PropertyTypeBase* type = nullptr;
		Property value; // the default
		std::uint32_t flags = 0;
		StringId group;
		StringId description;
	};

	struct ObjectDefinition
	{
		std::string path; // relative to the game assets folder
		StringId name;    // the file name without its extension
		StringId parent;  // carried for the definition's users; null when empty
		std::vector<PropertyDefinition> properties;
	};

	class ObjectDefinitionRegistry
	{
	public:
		// The definition of that name, or null (null or unregistered name).
		const ObjectDefinition* Find(StringId aName) const;
		// Registers under the definition's name; false, dropping it, when the name is taken.
		bool Add(std::unique_ptr<ObjectDefinition> aDefinition);
		std::size_t GetCount() const { return myDefinitions.size(); }

	private:
		std::unordered_map<StringId, std::unique_ptr<ObjectDefinition>, StringIdTextHash> myDefinitions;
	};

	// Registers every ".nvo" file under aRoot (recursive, links to folders not
	// followed). Of two files with the same name the first found stays, and a line
	// on standard output says so. A file that cannot be read, or has a value of
	// the wrong form, and a folder that cannot be read are each reported with one
	// line on standard error and skipped; the rest is registered.
	void RegisterObjectDefinitionFiles(ObjectDefinitionRegistry& aRegistry, const std::string& aRoot);

	// Fills aDefinition from its file, aPath being relative to the game assets
	// folder. False, with the file and why reported, when it cannot be read or a
	// value has the wrong form (the property and the form it needs).
	bool ReadObjectDefinition(ObjectDefinition& aDefinition, const char* aPath);

	// Appends the object's effective properties: its definition's records in order,
	// each per-instance one taking the value of the object's first override of the
	// same name when that override has the same type. Nothing for an object whose
	// definition is null or not registered.
	void CollectObjectProperties(const SceneObject& aObject, const ObjectDefinitionRegistry& aRegistry, std::vector<PropertyDefinition>& aOut);
}
