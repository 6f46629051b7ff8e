#include "Support/AssertRecorder.h"
#include "Support/JsonErrors.h"
#include "properties/PlainPropertyTypes.h"
#include "properties/Property.h"
#include "properties/PropertyVector.h"
#include "properties/SceneReferenceProperty.h"
#include "stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <limits>

using nlohmann::json;
using Norv::Property;
using Norv::PropertyType;
using NorvTest::ThrowsJsonError;

namespace
{
	template <typename T>
	const Norv::PropertyTypeBase* TypeOf() { return &PropertyType<T>::ourInstance; }

	template <typename T>
	T Read(const json& aJson)
	{
		const Property someValue(TypeOf<T>(), aJson);
		return *someValue.TryGet<T>();
	}

	template <typename T>
	json Written(const T& aValue)
	{
		Property someHolder(TypeOf<T>());
		*someHolder.TryGet<T>() = aValue;
		json someJson;
		someHolder.ToJson(someJson);
		return someJson;
	}
}

// ---------------------------------------------------------------- holder

TEST(PropertyHolder, ConstructingFromATypeGivesItsDefault)
{
	EXPECT_EQ(*Property(TypeOf<std::int32_t>()).TryGet<std::int32_t>(), 0);
	EXPECT_EQ(*Property(TypeOf<Norv::Color>()).TryGet<Norv::Color>(), Norv::Color(0, 0, 0, 0));
	EXPECT_TRUE(Property(TypeOf<Norv::StringId>()).TryGet<Norv::StringId>()->IsNull());

	const Property someVector(TypeOf<Norv::PropertyVector*>());
	Norv::PropertyVector* const* someValue = someVector.TryGet<Norv::PropertyVector*>();
	ASSERT_NE(someValue, nullptr);
	ASSERT_NE(*someValue, nullptr);
	EXPECT_TRUE((*someValue)->myItems.empty());
	EXPECT_EQ((*someValue)->myElementType, nullptr);

	const Property someEmpty(nullptr);
	EXPECT_FALSE(someEmpty.HasValue());
	EXPECT_EQ(someEmpty.TryGet<std::int32_t>(), nullptr);
}

TEST(PropertyHolder, TypedReadNeedsTheExactType)
{
	Property someFloat(TypeOf<float>());
	EXPECT_NE(someFloat.TryGet<float>(), nullptr);
	EXPECT_EQ(someFloat.TryGet<std::int32_t>(), nullptr);
	EXPECT_EQ(someFloat.TryGet<Norv::Vector2<float>>(), nullptr);
}

TEST(PropertyHolder, CopiesOfPooledValuesShareTheSlot)
{
	const Property someScene(TypeOf<Norv::SceneReferenceHandle>(), json{ { "scene_path", "scenes/Hub.nvs" } });
	const Norv::SceneReferenceHandle& someHandle = *someScene.TryGet<Norv::SceneReferenceHandle>();
	EXPECT_EQ(someHandle.GetUseCount(), 1);
	{
		const Property someCopy(someScene);
		EXPECT_EQ(someCopy.TryGet<Norv::SceneReferenceHandle>()->GetSlotIndex(), someHandle.GetSlotIndex());
		EXPECT_EQ(someHandle.GetUseCount(), 2);
	}
	EXPECT_EQ(someHandle.GetUseCount(), 1);
	EXPECT_EQ(someHandle->myScenePath.View(), "scenes/Hub.nvs");
}

TEST(PropertyHolder, MovingAVectorLeavesANullPointerBehind)
{
	Property someSource(TypeOf<Norv::PropertyVector*>(), json{ { "elementType", "Int" }, { "items", { { "a", 1 } } } });
	const Property someTarget(std::move(someSource));
	EXPECT_EQ(*someSource.TryGet<Norv::PropertyVector*>(), nullptr);
	EXPECT_EQ((*someTarget.TryGet<Norv::PropertyVector*>())->myItems.size(), 1u);

	Property someAssigned(TypeOf<std::int32_t>());
	someAssigned = Property(TypeOf<Norv::PropertyVector*>());
	EXPECT_NE(someAssigned.TryGet<Norv::PropertyVector*>(), nullptr);
}

TEST(PropertyHolder, SelfAssignmentKeepsTheValue)
{
	Property someVector(TypeOf<Norv::PropertyVector*>(), json{ { "elementType", "Int" }, { "items", { { "a", 7 } } } });
	Property& someAlias = someVector;
	someVector = someAlias;
	ASSERT_NE(someVector.TryGet<Norv::PropertyVector*>(), nullptr);
	const Norv::PropertyVector* someItems = *someVector.TryGet<Norv::PropertyVector*>();
	ASSERT_EQ(someItems->myItems.size(), 1u);
	EXPECT_EQ(*someItems->myItems.begin()->second.TryGet<std::int32_t>(), 7);

	someVector = std::move(someAlias);
	EXPECT_EQ((*someVector.TryGet<Norv::PropertyVector*>())->myItems.size(), 1u);
}

TEST(PropertyHolder, FailedJsonReadLeavesNoValueAndNoLeak)
{
	EXPECT_TRUE(ThrowsJsonError([] { Property someValue(TypeOf<bool>(), json(1)); }, 302, "type must be boolean, but is number"));
	// A vector that fails on its second item must free the first (checked by the sanitizers).
	EXPECT_TRUE(ThrowsJsonError([] { Property someValue(TypeOf<Norv::PropertyVector*>(), json::parse(R"({"elementType": "Bool", "items": {"a": true, "b": 1}})")); }, 302,
		"type must be boolean, but is number"));
}

TEST(PropertyHolder, JsonWithoutATypeIsRejected)
{
	NorvTest::AssertRecorder someAsserts;
	const Property someValue(nullptr, json(3));
	EXPECT_FALSE(someValue.HasValue());
	EXPECT_EQ(someAsserts.Count(), 1u);
	json someOut = "untouched";
	someValue.ToJson(someOut);
	EXPECT_EQ(someOut, "untouched");
	EXPECT_EQ(someAsserts.Count(), 2u);
}

// ---------------------------------------------------------------- plain types from json

TEST(PlainPropertyJson, IntTruncatesTowardZeroAndAcceptsBooleans)
{
	EXPECT_EQ(Read<std::int32_t>(json(3.9)), 3);
	EXPECT_EQ(Read<std::int32_t>(json(-3.9)), -3);
	EXPECT_EQ(Read<std::int32_t>(json(true)), 1);
	EXPECT_EQ(Read<std::int32_t>(json(false)), 0);
	EXPECT_EQ(Read<std::int32_t>(json(-42)), -42);
	EXPECT_EQ(Read<std::int32_t>(json(4294967297u)), 1); // unsigned reduced to 32 bits
	EXPECT_TRUE(ThrowsJsonError([] { Read<std::int32_t>(json("3")); }, 302, "type must be number, but is string"));
	EXPECT_TRUE(ThrowsJsonError([] { Read<std::int32_t>(json()); }, 302, "type must be number, but is null"));
}

TEST(PlainPropertyJson, IntClampsFloatingValuesOutsideItsRange)
{
	EXPECT_EQ(Read<std::int32_t>(json(1e20)), std::numeric_limits<std::int32_t>::max());
	EXPECT_EQ(Read<std::int32_t>(json(-1e20)), std::numeric_limits<std::int32_t>::min());
	EXPECT_EQ(Read<std::int32_t>(json(2147483647.5)), std::numeric_limits<std::int32_t>::max());
	EXPECT_EQ(Read<std::int32_t>(json(std::numeric_limits<double>::quiet_NaN())), 0);
}

TEST(PlainPropertyJson, FloatAndBool)
{
	EXPECT_EQ(Read<float>(json(2)), 2.0f);
	EXPECT_EQ(Read<float>(json(true)), 1.0f);
	EXPECT_TRUE(ThrowsJsonError([] { Read<float>(json::array()); }, 302, "type must be number, but is array"));
	EXPECT_TRUE(Read<bool>(json(true)));
	EXPECT_TRUE(ThrowsJsonError([] { Read<bool>(json(0)); }, 302, "type must be boolean, but is number"));
	EXPECT_TRUE(ThrowsJsonError([] { Read<bool>(json("true")); }, 302, "type must be boolean, but is string"));
}

TEST(PlainPropertyJson, StringIdInternsAndEmptyIsNull)
{
	EXPECT_EQ(Read<Norv::StringId>(json("Door")), Norv::StringRegistry::RegisterOrGetString("Door"));
	EXPECT_TRUE(Read<Norv::StringId>(json("")).IsNull());
	EXPECT_EQ(Written(Norv::StringId()), json(""));
	EXPECT_TRUE(ThrowsJsonError([] { Read<Norv::StringId>(json(5)); }, 302, "type must be string, but is number"));
}

TEST(PlainPropertyJson, VectorsTakeTheFirstComponentsOfAnArray)
{
	EXPECT_EQ(Read<Norv::Vector3<float>>(json::parse("[1, 2, 3, 4]")), Norv::Vector3<float>(1, 2, 3));
	EXPECT_EQ(Read<Norv::Vector2<float>>(json::parse("[1.5, true]")), Norv::Vector2<float>(1.5f, 1.0f));
	EXPECT_EQ(Read<Norv::Vector4<float>>(json::parse("[1, 2, 3, 4]")), Norv::Vector4<float>(1, 2, 3, 4));
	EXPECT_EQ(Read<Norv::Color>(json::parse("[0.5, 0.25, 0, 1]")), Norv::Color(0.5f, 0.25f, 0.0f, 1.0f));
	EXPECT_TRUE(ThrowsJsonError([] { Read<Norv::Color>(json::object()); }, 305, "cannot use operator[] with a numeric argument with object"));
	EXPECT_TRUE(ThrowsJsonError([] { Read<Norv::Vector2<float>>(json(3)); }, 305, "cannot use operator[] with a numeric argument with number"));
	EXPECT_TRUE(ThrowsJsonError([] { Read<Norv::Vector3<float>>(json::parse(R"([1, "2", 3])")); }, 302, "type must be number, but is string"));
}

TEST(PlainPropertyJson, ShortArraysAreRejectedWithoutReadingPastTheEnd)
{
	EXPECT_TRUE(ThrowsJsonError([] { Read<Norv::Vector3<float>>(json::parse("[1, 2]")); }, 401, "array index 2 is out of range"));
	EXPECT_TRUE(ThrowsJsonError([] { Read<Norv::Color>(json::array()); }, 401, "array index 0 is out of range"));

	// Components read before the failure stay written.
	Property someValue(TypeOf<Norv::Vector3<float>>());
	EXPECT_ANY_THROW(someValue.GetType()->FromJson(someValue.TryGet<Norv::Vector3<float>>(), json::parse("[7, 8]")));
	EXPECT_EQ(*someValue.TryGet<Norv::Vector3<float>>(), Norv::Vector3<float>(7, 8, 0));
}

// ---------------------------------------------------------------- plain types to json

TEST(PlainPropertyJson, WrittenFormsAreFloatsIntegersBooleansAndStrings)
{
	const json someFloat2 = Written(Norv::Vector2<float>(1, 2));
	ASSERT_TRUE(someFloat2.is_array());
	ASSERT_EQ(someFloat2.size(), 2u);
	EXPECT_TRUE(someFloat2[0].is_number_float());
	EXPECT_EQ(someFloat2, json::parse("[1.0, 2.0]"));
	EXPECT_EQ(Written(Norv::Color(0.5f, 0, 0, 1)), json::parse("[0.5, 0.0, 0.0, 1.0]"));
	EXPECT_TRUE(Written(3.0f).is_number_float());
	EXPECT_TRUE(Written(std::int32_t(3)).is_number_integer());
	EXPECT_EQ(Written(true), json(true));
	EXPECT_EQ(Written(Norv::StringRegistry::RegisterOrGetString("Gate")), json("Gate"));
}

// ---------------------------------------------------------------- the "Scene" reference

TEST(SceneReferenceJson, ReadsIntoAFreshSlotAndWritesOneKey)
{
	const Property someScene(TypeOf<Norv::SceneReferenceHandle>(), json{ { "scene_path", "scenes/Level_1.nvs" } });
	json someOut;
	someScene.ToJson(someOut);
	EXPECT_EQ(someOut, json({ { "scene_path", "scenes/Level_1.nvs" } }));

	const Property someDefault(TypeOf<Norv::SceneReferenceHandle>(), json::object());
	EXPECT_TRUE((*someDefault.TryGet<Norv::SceneReferenceHandle>())->myScenePath.IsNull());
	EXPECT_EQ(someDefault.TryGet<Norv::SceneReferenceHandle>()->GetUseCount(), 1);

	EXPECT_TRUE(ThrowsJsonError([] { Property someValue(TypeOf<Norv::SceneReferenceHandle>(), json::array()); }, 306, "cannot use value() with array"));
	EXPECT_TRUE(ThrowsJsonError([] { Property someValue(TypeOf<Norv::SceneReferenceHandle>(), json{ { "scene_path", 5 } }); }, 302, "type must be string, but is number"));
}

TEST(SceneReferenceJson, ReadingIntoASharedValueLeavesTheOtherHolderAlone)
{
	const Property someFirst(TypeOf<Norv::SceneReferenceHandle>(), json{ { "scene_path", "scenes/Hub.nvs" } });
	Property someSecond(someFirst);
	someSecond.GetType()->FromJson(someSecond.TryGet<Norv::SceneReferenceHandle>(), json{ { "scene_path", "scenes/Ending.nvs" } });
	EXPECT_EQ((*someFirst.TryGet<Norv::SceneReferenceHandle>())->myScenePath.View(), "scenes/Hub.nvs");
	EXPECT_EQ((*someSecond.TryGet<Norv::SceneReferenceHandle>())->myScenePath.View(), "scenes/Ending.nvs");
	EXPECT_EQ(someFirst.TryGet<Norv::SceneReferenceHandle>()->GetUseCount(), 1);
}
