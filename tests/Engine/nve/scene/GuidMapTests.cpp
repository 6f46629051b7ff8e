#include "scene/GuidMap.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
	constexpr const char* NIL_GUID = "00000000-0000-0000-0000-000000000000";
}

TEST(GuidMap, NilMissingAndUnreadableTextsGiveZero)
{
	EXPECT_EQ(Norv::GuidToIndex(nullptr), 0u);
	EXPECT_EQ(Norv::GuidToIndex(""), 0u);
	EXPECT_EQ(Norv::GuidToIndex(NIL_GUID), 0u);
	EXPECT_EQ(Norv::GuidToIndex("not a guid"), 0u);
	EXPECT_EQ(Norv::GuidToIndex("{6f1c1a52-2b40-4f0e-9d41-0c7b5d9e3a11}"), 0u);
}

TEST(GuidMap, NewGuidsGetTheNextIndicesAndKeepThem)
{
	const std::uint32_t someFirst = Norv::GuidToIndex("6f1c1a52-2b40-4f0e-9d41-0c7b5d9e3a11");
	const std::uint32_t someSecond = Norv::GuidToIndex("6f1c1a52-2b40-4f0e-9d41-0c7b5d9e3a12");
	EXPECT_GT(someFirst, 0u);
	EXPECT_EQ(someSecond, someFirst + 1);
	EXPECT_EQ(Norv::GuidToIndex("6f1c1a52-2b40-4f0e-9d41-0c7b5d9e3a11"), someFirst);
	EXPECT_EQ(Norv::GuidToIndex("6F1C1A52-2B40-4F0E-9D41-0C7B5D9E3A11"), someFirst);
}

// A fresh process, so the map holds only the nil GUID when the test starts.
TEST(GuidMapDeathTest, FirstTwoGuidsOfTheRunAreOneAndTwo)
{
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	EXPECT_EXIT(
		{
			const bool someOk = Norv::GuidToIndex("aaaaaaaa-0000-0000-0000-000000000001") == 1
				&& Norv::GuidToIndex(NIL_GUID) == 0
				&& Norv::GuidToIndex("aaaaaaaa-0000-0000-0000-000000000002") == 2
				&& Norv::GuidToIndex("AAAAAAAA-0000-0000-0000-000000000001") == 1;
			std::exit(someOk ? 0 : 1);
		},
		::testing::ExitedWithCode(0), "");
}
