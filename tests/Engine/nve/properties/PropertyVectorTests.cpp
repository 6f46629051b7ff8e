#include "Support/JsonErrors.h"
#include "properties/PlainPropertyTypes.h"
#include "properties/PropertyVector.h"
#include "stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

using nlohmann::json;
using Norv::Property;
using Norv::PropertyVector;
using NorvTest::ThrowsJsonError;

namespace
{
	const Norv::PropertyTypeBase* VectorType() { return &Norv::PropertyType<PropertyVector*>::ourInstance; }

	PropertyVector& Items(Property& aProperty) { return **aProperty.TryGet<PropertyVector*>(); }

	std::vector<std::string> Keys(const PropertyVector& aVector)
	{
		std::vector<std::string> someKeys;
		for (const auto& [someKey, someValue] : aVector.myItems)
			someKeys.emplace_back(someKey.c_str());
		return someKeys;
	}

	json Written(const Property& aProperty)
	{
		json someJson;
		aProperty.ToJson(someJson);
		return someJson;
	}
}

TEST(PropertyVectorJson, ItemsAreOrderedByKeyAndRoundTrip)
{
	const json someInput = json::parse(R"({"elementType": "Float", "items": {"b": 2, "a": 1}})");
	Property someVector(VectorType(), someInput);
	EXPECT_EQ(Keys(Items(someVector)), (std::vector<std::string>{ "a", "b" }));
	EXPECT_EQ(Items(someVector).myElementType, &Norv::PropertyType<float>::ourInstance);
	EXPECT_EQ(*Items(someVector).myItems.begin()->second.TryGet<float>(), 1.0f);
	EXPECT_EQ(Written(someVector), someInput);
}

TEST(PropertyVectorJson, KeysOrderByteWiseNotByInterning)
{
	// Interned in the opposite order of their text.
	Norv::StringRegistry::RegisterOrGetString("zz-vector-key");
	Norv::StringRegistry::RegisterOrGetString("Zz-vector-key");
	Property someVector(VectorType(), json::parse(R"({"elementType": "Int", "items": {"zz-vector-key": 1, "Zz-vector-key": 2, "\u00e9": 3}})"));
	EXPECT_EQ(Keys(Items(someVector)), (std::vector<std::string>{ "Zz-vector-key", "zz-vector-key", "\xc3\xa9" }));
}

TEST(PropertyVectorJson, ArrayItemsAreKeyedByTheirIndex)
{
	Property someVector(VectorType(), json::parse(R"({"elementType": "Int", "items": [5, 6]})"));
	EXPECT_EQ(Keys(Items(someVector)), (std::vector<std::string>{ "0", "1" }));
	EXPECT_EQ(*Items(someVector).myItems.rbegin()->second.TryGet<std::int32_t>(), 6);
}

TEST(PropertyVectorJson, UnknownElementTypeGivesAnEmptyUntypedVector)
{
	Property someVector(VectorType(), json::parse(R"({"elementType": "NoSuchType", "items": {"a": 1}})"));
	EXPECT_TRUE(Items(someVector).myItems.empty());
	EXPECT_EQ(Items(someVector).myElementType, nullptr);
	EXPECT_EQ(Written(someVector), json::parse(R"({"elementType": "", "items": {}})"));
}

TEST(PropertyVectorJson, MissingItemsClearsButKeepsTheElementType)
{
	Property someVector(VectorType(), json::parse(R"({"elementType": "Int", "items": {"a": 1}})"));
	someVector.GetType()->FromJson(someVector.TryGet<PropertyVector*>(), json::parse(R"({"elementType": "Float"})"));
	EXPECT_TRUE(Items(someVector).myItems.empty());
	EXPECT_EQ(Items(someVector).myElementType, &Norv::PropertyType<std::int32_t>::ourInstance);

	someVector.GetType()->FromJson(someVector.TryGet<PropertyVector*>(), json(4));
	EXPECT_EQ(Items(someVector).myElementType, &Norv::PropertyType<std::int32_t>::ourInstance);
}

TEST(PropertyVectorJson, ErrorsPropagateAndKeepEarlierItems)
{
	EXPECT_TRUE(ThrowsJsonError([] { Property someValue(VectorType(), json::parse(R"({"elementType": 3, "items": {}})")); }, 302, "type must be string, but is number"));

	Property someVector(VectorType());
	EXPECT_TRUE(ThrowsJsonError([&] { someVector.GetType()->FromJson(someVector.TryGet<PropertyVector*>(), json::parse(R"({"elementType": "Bool", "items": {"a": true, "b": 2}})")); },
		302, "type must be boolean, but is number"));
	EXPECT_EQ(Keys(Items(someVector)), (std::vector<std::string>{ "a" }));
}

TEST(PropertyVectorJson, VectorsNest)
{
	const json someInput = json::parse(R"({"elementType": "Vector", "items": {"inner": {"elementType": "StringId", "items": {"k": "v"}}}})");
	const Property someVector(VectorType(), someInput);
	EXPECT_EQ(Written(someVector), someInput);
}

TEST(PropertyVectorJson, NestingIsBoundedAtSixtyFourLevels)
{
	const auto nested = [](int aDepth) {
		std::string someText;
		for (int someLevel = 1; someLevel < aDepth; ++someLevel)
			someText += R"({"elementType": "Vector", "items": {"a": )";
		someText += R"({"elementType": "Int", "items": {}})";
		for (int someLevel = 1; someLevel < aDepth; ++someLevel)
			someText += "}}";
		return json::parse(someText);
	};
	const Property someDeepest(VectorType(), nested(64));
	EXPECT_EQ(Written(someDeepest), nested(64)) << "64 levels are read whole";
	EXPECT_TRUE(ThrowsJsonError([&] { Property someValue(VectorType(), nested(65)); }, 510, "property vectors nested deeper than 64 levels"));
	EXPECT_TRUE(ThrowsJsonError([&] { Property someValue(VectorType(), nested(20000)); }, 510, "property vectors nested deeper than 64 levels"));
	// A refused read leaves the next one its full depth.
	const Property someAgain(VectorType(), nested(64));
	EXPECT_EQ(Written(someAgain), nested(64));
}

TEST(PropertyVectorCopy, ChangingTheCopyLeavesTheOriginal)
{
	Property someOriginal(VectorType(), json::parse(R"({"elementType": "Int", "items": {"a": 1}})"));
	Property someCopy(someOriginal);
	*Items(someCopy).myItems.begin()->second.TryGet<std::int32_t>() = 99;
	Items(someCopy).myItems.clear();
	EXPECT_EQ(*Items(someOriginal).myItems.begin()->second.TryGet<std::int32_t>(), 1);

	Property someAssigned(VectorType());
	someAssigned = someOriginal;
	*Items(someAssigned).myItems.begin()->second.TryGet<std::int32_t>() = 5;
	EXPECT_EQ(*Items(someOriginal).myItems.begin()->second.TryGet<std::int32_t>(), 1);
}

TEST(PropertyVectorCopy, AMovedFromVectorCopiesAsEmptyAndWritesNothing)
{
	Property someSource(VectorType(), json::parse(R"({"elementType": "Int", "items": {"a": 1}})"));
	const Property someTaken(std::move(someSource));
	const Property someCopy(someSource);
	EXPECT_NE(*someCopy.TryGet<PropertyVector*>(), nullptr);
	EXPECT_TRUE((*someCopy.TryGet<PropertyVector*>())->myItems.empty());
	json someOut = "kept";
	someSource.ToJson(someOut);
	EXPECT_EQ(someOut, "kept");

	// Reading json into a moved-from value makes a new vector.
	someSource.GetType()->FromJson(someSource.TryGet<PropertyVector*>(), json::parse(R"({"elementType": "Int", "items": [3]})"));
	EXPECT_EQ(Keys(Items(someSource)), (std::vector<std::string>{ "0" }));
}
