#include "properties/PlainPropertyTypes.h"

#include "stringRegistry/StringRegistry.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>

namespace Norv
{
	namespace
	{
		// Element aIndex of an array. Anything but an array gets the library's
		// type error 305 from operator[]; a short array its range error from at().
		const nlohmann::json& Component(const nlohmann::json& aJson, std::size_t aIndex)
		{
			return aJson.is_array() ? aJson.at(aIndex) : aJson[aIndex];
		}

		// Components are written one by one, so those read before an error stay written.
		void ReadComponents(const nlohmann::json& aJson, std::initializer_list<float*> aComponents)
		{
			std::size_t someIndex = 0;
			for (float* someComponent : aComponents)
				*someComponent = Component(aJson, someIndex++).get<float>();
		}

		std::int32_t TruncateToInt(double aValue)
		{
			constexpr double someMin = std::numeric_limits<std::int32_t>::min();
			constexpr double someMax = std::numeric_limits<std::int32_t>::max();
			if (std::isnan(aValue))
				return 0;
			if (aValue <= someMin)
				return std::numeric_limits<std::int32_t>::min();
			if (aValue >= someMax)
				return std::numeric_limits<std::int32_t>::max();
			return static_cast<std::int32_t>(aValue);
		}
	}

	void PropertyValueOps<std::int32_t>::FromJson(std::int32_t& aValue, const nlohmann::json& aJson)
	{
		if (aJson.is_number_float())
			aValue = TruncateToInt(aJson.get<double>());
		else if (aJson.is_boolean())
			aValue = aJson.get<bool>() ? 1 : 0;
		else
			aValue = static_cast<std::int32_t>(aJson.get<std::int64_t>());
	}

	void PropertyValueOps<std::int32_t>::ToJson(const std::int32_t& aValue, nlohmann::json& aJson)
	{
		aJson = aValue;
	}

	void PropertyValueOps<float>::FromJson(float& aValue, const nlohmann::json& aJson)
	{
		aValue = aJson.get<float>();
	}

	void PropertyValueOps<float>::ToJson(const float& aValue, nlohmann::json& aJson)
	{
		aJson = static_cast<double>(aValue);
	}

	void PropertyValueOps<bool>::FromJson(bool& aValue, const nlohmann::json& aJson)
	{
		aValue = aJson.get<bool>();
	}

	void PropertyValueOps<bool>::ToJson(const bool& aValue, nlohmann::json& aJson)
	{
		aJson = aValue;
	}

	void PropertyValueOps<StringId>::FromJson(StringId& aValue, const nlohmann::json& aJson)
	{
		aValue = StringRegistry::RegisterOrGetString(aJson.get<std::string>());
	}

	void PropertyValueOps<StringId>::ToJson(const StringId& aValue, nlohmann::json& aJson)
	{
		aJson = aValue.c_str();
	}

	void PropertyValueOps<Vector2<float>>::FromJson(Vector2<float>& aValue, const nlohmann::json& aJson)
	{
		ReadComponents(aJson, { &aValue.x, &aValue.y });
	}

	void PropertyValueOps<Vector2<float>>::ToJson(const Vector2<float>& aValue, nlohmann::json& aJson)
	{
		aJson = nlohmann::json::array({ static_cast<double>(aValue.x), static_cast<double>(aValue.y) });
	}

	void PropertyValueOps<Vector3<float>>::FromJson(Vector3<float>& aValue, const nlohmann::json& aJson)
	{
		ReadComponents(aJson, { &aValue.x, &aValue.y, &aValue.z });
	}

	void PropertyValueOps<Vector3<float>>::ToJson(const Vector3<float>& aValue, nlohmann::json& aJson)
	{
		aJson = nlohmann::json::array({ static_cast<double>(aValue.x), static_cast<double>(aValue.y), static_cast<double>(aValue.z) });
	}

	void PropertyValueOps<Vector4<float>>::FromJson(Vector4<float>& aValue, const nlohmann::json& aJson)
	{
		ReadComponents(aJson, { &aValue.x, &aValue.y, &aValue.z, &aValue.w });
	}

	void PropertyValueOps<Vector4<float>>::ToJson(const Vector4<float>& aValue, nlohmann::json& aJson)
	{
		aJson = nlohmann::json::array({ static_cast<double>(aValue.x), static_cast<double>(aValue.y), static_cast<double>(aValue.z), static_cast<double>(aValue.w) });
	}

	void PropertyValueOps<Color>::FromJson(Color& aValue, const nlohmann::json& aJson)
	{
		ReadComponents(aJson, { &aValue.r, &aValue.g, &aValue.b, &aValue.a });
	}

	void PropertyValueOps<Color>::ToJson(const Color& aValue, nlohmann::json& aJson)
	{
		aJson = nlohmann::json::array({ static_cast<double>(aValue.r), static_cast<double>(aValue.g), static_cast<double>(aValue.b), static_cast<double>(aValue.a) });
	}
}
