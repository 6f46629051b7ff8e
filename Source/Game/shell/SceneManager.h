#pragma once
// Which scene files exist and which scene the play state loads next. The main
// menu fills the list by scanning the game asset folder; "Start Game" sets the
// tutorial; the main menu's debug key cycles through the found scenes.
#include <string>
#include <vector>

class SceneManager
{
public:
	static constexpr const char* SCENE_EXTENSION = ".nvs";
	static constexpr const char* HUB_SCENE_PATH = "scenes/Hub.nvs";
	static constexpr const char* TUTORIAL_SCENE_PATH = "scenes/Tutorial.nvs";

	static SceneManager& GetInstance();

	// Rebuilds the lists from a recursive scan of aRoot (paths relative to it),
	// then makes the hub current. A folder that cannot be read, the root too, is
	// reported on standard error and skipped.
	void FindScenes(const std::string& aRoot);
	void SetCurrentScenePath(const std::string& aPath);
	// "scenes/" + the name at anIndex + ".nvs"; an index past the end selects the
	// first; a negative index, or an empty list, changes nothing.
	void SelectScene(int anIndex);

	const std::string& GetCurrentScenePath() const { return myCurrentScenePath; }
	int GetCurrentIndex() const { return myCurrentIndex; }
	const std::vector<std::string>& GetPaths() const { return myPaths; }
	const std::vector<std::string>& GetNames() const { return myNames; }

private:
	std::vector<std::string> myPaths;
	std::vector<std::string> myNames;
	std::string myCurrentScenePath;
	int myCurrentIndex = 0;
};
