#include "scene/ObjectDefinition.h"

#include "scene/AssetWalk.h"
#include "scene/JsonFiles.h"
#include "settings/settings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <system_error>

namespace fs = std::filesystem;

namespace Norv
{
	namespace
	{
		constexpr const char* DEFINITION_EXTENSION = ".nvo";

		void ReadPropertyEntries(const nlohmann::json& aDocument, ObjectDefinition& aDefinition, const fs::path& aFile)
		{
			const std::vector<const nlohmann::json*> someEntries = impl::ReadEntries(aDocument, "properties");
			for (std::size_t someIndex = 0; someIndex < someEntries.size(); ++someIndex)
			{
				const nlohmann::json& someEntry = *someEntries[someIndex];
				const std::string someOwner = impl::RequireEntry(someEntry, someIndex + 1);
				PropertyDefinition someRecord;
				someRecord.name = impl::Intern(impl::RequireText(someEntry, "name", someOwner));
				someRecord.group = impl::Intern(impl::ReadText(someEntry, "group", std::string(), someOwner));
				someRecord.description = impl::Intern(impl::ReadText(someEntry, "description", std::string(), someOwner));
				const bool someIsDynamic = impl::RequireFlag(someEntry, "is-dynamic", someOwner);
				const bool someIsPerInstance = impl::RequireFlag(someEntry, "is-per-instance", someOwner);
				someRecord.flags = (someIsDynamic ? PROPERTY_FLAG_DYNAMIC : 0u) | (someIsPerInstance ? PROPERTY_FLAG_PER_INSTANCE : 0u);
				someRecord.type = impl::ReadPropertyType(someEntry, someOwner, aFile);
				if (!someRecord.type)
					continue;
				someRecord.value = impl::ReadPropertyValue(someEntry, someOwner, *someRecord.type);
				aDefinition.properties.push_back(std::move(someRecord));
			}
		}

		// aFile relative to the game assets folder, both made absolute first.
		std::string RelativeToGameAssets(const fs::path& aFile)
		{
			std::error_code someError;
			const fs::path someFile = fs::absolute(aFile, someError).lexically_normal();
			const fs::path someAssets = fs::absolute(Settings::GetGameAssetsPath(), someError).lexically_normal();
			return someFile.lexically_relative(someAssets).string();
		}

		void RegisterDefinitionFile(ObjectDefinitionRegistry& aRegistry, const fs::path& aFile)
		{
			auto someDefinition = std::make_unique<ObjectDefinition>();
			if (!ReadObjectDefinition(*someDefinition, RelativeToGameAssets(aFile).c_str()))
				return;
			const StringId someName = someDefinition->name;
			if (!aRegistry.Add(std::move(someDefinition)))
				std::cout << "Multiple nvo files exist with same name. That is not allowed: " << someName.c_str() << '\n';
		}
	}

	const ObjectDefinition* ObjectDefinitionRegistry::Find(StringId aName) const
	{
		if (!aName)
			return nullptr;
		const auto someFound = myDefinitions.find(aName);
		return someFound == myDefinitions.end() ? nullptr : someFound->second.get();
	}

	bool ObjectDefinitionRegistry::Add(std::unique_ptr<ObjectDefinition> aDefinition)
	{
		const StringId someName = aDefinition->name;
		return myDefinitions.try_emplace(someName, std::move(aDefinition)).second;
	}

	bool ReadObjectDefinition(ObjectDefinition& aDefinition, const char* aPath)
	{
		aDefinition.path = aPath;
		aDefinition.name = impl::Intern(fs::path(aPath).stem().string());
		const fs::path someFile = Settings::GetGameAssetsPath() / aPath;
		return impl::ReadJsonFile(someFile, [&](const nlohmann::json& aDocument) {
			try
			{
				impl::RequireObject(aDocument, "the file", "one object with \"parent-object-definition\" and \"properties\"");
				aDefinition.parent = impl::Intern(impl::RequireText(aDocument, "parent-object-definition"));
				ReadPropertyEntries(aDocument, aDefinition, someFile);
				return true;
			}
			catch (const impl::ValueError& anError)
			{
				std::cerr << "Object definition \"" << someFile.string() << "\" is not used: " << anError.what() << '\n';
				return false;
			}
		});
	}

	void RegisterObjectDefinitionFiles(ObjectDefinitionRegistry& aRegistry, const std::string& aRoot)
	{
		ForEachAssetFile(aRoot, DEFINITION_EXTENSION, "object definitions", [&](const fs::path& aFile) { RegisterDefinitionFile(aRegistry, aFile); });
	}

	void CollectObjectProperties(const SceneObject& aObject, const ObjectDefinitionRegistry& aRegistry, std::vector<PropertyDefinition>& aOut)
	{
		const ObjectDefinition* someDefinition = aRegistry.Find(aObject.definition);
		if (!someDefinition)
			return;
		for (const PropertyDefinition& someRecord : someDefinition->properties)
		{
			PropertyDefinition& someCollected = aOut.emplace_back(someRecord);
			if (!(someRecord.flags & PROPERTY_FLAG_PER_INSTANCE))
				continue;
			// Only the first override of the name counts, even when its type differs.
			const auto someOverride = std::find_if(aObject.properties.begin(), aObject.properties.end(),
				[&](const PropertyOverride& aOverride) { return aOverride.name == someRecord.name; });
			if (someOverride != aObject.properties.end() && someOverride->type == someRecord.type)
				someCollected.value = someOverride->value;
		}
	}
}
