#pragma once
// The object definitions a scene may name: for each definition its properties'
// types and whether a scene object may set them.
#include <filesystem>
#include <map>
#include <string>

namespace NorvScenes
{
	struct PropertyKind
	{
		std::string type; // the property type's display name: "Float2", "StringId" ...
		bool perInstance = false;
	};

	struct DefinitionKinds
	{
		std::map<std::string, PropertyKind> properties; // by name; the first of a name counts
	};

	class DefinitionTable
	{
	public:
		// Reads every ".nvo" under aRoot (in path order; the first of a name counts).
		// Throws std::runtime_error naming the file when one is not a readable definition.
		void Load(const std::filesystem::path& aRoot);
		void Add(const std::string& aName, const DefinitionKinds& aKinds);

		// The definition of that name, or null.
		const DefinitionKinds* Find(const std::string& aName) const;

	private:
		std::map<std::string, DefinitionKinds> myDefinitions;
	};
}
