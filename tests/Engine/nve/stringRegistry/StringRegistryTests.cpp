#include "stringRegistry/StringRegistry.h"
#include "Support/AssertRecorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Norv;

TEST(StringRegistry, SameTextGivesSameId)
{
	const StringId someFirst = StringRegistry::RegisterOrGetString("Player");
	const std::string someCopy = "Player";
	const StringId someSecond = StringRegistry::RegisterOrGetString(someCopy);
	EXPECT_EQ(someFirst, someSecond);
	EXPECT_NE(someFirst.GetPointer(), someCopy.c_str());
	EXPECT_STREQ(someFirst.c_str(), "Player");
	EXPECT_NE(StringRegistry::RegisterOrGetString("Player2"), someFirst);
}

TEST(StringRegistry, EmptyTextIsTheNullId)
{
	const StringId someEmpty = StringRegistry::RegisterOrGetString("");
	EXPECT_TRUE(someEmpty.IsNull());
	EXPECT_STREQ(someEmpty.c_str(), "");
	EXPECT_EQ(StringRegistry::RegisterStaticString("", 0), StringId());
}

TEST(StringRegistry, LengthLimitIs1023Characters)
{
	NorvTest::AssertRecorder someAsserts;
	const std::string someLongest(1023, 'a');
	const StringId someId = StringRegistry::RegisterOrGetString(someLongest);
	EXPECT_FALSE(someId.IsNull());
	EXPECT_EQ(someId.View(), someLongest);
	EXPECT_EQ(someAsserts.Count(), 0u);

	const StringId someTooLong = StringRegistry::RegisterOrGetString(std::string(1024, 'b'));
	EXPECT_TRUE(someTooLong.IsNull());
	EXPECT_TRUE(someAsserts.Saw("aString.size() + 1 <= STRING_REGISTRY_SIZE_LIMIT"));
}

TEST(StringRegistry, StaticStringAfterACopyReturnsTheCopy)
{
	const StringId someCopy = StringRegistry::RegisterOrGetString("StaticAfterCopy");
	static const char ourLiteral[] = "StaticAfterCopy";
	const StringId someStatic = StringRegistry::RegisterStaticString(ourLiteral, sizeof(ourLiteral) - 1);
	EXPECT_EQ(someStatic, someCopy);
	EXPECT_NE(someStatic.GetPointer(), ourLiteral);
}

TEST(StringRegistry, StaticStringIsInternedWithoutACopy)
{
	static const char ourLiteral[] = "OnlyEverStatic";
	const StringId someStatic = StringRegistry::RegisterStaticString(ourLiteral, sizeof(ourLiteral) - 1);
	EXPECT_EQ(someStatic.GetPointer(), ourLiteral);
	EXPECT_EQ(StringRegistry::RegisterOrGetString(std::string("OnlyEverStatic")).GetPointer(), ourLiteral);
}

TEST(StringRegistry, NewBlockAfterAMegabyteKeepsEarlierIds)
{
	const StringId someEarly = StringRegistry::RegisterOrGetString("EarlyName");
	const size_t someBlocksBefore = StringRegistry::GetAllocatedBlockCount();
	std::vector<StringId> someIds;
	// 1100 names of 1000 characters each: more than one 1 MiB block.
	for (int someIndex = 0; someIndex < 1100; ++someIndex)
	{
		std::string someName(1000, static_cast<char>('a' + someIndex % 26));
		someName.replace(0, std::to_string(someIndex).size(), std::to_string(someIndex));
		someIds.push_back(StringRegistry::RegisterOrGetString(someName));
	}
	EXPECT_GT(StringRegistry::GetAllocatedBlockCount(), someBlocksBefore);
	EXPECT_STREQ(someEarly.c_str(), "EarlyName");
	EXPECT_EQ(StringRegistry::RegisterOrGetString("EarlyName"), someEarly);
	EXPECT_EQ(someIds.front().View().substr(0, 1), "0");
	EXPECT_EQ(someIds.back().View().size(), 1000u);
	EXPECT_EQ(StringRegistry::RegisterOrGetString(std::string(someIds[5].View())), someIds[5]);
}
