#include "world/entities/BossTrigger.h"

#include "world/GameState.h"
#include "world/TileCollisionGrid.h"
#include "world/entities/Gate.h"
#include "world/entities/PatrollingEnemy.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

namespace
{
	constexpr Norv::Vector2<float> COLLIDER_SIZE{ 10.0f, 10000.0f }; // units
	constexpr float SEARCH_SIZE = 1e9f;                              // units: the whole level
	// The staging, in fixed world coordinates of the boss level.
	constexpr Norv::Vector2<float> ARENA_VIEW{ -2550.0f, 1050.0f };
	constexpr float ARENA_HOLD = 0.5f;                               // s
	constexpr Norv::Vector2<float> BOSS_VIEW{ 1850.0f, 50.0f };
	constexpr float BOSS_HOLD = 1.0f;                                // s
	constexpr float PAN_TIME = 2.0f;                                 // s given to each of the two pans
	constexpr Norv::Vector2<float> BOSS_PLACE{ 1600.0f, 150.0f };
	constexpr Norv::Vector2<float> FIGHT_VIEW{ -200.0f, 1000.0f };
	constexpr float FIGHT_ZOOM_Z = -5500.0f;
}

BossTrigger::BossTrigger()
{
	myColliderSize = COLLIDER_SIZE;
	// A sensor this tall stands in the floor: the grid would shove it half its height up.
	myUsesTileCollision = false;
	myUsesGravity = false;
}

void BossTrigger::Init(FrameContext& aContext)
{
	myState = WAITING;
	myGates.clear();
	myBoss = nullptr;
	if (aContext.grid)
	{
		const TileBox someLevel{ myPosition.x, myPosition.y, SEARCH_SIZE, SEARCH_SIZE };
		for (Entity* someGate : aContext.grid->GetOverlappingEntitiesOfType<Gate>(someLevel))
			myGates.push_back(static_cast<Gate*>(someGate));
		for (Entity* someEnemy : aContext.grid->GetOverlappingEntitiesOfType<PatrollingEnemy>(someLevel))
			if (static_cast<PatrollingEnemy*>(someEnemy)->myIsBoss)
				myBoss = static_cast<PatrollingEnemy*>(someEnemy);
	}
	// Without a boss there is no fight to stage: the arena simply stays open.
	myIsBossDefeated = myBoss == nullptr;
	ForceGatesOpen(true);
}

void BossTrigger::ForceGatesOpen(bool anIsForced)
{
	for (Gate* someGate : myGates)
		someGate->myForceOpen = anIsForced;
}

void BossTrigger::Update(FrameContext& aContext)
{
	// The boss is removed a while after it dies; its death is the last thing read of it.
	if (myBoss && myBoss->myIsDead)
	{
		myBoss = nullptr;
		myIsBossDefeated = true;
	}
	if (myIsBossDefeated)
	{
		if (aContext.gameState)
			aContext.gameState->GetCameraController().myRelease = true;
		ForceGatesOpen(true);
		return;
	}
	if (myIsTriggered && myState != FIGHT)
		Step(aContext);
}

void BossTrigger::Step(FrameContext& aContext)
{
	CameraController* someCamera = aContext.gameState ? &aContext.gameState->GetCameraController() : nullptr;
	Player* somePlayer = aContext.player;
	switch (myState)
	{
	case WAITING:
		myState = CLOSE_GATES;
		break;
	case CLOSE_GATES:
		ForceGatesOpen(false);
		if (somePlayer)
		{
			somePlayer->GetController().SetActive(false);
			somePlayer->myVelocity.x = 0.0f;
		}
		if (someCamera)
			someCamera->PanTo(ARENA_VIEW, ARENA_HOLD);
		myState = SHOW_ARENA;
		myTimer = PAN_TIME;
		break;
	case SHOW_ARENA:
		myTimer -= aContext.deltaTime;
		if (myTimer <= 0.0f)
		{
			if (someCamera)
				someCamera->PanTo(BOSS_VIEW, BOSS_HOLD);
			myState = SHOW_BOSS;
			myTimer = PAN_TIME;
		}
		break;
	case SHOW_BOSS:
		myTimer -= aContext.deltaTime;
		myBoss->myPosition = BOSS_PLACE;
		if (myTimer < 0.0f)
		{
			if (somePlayer)
				somePlayer->GetController().SetActive(true);
			myBoss->StartBossFight();
			myState = START_FIGHT;
		}
		break;
	case START_FIGHT:
		if (AudioManager::musicBossLoop)
			AudioManager::musicBossLoop->Play();
		if (someCamera)
			someCamera->PanToAndZoom(FIGHT_VIEW, FIGHT_ZOOM_Z);
		myState = FIGHT;
		break;
	default:
		break;
	}
}
