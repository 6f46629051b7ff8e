#include "world/entities/Gate.h"

#include "world/GameState.h"
#include "world/TileCollisionGrid.h"
#include "world/entities/Lever.h"

#include "media/AudioManager.h"
#include "sound/Audio.h"

#include <algorithm>
#include <cmath>

namespace
{
	constexpr float BOTTOM_REACH = 70.0f;  // units above the centre at which the bottom row counts as left
	constexpr float TOP_REACH = 500.0f;    // units above the centre of the row an opening gate fills

	// Tile index of a height: floored, so that heights just below zero land in row -1.
	int Row(float aY)
	{
		return static_cast<int>(std::floor(aY / TileCollisionGrid::TILE_SIZE));
	}

	void Play(Norv::Audio* aSound)
	{
		if (aSound)
			aSound->Play();
	}
}

Gate::Gate()
{
	// The gate stands inside the tiles it writes: the grid must neither push it nor let it fall.
	myUsesTileCollision = false;
	myUsesGravity = false;
}

int Gate::BottomRow(float aY)
{
	return Row(aY + BOTTOM_REACH);
}

int Gate::TopRow(float aY)
{
	return Row(aY + TOP_REACH);
}

void Gate::Init(FrameContext& aContext)
{
	myColliderSize = { COLLIDER_SIDE, COLLIDER_SIDE };
	myOpenSound = AudioManager::GetStoneDoorOpen();
	myHome = myPosition;
	if (aContext.gameState && aContext.gameState->myScenePath == GameState::ENDING_SCENE)
		mySoundTimer = SOUND_DELAY;
	myGrid = aContext.grid;
	myColumn = static_cast<int>(std::trunc(myPosition.x / TileCollisionGrid::TILE_SIZE));
	// The tile under the gate's bottom row: its floor, kept solid.
	myHomeRow = Row(myHome.y - TileCollisionGrid::TILE_SIZE / 2.0f);
	myHighestSolidRow = BottomRow(myHome.y) + COLUMN_TILES - 1;
}

void Gate::Update(FrameContext& aContext)
{
	myGrid = aContext.grid;
	if (myLever)
		myLever->myGate = this;
	mySoundTimer = std::min(SOUND_TIMER_CAP, mySoundTimer + aContext.deltaTime);

	const bool someIsPulled = myLever && myLever->myIsPulled;
	const float someFromY = myPosition.y;
	if ((someIsPulled || myForceOpen) && myPosition.y <= myHome.y + myOpenHeight)
		Open(aContext, someFromY);
	else if (!myForceOpen && myPosition.y > myHome.y)
		Close(aContext.deltaTime, someFromY);
	else
		Rest();
	SetRows(myHomeRow, myHomeRow, true);
}

void Gate::Open(FrameContext& aContext, float aFromY)
{
	if (!myIsOpening && !myForceOpen && myPanOnOpen && aContext.gameState)
		aContext.gameState->GetCameraController().PanTo({ myPosition.x, myPosition.y + PAN_RAISE }, PAN_HOLD);
	if (mySoundTimer >= SOUND_DELAY && !myOpenSoundPlayed)
	{
		Play(myOpenSound);
		myOpenSoundPlayed = true;
		// From now on the gate stays open whatever the lever does.
		myForceOpen = true;
	}
	if (myReplaySound)
	{
		Play(myOpenSound);
		myReplaySound = false;
	}
	myIsOpening = true;
	myPosition.y += mySpeed * aContext.deltaTime;
	// Every row the bottom left this frame opens, every row the top reached closes.
	SetRows(BottomRow(aFromY), BottomRow(myPosition.y), false);
	const int someTop = TopRow(myPosition.y);
	SetRows(TopRow(aFromY), someTop, true);
	myHighestSolidRow = std::max(myHighestSolidRow, someTop);
}

void Gate::Close(float aDeltaTime, float aFromY)
{
	// Down to its home and no further: below it the gate would hang into its floor.
	myPosition.y = std::max(myHome.y, myPosition.y - mySpeed * aDeltaTime);
	SetRows(BottomRow(myPosition.y), BottomRow(aFromY), true);
	// Rows above the lowered column were the gate's own: they open again.
	const int someColumnTop = BottomRow(myPosition.y) + COLUMN_TILES - 1;
	if (myHighestSolidRow > someColumnTop)
	{
		SetRows(someColumnTop + 1, myHighestSolidRow, false);
		myHighestSolidRow = someColumnTop;
	}
	if (mySoundTimer >= SOUND_DELAY && !myCloseSoundPlayed)
	{
		Play(myOpenSound);
		myCloseSoundPlayed = true;
		myReplaySound = true;
	}
}

void Gate::Rest()
{
	myIsOpening = false;
	const int someBottom = BottomRow(myPosition.y);
	SetRows(someBottom, someBottom + COLUMN_TILES - 1, true);
	myHighestSolidRow = std::max(myHighestSolidRow, someBottom + COLUMN_TILES - 1);
}

void Gate::SetRows(int aFirst, int aLast, bool aSolid)
{
	if (!myGrid)
		return;
	for (int someRow = std::min(aFirst, aLast); someRow <= std::max(aFirst, aLast); ++someRow)
		myGrid->SetTile(myColumn, someRow, aSolid);
}
