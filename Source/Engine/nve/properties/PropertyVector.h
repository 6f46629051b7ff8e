#pragma once
// The "Vector" property type: named values of one element type, ordered by the
// names' text. The holder keeps an owning pointer to the vector; a null pointer
// (left behind by a move) holds nothing.
#include "properties/Property.h"
#include "properties/PropertyType.h"
#include "properties/StringIdText.h"
#include "stringRegistry/StringId.h"

#include <map>

namespace Norv
{
	struct PropertyVector
	{
		// Every item has the element type; without an element type there are no items.
		std::map<StringId, Property, StringIdTextLess> myItems;
		const PropertyTypeBase* myElementType = nullptr;
	};

	template <>
	struct PropertyValueOps<PropertyVector*>
	{
		// A new, empty vector with no element type.
		static void Construct(void* aDst);
		// A new vector with a copy of every item; a null source gives an empty vector.
		static void Copy(PropertyVector* const& aSrc, void* aDst);
		// Takes the pointer over and leaves the source null.
		static void Move(PropertyVector*& aSrc, void* aDst);
		static void Destroy(PropertyVector*& aValue);
		// {"elementType": name, "items": {key: value...}}: clears the items, then
		// reads them when both keys are present. An element type that is not
		// registered leaves the vector empty with no element type. Vectors nested
		// deeper than 64 levels throw the json library's other_error 510.
		static void FromJson(PropertyVector*& aValue, const nlohmann::json& aJson);
		// Writes the form above; a null pointer writes nothing.
		static void ToJson(PropertyVector* const& aValue, nlohmann::json& aJson);
		static bool Edit(PropertyVector*& aValue, const char* aLabel, const char* aDescription);
	};

	template <> PropertyType<PropertyVector*> PropertyType<PropertyVector*>::ourInstance;
}
