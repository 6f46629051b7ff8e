#pragma once
// Where a box can stand on the tile grid near a wanted point: resting on a tile's
// top and overlapping no solid tile. Used to bring the player back on its feet at
// a checkpoint or the level's start, whatever the marker's height.
#include "world/TileCollisionGrid.h"

#include <optional>

// The centre of aBox moved straight up or down until it rests on a tile top, within
// aSearchRows tile rows. A box in open air takes the ground it would fall onto (else
// the nearest above); a box inside solid tiles rises to the first place it fits
// (else the nearest below). Empty when there is none or the box is not a real place.
std::optional<Norv::Vector2<float>> FindStandingPlace(const TileCollisionGrid& aGrid, const TileBox& aBox, int aSearchRows);
