#include "fbxsdk/FbxArrayBuffer.h"

#include <sys/mman.h>

#include <cstdlib>

namespace fbxsdk::impl
{
	void* AllocateArrayMemory(std::size_t aBytes)
	{
		if (aBytes < HUGE_PAGE_BYTES)
		{
			if (void* someMemory = std::malloc(aBytes > 0 ? aBytes : 1))
				return someMemory;
			throw std::bad_alloc();
		}
		const std::size_t someRounded = (aBytes + HUGE_PAGE_BYTES - 1) & ~(HUGE_PAGE_BYTES - 1);
		void* someMemory = std::aligned_alloc(HUGE_PAGE_BYTES, someRounded);
		if (!someMemory)
			throw std::bad_alloc();
		// Only advice: without huge pages the block still works, page by page.
		madvise(someMemory, someRounded, MADV_HUGEPAGE);
		return someMemory;
	}

	void FreeArrayMemory(void* aMemory, std::size_t) noexcept
	{
		std::free(aMemory);
	}
}
