#include "properties/StaticObjectPool.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using Norv::CopyOnWriteWrapper;
using Norv::impl::PERMANENT_COUNT;
using Norv::impl::POOL_BUCKET_SIZE;
using Norv::impl::StaticObjectPool;

namespace
{
	// Each test that needs a fresh pool uses a record type of its own.
	template <int Tag>
	struct Record
	{
		int myValue = 42;
	};

	// Holds a handle past the end of main: its pool, made later, is gone by then,
	// so its destruction must touch nothing (the sanitizers check).
	std::optional<CopyOnWriteWrapper<Record<99>>> ourOutlivingHandle;
}

TEST(StaticObjectPool, DefaultHandlesShareThePermanentEntry)
{
	using Pool = StaticObjectPool<Record<1>>;
	{
		CopyOnWriteWrapper<Record<1>> someDefault;
		EXPECT_EQ(someDefault.GetBucket(), Pool::Instance().GetBucket(0));
		EXPECT_EQ(someDefault.GetSlotIndex(), 0u);
		EXPECT_EQ(someDefault.GetUseCount(), PERMANENT_COUNT);
		std::vector<CopyOnWriteWrapper<Record<1>>> someCopies(10, someDefault);
		EXPECT_EQ(someDefault.GetUseCount(), PERMANENT_COUNT);
		EXPECT_EQ(someDefault->myValue, 42);
	}
	EXPECT_EQ(CopyOnWriteWrapper<Record<1>>().GetUseCount(), PERMANENT_COUNT);
}

TEST(StaticObjectPool, WritingADefaultTakesTheFirstUnusedSlot)
{
	CopyOnWriteWrapper<Record<2>> someHandle;
	someHandle.Write().myValue = 7;
	EXPECT_EQ(someHandle.GetBucket(), StaticObjectPool<Record<2>>::Instance().GetBucket(0));
	EXPECT_EQ(someHandle.GetSlotIndex(), 1u);
	EXPECT_EQ(someHandle.GetUseCount(), 1);
	EXPECT_EQ(CopyOnWriteWrapper<Record<2>>()->myValue, 42);

	// The only owner writes in place.
	someHandle.Write().myValue = 8;
	EXPECT_EQ(someHandle.GetSlotIndex(), 1u);
}

TEST(StaticObjectPool, WritingASharedSlotSplitsIt)
{
	CopyOnWriteWrapper<Record<3>> someFirst;
	someFirst.Write().myValue = 5;
	CopyOnWriteWrapper<Record<3>> someSecond(someFirst);
	EXPECT_EQ(someFirst.GetUseCount(), 2);

	someSecond.Write().myValue = 6;
	EXPECT_NE(someSecond.GetSlotIndex(), someFirst.GetSlotIndex());
	EXPECT_EQ(someFirst.GetUseCount(), 1);
	EXPECT_EQ(someSecond.GetUseCount(), 1);
	EXPECT_EQ(someFirst->myValue, 5);
	EXPECT_EQ(someSecond->myValue, 6);

	someSecond = someFirst;
	EXPECT_EQ(someFirst.GetUseCount(), 2);
	EXPECT_EQ(someSecond->myValue, 5);
}

TEST(StaticObjectPool, FreedSlotsAreReusedLastInFirstOut)
{
	using Pool = StaticObjectPool<Record<4>>;
	std::uint32_t someSlotA, someSlotB;
	{
		CopyOnWriteWrapper<Record<4>> someA, someB;
		someA.MakeUnique();
		someB.MakeUnique();
		someSlotA = someA.GetSlotIndex();
		someSlotB = someB.GetSlotIndex();
	} // b is destroyed first, a last
	const Pool::Slot someNext = Pool::Instance().AllocateSlot();
	EXPECT_EQ(someNext.myBucket->IndexOf(someNext.myValue), someSlotA);
	EXPECT_EQ(someNext.myBucket->myCounts[someSlotA], 1);
	const Pool::Slot someAfter = Pool::Instance().AllocateSlot();
	EXPECT_EQ(someAfter.myBucket->IndexOf(someAfter.myValue), someSlotB);
	Pool::Release(someNext.myBucket, someNext.myValue);
	Pool::Release(someAfter.myBucket, someAfter.myValue);
}

TEST(StaticObjectPool, TheLiveValueAfterAFullBucketOpensASecondOne)
{
	using Pool = StaticObjectPool<Record<5>>;
	std::vector<CopyOnWriteWrapper<Record<5>>> someHandles(POOL_BUCKET_SIZE - 1);
	for (CopyOnWriteWrapper<Record<5>>& someHandle : someHandles)
		someHandle.MakeUnique();
	EXPECT_EQ(Pool::Instance().GetBucketCount(), 1u);
	EXPECT_EQ(someHandles.back().GetSlotIndex(), POOL_BUCKET_SIZE - 1);

	CopyOnWriteWrapper<Record<5>> someOverflow;
	someOverflow.Write().myValue = 1;
	EXPECT_EQ(Pool::Instance().GetBucketCount(), 2u);
	EXPECT_EQ(someOverflow.GetBucket(), Pool::Instance().GetBucket(1));
	EXPECT_EQ(someOverflow.GetSlotIndex(), 0u);
	EXPECT_EQ(someHandles.front()->myValue, 42);
}

TEST(StaticObjectPool, FreshDefaultGivesAnOwnSlotWithTheDefaultValue)
{
	CopyOnWriteWrapper<Record<6>> someHandle;
	someHandle.Write().myValue = 9;
	CopyOnWriteWrapper<Record<6>> someShared(someHandle);
	someShared.ResetToFreshDefault();
	EXPECT_EQ(someShared->myValue, 42);
	EXPECT_EQ(someShared.GetUseCount(), 1);
	EXPECT_EQ(someHandle.GetUseCount(), 1);
	EXPECT_EQ(someHandle->myValue, 9);
}

TEST(StaticObjectPool, HandlesOutlivingTheirPoolAreHarmless)
{
	CopyOnWriteWrapper<Record<99>> someHandle;
	someHandle.Write().myValue = 3;
	ourOutlivingHandle.emplace(someHandle);
	EXPECT_EQ(someHandle.GetUseCount(), 2);
}
