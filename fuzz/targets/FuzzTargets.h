#pragma once
// One entry per loader that reads files from outside the program: each feeds
// one input to its loader the way the program does and checks what came out.
// The fuzzers run them (fuzz/FuzzMain.cpp) and the test suite replays the kept
// inputs of past findings through them (tests/Regression/<name>/).
#include <cstdint>
#include <span>
#include <string_view>

namespace NorvFuzz
{
	using Input = std::span<const std::uint8_t>;

	struct Target
	{
		std::string_view myName; // also the folder of its seeds and kept inputs
		// False when the loader accepted the input but what it returned is not
		// consistent (sizes that disagree, indices out of range, NaN ...). Refusing
		// the input, with a message, is a pass.
		bool (*myRun)(Input aInput);
	};

	std::span<const Target> GetTargets();
	// Null when no target has that name.
	const Target* FindTarget(std::string_view aName);

	// ---------------------------------------------------------------- the loaders
	bool RunSettings(Input aInput);
	bool RunScene(Input aInput);       // one document holding every object
	bool RunSceneFolder(Input aInput); // one file per object
	bool RunObjectDefinition(Input aInput);
	bool RunDds(Input aInput);
	bool RunTarga(Input aInput);
	bool RunImage(Input aInput);
	bool RunFbx(Input aInput);
	bool RunWav(Input aInput);
	bool RunVideo(Input aInput);
	bool RunFont(Input aInput);
	bool RunIcon(Input aInput);
	bool RunAnimatedCursor(Input aInput);
}
