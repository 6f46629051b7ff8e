#include "graphics/DX11.h"

#include "debug/Assert.h"
#include "engine/EngineCreateParameters.h"
#include "win32/WindowHandle.h"
#include "window/WindowsWindow.h"

#include <string>
#include <vector>

namespace Norv
{
	namespace
	{
		constexpr SIZE_T BYTES_PER_MEGABYTE = SIZE_T(1) << 20;

		bool IsNamedVendor(const std::wstring& aDescription)
		{
			return aDescription.find(L"NVIDIA") != std::wstring::npos || aDescription.find(L"ATI") != std::wstring::npos;
		}
	}

	DX11::DX11()
	{
		NV_ASSERT(IsCreated == false);
		if (IsCreated)
			return; // the live instance keeps the statics
		myIsPublished = true;
		IsCreated = true;
		ClearStatics();
	}

	DX11::~DX11()
	{
		if (myIsPublished)
		{
			IsCreated = false;
			ClearStatics();
			ReleaseShaderCaches();
		}
		myDepthBuffer = DepthBuffer();
		myBackBuffer = RenderTarget();
		myPlainBackBuffer = RenderTarget();
		mySwapChain.Reset();
		myContext.Reset();
		myDevice.Reset();
	}

	void DX11::ClearStatics()
	{
		ourDevice = nullptr;
		ourContext = nullptr;
		ourSwapChain = nullptr;
		ourBackBuffer = nullptr;
		ourPlainBackBuffer = nullptr;
		ourDepthBuffer = nullptr;
		ourWindow = nullptr;
	}

	IDXGIAdapter* DX11::FindBestAdapter()
	{
		Microsoft::WRL::ComPtr<IDXGIFactory> someFactory;
		if (FAILED(CreateDXGIFactory(someFactory.GetAddressOf())))
			return nullptr;
		std::vector<Microsoft::WRL::ComPtr<IDXGIAdapter>> someAdapters;
		std::vector<DXGI_ADAPTER_DESC> someDescs;
		Microsoft::WRL::ComPtr<IDXGIAdapter> someAdapter;
		for (UINT i = 0; someFactory->EnumAdapters(i, someAdapter.ReleaseAndGetAddressOf()) != DXGI_ERROR_NOT_FOUND; ++i)
		{
			DXGI_ADAPTER_DESC someDesc{};
			someAdapter->GetDesc(&someDesc);
			someAdapters.push_back(someAdapter);
			someDescs.push_back(someDesc);
		}
		if (someAdapters.empty())
			return nullptr;
		size_t someBest = 0;
		int someBestMemory = 0;
		for (size_t i = 0; i < someAdapters.size(); ++i)
		{
			const int someMemory = static_cast<int>(someDescs[i].DedicatedVideoMemory / BYTES_PER_MEGABYTE);
			if (IsNamedVendor(someDescs[i].Description) && someMemory > someBestMemory)
			{
				someBest = i;
				someBestMemory = someMemory;
			}
		}
		return someAdapters[someBest].Detach();
	}

	bool DX11::Init(WindowsWindow* aWindow)
	{
		if (!myIsPublished)
			return false;
		ourWindow = aWindow;
		DXGI_SWAP_CHAIN_DESC someDesc{};
		someDesc.BufferDesc.Format = DXGI_FORMAT_B8G8R8A8_UNORM;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
		someDesc.BufferCount = 1;
		someDesc.OutputWindow = aWindow ? aWindow->GetHWND() : nullptr;
		someDesc.Windowed = TRUE;
		someDesc.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
		if (!Platform::GetSdlWindow(someDesc.OutputWindow))
		{
			// Headless: no client area to take the size from.
			someDesc.BufferDesc.Width = GetEngineCreateParameters().myWindowSize.x;
			someDesc.BufferDesc.Height = GetEngineCreateParameters().myWindowSize.y;
		}

		Microsoft::WRL::ComPtr<IDXGIAdapter> someAdapter;
		someAdapter.Attach(FindBestAdapter());
		if (!someAdapter)
			return false;
		const HRESULT someResult = D3D11CreateDeviceAndSwapChain(someAdapter.Get(), D3D_DRIVER_TYPE_UNKNOWN, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION,
			&someDesc, mySwapChain.GetAddressOf(), myDevice.GetAddressOf(), nullptr, myContext.GetAddressOf());
		if (FAILED(someResult))
			return false;
		ourDevice = myDevice.Get();
		ourContext = myContext.Get();
		ourSwapChain = mySwapChain.Get();
		if (!CreateBackBufferTargets())
			return false;
		myBackBuffer.SetAsActiveTarget(&myDepthBuffer);
		PublishTargets();
		ourMainThreadId = std::this_thread::get_id();
		return true;
	}

	bool DX11::CreateBackBufferTargets()
	{
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
		if (FAILED(mySwapChain->GetBuffer(0, someBuffer.GetAddressOf())) || !someBuffer)
			return false;
		myBackBuffer = RenderTarget::Create(someBuffer.Get(), DXGI_FORMAT_B8G8R8A8_UNORM_SRGB);
		myPlainBackBuffer = RenderTarget::Create(someBuffer.Get());
		D3D11_TEXTURE2D_DESC someDesc;
		someBuffer->GetDesc(&someDesc);
		myDepthBuffer = DepthBuffer::Create({ someDesc.Width, someDesc.Height });
		return true;
	}

	void DX11::PublishTargets()
	{
		ourBackBuffer = &myBackBuffer;
		ourPlainBackBuffer = &myPlainBackBuffer;
		ourDepthBuffer = &myDepthBuffer;
	}

	bool DX11::Resize()
	{
		if (!myContext)
			return false;
		ID3D11RenderTargetView* const someNoTarget[] = { nullptr };
		myContext->OMSetRenderTargets(1, someNoTarget, nullptr);
		myContext->OMSetDepthStencilState(nullptr, 0);
		myContext->ClearState();
		if (!mySwapChain)
			return false;

		myBackBuffer = RenderTarget();
		myPlainBackBuffer = RenderTarget();
		myDepthBuffer = DepthBuffer();
		myContext->Flush();
		const bool someIsResized = SUCCEEDED(mySwapChain->ResizeBuffers(0, 0, 0, DXGI_FORMAT_UNKNOWN, 0));
		ourBackBuffer = nullptr;
		ourDepthBuffer = nullptr;
		// After a failed resize the swap chain still has its old buffer: the frame
		// goes on at the old size rather than with no target at all.
		if (!CreateBackBufferTargets())
			return false;
		myBackBuffer.SetAsActiveTarget(&myDepthBuffer);
		PublishTargets();
		return someIsResized;
	}

	void DX11::Clear(const Color& aColor)
	{
		if (myBackBuffer.IsEmpty())
			return;
		const Color someLinear = aColor.AsLinear();
		const float someColor[4] = { someLinear.r, someLinear.g, someLinear.b, someLinear.a };
		myBackBuffer.Clear(someColor);
		myDepthBuffer.Clear(1.0f, 0);
		myBackBuffer.SetAsActiveTarget();
	}

	void DX11::Present(bool aVsync)
	{
		if (mySwapChain)
			mySwapChain->Present(aVsync ? 1 : 0, 0);
	}

	Vector2<unsigned int> DX11::GetBackBufferSize() const
	{
		return myBackBuffer.GetSize();
	}

	bool DX11::IsMainThread()
	{
		return std::this_thread::get_id() == ourMainThreadId;
	}
}
