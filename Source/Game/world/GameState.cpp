#include "world/GameState.h"

#include "media/AudioManager.h"
#include "media/VideoOverlay.h"
#include "shell/InputMapper.h"
#include "shell/LoadingScreen.h"
#include "shell/SceneManager.h"
#include "shell/StateStack.h"
#include "world/entities/Player.h"

#include "engine/Engine.h"
#include "graphics/Camera.h"
#include "sound/Audio.h"
#include "video/Video.h"

#include <algorithm>
#include <cmath>

GameState::GameState()
{
	ourInstance = this;
}

GameState::~GameState()
{
	if (ourInstance == this)
		ourInstance = nullptr;
}

// ---------------------------------------------------------------- state steps

void GameState::Init(InputMapper& anInput)
{
	myIsLevelLoaded = false;
	myCanResumeLevel = false;
	myLevelUnderVideo.Release();
	myFrameContext.input = &anInput;
	anInput.ResetAllTimers();
	LoadingScreen::GetInstance().Show(LOADING_SCREEN_COLOR);
	myPendingScenePath = SceneManager::GetInstance().GetCurrentScenePath();
	anInput.GetKeyboardAndMouse().HideCursor();
	if (myPendingScenePath == TUTORIAL_SCENE)
		VideoOverlay::GetInstance().Load(TUTORIAL_VIDEO, true);
}

int GameState::Update(InputMapper& anInput, float aDeltaTime)
{
	anInput.GetKeyboardAndMouse().HideCursor();
	if (!myPendingScenePath.empty())
	{
		if (!myIsLevelLoaded && !LoadLevel(myPendingScenePath))
		{
			ReturnFromRefusedScene(anInput);
			return StateTransition::Stay;
		}
		if (UpdateCutscene(aDeltaTime))
			return StateTransition::Stay;
		myPendingScenePath.clear();
		return StateTransition::Stay;
	}
	if (!myIsLevelLoaded)
		return StateTransition::Stay;

	FollowRenderSize();
	StepWorld(anInput, aDeltaTime);
	// The loops the entities share, once every entity has said what it wants heard.
	AudioManager::SettleLoops();

	int someCode = anInput.IsPressed(InputAction::Pause) ? StateTransition::Pause : StateTransition::Stay;
	if (myIsShowcaseRequested)
	{
		myIsShowcaseRequested = false;
		someCode = StateTransition::AbilityPage;
	}
	return someCode;
}

void GameState::Exit()
{
	myIsLevelLoaded = false;
	myCanResumeLevel = false;
	myLevelUnderVideo.Release();
	StopTracks();
	myAmbienceTrack = nullptr;
	myMusicTrack = nullptr;
	if (AudioManager::musicBossLoop)
		AudioManager::musicBossLoop->Stop(true);
	AudioManager::StopAll();
}

void GameState::ChangeScene(const std::string& aScenePath)
{
	if (aScenePath == myRefusedScenePath)
		return;
	LoadingScreen::GetInstance().Show(LOADING_SCREEN_COLOR);
	myPendingScenePath = aScenePath;
	myIsLevelLoaded = false;
	myLevelUnderVideo.Release();
}

void GameState::OnResize()
{
	myResolution = GetRenderSize(myResolution);
	ApplyProjection();
}

void GameState::FollowRenderSize()
{
	// The state owner never resizes the play state: it follows the render size itself.
	if (GetRenderSize(myResolution) != myResolution)
		OnResize();
}

void GameState::ReturnFromRefusedScene(InputMapper& anInput)
{
	myRefusedScenePath = myPendingScenePath;
	myPendingScenePath.clear();
	// Whichever way play goes on, the loading screen must not cover it.
	LoadingScreen::GetInstance().StartFadeOut();
	if (myCanResumeLevel)
		myIsLevelLoaded = true;
	else if (StateStack* someStates = StateStack::GetInstance())
		someStates->ReturnToMainMenu(anInput);
}

// ---------------------------------------------------------------- frame

bool GameState::UpdateCutscene(float aDeltaTime)
{
	VideoOverlay& someOverlay = VideoOverlay::GetInstance();
	if (myScenePath != TUTORIAL_SCENE || !someOverlay.IsActive())
		return false;
	someOverlay.Play();
	if (someOverlay.GetState() == Norv::Video::STATE_PLAYING)
	{
		if (!myIsPlayingCutscene)
		{
			myIsPlayingCutscene = true;
			StopTracks();
		}
		someOverlay.Update(aDeltaTime);
		return true;
	}
	if (myIsPlayingCutscene)
	{
		myIsPlayingCutscene = false;
		PlayTracks();
	}
	return false;
}

void GameState::StepWorld(InputMapper& anInput, float aFrameSeconds)
{
	const float someFrame = std::min(aFrameSeconds, MAX_FRAME_SECONDS);
	const int someCount = std::max(1, static_cast<int>(std::ceil(someFrame / TUNED_STEP_SECONDS - STEP_SLACK)));
	myFrameContext.gameState = this;
	myFrameContext.deltaTime = someFrame / static_cast<float>(someCount);
	if (someCount == 1)
	{
		StepOnce();
		return;
	}
	anInput.BeginSubSteps(myFrameContext.deltaTime);
	for (int someStep = 0; someStep < someCount; ++someStep)
	{
		if (someStep > 0)
		{
			if (!myPendingScenePath.empty() || myIsShowcaseRequested)
				break;
			anInput.NextSubStep(myFrameContext.deltaTime);
		}
		StepOnce();
	}
	anInput.EndSubSteps();
}

void GameState::StepOnce()
{
	UpdateModelTransforms();
	myCameraController.Update(myFrameContext);
	StepEntities();
	RemoveDeadEntities();
}

void GameState::UpdateModelTransforms()
{
	for (const std::unique_ptr<Entity>& someEntity : myEntities)
	{
		const Norv::Vector2<float> somePlace = someEntity->myPosition + someEntity->myModelOffset;
		const Norv::Matrix4x4 someScale = Norv::Matrix4x4::CreateScale(someEntity->myScale);
		if (someEntity->myAnimatedInstance.GetModel())
		{
			// Scaled, then rotated: the order of the transform it was given at load.
			Norv::Matrix4x4 someRotation;
			Norv::Matrix4x4::SetRotationFromEuler(someRotation, someEntity->myRotation);
			Norv::Matrix4x4 someTransform = someScale * someRotation;
			someTransform.SetTranslation({ somePlace.x, somePlace.y, someEntity->myAnimatedInstance.GetTransform().GetTranslation().z });
			someEntity->myAnimatedInstance.SetTransform(someTransform);
		}
		if (someEntity->myModels.empty())
			continue;
		const Norv::Vector3<float>& someAngles = someEntity->myRotation;
		Norv::Matrix4x4 someTransform = someScale * Norv::Matrix4x4::CreateRotationAroundX(someAngles.x) * Norv::Matrix4x4::CreateRotationAroundY(someAngles.y)
			* Norv::Matrix4x4::CreateRotationAroundZ(someAngles.z);
		someTransform.SetTranslation({ somePlace.x, somePlace.y, someEntity->myZ });
		for (Norv::ModelInstance& someInstance : someEntity->myModels)
			if (someInstance.GetModel())
				someInstance.SetTransform(someTransform);
	}
}

void GameState::StepEntities()
{
	// Entities never join the list during a frame: the count at the start is the whole list.
	const std::size_t someCount = myEntities.size();
	for (std::size_t someIndex = 0; someIndex < someCount; ++someIndex)
	{
		Entity& someEntity = *myEntities[someIndex];
		someEntity.MoveAndCollide(myFrameContext);
		someEntity.Update(myFrameContext);
		const TileBox someBox{ someEntity.myPosition.x, someEntity.myPosition.y, someEntity.myColliderSize.x, someEntity.myColliderSize.y };
		for (const std::unique_ptr<Entity>& someOther : myEntities)
		{
			if (someOther.get() == &someEntity)
				continue;
			const TileBox someOtherBox{ someOther->myPosition.x, someOther->myPosition.y, someOther->myColliderSize.x, someOther->myColliderSize.y };
			if (TileCollisionGrid::GetPenetration(someBox, someOtherBox).hit)
				someEntity.OnCollision(*someOther);
		}
	}
}

void GameState::RemoveDeadEntities()
{
	std::erase_if(myEntities, [this](const std::unique_ptr<Entity>& anEntity) {
		if (!anEntity->myShouldRemove)
			return false;
		// Nothing may keep following an entity that is gone.
		if (myCameraController.myPlayer == anEntity.get())
			myCameraController.SetPlayer(nullptr);
		if (myFrameContext.player == anEntity.get())
			myFrameContext.player = nullptr;
		return true;
	});
}

// ---------------------------------------------------------------- music and camera

Norv::Vector2<float> GameState::GetRenderSize(Norv::Vector2<float> aFallback)
{
	const Norv::Engine* someEngine = Norv::Engine::GetInstance();
	return someEngine ? Norv::Vector2<float>(someEngine->GetRenderSize()) : aFallback;
}

void GameState::StopTracks()
{
	for (Norv::Audio* someTrack : { myAmbienceTrack, myMusicTrack })
		if (someTrack)
			someTrack->Stop(true);
}

void GameState::PlayTracks()
{
	for (Norv::Audio* someTrack : { myAmbienceTrack, myMusicTrack })
		if (someTrack)
			someTrack->Play();
}

void GameState::MakeWorldCamera()
{
	myWorldCamera = std::make_unique<Norv::Camera>();
	ApplyProjection();
}

void GameState::ApplyProjection()
{
	if (myWorldCamera && myResolution.x > 0.0f && myResolution.y > 0.0f)
		myWorldCamera->SetPerspectiveProjection(FIELD_OF_VIEW_DEGREES, myResolution, NEAR_PLANE, FAR_PLANE);
}

bool GameState::IsInView(Norv::Vector2<float> aPosition, Norv::Vector2<float> aSize) const
{
	constexpr float HALF_VIEW_WIDTH = 2000.0f;  // units either side of the camera
	constexpr float HALF_VIEW_HEIGHT = 1900.0f; // units above and below it
	constexpr float MARGIN = 50.0f;
	constexpr float REACH_PER_WIDTH = 1.41f;    // the size's diagonal reach
	if (!myWorldCamera)
		return false;
	const Norv::Vector3<float> someCamera = myWorldCamera->myTransform.GetTranslation();
	const float someReach = aSize.x * REACH_PER_WIDTH;
	const float someHalfWidth = HALF_VIEW_WIDTH + someReach + MARGIN;
	const float someHalfHeight = HALF_VIEW_HEIGHT + someReach + MARGIN;
	return someCamera.x - someHalfWidth <= aPosition.x && aPosition.x <= someCamera.x + someHalfWidth
		&& someCamera.y - someHalfHeight <= aPosition.y && aPosition.y <= someCamera.y + someHalfHeight;
}
