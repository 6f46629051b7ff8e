#include "properties/PropertyVector.h"

#include "stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <string>

namespace Norv
{
	namespace
	{
		// Vectors of vectors are read recursively: a deeper file is refused before it
		// can exhaust the stack.
		constexpr int MAX_NESTING_DEPTH = 64;
		constexpr int NESTING_ERROR_ID = 510;

		thread_local int ourReadDepth = 0;

		struct NestingGuard
		{
			NestingGuard()
			{
				if (ourReadDepth >= MAX_NESTING_DEPTH)
					throw nlohmann::json::other_error::create(NESTING_ERROR_ID, "property vectors nested deeper than " + std::to_string(MAX_NESTING_DEPTH) + " levels", nullptr);
				++ourReadDepth;
			}
			~NestingGuard() { --ourReadDepth; }
			NestingGuard(const NestingGuard&) = delete;
			NestingGuard& operator=(const NestingGuard&) = delete;
		};
	}

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
		const NestingGuard someGuard;
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
