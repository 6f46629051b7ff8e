#include "FuzzTargets.h"

#include <algorithm>
#include <array>

namespace NorvFuzz
{
	namespace
	{
		// The FBX reader tells the two forms apart by their first bytes; each form
		// has its own seeds and so its own run.
		constexpr std::array<Target, 14> TARGETS = { {
			{ "settings", RunSettings },
			{ "scene", RunScene },
			{ "scene-folder", RunSceneFolder },
			{ "definition", RunObjectDefinition },
			{ "dds", RunDds },
			{ "targa", RunTarga },
			{ "image", RunImage },
			{ "fbx-binary", RunFbx },
			{ "fbx-ascii", RunFbx },
			{ "wav", RunWav },
			{ "video", RunVideo },
			{ "font", RunFont },
			{ "icon", RunIcon },
			{ "cursor", RunAnimatedCursor },
		} };
	}

	std::span<const Target> GetTargets()
	{
		return TARGETS;
	}

	const Target* FindTarget(std::string_view aName)
	{
		const auto someFound = std::find_if(TARGETS.begin(), TARGETS.end(), [&](const Target& aTarget) { return aTarget.myName == aName; });
		return someFound == TARGETS.end() ? nullptr : &*someFound;
	}
}
