// Textures of every format the manager loads, drawn through the sprite drawer
// and read back from the back buffer.
#include "Support/DdsFile.h"
#include "Support/GraphicsSetUp.h"
#include "Support/ImageEncoding.h"
#include "Support/TargaFile.h"
#include "drawers/SpriteDrawer.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <bitset>

namespace
{
	constexpr unsigned WIDTH = 480;
	constexpr unsigned HEIGHT = 120;
	constexpr float SPRITE_EDGE = 40.0f;
	constexpr int TOLERANCE = 2;

	using Rgb = std::array<int, 3>;

	std::string Repeat(const std::string& aBlock, int aCount)
	{
		std::string someBytes;
		for (int someIndex = 0; someIndex < aCount; ++someIndex)
			someBytes += aBlock;
		return someBytes;
	}

	// BC1 colour block of one 5:6:5 colour.
	std::string SolidColorBlock(std::uint16_t aColor)
	{
		const char someLow = static_cast<char>(aColor & 0xFF);
		const char someHigh = static_cast<char>(aColor >> 8);
		return { someLow, someHigh, someLow, someHigh, 0, 0, 0, 0 };
	}

	// BC7 mode 6 block of one colour: 7-bit endpoints, both p-bits 1, all indices 0.
	std::string SolidBc7Block(int aRed7, int aGreen7, int aBlue7, int aAlpha7)
	{
		std::bitset<128> someBits;
		someBits.set(6);
		int someBit = 7;
		for (int someChannel : { aRed7, aRed7, aGreen7, aGreen7, aBlue7, aBlue7, aAlpha7, aAlpha7 })
			for (int someIndex = 0; someIndex < 7; ++someIndex, ++someBit)
				someBits[someBit] = (someChannel >> someIndex) & 1;
		someBits.set(63);
		someBits.set(64);
		std::string someBlock(16, '\0');
		for (int someIndex = 0; someIndex < 128; ++someIndex)
			if (someBits[someIndex])
				someBlock[someIndex / 8] = static_cast<char>(someBlock[someIndex / 8] | (1 << (someIndex % 8)));
		return someBlock;
	}

	constexpr char ONE_RED_PIXEL_GIF[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
}

TEST(TextureDraw, EveryFormatDrawsThroughTheSpriteDrawer)
{
	NorvTest::GraphicsSetUp someSetUp{ { WIDTH, HEIGHT } };
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	const struct
	{
		const char* myName;
		std::string myBytes;
		Rgb myExpected;
	} someFiles[] = {
		{ "bc1.dds", NorvTest::MakeFourCCDds({ 8, 8, 1 }, "DXT1", Repeat(SolidColorBlock(0xF800), 4)), { 255, 0, 0 } },
		{ "bc3.dds", NorvTest::MakeFourCCDds({ 4, 4, 1 }, "DXT5", std::string("\xff\xff\0\0\0\0\0\0", 8) + SolidColorBlock(0x07E0)), { 0, 255, 0 } },
		{ "bc7.dds", NorvTest::MakeDx10Dds({ 4, 4, 1 }, DXGI_FORMAT_BC7_UNORM, SolidBc7Block(0, 0, 127, 127)), { 1, 1, 255 } },
		{ "bgra.dds", NorvTest::MakeMaskDds({ 2, 2, 1 }, 32, NorvTest::BGRA_MASKS, Repeat(std::string("\x40\x80\xC0\xFF", 4), 4)), { 0xC0, 0x80, 0x40 } },
		{ "image.png", NorvTest::EncodePng(4, 4, NorvTest::SolidPixels(4, 4, { 200, 100, 50, 255 })), { 200, 100, 50 } },
		{ "image.bmp", NorvTest::EncodeBmp(4, 4, NorvTest::SolidPixels(4, 4, { 10, 220, 130, 255 })), { 10, 220, 130 } },
		{ "image.jpg", NorvTest::EncodeJpeg(8, 8, NorvTest::SolidPixels(8, 8, { 250, 250, 250, 255 })), { 250, 250, 250 } },
		{ "image.gif", std::string(ONE_RED_PIXEL_GIF, sizeof(ONE_RED_PIXEL_GIF) - 1), { 255, 0, 0 } },
		{ "image.tga", NorvTest::MakeTarga(2, 2, Repeat(NorvTest::Bgra(30, 60, 90, 255), 4)), { 90, 60, 30 } },
	};

	someSetUp.DX11().Clear(Norv::Color(0.0f, 0.0f, 0.0f, 1.0f));
	someSetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
	float someX = 30.0f;
	for (const auto& someFile : someFiles)
	{
		someSetUp.Folder().Write(std::filesystem::path("data") / someFile.myName, someFile.myBytes);
		Norv::Texture* someTexture = someSetUp.Textures().GetTexture(someFile.myName, Norv::TEXTURE_MODE_FORCE_SRGB);
		ASSERT_FALSE(someTexture->myIsFailed) << someFile.myName;
		Norv::SpriteSharedData someShared;
		someShared.myColorTexture = someTexture;
		Norv::SpriteBatchScope someBatch = someSetUp.Graphics().GetSpriteDrawer()->BeginBatch(someShared);
		Norv::Sprite2DInstanceData someSprite;
		someSprite.myPosition = { someX, 60.0f };
		someSprite.mySize = { SPRITE_EDGE, SPRITE_EDGE };
		someBatch.Draw(someSprite);
		someX += 50.0f;
	}

	const std::vector<std::uint8_t> someBytes = someSetUp.ReadBackBuffer();
	someX = 30.0f;
	for (const auto& someFile : someFiles)
	{
		const std::array<std::uint8_t, 4> somePixel = someSetUp.PixelAt(someBytes, static_cast<unsigned>(someX), HEIGHT / 2);
		for (int someChannel = 0; someChannel < 3; ++someChannel)
			EXPECT_NEAR(somePixel[someChannel], someFile.myExpected[someChannel], TOLERANCE) << someFile.myName << " channel " << someChannel;
		someX += 50.0f;
	}
}
