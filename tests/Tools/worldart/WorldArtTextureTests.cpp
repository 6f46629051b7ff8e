// The data set's DDS files: each reads as the described image, the engine's
// defaults and a flipbook sheet load through the texture manager (no
// placeholder), and every sheet splits into the grid its effect steps through.
#include "WorldArtData.h"

#include "Support/ExecutableFolder.h"
#include "dds/DdsImage.h"
#include "dds/S3tcDecoder.h"
#include "graphics/DX11.h"
#include "graphics/TextureManager.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace
{
	std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& aPath)
	{
		std::ifstream someFile(aPath, std::ios::binary);
		return { std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
	}

	Platform::dds::DdsImage ReadImage(const std::filesystem::path& aPath)
	{
		Platform::dds::DdsImage someImage;
		std::string someError;
		EXPECT_TRUE(Platform::dds::ReadDds(ReadBytes(aPath), DirectX::DDS_LOADER_DEFAULT, someImage, someError)) << aPath << ": " << someError;
		return someImage;
	}

	// The top mip as RGBA8 rows, from B8G8R8A8 or BC3 blocks.
	struct Pixels
	{
		std::uint32_t width = 0;
		std::vector<std::uint8_t> rgba;
		std::array<std::uint8_t, 4> At(std::uint32_t aX, std::uint32_t aY) const
		{
			const std::uint8_t* p = &rgba.at((static_cast<size_t>(aY) * width + aX) * 4);
			return { p[0], p[1], p[2], p[3] };
		}
	};

	Pixels TopMip(const Platform::dds::DdsImage& aImage)
	{
		const Platform::dds::DdsSubresource& someTop = aImage.mySubresources.at(0);
		Pixels somePixels{ someTop.myWidth, {} };
		if (Platform::dds::IsS3tc(aImage.myFormat))
		{
			somePixels.rgba = Platform::dds::DecodeS3tc(aImage.myFormat, aImage.myBytes.data() + someTop.myOffset, someTop.myWidth, someTop.myHeight, someTop.myRowPitch);
			return somePixels;
		}
		for (std::uint32_t y = 0; y < someTop.myHeight; ++y)
			for (std::uint32_t x = 0; x < someTop.myWidth; ++x)
			{
				const std::uint8_t* p = &aImage.myBytes.at(someTop.myOffset + static_cast<size_t>(y) * someTop.myRowPitch + x * 4);
				somePixels.rgba.insert(somePixels.rgba.end(), { p[2], p[1], p[0], p[3] });
			}
		return somePixels;
	}

	struct Sheet
	{
		const char* path;
		std::uint32_t columns, rows;
	};
	// The 21 sheets of the flipbook table with their grids.
	const Sheet SHEETS[] = {
		{ "textures/VFX/Player/VFX_5x5_Jumping_Flip.dds", 5, 5 }, { "textures/VFX/Player/VFX_4x8_Landing_Flip.dds", 4, 8 },
		{ "textures/VFX/Player/VFX_8x8_DashBasic_Horizontal_Flip.dds", 8, 8 }, { "textures/VFX/Player/VFX_8x8_DashUpgraded_Horizontal_Flip.dds", 8, 8 },
		{ "textures/VFX/Player/VFX_4x4_Walking_Flip.dds", 4, 4 }, { "textures/VFX/VFX_4x4_Hedgehodspin.dds", 4, 4 },
		{ "textures/VFX/VFX_4x4_EnemyDeflect_Flip.dds", 4, 4 }, { "textures/VFX/VFX_4x4_EnemyHit_Flip.dds", 4, 4 },
		{ "textures/VFX/VFX_8x8_EnemyDeath_Flip.dds", 8, 8 }, { "textures/VFX/Player/VFX_6x6_PlayerDamaged_Flip.dds", 6, 6 },
		{ "textures/VFX/Player/VFX_5x5_Attack_Right.dds", 5, 5 }, { "textures/VFX/Player/VFX_5x5_Attack_left.dds", 5, 5 },
		{ "textures/VFX/Player/VFX_5x5_AttackUp_Right.dds", 5, 5 }, { "textures/VFX/Player/VFX_7X4_AttackDown_Left_V2.dds", 7, 4 },
		{ "textures/VFX/VFX_8x8_Pickup_Flip.dds", 8, 8 }, { "textures/VFX/VFX_3x3_EnvironmentButterfly_Flip.dds", 3, 3 },
		{ "textures/VFX/VFX_5x5_ToxicMushroomFog.dds", 5, 5 }, { "textures/VFX/Player/VFX_6x6_LowStamina_Flip.dds", 6, 6 },
		{ "textures/VFX/VFX_StartLoopV5_8x8.dds", 8, 8 }, { "textures/VFX/VFX_FireLoopV5_8x8.dds", 8, 8 },
		{ "textures/VFX/Player/VFX_5x5_DashRecharge_Flip.dds", 5, 5 },
	};
	constexpr const char* ENGINE_TEXTURES[] = { "Textures/T_Default_c.dds", "Textures/T_Default_n.dds", "Textures/T_Default_m.dds", "Textures/T_Default_fx.dds" };
	// One texel is one world unit: a frame between these sizes reads as an effect beside
	// a 150-unit player (the largest are the dash trails, drawn behind the whole dash).
	constexpr std::uint32_t MIN_FRAME_TEXELS = 16;
	constexpr std::uint32_t MAX_FRAME_TEXELS = 320;
}

TEST(WorldArtTextures, EveryGeneratedDdsReadsWithItsWholeMipChain)
{
	size_t someFiles = 0;
	for (const std::filesystem::path& someRoot : { NorvTest::GAME_DATA, NorvTest::ENGINE_ASSETS })
		for (const auto& someEntry : std::filesystem::recursive_directory_iterator(someRoot))
		{
			if (!someEntry.is_regular_file() || someEntry.path().extension() != ".dds")
				continue;
			const Platform::dds::DdsImage someImage = ReadImage(someEntry.path());
			++someFiles;
			const bool someIsSheet = someEntry.path().string().find("/textures/VFX/") != std::string::npos;
			EXPECT_EQ(someImage.myFormat, someIsSheet ? DXGI_FORMAT_BC3_UNORM : DXGI_FORMAT_B8G8R8A8_UNORM) << someEntry.path();
			EXPECT_GE(someImage.myMipCount, 4u) << someEntry.path();
			EXPECT_EQ(someImage.mySubresources.size(), static_cast<size_t>(someImage.myMipCount) * someImage.myArraySize) << someEntry.path();
		}
	EXPECT_GE(someFiles, 21u + 6u + 40u);
}

TEST(WorldArtTextures, TheCubeMapsHaveSixFacesAndTheHorizonHasSkyOverGround)
{
	const Platform::dds::DdsImage someWhite = ReadImage(NorvTest::ENGINE_ASSETS / "Textures/whiteCubeMap.dds");
	EXPECT_TRUE(someWhite.myIsCube);
	EXPECT_EQ(someWhite.myArraySize, 6u);
	EXPECT_EQ(TopMip(someWhite).At(3, 3), (std::array<std::uint8_t, 4>{ 255, 255, 255, 255 }));

	const Platform::dds::DdsImage someHorizon = ReadImage(NorvTest::ENGINE_ASSETS / "Textures/horizonCubeMap.dds");
	ASSERT_TRUE(someHorizon.myIsCube);
	// Face +Y (slice 2) is the sky, face -Y (slice 3) the ground: blue over brown.
	const auto FaceTexel = [&](std::uint32_t aFace) {
		const Platform::dds::DdsSubresource& someFace = someHorizon.mySubresources.at(static_cast<size_t>(aFace) * someHorizon.myMipCount);
		const std::uint8_t* p = &someHorizon.myBytes.at(someFace.myOffset + static_cast<size_t>(someFace.myHeight / 2) * someFace.myRowPitch + someFace.myWidth / 2 * 4);
		return std::array<int, 3>{ p[2], p[1], p[0] };
	};
	EXPECT_GT(FaceTexel(2)[2], FaceTexel(2)[0]) << "the sky is blue";
	EXPECT_GT(FaceTexel(3)[0], FaceTexel(3)[2]) << "the ground is brown";
}

// The model shader reads r metalness, g roughness, b occlusion: a model without a
// material texture of its own must be a lit, non-metal surface, not a black one.
TEST(WorldArtTextures, TheDefaultMaterialIsNotMetalAndNotOccluded)
{
	const Pixels someMaterial = TopMip(ReadImage(NorvTest::ENGINE_ASSETS / "Textures/T_Default_m.dds"));
	const std::array<std::uint8_t, 4> someTexel = someMaterial.At(0, 0);
	EXPECT_EQ(someTexel[0], 0);
	EXPECT_NEAR(someTexel[1], 153, 1);
	EXPECT_EQ(someTexel[2], 255);
}

TEST(WorldArtTextures, EverySheetSplitsIntoItsGridWithFramesThatFadeAtTheirEdges)
{
	for (const Sheet& someSheet : SHEETS)
	{
		SCOPED_TRACE(someSheet.path);
		const Platform::dds::DdsImage someImage = ReadImage(NorvTest::GAME_DATA / someSheet.path);
		ASSERT_EQ(someImage.myWidth % someSheet.columns, 0u);
		ASSERT_EQ(someImage.myHeight % someSheet.rows, 0u);
		const std::uint32_t w = someImage.myWidth / someSheet.columns, h = someImage.myHeight / someSheet.rows;
		EXPECT_GE(std::min(w, h), MIN_FRAME_TEXELS);
		EXPECT_LE(std::max(w, h), MAX_FRAME_TEXELS);
		// Frame 0 shows something, and its corners are clear so no frame bleeds into the next.
		const Pixels somePixels = TopMip(someImage);
		std::uint8_t someMostAlpha = 0;
		for (std::uint32_t y = 0; y < h; ++y)
			for (std::uint32_t x = 0; x < w; ++x)
				someMostAlpha = std::max(someMostAlpha, somePixels.At(x, y)[3]);
		EXPECT_GT(someMostAlpha, 64);
		EXPECT_EQ(somePixels.At(0, 0)[3], 0);
		EXPECT_EQ(somePixels.At(w - 1, h - 1)[3], 0);
	}
}

TEST(WorldArtTextures, TheEngineDefaultsAndASheetLoadThroughTheTextureManager)
{
	NorvTest::ExecutableFolder someFolder;
	someFolder.WriteSettings(R"({ "assets_path": { "engine": ")" + NorvTest::ENGINE_ASSETS.string() + R"(", "game": ")" + NorvTest::GAME_DATA.string()
		+ R"(" }, "window_settings": { "title": "T" } })");
	ASSERT_TRUE(Norv::LoadSettings("Game.json"));
	Norv::DX11 someDX11;
	ASSERT_TRUE(someDX11.Init(nullptr)) << "no headless OpenGL 4.5 device";
	Norv::TextureManager someManager;
	someManager.Init();
	std::vector<std::string> someNames(std::begin(ENGINE_TEXTURES), std::end(ENGINE_TEXTURES));
	someNames.push_back("Textures/horizonCubeMap.dds");
	someNames.push_back(SHEETS[0].path);
	testing::internal::CaptureStderr();
	for (const std::string& someName : someNames)
	{
		const Norv::Texture* someTexture = someManager.GetTexture(someName.c_str(), Norv::TEXTURE_MODE_FORCE_SRGB);
		ASSERT_NE(someTexture, nullptr) << someName;
		EXPECT_FALSE(someTexture->myIsFailed) << someName;
		EXPECT_NE(someTexture->myView.Get(), someManager.GetPlaceholderView()) << someName;
	}
	EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
	EXPECT_EQ(someManager.GetTexture(SHEETS[0].path, Norv::TEXTURE_MODE_FORCE_SRGB)->mySize, (Norv::Vector2<unsigned int>{ 240, 240 }));
}
