#include "settings/SettingsValues.h"

#include "loaders/JsonWords.h"

#include <nlohmann/json.hpp>

#include <iostream>
#include <sstream>
#include <utility>

namespace Norv::impl
{
	namespace
	{
		bool HasKind(const nlohmann::json& aValue, SettingKind aKind)
		{
			switch (aKind)
			{
			case SettingKind::Text: return aValue.is_string();
			case SettingKind::Number: return aValue.is_number();
			case SettingKind::Flag: return aValue.is_boolean();
			case SettingKind::Object: return aValue.is_object();
			case SettingKind::Words: return aValue.is_string() || aValue.is_array();
			}
			return false;
		}

		std::string_view LastPart(std::string_view aKey)
		{
			const size_t someDot = aKey.rfind('.');
			return someDot == std::string_view::npos ? aKey : aKey.substr(someDot + 1);
		}

		// The member named by aKey's last part; null when it is not set.
		const nlohmann::json* Member(const nlohmann::json& anObject, std::string_view aKey)
		{
			const std::string_view someName = LastPart(aKey);
			return IsSet(anObject, someName) ? &*anObject.find(someName) : nullptr;
		}

		std::string MustBe(SettingKind aKind, const nlohmann::json& aValue)
		{
			return "must be " + std::string(DescribeKind(aKind)) + ", not " + DescribeJsonValue(aValue);
		}

		std::string IsMissing(SettingKind aKind)
		{
			return "is missing (it must be " + std::string(DescribeKind(aKind)) + ")";
		}
	}

	SettingsValues::SettingsValues(std::filesystem::path aFile)
		: myFile(std::move(aFile))
	{
	}

	const nlohmann::json* SettingsValues::FindOptional(const nlohmann::json& anObject, std::string_view aKey, SettingKind aKind, std::string_view anInstead) const
	{
		const nlohmann::json* someValue = Member(anObject, aKey);
		return someValue && IsOfKind(*someValue, aKey, aKind, anInstead) ? someValue : nullptr;
	}

	const nlohmann::json* SettingsValues::FindNeeded(const nlohmann::json& anObject, std::string_view aKey, SettingKind aKind, std::string_view anInstead) const
	{
		if (!Member(anObject, aKey))
		{
			Report(aKey, IsMissing(aKind), anInstead);
			return nullptr;
		}
		return FindOptional(anObject, aKey, aKind, anInstead);
	}

	const nlohmann::json* SettingsValues::FindEssential(const nlohmann::json& anObject, std::string_view aKey, SettingKind aKind) const
	{
		const nlohmann::json* someValue = Member(anObject, aKey);
		if (someValue && !HasKind(*someValue, aKind))
			Refuse(aKey, MustBe(aKind, *someValue));
		return someValue;
	}

	const nlohmann::json& SettingsValues::FindRequired(const nlohmann::json& anObject, std::string_view aKey, SettingKind aKind) const
	{
		const nlohmann::json* someValue = FindEssential(anObject, aKey, aKind);
		if (!someValue)
			Refuse(aKey, IsMissing(aKind));
		return *someValue;
	}

	bool SettingsValues::IsOfKind(const nlohmann::json& aValue, std::string_view aKey, SettingKind aKind, std::string_view anInstead) const
	{
		if (HasKind(aValue, aKind))
			return true;
		Report(aKey, MustBe(aKind, aValue), anInstead);
		return false;
	}

	void SettingsValues::Report(std::string_view aKey, std::string_view aProblem, std::string_view anInstead) const
	{
		std::ostringstream someLine;
		someLine << "Settings file \"" << myFile.string() << '"';
		if (!aKey.empty())
			someLine << ": \"" << aKey << '"';
		someLine << ' ' << aProblem << "; " << anInstead << '\n';
		std::cerr << someLine.str();
	}

	void SettingsValues::Refuse(std::string_view aKey, std::string_view aProblem) const
	{
		Report(aKey, aProblem, CANNOT_START_WITHOUT_IT);
		throw UnusableSettings(std::string(aKey));
	}

	bool IsSet(const nlohmann::json& anObject, std::string_view aKey)
	{
		const auto someFound = anObject.find(aKey);
		return someFound != anObject.end() && !someFound->is_null();
	}

	std::string_view DescribeKind(SettingKind aKind)
	{
		switch (aKind)
		{
		case SettingKind::Text: return "text";
		case SettingKind::Number: return "a number";
		case SettingKind::Flag: return "true or false";
		case SettingKind::Object: return "an object";
		case SettingKind::Words: return "a word or a list of words";
		}
		return "";
	}
}
