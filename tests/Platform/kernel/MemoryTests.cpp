#include "kernel/Memory.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <vector>

TEST(ReturnFreeMemory, GivesTheHeapsFreedPagesBackToTheSystem)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
	GTEST_SKIP() << "the sanitizer's allocator keeps a heap of its own";
#else
	// As the program runs: freed memory is kept in the heap, not trimmed by free.
	mallopt(M_TRIM_THRESHOLD, 64 << 20);
	mallopt(M_MMAP_THRESHOLD, 32 << 20);
	constexpr std::size_t BLOCK_BYTES = 64 << 10;
	constexpr std::size_t FREED_BYTES = 96 << 20;
	constexpr std::size_t MIN_RETURNED_BYTES = 64 << 20;

	// Every other block stays, so the freed ones can neither join nor reach the top of the heap.
	std::vector<void*> someKept;
	std::vector<void*> someFreed;
	for (std::size_t someBytes = 0; someBytes < FREED_BYTES; someBytes += BLOCK_BYTES)
		for (std::vector<void*>* someList : { &someKept, &someFreed })
		{
			void* someBlock = std::malloc(BLOCK_BYTES);
			ASSERT_NE(someBlock, nullptr);
			std::memset(someBlock, 1, BLOCK_BYTES);
			someList->push_back(someBlock);
		}
	for (void* someBlock : someFreed)
		std::free(someBlock);

	const std::size_t someHeld = Platform::ResidentBytes();
	ASSERT_GT(someHeld, FREED_BYTES) << "the freed blocks are still resident";
	Platform::ReturnFreeMemory();
	const std::size_t someAfter = Platform::ResidentBytes();
	EXPECT_GE(someHeld - std::min(someHeld, someAfter), MIN_RETURNED_BYTES) << someHeld << " -> " << someAfter << " bytes";

	for (void* someBlock : someKept)
		std::free(someBlock);
#endif
}
