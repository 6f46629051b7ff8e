#pragma once
// The end of the game: touched by the player, it plays the last cutscene over the
// level and then returns to the main menu.
#include "world/entities/Entity.h"

class EndingTrigger : public Entity
{
public:
	static constexpr const char* VIDEO = "../Source/Game/data/video/last_cutscene_long_version.mp4";
	static constexpr float FADE_TIME = 2.0f; // s of black before the loading screen fades out

	EndingTrigger();

	void Update(FrameContext& aContext) override;
	void RenderUI() override;

	bool myIsTriggered = false; // set by the player touching it
	bool myHasStarted = false;

private:
	void StartCutscene(FrameContext& aContext);
	void Finish(FrameContext& aContext);

	// Seconds of the black screen shown while the cutscene is not on screen; one
	// for the process, restarted by every ending level.
	inline static float ourFadeTimer = 0.0f;
};
