#pragma once
// The level's solid geometry for movement: a sparse set of solid 100-unit square
// tiles in chunks of 16 x 16, plus box queries over the level's entity list.
// Tile (tx, ty) is the square centred at (100 tx, 100 ty). Boxes are
// {centre x, centre y, width, height} in world units.
#include "world/FrameContext.h"
#include "world/entities/Entity.h"

#include "Math/Vector.h"
#include "model/ModelInstance.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// One TILE object of the level, in integer tile coordinates.
struct LevelTile
{
	int tileX = 0;
	int tileY = 0;
	bool visible = true;
	Norv::ModelInstance instance; // its model, when it has one
};

struct TileBox
{
	float x = 0.0f;
	float y = 0.0f;
	float w = 0.0f;
	float h = 0.0f;
};

// A side is the direction the moving box is pushed out: sideY 1 rests on top of
// a tile, -1 hit an underside; sideX -1 pushed left (wall on its right), 1 right.
struct TileContact
{
	bool hit = false;
	Norv::Vector2<float> point; // the resolved position
	int sideX = 0;
	int sideY = 0;
};

// One outline segment of the grid's debug drawing.
struct DebugLine
{
	Norv::Vector3<float> from;
	Norv::Vector3<float> to;
	Norv::Vector4<float> color;
};

struct BoxPenetration
{
	bool hit = false;
	Norv::Vector2<float> push;
	int sideX = 0;
	int sideY = 0;
};

class TileCollisionGrid
{
public:
	static constexpr float TILE_SIZE = 100.0f;
	static constexpr int CHUNK_SIZE = 16;
	static constexpr int SEARCH_RADIUS = 2; // MoveAndCollide looks at the 5 x 5 tiles around the box

	struct ChunkKey
	{
		int cx = 0;
		int cy = 0;
		bool operator==(const ChunkKey&) const = default;
	};
	struct ChunkKeyHash
	{
		std::size_t operator()(const ChunkKey& aKey) const noexcept;
	};
	struct TileChunk
	{
		std::array<bool, CHUNK_SIZE * CHUNK_SIZE> cells{}; // index lx * 16 + ly
	};

	// Stores both pointers, clears the map and marks every tile's cell solid.
	void Build(const EntityList* anEntities, const std::vector<LevelTile>& aTiles, GameState* aGame);

	// False when the chunk does not exist.
	bool IsSolid(int aTileX, int aTileY) const;
	// Creates the chunk (all clear) when missing, even when clearing.
	void SetTile(int aTileX, int aTileY, bool aSolid);

	// Every entity, in list order, whose collider strictly overlaps the box.
	std::vector<Entity*> GetOverlappingEntities(const TileBox& aBox) const;
	template <typename T>
	std::vector<Entity*> GetOverlappingEntitiesOfType(const TileBox& aBox) const
	{
		std::vector<Entity*> someFound = GetOverlappingEntities(aBox);
		std::erase_if(someFound, [](Entity* anEntity) { return dynamic_cast<T*>(anEntity) == nullptr; });
		return someFound;
	}

	// The point pushed out of the closed box through its nearest face.
	static TileContact PointContact(Norv::Vector2<float> aPoint, const TileBox& aBox);
	// The box moved by the displacement and placed flush against the tile faces it
	// ran into; faces between two solid tiles never stop anything.
	TileContact MoveAndCollide(const TileBox& aBox, Norv::Vector2<float> aDisplacement) const;
	// The box overlaps or touches a solid tile.
	bool OverlapsSolid(const TileBox& aBox) const;
	// Box against box; equal overlaps push on y. A box without area overlaps nothing.
	static BoxPenetration GetPenetration(const TileBox& aFirst, const TileBox& aSecond);

	std::size_t GetChunkCount() const { return myChunks.size(); }

	// Chunk by chunk: white outlines of its solid tiles that pass the play state's view
	// test (every one without a play state), then the chunk's blue outline, in view or not.
	std::vector<DebugLine> GetDebugLines() const;
	// GetDebugLines through the engine's line drawer, in the current camera.
	void DebugDraw() const;

private:
	const EntityList* myEntities = nullptr;
	std::unordered_map<ChunkKey, TileChunk, ChunkKeyHash> myChunks;
	GameState* myGame = nullptr;
};
