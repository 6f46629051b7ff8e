#include "video/VideoTexture.h"

#include "graphics/DX11.h"

namespace Norv
{
	bool VideoTexture::Create(std::uint32_t aWidth, std::uint32_t aHeight)
	{
		if (aWidth == 0 || aHeight == 0 || !DX11::ourDevice)
			return false;
		D3D11_TEXTURE2D_DESC someDesc{};
		someDesc.Width = aWidth;
		someDesc.Height = aHeight;
		someDesc.MipLevels = 1;
		someDesc.ArraySize = 1;
		someDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM_SRGB;
		someDesc.SampleDesc.Count = 1;
		someDesc.Usage = D3D11_USAGE_DYNAMIC;
		someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
		someDesc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;
		if (FAILED(DX11::ourDevice->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf()))
			|| FAILED(DX11::ourDevice->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf())))
			return false;
		myTexture = someTexture;
		myView = someView;
		myWidth = aWidth;
		myHeight = aHeight;
		return true;
	}

	MappedTexture VideoTexture::Map()
	{
		D3D11_MAPPED_SUBRESOURCE someMapped{};
		if (!myTexture || !DX11::ourContext || FAILED(DX11::ourContext->Map(myTexture.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped)))
			return {};
		return { static_cast<std::uint8_t*>(someMapped.pData), someMapped.RowPitch };
	}

	void VideoTexture::Unmap()
	{
		if (myTexture && DX11::ourContext)
			DX11::ourContext->Unmap(myTexture.Get(), 0);
	}
}
