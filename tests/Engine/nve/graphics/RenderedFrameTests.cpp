// One whole frame as the engine draws it: a scene of sprites rendered into the
// pixelate effect's texture, the full-screen pixelate pass into the back buffer,
// then crisp sprites and lines on top. The frame is checked pixel by pixel and
// written to "RenderedFrame.png" in the working directory for people to look at.
#include "Support/GraphicsSetUp.h"
#include "drawers/LineDrawer.h"
#include "drawers/SpriteDrawer.h"
#include "graphics/FullscreenEffect.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cmath>
#include <vector>

namespace
{
	constexpr unsigned WIDTH = 480;
	constexpr unsigned HEIGHT = 270;
	constexpr float PI = 3.14159265f;

	// The back buffer's BGRA bytes as RGBA rows for the PNG.
	std::vector<std::uint8_t> ToRgba(std::vector<std::uint8_t> aBgra)
	{
		for (std::size_t i = 0; i + 3 < aBgra.size(); i += 4)
			std::swap(aBgra[i], aBgra[i + 2]);
		return aBgra;
	}

	void DrawScene(Norv::SpriteDrawer& aDrawer, Norv::Texture& aChecker)
	{
		Norv::SpriteSharedData someShared;
		someShared.myColorTexture = &aChecker;
		Norv::SpriteBatchScope someBatch = aDrawer.BeginBatch(someShared);
		Norv::Sprite2DInstanceData someSprite;
		someSprite.myPosition = { 120.0f, 135.0f };
		someSprite.mySize = { 160.0f, 160.0f };
		someBatch.Draw(someSprite);
	}

	void DrawOverlay(Norv::SpriteDrawer& aDrawer, Norv::LineDrawer& aLines)
	{
		{
			Norv::SpriteBatchScope someBatch = aDrawer.BeginBatch({});
			for (int i = 0; i < 12; ++i)
			{
				Norv::Sprite2DInstanceData someSprite;
				const float someAngle = 2.0f * PI * static_cast<float>(i) / 12.0f;
				someSprite.myPosition = { 340.0f + 80.0f * std::cos(someAngle), 135.0f + 80.0f * std::sin(someAngle) };
				someSprite.mySize = { 30.0f, 12.0f };
				someSprite.myRotation = someAngle;
				someSprite.myColor = Norv::Color(1.0f, static_cast<float>(i) / 11.0f, 0.2f, 1.0f);
				someBatch.Draw(someSprite);
			}
			Norv::Sprite2DInstanceData someCentre;
			someCentre.myPosition = { 340.0f, 135.0f };
			someCentre.mySize = { 60.0f, 60.0f };
			someCentre.myColor = Norv::Color(1.0f, 1.0f, 1.0f, 0.5f);
			someBatch.Draw(someCentre);
		}
		const std::vector<Norv::Vector4<float>> someColors(4, { 1.0f, 1.0f, 0.0f, 1.0f });
		const std::vector<Norv::Vector3<float>> someFrom = { { 20.5f, 20.5f, 0 }, { 459.5f, 20.5f, 0 }, { 459.5f, 249.5f, 0 }, { 20.5f, 249.5f, 0 } };
		const std::vector<Norv::Vector3<float>> someTo = { { 459.5f, 20.5f, 0 }, { 459.5f, 249.5f, 0 }, { 20.5f, 249.5f, 0 }, { 20.5f, 20.5f, 0 } };
		aLines.Draw({ someColors.data(), someFrom.data(), someTo.data(), someColors.size() });
	}
}

TEST(RenderedFrame, SpritesPixelatePassAndLinesComposeAsDrawn)
{
	NorvTest::GraphicsSetUp someSetUp({ WIDTH, HEIGHT });
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	Norv::GraphicsEngine& someGraphics = someSetUp.Graphics();
	Norv::GraphicsStateStack& someStack = *someGraphics.GetGraphicsStateStack();
	Norv::FullscreenPixelateEffect& somePixelate = *someGraphics.GetPixelateEffect();
	Norv::Texture someChecker;
	someChecker.myView = someSetUp.Textures().GetPlaceholderView();

	someSetUp.DX11().Clear(Norv::Color(3.0f / 255.0f, 0.6f, 176.0f / 255.0f, 1.0f));
	someStack.BeginFrame();

	// The scene goes into the pixelate effect's own texture...
	ID3D11RenderTargetView* const someSceneTarget[] = { somePixelate.GetRenderTargetView() };
	const float someSceneClear[4] = { 0.05f, 0.05f, 0.1f, 1.0f };
	Norv::DX11::ourContext->ClearRenderTargetView(someSceneTarget[0], someSceneClear);
	Norv::DX11::ourContext->OMSetRenderTargets(1, someSceneTarget, nullptr);
	someStack.SetSamplerState(Norv::SamplerFilters::POINT, Norv::SamplerAddresses::CLAMP);
	DrawScene(*someGraphics.GetSpriteDrawer(), someChecker);
	// ...which the full-screen pass shows in blocks in the back buffer.
	somePixelate.Render();
	DrawOverlay(*someGraphics.GetSpriteDrawer(), *someGraphics.GetLineDrawer());

	const std::vector<std::uint8_t> someBytes = someSetUp.ReadBackBuffer();
	const std::vector<std::uint8_t> someRgba = ToRgba(someBytes);
	stbi_write_png("RenderedFrame.png", WIDTH, HEIGHT, 4, someRgba.data(), WIDTH * 4);

	const auto Pixel = [&](unsigned aX, unsigned aYUp) { return someSetUp.PixelAt(someBytes, aX, HEIGHT - 1 - aYUp); };
	// The checkerboard's 10-pixel texels became 16-pixel blocks of one colour each.
	const auto someBlockA = Pixel(49, 70);
	for (unsigned y = 65; y < 79; y += 4)
		for (unsigned x = 49; x < 63; x += 4)
			EXPECT_EQ(Pixel(x, y), someBlockA) << x << "," << y;
	EXPECT_TRUE(someBlockA[1] == 0 && (someBlockA[0] == 0 || someBlockA[0] == 255)) << "magenta or black";
	// Outside the scene's sprite, the scene's clear colour came through the pass.
	EXPECT_NEAR(Pixel(10, 135)[0], 63, 2);
	EXPECT_NEAR(Pixel(10, 135)[2], 89, 2);
	// The line box is drawn crisp over the pass.
	EXPECT_EQ(Pixel(240, 20), (std::array<std::uint8_t, 4>{ 255, 255, 0, 255 }));
	EXPECT_EQ(Pixel(459, 135), (std::array<std::uint8_t, 4>{ 255, 255, 0, 255 }));
	// The first overlay sprite (angle 0) is its own sRGB colour (1, 0, 0.2), at (420, 135).
	EXPECT_EQ(Pixel(420, 135), (std::array<std::uint8_t, 4>{ 255, 0, 51, 255 }));
	// The half-transparent white centre over the scene's (0.05, 0.05, 0.1) linear
	// background: 0.525 and 0.55 in linear light.
	const auto someCentre = Pixel(340, 135);
	EXPECT_NEAR(someCentre[0], 192, 2);
	EXPECT_NEAR(someCentre[2], 197, 2);
}
