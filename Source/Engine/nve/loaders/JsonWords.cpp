#include "loaders/JsonWords.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <sstream>

namespace Norv::impl
{
	namespace
	{
		constexpr std::size_t SHOWN_TEXT_CHARACTERS = 40; // longer text is cut in a line
		constexpr int NUMBER_OVERFLOW_ID = 406; // the parser's id for a number no double holds

		// Reads a text again without building it, to learn where and why the parser stopped.
		class FaultFinder final : public nlohmann::json_sax<nlohmann::json>
		{
		public:
			bool null() override { return true; }
			bool boolean(bool) override { return true; }
			bool number_integer(number_integer_t) override { return true; }
			bool number_unsigned(number_unsigned_t) override { return true; }
			bool number_float(number_float_t, const string_t&) override { return true; }
			bool string(string_t&) override { return true; }
			bool binary(binary_t&) override { return true; }
			bool start_object(std::size_t) override { return true; }
			bool key(string_t&) override { return true; }
			bool end_object() override { return true; }
			bool start_array(std::size_t) override { return true; }
			bool end_array() override { return true; }
			bool parse_error(std::size_t aByte, const std::string&, const nlohmann::detail::exception& anError) override
			{
				myByte = aByte;
				myIsNumberTooLarge = anError.id == NUMBER_OVERFLOW_ID;
				return false;
			}

			std::size_t myByte = 0;
			bool myIsNumberTooLarge = false;
		};

		// "line 3, column 19": where the byte aByte (counted from 1) of aText stands.
		std::string PlaceOf(std::string_view aText, std::size_t aByte)
		{
			const std::size_t someOffset = aByte == 0 ? 0 : aByte - 1;
			const std::size_t someLineStart = someOffset == 0 ? 0 : aText.rfind('\n', someOffset - 1) + 1; // npos + 1 is 0
			const auto someLine = 1 + std::count(aText.begin(), aText.begin() + static_cast<std::ptrdiff_t>(someOffset), '\n');
			return "line " + std::to_string(someLine) + ", column " + std::to_string(someOffset - someLineStart + 1);
		}
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

	std::optional<nlohmann::json> ParseJson(std::string_view aText, bool aWholeText, std::string& aFault)
	{
		try
		{
			if (aWholeText)
				return nlohmann::json::parse(aText);
			std::istringstream someStream{ std::string(aText) };
			nlohmann::json someDocument;
			someStream >> someDocument;
			return someDocument;
		}
		catch (const nlohmann::json::exception&)
		{
			FaultFinder someFinder;
			nlohmann::json::sax_parse(aText, &someFinder, nlohmann::json::input_format_t::json, aWholeText);
			if (aText.find_first_not_of(" \t\r\n") == std::string_view::npos)
				aFault = "it is empty";
			else if (someFinder.myByte > aText.size())
				aFault = "it ends too early";
			else
				aFault = (someFinder.myIsNumberTooLarge ? "it holds a number too large at " : "it goes wrong at ") + PlaceOf(aText, someFinder.myByte);
			return std::nullopt;
		}
	}
}
