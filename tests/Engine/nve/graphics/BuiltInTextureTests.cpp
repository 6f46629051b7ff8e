// The texture manager's built-in textures: placeholder checkerboard, flat
// normal and "WhiteSquare".
#include "Support/GraphicsSetUp.h"

#include <gtest/gtest.h>

namespace
{
	std::vector<std::uint8_t> ReadView(ID3D11ShaderResourceView* aView)
	{
		Microsoft::WRL::ComPtr<ID3D11Resource> someResource;
		aView->GetResource(someResource.GetAddressOf());
		return NorvTest::ReadBackTexture(Norv::DX11::ourDevice, Norv::DX11::ourContext, static_cast<ID3D11Texture2D*>(someResource.Get()));
	}
}

TEST(BuiltInTextures, PlaceholderIsAMagentaAndBlackCheckerboard)
{
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 });
	ASSERT_TRUE(someSetUp.IsReady());
	ASSERT_NE(someSetUp.Textures().GetPlaceholderView(), nullptr);
	const std::vector<std::uint8_t> somePixels = ReadView(someSetUp.Textures().GetPlaceholderView());
	ASSERT_EQ(somePixels.size(), 16u * 16u * 4u);
	const auto Texel = [&](unsigned aX, unsigned aY) {
		const std::size_t i = (aY * 16 + aX) * 4;
		return std::vector<std::uint8_t>(somePixels.begin() + static_cast<long>(i), somePixels.begin() + static_cast<long>(i) + 4);
	};
	EXPECT_EQ(Texel(0, 0), (std::vector<std::uint8_t>{ 0, 0, 0, 255 }));
	EXPECT_EQ(Texel(1, 0), (std::vector<std::uint8_t>{ 255, 0, 255, 255 }));
	EXPECT_EQ(Texel(15, 14), (std::vector<std::uint8_t>{ 255, 0, 255, 255 }));
	EXPECT_EQ(Texel(15, 15), (std::vector<std::uint8_t>{ 0, 0, 0, 255 }));
}

TEST(BuiltInTextures, FlatNormalAndWhiteSquare)
{
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 });
	ASSERT_TRUE(someSetUp.IsReady());
	std::vector<std::uint8_t> someExpected;
	for (int i = 0; i < 16; ++i)
		someExpected.insert(someExpected.end(), { 128, 128, 255, 255 });
	EXPECT_EQ(ReadView(someSetUp.Textures().GetFlatNormalView()), someExpected);

	const Norv::Texture* someWhite = someSetUp.Textures().GetWhiteSquareTexture();
	ASSERT_NE(someWhite, nullptr);
	EXPECT_EQ(someWhite->myName, "WhiteSquare");
	EXPECT_EQ(someWhite->mySize, (Norv::Vector2<unsigned int>{ 512, 512 }));
	EXPECT_FLOAT_EQ(someWhite->myNormalizedSize.x, 0.3f);
	EXPECT_FALSE(someWhite->myIsFailed);
	EXPECT_EQ(ReadView(someWhite->myView.Get()), std::vector<std::uint8_t>(64, 255));
}
