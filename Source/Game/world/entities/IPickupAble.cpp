#include "world/entities/IPickupAble.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

#include <cmath>

IPickupAble::IPickupAble()
	: myLoopSound(AudioManager::GetBookIdleChimeLoop())
{
	myColliderSize = { PICKUP_SIZE, PICKUP_SIZE };
	myUsesGravity = false;
}

void IPickupAble::Update(FrameContext& aContext)
{
	const float someDeltaTime = aContext.deltaTime;
	if (!mySoundStarted && myLoopSound)
	{
		myLoopSound->Play();
		mySoundStarted = true;
	}
	myBobTime += someDeltaTime;
	myModelOffset.y = std::sin(myBobTime * BOB_RATE) * BOB_AMPLITUDE;
	myRotation.y += someDeltaTime * SPIN_RATE;
}

void IPickupAble::OnPickedUp()
{
	if (myLoopSound)
		myLoopSound->Stop(true);
}
