#pragma once
// A full-screen pixel-shader pass: "Shaders/PostprocessVS" makes a triangle that
// covers the bound target from the vertex index; the pixel shader is named at Init.
#include "d3d11/d3d11.h"
#include "graphics/DX11.h"

namespace Norv
{
	class FullscreenEffect
	{
	public:
		FullscreenEffect() = default;
		virtual ~FullscreenEffect();
		FullscreenEffect(const FullscreenEffect&) = delete;
		FullscreenEffect& operator=(const FullscreenEffect&) = delete;

		// False when the vertex or the pixel shader is missing.
		virtual bool Init(const char* aPixelShaderName);
		// Draws the pass into whatever render target is bound.
		virtual void Render();

	protected:
		DX11::VertexShaderEntry* myVertexShader = nullptr;
		Microsoft::WRL::ComPtr<ID3D11PixelShader>* myPixelShader = nullptr;
	};

	// Shows its own texture (slot 0) in square blocks of pixel size render pixels,
	// drawn into the back buffer.
	class FullscreenPixelateEffect : public FullscreenEffect
	{
	public:
		static constexpr float DEFAULT_PIXEL_SIZE = 16.0f;
		static constexpr UINT CONSTANT_BUFFER_SLOT = 13;

		bool Init(const char* aPixelShaderName) override;
		void Render() override;

		ID3D11ShaderResourceView* GetShaderResourceView() const { return myShaderResourceView.Get(); }
		ID3D11RenderTargetView* GetRenderTargetView() const { return myRenderTargetView.Get(); }

	private:
		struct PixelateConstants
		{
			float myPixelSize = 0.0f;
			std::uint32_t myRenderWidth = 0;
			std::uint32_t myRenderHeight = 0;
			std::uint32_t myUnused = 0;
		};
		static_assert(sizeof(PixelateConstants) == 16);

		float myPixelSize = DEFAULT_PIXEL_SIZE;
		PixelateConstants myConstants;
		Microsoft::WRL::ComPtr<ID3D11Texture2D> myTexture;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myShaderResourceView;
		Microsoft::WRL::ComPtr<ID3D11RenderTargetView> myRenderTargetView;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myConstantBuffer;
		D3D11_VIEWPORT myViewport{};
	};
}
