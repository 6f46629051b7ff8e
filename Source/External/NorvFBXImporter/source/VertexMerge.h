#pragma once
// Merging equal vertices: a 64-bit hash per vertex and an open-addressing table
// from hash to vertex index. A hash match is confirmed by comparing the whole
// vertex, so different vertices that share a hash stay apart.
#include "NorvFbxRecords.h"

namespace NorvFbx::impl
{
	// 44 fields (position x, y, z; colours; UVs; normal, tangent, binormal; bones;
	// weights), each hashed with FNV-1a over its 32-bit pattern (+-0 as 0) and combined.
	std::uint64_t HashVertex(const Vertex& aVertex);
	// Field by field (position w included); +0 and -0 are equal.
	bool SameVertex(const Vertex& aLeft, const Vertex& aRight);

	class VertexMerger
	{
	public:
		// aExpected: the most vertices that will be added (the table never fills past half).
		explicit VertexMerger(size_t aExpected);

		// The index of an equal vertex already in aVertices, or of aVertex appended to it.
		std::uint32_t Add(const Vertex& aVertex, std::vector<Vertex>& aVertices);

	private:
		struct Slot
		{
			std::uint64_t hash = 0;
			std::uint32_t index = EMPTY;
		};
		static constexpr std::uint32_t EMPTY = ~0u;

		std::vector<Slot> mySlots;
		size_t myMask = 0;
	};
}
