#pragma once
// The process-wide abilities {wall jump, dash, climb, dash-slash}, kept across
// scenes. Pickups set them; level building resets all but the wall jump; the
// player's movement reads them.
#include <array>
#include <cstddef>

namespace Ability
{
	constexpr std::size_t WALL_JUMP = 0;
	constexpr std::size_t DASH = 1;
	constexpr std::size_t CLIMB = 2;
	constexpr std::size_t DASH_SLASH = 3;
	constexpr std::size_t COUNT = 4;
}

inline std::array<bool, Ability::COUNT> AbilityFlags{};
