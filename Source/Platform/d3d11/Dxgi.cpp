#include "d3d11/dxgi.h"

#include "d3d11/DeviceCreation.h"
#include "d3d11/TestSeams.h"
#include "win32/WindowHandle.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <string>

using Microsoft::WRL::ComPtr;
using namespace Platform::impl;

namespace
{
	constexpr GLenum GPU_MEMORY_INFO_DEDICATED_VIDMEM_NVX = 0x9047; // in KiB
	constexpr SIZE_T BYTES_PER_KIB = 1024;

	std::vector<DXGI_ADAPTER_DESC> ourAdapterOverride;

	// The GL renderer, asked once through a context of its own.
	const DXGI_ADAPTER_DESC& GetGlAdapter()
	{
		static const DXGI_ADAPTER_DESC ourAdapter = [] {
			std::string someName = "OpenGL";
			SIZE_T someMemory = 0;
			if (std::unique_ptr<GlContext> someContext = GlContext::Create(nullptr))
			{
				if (const GLubyte* someRenderer = glGetString(GL_RENDERER))
					someName = reinterpret_cast<const char*>(someRenderer);
				if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info"))
				{
					GLint someKib = 0;
					glGetIntegerv(GPU_MEMORY_INFO_DEDICATED_VIDMEM_NVX, &someKib);
					someMemory = static_cast<SIZE_T>(someKib) * BYTES_PER_KIB;
				}
			}
			return Platform::MakeAdapterDesc(std::wstring(someName.begin(), someName.end()), someMemory);
		}();
		return ourAdapter;
	}
}

namespace Platform
{
	void SetAdapterListOverride(std::vector<DXGI_ADAPTER_DESC> anAdapters)
	{
		ourAdapterOverride = std::move(anAdapters);
	}

	DXGI_ADAPTER_DESC MakeAdapterDesc(const std::wstring& aDescription, SIZE_T aDedicatedVideoMemory)
	{
		DXGI_ADAPTER_DESC someDesc{};
		const size_t someLength = std::min(aDescription.size(), std::size(someDesc.Description) - 1);
		std::copy_n(aDescription.begin(), someLength, someDesc.Description);
		someDesc.DedicatedVideoMemory = aDedicatedVideoMemory;
		return someDesc;
	}
}

// ---------------------------------------------------------------------------
// Factory and adapters
// ---------------------------------------------------------------------------

HRESULT IDXGIAdapter::GetDesc(DXGI_ADAPTER_DESC* aDesc) const
{
	if (!aDesc)
		return E_INVALIDARG;
	*aDesc = myDesc;
	return S_OK;
}

HRESULT CreateDXGIFactory(IDXGIFactory** aFactory)
{
	if (!aFactory)
		return E_INVALIDARG;
	auto* someFactory = new IDXGIFactory();
	if (!ourAdapterOverride.empty())
		someFactory->myAdapters = ourAdapterOverride;
	else
		someFactory->myAdapters.push_back(GetGlAdapter());
	*aFactory = someFactory;
	return S_OK;
}

HRESULT IDXGIFactory::EnumAdapters(UINT anIndex, IDXGIAdapter** anAdapter)
{
	if (!anAdapter)
		return E_INVALIDARG;
	if (anIndex >= myAdapters.size())
	{
		*anAdapter = nullptr;
		return DXGI_ERROR_NOT_FOUND;
	}
	*anAdapter = new IDXGIAdapter(myAdapters[anIndex]);
	return S_OK;
}

// ---------------------------------------------------------------------------
// Devices
// ---------------------------------------------------------------------------

HRESULT D3D11CreateDevice(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT, const D3D_FEATURE_LEVEL*, UINT, UINT,
	ID3D11Device** aDevice, D3D_FEATURE_LEVEL* aFeatureLevel, ID3D11DeviceContext** aContext)
{
	if (aFeatureLevel)
		*aFeatureLevel = D3D_FEATURE_LEVEL_11_0;
	return CreateDeviceOnContext(GlContext::Create(nullptr), aDevice, aContext);
}

HRESULT D3D11CreateDeviceAndSwapChain(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT, const D3D_FEATURE_LEVEL*, UINT, UINT,
	const DXGI_SWAP_CHAIN_DESC* aSwapChainDesc, IDXGISwapChain** aSwapChain, ID3D11Device** aDevice,
	D3D_FEATURE_LEVEL* aFeatureLevel, ID3D11DeviceContext** aContext)
{
	if (!aSwapChainDesc || !aSwapChain || aSwapChainDesc->SampleDesc.Count != 1)
		return E_INVALIDARG;
	std::unique_ptr<GlContext> someGlContext = GlContext::Create(aSwapChainDesc->OutputWindow);
	if (!someGlContext)
		return E_FAIL;
	UINT someWidth = aSwapChainDesc->BufferDesc.Width;
	UINT someHeight = aSwapChainDesc->BufferDesc.Height;
	unsigned someClientWidth = 0, someClientHeight = 0;
	if (someGlContext->GetDrawableSize(someClientWidth, someClientHeight))
	{
		someWidth = someWidth ? someWidth : someClientWidth;
		someHeight = someHeight ? someHeight : someClientHeight;
	}
	if (someWidth == 0 || someHeight == 0)
		return E_INVALIDARG;

	ComPtr<ID3D11Device> someDevice;
	ComPtr<ID3D11DeviceContext> someContext;
	const HRESULT someResult = CreateDeviceOnContext(std::move(someGlContext), someDevice.GetAddressOf(), someContext.GetAddressOf());
	if (FAILED(someResult))
		return someResult;
	ComPtr<IDXGISwapChain> someSwapChain;
	someSwapChain.Attach(new IDXGISwapChain(someDevice.Get(), *aSwapChainDesc));
	if (FAILED(someSwapChain->CreateBackBuffer(someWidth, someHeight)))
		return E_FAIL;
	if (aFeatureLevel)
		*aFeatureLevel = D3D_FEATURE_LEVEL_11_0;
	*aSwapChain = someSwapChain.Detach();
	if (aDevice)
		*aDevice = someDevice.Detach();
	if (aContext)
		*aContext = someContext.Detach();
	return S_OK;
}

// ---------------------------------------------------------------------------
// Swap chain
// ---------------------------------------------------------------------------

IDXGISwapChain::IDXGISwapChain(ID3D11Device* aDevice, const DXGI_SWAP_CHAIN_DESC& aDesc) : ID3D11DeviceChild(aDevice), myDesc(aDesc)
{
	MakeDeviceCurrent();
	glCreateFramebuffers(1, &myGlReadFramebuffer);
}

IDXGISwapChain::~IDXGISwapChain()
{
	myBackBuffer.Reset();
	MakeDeviceCurrent();
	glDeleteFramebuffers(1, &myGlReadFramebuffer);
}

HRESULT IDXGISwapChain::CreateBackBuffer(UINT aWidth, UINT aHeight)
{
	D3D11_TEXTURE2D_DESC someDesc{};
	someDesc.Width = aWidth;
	someDesc.Height = aHeight;
	someDesc.MipLevels = 1;
	someDesc.ArraySize = 1;
	someDesc.Format = myDesc.BufferDesc.Format;
	someDesc.SampleDesc = { 1, 0 };
	someDesc.Usage = D3D11_USAGE_DEFAULT;
	someDesc.BindFlags = D3D11_BIND_RENDER_TARGET | D3D11_BIND_SHADER_RESOURCE;
	ComPtr<ID3D11Texture2D> someTexture;
	const HRESULT someResult = myDevice->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf());
	if (FAILED(someResult))
		return someResult;
	myBackBuffer = someTexture;
	myDesc.BufferDesc.Width = aWidth;
	myDesc.BufferDesc.Height = aHeight;
	return S_OK;
}

HRESULT IDXGISwapChain::GetBuffer(UINT aBuffer, ID3D11Texture2D** aSurface)
{
	if (!aSurface || aBuffer != 0 || !myBackBuffer)
		return DXGI_ERROR_INVALID_CALL;
	myBackBuffer->AddRef();
	*aSurface = myBackBuffer.Get();
	return S_OK;
}

namespace
{
	std::atomic<unsigned> ourResizeCount{ 0 };
}

unsigned Platform::GetSwapChainResizeCount()
{
	return ourResizeCount.load();
}

HRESULT IDXGISwapChain::ResizeBuffers(UINT, UINT aWidth, UINT aHeight, DXGI_FORMAT aFormat, UINT)
{
	++ourResizeCount;
	// As on Windows: every outside reference to the buffer must be gone first.
	const ULONG someReferences = myBackBuffer->AddRef();
	myBackBuffer->Release();
	if (someReferences > 2)
		return DXGI_ERROR_INVALID_CALL;
	MakeDeviceCurrent();
	unsigned someClientWidth = myDesc.BufferDesc.Width, someClientHeight = myDesc.BufferDesc.Height;
	myDevice->myGlContext->GetDrawableSize(someClientWidth, someClientHeight);
	const UINT someWidth = aWidth ? aWidth : someClientWidth;
	const UINT someHeight = aHeight ? aHeight : someClientHeight;
	if (someWidth == 0 || someHeight == 0)
		return DXGI_ERROR_INVALID_CALL;
	if (aFormat != DXGI_FORMAT_UNKNOWN)
		myDesc.BufferDesc.Format = aFormat;
	return CreateBackBuffer(someWidth, someHeight);
}

HRESULT IDXGISwapChain::Present(UINT aSyncInterval, UINT)
{
	MakeDeviceCurrent();
	GlContext& someGlContext = *myDevice->myGlContext;
	unsigned someWindowWidth = 0, someWindowHeight = 0;
	if (someGlContext.GetDrawableSize(someWindowWidth, someWindowHeight))
	{
		// A raw copy, flipped: row 0 of the back buffer is the top of the window.
		const GLint someWidth = static_cast<GLint>(myDesc.BufferDesc.Width);
		const GLint someHeight = static_cast<GLint>(myDesc.BufferDesc.Height);
		glNamedFramebufferTexture(myGlReadFramebuffer, GL_COLOR_ATTACHMENT0, myBackBuffer->myGlName, 0);
		ID3D11DeviceContext* someContext = myDevice->myImmediateContext;
		if (someContext)
			someContext->SetSrgbWrites(false);
		else
			glDisable(GL_FRAMEBUFFER_SRGB);
		glBlitNamedFramebuffer(myGlReadFramebuffer, 0, 0, 0, someWidth, someHeight,
			0, static_cast<GLint>(someWindowHeight), static_cast<GLint>(someWindowWidth), 0, GL_COLOR_BUFFER_BIT, GL_LINEAR);
		if (someContext)
			someContext->ApplyFramebuffer();
	}
	const int someInterval = aSyncInterval > 0 ? 1 : 0;
	someGlContext.SwapWindow(someInterval != myLastSyncInterval ? someInterval : -1);
	myLastSyncInterval = someInterval;
	return S_OK;
}
