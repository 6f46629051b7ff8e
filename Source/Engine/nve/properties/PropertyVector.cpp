#include "properties/PropertyVector.h"

#include "stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <string>

namespace Norv
{
	void PropertyValueOps<PropertyVector*>::Construct(void* aDst)
	{
		::new (aDst) PropertyVector*(new PropertyVector());
	}

	void PropertyValueOps<PropertyVector*>::Copy(PropertyVector* const& aSrc, void* aDst)
	{
		::new (aDst) PropertyVector*(aSrc ? new PropertyVector(*aSrc) : new PropertyVector());
	}

	void PropertyValueOps<PropertyVector*>::Move(PropertyVector*& aSrc, void* aDst)
	{
		::new (aDst) PropertyVector*(aSrc);
		aSrc = nullptr;
	}

	void PropertyValueOps<PropertyVector*>::Destroy(PropertyVector*& aValue)
	{
		delete aValue;
		aValue = nullptr;
	}

	void PropertyValueOps<PropertyVector*>::FromJson(PropertyVector*& aValue, const nlohmann::json& aJson)
	{
		if (!aValue)
			aValue = new PropertyVector();
		PropertyVector& someVector = *aValue;
		someVector.myItems.clear();
		if (!aJson.is_object() || !aJson.contains("elementType") || !aJson.contains("items"))
			return;

		const StringId someTypeName = StringRegistry::RegisterOrGetString(aJson["elementType"].get<std::string>());
		someVector.myElementType = PropertyTypeBase::FindType(someTypeName);
		if (!someVector.myElementType)
			return;

		// An object gives its members, an array its elements under "0", "1"...
		for (const auto& someItem : aJson["items"].items())
		{
			const StringId someKey = StringRegistry::RegisterOrGetString(someItem.key());
			if (!someVector.myItems.contains(someKey))
				someVector.myItems.emplace(someKey, Property(someVector.myElementType, someItem.value()));
		}
	}

	void PropertyValueOps<PropertyVector*>::ToJson(PropertyVector* const& aValue, nlohmann::json& aJson)
	{
		if (!aValue)
			return;
		aJson["elementType"] = aValue->myElementType ? aValue->myElementType->GetName().c_str() : "";
		nlohmann::json& someItems = aJson["items"] = nlohmann::json::object();
		for (const auto& [someKey, someValue] : aValue->myItems)
			someValue.ToJson(someItems[someKey.c_str()]);
	}
}
