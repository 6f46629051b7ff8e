// Inputs the loaders' fuzzers found faults with, kept in Regression/<target>/ and
// replayed through the same targets: each is refused or loads whole, under every
// preset (the sanitizers catch the memory faults).
#include "FuzzTargets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace
{
	const fs::path KEPT_INPUTS = fs::path(NORV_SOURCE_DIR) / "tests" / "Regression";

	std::vector<std::uint8_t> ReadBytes(const fs::path& aFile)
	{
		std::ifstream someFile(aFile, std::ios::binary);
		return { std::istreambuf_iterator<char>(someFile), {} };
	}

	std::vector<std::string> TargetNames()
	{
		std::vector<std::string> someNames;
		for (const NorvFuzz::Target& someTarget : NorvFuzz::GetTargets())
			someNames.emplace_back(someTarget.myName);
		return someNames;
	}
}

class KeptFuzzInputs : public testing::TestWithParam<std::string>
{
};

TEST_P(KeptFuzzInputs, EachIsRefusedOrLoadsWhole)
{
	const NorvFuzz::Target* someTarget = NorvFuzz::FindTarget(GetParam());
	ASSERT_NE(someTarget, nullptr);
	// Nothing at all, and a lone byte, are the first inputs every loader must refuse.
	EXPECT_TRUE(someTarget->myRun({}));
	const std::uint8_t someByte = 0;
	EXPECT_TRUE(someTarget->myRun({ &someByte, 1 }));

	const fs::path someFolder = KEPT_INPUTS / GetParam();
	if (!fs::is_directory(someFolder))
		return;
	for (const fs::directory_entry& someEntry : fs::directory_iterator(someFolder))
	{
		const std::vector<std::uint8_t> someBytes = ReadBytes(someEntry.path());
		testing::internal::CaptureStderr();
		const bool someIsWhole = someTarget->myRun(someBytes);
		testing::internal::GetCapturedStderr();
		EXPECT_TRUE(someIsWhole) << someEntry.path();
	}
}

INSTANTIATE_TEST_SUITE_P(Loaders, KeptFuzzInputs, testing::ValuesIn(TargetNames()),
	[](const testing::TestParamInfo<std::string>& anInfo) {
		std::string someName = anInfo.param;
		std::replace(someName.begin(), someName.end(), '-', '_');
		return someName;
	});

TEST(KeptFuzzInputFolders, EachNamesATarget)
{
	// A misspelt folder would keep its inputs from ever being replayed.
	for (const fs::directory_entry& someEntry : fs::directory_iterator(KEPT_INPUTS))
	{
		if (someEntry.is_directory())
		{
			EXPECT_NE(NorvFuzz::FindTarget(someEntry.path().filename().string()), nullptr) << someEntry.path();
		}
	}
}
