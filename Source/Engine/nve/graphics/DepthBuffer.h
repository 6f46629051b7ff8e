#pragma once
// A depth texture (32-bit float) seen two ways: as the depth-stencil view the
// output merger writes and as a single-channel float texture shaders read.
// Movable, not copyable.
#include "Math/Vector.h"
#include "d3d11/d3d11.h"

#include <cstdint>

namespace Norv
{
	class DepthBuffer
	{
	public:
		DepthBuffer() = default;
		DepthBuffer(DepthBuffer&& anOther) noexcept;
		DepthBuffer& operator=(DepthBuffer&& anOther) noexcept;
		DepthBuffer(const DepthBuffer&) = delete;
		DepthBuffer& operator=(const DepthBuffer&) = delete;

		static DepthBuffer Create(const Vector2<unsigned int>& aSize);

		void Clear(float aDepth = 1.0f, std::uint8_t aStencil = 0);

		ID3D11ShaderResourceView* GetShaderResourceView() const { return myShaderResourceView.Get(); }
		ID3D11DepthStencilView* GetDepthStencilView() const { return myDepthStencilView.Get(); }
		const D3D11_VIEWPORT& GetViewport() const { return myViewport; }
		bool IsEmpty() const { return !myDepthStencilView; }

	private:
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> myShaderResourceView;
		Microsoft::WRL::ComPtr<ID3D11DepthStencilView> myDepthStencilView;
		D3D11_VIEWPORT myViewport{};
	};
}
