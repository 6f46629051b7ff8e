#include "shell/GameRandom.h"

namespace GameRandom
{
	namespace
	{
		constexpr int RAND_SHIFT = 17; // 32-bit draws down to 15 bits
	}

	std::mt19937& GetGenerator()
	{
		static std::mt19937 ourGenerator(DEFAULT_SEED);
		return ourGenerator;
	}

	void Seed(std::uint32_t aSeed)
	{
		GetGenerator().seed(aSeed);
	}

	int Rand()
	{
		return static_cast<int>(GetGenerator()() >> RAND_SHIFT);
	}
}
