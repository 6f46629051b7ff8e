#pragma once
// The shared fixture files are not part of every clone: tests that read them
// skip, saying so, when the folder is absent. The folder is the build's
// (NORV_FIXTURES_DIR), or the one the environment variable of that name gives,
// so a run can check how the suite does without it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace NorvTest
{
	inline std::filesystem::path FixturesFolder()
	{
		const char* someOverride = std::getenv("NORV_FIXTURES_DIR");
		return (someOverride && *someOverride) ? someOverride : NORV_FIXTURES_DIR;
	}

	// A file under the fixtures folder, e.g. "fbx/character_skinned.fbx".
	inline std::string FixtureFile(std::string_view aRelative)
	{
		return (FixturesFolder() / aRelative).string();
	}
}

#define NORV_SKIP_WITHOUT_FIXTURES()                                  \
	if (!std::filesystem::is_directory(NorvTest::FixturesFolder()))   \
	GTEST_SKIP() << "the fixtures folder " << NorvTest::FixturesFolder() << " is absent"
