// Drawing through the stand-in with the build's compiled full-screen shaders:
// face winding as Direct3D, depth testing, and sampler slots reaching the
// texture units that read through them.
#include "Support/GpuDevice.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using Microsoft::WRL::ComPtr;

namespace
{
	constexpr UINT SIZE = 64;

	std::string ReadCooked(const char* aName)
	{
		std::ifstream someFile(std::string(NORV_COOKED_DIR) + "/shaders/" + aName + ".cso", std::ios::binary);
		return { std::istreambuf_iterator<char>(someFile), std::istreambuf_iterator<char>() };
	}

	class D3D11Draws : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ID3D11Device* someDevice = myGpu.Device();
			ASSERT_NE(someDevice, nullptr);
			const std::string someVertexCode = ReadCooked("PostprocessVS");
			const std::string somePixelCode = ReadCooked("PostprocessCopyPS");
			ASSERT_EQ(someDevice->CreateVertexShader(someVertexCode.data(), someVertexCode.size(), nullptr, myVertexShader.GetAddressOf()), S_OK);
			ASSERT_EQ(someDevice->CreatePixelShader(somePixelCode.data(), somePixelCode.size(), nullptr, myPixelShader.GetAddressOf()), S_OK);

			D3D11_TEXTURE2D_DESC someDesc{ SIZE, SIZE, 1, 1, DXGI_FORMAT_R8G8B8A8_UNORM, { 1, 0 }, D3D11_USAGE_DEFAULT, D3D11_BIND_RENDER_TARGET, 0, 0 };
			ASSERT_EQ(someDevice->CreateTexture2D(&someDesc, nullptr, myTarget.GetAddressOf()), S_OK);
			ASSERT_EQ(someDevice->CreateRenderTargetView(myTarget.Get(), nullptr, myTargetView.GetAddressOf()), S_OK);
			someDesc.Format = DXGI_FORMAT_D32_FLOAT;
			someDesc.BindFlags = D3D11_BIND_DEPTH_STENCIL;
			ASSERT_EQ(someDevice->CreateTexture2D(&someDesc, nullptr, myDepth.GetAddressOf()), S_OK);
			ASSERT_EQ(someDevice->CreateDepthStencilView(myDepth.Get(), nullptr, myDepthView.GetAddressOf()), S_OK);

			// Source: left texel red, right texel blue.
			const std::uint8_t somePixels[] = { 255, 0, 0, 255, 0, 0, 255, 255 };
			const D3D11_SUBRESOURCE_DATA someData{ somePixels, 8, 0 };
			const D3D11_TEXTURE2D_DESC someSourceDesc{ 2, 1, 1, 1, DXGI_FORMAT_R8G8B8A8_UNORM, { 1, 0 }, D3D11_USAGE_IMMUTABLE, D3D11_BIND_SHADER_RESOURCE, 0, 0 };
			ASSERT_EQ(someDevice->CreateTexture2D(&someSourceDesc, &someData, mySource.GetAddressOf()), S_OK);
			ASSERT_EQ(someDevice->CreateShaderResourceView(mySource.Get(), nullptr, mySourceView.GetAddressOf()), S_OK);

			ID3D11DeviceContext* someContext = myGpu.Context();
			const float someBlack[4] = { 0.0f, 0.0f, 0.0f, 1.0f };
			someContext->ClearRenderTargetView(myTargetView.Get(), someBlack);
			someContext->VSSetShader(myVertexShader.Get(), nullptr, 0);
			someContext->PSSetShader(myPixelShader.Get(), nullptr, 0);
			someContext->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
			ID3D11ShaderResourceView* const someViews[] = { mySourceView.Get() };
			someContext->PSSetShaderResources(0, 1, someViews);
			const D3D11_VIEWPORT someViewport{ 0.0f, 0.0f, static_cast<float>(SIZE), static_cast<float>(SIZE), 0.0f, 1.0f };
			someContext->RSSetViewports(1, &someViewport);
			ID3D11RenderTargetView* const someTargets[] = { myTargetView.Get() };
			someContext->OMSetRenderTargets(1, someTargets, myDepthView.Get());
		}

		void SetRasterizer(D3D11_CULL_MODE aCull)
		{
			const D3D11_RASTERIZER_DESC someDesc{ D3D11_FILL_SOLID, aCull, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, FALSE, FALSE };
			ComPtr<ID3D11RasterizerState> someState;
			ASSERT_EQ(myGpu.Device()->CreateRasterizerState(&someDesc, someState.GetAddressOf()), S_OK);
			myGpu.Context()->RSSetState(someState.Get());
		}

		void SetSampler(D3D11_FILTER aFilter)
		{
			const D3D11_SAMPLER_DESC someDesc{ aFilter, D3D11_TEXTURE_ADDRESS_CLAMP, D3D11_TEXTURE_ADDRESS_CLAMP, D3D11_TEXTURE_ADDRESS_CLAMP, 0.0f, 1,
				D3D11_COMPARISON_ALWAYS, {}, 0.0f, D3D11_FLOAT32_MAX };
			ComPtr<ID3D11SamplerState> someState;
			ASSERT_EQ(myGpu.Device()->CreateSamplerState(&someDesc, someState.GetAddressOf()), S_OK);
			ID3D11SamplerState* const someStates[] = { someState.Get() };
			myGpu.Context()->PSSetSamplers(0, 1, someStates);
		}

		// (r, g, b, a) at column aX of row aY (row 0 at the top).
		std::array<std::uint8_t, 4> Pixel(unsigned aX, unsigned aY)
		{
			const std::vector<std::uint8_t> someBytes = myGpu.ReadBack(myTarget.Get());
			const std::size_t i = (static_cast<std::size_t>(aY) * SIZE + aX) * 4;
			return { someBytes[i], someBytes[i + 1], someBytes[i + 2], someBytes[i + 3] };
		}

		NorvTest::GpuDevice myGpu;
		ComPtr<ID3D11VertexShader> myVertexShader;
		ComPtr<ID3D11PixelShader> myPixelShader;
		ComPtr<ID3D11Texture2D> myTarget, myDepth, mySource;
		ComPtr<ID3D11RenderTargetView> myTargetView;
		ComPtr<ID3D11DepthStencilView> myDepthView;
		ComPtr<ID3D11ShaderResourceView> mySourceView;
	};
}

TEST_F(D3D11Draws, ClockwiseTrianglesAreFrontFacing)
{
	// The full-screen triangle runs top-left, top-right, bottom-left: clockwise on screen.
	myGpu.Context()->ClearDepthStencilView(myDepthView.Get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
	SetRasterizer(D3D11_CULL_FRONT);
	myGpu.Context()->Draw(3, 0);
	EXPECT_EQ(Pixel(5, 5), (std::array<std::uint8_t, 4>{ 0, 0, 0, 255 })) << "culled as a front face";
	SetRasterizer(D3D11_CULL_BACK);
	myGpu.Context()->ClearDepthStencilView(myDepthView.Get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
	myGpu.Context()->Draw(3, 0);
	EXPECT_EQ(Pixel(5, 5)[0], 255) << "kept as a front face";
}

TEST_F(D3D11Draws, TheDepthTestUsesTheBoundDepthView)
{
	SetRasterizer(D3D11_CULL_NONE);
	myGpu.Context()->ClearDepthStencilView(myDepthView.Get(), D3D11_CLEAR_DEPTH, 0.0f, 0);
	myGpu.Context()->Draw(3, 0);
	EXPECT_EQ(Pixel(5, 5)[0], 0) << "depth 0 is not LESS than the cleared 0";
	myGpu.Context()->ClearDepthStencilView(myDepthView.Get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
	myGpu.Context()->Draw(3, 0);
	EXPECT_EQ(Pixel(5, 5)[0], 255);
}

TEST_F(D3D11Draws, TheSamplerSlotFiltersTheTextureUnitReadingThroughIt)
{
	SetRasterizer(D3D11_CULL_NONE);
	myGpu.Context()->ClearDepthStencilView(myDepthView.Get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
	SetSampler(D3D11_FILTER_MIN_MAG_MIP_POINT);
	myGpu.Context()->Draw(3, 0);
	const auto somePoint = Pixel(SIZE / 2 - 1, 0);
	EXPECT_EQ(somePoint[0], 255);
	EXPECT_EQ(somePoint[2], 0);
	SetSampler(D3D11_FILTER_MIN_MAG_MIP_LINEAR);
	myGpu.Context()->ClearDepthStencilView(myDepthView.Get(), D3D11_CLEAR_DEPTH, 1.0f, 0);
	myGpu.Context()->Draw(3, 0);
	const auto someLinear = Pixel(SIZE / 2 - 1, 0);
	EXPECT_GT(someLinear[0], 100);
	EXPECT_GT(someLinear[2], 100) << "blended between the two texels";
}
