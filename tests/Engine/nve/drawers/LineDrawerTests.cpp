// The line drawer: one draw call per batch, transform applied, colours as given,
// and more lines than the buffer holds.
#include "Support/AssertRecorder.h"
#include "Support/GraphicsSetUp.h"
#include "drawers/LineDrawer.h"
#include "engine/DrawCalls.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
	constexpr unsigned SIZE = 128;

	class Lines : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(mySetUp.IsGraphicsReady());
			myDrawer = mySetUp.Graphics().GetLineDrawer();
			ASSERT_TRUE(myDrawer->IsLoaded());
			mySetUp.DX11().Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
			mySetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
			Norv::DrawCalls::BeginFrame();
		}

		// Horizontal lines across the target at the given heights (y up).
		void DrawRows(const std::vector<float>& aHeights, const Norv::Vector4<float>& aColor)
		{
			myColors.assign(aHeights.size(), aColor);
			myFrom.clear();
			myTo.clear();
			for (float someHeight : aHeights)
			{
				myFrom.push_back({ 0.0f, someHeight, 0.0f });
				myTo.push_back({ static_cast<float>(SIZE), someHeight, 0.0f });
			}
			myDrawer->Draw({ myColors.data(), myFrom.data(), myTo.data(), aHeights.size() });
		}

		std::array<std::uint8_t, 4> PixelAt(unsigned aX, float aY) const
		{
			return mySetUp.PixelAt(mySetUp.ReadBackBuffer(), aX, SIZE - 1 - static_cast<unsigned>(aY));
		}

		NorvTest::GraphicsSetUp mySetUp{ { SIZE, SIZE } };
		Norv::LineDrawer* myDrawer = nullptr;
		std::vector<Norv::Vector4<float>> myColors;
		std::vector<Norv::Vector3<float>> myFrom, myTo;
	};
}

TEST_F(Lines, ABatchIsOneDrawCallWithColoursUnchanged)
{
	DrawRows({ 10.5f, 20.5f, 30.5f, 40.5f }, { 0.0f, 1.0f, 0.0f, 1.0f });
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 1u);
	for (float someHeight : { 10.5f, 20.5f, 30.5f, 40.5f })
		EXPECT_EQ(PixelAt(64, someHeight)[1], 255) << someHeight;
	EXPECT_EQ(PixelAt(64, 15.5f)[1], 0);
}

TEST_F(Lines, TheTopTransformMovesTheLines)
{
	Norv::GraphicsStateStack* someStack = mySetUp.Graphics().GetGraphicsStateStack();
	someStack->Push();
	someStack->Translate({ 0.0f, 50.0f, 0.0f });
	DrawRows({ 10.5f }, { 1.0f, 1.0f, 1.0f, 1.0f });
	someStack->Pop();
	EXPECT_EQ(PixelAt(64, 60.5f)[0], 255);
	EXPECT_EQ(PixelAt(64, 10.5f)[0], 0);
}

TEST_F(Lines, AnEmptyBatchStillIssuesItsDraw)
{
	DrawRows({}, {});
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 1u);
}

TEST_F(Lines, MoreLinesThanTheBufferHoldsAreDrawnInSeveralBatches)
{
	std::vector<float> someHeights(Norv::LineDrawer::MAX_LINES + 5, 0.5f);
	someHeights.back() = 100.5f; // only the last line, in the second batch, is up here
	NorvTest::AssertRecorder someAsserts;
	DrawRows(someHeights, { 1.0f, 0.0f, 0.0f, 1.0f });
	EXPECT_TRUE(someAsserts.Saw("A single multi Primivive can only draw 1000 lines"));
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 2u);
	EXPECT_EQ(PixelAt(64, 100.5f)[0], 255);
}
