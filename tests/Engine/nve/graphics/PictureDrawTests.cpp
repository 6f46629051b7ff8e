// Pictures uploaded at the size they are drawn: drawn texel for pixel, they must
// look as the whole texture with its mip chain drawn at that size does.
#include "Support/GraphicsSetUp.h"
#include "Support/ImageEncoding.h"
#include "drawers/SpriteDrawer.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace
{
	constexpr unsigned WIDTH = 1280;
	constexpr unsigned HEIGHT = 720;
	constexpr int LEVEL_TOLERANCE = 3;
	constexpr double MAX_DIFFERING_SHARE = 0.005; // of the picture's pixels

	// Menu-like art: a smooth gradient under hard-edged strokes, fine noise, and a
	// band of half-transparent texels.
	std::vector<std::uint8_t> MenuArt(int aWidth, int aHeight)
	{
		std::vector<std::uint8_t> somePixels(static_cast<std::size_t>(aWidth) * aHeight * 4);
		std::uint32_t someNoise = 12345;
		for (int y = 0; y < aHeight; ++y)
			for (int x = 0; x < aWidth; ++x)
			{
				someNoise = someNoise * 1664525u + 1013904223u;
				const int someGrain = static_cast<int>(someNoise >> 27) - 16;
				int someRgb[3] = { 40 + 150 * x / aWidth, 60 + 120 * y / aHeight, 200 - 100 * x / aWidth };
				const bool isStroke = (x / 6) % 4 == 0 && (y / 10) % 3 != 1 && y > aHeight / 4 && y < aHeight / 2;
				for (int& someChannel : someRgb)
					someChannel = std::clamp((isStroke ? 250 : someChannel) + someGrain, 0, 255);
				std::uint8_t* somePixel = somePixels.data() + (static_cast<std::size_t>(y) * aWidth + x) * 4;
				somePixel[0] = static_cast<std::uint8_t>(someRgb[0]);
				somePixel[1] = static_cast<std::uint8_t>(someRgb[1]);
				somePixel[2] = static_cast<std::uint8_t>(someRgb[2]);
				somePixel[3] = static_cast<std::uint8_t>(y > aHeight * 3 / 4 ? 128 + x % 64 : 255);
			}
		return somePixels;
	}

	// The back buffer with aTexture drawn centred at aSize over black, through a
	// sampler of aFilter.
	std::vector<std::uint8_t> Draw(NorvTest::GraphicsSetUp& aSetUp, Norv::Texture* aTexture, Norv::Vector2<float> aSize, std::uint32_t aFilter)
	{
		aSetUp.DX11().Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
		aSetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
		aSetUp.Graphics().GetGraphicsStateStack()->SetSamplerState(aFilter, Norv::SamplerAddresses::WRAP);
		{
			Norv::SpriteSharedData someShared;
			someShared.myColorTexture = aTexture;
			Norv::SpriteBatchScope someBatch = aSetUp.Graphics().GetSpriteDrawer()->BeginBatch(someShared);
			Norv::Sprite2DInstanceData someSprite;
			someSprite.myPosition = { WIDTH / 2.0f, HEIGHT / 2.0f };
			someSprite.mySize = aSize;
			someBatch.Draw(someSprite);
		}
		return aSetUp.ReadBackBuffer();
	}

	UINT MipLevels(const Norv::Texture& aTexture)
	{
		Microsoft::WRL::ComPtr<ID3D11Resource> someResource;
		aTexture.myView->GetResource(someResource.GetAddressOf());
		D3D11_TEXTURE2D_DESC someDesc{};
		static_cast<ID3D11Texture2D*>(someResource.Get())->GetDesc(&someDesc);
		return someDesc.MipLevels;
	}
}

TEST(PictureDraw, AFittedPictureLooksAsTheWholeTextureWithItsMipsDrawnAtThatSize)
{
	NorvTest::GraphicsSetUp someSetUp{ { WIDTH, HEIGHT } };
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	const struct
	{
		unsigned myWidth;
		unsigned myHeight;
		Norv::Vector2<float> myDrawn;
	} someCases[] = {
		{ 2560, 1440, { 1280.0f, 720.0f } }, // a menu background at half the reference
		{ 1920, 1080, { 1280.0f, 720.0f } }, // the splash stretched to the window
		{ 2700, 1260, { 450.0f, 210.0f } },  // the intro's logo at a sixth
		{ 600, 300, { 640.0f, 360.0f } },    // drawn larger than the file: uploaded whole
	};
	for (const auto& someCase : someCases)
	{
		const std::string someName = std::to_string(someCase.myWidth) + "x" + std::to_string(someCase.myHeight);
		const std::string somePng = NorvTest::EncodePng(static_cast<int>(someCase.myWidth), static_cast<int>(someCase.myHeight),
			MenuArt(static_cast<int>(someCase.myWidth), static_cast<int>(someCase.myHeight)));
		someSetUp.Folder().Write(std::filesystem::path("data") / ("whole" + someName + ".png"), somePng);
		someSetUp.Folder().Write(std::filesystem::path("data") / ("picture" + someName + ".png"), somePng);

		Norv::Texture* someWhole = someSetUp.Textures().GetTexture(("whole" + someName + ".png").c_str(), Norv::TEXTURE_MODE_FORCE_SRGB);
		Norv::Texture* somePicture = someSetUp.Textures().GetPicture(("picture" + someName + ".png").c_str(), Norv::TEXTURE_MODE_FORCE_SRGB);
		ASSERT_FALSE(someWhole->myIsFailed);
		ASSERT_TRUE(somePicture->myIsPicture) << someName;
		someSetUp.Graphics().GetGraphicsStateStack()->BeginFrame(); // the menus' sampler, as when they draw
		someSetUp.Textures().FitPicture(*somePicture, someCase.myDrawn);
		ASSERT_FALSE(somePicture->myIsFailed) << someName;

		// The layout still reads the file's size; the GPU holds at most the drawn size, one level.
		EXPECT_EQ(somePicture->mySize, someWhole->mySize) << someName;
		const Norv::Vector2<unsigned int> someHeld{ std::min(someCase.myWidth, static_cast<unsigned>(someCase.myDrawn.x)),
			std::min(someCase.myHeight, static_cast<unsigned>(someCase.myDrawn.y)) };
		EXPECT_EQ(Norv::Texture::CalculateTextureSize(somePicture->myView.Get()), someHeld) << someName;
		EXPECT_EQ(somePicture->myUploadedSize, someHeld) << someName;
		EXPECT_EQ(MipLevels(*somePicture), 1u) << someName;
		EXPECT_GT(MipLevels(*someWhole), 1u) << someName;

		// The whole texture as the menus sample it; the picture texel for pixel, as they draw it.
		const std::vector<std::uint8_t> someExpected = Draw(someSetUp, someWhole, someCase.myDrawn, Norv::SamplerFilters::ANISOTROPIC);
		const bool isHeldAtDrawnSize = Norv::TextureManager::IsHeldAtDrawnSize(*somePicture, someCase.myDrawn);
		EXPECT_EQ(isHeldAtDrawnSize, someHeld != somePicture->mySize) << someName;
		const std::vector<std::uint8_t> someActual =
			Draw(someSetUp, somePicture, someCase.myDrawn, isHeldAtDrawnSize ? Norv::SamplerFilters::LINEAR : Norv::SamplerFilters::ANISOTROPIC);
		ASSERT_EQ(someExpected.size(), someActual.size());
		std::size_t someDiffering = 0;
		int someWorst = 0;
		for (std::size_t i = 0; i < someExpected.size(); i += 4)
		{
			int someDifference = 0;
			for (std::size_t c = 0; c < 3; ++c)
				someDifference = std::max(someDifference, std::abs(someExpected[i + c] - someActual[i + c]));
			someWorst = std::max(someWorst, someDifference);
			someDiffering += someDifference > LEVEL_TOLERANCE ? 1 : 0;
		}
		const double somePixels = static_cast<double>(someCase.myDrawn.x) * someCase.myDrawn.y;
		EXPECT_LE(someDiffering, static_cast<std::size_t>(somePixels * MAX_DIFFERING_SHARE))
			<< someName << " drawn at " << someCase.myDrawn.x << " x " << someCase.myDrawn.y << ": worst difference " << someWorst;
	}
}

TEST(PictureDraw, APictureIsHeldAtTheSizeItIsDrawnAndNoLarger)
{
	NorvTest::GraphicsSetUp someSetUp{ { 320, 240 } };
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	someSetUp.Folder().Write(std::filesystem::path("data") / "menu.png", NorvTest::EncodePng(64, 32, MenuArt(64, 32)));
	Norv::TextureManager& someTextures = someSetUp.Textures();
	Norv::Texture* somePicture = someTextures.GetPicture("menu.png", Norv::TEXTURE_MODE_FORCE_SRGB);
	ASSERT_TRUE(somePicture->myIsPicture);
	EXPECT_FALSE(somePicture->myIsFailed);
	EXPECT_EQ(somePicture->mySize, (Norv::Vector2<unsigned>(64, 32)));
	EXPECT_EQ(somePicture->myView.Get(), nullptr) << "nothing is decoded before it is drawn";
	EXPECT_EQ(someTextures.GetPicture("menu.png", Norv::TEXTURE_MODE_FORCE_SRGB), somePicture);

	const auto held = [&] { return Norv::Texture::CalculateTextureSize(somePicture->myView.Get()); };
	someTextures.FitPicture(*somePicture, { 32.0f, 16.0f });
	EXPECT_EQ(held(), (Norv::Vector2<unsigned>(32, 16)));
	EXPECT_EQ(MipLevels(*somePicture), 1u);
	EXPECT_EQ(somePicture->mySize, (Norv::Vector2<unsigned>(64, 32))) << "the layout's size stays the file's";
	const ID3D11ShaderResourceView* someView = somePicture->myView.Get();
	someTextures.FitPicture(*somePicture, { 20.0f, 10.0f });
	EXPECT_EQ(somePicture->myView.Get(), someView) << "drawn smaller: kept as it is";
	someTextures.FitPicture(*somePicture, { 48.0f, -16.0f });
	EXPECT_EQ(held(), (Norv::Vector2<unsigned>(48, 16))) << "a mirrored sprite needs as many pixels";
	// A window made wider and lower, then narrower and taller: each time one axis
	// needs more than is held, and neither is held smaller than before.
	someTextures.FitPicture(*somePicture, { 56.0f, 8.0f });
	EXPECT_EQ(held(), (Norv::Vector2<unsigned>(56, 16))) << "wider and lower";
	someTextures.FitPicture(*somePicture, { 40.0f, 24.0f });
	EXPECT_EQ(held(), (Norv::Vector2<unsigned>(56, 24))) << "narrower and taller";
	EXPECT_EQ(somePicture->myUploadedSize, held());
	someTextures.FitPicture(*somePicture, { 500.0f, 300.0f });
	EXPECT_EQ(held(), (Norv::Vector2<unsigned>(64, 32))) << "never above the file's size";

	// Asked for as a whole texture, the same record becomes one, with its mips.
	EXPECT_EQ(someTextures.GetTexture("menu.png", Norv::TEXTURE_MODE_FORCE_SRGB), somePicture);
	EXPECT_FALSE(somePicture->myIsPicture);
	EXPECT_EQ(MipLevels(*somePicture), 7u);
}
