// Buffers, textures, views, Map/Unmap, UpdateSubresource, GenerateMips and the
// staging read-back of the d3d11 stand-in, on a headless device.
#include "Support/GpuDevice.h"
#include "d3d11/TestSeams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

using Microsoft::WRL::ComPtr;

namespace
{
	D3D11_TEXTURE2D_DESC TextureDesc(UINT aWidth, UINT aHeight, DXGI_FORMAT aFormat, UINT aMips = 1, D3D11_USAGE aUsage = D3D11_USAGE_DEFAULT)
	{
		D3D11_TEXTURE2D_DESC someDesc{};
		someDesc.Width = aWidth;
		someDesc.Height = aHeight;
		someDesc.MipLevels = aMips;
		someDesc.ArraySize = 1;
		someDesc.Format = aFormat;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.Usage = aUsage;
		someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
		someDesc.CPUAccessFlags = aUsage == D3D11_USAGE_DYNAMIC ? UINT(D3D11_CPU_ACCESS_WRITE) : 0u;
		return someDesc;
	}

	class D3D11Resources : public ::testing::Test
	{
	protected:
		void SetUp() override { ASSERT_NE(myGpu.Device(), nullptr) << "no headless OpenGL 4.5 device"; }

		std::vector<std::uint8_t> ReadBuffer(ID3D11Buffer* aBuffer)
		{
			D3D11_BUFFER_DESC someDesc;
			aBuffer->GetDesc(&someDesc);
			someDesc.Usage = D3D11_USAGE_STAGING;
			someDesc.BindFlags = 0;
			someDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
			ComPtr<ID3D11Buffer> someStaging;
			EXPECT_EQ(myGpu.Device()->CreateBuffer(&someDesc, nullptr, someStaging.GetAddressOf()), S_OK);
			myGpu.Context()->CopyResource(someStaging.Get(), aBuffer);
			D3D11_MAPPED_SUBRESOURCE someMapped;
			EXPECT_EQ(myGpu.Context()->Map(someStaging.Get(), 0, D3D11_MAP_READ, 0, &someMapped), S_OK);
			std::vector<std::uint8_t> someBytes(static_cast<const std::uint8_t*>(someMapped.pData), static_cast<const std::uint8_t*>(someMapped.pData) + someDesc.ByteWidth);
			myGpu.Context()->Unmap(someStaging.Get(), 0);
			return someBytes;
		}

		NorvTest::GpuDevice myGpu;
	};
}

TEST_F(D3D11Resources, BufferCreationChecksItsDescription)
{
	ComPtr<ID3D11Buffer> someBuffer;
	D3D11_BUFFER_DESC someDesc{ 64, D3D11_USAGE_IMMUTABLE, D3D11_BIND_VERTEX_BUFFER, 0, 0, 0 };
	EXPECT_EQ(myGpu.Device()->CreateBuffer(&someDesc, nullptr, someBuffer.GetAddressOf()), E_INVALIDARG) << "immutable without data";
	someDesc = { 20, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
	EXPECT_EQ(myGpu.Device()->CreateBuffer(&someDesc, nullptr, someBuffer.GetAddressOf()), E_INVALIDARG) << "constant buffers are whole 16-byte rows";
	someDesc.ByteWidth = 0;
	EXPECT_EQ(myGpu.Device()->CreateBuffer(&someDesc, nullptr, someBuffer.GetAddressOf()), E_INVALIDARG);
	EXPECT_EQ(someBuffer.Get(), nullptr);
}

TEST_F(D3D11Resources, DynamicBufferTakesWhatMapWrites)
{
	D3D11_BUFFER_DESC someDesc{ 32, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
	ComPtr<ID3D11Buffer> someBuffer;
	ASSERT_EQ(myGpu.Device()->CreateBuffer(&someDesc, nullptr, someBuffer.GetAddressOf()), S_OK);
	for (std::uint8_t someRound = 1; someRound <= 2; ++someRound)
	{
		D3D11_MAPPED_SUBRESOURCE someMapped;
		ASSERT_EQ(myGpu.Context()->Map(someBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), S_OK);
		std::memset(someMapped.pData, someRound, 32);
		myGpu.Context()->Unmap(someBuffer.Get(), 0);
		EXPECT_EQ(ReadBuffer(someBuffer.Get()), std::vector<std::uint8_t>(32, someRound));
	}
}

// A discarding map's memory reaches the GL buffer lazily: a later write or copy
// must see it whole, and must not be overwritten by it afterwards.
TEST_F(D3D11Resources, WritesAfterADiscardingMapKeepTheirOrder)
{
	D3D11_BUFFER_DESC someDesc{ 64, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
	ComPtr<ID3D11Buffer> someBuffer;
	ASSERT_EQ(myGpu.Device()->CreateBuffer(&someDesc, nullptr, someBuffer.GetAddressOf()), S_OK);
	D3D11_MAPPED_SUBRESOURCE someMapped;
	ASSERT_EQ(myGpu.Context()->Map(someBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), S_OK);
	std::memset(someMapped.pData, 0xAA, 64);
	myGpu.Context()->Unmap(someBuffer.Get(), 0);
	const std::array<std::uint8_t, 8> someUpdate{ 1, 2, 3, 4, 5, 6, 7, 8 };
	const D3D11_BOX someBox{ 8, 0, 0, 16, 1, 1 };
	myGpu.Context()->UpdateSubresource(someBuffer.Get(), 0, &someBox, someUpdate.data(), 0, 0);
	std::vector<std::uint8_t> someExpected(64, 0xAA);
	std::copy(someUpdate.begin(), someUpdate.end(), someExpected.begin() + 8);
	EXPECT_EQ(ReadBuffer(someBuffer.Get()), someExpected);

	// A NO_OVERWRITE map writes into the GL buffer itself, next to the discarded map's data.
	ASSERT_EQ(myGpu.Context()->Map(someBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), S_OK);
	std::memset(someMapped.pData, 0x11, 64);
	myGpu.Context()->Unmap(someBuffer.Get(), 0);
	ASSERT_EQ(myGpu.Context()->Map(someBuffer.Get(), 0, D3D11_MAP_WRITE_NO_OVERWRITE, 0, &someMapped), S_OK);
	static_cast<std::uint8_t*>(someMapped.pData)[63] = 0x22;
	myGpu.Context()->Unmap(someBuffer.Get(), 0);
	someExpected.assign(64, 0x11);
	someExpected[63] = 0x22;
	EXPECT_EQ(ReadBuffer(someBuffer.Get()), someExpected);
}

TEST_F(D3D11Resources, MapRefusesWhatCannotBeMapped)
{
	const std::array<std::uint8_t, 16> someData{};
	D3D11_SUBRESOURCE_DATA someInitial{ someData.data(), 0, 0 };
	D3D11_BUFFER_DESC someDesc{ 16, D3D11_USAGE_IMMUTABLE, D3D11_BIND_VERTEX_BUFFER, 0, 0, 0 };
	ComPtr<ID3D11Buffer> someBuffer;
	ASSERT_EQ(myGpu.Device()->CreateBuffer(&someDesc, &someInitial, someBuffer.GetAddressOf()), S_OK);
	D3D11_MAPPED_SUBRESOURCE someMapped;
	EXPECT_EQ(myGpu.Context()->Map(someBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), E_INVALIDARG);
	EXPECT_EQ(someMapped.pData, nullptr);

	someDesc = { 16, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
	ASSERT_EQ(myGpu.Device()->CreateBuffer(&someDesc, nullptr, someBuffer.ReleaseAndGetAddressOf()), S_OK);
	Platform::SetMapFailureOverride([] { return true; });
	EXPECT_EQ(myGpu.Context()->Map(someBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), E_FAIL);
	Platform::SetMapFailureOverride({});
	EXPECT_EQ(myGpu.Context()->Map(someBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), S_OK);
	EXPECT_EQ(myGpu.Context()->Map(someBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), E_INVALIDARG) << "already mapped";
	myGpu.Context()->Unmap(someBuffer.Get(), 0);
}

TEST_F(D3D11Resources, UpdateSubresourceWritesOnlyTheBox)
{
	const std::vector<std::uint8_t> someZeros(16, 0);
	D3D11_SUBRESOURCE_DATA someInitial{ someZeros.data(), 0, 0 };
	D3D11_BUFFER_DESC someDesc{ 16, D3D11_USAGE_DEFAULT, D3D11_BIND_VERTEX_BUFFER, 0, 0, 0 };
	ComPtr<ID3D11Buffer> someBuffer;
	ASSERT_EQ(myGpu.Device()->CreateBuffer(&someDesc, &someInitial, someBuffer.GetAddressOf()), S_OK);
	const std::uint8_t someBytes[4] = { 9, 8, 7, 6 };
	const D3D11_BOX someBox{ 4, 0, 0, 8, 1, 1 };
	myGpu.Context()->UpdateSubresource(someBuffer.Get(), 0, &someBox, someBytes, 0, 0);
	EXPECT_EQ(ReadBuffer(someBuffer.Get()), (std::vector<std::uint8_t>{ 0, 0, 0, 0, 9, 8, 7, 6, 0, 0, 0, 0, 0, 0, 0, 0 }));
}

TEST_F(D3D11Resources, TextureInitialDataHonoursRowPitch)
{
	// 2x2 pixels with 4 bytes of padding after each row.
	const std::uint8_t someRows[] = { 1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE, 0xEE, 0xEE, 9, 10, 11, 12, 13, 14, 15, 16, 0xEE, 0xEE, 0xEE, 0xEE };
	const D3D11_SUBRESOURCE_DATA someInitial{ someRows, 12, 0 };
	const D3D11_TEXTURE2D_DESC someDesc = TextureDesc(2, 2, DXGI_FORMAT_R8G8B8A8_UNORM);
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, &someInitial, someTexture.GetAddressOf()), S_OK);
	std::vector<std::uint8_t> someExpected;
	for (std::uint8_t i = 1; i <= 16; ++i)
		someExpected.push_back(i);
	EXPECT_EQ(myGpu.ReadBack(someTexture.Get()), someExpected);
}

TEST_F(D3D11Resources, BgraTexturesKeepTheirChannelOrder)
{
	const std::uint8_t somePixel[] = { 10, 20, 30, 40 }; // b, g, r, a
	const D3D11_SUBRESOURCE_DATA someInitial{ somePixel, 4, 0 };
	for (DXGI_FORMAT someFormat : { DXGI_FORMAT_B8G8R8A8_UNORM, DXGI_FORMAT_B8G8R8A8_UNORM_SRGB })
	{
		const D3D11_TEXTURE2D_DESC someDesc = TextureDesc(1, 1, someFormat);
		ComPtr<ID3D11Texture2D> someTexture;
		ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, &someInitial, someTexture.GetAddressOf()), S_OK);
		EXPECT_EQ(myGpu.ReadBack(someTexture.Get()), (std::vector<std::uint8_t>{ 10, 20, 30, 40 })) << someFormat;
	}
}

TEST_F(D3D11Resources, MipLevelsZeroMakesTheFullChainAndEachMipLoads)
{
	D3D11_TEXTURE2D_DESC someDesc = TextureDesc(8, 2, DXGI_FORMAT_R8_UNORM, 0);
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()), S_OK);
	someTexture->GetDesc(&someDesc);
	EXPECT_EQ(someDesc.MipLevels, 4u); // 8x2, 4x1, 2x1, 1x1

	const std::vector<std::uint8_t> someMip0(16, 1), someMip1(4, 2), someMip2(2, 3), someMip3(1, 4);
	const D3D11_SUBRESOURCE_DATA someInitial[] = { { someMip0.data(), 8, 0 }, { someMip1.data(), 4, 0 }, { someMip2.data(), 2, 0 }, { someMip3.data(), 1, 0 } };
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, someInitial, someTexture.ReleaseAndGetAddressOf()), S_OK);
	EXPECT_EQ(myGpu.ReadBack(someTexture.Get(), 0), someMip0);
	EXPECT_EQ(myGpu.ReadBack(someTexture.Get(), 1), someMip1);
	EXPECT_EQ(myGpu.ReadBack(someTexture.Get(), 3), someMip3);

	someDesc.MipLevels = 5;
	EXPECT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.ReleaseAndGetAddressOf()), E_INVALIDARG) << "more mips than the chain has";
}

TEST_F(D3D11Resources, BlockCompressedTexturesKeepTheirBlocks)
{
	struct Case
	{
		DXGI_FORMAT myFormat;
		size_t myBlockBytes;
	};
	for (const Case& someCase : { Case{ DXGI_FORMAT_BC1_UNORM, 8 }, Case{ DXGI_FORMAT_BC1_UNORM_SRGB, 8 }, Case{ DXGI_FORMAT_BC2_UNORM, 16 },
			 Case{ DXGI_FORMAT_BC3_UNORM_SRGB, 16 }, Case{ DXGI_FORMAT_BC4_UNORM, 8 }, Case{ DXGI_FORMAT_BC5_UNORM, 16 },
			 Case{ DXGI_FORMAT_BC6H_UF16, 16 }, Case{ DXGI_FORMAT_BC7_UNORM, 16 }, Case{ DXGI_FORMAT_BC7_UNORM_SRGB, 16 } })
	{
		// 8x8 pixels: 2x2 blocks. A BC1 block of two equal end points is always decodable.
		std::vector<std::uint8_t> someBlocks(4 * someCase.myBlockBytes);
		for (size_t i = 0; i < someBlocks.size(); ++i)
			someBlocks[i] = static_cast<std::uint8_t>(i * 7);
		if (someCase.myFormat == DXGI_FORMAT_BC7_UNORM || someCase.myFormat == DXGI_FORMAT_BC7_UNORM_SRGB)
			for (size_t i = 0; i < someBlocks.size(); i += 16)
				someBlocks[i] = 0x40; // mode 6
		const D3D11_SUBRESOURCE_DATA someInitial{ someBlocks.data(), static_cast<UINT>(2 * someCase.myBlockBytes), 0 };
		const D3D11_TEXTURE2D_DESC someDesc = TextureDesc(8, 8, someCase.myFormat);
		ComPtr<ID3D11Texture2D> someTexture;
		ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, &someInitial, someTexture.GetAddressOf()), S_OK) << someCase.myFormat;
		EXPECT_EQ(myGpu.ReadBack(someTexture.Get()), someBlocks) << someCase.myFormat;
		ComPtr<ID3D11ShaderResourceView> someView;
		EXPECT_EQ(myGpu.Device()->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf()), S_OK) << someCase.myFormat;
	}
}

TEST_F(D3D11Resources, TextureCreationRefusesBadDescriptions)
{
	ComPtr<ID3D11Texture2D> someTexture;
	D3D11_TEXTURE2D_DESC someDesc = TextureDesc(0, 4, DXGI_FORMAT_R8G8B8A8_UNORM);
	EXPECT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()), E_INVALIDARG);
	someDesc = TextureDesc(4, 4, DXGI_FORMAT_UNKNOWN);
	EXPECT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()), E_INVALIDARG);
	someDesc = TextureDesc(4, 4, DXGI_FORMAT_R8G8B8A8_UNORM, 1, D3D11_USAGE_IMMUTABLE);
	EXPECT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()), E_INVALIDARG);
	EXPECT_EQ(someTexture.Get(), nullptr);
}

TEST_F(D3D11Resources, ViewsOnlyReadCompatibleFormats)
{
	D3D11_TEXTURE2D_DESC someDesc = TextureDesc(4, 4, DXGI_FORMAT_R8G8B8A8_TYPELESS);
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()), S_OK);
	D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc{};
	someViewDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM_SRGB;
	someViewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
	someViewDesc.Texture2D = { 0, static_cast<UINT>(-1) };
	ComPtr<ID3D11ShaderResourceView> someView;
	EXPECT_EQ(myGpu.Device()->CreateShaderResourceView(someTexture.Get(), &someViewDesc, someView.GetAddressOf()), S_OK);
	ComPtr<ID3D11Resource> someResource;
	someView->GetResource(someResource.GetAddressOf());
	EXPECT_EQ(someResource.Get(), someTexture.Get());

	someViewDesc.Format = DXGI_FORMAT_R32_FLOAT;
	EXPECT_EQ(myGpu.Device()->CreateShaderResourceView(someTexture.Get(), &someViewDesc, someView.ReleaseAndGetAddressOf()), E_INVALIDARG);

	someDesc.BindFlags = 0;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.ReleaseAndGetAddressOf()), S_OK);
	EXPECT_EQ(myGpu.Device()->CreateShaderResourceView(someTexture.Get(), nullptr, someView.ReleaseAndGetAddressOf()), E_INVALIDARG) << "not bound as a shader resource";
	EXPECT_EQ(myGpu.Device()->CreateRenderTargetView(someTexture.Get(), nullptr, nullptr), E_INVALIDARG);
}

TEST_F(D3D11Resources, CubeMapsTakeSixFacesAndACubeView)
{
	D3D11_TEXTURE2D_DESC someDesc = TextureDesc(2, 2, DXGI_FORMAT_R8G8B8A8_UNORM);
	someDesc.ArraySize = 6;
	someDesc.MiscFlags = D3D11_RESOURCE_MISC_TEXTURECUBE;
	std::array<std::vector<std::uint8_t>, 6> someFaces;
	std::array<D3D11_SUBRESOURCE_DATA, 6> someInitial;
	for (UINT i = 0; i < 6; ++i)
	{
		someFaces[i].assign(16, static_cast<std::uint8_t>(10 * (i + 1)));
		someInitial[i] = { someFaces[i].data(), 8, 0 };
	}
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, someInitial.data(), someTexture.GetAddressOf()), S_OK);
	EXPECT_EQ(myGpu.ReadBack(someTexture.Get(), 4), someFaces[4]);
	ComPtr<ID3D11ShaderResourceView> someView;
	ASSERT_EQ(myGpu.Device()->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf()), S_OK);
	D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc;
	someView->GetDesc(&someViewDesc);
	EXPECT_EQ(someViewDesc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURECUBE);
}

TEST_F(D3D11Resources, DynamicTexturesTakeMappedPixels)
{
	const D3D11_TEXTURE2D_DESC someDesc = TextureDesc(3, 2, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB, 1, D3D11_USAGE_DYNAMIC);
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()), S_OK);
	D3D11_MAPPED_SUBRESOURCE someMapped;
	ASSERT_EQ(myGpu.Context()->Map(someTexture.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), S_OK);
	ASSERT_GE(someMapped.RowPitch, 12u);
	for (UINT someRow = 0; someRow < 2; ++someRow)
		std::memset(static_cast<std::uint8_t*>(someMapped.pData) + someRow * someMapped.RowPitch, 50 + static_cast<int>(someRow), 12);
	myGpu.Context()->Unmap(someTexture.Get(), 0);
	std::vector<std::uint8_t> someExpected(12, 50);
	someExpected.resize(24, 51);
	EXPECT_EQ(myGpu.ReadBack(someTexture.Get()), someExpected);

	const D3D11_TEXTURE2D_DESC someDefaultDesc = TextureDesc(3, 2, DXGI_FORMAT_R8G8B8A8_UNORM);
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDefaultDesc, nullptr, someTexture.ReleaseAndGetAddressOf()), S_OK);
	EXPECT_EQ(myGpu.Context()->Map(someTexture.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped), E_INVALIDARG) << "default usage is not mappable";
}

TEST_F(D3D11Resources, UpdateSubresourceWritesATextureBox)
{
	const std::vector<std::uint8_t> someZeros(16, 0);
	const D3D11_SUBRESOURCE_DATA someInitial{ someZeros.data(), 4, 0 };
	const D3D11_TEXTURE2D_DESC someDesc = TextureDesc(4, 4, DXGI_FORMAT_R8_UNORM);
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, &someInitial, someTexture.GetAddressOf()), S_OK);
	const std::uint8_t somePatch[] = { 1, 2, 3, 4 };
	const D3D11_BOX someBox{ 1, 2, 0, 3, 4, 1 };
	myGpu.Context()->UpdateSubresource(someTexture.Get(), 0, &someBox, somePatch, 2, 0);
	EXPECT_EQ(myGpu.ReadBack(someTexture.Get()), (std::vector<std::uint8_t>{ 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 3, 4, 0 }));
}

TEST_F(D3D11Resources, GenerateMipsAveragesIntoTheSmallerLevels)
{
	// Left half white, right half black.
	std::vector<std::uint8_t> somePixels;
	for (int i = 0; i < 16; ++i)
		for (int someChannel = 0; someChannel < 4; ++someChannel)
			somePixels.push_back(someChannel == 3 || i % 4 < 2 ? 255 : 0);
	const D3D11_SUBRESOURCE_DATA someInitial[3] = { { somePixels.data(), 16, 0 }, {}, {} };
	D3D11_TEXTURE2D_DESC someDesc = TextureDesc(4, 4, DXGI_FORMAT_R8G8B8A8_UNORM, 3);
	someDesc.BindFlags |= D3D11_BIND_RENDER_TARGET;
	someDesc.MiscFlags = D3D11_RESOURCE_MISC_GENERATE_MIPS;
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, someInitial, someTexture.GetAddressOf()), S_OK);
	ComPtr<ID3D11ShaderResourceView> someView;
	ASSERT_EQ(myGpu.Device()->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf()), S_OK);
	myGpu.Context()->GenerateMips(someView.Get());
	const std::vector<std::uint8_t> someSmallest = myGpu.ReadBack(someTexture.Get(), 2);
	ASSERT_EQ(someSmallest.size(), 4u);
	EXPECT_NEAR(someSmallest[0], 128, 30) << "a blend of white and black";
	EXPECT_EQ(someSmallest[3], 255);
}

TEST_F(D3D11Resources, ClearsWriteThroughTheViewsEncoding)
{
	D3D11_TEXTURE2D_DESC someDesc = TextureDesc(2, 2, DXGI_FORMAT_R8G8B8A8_UNORM);
	someDesc.BindFlags = D3D11_BIND_RENDER_TARGET;
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()), S_OK);
	D3D11_RENDER_TARGET_VIEW_DESC someViewDesc{ DXGI_FORMAT_R8G8B8A8_UNORM_SRGB, D3D11_RTV_DIMENSION_TEXTURE2D, { 0 } };
	ComPtr<ID3D11RenderTargetView> someSrgbView, somePlainView;
	ASSERT_EQ(myGpu.Device()->CreateRenderTargetView(someTexture.Get(), &someViewDesc, someSrgbView.GetAddressOf()), S_OK);
	ASSERT_EQ(myGpu.Device()->CreateRenderTargetView(someTexture.Get(), nullptr, somePlainView.GetAddressOf()), S_OK);

	const float someLinearHalf[4] = { 0.5f, 0.0f, 1.0f, 1.0f };
	myGpu.Context()->ClearRenderTargetView(someSrgbView.Get(), someLinearHalf);
	std::vector<std::uint8_t> somePixels = myGpu.ReadBack(someTexture.Get());
	EXPECT_NEAR(somePixels[0], 188, 1) << "linear 0.5 stored as sRGB";
	EXPECT_EQ(somePixels[2], 255);

	myGpu.Context()->ClearRenderTargetView(somePlainView.Get(), someLinearHalf);
	somePixels = myGpu.ReadBack(someTexture.Get());
	EXPECT_NEAR(somePixels[0], 128, 1) << "the plain view stores the value as it is";
}

TEST_F(D3D11Resources, DepthBuffersClearAndReadBackAsFloats)
{
	D3D11_TEXTURE2D_DESC someDesc = TextureDesc(4, 2, DXGI_FORMAT_R32_TYPELESS);
	someDesc.BindFlags = D3D11_BIND_DEPTH_STENCIL | D3D11_BIND_SHADER_RESOURCE;
	ComPtr<ID3D11Texture2D> someTexture;
	ASSERT_EQ(myGpu.Device()->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()), S_OK);
	const D3D11_DEPTH_STENCIL_VIEW_DESC someDepthDesc{ DXGI_FORMAT_D32_FLOAT, D3D11_DSV_DIMENSION_TEXTURE2D, 0, { 0 } };
	ComPtr<ID3D11DepthStencilView> someDepthView;
	ASSERT_EQ(myGpu.Device()->CreateDepthStencilView(someTexture.Get(), &someDepthDesc, someDepthView.GetAddressOf()), S_OK);
	D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc{};
	someViewDesc.Format = DXGI_FORMAT_R32_FLOAT;
	someViewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
	someViewDesc.Texture2D = { 0, static_cast<UINT>(-1) };
	ComPtr<ID3D11ShaderResourceView> someView;
	EXPECT_EQ(myGpu.Device()->CreateShaderResourceView(someTexture.Get(), &someViewDesc, someView.GetAddressOf()), S_OK);

	myGpu.Context()->ClearDepthStencilView(someDepthView.Get(), D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL, 0.25f, 0);
	const std::vector<std::uint8_t> someBytes = myGpu.ReadBack(someTexture.Get());
	ASSERT_EQ(someBytes.size(), 32u);
	float someDepth = 0.0f;
	std::memcpy(&someDepth, someBytes.data() + 28, 4);
	EXPECT_FLOAT_EQ(someDepth, 0.25f);
}

TEST_F(D3D11Resources, ObjectsOutliveTheirDevicesLastOutsideReference)
{
	D3D11_BUFFER_DESC someDesc{ 16, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
	ComPtr<ID3D11Buffer> someBuffer;
	{
		NorvTest::GpuDevice someOther;
		ASSERT_EQ(someOther.Device()->CreateBuffer(&someDesc, nullptr, someBuffer.GetAddressOf()), S_OK);
	}
	ComPtr<ID3D11Device> someDevice;
	someBuffer->GetDevice(someDevice.GetAddressOf());
	EXPECT_NE(someDevice.Get(), nullptr);
	someBuffer.Reset(); // releases its GL buffer on its own context, then the device
}
