#pragma once
// The buffers that a file's arrays are decoded into. They are filled (inflated,
// copied or converted) right after they grow, so growing leaves the elements
// uninitialised instead of zeroing them first; large ones ask the kernel for
// huge pages, so filling them takes a few page faults instead of thousands.
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace fbxsdk::impl
{
	// Blocks of at least this size are aligned to and advised as huge pages.
	inline constexpr std::size_t HUGE_PAGE_BYTES = std::size_t(2) << 20;

	void* AllocateArrayMemory(std::size_t aBytes);
	void FreeArrayMemory(void* aMemory, std::size_t aBytes) noexcept;

	template <typename T>
	class UninitializedAllocator
	{
		static_assert(std::is_trivially_copyable_v<T>, "only plain numbers are left uninitialised");

	public:
		using value_type = T;

		UninitializedAllocator() noexcept = default;
		template <typename U>
		UninitializedAllocator(const UninitializedAllocator<U>&) noexcept
		{
		}

		T* allocate(std::size_t aCount)
		{
			if (aCount > std::size_t(-1) / sizeof(T))
				throw std::bad_array_new_length();
			return static_cast<T*>(AllocateArrayMemory(aCount * sizeof(T)));
		}
		void deallocate(T* aMemory, std::size_t aCount) noexcept { FreeArrayMemory(aMemory, aCount * sizeof(T)); }

		// Value-initialisation (resize, the count constructor) leaves the element as it is.
		template <typename U>
		void construct(U* anElement) noexcept
		{
			::new (static_cast<void*>(anElement)) U;
		}
		template <typename U, typename... Arguments>
		void construct(U* anElement, Arguments&&... someArguments)
		{
			::new (static_cast<void*>(anElement)) U(std::forward<Arguments>(someArguments)...);
		}

		friend bool operator==(const UninitializedAllocator&, const UninitializedAllocator&) noexcept { return true; }
	};

	template <typename T>
	using ArrayBuffer = std::vector<T, UninitializedAllocator<T>>;
}
