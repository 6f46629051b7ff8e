#pragma once
// Json values and parse faults in a player's words, for the one-line reports of
// the settings, scene and definition readers: never the json library's wording.
#include <nlohmann/json_fwd.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace Norv::impl
{
	// aText in quotes, escaped so the line stays one line, cut short when long: "Ultra".
	std::string QuoteText(std::string_view aText);
	// How a value reads in a line: the text "big", the number 3, true, null, an
	// object, an empty list, a list of 2 values.
	std::string DescribeJsonValue(const nlohmann::json& aValue);
	// The json of aText, a file's whole text; aWholeText false stops after the first
	// complete value. Nothing when it cannot be read, with aFault saying where and
	// why: "it is empty", "it ends too early", "it goes wrong at line 3, column 19",
	// "it holds a number too large at line 1, column 9".
	std::optional<nlohmann::json> ParseJson(std::string_view aText, bool aWholeText, std::string& aFault);
}
