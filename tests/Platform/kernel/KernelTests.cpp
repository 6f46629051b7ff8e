#include "kernel/Kernel.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ModuleFileName, IsTheRunningExecutable)
{
	wchar_t someBuffer[520] = {};
	const DWORD someLength = GetModuleFileNameW(nullptr, someBuffer, 520);
	ASSERT_GT(someLength, 0u);
	const std::filesystem::path somePath = Platform::WideToUtf8(someBuffer);
	EXPECT_TRUE(std::filesystem::exists(somePath));
	EXPECT_EQ(somePath.filename(), "NorvTests");
}

TEST(ModuleFileName, TruncatesToTheBufferAndTerminates)
{
	Platform::SetModuleFileNameOverride([] { return std::string("/long/path/to/Game"); });
	wchar_t someBuffer[6] = { L'x', L'x', L'x', L'x', L'x', L'x' };
	EXPECT_EQ(GetModuleFileNameW(nullptr, someBuffer, 6), 6u);
	EXPECT_EQ(std::wstring(someBuffer), L"/long");
	Platform::SetModuleFileNameOverride({});
}

TEST(PerformanceCounter, AdvancesAndReportsItsFrequency)
{
	LARGE_INTEGER someFirst{}, someSecond{}, someFrequency{};
	ASSERT_TRUE(QueryPerformanceFrequency(&someFrequency));
	EXPECT_GT(someFrequency.QuadPart, 0);
	QueryPerformanceCounter(&someFirst);
	QueryPerformanceCounter(&someSecond);
	EXPECT_GE(someSecond.QuadPart, someFirst.QuadPart);
}

TEST(PerformanceCounter, OverrideInjectsCounterAndFrequency)
{
	std::int64_t someNow = 100;
	Platform::SetPerformanceCounterOverride([&] { return someNow; }, 1000);
	LARGE_INTEGER someCount{}, someFrequency{};
	QueryPerformanceCounter(&someCount);
	QueryPerformanceFrequency(&someFrequency);
	EXPECT_EQ(someCount.QuadPart, 100);
	EXPECT_EQ(someFrequency.QuadPart, 1000);
	Platform::SetPerformanceCounterOverride({});
	QueryPerformanceFrequency(&someFrequency);
	EXPECT_EQ(someFrequency.QuadPart, 1'000'000'000);
}

TEST(CodePages, Utf8RoundTripsAndBadBytesBecomeReplacement)
{
	const std::string someText = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
	const std::wstring someWide = Platform::Utf8ToWide(someText);
	EXPECT_EQ(someWide, L"A\u00e9\u20ac\U0001F600");
	EXPECT_EQ(Platform::WideToUtf8(someWide), someText);
	EXPECT_EQ(Platform::Utf8ToWide("a\xFF" "b\xC3"), L"a\uFFFDb\uFFFD");
}

TEST(CodePages, MultiByteToWideCharSizesAndTerminator)
{
	const char* someText = "h\xC3\xA9";
	EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, someText, -1, nullptr, 0), 3);
	wchar_t someBuffer[3];
	EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, someText, -1, someBuffer, 3), 3);
	EXPECT_EQ(std::wstring(someBuffer), L"h\u00e9");
	EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, someText, -1, someBuffer, 2), 0);
	char someNarrow[8];
	EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"h\u00e9", -1, someNarrow, 8, nullptr, nullptr), 4);
	EXPECT_STREQ(someNarrow, someText);
}
