// The sprite drawer, rendered headless and read back: placement, batching into
// draw calls, default textures, mirroring and its failure paths.
#include "Support/AssertRecorder.h"
#include "Support/GraphicsSetUp.h"
#include "d3d11/TestSeams.h"
#include "drawers/SpriteDrawer.h"
#include "engine/DrawCalls.h"
#include "graphics/Camera.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/SpriteShader.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace
{
	constexpr unsigned WIDTH = 400;
	constexpr unsigned HEIGHT = 400;

	class Sprites : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(mySetUp.IsGraphicsReady());
			myDrawer = mySetUp.Graphics().GetSpriteDrawer();
			mySetUp.DX11().Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
			mySetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
		}

		// Is the pixel at (x, y) in interface coordinates (y up) lit?
		bool IsLit(const std::vector<std::uint8_t>& aBytes, unsigned aX, unsigned aY) const
		{
			return mySetUp.PixelAt(aBytes, aX, HEIGHT - 1 - aY)[1] > 128;
		}

		// The rectangle from (aLeft, aBottom) to (aRight, aTop) is lit aMargin pixels
		// inside its corners and unlit aMargin pixels outside each side.
		void ExpectLitRectangle(const std::vector<std::uint8_t>& aBytes, unsigned aLeft, unsigned aBottom, unsigned aRight, unsigned aTop, unsigned aMargin) const
		{
			const unsigned someMiddleX = (aLeft + aRight) / 2;
			const unsigned someMiddleY = (aBottom + aTop) / 2;
			EXPECT_TRUE(IsLit(aBytes, aLeft + aMargin, aBottom + aMargin));
			EXPECT_TRUE(IsLit(aBytes, aRight - aMargin, aTop - aMargin));
			EXPECT_FALSE(IsLit(aBytes, aLeft - aMargin, someMiddleY));
			EXPECT_FALSE(IsLit(aBytes, aRight + aMargin, someMiddleY));
			EXPECT_FALSE(IsLit(aBytes, someMiddleX, aBottom - aMargin));
			EXPECT_FALSE(IsLit(aBytes, someMiddleX, aTop + aMargin));
		}

		// An sRGB texture one row of two texels (RGBA bytes, left first) high, viewed by aRecord.
		bool MakeTwoTexelTexture(const std::array<std::uint8_t, 8>& somePixels, Norv::Texture& aRecord)
		{
			const D3D11_TEXTURE2D_DESC someDesc{ 2, 1, 1, 1, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB, { 1, 0 }, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0 };
			const D3D11_SUBRESOURCE_DATA someData{ somePixels.data(), 8, 0 };
			Microsoft::WRL::ComPtr<ID3D11Texture2D>& someTexture = myTextures.emplace_back();
			return Norv::DX11::ourDevice->CreateTexture2D(&someDesc, &someData, someTexture.GetAddressOf()) == S_OK
				&& Norv::DX11::ourDevice->CreateShaderResourceView(someTexture.Get(), nullptr, aRecord.myView.GetAddressOf()) == S_OK;
		}

		static Norv::Sprite2DInstanceData Sprite(Norv::Vector2<float> aPosition, Norv::Vector2<float> aSize)
		{
			Norv::Sprite2DInstanceData someSprite;
			someSprite.myPosition = aPosition;
			someSprite.mySize = aSize;
			return someSprite;
		}

		NorvTest::GraphicsSetUp mySetUp{ { WIDTH, HEIGHT } };
		Norv::SpriteDrawer* myDrawer = nullptr;
		std::vector<Microsoft::WRL::ComPtr<ID3D11Texture2D>> myTextures; // for the test's length
	};
}

TEST_F(Sprites, RotationTurnsCounterClockwiseAboutThePivot)
{
	constexpr float EIGHTH_TURN = 0.7853982f; // radians
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		Norv::Sprite2DInstanceData someRising = Sprite({ 100.0f, 100.0f }, { 120.0f, 6.0f });
		someRising.myRotation = EIGHTH_TURN;
		someBatch.Draw(someRising);
		Norv::Sprite2DInstanceData someFalling = Sprite({ 300.0f, 300.0f }, { 120.0f, 6.0f });
		someFalling.myRotation = -EIGHTH_TURN;
		someBatch.Draw(someFalling);
	}
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	// A bar along x turned an eighth counter-clockwise rises to the right (y up).
	EXPECT_TRUE(IsLit(someBytes, 130, 130));
	EXPECT_TRUE(IsLit(someBytes, 70, 70));
	EXPECT_FALSE(IsLit(someBytes, 130, 70));
	EXPECT_FALSE(IsLit(someBytes, 130, 100)) << "the unturned bar's place";
	EXPECT_TRUE(IsLit(someBytes, 330, 270));
	EXPECT_FALSE(IsLit(someBytes, 330, 330));
}

TEST_F(Sprites, CentredPivotCoversSizeAroundThePosition)
{
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.Draw(Sprite({ 200.0f, 300.0f }, { 100.0f, 50.0f }));
	}
	ExpectLitRectangle(mySetUp.ReadBackBuffer(), 150, 275, 250, 325, 2);
}

TEST_F(Sprites, ZeroPivotHangsTheSpriteBelowItsPosition)
{
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		Norv::Sprite2DInstanceData someSprite = Sprite({ 100.0f, 100.0f }, { 20.0f, 30.0f });
		someSprite.myPivot = { 0.0f, 0.0f };
		someBatch.Draw(someSprite);
	}
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	EXPECT_TRUE(IsLit(someBytes, 101, 99));
	EXPECT_TRUE(IsLit(someBytes, 118, 72));
	EXPECT_FALSE(IsLit(someBytes, 110, 102));
	EXPECT_FALSE(IsLit(someBytes, 98, 90));
}

TEST_F(Sprites, TheStackTransformPlacesTheBatch)
{
	Norv::GraphicsStateStack* someStack = mySetUp.Graphics().GetGraphicsStateStack();
	someStack->Push();
	someStack->Translate({ 100.0f, 0.0f, 0.0f });
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.Draw(Sprite({ 50.0f, 50.0f }, { 10.0f, 10.0f }));
	}
	someStack->Pop();
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	EXPECT_TRUE(IsLit(someBytes, 150, 50));
	EXPECT_FALSE(IsLit(someBytes, 50, 50));
}

TEST_F(Sprites, FullBatchesSplitIntoDrawCallsOfBatchSize)
{
	std::vector<Norv::Sprite2DInstanceData> someSprites(Norv::SpriteDrawer::BATCH_SIZE + 1, Sprite({ 10.0f, 10.0f }, { 2.0f, 2.0f }));
	Norv::DrawCalls::BeginFrame();
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.DrawMany(someSprites.data(), someSprites.size());
		EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 1u) << "the first 1024 went out when the chunk filled";
	}
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 2u);

	someSprites[0].myIsHidden = true;
	someSprites[1].myIsHidden = true;
	Norv::DrawCalls::BeginFrame();
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.DrawMany(someSprites.data(), someSprites.size());
	}
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 1u) << "hidden sprites are not counted";
}

// Each batch maps the instance buffer anew and its draw uploads only its own
// records: a smaller later batch must not cut short what an earlier one drew,
// and a larger one must see all of its records, the last included.
TEST_F(Sprites, BatchesOfEverySizeDrawAllTheirSprites)
{
	const auto row = [](float aY, int aCount) {
		std::vector<Norv::Sprite2DInstanceData> someRow;
		for (int i = 0; i < aCount; ++i)
			someRow.push_back(Sprite({ 20.0f + 40.0f * static_cast<float>(i), aY }, { 10.0f, 10.0f }));
		return someRow;
	};
	const std::vector<std::vector<Norv::Sprite2DInstanceData>> someRows = { row(50.0f, 9), row(150.0f, 2), row(250.0f, 7) };
	for (const std::vector<Norv::Sprite2DInstanceData>& someRow : someRows)
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.DrawMany(someRow.data(), someRow.size());
	}
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	for (const std::vector<Norv::Sprite2DInstanceData>& someRow : someRows)
	{
		for (const Norv::Sprite2DInstanceData& someSprite : someRow)
			EXPECT_TRUE(IsLit(someBytes, static_cast<unsigned>(someSprite.myPosition.x), static_cast<unsigned>(someSprite.myPosition.y)))
				<< someSprite.myPosition.x << ", " << someSprite.myPosition.y;
		const Norv::Vector2<float> someNext = someRow.back().myPosition + Norv::Vector2<float>(40.0f, 0.0f);
		EXPECT_FALSE(IsLit(someBytes, static_cast<unsigned>(someNext.x), static_cast<unsigned>(someNext.y))) << "no stale record after the row";
	}
}

TEST_F(Sprites, ThreeDimensionalSpritesTakeTheirTransformThenTheStacks)
{
	Norv::Sprite3DInstanceData someSprite;
	someSprite.myTransform = Norv::Matrix4x4::CreateScale({ 30.0f, 30.0f, 1.0f }) * Norv::Matrix4x4::CreateTranslation({ 300.0f, 100.0f, 0.0f });
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.Draw(someSprite);
	}
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	EXPECT_TRUE(IsLit(someBytes, 315, 85)) << "the quad hangs down from its origin";
	EXPECT_FALSE(IsLit(someBytes, 315, 115));

	// Placed in a world scaled by 2 about (50, 200), as a level places its sprites:
	// scaled by 30 to (0..30, -30..0), moved to (20..50, 10..40), then the stack's
	// transform: (90..150, 220..280). The other order would scale the stack's
	// offset by 30 too, far off the screen.
	mySetUp.DX11().Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
	Norv::GraphicsStateStack* someStack = mySetUp.Graphics().GetGraphicsStateStack();
	someStack->Push();
	someStack->Translate({ 50.0f, 200.0f, 0.0f });
	someStack->Scale(2.0f);
	someSprite.myTransform = Norv::Matrix4x4::CreateScale({ 30.0f, 30.0f, 1.0f }) * Norv::Matrix4x4::CreateTranslation({ 20.0f, 40.0f, 0.0f });
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.Draw(someSprite);
	}
	someStack->Pop();
	ExpectLitRectangle(mySetUp.ReadBackBuffer(), 90, 220, 150, 280, 3);
}

TEST_F(Sprites, NoTexturesMeansTheWhiteSquareTintedByTheColour)
{
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		Norv::Sprite2DInstanceData someSprite = Sprite({ 200.0f, 200.0f }, { 50.0f, 50.0f });
		someSprite.myColor = Norv::Color(1.0f, 0.5f, 0.0f, 1.0f);
		someBatch.Draw(someSprite);
	}
	const auto somePixel = mySetUp.PixelAt(mySetUp.ReadBackBuffer(), 200, HEIGHT - 200);
	EXPECT_NEAR(somePixel[0], 255, 1);
	EXPECT_NEAR(somePixel[1], 128, 1) << "sRGB colour in, the same sRGB bytes out";
	EXPECT_NEAR(somePixel[2], 0, 1);
}

TEST_F(Sprites, TheSecondRectangleMirrorsTheTexture)
{
	// Left column red, right column blue.
	Norv::Texture someRecord;
	ASSERT_TRUE(MakeTwoTexelTexture({ 255, 0, 0, 255, 0, 0, 255, 255 }, someRecord));

	mySetUp.Graphics().GetGraphicsStateStack()->SetSamplerState(Norv::SamplerFilters::POINT, Norv::SamplerAddresses::CLAMP);
	Norv::SpriteSharedData someShared;
	someShared.myColorTexture = &someRecord;
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch(someShared);
		someBatch.Draw(Sprite({ 100.0f, 200.0f }, { 80.0f, 80.0f }));
		Norv::Sprite2DInstanceData someMirrored = Sprite({ 300.0f, 200.0f }, { 80.0f, 80.0f });
		someMirrored.mySecondRect = { 1.0f, 0.0f, 0.0f, 1.0f };
		someBatch.Draw(someMirrored);
	}
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	EXPECT_EQ(mySetUp.PixelAt(someBytes, 80, 200)[0], 255) << "plain: red on the left";
	EXPECT_EQ(mySetUp.PixelAt(someBytes, 120, 200)[2], 255);
	EXPECT_EQ(mySetUp.PixelAt(someBytes, 280, 200)[2], 255) << "mirrored: blue on the left";
	EXPECT_EQ(mySetUp.PixelAt(someBytes, 320, 200)[0], 255);
}

TEST_F(Sprites, TransparentTexelsHideNothingBehindThemWithTheDepthTestOn)
{
	// Left texel clear (and pale, as a painted sprite's empty ground often is), right texel red.
	Norv::Texture someRecord;
	ASSERT_TRUE(MakeTwoTexelTexture({ 240, 240, 230, 0, 255, 0, 0, 255 }, someRecord));

	// Looking along +z from z = -500: the sprite at z 100 is in front of the one at z 200.
	Norv::DX11::ourBackBuffer->SetAsActiveTarget(Norv::DX11::ourDepthBuffer);
	Norv::GraphicsStateStack& someStates = *mySetUp.Graphics().GetGraphicsStateStack();
	Norv::Camera someCamera;
	someCamera.SetOrthographicProjection(0.0f, static_cast<float>(WIDTH), 0.0f, static_cast<float>(HEIGHT), 1.0f, 1000.0f);
	someCamera.myTransform.SetTranslation({ 0.0f, 0.0f, -500.0f });
	someStates.Push();
	someStates.SetCamera(someCamera);
	someStates.SetSamplerState(Norv::SamplerFilters::POINT, Norv::SamplerAddresses::CLAMP);
	Norv::SpriteSharedData someShared;
	someShared.myColorTexture = &someRecord;
	Norv::Sprite3DInstanceData someFront;
	someFront.myTransform = Norv::Matrix4x4::CreateScale({ 80.0f, 80.0f, 1.0f }) * Norv::Matrix4x4::CreateTranslation({ 100.0f, 300.0f, 100.0f });
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch(someShared);
		someBatch.Draw(someFront);
	}
	// Drawn afterwards and further away, as the hub's signs are drawn after its butterflies.
	Norv::Sprite3DInstanceData someBehind;
	someBehind.myTransform = Norv::Matrix4x4::CreateScale({ 100.0f, 100.0f, 1.0f }) * Norv::Matrix4x4::CreateTranslation({ 90.0f, 310.0f, 200.0f });
	someBehind.myColor = Norv::Color(0.0f, 1.0f, 0.0f, 1.0f);
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.Draw(someBehind);
	}
	someStates.Pop();
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	const auto someClear = mySetUp.PixelAt(someBytes, 120, HEIGHT - 260);
	const auto someRed = mySetUp.PixelAt(someBytes, 160, HEIGHT - 260);
	EXPECT_GT(someRed[0], 240) << "the opaque half hides what lies behind it";
	EXPECT_LT(someRed[1], 16);
	EXPECT_GT(someClear[1], 240) << "the clear half shows what lies behind it, not a pale square";
	EXPECT_LT(someClear[0], 16);
}

TEST_F(Sprites, ASecondOpenBatchAssertsAndDrawsNothing)
{
	NorvTest::AssertRecorder someAsserts;
	Norv::DrawCalls::BeginFrame();
	{
		Norv::SpriteBatchScope someFirst = myDrawer->BeginBatch({});
		{
			Norv::SpriteBatchScope someSecond = myDrawer->BeginBatch({});
			someSecond.Draw(Sprite({ 10.0f, 10.0f }, { 4.0f, 4.0f }));
		}
		EXPECT_TRUE(someAsserts.Saw("!myIsInBatch"));
		someFirst.Draw(Sprite({ 10.0f, 10.0f }, { 4.0f, 4.0f }));
	}
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 1u);
	EXPECT_EQ(someAsserts.Count(), 1u);
	Norv::SpriteBatchScope someAfter = myDrawer->BeginBatch({});
	EXPECT_EQ(someAsserts.Count(), 1u) << "the drawer is free again";
}

TEST_F(Sprites, AFailedMapSkipsTheDraw)
{
	Norv::DrawCalls::BeginFrame();
	Platform::SetMapFailureOverride([] { return true; });
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch({});
		someBatch.Draw(Sprite({ 200.0f, 200.0f }, { 50.0f, 50.0f }));
	}
	Platform::SetMapFailureOverride({});
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 0u);
	EXPECT_FALSE(IsLit(mySetUp.ReadBackBuffer(), 200, 200));
}

TEST_F(Sprites, AShaderThatCannotPrepareDrawsNothing)
{
	Norv::SpriteShader someBroken;
	EXPECT_FALSE(someBroken.Init("shaders/no_such_VS", "shaders/no_such_PS"));
	Norv::SpriteSharedData someShared;
	someShared.myCustomShader = &someBroken;
	Norv::DrawCalls::BeginFrame();
	{
		Norv::SpriteBatchScope someBatch = myDrawer->BeginBatch(someShared);
		someBatch.Draw(Sprite({ 200.0f, 200.0f }, { 50.0f, 50.0f }));
	}
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), 0u);
	EXPECT_FALSE(IsLit(mySetUp.ReadBackBuffer(), 200, 200));
}
