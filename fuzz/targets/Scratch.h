#pragma once
// Loaders that open files by name read the fuzzer's input from a folder of
// this process's own under the temp folder, removed when the process ends.
// The executable's own path points into it too, so settings and assets are
// looked up there.
#include "FuzzTargets.h"

#include <filesystem>

namespace NorvFuzz
{
	const std::filesystem::path& ScratchFolder();
	// Writes aInput to ScratchFolder() / aRelative, making folders as needed; returns the full path.
	std::filesystem::path WriteScratch(const std::filesystem::path& aRelative, Input aInput);
	// Removes ScratchFolder() / aRelative and everything in it.
	void RemoveScratch(const std::filesystem::path& aRelative);

	// A target's verdict on a loaded result that is not whole: false, with the reason on standard error.
	bool Inconsistent(const char* aReason);
}
