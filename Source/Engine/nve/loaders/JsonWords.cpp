#include "loaders/JsonWords.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace Norv::impl
{
	namespace
	{
		constexpr std::size_t SHOWN_TEXT_CHARACTERS = 40; // longer text is cut in a line
	}

	std::string QuoteText(std::string_view aText)
	{
		const bool someIsCut = aText.size() > SHOWN_TEXT_CHARACTERS;
		const nlohmann::json someShown = std::string(someIsCut ? aText.substr(0, SHOWN_TEXT_CHARACTERS) : aText);
		// A cut may split a character: it is shown replaced rather than refused.
		return someShown.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + (someIsCut ? "..." : "");
	}

	std::string DescribeJsonValue(const nlohmann::json& aValue)
	{
		switch (aValue.type())
		{
		case nlohmann::json::value_t::string: return "the text " + QuoteText(aValue.get_ref<const std::string&>());
		case nlohmann::json::value_t::boolean: return aValue.get<bool>() ? "true" : "false";
		case nlohmann::json::value_t::object: return "an object";
		case nlohmann::json::value_t::array:
			return aValue.empty() ? "an empty list" : "a list of " + std::to_string(aValue.size()) + (aValue.size() == 1 ? " value" : " values");
		case nlohmann::json::value_t::null: return "null";
		default: return "the number " + aValue.dump();
		}
	}

	std::string DescribeJsonFault(std::string_view aText, std::size_t aByte)
	{
		if (aText.find_first_not_of(" \t\r\n") == std::string_view::npos)
			return "it is empty";
		if (aByte > aText.size())
			return "it ends too early";
		const std::size_t someOffset = aByte == 0 ? 0 : aByte - 1;
		const std::size_t someLineStart = someOffset == 0 ? 0 : aText.rfind('\n', someOffset - 1) + 1; // npos + 1 is 0
		const auto someLine = 1 + std::count(aText.begin(), aText.begin() + static_cast<std::ptrdiff_t>(someOffset), '\n');
		return "it goes wrong at line " + std::to_string(someLine) + ", column " + std::to_string(someOffset - someLineStart + 1);
	}
}
