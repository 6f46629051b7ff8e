// The model shader's draw of one mesh: the world matrix it sends, the textures
// it binds, the draw calls it counts, the pixel shader form it draws with.
#include "Support/ModelScene.h"
#include "engine/DrawCalls.h"
#include "graphics/Texture.h"
#include "graphics/TextureManager.h"
#include "model/ModelDrawer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
	constexpr unsigned WIDTH = 320;
	constexpr unsigned HEIGHT = 240;
	constexpr float DISTANCE = 600.0f;

	class ModelDrawerTest : public testing::Test
	{
	protected:
		void SetUp() override
		{
			if (!myScene.SetUp().IsGraphicsReady())
				GTEST_SKIP() << "no GPU device";
			myDrawer = myScene.SetUp().Graphics().GetModelDrawer();
		}

		// Mean column of the lit pixels; -1 when nothing was drawn.
		float LitColumn()
		{
			const std::vector<std::uint8_t> someBytes = myScene.SetUp().ReadBackBuffer();
			double someSum = 0.0;
			int someCount = 0;
			for (unsigned y = 0; y < HEIGHT; ++y)
				for (unsigned x = 0; x < WIDTH; ++x)
				{
					const auto p = myScene.SetUp().PixelAt(someBytes, x, y);
					if (p[0] + p[1] + p[2] > 0)
						someSum += x, ++someCount;
				}
			return someCount ? static_cast<float>(someSum / someCount) : -1.0f;
		}

		NorvTest::ModelScene myScene{ { WIDTH, HEIGHT } };
		NorvTest::FactoryScope myFactory;
		Norv::ModelDrawer* myDrawer = nullptr;
	};
}

TEST_F(ModelDrawerTest, AllSixShadersLoad)
{
	for (std::size_t someSlot = 0; someSlot < Norv::ModelDrawer::SHADER_COUNT; ++someSlot)
	{
		ASSERT_NE(myDrawer->GetShader(someSlot), nullptr) << someSlot;
		EXPECT_TRUE(myDrawer->GetShader(someSlot)->IsLoaded()) << someSlot;
	}
}

TEST_F(ModelDrawerTest, TheWorldMatrixIsTheInstanceTransformTimesTheStackTop)
{
	Norv::ModelInstance someCube = myFactory->GetModelInstance("Cube");
	someCube.SetTransform(Norv::Matrix4x4::CreateScale({ 0.5f, 0.5f, 0.5f }));
	myScene.BeginFrame({ 0.0f, 0.0f, 0.0f }, DISTANCE);
	myScene.Stack().Push();
	myScene.Stack().Translate({ 100.0f, 0.0f, 0.0f });
	myDrawer->Draw(someCube);
	myScene.Stack().Pop();
	// x = 100 (scaled, then moved) lies at 160 + 160 * 100 / (600 tan 30); the
	// other order would put it at x = 50.
	EXPECT_NEAR(LitColumn(), 160.0f + 160.0f * 100.0f / (DISTANCE * std::tan(30.0f * 3.14159265f / 180.0f)), 2.0f);
}

TEST_F(ModelDrawerTest, NullTexturesBindTheirKindsDefaultAndEveryMeshIsOneDrawCall)
{
	Norv::ModelInstance someCube = myFactory->GetModelInstance("Cube");
	Norv::Texture* const someWhite = myScene.SetUp().Textures().GetWhiteSquareTexture();
	someCube.GetTextures()[0][Norv::MODEL_TEXTURE_COLOR] = someWhite;
	someCube.GetTextures()[0][Norv::MODEL_TEXTURE_NORMAL] = nullptr;
	someCube.GetTextures()[0][Norv::MODEL_TEXTURE_MATERIAL] = someWhite;
	someCube.GetTextures()[0][Norv::MODEL_TEXTURE_EFFECTS] = nullptr;
	myScene.BeginFrame({ 0.0f, 0.0f, 0.0f }, DISTANCE);
	const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
	myDrawer->Draw(someCube);
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), someBefore + 1);

	ID3D11ShaderResourceView* someViews[4] = {};
	Norv::DX11::ourContext->PSGetShaderResources(1, 4, someViews);
	const Norv::ModelShader& someShader = *myDrawer->GetShader(0);
	EXPECT_EQ(someViews[0], someWhite->myView.Get());
	EXPECT_EQ(someViews[1], someShader.GetDefaultTexture(Norv::MODEL_TEXTURE_NORMAL)->myView.Get());
	EXPECT_EQ(someViews[2], someWhite->myView.Get());
	EXPECT_EQ(someViews[3], someShader.GetDefaultTexture(Norv::MODEL_TEXTURE_EFFECTS)->myView.Get());
	for (ID3D11ShaderResourceView* someView : someViews)
		if (someView)
			someView->Release();
	EXPECT_GT(LitColumn(), 0.0f);
}

TEST_F(ModelDrawerTest, AStaticMeshWhollyBesideTheViewCostsNoDrawAndOneOverTheEdgeIsDrawn)
{
	Norv::ModelInstance someCube = myFactory->GetModelInstance("Cube");
	myScene.BeginFrame({ 0.0f, 0.0f, 0.0f }, DISTANCE);
	// Placed by the stack, as the play state places nothing itself: the view test must see it too.
	const auto DrawsAt = [&](float anX, float aY) {
		const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
		myScene.Stack().Push();
		myScene.Stack().Translate({ anX, aY, 0.0f });
		const bool mayShow = someCube.MayShow(myScene.Stack());
		myDrawer->Draw(someCube);
		myScene.Stack().Pop();
		const std::uint32_t someDraws = Norv::DrawCalls::GetCurrentFrameCount() - someBefore;
		// The instance's own answer (the play state asks it before setting up a prop) agrees.
		EXPECT_EQ(mayShow, someDraws == 1u) << anX << ", " << aY;
		return someDraws;
	};
	// The view reaches 600 tan 30 = 346 units to each side at the cube's depth, 260 up and down.
	EXPECT_EQ(DrawsAt(500.0f, 0.0f), 0u);
	EXPECT_EQ(DrawsAt(-500.0f, 0.0f), 0u);
	EXPECT_EQ(DrawsAt(0.0f, 420.0f), 0u);
	EXPECT_EQ(LitColumn(), -1.0f);
	EXPECT_EQ(DrawsAt(346.0f, 0.0f), 1u);
	EXPECT_GT(LitColumn(), WIDTH * 0.9f);
}

TEST_F(ModelDrawerTest, AShaderThatFailedToLoadBindsTexturesButDrawsNothing)
{
	Norv::ModelShader someBroken;
	EXPECT_FALSE(someBroken.Init("shaders/model_shader_VS", "shaders/no_such_PS"));
	Norv::ModelInstance someCube = myFactory->GetModelInstance("Cube");
	myScene.BeginFrame({ 0.0f, 0.0f, 0.0f }, DISTANCE);
	const std::uint32_t someBefore = Norv::DrawCalls::GetCurrentFrameCount();
	myDrawer->DrawWithShader(someCube, someBroken);
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), someBefore);
	EXPECT_EQ(LitColumn(), -1.0f);
	// An instance without a model draws nothing either.
	myDrawer->Draw(Norv::ModelInstance());
	EXPECT_EQ(Norv::DrawCalls::GetCurrentFrameCount(), someBefore);
}

namespace
{
	const std::filesystem::path ENGINE_TEXTURES = std::filesystem::path(NORV_SOURCE_DIR) / "Source/Engine/assets/Textures";

	std::string ReadBytes(const std::filesystem::path& aFile)
	{
		std::ifstream someFile(aFile, std::ios::binary);
		return { std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
	}
}

// Without lights, a mesh on the engine's own default normal, material and effects
// textures is drawn with their texels as shader constants: it must look as when the
// same texels are sampled, and a texture of its own must still be sampled.
TEST(ModelDrawerDefaultSurface, LooksAsTheSampledDefaultsAndAnOwnTextureIsStillSampled)
{
	std::vector<std::pair<std::string, std::string>> someFiles;
	for (const char* someName : { "T_Default_n.dds", "T_Default_m.dds", "T_Default_fx.dds", "whiteCubeMap.dds" })
	{
		const std::string someBytes = ReadBytes(ENGINE_TEXTURES / someName);
		if (someBytes.empty())
			GTEST_SKIP() << ENGINE_TEXTURES / someName << " is absent (made by the build's art tool)";
		someFiles.emplace_back(std::string("Textures/") + someName, someBytes);
		someFiles.emplace_back(std::string("Textures/Copy_") + someName, someBytes); // the same texels, not the default
	}
	NorvTest::ModelScene someScene({ WIDTH, HEIGHT }, someFiles);
	if (!someScene.SetUp().IsGraphicsReady())
		GTEST_SKIP() << "no GPU device";
	NorvTest::FactoryScope someFactory;
	Norv::ModelDrawer& someDrawer = *someScene.SetUp().Graphics().GetModelDrawer();
	Norv::TextureManager& someTextures = someScene.SetUp().Textures();
	const auto Copy = [&](const char* aName) { return someTextures.GetTexture((std::string("Textures/Copy_") + aName).c_str(), Norv::TEXTURE_MODE_IGNORE_SRGB); };

	Norv::ModelInstance someCube;
	const auto Draw = [&] {
		someScene.BeginFrame({ 0.0f, 0.0f, 0.0f }, DISTANCE);
		someScene.Stack().SetDirectionalLight(Norv::Matrix4x4(), Norv::Color(1.0f, 1.0f, 1.0f, 1.0f), 0.0f);
		someDrawer.Draw(someCube);
		return someScene.SetUp().ReadBackBuffer();
	};
	const auto LargestDifference = [](const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
		int someLargest = 0;
		for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
			someLargest = std::max(someLargest, std::abs(a[i] - b[i]));
		return someLargest;
	};
	const std::vector<std::uint8_t> someEmpty = Draw(); // no mesh yet: the clear colour

	someCube = someFactory->GetModelInstance("Cube");
	someCube.SetTransform(Norv::Matrix4x4::CreateRotationAroundY(30.0f) * Norv::Matrix4x4::CreateRotationAroundX(20.0f));
	auto& someTable = someCube.GetTextures()[0];
	someTable[Norv::MODEL_TEXTURE_COLOR] = someTextures.GetWhiteSquareTexture();
	someTable[Norv::MODEL_TEXTURE_NORMAL] = nullptr;
	someTable[Norv::MODEL_TEXTURE_MATERIAL] = nullptr;
	someTable[Norv::MODEL_TEXTURE_EFFECTS] = nullptr;
	const std::vector<std::uint8_t> someConstants = Draw();
	ASSERT_GT(LargestDifference(someConstants, someEmpty), 20) << "nothing drawn";

	someTable[Norv::MODEL_TEXTURE_NORMAL] = Copy("T_Default_n.dds");
	someTable[Norv::MODEL_TEXTURE_MATERIAL] = Copy("T_Default_m.dds");
	someTable[Norv::MODEL_TEXTURE_EFFECTS] = Copy("T_Default_fx.dds");
	EXPECT_LE(LargestDifference(Draw(), someConstants), 1);

	// A white effects texture of its own makes the cube glow at full albedo.
	someTable[Norv::MODEL_TEXTURE_EFFECTS] = someTextures.GetWhiteSquareTexture();
	someTable[Norv::MODEL_TEXTURE_NORMAL] = nullptr;
	someTable[Norv::MODEL_TEXTURE_MATERIAL] = nullptr;
	EXPECT_GT(LargestDifference(Draw(), someConstants), 20);
}
