#pragma once
// The property types whose values are plain data held in the holder itself:
// "Int", "Float", "Float2", "Float3", "Float4", "Color", "StringId", "Bool".
// Copies are bitwise and nothing needs destroying.
#include "Math/Color.h"
#include "Math/Vector.h"
#include "properties/PropertyType.h"
#include "stringRegistry/StringId.h"

#include <cstdint>
#include <new>

namespace Norv
{
	template <>
	struct PropertyValueOps<std::int32_t> : ValueSemanticsOps<std::int32_t>
	{
		static void Construct(void* aDst) { ::new (aDst) std::int32_t(0); }
		// A number or boolean: integers reduced to 32 bits, floating values truncated
		// toward zero and clamped to the int range.
		static void FromJson(std::int32_t& aValue, const nlohmann::json& aJson);
		static void ToJson(const std::int32_t& aValue, nlohmann::json& aJson);
		static bool Edit(std::int32_t& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<float> : ValueSemanticsOps<float>
	{
		static void Construct(void* aDst) { ::new (aDst) float(0.0f); }
		static void FromJson(float& aValue, const nlohmann::json& aJson);
		static void ToJson(const float& aValue, nlohmann::json& aJson);
		static bool Edit(float& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<bool> : ValueSemanticsOps<bool>
	{
		static void Construct(void* aDst) { ::new (aDst) bool(false); }
		static void FromJson(bool& aValue, const nlohmann::json& aJson);
		static void ToJson(const bool& aValue, nlohmann::json& aJson);
		static bool Edit(bool& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<StringId> : ValueSemanticsOps<StringId>
	{
		static void Construct(void* aDst) { ::new (aDst) StringId(); }
		// A string, interned; the empty string gives the null id.
		static void FromJson(StringId& aValue, const nlohmann::json& aJson);
		static void ToJson(const StringId& aValue, nlohmann::json& aJson);
		static bool Edit(StringId& aValue, const char* aLabel, const char* aDescription);
	};

	// The vector types read an array of at least as many numbers as they have
	// components (a shorter one is rejected by the json library's range error
	// before anything is read past its end) and write an array of floats.
	template <>
	struct PropertyValueOps<Vector2<float>> : ValueSemanticsOps<Vector2<float>>
	{
		static void Construct(void* aDst) { ::new (aDst) Vector2<float>(); }
		static void FromJson(Vector2<float>& aValue, const nlohmann::json& aJson);
		static void ToJson(const Vector2<float>& aValue, nlohmann::json& aJson);
		static bool Edit(Vector2<float>& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<Vector3<float>> : ValueSemanticsOps<Vector3<float>>
	{
		static void Construct(void* aDst) { ::new (aDst) Vector3<float>(); }
		static void FromJson(Vector3<float>& aValue, const nlohmann::json& aJson);
		static void ToJson(const Vector3<float>& aValue, nlohmann::json& aJson);
		static bool Edit(Vector3<float>& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<Vector4<float>> : ValueSemanticsOps<Vector4<float>>
	{
		static void Construct(void* aDst) { ::new (aDst) Vector4<float>(); }
		static void FromJson(Vector4<float>& aValue, const nlohmann::json& aJson);
		static void ToJson(const Vector4<float>& aValue, nlohmann::json& aJson);
		static bool Edit(Vector4<float>& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<Color> : ValueSemanticsOps<Color>
	{
		// Transparent black, unlike Color's own default.
		static void Construct(void* aDst) { ::new (aDst) Color(0.0f, 0.0f, 0.0f, 0.0f); }
		static void FromJson(Color& aValue, const nlohmann::json& aJson);
		static void ToJson(const Color& aValue, nlohmann::json& aJson);
		static bool Edit(Color& aValue, const char* aLabel, const char* aDescription);
	};

	template <> PropertyType<std::int32_t> PropertyType<std::int32_t>::ourInstance;
	template <> PropertyType<float> PropertyType<float>::ourInstance;
	template <> PropertyType<bool> PropertyType<bool>::ourInstance;
	template <> PropertyType<StringId> PropertyType<StringId>::ourInstance;
	template <> PropertyType<Vector2<float>> PropertyType<Vector2<float>>::ourInstance;
	template <> PropertyType<Vector3<float>> PropertyType<Vector3<float>>::ourInstance;
	template <> PropertyType<Vector4<float>> PropertyType<Vector4<float>>::ourInstance;
	template <> PropertyType<Color> PropertyType<Color>::ourInstance;
}
