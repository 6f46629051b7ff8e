#include "properties/PlainPropertyTypes.h"
#include "properties/PropertyType.h"
#include "properties/PropertyVector.h"
#include "properties/SceneReferenceProperty.h"
#include "stringRegistry/StringRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using Norv::PropertyTypeBase;
using Norv::StringId;
using Norv::StringRegistry::RegisterOrGetString;

TEST(PropertyTypeRegistry, ListsTheRegisteredNamesSortedByteWise)
{
	const std::span<const StringId> someNames = PropertyTypeBase::GetAllTypes();
	std::vector<std::string> someTexts;
	for (const StringId& someName : someNames)
		someTexts.emplace_back(someName.c_str());
	const std::vector<std::string> someExpected = { "Animation Clip", "Bool", "Color", "Float", "Float2", "Float3", "Float4", "Int", "Model", "Pose", "Scene", "Sprite", "StringId", "Vector" };
	EXPECT_EQ(someTexts, someExpected);

	const std::span<const StringId> someAgain = PropertyTypeBase::GetAllTypes();
	EXPECT_EQ(someAgain.data(), someNames.data());
	EXPECT_EQ(someAgain.size(), someNames.size());
}

TEST(PropertyTypeRegistry, FindsTypesByInternedNameOnly)
{
	EXPECT_EQ(PropertyTypeBase::FindType(RegisterOrGetString("Float2")), &Norv::PropertyType<Norv::Vector2<float>>::ourInstance);
	EXPECT_EQ(PropertyTypeBase::FindType(RegisterOrGetString("Color")), &Norv::PropertyType<Norv::Color>::ourInstance);
	EXPECT_EQ(PropertyTypeBase::FindType(RegisterOrGetString("Vector")), &Norv::PropertyType<Norv::PropertyVector*>::ourInstance);
	EXPECT_EQ(PropertyTypeBase::FindType(RegisterOrGetString("float2")), nullptr);
	EXPECT_EQ(PropertyTypeBase::FindType(RegisterOrGetString("FLOAT2")), nullptr);
	EXPECT_EQ(PropertyTypeBase::FindType(StringId()), nullptr);
	// Same text, but not the registry's pointer: ids compare by identity.
	static const char someLooseText[] = "Float2";
	EXPECT_EQ(PropertyTypeBase::FindType(StringId(someLooseText)), nullptr);
}

TEST(PropertyTypeRegistry, EveryTypeCarriesItsInternedDisplayName)
{
	for (const StringId& someName : PropertyTypeBase::GetAllTypes())
	{
		const PropertyTypeBase* someType = PropertyTypeBase::FindType(someName);
		ASSERT_NE(someType, nullptr) << someName.c_str();
		EXPECT_EQ(someType->GetName(), someName);
		EXPECT_STREQ(someType->GetDisplayName(), someName.c_str());
		EXPECT_EQ(someType->GetName(), RegisterOrGetString(someName.c_str()));
	}
}

TEST(PropertyTypeRegistryDeathTest, RegisteringAfterTheFirstQueryEndsTheProcess)
{
	EXPECT_DEATH(
		{
			PropertyTypeBase::GetAllTypes();
			Norv::PropertyType<bool> someLate("Late Bool");
		},
		"");
}

// A fresh process, so asking a type for its name is the registry's first query.
TEST(PropertyTypeRegistryDeathTest, AskingANameFirstBuildsTheRegistry)
{
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	EXPECT_EXIT(
		{
			const StringId someName = Norv::PropertyType<Norv::Color>::ourInstance.GetName();
			const bool someOk = someName == RegisterOrGetString("Color") && PropertyTypeBase::FindType(someName) == &Norv::PropertyType<Norv::Color>::ourInstance;
			std::exit(someOk ? 0 : 1);
		},
		::testing::ExitedWithCode(0), "");
}
