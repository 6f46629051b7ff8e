#pragma once
// Process-wide pools of plain records shared by copy-on-write handles.
// Each record type T has one pool of buckets of 1024 slots; a handle shares its
// slot by reference count and copies it only before a write. Slot 0 of the first
// bucket is the permanent default entry: never counted, never freed, so copying
// a default value costs nothing. Counts are not atomic: main thread only.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace Norv
{
	namespace impl
	{
		constexpr std::uint32_t POOL_BUCKET_SIZE = 1024;
		constexpr std::int32_t PERMANENT_COUNT = 0x7fffffff;

		template <typename T>
		class StaticObjectPool
		{
		public:
			// One allocation that never moves, so handles keep plain pointers into it.
			struct Bucket
			{
				std::int32_t myCounts[POOL_BUCKET_SIZE] = {}; // 0 = free or never used
				T myValues[POOL_BUCKET_SIZE] = {};

				std::uint32_t IndexOf(const T* aValue) const { return static_cast<std::uint32_t>(aValue - myValues); }
			};

			struct Slot
			{
				Bucket* myBucket = nullptr;
				T* myValue = nullptr;
			};

			static StaticObjectPool& Instance()
			{
				static StaticObjectPool ourPool;
				return ourPool;
			}

			// A slot holding a default or stale value, its count set to 1: most
			// recently freed first, then the next never-used slot.
			Slot AllocateSlot()
			{
				Slot someSlot;
				if (!myFreeList.empty())
				{
					someSlot = myFreeList.back();
					myFreeList.pop_back();
				}
				else
				{
					if (myNextNewSlot == POOL_BUCKET_SIZE)
					{
						AddBucket();
						myNextNewSlot = 0;
					}
					Bucket* someBucket = myBuckets.back().get();
					someSlot = { someBucket, &someBucket->myValues[myNextNewSlot++] };
				}
				someSlot.myBucket->myCounts[someSlot.myBucket->IndexOf(someSlot.myValue)] = 1;
				return someSlot;
			}

			// Drops one reference; a slot reaching 0 goes on the free list. Does
			// nothing once the pool is shut down (handles in static storage may
			// outlive it).
			static void Release(Bucket* aBucket, T* aValue)
			{
				if (ourIsShutDown)
					return;
				std::int32_t& someCount = aBucket->myCounts[aBucket->IndexOf(aValue)];
				if (someCount == PERMANENT_COUNT)
					return;
				if (--someCount == 0)
					Instance().myFreeList.push_back({ aBucket, aValue });
			}

			void AddBucket() { myBuckets.push_back(std::make_unique<Bucket>()); }

			const Slot& GetDefaultSlot() const { return myDefault; }
			std::size_t GetBucketCount() const { return myBuckets.size(); }
			const Bucket* GetBucket(std::size_t aIndex) const { return myBuckets[aIndex].get(); }
			static bool IsShutDown() { return ourIsShutDown; }

		private:
			StaticObjectPool()
			{
				AddBucket();
				Bucket* someFirst = myBuckets.front().get();
				someFirst->myValues[0] = T{};
				someFirst->myCounts[0] = PERMANENT_COUNT;
				myDefault = { someFirst, &someFirst->myValues[0] };
				myNextNewSlot = 1;
			}

			~StaticObjectPool() { ourIsShutDown = true; }

			std::vector<std::unique_ptr<Bucket>> myBuckets; // oldest first; only grows
			std::vector<Slot> myFreeList;                    // last in, first out
			std::uint32_t myNextNewSlot = 0;                 // in the newest bucket
			Slot myDefault;
			static inline bool ourIsShutDown = false;
		};
	}

	// A handle sharing one pool slot of T. Copies share the slot; MakeUnique (and
	// so every write) first gives the handle a slot of its own.
	template <typename T>
	class CopyOnWriteWrapper
	{
		using Pool = impl::StaticObjectPool<T>;

	public:
		using value_type = T;

		// The pool's permanent default entry.
		CopyOnWriteWrapper() : mySlot(Pool::Instance().GetDefaultSlot()) {}
		CopyOnWriteWrapper(const CopyOnWriteWrapper& aOther)
			: mySlot(aOther.mySlot)
		{
			if (mySlot.myBucket)
				AddReference();
		}
		CopyOnWriteWrapper& operator=(const CopyOnWriteWrapper& aOther)
		{
			CopyOnWriteWrapper someCopy(aOther);
			std::swap(mySlot, someCopy.mySlot);
			return *this;
		}
		~CopyOnWriteWrapper()
		{
			if (mySlot.myBucket)
				Pool::Release(mySlot.myBucket, mySlot.myValue);
		}

		const T& Get() const { return *mySlot.myValue; }
		const T* operator->() const { return mySlot.myValue; }
		// The value, made unique first, for writing.
		T& Write()
		{
			MakeUnique();
			return *mySlot.myValue;
		}

		// Makes the handle the only owner of its slot, copying the value to a fresh
		// slot when it is shared (always for the permanent default entry).
		void MakeUnique()
		{
			if (GetUseCount() < 2)
				return;
			typename Pool::Slot someFresh = Pool::Instance().AllocateSlot(); // before the release: never the old slot
			*someFresh.myValue = *mySlot.myValue;
			Pool::Release(mySlot.myBucket, mySlot.myValue);
			mySlot = someFresh;
		}

		// Points the handle at a fresh slot of its own holding T's default value.
		void ResetToFreshDefault()
		{
			typename Pool::Slot someFresh = Pool::Instance().AllocateSlot();
			*someFresh.myValue = T{};
			if (mySlot.myBucket)
				Pool::Release(mySlot.myBucket, mySlot.myValue);
			mySlot = someFresh;
		}

		const typename Pool::Bucket* GetBucket() const { return mySlot.myBucket; }
		std::uint32_t GetSlotIndex() const { return mySlot.myBucket->IndexOf(mySlot.myValue); }
		std::int32_t GetUseCount() const { return mySlot.myBucket->myCounts[GetSlotIndex()]; }

	private:
		void AddReference()
		{
			std::int32_t& someCount = mySlot.myBucket->myCounts[GetSlotIndex()];
			if (someCount != impl::PERMANENT_COUNT)
				++someCount;
		}

		typename Pool::Slot mySlot;
	};
}
