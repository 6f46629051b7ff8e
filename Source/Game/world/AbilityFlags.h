#pragma once
// The movement abilities unlocked by pickups, process-wide and kept across scenes
// (level building resets all but the wall jump).
#include <array>
#include <cstddef>

inline constexpr std::size_t ABILITY_WALL_JUMP = 0;
inline constexpr std::size_t ABILITY_DASH = 1;
inline constexpr std::size_t ABILITY_CLIMB = 2;
inline constexpr std::size_t ABILITY_DASH_SLASH = 3;

inline std::array<bool, 4> AbilityFlags{};
