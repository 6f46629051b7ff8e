#pragma once
// Walking back and forth, as the hedgehog and the mushroom do: a timer counts the
// seconds walked (up while facing right, down while facing left); reaching the
// range, touching a wall or coming to a ledge turns the walker.
namespace EnemyPatrol
{
	constexpr float WALL_CONTACT = 0.1f; // contact side beyond which a wall turns the walker

	// Whether the tile row under the feet is solid a tile to each side.
	struct FloorAhead
	{
		bool myLeft = true;
		bool myRight = true;
	};

	// Advances aTimer by a frame of walking and returns the way the walker turns:
	// 1 right, -1 left, 0 none. A turn restarts the timer; turning back from a
	// ledge on the right sets it to the range instead.
	int Step(float& aTimer, int aFacing, float aRange, float aDeltaTime, int aContactX, const FloorAhead& aFloor);
}
