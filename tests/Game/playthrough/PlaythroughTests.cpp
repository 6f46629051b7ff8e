// The whole game played through with the data set and the recorded scripts, in
// one run of the program's own loop.
#include "ScriptedRun.h"

#include <gtest/gtest.h>

#include <fstream>

namespace
{
	const std::filesystem::path SCRIPTS = std::filesystem::path(NORV_SOURCE_DIR) / "tests/Game/playthrough/scripts";

	// The script files named by the order file, one a line ('#' comments).
	std::vector<std::filesystem::path> ScriptOrder()
	{
		std::vector<std::filesystem::path> someScripts;
		std::ifstream someOrder(SCRIPTS / "Playthrough.txt");
		for (std::string someLine; std::getline(someOrder, someLine);)
		{
			someLine = someLine.substr(0, someLine.find('#'));
			someLine.erase(0, someLine.find_first_not_of(" \t\r"));
			someLine.erase(someLine.find_last_not_of(" \t\r") + 1);
			if (!someLine.empty())
				someScripts.push_back(SCRIPTS / someLine);
		}
		return someScripts;
	}

	TEST(Playthrough, TheRecordedScriptsPlayTheGameFromTheIntroOn)
	{
		const std::vector<std::filesystem::path> someOrder = ScriptOrder();
		ASSERT_FALSE(someOrder.empty()) << "no scripts in " << (SCRIPTS / "Playthrough.txt");
		std::vector<Playthrough::Script> someScripts;
		for (const std::filesystem::path& someFile : someOrder)
			ASSERT_NO_THROW(someScripts.push_back(Playthrough::LoadScript(someFile)));

		Playthrough::ScriptedRun someRun;
		ASSERT_TRUE(someRun.IsStarted());
		for (const Playthrough::Script& someScript : someScripts)
		{
			const Playthrough::Outcome someOutcome = someRun.Play(someScript);
			ASSERT_TRUE(someOutcome.myIsFinished) << someOutcome.myReport;
		}
	}
}
