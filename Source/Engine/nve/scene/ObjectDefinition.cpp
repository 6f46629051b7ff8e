#include "scene/ObjectDefinition.h"

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

		StringId OptionalString(const nlohmann::json& aEntry, const char* aKey)
		{
			return aEntry.contains(aKey) ? impl::Intern(aEntry[aKey].get<std::string>()) : StringId();
		}

		void ReadPropertyEntries(const nlohmann::json& aProperties, ObjectDefinition& aDefinition, const fs::path& aFile)
		{
			// An array's elements, or an object's member values in key order.
			for (const nlohmann::json& someEntry : aProperties)
			{
				PropertyDefinition someRecord;
				someRecord.name = impl::Intern(impl::MemberOrNull(someEntry, "name").get<std::string>());
				someRecord.group = OptionalString(someEntry, "group");
				someRecord.description = OptionalString(someEntry, "description");
				const bool someIsDynamic = impl::MemberOrNull(someEntry, "is-dynamic").get<bool>();
				const bool someIsPerInstance = impl::MemberOrNull(someEntry, "is-per-instance").get<bool>();
				someRecord.flags = (someIsDynamic ? PROPERTY_FLAG_DYNAMIC : 0u) | (someIsPerInstance ? PROPERTY_FLAG_PER_INSTANCE : 0u);
				someRecord.type = impl::ReadPropertyType(someEntry, someRecord.name, aFile);
				if (!someRecord.type)
					continue;
				someRecord.value = Property(someRecord.type, impl::MemberOrNull(someEntry, "value"));
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
			aDefinition.parent = impl::Intern(impl::MemberOrNull(aDocument, "parent-object-definition").get<std::string>());
			if (aDocument.contains("properties"))
				ReadPropertyEntries(aDocument["properties"], aDefinition, someFile);
		});
	}

	void RegisterObjectDefinitionFiles(ObjectDefinitionRegistry& aRegistry, const std::string& aRoot)
	{
		std::error_code someError;
		fs::recursive_directory_iterator someWalk(aRoot, fs::directory_options::none, someError);
		for (const fs::recursive_directory_iterator someEnd; !someError && someWalk != someEnd; someWalk.increment(someError))
		{
			const fs::directory_entry& someEntry = *someWalk;
			std::error_code someStatusError;
			if (!someEntry.is_regular_file(someStatusError) || someEntry.path().extension() != DEFINITION_EXTENSION)
				continue;

			auto someDefinition = std::make_unique<ObjectDefinition>();
			if (!ReadObjectDefinition(*someDefinition, RelativeToGameAssets(someEntry.path()).c_str()))
				continue;
			const StringId someName = someDefinition->name;
			if (!aRegistry.Add(std::move(someDefinition)))
				std::cout << "Multiple nvo files exist with same name. That is not allowed: " << someName.c_str() << '\n';
		}
		if (someError)
			std::cerr << "Could not scan the object definitions under \"" << aRoot << "\": " << someError.message() << '\n';
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
