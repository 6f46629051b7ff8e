#include "VertexMerge.h"

#include <bit>
#include <algorithm>
#include <cstring>

namespace NorvFbx::impl
{
	namespace
	{
		constexpr std::uint64_t HASH_COMBINE_CONSTANT = 0x9e3779b9ull;

		std::uint32_t FieldBits(float aValue)
		{
			return aValue == 0.0f ? 0u : std::bit_cast<std::uint32_t>(aValue);
		}

		std::uint64_t HashField(std::uint32_t aBits)
		{
			std::uint64_t someHash = Norv::FNV1A_OFFSET_BASIS;
			for (int i = 0; i < 4; ++i)
			{
				someHash ^= (aBits >> (8 * i)) & 0xffu;
				someHash *= Norv::FNV1A_PRIME;
			}
			return someHash;
		}
	}

	namespace
	{
		constexpr int HASHED_FIELDS = 44;

		// The hashed fields' bits in hashing order.
		void FieldsOf(const Vertex& aVertex, std::uint32_t (&aBits)[HASHED_FIELDS])
		{
			int n = 0;
			aBits[n++] = FieldBits(aVertex.position.x);
			aBits[n++] = FieldBits(aVertex.position.y);
			aBits[n++] = FieldBits(aVertex.position.z);
			for (const Norv::Vector4<float>& c : aVertex.color)
				for (float f : { c.x, c.y, c.z, c.w })
					aBits[n++] = FieldBits(f);
			for (const Norv::Vector2<float>& uv : aVertex.uv)
			{
				aBits[n++] = FieldBits(uv.x);
				aBits[n++] = FieldBits(uv.y);
			}
			for (const Norv::Vector3<float>* v : { &aVertex.normal, &aVertex.tangent, &aVertex.binormal })
				for (float f : { v->x, v->y, v->z })
					aBits[n++] = FieldBits(f);
			for (std::uint32_t b : aVertex.bones)
				aBits[n++] = b;
			for (float w : aVertex.weights)
				aBits[n++] = FieldBits(w);
		}
	}

	std::uint64_t HashVertex(const Vertex& aVertex)
	{
		std::uint32_t someBits[HASHED_FIELDS];
		FieldsOf(aVertex, someBits);
		// Field hashes are independent of each other; only the combining is serial.
		std::uint64_t someHash = 0;
		for (std::uint32_t someField : someBits)
			someHash ^= HashField(someField) + HASH_COMBINE_CONSTANT + (someHash << 6) + (someHash >> 2);
		return someHash;
	}

	bool SameVertex(const Vertex& aLeft, const Vertex& aRight)
	{
		std::uint32_t someLeft[HASHED_FIELDS];
		std::uint32_t someRight[HASHED_FIELDS];
		FieldsOf(aLeft, someLeft);
		FieldsOf(aRight, someRight);
		return FieldBits(aLeft.position.w) == FieldBits(aRight.position.w) && std::memcmp(someLeft, someRight, sizeof(someLeft)) == 0;
	}

	VertexMerger::VertexMerger(size_t aExpected)
	{
		const size_t someCapacity = std::bit_ceil(std::max<size_t>(aExpected * 2, 16));
		mySlots.resize(someCapacity);
		myMask = someCapacity - 1;
	}

	std::uint32_t VertexMerger::Add(const Vertex& aVertex, std::vector<Vertex>& aVertices)
	{
		const std::uint64_t someHash = HashVertex(aVertex);
		for (size_t someSlot = (someHash ^ (someHash >> 32)) & myMask;; someSlot = (someSlot + 1) & myMask)
		{
			Slot& slot = mySlots[someSlot];
			if (slot.index == EMPTY)
			{
				slot.hash = someHash;
				slot.index = static_cast<std::uint32_t>(aVertices.size());
				aVertices.push_back(aVertex);
				return slot.index;
			}
			if (slot.hash == someHash && SameVertex(aVertices[slot.index], aVertex))
				return slot.index;
		}
	}
}
