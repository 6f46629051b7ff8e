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
	// Turns every -0 into +0, so that equal vertices have equal bytes.
	void NormaliseZeros(Vertex& aVertex);

	class VertexMerger
	{
	public:
		// Appends merged vertices to aVertices and one index per added vertex to
		// aIndices. aCorners: how many vertices will be added (sizes the first table);
		// aControlPoints: how many control points they are made from.
		VertexMerger(size_t aCorners, size_t aControlPoints, std::vector<Vertex>& aVertices, std::vector<std::uint32_t>& aIndices);

		// Equal vertices (compared whole, +0 equal to -0) share one index. A vertex equal
		// to the last one made from the same control point takes its index without a
		// lookup. Vertices are taken in small batches so the table lookups overlap:
		// Flush after the last.
		void Add(const Vertex& aVertex, std::uint32_t aControlPoint);
		void Flush();

	private:
		struct Slot
		{
			std::uint64_t hash = 0;
			std::uint32_t index = EMPTY;
		};
		struct Pending
		{
			Vertex vertex;
			std::uint64_t hash;
			std::uint32_t controlPoint;
			std::uint32_t index; // EMPTY until known
		};
		static constexpr std::uint32_t EMPTY = ~0u;
		static constexpr size_t BATCH_SIZE = 16;

		size_t SlotOf(std::uint64_t aHash) const { return (aHash ^ (aHash >> 32)) & myMask; }
		std::uint32_t Insert(const Pending& aPending);
		void Grow();

		std::vector<Vertex>& myVertices;
		std::vector<std::uint32_t>& myIndices;
		std::vector<Slot> mySlots;
		std::vector<std::uint32_t> myLastOfControlPoint;
		size_t myMask = 0;
		size_t myCount = 0;
		Pending myBatch[BATCH_SIZE];
		size_t myBatchCount = 0;
	};
}
