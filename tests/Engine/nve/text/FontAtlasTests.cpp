// The glyph atlas on a headless device.
#include "Support/GpuDevice.h"
#include "text/FontAtlas.h"
#include "text/FontRasterizer.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>

TEST(FontAtlas, AtlasPixelsReachTheGpuWithAFullMipChain)
{
	NorvTest::GpuDevice someGpu;
	ASSERT_NE(someGpu.Device(), nullptr) << "no headless OpenGL 4.5 device";
	FT_Library someLibrary = nullptr;
	ASSERT_EQ(FT_Init_FreeType(&someLibrary), 0);
	Norv::InternalTextAndFontData someFont;
	ASSERT_TRUE(Norv::impl::RasterizeFont(someLibrary, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 24, 1, someFont));
	FT_Done_FreeType(someLibrary);

	ASSERT_TRUE(Norv::impl::CreateFontAtlas(someGpu.Device(), someGpu.Context(), someFont));
	ASSERT_TRUE(someFont.myAtlasView);
	ASSERT_NE(someFont.myAtlasTexture, nullptr);
	EXPECT_EQ(someFont.myAtlasTexture->myView.Get(), someFont.myAtlasView.Get());

	Microsoft::WRL::ComPtr<ID3D11Resource> someResource;
	someFont.myAtlasView->GetResource(someResource.GetAddressOf());
	auto* someTexture = static_cast<ID3D11Texture2D*>(someResource.Get());
	D3D11_TEXTURE2D_DESC someDesc;
	someTexture->GetDesc(&someDesc);
	EXPECT_EQ(someDesc.MipLevels, 11u);
	EXPECT_EQ(someDesc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);

	const std::vector<std::uint8_t> someTop = someGpu.ReadBack(someTexture, 0);
	ASSERT_EQ(someTop.size(), someFont.myPixels.size() * 4);
	EXPECT_EQ(std::memcmp(someTop.data(), someFont.myPixels.data(), someTop.size()), 0);
	const std::vector<std::uint8_t> someSmallest = someGpu.ReadBack(someTexture, 10);
	ASSERT_EQ(someSmallest.size(), 4u);
	EXPECT_GT(someSmallest[3], 0) << "the glyphs' coverage averages into the last level";
}

TEST(FontAtlas, NoDeviceOrNoPixelsFails)
{
	Norv::InternalTextAndFontData someEmpty;
	NorvTest::GpuDevice someGpu;
	EXPECT_FALSE(Norv::impl::CreateFontAtlas(someGpu.Device(), someGpu.Context(), someEmpty));
	someEmpty.myPixels.resize(16);
	EXPECT_FALSE(Norv::impl::CreateFontAtlas(nullptr, nullptr, someEmpty));
	EXPECT_FALSE(someEmpty.myAtlasView);
}
