#pragma once
// What one play frame hands to every entity. The play state owns the one record,
// refills it before any entity runs, and entities may keep a pointer to it for
// the level's lifetime.
#include <memory>
#include <vector>

class Entity;
class GameState;
class InputMapper;
class Player;
class TileCollisionGrid;

// The level's entities in creation order; the list owns them.
using EntityList = std::vector<std::unique_ptr<Entity>>;

struct FrameContext
{
	float deltaTime = 0.0f;            // seconds of this frame
	InputMapper* input = nullptr;      // the game's input actions
	TileCollisionGrid* grid = nullptr; // the level's tile grid
	Player* player = nullptr;          // the level's player; null before one exists
	GameState* gameState = nullptr;    // the play state (its camera controller too)
	EntityList* entities = nullptr;    // the level's entities
};
