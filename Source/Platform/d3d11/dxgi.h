#pragma once
// DXGI stand-in: the factory, its adapters and the swap chain of one window.
//
// Keeps: CreateDXGIFactory, EnumAdapters (one adapter per GL renderer, its
// name as the description; a test seam replaces the list), GetDesc, the swap
// chain's GetBuffer, ResizeBuffers and Present (sync interval 0 or 1), and
// D3D11CreateDeviceAndSwapChain.
// Does not keep: outputs, display modes, full-screen swap chains, more than one
// back buffer, multisampled back buffers.
// Built on: the back buffer is a texture of our own (SRGB8_ALPHA8 storage for
// the 8-bit formats, so UNORM and UNORM_SRGB views of it both work), drawn
// into through the engine's views; Present copies it to the SDL window's GL
// framebuffer and swaps. Without an SDL window (OutputWindow null, or no SDL
// window behind it) the GL context is EGL surfaceless and Present only flushes.
#include "d3d11/d3d11.h"

#include <vector>

constexpr HRESULT DXGI_ERROR_NOT_FOUND = static_cast<HRESULT>(0x887A0002u);
constexpr HRESULT DXGI_ERROR_INVALID_CALL = static_cast<HRESULT>(0x887A0001u);
constexpr UINT DXGI_USAGE_RENDER_TARGET_OUTPUT = 0x20;

enum DXGI_SWAP_EFFECT : UINT { DXGI_SWAP_EFFECT_DISCARD = 0 };
enum DXGI_MODE_SCANLINE_ORDER : UINT { DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED = 0 };
enum DXGI_MODE_SCALING : UINT { DXGI_MODE_SCALING_UNSPECIFIED = 0 };

struct DXGI_RATIONAL { UINT Numerator; UINT Denominator; };
struct DXGI_MODE_DESC
{
	UINT Width;  // 0: the window's client width
	UINT Height; // 0: the window's client height
	DXGI_RATIONAL RefreshRate;
	DXGI_FORMAT Format;
	DXGI_MODE_SCANLINE_ORDER ScanlineOrdering;
	DXGI_MODE_SCALING Scaling;
};
struct DXGI_SWAP_CHAIN_DESC
{
	DXGI_MODE_DESC BufferDesc;
	DXGI_SAMPLE_DESC SampleDesc;
	UINT BufferUsage;
	UINT BufferCount;
	HWND OutputWindow;
	BOOL Windowed;
	DXGI_SWAP_EFFECT SwapEffect;
	UINT Flags;
};

struct LUID { DWORD LowPart; LONG HighPart; };
struct DXGI_ADAPTER_DESC
{
	WCHAR Description[128];
	UINT VendorId;
	UINT DeviceId;
	UINT SubSysId;
	UINT Revision;
	SIZE_T DedicatedVideoMemory;
	SIZE_T DedicatedSystemMemory;
	SIZE_T SharedSystemMemory;
	LUID AdapterLuid;
};

class IDXGIAdapter final : public IUnknown
{
public:
	explicit IDXGIAdapter(const DXGI_ADAPTER_DESC& aDesc) : myDesc(aDesc) {}
	HRESULT GetDesc(DXGI_ADAPTER_DESC* aDesc) const;

private:
	DXGI_ADAPTER_DESC myDesc;
};

class IDXGIFactory final : public IUnknown
{
public:
	// DXGI_ERROR_NOT_FOUND past the last adapter.
	HRESULT EnumAdapters(UINT anIndex, IDXGIAdapter** anAdapter);

private:
	friend HRESULT CreateDXGIFactory(IDXGIFactory**);
	IDXGIFactory() = default;
	std::vector<DXGI_ADAPTER_DESC> myAdapters;
};

HRESULT CreateDXGIFactory(IDXGIFactory** aFactory);

class IDXGISwapChain final : public ID3D11DeviceChild
{
public:
	// Buffer 0 only.
	HRESULT GetBuffer(UINT aBuffer, ID3D11Texture2D** aSurface);
	// Count and format 0 / UNKNOWN keep the current ones; width and height 0 take
	// the window's client size (without a window: keep the current size).
	// DXGI_ERROR_INVALID_CALL while anything but the swap chain holds the buffer.
	HRESULT ResizeBuffers(UINT aCount, UINT aWidth, UINT aHeight, DXGI_FORMAT aFormat, UINT aFlags);
	HRESULT Present(UINT aSyncInterval, UINT aFlags);

private:
	friend HRESULT D3D11CreateDeviceAndSwapChain(IDXGIAdapter*, D3D_DRIVER_TYPE, HMODULE, UINT, const D3D_FEATURE_LEVEL*, UINT, UINT,
		const DXGI_SWAP_CHAIN_DESC*, IDXGISwapChain**, ID3D11Device**, D3D_FEATURE_LEVEL*, ID3D11DeviceContext**);
	IDXGISwapChain(ID3D11Device* aDevice, const DXGI_SWAP_CHAIN_DESC& aDesc);
	~IDXGISwapChain() override;
	HRESULT CreateBackBuffer(UINT aWidth, UINT aHeight);

	DXGI_SWAP_CHAIN_DESC myDesc;
	Microsoft::WRL::ComPtr<ID3D11Texture2D> myBackBuffer;
	unsigned int myGlReadFramebuffer = 0;
	int myLastSyncInterval = -1;
};

// With OutputWindow's SDL window the GL context is made on it; otherwise EGL surfaceless.
HRESULT D3D11CreateDeviceAndSwapChain(IDXGIAdapter* anAdapter, D3D_DRIVER_TYPE aDriverType, HMODULE aSoftware, UINT aFlags,
	const D3D_FEATURE_LEVEL* aFeatureLevels, UINT aFeatureLevelCount, UINT anSdkVersion,
	const DXGI_SWAP_CHAIN_DESC* aSwapChainDesc, IDXGISwapChain** aSwapChain, ID3D11Device** aDevice,
	D3D_FEATURE_LEVEL* aFeatureLevel, ID3D11DeviceContext** aContext);
