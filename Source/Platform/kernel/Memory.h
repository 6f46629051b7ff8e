#pragma once
// Giving the heap's free memory back to the system. The process keeps freed heap
// memory for reuse (the GL driver's frame memory above all, see the device
// context); at the few moments when a lot has just been freed for good (a level
// built, a state left) it is handed back, so that resident memory follows what
// is in use. Built on glibc's malloc_trim.
#include <cstddef>

namespace Platform
{
	// Returns the free pages of every heap arena to the system; a few milliseconds,
	// not for every frame.
	void ReturnFreeMemory();

	// The process's resident memory in bytes (VmRSS), 0 where it cannot be read.
	std::size_t ResidentBytes();
}
