#include "world/entities/Checkpoint.h"

#include "world/effects/FlipbookVFX.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

Checkpoint::Checkpoint()
	: myStartEffect(std::make_unique<FlipbookVFX>())
	, myFireEffect(std::make_unique<FlipbookVFX>())
	, myStartSound(AudioManager::GetCampfireStart())
	, myFireLoopSound(AudioManager::GetCampfireIdleLoop())
{
	myColliderSize = COLLIDER_SIZE;
	myUsesTileCollision = false;
	myUsesGravity = false;
	myStartEffect->Init(START_EFFECT_ID);
	myFireEffect->Init(FIRE_EFFECT_ID);
}

Checkpoint::~Checkpoint() = default;

Norv::Vector3<float> Checkpoint::GetFireAnchor() const
{
	// The ground of the placed object, whatever the collider offset, lifted to the logs.
	return { myPosition.x, myPosition.y - myColliderOffset.y + FIRE_LIFT, FIRE_Z };
}

void Checkpoint::OnPickedUp()
{
	if (myIsLit)
		return;
	if (myStartSound)
		myStartSound->Play();
	myStartEffect->PlayAt(GetFireAnchor(), 1.0f);
	myIsLit = true;
}

void Checkpoint::Update(FrameContext& aContext)
{
	const Norv::Vector3<float> someAnchor = GetFireAnchor();
	myStartEffect->Update(aContext, someAnchor);
	myFireEffect->Update(aContext, someAnchor);
	if (!myIsLit)
		return;
	// Every campfire shares the one loop: the nearest lit one is heard.
	AudioManager::ClaimSpatialLoop(myFireLoopSound, *this, myPosition, aContext, FIRE_LOOP_RADIUS, FIRE_LOOP_VOLUME);
	if (myFireDelay > 0.0f)
		myFireDelay -= aContext.deltaTime;
	if (myFireDelay <= 0.0f && !myFireEffect->IsPlaying())
		myFireEffect->PlayAt(someAnchor, 1.0f);
}

void Checkpoint::Render()
{
	myStartEffect->Render();
	myFireEffect->Render();
}
