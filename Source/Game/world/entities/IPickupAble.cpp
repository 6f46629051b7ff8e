#include "world/entities/IPickupAble.h"

#include "world/effects/FlipbookVFX.h"

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
	// Every pickup shares the one chime: the nearest one is heard. A pickup taken
	// earlier this frame no longer asks for it.
	if (!myShouldRemove && myLoopSound)
	{
		AudioManager::ClaimSpatialLoop(myLoopSound, *this, myPosition, aContext, CHIME_RADIUS, CHIME_BASE_VOLUME);
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
	// The chime stops with the frame unless another pickup still claims it.
	AudioManager::ReleaseLoop(myLoopSound, *this);
}
