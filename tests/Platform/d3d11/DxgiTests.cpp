// Factory, adapters and the headless swap chain of the d3d11 stand-in.
#include "d3d11/TestSeams.h"
#include "d3d11/dxgi.h"

#include <gtest/gtest.h>

#include <string>

using Microsoft::WRL::ComPtr;

namespace
{
	DXGI_SWAP_CHAIN_DESC HeadlessSwapChain(UINT aWidth, UINT aHeight)
	{
		DXGI_SWAP_CHAIN_DESC someDesc{};
		someDesc.BufferDesc.Width = aWidth;
		someDesc.BufferDesc.Height = aHeight;
		someDesc.BufferDesc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
		someDesc.BufferCount = 1;
		someDesc.Windowed = TRUE;
		return someDesc;
	}
}

TEST(DxgiAdapters, TheGlRendererIsTheOneAdapter)
{
	ComPtr<IDXGIFactory> someFactory;
	ASSERT_EQ(CreateDXGIFactory(someFactory.GetAddressOf()), S_OK);
	ComPtr<IDXGIAdapter> someAdapter;
	ASSERT_EQ(someFactory->EnumAdapters(0, someAdapter.GetAddressOf()), S_OK);
	DXGI_ADAPTER_DESC someDesc;
	ASSERT_EQ(someAdapter->GetDesc(&someDesc), S_OK);
	EXPECT_GT(std::wstring(someDesc.Description).size(), 0u);
	EXPECT_EQ(someFactory->EnumAdapters(1, someAdapter.ReleaseAndGetAddressOf()), DXGI_ERROR_NOT_FOUND);
	EXPECT_EQ(someAdapter.Get(), nullptr);
}

TEST(DxgiAdapters, TheOverrideListsInjectedAdapters)
{
	Platform::SetAdapterListOverride({ Platform::MakeAdapterDesc(L"Software", 0), Platform::MakeAdapterDesc(L"NVIDIA Fake", SIZE_T(4096) << 20) });
	ComPtr<IDXGIFactory> someFactory;
	ASSERT_EQ(CreateDXGIFactory(someFactory.GetAddressOf()), S_OK);
	Platform::SetAdapterListOverride({});
	ComPtr<IDXGIAdapter> someAdapter;
	ASSERT_EQ(someFactory->EnumAdapters(1, someAdapter.GetAddressOf()), S_OK);
	DXGI_ADAPTER_DESC someDesc;
	someAdapter->GetDesc(&someDesc);
	EXPECT_EQ(std::wstring(someDesc.Description), L"NVIDIA Fake");
	EXPECT_EQ(someDesc.DedicatedVideoMemory, SIZE_T(4096) << 20);
	EXPECT_EQ(someFactory->EnumAdapters(2, someAdapter.ReleaseAndGetAddressOf()), DXGI_ERROR_NOT_FOUND);
}

TEST(DxgiSwapChain, WithoutAWindowTheSizeMustBeGiven)
{
	ComPtr<IDXGISwapChain> someSwapChain;
	ComPtr<ID3D11Device> someDevice;
	const DXGI_SWAP_CHAIN_DESC someDesc = HeadlessSwapChain(0, 0);
	EXPECT_EQ(D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &someDesc,
				  someSwapChain.GetAddressOf(), someDevice.GetAddressOf(), nullptr, nullptr),
		E_INVALIDARG);
	EXPECT_EQ(someSwapChain.Get(), nullptr);
}

TEST(DxgiSwapChain, ResizeNeedsTheBufferReleasedAndTakesTheNewSize)
{
	ComPtr<IDXGISwapChain> someSwapChain;
	ComPtr<ID3D11Device> someDevice;
	ComPtr<ID3D11DeviceContext> someContext;
	const DXGI_SWAP_CHAIN_DESC someDesc = HeadlessSwapChain(64, 32);
	ASSERT_EQ(D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &someDesc,
				  someSwapChain.GetAddressOf(), someDevice.GetAddressOf(), nullptr, someContext.GetAddressOf()),
		S_OK);
	ComPtr<ID3D11Texture2D> someBuffer;
	ASSERT_EQ(someSwapChain->GetBuffer(0, someBuffer.GetAddressOf()), S_OK);
	D3D11_TEXTURE2D_DESC someTextureDesc;
	someBuffer->GetDesc(&someTextureDesc);
	EXPECT_EQ(someTextureDesc.Width, 64u);
	EXPECT_EQ(someTextureDesc.Height, 32u);
	EXPECT_EQ(someTextureDesc.Format, DXGI_FORMAT_B8G8R8A8_UNORM);

	EXPECT_EQ(someSwapChain->ResizeBuffers(0, 100, 50, DXGI_FORMAT_UNKNOWN, 0), DXGI_ERROR_INVALID_CALL) << "the buffer is still held";
	someBuffer.Reset();
	ASSERT_EQ(someSwapChain->ResizeBuffers(0, 100, 50, DXGI_FORMAT_UNKNOWN, 0), S_OK);
	ASSERT_EQ(someSwapChain->GetBuffer(0, someBuffer.GetAddressOf()), S_OK);
	someBuffer->GetDesc(&someTextureDesc);
	EXPECT_EQ(someTextureDesc.Width, 100u);
	EXPECT_EQ(someTextureDesc.Height, 50u);
	EXPECT_EQ(someSwapChain->Present(0, 0), S_OK);
}
