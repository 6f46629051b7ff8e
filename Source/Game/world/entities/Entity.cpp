#include "world/entities/Entity.h"

#include "world/TileCollisionGrid.h"

#include <algorithm>
#include <cstdlib>

void Entity::Init(FrameContext&) {}
void Entity::Update(FrameContext&) {}
void Entity::Render() {}
void Entity::LateRender() {}
void Entity::DebugRender() {}
void Entity::RenderUI() {}
void Entity::OnCollision(Entity&) {}

Animator* Entity::GetAnimator()
{
	return nullptr;
}

void Entity::TakeDamage(DamageInfo anInfo)
{
	myHealth -= anInfo.damage;
	myVelocity = anInfo.knockback;
	if (myHealth <= 0.0f)
	{
		myHealth = 0.0f;
		Die();
	}
}

void Entity::Die()
{
	myVelocity = {};
	myIsDead = true;
}

void Entity::MoveAndCollide(FrameContext& aContext)
{
	const float someDeltaTime = aContext.deltaTime;
	myAirTime += someDeltaTime;
	if (!myUsesTileCollision)
		return;

	myContactSide = {};
	for (int someStep = 0; someStep < MOVE_SUB_STEPS; ++someStep)
	{
		const Norv::Vector2<float> someDisplacement{ someDeltaTime * myVelocity.x / MOVE_SUB_STEPS, someDeltaTime * myVelocity.y / MOVE_SUB_STEPS };
		if (!aContext.grid)
		{
			myPosition += someDisplacement;
			continue;
		}
		const TileContact someContact = aContext.grid->MoveAndCollide({ myPosition.x, myPosition.y, myColliderSize.x, myColliderSize.y }, someDisplacement);
		myPosition = someContact.point;
		// A blocked axis stops; the other keeps its speed for the next sub-step.
		myVelocity.x *= static_cast<float>(1 - std::abs(someContact.sideX));
		myVelocity.y *= static_cast<float>(1 - std::abs(someContact.sideY));
		if (someContact.sideY > 0)
			myAirTime = 0.0f;
		if (someContact.sideX != 0)
			myContactSide.x = someContact.sideX;
		if (someContact.sideY != 0)
			myContactSide.y = someContact.sideY;
	}

	if (myUsesGravity)
	{
		const float someGravity = myVelocity.y > 0.0f ? myGravity : myGravity * myFallGravityScale;
		myVelocity.y = std::max(myVelocity.y - someGravity * someDeltaTime, -myMaxFallSpeed);
	}
}
