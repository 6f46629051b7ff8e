#include "dds/S3tcDecoder.h"

#include <gtest/gtest.h>

using namespace Platform::dds;

namespace
{
	constexpr std::uint16_t RED_565 = 0xF800;
	constexpr std::uint16_t BLUE_565 = 0x001F;
	constexpr std::uint16_t WHITE_565 = 0xFFFF;

	// A BC1 colour block: two endpoints and 2-bit indices for texels 0 to 15.
	std::vector<std::uint8_t> ColorBlock(std::uint16_t aFirst, std::uint16_t aSecond, std::uint32_t aIndices)
	{
		return { static_cast<std::uint8_t>(aFirst), static_cast<std::uint8_t>(aFirst >> 8), static_cast<std::uint8_t>(aSecond), static_cast<std::uint8_t>(aSecond >> 8),
			static_cast<std::uint8_t>(aIndices), static_cast<std::uint8_t>(aIndices >> 8), static_cast<std::uint8_t>(aIndices >> 16), static_cast<std::uint8_t>(aIndices >> 24) };
	}

	std::vector<std::uint8_t> Texel(const std::vector<std::uint8_t>& aRgba, std::size_t aIndex)
	{
		return { aRgba.begin() + aIndex * 4, aRgba.begin() + aIndex * 4 + 4 };
	}

	using Bytes = std::vector<std::uint8_t>;
}

TEST(S3tcDecoder, Bc1FourColorMode)
{
	// Texels 0..3 use indices 0..3.
	const Bytes someBlock = ColorBlock(RED_565, BLUE_565, 0b11100100);
	const Bytes someRgba = DecodeS3tc(DXGI_FORMAT_BC1_UNORM, someBlock.data(), 4, 4, 8);
	ASSERT_EQ(someRgba.size(), 64u);
	EXPECT_EQ(Texel(someRgba, 0), (Bytes{ 255, 0, 0, 255 }));
	EXPECT_EQ(Texel(someRgba, 1), (Bytes{ 0, 0, 255, 255 }));
	EXPECT_EQ(Texel(someRgba, 2), (Bytes{ 170, 0, 85, 255 }));
	EXPECT_EQ(Texel(someRgba, 3), (Bytes{ 85, 0, 170, 255 }));
	EXPECT_EQ(Texel(someRgba, 15), (Bytes{ 255, 0, 0, 255 }));
}

TEST(S3tcDecoder, Bc1ThreeColorModeHasTransparentBlack)
{
	const Bytes someBlock = ColorBlock(BLUE_565, RED_565, 0b11100100);
	const Bytes someRgba = DecodeS3tc(DXGI_FORMAT_BC1_UNORM_SRGB, someBlock.data(), 4, 4, 8);
	EXPECT_EQ(Texel(someRgba, 2), (Bytes{ 127, 0, 127, 255 }));
	EXPECT_EQ(Texel(someRgba, 3), (Bytes{ 0, 0, 0, 0 }));
}

TEST(S3tcDecoder, Bc2ExplicitAlphaAndAlwaysFourColors)
{
	Bytes someBlock = { 0x8F, 0, 0, 0, 0, 0, 0, 0 }; // texel 0 alpha 15, texel 1 alpha 8
	const Bytes someColors = ColorBlock(BLUE_565, RED_565, 0b11000000); // texel 3 uses index 3
	someBlock.insert(someBlock.end(), someColors.begin(), someColors.end());
	const Bytes someRgba = DecodeS3tc(DXGI_FORMAT_BC2_UNORM, someBlock.data(), 4, 4, 16);
	EXPECT_EQ(Texel(someRgba, 0), (Bytes{ 0, 0, 255, 255 }));
	EXPECT_EQ(Texel(someRgba, 1), (Bytes{ 0, 0, 255, 136 }));
	EXPECT_EQ(Texel(someRgba, 2), (Bytes{ 0, 0, 255, 0 }));
	EXPECT_EQ(Texel(someRgba, 3), (Bytes{ 170, 0, 85, 0 })) << "no three-colour mode outside BC1";
}

TEST(S3tcDecoder, Bc3InterpolatedAlphaInBothModes)
{
	const Bytes someWhite = ColorBlock(WHITE_565, WHITE_565, 0);
	// Eight levels: texel 0 index 0 (255), texel 1 index 1 (0), texel 2 index 2 (6/7 of 255).
	Bytes someEight = { 255, 0, 0b10001000, 0, 0, 0, 0, 0 };
	someEight.insert(someEight.end(), someWhite.begin(), someWhite.end());
	const Bytes someRgba = DecodeS3tc(DXGI_FORMAT_BC3_UNORM, someEight.data(), 4, 4, 16);
	EXPECT_EQ(someRgba[3], 255);
	EXPECT_EQ(someRgba[7], 0);
	EXPECT_EQ(someRgba[11], 218);
	EXPECT_EQ(someRgba[0], 255);

	// Six levels plus 0 and 255: texel 0 index 6, texel 1 index 7, texel 2 index 2 (1/5 of 255).
	Bytes someSix = { 0, 255, 0b10111110, 0, 0, 0, 0, 0 };
	someSix.insert(someSix.end(), someWhite.begin(), someWhite.end());
	const Bytes someRgbaSix = DecodeS3tc(DXGI_FORMAT_BC3_UNORM_SRGB, someSix.data(), 4, 4, 16);
	EXPECT_EQ(someRgbaSix[3], 0);
	EXPECT_EQ(someRgbaSix[7], 255);
	EXPECT_EQ(someRgbaSix[11], 51);
}

TEST(S3tcDecoder, PartialBlocksAndRowPitch)
{
	// Two blocks across (red, blue), 6 x 3 pixels: the image keeps 6 x 3 of the 8 x 4 decoded.
	Bytes someBlocks = ColorBlock(RED_565, RED_565, 0);
	const Bytes someBlue = ColorBlock(BLUE_565, BLUE_565, 0);
	someBlocks.insert(someBlocks.end(), someBlue.begin(), someBlue.end());
	const Bytes someRgba = DecodeS3tc(DXGI_FORMAT_BC1_UNORM, someBlocks.data(), 6, 3, 16);
	ASSERT_EQ(someRgba.size(), 6u * 3u * 4u);
	EXPECT_EQ(Texel(someRgba, 3), (Bytes{ 255, 0, 0, 255 }));
	EXPECT_EQ(Texel(someRgba, 4), (Bytes{ 0, 0, 255, 255 }));
	EXPECT_EQ(Texel(someRgba, 2 * 6 + 5), (Bytes{ 0, 0, 255, 255 }));
	EXPECT_TRUE(IsS3tc(DXGI_FORMAT_BC3_UNORM_SRGB));
	EXPECT_FALSE(IsS3tc(DXGI_FORMAT_BC4_UNORM));
}
