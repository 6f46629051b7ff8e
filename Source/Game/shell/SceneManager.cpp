#include "shell/SceneManager.h"

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
	namespace fs = std::filesystem;
	myPaths.clear();
	myNames.clear();

	std::error_code someError;
	fs::recursive_directory_iterator someEntries(aRoot, someError);
	if (someError)
	{
		std::cerr << "Cannot look for scenes in \"" << aRoot << "\": " << someError.message() << "\n";
		myCurrentScenePath = HUB_SCENE_PATH;
		return;
	}
	for (const fs::recursive_directory_iterator someEnd; !someError && someEntries != someEnd; someEntries.increment(someError))
	{
		const fs::directory_entry& someEntry = *someEntries;
		std::error_code someStatusError;
		if (!someEntry.is_regular_file(someStatusError) || someEntry.path().extension() != SCENE_EXTENSION)
			continue;
		myPaths.push_back(someEntry.path().lexically_relative(aRoot).string());
		myNames.push_back(someEntry.path().stem().string());
		SelectScene(static_cast<int>(myPaths.size()));
		std::cout << "Found scene: " << myNames.back() << " at " << myPaths.back() << "\n";
	}
	if (someError)
		std::cerr << "Scene search in \"" << aRoot << "\" stopped: " << someError.message() << "\n";
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
