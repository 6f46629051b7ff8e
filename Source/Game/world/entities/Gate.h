#pragma once
// A stone gate: a column of five solid tiles that slides up when its lever is
// pulled (or while something forces it open) and back down to its home when
// released, writing its shape into the tile grid as it moves.
#include "world/entities/Entity.h"

namespace Norv
{
	class Audio;
}
class Lever;

class Gate : public Entity
{
public:
	static constexpr float SPEED = 100.0f;             // units per second
	static constexpr float OPEN_HEIGHT = 400.0f;       // units above home
	static constexpr float COLLIDER_SIDE = 100.0f;     // units
	static constexpr int COLUMN_TILES = 5;             // solid tiles of the closed gate
	static constexpr float SOUND_DELAY = 1.0f;         // s into the level before the gate makes a sound
	static constexpr float SOUND_TIMER_CAP = 2.0f;     // s
	static constexpr float PAN_RAISE = 200.0f;         // units above the gate the camera pans to
	static constexpr float PAN_HOLD = 3.0f;            // s the camera holds on the opening gate

	Gate();

	void Init(FrameContext& aContext) override;
	void Update(FrameContext& aContext) override;

	Lever* myLever = nullptr;
	bool myPanOnOpen = true;
	Norv::Audio* myOpenSound = nullptr; // the sound bank's; not owned
	float mySoundTimer = 0.0f;
	bool myOpenSoundPlayed = false;
	bool myCloseSoundPlayed = false;
	Norv::Vector2<float> myHome;
	float mySpeed = SPEED;
	float myOpenHeight = OPEN_HEIGHT;
	bool myIsOpening = false;
	bool myForceOpen = false; // held open whatever the lever; cleared, the gate closes
	bool myReplaySound = false;
	int myLeverId = 0;        // "connectedLever": the lever whose "connectedDoor" matches

private:
	// Tile rows of the column: the lowest one for a gate at aY, and the highest an
	// opening gate at aY makes solid.
	static int BottomRow(float aY);
	static int TopRow(float aY);
	void Open(FrameContext& aContext, float aFromY);
	void Close(float aDeltaTime, float aFromY);
	void Rest();
	void SetRows(int aFirst, int aLast, bool aSolid);

	TileCollisionGrid* myGrid = nullptr;
	int myColumn = 0;
	int myHomeRow = 0;
	int myHighestSolidRow = 0; // the top of what the gate has made solid above its closed column
};
