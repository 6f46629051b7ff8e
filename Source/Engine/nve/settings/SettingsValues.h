#pragma once
// The values of one settings file, checked as they are read: a value that is of
// the wrong type (or missing where it is needed) is reported in one line that
// names the file, the key and what the key needs. An optional value then keeps
// its default; one the game cannot start without ends the reading.
#include <nlohmann/json_fwd.hpp>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace Norv::impl
{
	enum class SettingKind
	{
		Text,
		Number,
		Flag,
		Object,
		Words, // a word, or a list of words
	};

	constexpr std::string_view CANNOT_START_WITHOUT_IT = "the game cannot start without it";

	// Thrown once a value the game cannot start without has been reported.
	struct UnusableSettings : std::runtime_error
	{
		using std::runtime_error::runtime_error;
	};

	class SettingsValues
	{
	public:
		explicit SettingsValues(std::filesystem::path aFile);

		// The member of anObject named by aKey's last part ("window_settings.title"
		// names "title"); aKey is the whole name the lines show. Null or absent reads as
		// unset, which gives nullptr. A set value of another kind is reported with
		// anInstead (what is used in its place) and also gives nullptr.
		const nlohmann::json* FindOptional(const nlohmann::json& anObject, std::string_view aKey, SettingKind aKind, std::string_view anInstead) const;
		// As FindOptional, but an unset value is reported as well.
		const nlohmann::json* FindNeeded(const nlohmann::json& anObject, std::string_view aKey, SettingKind aKind, std::string_view anInstead) const;
		// A value the game cannot start without when it is set: nullptr when unset; of
		// another kind, it is reported and UnusableSettings is thrown.
		const nlohmann::json* FindEssential(const nlohmann::json& anObject, std::string_view aKey, SettingKind aKind) const;
		// As FindEssential, and an unset value is refused too.
		const nlohmann::json& FindRequired(const nlohmann::json& anObject, std::string_view aKey, SettingKind aKind) const;

		// True when aValue (named aKey) is of aKind; otherwise reported with anInstead.
		bool IsOfKind(const nlohmann::json& aValue, std::string_view aKey, SettingKind aKind, std::string_view anInstead) const;

		// "Settings file "<file>": "<aKey>" <aProblem>; <anInstead>", on standard error
		// (without the key when aKey is empty: the file as a whole).
		void Report(std::string_view aKey, std::string_view aProblem, std::string_view anInstead) const;
		// Reports, then throws UnusableSettings.
		[[noreturn]] void Refuse(std::string_view aKey, std::string_view aProblem) const;

		const std::filesystem::path& GetFile() const { return myFile; }

	private:
		std::filesystem::path myFile;
	};

	// Whether anObject has the member aKey, and it is not null (null reads as absent).
	bool IsSet(const nlohmann::json& anObject, std::string_view aKey);

	// What a kind of value is called: "text", "a number", "true or false", ...
	std::string_view DescribeKind(SettingKind aKind);
}
