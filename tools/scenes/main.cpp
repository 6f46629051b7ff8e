// Makes the game's scene files from the level sources: every "<Name>.txt" of
// the levels folder becomes "scenes/<Name>.leveldata_new/leveldata.json" in the
// game data folder, naming the object definitions found there.
// Usage: NorvMakeScenes <levels folder> <game data folder>
#include "SceneFile.h"

#include <cstdio>
#include <exception>

int main(int aCount, char** someArguments)
{
	if (aCount != 3)
	{
		std::fprintf(stderr, "usage: %s <levels folder> <game data folder>\n", someArguments[0]);
		return 2;
	}
	try
	{
		return NorvScenes::MakeScenes(someArguments[1], someArguments[2]) ? 0 : 1;
	}
	catch (const std::exception& someError)
	{
		std::fprintf(stderr, "NorvMakeScenes: %s\n", someError.what());
		return 1;
	}
}
