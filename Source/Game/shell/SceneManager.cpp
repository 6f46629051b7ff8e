#include "shell/SceneManager.h"

#include "scene/AssetWalk.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

SceneManager& SceneManager::GetInstance()
{
	static SceneManager ourInstance;
	return ourInstance;
}

void SceneManager::FindScenes(const std::string& aRoot)
{
	myPaths.clear();
	myNames.clear();
	Norv::ForEachAssetFile(aRoot, SCENE_EXTENSION, "scenes", [&](const std::filesystem::path& aFile) {
		myPaths.push_back(aFile.lexically_relative(aRoot).string());
		myNames.push_back(aFile.stem().string());
		SelectScene(static_cast<int>(myPaths.size()));
		std::cout << "Found scene: " << myNames.back() << " at " << myPaths.back() << "\n";
	});
	myCurrentScenePath = HUB_SCENE_PATH;
}

void SceneManager::SetCurrentScenePath(const std::string& aPath)
{
	if (&aPath != &myCurrentScenePath)
		myCurrentScenePath = aPath;
}

void SceneManager::SelectScene(int anIndex)
{
	if (anIndex < 0)
	{
		std::cout << "Invalid scene index: " << anIndex << "\n";
		return;
	}
	if (myNames.empty())
	{
		std::cout << "No scenes found to select\n";
		return;
	}
	if (static_cast<std::size_t>(anIndex) >= myNames.size())
		anIndex = 0;
	myCurrentScenePath = "scenes/" + myNames[static_cast<std::size_t>(anIndex)] + SCENE_EXTENSION;
	myCurrentIndex = anIndex;
	std::cout << "Loading scene: " << myCurrentScenePath << "\n";
}
