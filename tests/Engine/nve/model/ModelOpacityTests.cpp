// Which model instances draw only opaque pixels: textures read back texel by
// texel, vertex colours, the shader's default colour texture for a null one.
#include "Support/DdsFile.h"
#include "Support/ModelScene.h"
#include "graphics/Texture.h"
#include "graphics/TextureManager.h"
#include "model/ModelDrawer.h"
#include "model/ModelOpacity.h"

#include <gtest/gtest.h>

namespace
{
	// 2 x 2 RGBA texels, the last with aLastAlpha.
	std::string FourTexels(std::uint8_t aLastAlpha)
	{
		const std::string someTexels = std::string("\x10\x20\x30\xff", 4) + std::string("\x10\x20\x30\xff", 4) + std::string("\x10\x20\x30\xff", 4)
			+ std::string("\x10\x20\x30", 3) + static_cast<char>(aLastAlpha);
		return NorvTest::MakeMaskDds({ 2, 2, 1, 0 }, 32, NorvTest::RGBA_MASKS, someTexels);
	}

	class ModelOpacity : public testing::Test
	{
	protected:
		void SetUp() override
		{
			if (!myScene.SetUp().IsGraphicsReady())
				GTEST_SKIP() << "no GPU device";
			myShader = myScene.SetUp().Graphics().GetModelDrawer()->GetShader(0);
			ASSERT_NE(myShader, nullptr);
		}

		Norv::Texture& Load(const char* aPath)
		{
			Norv::Texture* someTexture = myScene.SetUp().Textures().GetTexture(aPath, Norv::TEXTURE_MODE_FORCE_SRGB);
			EXPECT_FALSE(someTexture->myIsFailed) << aPath;
			return *someTexture;
		}

		// A one-mesh model, never uploaded, whose vertices all have colour alpha anAlpha.
		static Norv::ModelInstance Triangle(float anAlpha)
		{
			Norv::MeshData someMesh;
			someMesh.myVertices.resize(3);
			for (Norv::ModelVertex& someVertex : someMesh.myVertices)
				someVertex.myColors[0] = { 1.0f, 1.0f, 1.0f, 1.0f };
			someMesh.myVertices[1].myColors[0].w = anAlpha;
			auto someModel = std::make_shared<Norv::Model>();
			EXPECT_TRUE(someModel->Init({ someMesh }, "triangle"));
			Norv::ModelInstance someInstance;
			someInstance.Init(someModel);
			return someInstance;
		}

		NorvTest::ModelScene myScene{ { 64, 64 }, { { "Textures/opaque.dds", FourTexels(255) }, { "Textures/one_clear.dds", FourTexels(254) } } };
		const Norv::ModelShader* myShader = nullptr;
	};
}

TEST_F(ModelOpacity, ATextureIsOpaqueOnlyWhenEveryTexelHasFullAlpha)
{
	EXPECT_TRUE(Norv::IsOpaque(Load("Textures/opaque.dds")));
	EXPECT_FALSE(Norv::IsOpaque(Load("Textures/one_clear.dds"))) << "the last texel of the top level is 254";
	EXPECT_FALSE(Norv::IsOpaque(Norv::Texture{})) << "no view";
}

TEST_F(ModelOpacity, AnInstanceIsOpaqueWhenItsVerticesAndColourTexturesAre)
{
	Norv::TextureOpacityCache someCache;
	Norv::ModelInstance someInstance = Triangle(1.0f);
	EXPECT_TRUE(Norv::IsOpaque(someInstance, *myShader, someCache)) << "the shader's default colour texture is opaque";
	someInstance.GetTextures()[0][Norv::MODEL_TEXTURE_COLOR] = &Load("Textures/one_clear.dds");
	EXPECT_FALSE(Norv::IsOpaque(someInstance, *myShader, someCache));
	// The normal map's alpha is not drawn.
	someInstance.GetTextures()[0][Norv::MODEL_TEXTURE_COLOR] = &Load("Textures/opaque.dds");
	someInstance.GetTextures()[0][Norv::MODEL_TEXTURE_NORMAL] = &Load("Textures/one_clear.dds");
	EXPECT_TRUE(Norv::IsOpaque(someInstance, *myShader, someCache));

	EXPECT_FALSE(Norv::IsOpaque(Triangle(0.99f), *myShader, someCache)) << "one vertex's colour alpha below 1";
	EXPECT_FALSE(Norv::IsOpaque(Norv::ModelInstance{}, *myShader, someCache)) << "no model";
}
