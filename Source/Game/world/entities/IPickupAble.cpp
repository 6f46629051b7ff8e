#include "world/entities/IPickupAble.h"

#include "world/effects/FlipbookVFX.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

#include <cmath>

IPickupAble::IPickupAble()
	: myEffect(std::make_unique<FlipbookVFX>())
	, myLoopSound(AudioManager::GetBookIdleChimeLoop())
{
	myColliderSize = { PICKUP_SIZE, PICKUP_SIZE };
	myUsesGravity = false;
	myEffect->Init(EFFECT_ID);
}

IPickupAble::~IPickupAble() = default;

void IPickupAble::Update(FrameContext& aContext)
{
	const float someDeltaTime = aContext.deltaTime;
	myEffect->Update(aContext, {});
	if (!myEffect->IsPlaying())
		myEffect->PlayAt({ myPosition.x, myPosition.y, EFFECT_Z }, 1.0f);
	// The chime is heard from the player.
	if (aContext.player)
		AudioManager::UpdateSpatialSound(myLoopSound, myPosition, aContext.player->myPosition, CHIME_RADIUS, CHIME_BASE_VOLUME);
	if (!mySoundStarted && myLoopSound)
	{
		myLoopSound->Play();
		mySoundStarted = true;
	}
	myBobTime += someDeltaTime;
	myModelOffset.y = std::sin(myBobTime * BOB_RATE) * BOB_AMPLITUDE;
	myRotation.y += someDeltaTime * SPIN_RATE;
}

void IPickupAble::Render()
{
	myEffect->Render();
}

void IPickupAble::OnPickedUp()
{
	if (myLoopSound)
		myLoopSound->Stop(true);
}
