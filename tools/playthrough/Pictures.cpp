#include "Pictures.h"

#include "shell/LoadingScreen.h"
#include "world/GameState.h"

#include <climits>

namespace Playthrough
{
	namespace
	{
		// The main menu's buttons, top down: Start Game, Level Select, Options, Credits,
		// Quit Game; the menu keeps its selection when a page opened from it closes.
		std::string MenuButton(int aDowns)
		{
			std::string someScript;
			for (int i = 0; i < aDowns; ++i)
				someScript += "2 Down\n3\n";
			return someScript + "2 Confirm\n";
		}

		// A level from its first play frame on: the loading screen has faded and the camera come in.
		std::string Settled(const std::string& aScene)
		{
			return "until scene " + aScene + " 60\n90\n";
		}

		constexpr const char* BACK_TO_MENU = "2 Back\nuntil menu 10\n30\n";
	}

	const std::vector<Picture>& Pictures()
	{
		static const std::vector<Picture> ourPictures = {
			{ "main-menu", "", "expect intro\n2 Confirm\nuntil menu 5\n90\n" },
			{ "options", "", MenuButton(2) + "40\n" },
			{ "credits", "", BACK_TO_MENU + MenuButton(1) + "40\n" },
			{ "quit", "", BACK_TO_MENU + MenuButton(1) + "40\n" },
			// "Level Select" plays the run's scene, the hub; its first frame is under the loading screen.
			{ "loading", "", BACK_TO_MENU + MenuButton(2) + "until scene Hub 60\n", 0.25f, 0.4f },
			{ "hub", "", "90\n" },
			{ "tutorial", "Tutorial", Settled("Tutorial") },
			{ "level-1", "Level_1", Settled("Level_1") },
			{ "level-2", "Level_2", Settled("Level_2") },
			{ "ending", "Ending", Settled("Ending") },
			{ "pause", "", "2 Pause\nuntil paused 10\n40\n" },
			// The pause menu's "Main Menu", then "Start Game": the opening video over the tutorial.
			{ "tutorial-video", "", "2 Down\n3\n2 Down\n3\n2 Confirm\nuntil menu 60\n30\n2 Confirm\nuntil cutscene 60\n120\n" },
		};
		return ourPictures;
	}

	RunOptions PictureRunOptions()
	{
		RunOptions someOptions;
		someOptions.myWidth = PICTURE_WIDTH;
		someOptions.myHeight = PICTURE_HEIGHT;
		someOptions.myDrawEvery = INT_MAX; // only the frames PlayPictures asks for
		someOptions.myLevelSelectScene = "Hub";
		return someOptions;
	}

	Outcome PlayPictures(ScriptedRun& aRun, const std::function<void(const Picture&)>& aTake)
	{
		// The loading screen fades only as it is drawn: every frame is drawn while it shows.
		const ScriptedRun::FrameObserver DrawWhileLoading = [&aRun](const ScriptedRun&, int aFrame) {
			if (LoadingScreen::GetInstance().IsVisible())
				aRun.DrawFrame(aFrame + 1);
		};
		for (const Picture& somePicture : Pictures())
		{
			if (!somePicture.myScene.empty())
				GameState::GetInstance()->ChangeScene("scenes/" + somePicture.myScene + ".nvs");
			const Outcome someOutcome = aRun.Play(ParseScript(somePicture.myScript, somePicture.myName), DrawWhileLoading);
			if (!someOutcome.myIsFinished)
				return someOutcome;
			aRun.DrawFrame(aRun.GetFrame() + 1);
			if (!aRun.Frame(0))
				return { false, somePicture.myName + ": the game ended" };
			aTake(somePicture);
		}
		return { true, {} };
	}
}
