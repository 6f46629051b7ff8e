// The default textures the sprite shader and the state stack take from the
// texture manager at start: placeholders while the files are missing, the
// files' own images when present, and bound where the draws read them.
#include "Support/DdsFile.h"
#include "Support/GraphicsSetUp.h"
#include "drawers/SpriteDrawer.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/SpriteShader.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace
{
	constexpr const char* DEFAULT_NORMAL = "Textures/T_Default_n.dds";
	constexpr const char* DEFAULT_MATERIAL = "Textures/T_Default_m.dds";
	constexpr const char* DEFAULT_EFFECTS = "Textures/T_Default_fx.dds";
	constexpr const char* WHITE_CUBE_MAP = "Textures/whiteCubeMap.dds";
	constexpr const char* HORIZON_CUBE_MAP = "Textures/horizonCubeMap.dds";
	constexpr UINT ENVIRONMENT_SLOT = 0;
	constexpr UINT COLOR_SLOT = 1;
	constexpr UINT SPRITE_SLOT_COUNT = 4;
	constexpr UINT R8G8B8A8_UNORM = 28;
	constexpr unsigned CUBE_FACES = 6;

	// A square BGRA image of aEdge pixels.
	std::string SquareDds(std::uint32_t anEdge)
	{
		return NorvTest::MakeMaskDds({ anEdge, anEdge, 1 }, 32, NorvTest::BGRA_MASKS, std::string(anEdge * anEdge * 4, '\x7f'));
	}

	std::string OnePixelCubeDds()
	{
		return NorvTest::MakeDx10Dds({ 1, 1, 1 }, R8G8B8A8_UNORM, std::string(CUBE_FACES * 4, '\xff'), 1, true);
	}

	// The views at aCount pixel-shader slots from aFirst; the returned references are dropped.
	std::vector<ID3D11ShaderResourceView*> BoundViews(UINT aFirst, UINT aCount)
	{
		std::vector<ID3D11ShaderResourceView*> someViews(aCount, nullptr);
		Norv::DX11::ourContext->PSGetShaderResources(aFirst, aCount, someViews.data());
		for (ID3D11ShaderResourceView* someView : someViews)
			if (someView)
				someView->Release();
		return someViews;
	}

	// Opens and closes one batch without textures, which binds the shader's slots.
	void DrawUntexturedSprite(NorvTest::GraphicsSetUp& aSetUp)
	{
		aSetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
		Norv::SpriteBatchScope someBatch = aSetUp.Graphics().GetSpriteDrawer()->BeginBatch({});
		Norv::Sprite2DInstanceData someSprite;
		someSprite.mySize = { 10.0f, 10.0f };
		someBatch.Draw(someSprite);
	}
}

TEST(DefaultTextures, MissingFilesArePlaceholdersWithTheCheckerboard)
{
	NorvTest::GraphicsSetUp someSetUp;
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	Norv::TextureManager& someManager = someSetUp.Textures();
	const Norv::SpriteShader& someShader = *someSetUp.Graphics().GetSpriteDrawer()->GetDefaultShader();
	const std::pair<const Norv::Texture*, const char*> someDefaults[] = {
		{ someShader.GetDefaultNormalTexture(), DEFAULT_NORMAL },
		{ someShader.GetDefaultMaterialTexture(), DEFAULT_MATERIAL },
		{ someShader.GetDefaultEffectsTexture(), DEFAULT_EFFECTS } };
	for (const auto& [someTexture, somePath] : someDefaults)
	{
		ASSERT_NE(someTexture, nullptr) << somePath;
		EXPECT_EQ(someTexture, someManager.GetTexture(somePath, Norv::TEXTURE_MODE_FORCE_SRGB)) << "the sRGB record of " << somePath;
		EXPECT_NE(someTexture, someManager.GetTexture(somePath, Norv::TEXTURE_MODE_PLAIN)) << somePath;
		EXPECT_TRUE(someTexture->myIsFailed) << somePath;
		ASSERT_NE(someManager.GetPlaceholderView(), nullptr);
		EXPECT_EQ(someTexture->myView.Get(), someManager.GetPlaceholderView()) << "made before the graphics object, so never an empty view";
	}

	DrawUntexturedSprite(someSetUp);
	const std::vector<ID3D11ShaderResourceView*> someViews = BoundViews(COLOR_SLOT, SPRITE_SLOT_COUNT);
	EXPECT_EQ(someViews[0], someManager.GetWhiteSquareTexture()->myView.Get());
	for (UINT someSlot = 1; someSlot < SPRITE_SLOT_COUNT; ++someSlot)
		EXPECT_EQ(someViews[someSlot], someManager.GetPlaceholderView()) << "slot " << COLOR_SLOT + someSlot;
	EXPECT_EQ(BoundViews(ENVIRONMENT_SLOT, 1)[0], someManager.GetPlaceholderView()) << "the missing white cube map";
}

TEST(DefaultTextures, PresentFilesAreLoadedAndBoundInTheirSlots)
{
	NorvTest::GraphicsSetUp someSetUp{ { 64, 64 }, NORV_COOKED_DIR,
		{ { DEFAULT_NORMAL, SquareDds(2) }, { DEFAULT_MATERIAL, SquareDds(4) }, { DEFAULT_EFFECTS, SquareDds(8) },
			{ WHITE_CUBE_MAP, OnePixelCubeDds() }, { HORIZON_CUBE_MAP, OnePixelCubeDds() } } };
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	Norv::TextureManager& someManager = someSetUp.Textures();
	const Norv::SpriteShader& someShader = *someSetUp.Graphics().GetSpriteDrawer()->GetDefaultShader();
	const std::array<const Norv::Texture*, 3> someDefaults = { someShader.GetDefaultNormalTexture(), someShader.GetDefaultMaterialTexture(),
		someShader.GetDefaultEffectsTexture() };
	const std::array<unsigned, 3> someEdges = { 2, 4, 8 };
	for (std::size_t i = 0; i < someDefaults.size(); ++i)
	{
		ASSERT_NE(someDefaults[i], nullptr);
		EXPECT_FALSE(someDefaults[i]->myIsFailed);
		EXPECT_EQ(someDefaults[i]->mySize.x, someEdges[i]);
		EXPECT_EQ(someDefaults[i]->mySrgbMode, Norv::TEXTURE_MODE_FORCE_SRGB);
	}
	EXPECT_EQ(someDefaults[0], someManager.TryGetTexture(DEFAULT_NORMAL, Norv::TEXTURE_MODE_FORCE_SRGB)) << "cached under the sRGB key";
	const Norv::Texture* someWhiteCube = someManager.TryGetTexture(WHITE_CUBE_MAP, Norv::TEXTURE_MODE_FORCE_SRGB);
	ASSERT_NE(someWhiteCube, nullptr) << "loaded by the state stack";
	ASSERT_NE(someManager.TryGetTexture(HORIZON_CUBE_MAP, Norv::TEXTURE_MODE_FORCE_SRGB), nullptr);

	DrawUntexturedSprite(someSetUp);
	const std::vector<ID3D11ShaderResourceView*> someViews = BoundViews(COLOR_SLOT, SPRITE_SLOT_COUNT);
	EXPECT_EQ(someViews[0], someManager.GetWhiteSquareTexture()->myView.Get());
	for (std::size_t i = 0; i < someDefaults.size(); ++i)
		EXPECT_EQ(someViews[i + 1], someDefaults[i]->myView.Get()) << "slot " << COLOR_SLOT + 1 + i;
	EXPECT_EQ(BoundViews(ENVIRONMENT_SLOT, 1)[0], someWhiteCube->myView.Get()) << "environment mode 0 after the frame start";

	D3D11_SHADER_RESOURCE_VIEW_DESC someDesc{};
	someWhiteCube->myView->GetDesc(&someDesc);
	EXPECT_EQ(someDesc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURECUBE);
}

TEST(DefaultTextures, BatchTexturesReplaceTheDefaults)
{
	NorvTest::GraphicsSetUp someSetUp{ { 64, 64 }, NORV_COOKED_DIR, { { "normal.dds", SquareDds(2) } } };
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	Norv::TextureManager& someManager = someSetUp.Textures();
	Norv::SpriteSharedData someShared;
	someShared.myNormalTexture = someManager.GetTexture("normal.dds", Norv::TEXTURE_MODE_PLAIN);
	ASSERT_FALSE(someShared.myNormalTexture->myIsFailed);

	someSetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
	{
		Norv::SpriteBatchScope someBatch = someSetUp.Graphics().GetSpriteDrawer()->BeginBatch(someShared);
		const std::vector<ID3D11ShaderResourceView*> someViews = BoundViews(COLOR_SLOT, SPRITE_SLOT_COUNT);
		EXPECT_EQ(someViews[1], someShared.myNormalTexture->myView.Get());
		EXPECT_EQ(someViews[2], someManager.GetPlaceholderView()) << "the material default stays";
	}
}
