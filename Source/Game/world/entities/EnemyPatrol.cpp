#include "world/entities/EnemyPatrol.h"

int EnemyPatrol::Step(float& aTimer, int aFacing, float aRange, float aDeltaTime, int aContactX, const FloorAhead& aFloor)
{
	int someTurn = 0;
	aTimer += aFacing == 1 ? aDeltaTime : -aDeltaTime;
	if (aTimer >= aRange)
	{
		someTurn = 1;
		aTimer = 0.0f;
	}
	else if (aTimer <= -aRange)
	{
		someTurn = -1;
		aTimer = 0.0f;
	}

	if (static_cast<float>(aContactX) > WALL_CONTACT)
	{
		someTurn = 1;
		aTimer = 0.0f;
	}
	else if (static_cast<float>(aContactX) < -WALL_CONTACT)
	{
		someTurn = -1;
		aTimer = 0.0f;
	}

	if (!aFloor.myLeft)
	{
		someTurn = 1;
		aTimer = 0.0f;
	}
	else if (!aFloor.myRight)
	{
		someTurn = -1;
		aTimer = aRange;
	}
	return someTurn;
}
