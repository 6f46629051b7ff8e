#include "kernel/Memory.h"

#include <malloc.h>

#include <fstream>
#include <string>

namespace Platform
{
	void ReturnFreeMemory()
	{
		malloc_trim(0);
	}

	std::size_t ResidentBytes()
	{
		constexpr std::size_t BYTES_PER_KIB = 1024;
		std::ifstream someStatus("/proc/self/status");
		std::string someWord;
		while (someStatus >> someWord)
		{
			if (someWord == "VmRSS:")
			{
				std::size_t someKib = 0;
				someStatus >> someKib;
				return someKib * BYTES_PER_KIB;
			}
		}
		return 0;
	}
}
