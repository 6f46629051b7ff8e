#pragma once
// The game's one source of random numbers. Seeded, it makes a run repeatable:
// the same seed and the same inputs give the same world. Main thread only.
#include <cstdint>
#include <random>

namespace GameRandom
{
	constexpr std::uint32_t DEFAULT_SEED = 5489u;
	constexpr int RAND_LIMIT = 32767; // Rand's largest value, as the C library's rand()

	// Restarts the sequence.
	void Seed(std::uint32_t aSeed);
	// 0 to RAND_LIMIT, in the manner of the C library's rand().
	int Rand();
	// The generator itself, for distributions.
	std::mt19937& GetGenerator();
}
