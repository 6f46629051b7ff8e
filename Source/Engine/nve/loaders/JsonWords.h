#pragma once
// Json values and parse faults in a player's words, for the one-line reports of
// the settings, scene and definition readers: never the json library's wording.
#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace Norv::impl
{
	// aText in quotes, escaped so the line stays one line, cut short when long: "Ultra".
	std::string QuoteText(std::string_view aText);
	// How a value reads in a line: the text "big", the number 3, true, null, an
	// object, an empty list, a list of 2 values.
	std::string DescribeJsonValue(const nlohmann::json& aValue);
	// Where the parser stopped at aByte of aText, a file's whole text: "it is empty",
	// "it ends too early", "it goes wrong at line 3, column 19".
	std::string DescribeJsonFault(std::string_view aText, std::size_t aByte);
}
