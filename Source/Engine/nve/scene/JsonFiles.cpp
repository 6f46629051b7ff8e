#include "scene/JsonFiles.h"

#include "files/FilePath.h"
#include "loaders/JsonWords.h"
#include "properties/PropertyType.h"
#include "stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <optional>
#include <string_view>

namespace Norv::impl
{
	namespace
	{
		// What a json value is, in plain words; a key not there is "missing".
		std::string Describe(const nlohmann::json* aValue)
		{
			return aValue ? DescribeJsonValue(*aValue) : "missing";
		}

		[[noreturn]] void ThrowWrongForm(const std::string& anOwner, const std::string& aWhat, const std::string& aForm, const nlohmann::json* aFound)
		{
			throw ValueError((anOwner.empty() ? "" : anOwner + ": ") + aWhat + " must be " + aForm + ", but is " + Describe(aFound));
		}

		std::string Quoted(const char* aKey)
		{
			return std::string("\"") + aKey + "\"";
		}

		bool IsNumber(const nlohmann::json& aValue)
		{
			return aValue.is_number() || aValue.is_boolean();
		}

		// The form a value of a property type takes in a file, by the type's display name.
		std::string_view DescribeTypeForm(std::string_view aTypeName)
		{
			struct TypeForm
			{
				std::string_view myType;
				std::string_view myForm;
			};
			static constexpr TypeForm ourForms[] = {
				{ "Int", "a number" }, { "Float", "a number" }, { "Bool", "true or false" }, { "StringId", "a text" },
				{ "Float2", "a list of 2 numbers" }, { "Float3", "a list of 3 numbers" }, { "Float4", "a list of 4 numbers" },
				{ "Color", "a list of 4 numbers" }, { "Model", "an object of path texts" }, { "Sprite", "an object of path texts" },
				{ "Scene", "an object with a \"scene_path\" text" }, { "Animation Clip", "an object with a \"clip_path\" text" },
				{ "Vector", "an object with an \"elementType\" text and \"items\"" },
			};
			for (const TypeForm& someForm : ourForms)
				if (someForm.myType == aTypeName)
					return someForm.myForm;
			return "its json form";
		}
	}

	bool ReadJsonFile(const std::filesystem::path& aPath, const std::function<bool(const nlohmann::json&)>& aRead)
	{
		const std::optional<std::vector<std::uint8_t>> someBytes = Platform::ReadWholeFile(aPath);
		if (!someBytes)
		{
			std::cerr << "Could not open \"" << aPath.string() << "\": " << Platform::WhyUnreadable(aPath) << '\n';
			return false;
		}
		const std::string someText(someBytes->begin(), someBytes->end());
		std::string someFault;
		const std::optional<nlohmann::json> someDocument = ParseJson(someText, false, someFault); // what follows the first value is not read
		if (!someDocument)
		{
			std::cerr << "Could not read \"" << aPath.string() << "\": " << someFault << '\n';
			return false;
		}
		return aRead(*someDocument);
	}

	void RequireObject(const nlohmann::json& aJson, const std::string& aWhat, const std::string& aForm)
	{
		if (!aJson.is_object())
			ThrowWrongForm({}, aWhat, aForm, &aJson);
	}

	const nlohmann::json* FindMember(const nlohmann::json& anObject, const char* aKey)
	{
		const auto someFound = anObject.find(aKey);
		return someFound == anObject.end() ? nullptr : &*someFound;
	}

	std::string ReadText(const nlohmann::json& anObject, const char* aKey, const std::string& aDefault, const std::string& anOwner)
	{
		const nlohmann::json* someValue = FindMember(anObject, aKey);
		if (!someValue)
			return aDefault;
		if (!someValue->is_string())
			ThrowWrongForm(anOwner, Quoted(aKey), "a text", someValue);
		return someValue->get<std::string>();
	}

	std::string RequireText(const nlohmann::json& anObject, const char* aKey, const std::string& anOwner)
	{
		const nlohmann::json* someValue = FindMember(anObject, aKey);
		if (!someValue || !someValue->is_string())
			ThrowWrongForm(anOwner, Quoted(aKey), "a text", someValue);
		return someValue->get<std::string>();
	}

	bool RequireFlag(const nlohmann::json& anObject, const char* aKey, const std::string& anOwner)
	{
		const nlohmann::json* someValue = FindMember(anObject, aKey);
		if (!someValue || !someValue->is_boolean())
			ThrowWrongForm(anOwner, Quoted(aKey), "true or false", someValue);
		return someValue->get<bool>();
	}

	void ReadNumbers(const nlohmann::json& anObject, const char* aKey, std::span<float> aOut)
	{
		const nlohmann::json* someValue = FindMember(anObject, aKey);
		const std::string someForm = "a list of " + std::to_string(aOut.size()) + " numbers";
		if (!someValue || !someValue->is_array() || someValue->size() < aOut.size())
			ThrowWrongForm({}, Quoted(aKey), someForm, someValue);
		for (std::size_t someIndex = 0; someIndex < aOut.size(); ++someIndex)
		{
			const nlohmann::json& someElement = (*someValue)[someIndex];
			if (!IsNumber(someElement))
				throw ValueError(Quoted(aKey) + " must be " + someForm + ", but its value " + std::to_string(someIndex + 1) + " is " + Describe(&someElement));
			aOut[someIndex] = someElement.get<float>();
		}
	}

	std::vector<const nlohmann::json*> ReadEntries(const nlohmann::json& anObject, const char* aKey)
	{
		std::vector<const nlohmann::json*> someEntries;
		const nlohmann::json* someValue = FindMember(anObject, aKey);
		if (!someValue || someValue->is_null())
			return someEntries;
		if (!someValue->is_array() && !someValue->is_object())
			ThrowWrongForm({}, Quoted(aKey), "a list of property entries", someValue);
		for (const nlohmann::json& someEntry : *someValue)
			someEntries.push_back(&someEntry);
		return someEntries;
	}

	std::string RequireEntry(const nlohmann::json& anEntry, std::size_t aPlace)
	{
		const std::string somePlace = "property entry " + std::to_string(aPlace);
		RequireObject(anEntry, somePlace, "an object with \"name\", \"type\" and \"value\"");
		const nlohmann::json* someName = FindMember(anEntry, "name");
		return someName && someName->is_string() ? "property \"" + someName->get<std::string>() + "\"" : somePlace;
	}

	const PropertyTypeBase* ReadPropertyType(const nlohmann::json& anEntry, const std::string& anOwner, const std::filesystem::path& aFile)
	{
		const std::string someTypeName = RequireText(anEntry, "type", anOwner);
		const PropertyTypeBase* someType = PropertyTypeBase::FindType(Intern(someTypeName));
		if (!someType)
			std::cerr << "\"" << aFile.string() << "\": " << anOwner << " has the unknown type \"" << someTypeName << "\" and is skipped\n";
		return someType;
	}

	Property ReadPropertyValue(const nlohmann::json& anEntry, const std::string& anOwner, const PropertyTypeBase& aType)
	{
		static const nlohmann::json ourNull;
		const nlohmann::json* someValue = FindMember(anEntry, "value");
		try
		{
			return Property(&aType, someValue ? *someValue : ourNull);
		}
		catch (const nlohmann::json::exception&)
		{
			// The library knows only the innermost value it met; the message names the whole.
			const std::string someForm = "a value of type \"" + std::string(aType.GetDisplayName()) + "\" (" + std::string(DescribeTypeForm(aType.GetDisplayName())) + ")";
			const bool someIsWhole = someValue && (someValue->is_array() || someValue->is_object());
			throw ValueError(anOwner + ": \"value\" must be " + someForm + ", but is " + Describe(someValue) + (someIsWhole ? " that does not read as one" : ""));
		}
	}

	StringId Intern(const std::string& aText)
	{
		return StringRegistry::RegisterOrGetString(aText);
	}
}
