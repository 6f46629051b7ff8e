#include "graphics/DepthBuffer.h"

#include "debug/Assert.h"
#include "graphics/DX11.h"

#include <utility>

namespace Norv
{
	DepthBuffer::DepthBuffer(DepthBuffer&& anOther) noexcept
		: myShaderResourceView(std::move(anOther.myShaderResourceView))
		, myDepthStencilView(std::move(anOther.myDepthStencilView))
		, myViewport(std::exchange(anOther.myViewport, D3D11_VIEWPORT{}))
	{
	}

	DepthBuffer& DepthBuffer::operator=(DepthBuffer&& anOther) noexcept
	{
		myShaderResourceView = std::move(anOther.myShaderResourceView);
		myDepthStencilView = std::move(anOther.myDepthStencilView);
		myViewport = std::exchange(anOther.myViewport, D3D11_VIEWPORT{});
		return *this;
	}

	DepthBuffer DepthBuffer::Create(const Vector2<unsigned int>& aSize)
	{
		DepthBuffer someBuffer;
		D3D11_TEXTURE2D_DESC someDesc{};
		someDesc.Width = aSize.x;
		someDesc.Height = aSize.y;
		someDesc.MipLevels = 1;
		someDesc.ArraySize = 1;
		someDesc.Format = DXGI_FORMAT_R32_TYPELESS;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.Usage = D3D11_USAGE_DEFAULT;
		someDesc.BindFlags = D3D11_BIND_DEPTH_STENCIL | D3D11_BIND_SHADER_RESOURCE;
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
		HRESULT result = DX11::ourDevice->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf());
		NV_ASSERT(SUCCEEDED(result));
		if (FAILED(result))
			return someBuffer;

		const D3D11_DEPTH_STENCIL_VIEW_DESC someDepthDesc{ DXGI_FORMAT_D32_FLOAT, D3D11_DSV_DIMENSION_TEXTURE2D, 0, { 0 } };
		result = DX11::ourDevice->CreateDepthStencilView(someTexture.Get(), &someDepthDesc, someBuffer.myDepthStencilView.GetAddressOf());
		NV_ASSERT(SUCCEEDED(result));

		D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc{};
		someViewDesc.Format = DXGI_FORMAT_R32_FLOAT;
		someViewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
		someViewDesc.Texture2D = { 0, static_cast<UINT>(-1) };
		result = DX11::ourDevice->CreateShaderResourceView(someTexture.Get(), &someViewDesc, someBuffer.myShaderResourceView.GetAddressOf());
		NV_ASSERT(SUCCEEDED(result));

		someBuffer.myViewport = { 0.0f, 0.0f, static_cast<float>(aSize.x), static_cast<float>(aSize.y), 0.0f, 1.0f };
		return someBuffer;
	}

	void DepthBuffer::Clear(float aDepth, std::uint8_t aStencil)
	{
		DX11::ourContext->ClearDepthStencilView(myDepthStencilView.Get(), D3D11_CLEAR_DEPTH | D3D11_CLEAR_STENCIL, aDepth, aStencil);
	}
}
