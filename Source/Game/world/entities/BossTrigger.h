#pragma once
// Stages the boss fight: touched by the player, it closes the arena's gates, holds
// the player still while the camera shows the arena and the boss, then lets the
// fight begin under the boss music with the camera zoomed out. Once the boss dies
// the camera is given back and the gates stay open.
#include "world/entities/Entity.h"

#include <vector>

class Gate;
class PatrollingEnemy;

class BossTrigger : public Entity
{
public:
	enum State : int
	{
		CLOSE_GATES = 0, SHOW_ARENA = 1, SHOW_BOSS = 2, FIGHT = 3, START_FIGHT = 4, WAITING = 5
	};

	BossTrigger();

	// Takes every gate of the level (held open) and its boss.
	void Init(FrameContext& aContext) override;
	void Update(FrameContext& aContext) override;

	std::vector<Gate*> myGates;
	PatrollingEnemy* myBoss = nullptr; // null once it has died: never looked at after its death
	int myState = WAITING;
	float myTimer = 0.0f;
	bool myIsTriggered = false;        // set by the player touching it
	bool myIsBossDefeated = false;     // latched at the boss's death, or from the start without a boss

private:
	void ForceGatesOpen(bool anIsForced);
	void Step(FrameContext& aContext);
};
