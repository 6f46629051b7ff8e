#include "world/entities/Door.h"

#include "world/GameState.h"
#include "world/TileCollisionGrid.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "shell/InputMapper.h"
#include "sound/Audio.h"

Door::Door()
{
	myColliderSize = COLLIDER_SIZE;
	myUsesTileCollision = false;
	myUsesGravity = false;
}

void Door::Update(FrameContext& aContext)
{
	if (!myOpenSound)
		myOpenSound = AudioManager::GetWoodDoorOpen();
	const InputMapper* someInput = aContext.input;
	if (!someInput || !aContext.grid || !aContext.gameState)
		return;
	if (!someInput->IsDown(InputAction::Up) && someInput->GetLeftStick().y <= STICK_UP)
		return;
	if (aContext.grid->GetOverlappingEntitiesOfType<Player>({ myPosition.x, myPosition.y, myColliderSize.x, myColliderSize.y }).empty())
		return;
	if (myOpenSound)
		myOpenSound->Play();
	// An unset target asks for "scenes/.nvs", which loads as an empty level.
	aContext.gameState->ChangeScene(std::string("scenes/") + myTargetScene.c_str() + ".nvs");
}
