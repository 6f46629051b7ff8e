#pragma once
// A fixed set of frames of every shipped scene and menu, taken by one headless run
// of the game: the pictures a change to the renderer is held to. The tool that
// writes them and the test that compares with them play the same run.
#include "ScriptedRun.h"

#include <functional>
#include <string>
#include <vector>

namespace Playthrough
{
	struct Picture
	{
		std::string myName;     // the reference's file name without ".png"
		std::string myScene;    // when not empty: the play state changes to it first ("Hub")
		std::string myScript;   // played before the frame is drawn
		// Rows (fractions of the height, [from, to)) whose content is random and
		// not compared: the loading screen's tip.
		float myIgnoredFrom = 0.0f;
		float myIgnoredTo = 0.0f;
	};

	constexpr unsigned PICTURE_WIDTH = 640;
	constexpr unsigned PICTURE_HEIGHT = 360;

	const std::vector<Picture>& Pictures();
	// The run's options: the game's data at the pictures' size, drawn every other
	// frame (the loading screen fades only as it is drawn).
	RunOptions PictureRunOptions();

	// Plays the pictures in order on aRun and, after each, draws one frame and
	// calls aTake; stops with the report of a script that stalls.
	Outcome PlayPictures(ScriptedRun& aRun, const std::function<void(const Picture&)>& aTake);
}
