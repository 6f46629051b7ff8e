#include "rpc/Rpc.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
	RPC_STATUS Parse(const char* aText, UUID& aUuid)
	{
		return UuidFromStringA(reinterpret_cast<RPC_CSTR>(const_cast<char*>(aText)), &aUuid);
	}
}

TEST(UuidFromString, ReadsEveryFieldInEitherCase)
{
	UUID someLower{};
	ASSERT_EQ(Parse("0123abcd-4567-89ef-a1b2-c3d4e5f60718", someLower), RPC_S_OK);
	EXPECT_EQ(someLower.Data1, 0x0123abcdu);
	EXPECT_EQ(someLower.Data2, 0x4567u);
	EXPECT_EQ(someLower.Data3, 0x89efu);
	const std::uint8_t someTail[8] = { 0xa1, 0xb2, 0xc3, 0xd4, 0xe5, 0xf6, 0x07, 0x18 };
	EXPECT_EQ(std::memcmp(someLower.Data4, someTail, 8), 0);

	UUID someUpper{};
	ASSERT_EQ(Parse("0123ABCD-4567-89EF-A1B2-C3D4E5F60718", someUpper), RPC_S_OK);
	EXPECT_EQ(std::memcmp(&someLower, &someUpper, sizeof(UUID)), 0);
}

TEST(UuidFromString, RejectsEveryOtherFormAndLeavesTheOutputAlone)
{
	const char* someBad[] = {
		"",
		"{0123abcd-4567-89ef-a1b2-c3d4e5f60718}",
		"0123abcd-4567-89ef-a1b2-c3d4e5f6071",   // one digit short
		"0123abcd-4567-89ef-a1b2-c3d4e5f607189", // one digit more
		"0123abcd-4567-89ef-a1b2-c3d4e5f6071g",
		"0123abcd_4567-89ef-a1b2-c3d4e5f60718",
		"0123abc-d4567-89ef-a1b2-c3d4e5f60718",
		"0123abcd45674-89ef-a1b2-c3d4e5f60718",
		"0123abcd",
	};
	for (const char* someText : someBad)
	{
		UUID someUuid{ 7, 7, 7, { 7, 7, 7, 7, 7, 7, 7, 7 } };
		EXPECT_EQ(Parse(someText, someUuid), RPC_S_INVALID_STRING_UUID) << someText;
		EXPECT_EQ(someUuid.Data1, 7u) << someText;
	}
}

TEST(UuidFromString, NullTextIsTheNilGuid)
{
	UUID someUuid{ 7, 7, 7, { 7, 7, 7, 7, 7, 7, 7, 7 } };
	EXPECT_EQ(UuidFromStringA(nullptr, &someUuid), RPC_S_OK);
	const UUID someNil{};
	EXPECT_EQ(std::memcmp(&someUuid, &someNil, sizeof(UUID)), 0);
}
