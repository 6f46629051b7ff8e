#include "SceneFile.h"

#include "SceneBuilder.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace NorvScenes
{
	bool MakeSceneText(const std::filesystem::path& aSourceFile, const DefinitionTable& someDefinitions, std::string& aText, std::ostream& aErrors)
	{
		std::ifstream someFile(aSourceFile, std::ios::binary);
		if (!someFile)
		{
			aErrors << aSourceFile.string() << ": cannot be read\n";
			return false;
		}
		std::ostringstream someContent;
		someContent << someFile.rdbuf();
		std::vector<SourceError> someErrors;
		const SceneSource someSource = ParseSceneSource(someContent.str(), someErrors);
		const nlohmann::json someObjects = BuildSceneObjects(someSource, someDefinitions, aSourceFile.stem().string(), someErrors);
		std::stable_sort(someErrors.begin(), someErrors.end(), [](const SourceError& a, const SourceError& b) { return a.line < b.line; });
		for (const SourceError& someError : someErrors)
			aErrors << aSourceFile.string() << ":" << someError.line << ": " << someError.message << "\n";
		if (!someErrors.empty())
			return false;
		// One object a line: small files whose diffs read line by line.
		aText = "[\n";
		for (std::size_t i = 0; i < someObjects.size(); ++i)
			aText += someObjects[i].dump() + (i + 1 < someObjects.size() ? ",\n" : "\n");
		aText += "]\n";
		return true;
	}

	bool MakeScenes(const std::filesystem::path& aLevels, const std::filesystem::path& aGameData)
	{
		DefinitionTable someDefinitions;
		someDefinitions.Load(aGameData / "definitions");
		std::vector<std::filesystem::path> someSources;
		for (const auto& someEntry : std::filesystem::directory_iterator(aLevels))
			if (someEntry.is_regular_file() && someEntry.path().extension() == ".txt")
				someSources.push_back(someEntry.path());
		std::sort(someSources.begin(), someSources.end());
		bool someIsClean = true;
		for (const std::filesystem::path& someSource : someSources)
		{
			std::string someText;
			if (!MakeSceneText(someSource, someDefinitions, someText, std::cerr))
			{
				someIsClean = false;
				continue;
			}
			const std::filesystem::path someFolder = aGameData / "scenes" / (someSource.stem().string() + ".leveldata_new");
			std::filesystem::create_directories(someFolder);
			// The scene list finds scenes by their ".nvs" name; the file itself is never read.
			std::ofstream(aGameData / "scenes" / (someSource.stem().string() + ".nvs"), std::ios::binary | std::ios::trunc);
			std::ofstream someOut(someFolder / "leveldata.json", std::ios::binary | std::ios::trunc);
			someOut << someText;
			if (!someOut.flush())
				throw std::runtime_error((someFolder / "leveldata.json").string() + ": cannot be written");
		}
		return someIsClean;
	}
}
