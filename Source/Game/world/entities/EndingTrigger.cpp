#include "world/entities/EndingTrigger.h"

#include "world/GameState.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "media/VideoOverlay.h"
#include "shell/LoadingScreen.h"
#include "shell/StateStack.h"

#include "engine/Engine.h"
#include "sound/Audio.h"
#include "video/Video.h"

namespace
{
	constexpr Norv::Color FADE_COLOR{ 0.0f, 0.0f, 0.0f, 0.0f };

	bool IsCutscenePlaying()
	{
		const VideoOverlay& someOverlay = VideoOverlay::GetInstance();
		return someOverlay.IsActive() && someOverlay.GetState() == Norv::Video::STATE_PLAYING;
	}

	void SetPlayerActive(FrameContext& aContext, bool anIsActive)
	{
		if (aContext.player)
			aContext.player->GetController().SetActive(anIsActive);
	}
}

EndingTrigger::EndingTrigger()
{
	ourFadeTimer = 0.0f;
}

void EndingTrigger::Update(FrameContext& aContext)
{
	if (!myIsTriggered)
		return;
	if (AudioManager::musicBossLoop)
		AudioManager::musicBossLoop->Stop(true);
	if (!myHasStarted)
		StartCutscene(aContext);
	if (IsCutscenePlaying())
	{
		VideoOverlay::GetInstance().Update(aContext.deltaTime);
		if (aContext.player && aContext.player->GetController().IsActive())
			SetPlayerActive(aContext, false);
		if (aContext.gameState)
			aContext.gameState->myIsPlayingCutscene = true;
		return;
	}
	Finish(aContext);
}

void EndingTrigger::StartCutscene(FrameContext& aContext)
{
	myHasStarted = true;
	VideoOverlay& someOverlay = VideoOverlay::GetInstance();
	someOverlay.Load(VIDEO, true);
	someOverlay.Play();
	SetPlayerActive(aContext, false);
}

void EndingTrigger::Finish(FrameContext& aContext)
{
	if (aContext.gameState)
		aContext.gameState->myIsPlayingCutscene = false;
	// The state owner leaves the level (its music and loops stop) once this frame's update is over.
	if (StateStack* someOwner = StateStack::GetInstance(); someOwner && aContext.input)
		someOwner->ReturnToMainMenu(*aContext.input);
	LoadingScreen::GetInstance().StartFadeOut();
}

void EndingTrigger::RenderUI()
{
	if (!myIsTriggered)
		return;
	VideoOverlay& someOverlay = VideoOverlay::GetInstance();
	if (IsCutscenePlaying())
	{
		someOverlay.Render();
		return;
	}
	if (ourFadeTimer < FADE_TIME)
	{
		if (ourFadeTimer == 0.0f)
			LoadingScreen::GetInstance().Show(FADE_COLOR);
		const Norv::Engine* someEngine = Norv::Engine::GetInstance();
		ourFadeTimer += someEngine ? someEngine->GetDeltaTime() : 0.0f;
	}
	if (ourFadeTimer >= FADE_TIME)
		LoadingScreen::GetInstance().StartFadeOut();
}
