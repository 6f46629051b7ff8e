// Vertex hashing and merging.
#include "VertexMerge.h"

#include <gtest/gtest.h>

using NorvFbx::Vertex;

namespace
{
	Vertex MakeVertex(float aX)
	{
		Vertex someVertex;
		someVertex.position = { aX, 2.0f, 0.0f, 1.0f };
		someVertex.normal = { 0.0f, 1.0f, 0.0f };
		someVertex.bones[0] = 3;
		someVertex.weights[0] = 1.0f;
		return someVertex;
	}
}

TEST(VertexMerge, HashTreatsSignedZerosAlikeAndIgnoresW)
{
	Vertex someNegative = MakeVertex(-0.0f);
	const Vertex somePositive = MakeVertex(0.0f);
	EXPECT_EQ(NorvFbx::impl::HashVertex(someNegative), NorvFbx::impl::HashVertex(somePositive));
	Vertex someOtherW = somePositive;
	someOtherW.position.w = 0.0f;
	EXPECT_EQ(NorvFbx::impl::HashVertex(someOtherW), NorvFbx::impl::HashVertex(somePositive));
	Vertex someOtherBone = somePositive;
	someOtherBone.bones[0] = 4;
	EXPECT_NE(NorvFbx::impl::HashVertex(someOtherBone), NorvFbx::impl::HashVertex(somePositive));
	NorvFbx::impl::NormaliseZeros(someNegative);
	EXPECT_FALSE(std::signbit(someNegative.position.x));
}

TEST(VertexMerge, EqualHashesAloneDoNotMergeDifferentVertices)
{
	std::vector<Vertex> someVertices;
	std::vector<std::uint32_t> someIndices;
	NorvFbx::impl::VertexMerger someMerger(8, 2, someVertices, someIndices);
	Vertex someOtherW = MakeVertex(1.0f);
	someOtherW.position.w = 0.0f; // same hash, different vertex
	// Control point 0 makes the first two; equal vertices merge whichever point made them.
	someMerger.Add(MakeVertex(1.0f), 0);
	someMerger.Add(someOtherW, 0);
	someMerger.Add(MakeVertex(1.0f), 1);
	someMerger.Add(MakeVertex(-0.0f), 1);
	someMerger.Add(MakeVertex(0.0f), 0);
	someMerger.Flush();
	someMerger.Add(MakeVertex(1.0f), 1);
	someMerger.Add(MakeVertex(0.0f), 0);
	someMerger.Add(someOtherW, 1);
	someMerger.Flush();
	EXPECT_EQ(someIndices, (std::vector<std::uint32_t>{ 0, 1, 0, 2, 2, 0, 2, 1 }));
	ASSERT_EQ(someVertices.size(), 3u);
	EXPECT_EQ(someVertices[1].position.w, 0.0f);
}

TEST(VertexMerge, TheTableGrowsPastItsFirstSize)
{
	std::vector<Vertex> someVertices;
	std::vector<std::uint32_t> someIndices;
	NorvFbx::impl::VertexMerger someMerger(4, 1000, someVertices, someIndices);
	for (int someRound = 0; someRound < 2; ++someRound)
		for (int i = 0; i < 1000; ++i)
			someMerger.Add(MakeVertex(static_cast<float>(i)), static_cast<std::uint32_t>(999 - i));
	someMerger.Flush();
	ASSERT_EQ(someVertices.size(), 1000u);
	ASSERT_EQ(someIndices.size(), 2000u);
	for (std::uint32_t i = 0; i < 1000; ++i)
	{
		EXPECT_EQ(someIndices[i], i);
		EXPECT_EQ(someIndices[i + 1000], i);
	}
}
