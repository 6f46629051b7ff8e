#include "world/entities/Lever.h"

#include "world/entities/Gate.h"
#include "world/entities/Player.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

#include <algorithm>

Lever::Lever()
	: myPullSound(AudioManager::GetPlayerPullLever())
{
	myColliderSize = COLLIDER_SIZE;
	myUsesTileCollision = false;
	myUsesGravity = false;
}

void Lever::Init(FrameContext&)
{
	myRotation.x = 0.0f;
	myRotation.z = 0.0f;
}

void Lever::TakeDamage(DamageInfo anInfo)
{
	Player* somePlayer = dynamic_cast<Player*>(anInfo.source);
	if (somePlayer && !myIsPulled)
	{
		myPullTimer = 0.0f;
		myIsLockingPlayer = true;
		myPuller = somePlayer;
		if (myPullSound)
			myPullSound->Play();
		PlayerController& someController = somePlayer->GetController();
		if (myGate && myGate->myPanOnOpen && someController.IsActive())
		{
			someController.SetActive(false);
			myHasSwitchedOff = true;
			mySwitchCount = someController.GetSwitchCount();
		}
	}
	myIsPulled = true;
}

void Lever::Update(FrameContext& aContext)
{
	if (myIsPulled)
	{
		myPullTimer += aContext.deltaTime;
		const float someBlend = std::min(myPullTimer, 1.0f);
		myRotation.z = std::min(PULLED_ANGLE, (1.0f - someBlend) * myRotation.z + someBlend * PULLED_ANGLE);
	}
	if (myIsLockingPlayer && myPuller)
	{
		myLockTimer += aContext.deltaTime;
		if (myLockTimer >= myLockTime)
			EndLock();
	}
}

void Lever::EndLock()
{
	myIsLockingPlayer = false;
	myLockTimer = 0.0f;
	// Only the lever's own lock ends: a death or a page that switched the
	// controller since keeps it as they left it.
	PlayerController& someController = myPuller->GetController();
	if (myHasSwitchedOff && someController.GetSwitchCount() == mySwitchCount)
		someController.SetActive(true);
	myHasSwitchedOff = false;
}
