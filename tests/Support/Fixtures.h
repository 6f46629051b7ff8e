#pragma once
// The shared fixture files (NORV_FIXTURES_DIR) are not part of every clone:
// tests that read them skip, saying so, when the folder is absent.
#include <gtest/gtest.h>

#include <filesystem>

#define NORV_SKIP_WITHOUT_FIXTURES()                                  \
	if (!std::filesystem::is_directory(NORV_FIXTURES_DIR))            \
	GTEST_SKIP() << "the fixtures folder " << NORV_FIXTURES_DIR << " is absent"
