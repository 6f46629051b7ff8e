#pragma once
// Engine-wide limits of models and skeletons.
#include <cstddef>

namespace Norv
{
	// The texture table of a model has room for this many meshes.
	inline constexpr std::size_t MAX_MESHES_PER_MODEL = 4;
	// Joints of a skeleton, entries of a pose and matrices of the bone buffer.
	inline constexpr std::size_t MAX_ANIMATION_BONES = 128;
}
