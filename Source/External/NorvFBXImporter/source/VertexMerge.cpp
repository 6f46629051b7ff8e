#include "VertexMerge.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

namespace NorvFbx::impl
{
	namespace
	{
		constexpr std::uint64_t HASH_COMBINE_CONSTANT = 0x9e3779b9ull;

		constexpr std::uint64_t HashBytes(std::uint32_t aBits)
		{
			std::uint64_t someHash = Norv::FNV1A_OFFSET_BASIS;
			for (int i = 0; i < 4; ++i)
			{
				someHash ^= (aBits >> (8 * i)) & 0xffu;
				someHash *= Norv::FNV1A_PRIME;
			}
			return someHash;
		}

		// Most fields of most vertices are zero (unused colour and UV sets, bones).
		constexpr std::uint64_t ZERO_FIELD_HASH = HashBytes(0);

		std::uint64_t HashField(std::uint32_t aBits)
		{
			return aBits == 0 ? ZERO_FIELD_HASH : HashBytes(aBits);
		}
	}

	namespace
	{
		// The vertex as 45 four-byte words: floats, except the four bone indices.
		constexpr int VERTEX_WORDS = 45;
		constexpr int POSITION_W_WORD = 3;
		constexpr int FIRST_BONE_WORD = 37;
		constexpr int FIRST_WEIGHT_WORD = 41;
		static_assert(offsetof(Vertex, bones) == FIRST_BONE_WORD * 4 && offsetof(Vertex, weights) == FIRST_WEIGHT_WORD * 4);
		static_assert(sizeof(Vertex) == VERTEX_WORDS * 4);

		constexpr bool IsFloatWord(int aWord)
		{
			return aWord < FIRST_BONE_WORD || aWord >= FIRST_WEIGHT_WORD;
		}

		constexpr std::uint32_t SIGN_BIT = 0x80000000u;
	}

	std::uint64_t HashVertex(const Vertex& aVertex)
	{
		std::uint32_t someWords[VERTEX_WORDS];
		std::memcpy(someWords, &aVertex, sizeof(Vertex));
		// Fields in memory order are the hashing order; w is left out, +-0 hash as 0.
		std::uint64_t someHash = 0;
		for (int i = 0; i < VERTEX_WORDS; ++i)
		{
			if (i == POSITION_W_WORD)
				continue;
			const std::uint32_t someBits = IsFloatWord(i) && (someWords[i] & ~SIGN_BIT) == 0 ? 0u : someWords[i];
			someHash ^= HashField(someBits) + HASH_COMBINE_CONSTANT + (someHash << 6) + (someHash >> 2);
		}
		return someHash;
	}

	void NormaliseZeros(Vertex& aVertex)
	{
		// Bone indices never reach the sign bit, so every word can be treated as a float.
		std::uint32_t someWords[VERTEX_WORDS];
		std::memcpy(someWords, &aVertex, sizeof(Vertex));
		for (std::uint32_t& someWord : someWords)
			someWord = someWord == SIGN_BIT ? 0u : someWord;
		std::memcpy(&aVertex, someWords, sizeof(Vertex));
	}

	VertexMerger::VertexMerger(size_t aCorners, size_t aControlPoints, std::vector<Vertex>& aVertices, std::vector<std::uint32_t>& aIndices)
		: myVertices(aVertices), myIndices(aIndices), myLastOfControlPoint(aControlPoints, EMPTY)
	{
		// Meshes share most corners; start at a quarter and grow as needed.
		const size_t someCapacity = std::bit_ceil(std::max<size_t>(aCorners / 4, 16));
		mySlots.resize(someCapacity);
		myMask = someCapacity - 1;
	}

	void VertexMerger::Add(const Vertex& aVertex, std::uint32_t aControlPoint)
	{
		Pending& somePending = myBatch[myBatchCount++];
		somePending.vertex = aVertex;
		NormaliseZeros(somePending.vertex);
		somePending.controlPoint = aControlPoint;
		// Merged vertices are unique, so an equal earlier vertex is the one the table holds.
		const std::uint32_t someLast = myLastOfControlPoint[aControlPoint];
		somePending.index = someLast != EMPTY && std::memcmp(&myVertices[someLast], &somePending.vertex, sizeof(Vertex)) == 0 ? someLast : EMPTY;
		if (somePending.index == EMPTY)
		{
			somePending.hash = HashVertex(somePending.vertex);
			__builtin_prefetch(&mySlots[SlotOf(somePending.hash)]);
		}
		if (myBatchCount == BATCH_SIZE)
			Flush();
	}

	void VertexMerger::Flush()
	{
		for (size_t i = 0; i < myBatchCount; ++i)
		{
			const Pending& somePending = myBatch[i];
			const std::uint32_t someIndex = somePending.index != EMPTY ? somePending.index : Insert(somePending);
			myLastOfControlPoint[somePending.controlPoint] = someIndex;
			myIndices.push_back(someIndex);
		}
		myBatchCount = 0;
	}

	std::uint32_t VertexMerger::Insert(const Pending& aPending)
	{
		for (size_t someSlot = SlotOf(aPending.hash);; someSlot = (someSlot + 1) & myMask)
		{
			Slot& slot = mySlots[someSlot];
			if (slot.index == EMPTY)
			{
				const std::uint32_t someIndex = static_cast<std::uint32_t>(myVertices.size());
				slot.hash = aPending.hash;
				slot.index = someIndex;
				myVertices.push_back(aPending.vertex);
				if (++myCount * 2 > mySlots.size())
					Grow();
				return someIndex;
			}
			// Bytes compare exactly once zeros share one sign.
			if (slot.hash == aPending.hash && std::memcmp(&myVertices[slot.index], &aPending.vertex, sizeof(Vertex)) == 0)
				return slot.index;
		}
	}

	void VertexMerger::Grow()
	{
		std::vector<Slot> someOld(mySlots.size() * 2);
		someOld.swap(mySlots);
		myMask = mySlots.size() - 1;
		for (const Slot& someSlot : someOld)
		{
			if (someSlot.index == EMPTY)
				continue;
			size_t someIndex = SlotOf(someSlot.hash);
			while (mySlots[someIndex].index != EMPTY)
				someIndex = (someIndex + 1) & myMask;
			mySlots[someIndex] = someSlot;
		}
	}
}
