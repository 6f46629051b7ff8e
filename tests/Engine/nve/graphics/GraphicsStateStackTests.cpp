// The graphics state stack: transforms, frame start defaults, cameras, lights
// and what a forced update re-sends.
#include "Support/AssertRecorder.h"
#include "Support/GraphicsSetUp.h"
#include "Support/ImageEncoding.h"
#include "drawers/SpriteDrawer.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <array>

namespace
{
	class StateStack : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(mySetUp.IsGraphicsReady());
			myStack = mySetUp.Graphics().GetGraphicsStateStack();
		}

		// ClearState (as a resize does), then a frame that draws aSprite over black:
		// the pixel at (aX, aY).
		std::array<std::uint8_t, 4> PixelAfterClearState(const Norv::Sprite2DInstanceData& aSprite, unsigned aX, unsigned aY,
			const Norv::SpriteSharedData& aShared = {})
		{
			Norv::DX11::ourContext->ClearState();
			mySetUp.DX11().Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
			myStack->BeginFrame();
			{
				Norv::SpriteBatchScope someBatch = mySetUp.Graphics().GetSpriteDrawer()->BeginBatch(aShared);
				someBatch.Draw(aSprite);
			}
			return mySetUp.PixelAt(mySetUp.ReadBackBuffer(), aX, aY);
		}

		NorvTest::GraphicsSetUp mySetUp{ { 200, 100 } };
		Norv::GraphicsStateStack* myStack = nullptr;
	};
}

TEST_F(StateStack, PushChangePopRestoresTheState)
{
	myStack->Push();
	myStack->Translate({ 10.0f, 0.0f, 0.0f });
	myStack->Scale(2.0f);
	EXPECT_FALSE(myStack->GetTransform() == Norv::Matrix4x4());
	myStack->Pop();
	EXPECT_EQ(myStack->GetTransform(), Norv::Matrix4x4());
	EXPECT_EQ(myStack->GetStackSize(), 1u);
}

TEST_F(StateStack, TranslateAfterScaleMovesInTheScaledFrame)
{
	myStack->Push();
	myStack->Scale(2.0f);
	myStack->Translate({ 10.0f, -3.0f, 1.0f });
	EXPECT_EQ(myStack->GetTransform().GetTranslation(), (Norv::Vector3<float>{ 20.0f, -6.0f, 2.0f }));
	EXPECT_FLOAT_EQ(myStack->GetTransform()(1, 1), 2.0f);
	myStack->Pop();
}

TEST_F(StateStack, PoppingTheLastStateAssertsAndKeepsIt)
{
	NorvTest::AssertRecorder someAsserts;
	myStack->Pop();
	EXPECT_TRUE(someAsserts.Saw("myRenderStateStack.size() > 1"));
	EXPECT_EQ(myStack->GetStackSize(), 1u);
}

TEST_F(StateStack, BeginFrameWithUnbalancedPushesAsserts)
{
	myStack->Push();
	NorvTest::AssertRecorder someAsserts;
	myStack->BeginFrame();
	EXPECT_TRUE(someAsserts.Saw("myRenderStateStack.size() == 1"));
	myStack->Pop();
}

TEST_F(StateStack, BeginFrameGivesTheInterfaceDefaults)
{
	myStack->SetSamplerState(Norv::SamplerFilters::POINT, Norv::SamplerAddresses::CLAMP);
	myStack->Translate({ 5.0f, 5.0f, 0.0f });
	myStack->BeginFrame();
	const Norv::RenderState& someTop = myStack->GetTop();
	EXPECT_EQ(someTop.myBlendState, Norv::BlendStates::ALPHA_BLEND);
	EXPECT_EQ(someTop.mySamplerFilter * Norv::SamplerAddresses::COUNT + someTop.mySamplerAddress, 7u) << "anisotropic wrap";
	EXPECT_EQ(someTop.myTransform, Norv::Matrix4x4());
	// Pixel space with y up: the top-right corner of the back buffer maps to (1, 1).
	const Norv::Vector4<float> someCorner = Norv::Vector4<float>(200.0f, 100.0f, 0.0f, 1.0f) * someTop.myCamera.myProjection;
	EXPECT_NEAR(someCorner.x, 1.0f, 1e-5f);
	EXPECT_NEAR(someCorner.y, 1.0f, 1e-5f);
	const Norv::Vector4<float> someOrigin = Norv::Vector4<float>(0.0f, 0.0f, 0.0f, 1.0f) * someTop.myCamera.myProjection;
	EXPECT_NEAR(someOrigin.y, -1.0f, 1e-5f);
}

TEST_F(StateStack, EverySetCameraIsANewVersion)
{
	const Norv::Camera someCamera;
	myStack->SetCamera(someCamera);
	const std::uint32_t someFirst = myStack->GetTop().myCameraVersion;
	myStack->SetCamera(someCamera);
	EXPECT_NE(myStack->GetTop().myCameraVersion, someFirst) << "the same camera is still sent again";
}

TEST_F(StateStack, AFrameAfterClearStateDrawsWithTheStatesAgain)
{
	// ClearState (as a resize does) drops blending; the next frame start must bring it back.
	Norv::Sprite2DInstanceData someSprite;
	someSprite.myPosition = { 100.0f, 50.0f };
	someSprite.mySize = { 40.0f, 40.0f };
	someSprite.myColor = Norv::Color(1.0f, 1.0f, 1.0f, 0.5f);
	const auto somePixel = PixelAfterClearState(someSprite, 100, 50);
	EXPECT_NEAR(somePixel[0], 188, 2) << "half of white over black, blended in linear light";
}

TEST_F(StateStack, AFrameAfterClearStateDrawsMirroredSpritesAgain)
{
	// ClearState also restores back-face culling; sprites are drawn with none,
	// so a mirrored sprite vanishes unless the frame start re-sends the rasterizer state.
	Norv::Sprite2DInstanceData someSprite;
	someSprite.myPosition = { 100.0f, 50.0f };
	someSprite.mySize = { 40.0f, 40.0f };
	someSprite.mySizeScale = { -1.0f, 1.0f };
	EXPECT_GT(PixelAfterClearState(someSprite, 100, 50)[0], 200);
}

TEST_F(StateStack, AFrameAfterClearStateSamplesWithTheWrappingSamplerAgain)
{
	// ClearState unbinds the samplers, leaving clamped sampling; the frame's
	// default wraps. Left texel red, right green; the sprite shows the texture twice.
	mySetUp.Folder().Write("data/halves.png", NorvTest::EncodePng(2, 1, { 255, 0, 0, 255, 0, 255, 0, 255 }));
	Norv::Texture* someTexture = mySetUp.Textures().GetTexture("halves.png", Norv::TEXTURE_MODE_FORCE_SRGB);
	ASSERT_FALSE(someTexture->myIsFailed);
	Norv::SpriteSharedData someShared;
	someShared.myColorTexture = someTexture;
	Norv::Sprite2DInstanceData someSprite;
	someSprite.myPosition = { 100.0f, 50.0f };
	someSprite.mySize = { 160.0f, 20.0f };
	someSprite.myUvRect = { 0.0f, 0.0f, 2.0f, 1.0f };
	// x = 120 is u = 1.25: the red texel again when wrapping, green when clamped.
	const auto somePixel = PixelAfterClearState(someSprite, 120, 50, someShared);
	EXPECT_GT(somePixel[0], 200);
	EXPECT_GT(somePixel[0], somePixel[1] + 100) << "red, whatever the filter blends in";
}

TEST_F(StateStack, AMovedCameraViewsTheWorldFromItsPlace)
{
	// The camera stands at (50, 20): a sprite at (100, 50) shows at (50, 30), y up.
	mySetUp.DX11().Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
	myStack->BeginFrame();
	Norv::Camera someCamera = myStack->GetTop().myCamera;
	someCamera.myTransform.SetTranslation({ 50.0f, 20.0f, 0.0f });
	myStack->SetCamera(someCamera);
	{
		Norv::SpriteBatchScope someBatch = mySetUp.Graphics().GetSpriteDrawer()->BeginBatch({});
		Norv::Sprite2DInstanceData someSprite;
		someSprite.myPosition = { 100.0f, 50.0f };
		someSprite.mySize = { 16.0f, 16.0f };
		someBatch.Draw(someSprite);
	}
	const std::vector<std::uint8_t> someBytes = mySetUp.ReadBackBuffer();
	EXPECT_GT(mySetUp.PixelAt(someBytes, 50, 100 - 30)[0], 200);
	EXPECT_LT(mySetUp.PixelAt(someBytes, 150, 100 - 70)[0], 50) << "not moved the other way";
	EXPECT_LT(mySetUp.PixelAt(someBytes, 100, 100 - 50)[0], 50) << "not left in place";
}
