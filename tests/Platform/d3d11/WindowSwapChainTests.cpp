// The swap chain on an SDL window (the offscreen video driver in the tests):
// sizes from the client area, present, resize with the window.
#include "Support/ReadBack.h"
#include "d3d11/dxgi.h"
#include "win32/WindowHandle.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

using Microsoft::WRL::ComPtr;

namespace
{
	class WindowSwapChain : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
			// Video and the GL library stay up for the whole process: destroying the
			// last GL window or quitting video unloads the GL driver, whose own
			// allocations the leak checker would then report.
			ASSERT_EQ(SDL_GL_LoadLibrary(nullptr), 0) << SDL_GetError();
			myWindow.mySdlWindow = SDL_CreateWindow("swap chain", 0, 0, 160, 90, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
			ASSERT_NE(myWindow.mySdlWindow, nullptr) << SDL_GetError();
			DXGI_SWAP_CHAIN_DESC someDesc{};
			someDesc.BufferDesc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
			someDesc.SampleDesc = { 1, 0 };
			someDesc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
			someDesc.BufferCount = 1;
			someDesc.OutputWindow = &myWindow;
			someDesc.Windowed = TRUE;
			ASSERT_EQ(D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, &someDesc,
						  mySwapChain.GetAddressOf(), myDevice.GetAddressOf(), nullptr, myContext.GetAddressOf()),
				S_OK);
		}
		void TearDown() override
		{
			mySwapChain.Reset();
			myContext.Reset();
			myDevice.Reset();
			if (myWindow.mySdlWindow)
				SDL_DestroyWindow(myWindow.mySdlWindow);
		}

		D3D11_TEXTURE2D_DESC BufferDesc()
		{
			ComPtr<ID3D11Texture2D> someBuffer;
			EXPECT_EQ(mySwapChain->GetBuffer(0, someBuffer.GetAddressOf()), S_OK);
			D3D11_TEXTURE2D_DESC someDesc{};
			if (someBuffer)
				someBuffer->GetDesc(&someDesc);
			return someDesc;
		}

		HWND__ myWindow;
		ComPtr<IDXGISwapChain> mySwapChain;
		ComPtr<ID3D11Device> myDevice;
		ComPtr<ID3D11DeviceContext> myContext;
	};
}

TEST_F(WindowSwapChain, TheBufferTakesTheClientSizeAndFollowsAResize)
{
	D3D11_TEXTURE2D_DESC someDesc = BufferDesc();
	EXPECT_EQ(someDesc.Width, 160u);
	EXPECT_EQ(someDesc.Height, 90u);
	SDL_SetWindowSize(myWindow.mySdlWindow, 200, 120);
	ASSERT_EQ(mySwapChain->ResizeBuffers(0, 0, 0, DXGI_FORMAT_UNKNOWN, 0), S_OK);
	someDesc = BufferDesc();
	EXPECT_EQ(someDesc.Width, 200u);
	EXPECT_EQ(someDesc.Height, 120u);
}

TEST_F(WindowSwapChain, PresentKeepsTheBackBufferAndTheBoundTarget)
{
	ComPtr<ID3D11Texture2D> someBuffer;
	ASSERT_EQ(mySwapChain->GetBuffer(0, someBuffer.GetAddressOf()), S_OK);
	const D3D11_RENDER_TARGET_VIEW_DESC someViewDesc{ DXGI_FORMAT_B8G8R8A8_UNORM_SRGB, D3D11_RTV_DIMENSION_TEXTURE2D, { 0 } };
	ComPtr<ID3D11RenderTargetView> someView;
	ASSERT_EQ(myDevice->CreateRenderTargetView(someBuffer.Get(), &someViewDesc, someView.GetAddressOf()), S_OK);
	const float someRed[4] = { 1.0f, 0.0f, 0.0f, 1.0f };
	myContext->ClearRenderTargetView(someView.Get(), someRed);
	EXPECT_EQ(mySwapChain->Present(1, 0), S_OK);
	EXPECT_EQ(mySwapChain->Present(0, 0), S_OK);
	const std::vector<std::uint8_t> someBytes = NorvTest::ReadBackTexture(myDevice.Get(), myContext.Get(), someBuffer.Get());
	ASSERT_FALSE(someBytes.empty());
	EXPECT_EQ(someBytes[2], 255) << "presenting copies the buffer out, it does not consume it";
}
