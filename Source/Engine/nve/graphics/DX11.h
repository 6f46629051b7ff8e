#pragma once
// The Direct3D 11 device, its immediate context and the engine window's swap
// chain with the back-buffer targets and depth buffer; published through static
// members so drawers, shaders and loaders reach the GPU without the engine.
// Also keeps the compiled-shader caches (ShaderFiles.cpp). One instance at a time.
#include "Math/Color.h"
#include "Math/Vector.h"
#include "d3d11/dxgi.h"
#include "graphics/DepthBuffer.h"
#include "graphics/RenderTarget.h"
#include "stringRegistry/Fnv1a.h"

#include <string>
#include <thread>
#include <unordered_map>

namespace Norv
{
	class WindowsWindow;

	class DX11
	{
	public:
		// A cached vertex shader and the ".cso" bytes input layouts are made against.
		struct VertexShaderEntry
		{
			Microsoft::WRL::ComPtr<ID3D11VertexShader> myShader;
			std::string myBytecode;
		};
		using VertexShaderCache = std::unordered_map<std::string, VertexShaderEntry, Fnv1aHash, std::equal_to<>>;
		using PixelShaderCache = std::unordered_map<std::string, Microsoft::WRL::ComPtr<ID3D11PixelShader>, Fnv1aHash, std::equal_to<>>;

		DX11();
		~DX11();
		DX11(const DX11&) = delete;
		DX11& operator=(const DX11&) = delete;

		// Device, swap chain and targets on aWindow's SDL window; with no window (or
		// no SDL window behind it) a headless device whose back buffer has the
		// create parameters' window size. False on an instance made while another
		// lived: that one asserted and stays inert, leaving the live one's statics.
		bool Init(WindowsWindow* aWindow);
		// Rebuilds the back-buffer targets for the window's new client size. On
		// failure the targets are rebuilt over the buffer the swap chain still has.
		bool Resize();
		// Clears the back buffer to aColor (sRGB) and the depth buffer to 1, then
		// binds the back buffer without depth. Skipped while there is no back buffer.
		void Clear(const Color& aColor);
		void Present(bool aVsync);
		Vector2<unsigned int> GetBackBufferSize() const;
		static bool IsMainThread();
		// The adapter with the most dedicated memory among those named "NVIDIA" or
		// "ATI"; else the first. Null when there is none.
		static IDXGIAdapter* FindBestAdapter();

		// Shader caches keyed by name without ".cso"; a miss loads the file from
		// the cooked folder. Null when the file is missing or not a shader.
		static VertexShaderEntry* GetVertexShader(const char* aName);
		static Microsoft::WRL::ComPtr<ID3D11PixelShader>* GetPixelShader(const char* aName);
		static VertexShaderEntry* LoadVertexShader(const char* aName);
		static Microsoft::WRL::ComPtr<ID3D11PixelShader>* LoadPixelShader(const char* aName);
		static std::size_t GetVertexShaderCount();
		static std::size_t GetPixelShaderCount();

		inline static ID3D11Device* ourDevice = nullptr;
		inline static ID3D11DeviceContext* ourContext = nullptr;
		inline static IDXGISwapChain* ourSwapChain = nullptr;
		inline static RenderTarget* ourBackBuffer = nullptr;
		inline static RenderTarget* ourPlainBackBuffer = nullptr;
		inline static DepthBuffer* ourDepthBuffer = nullptr;
		inline static WindowsWindow* ourWindow = nullptr;
		// Named as the single-instance assertions print it.
		inline static bool IsCreated = false;

	private:
		// The targets and depth buffer over the swap chain's buffer; false without one.
		bool CreateBackBufferTargets();
		void PublishTargets();
		static void ClearStatics();
		// The caches hold GPU objects of this device: emptied before it goes.
		static void ReleaseShaderCaches();

		Microsoft::WRL::ComPtr<ID3D11Device> myDevice;
		Microsoft::WRL::ComPtr<ID3D11DeviceContext> myContext;
		Microsoft::WRL::ComPtr<IDXGISwapChain> mySwapChain;
		RenderTarget myBackBuffer;
		RenderTarget myPlainBackBuffer;
		DepthBuffer myDepthBuffer;
		bool myIsPublished = false; // this instance owns the statics

		inline static std::thread::id ourMainThreadId;
	};
}
