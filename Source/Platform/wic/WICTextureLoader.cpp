#include "wic/WICTextureLoader.h"

#include "files/TextureFile.h"
#include "wic/WicImage.h"

#include <algorithm>
#include <iostream>

namespace DirectX
{
	namespace
	{
		constexpr std::uint32_t MAX_TEXTURE_DIMENSION = 16384;

		void Report(const std::string& aPath, const std::string& aReason)
		{
			std::cerr << "Image file \"" << aPath << "\" could not be loaded: " << aReason << '\n';
		}
	}

	HRESULT CreateWICTextureFromFileEx(ID3D11Device* aDevice, ID3D11DeviceContext* aContext, const wchar_t* aFileName, std::size_t aMaxSize,
		D3D11_USAGE aUsage, unsigned int aBindFlags, unsigned int aCpuAccessFlags, unsigned int aMiscFlags, WIC_LOADER_FLAGS aLoadFlags,
		ID3D11Resource** aTexture, ID3D11ShaderResourceView** aTextureView)
	{
		Platform::impl::TextureFile someFile;
		if (const HRESULT someRead = Platform::impl::ReadTextureFile(aDevice, aFileName, aTexture, aTextureView, someFile); FAILED(someRead))
			return someRead;
		const std::string& somePath = someFile.myPath;

		const std::uint32_t someMaxSize = aMaxSize == 0 ? MAX_TEXTURE_DIMENSION : static_cast<std::uint32_t>(std::min<std::size_t>(aMaxSize, MAX_TEXTURE_DIMENSION));
		Platform::wic::WicImage someImage;
		std::string someError;
		if (!Platform::wic::DecodeImage(someFile.myBytes, someMaxSize, aLoadFlags, someImage, someError))
		{
			if (someError == Platform::wic::NOT_AN_IMAGE)
				return WINCODEC_ERR_COMPONENTNOTFOUND;
			Report(somePath, someError);
			return WINCODEC_ERR_BADIMAGE;
		}

		// With a context the full mip chain is generated from the top level on the GPU.
		const bool someMakesMips = aContext != nullptr;
		D3D11_TEXTURE2D_DESC someDesc{};
		someDesc.Width = someImage.myWidth;
		someDesc.Height = someImage.myHeight;
		someDesc.MipLevels = someMakesMips ? 0 : 1;
		someDesc.ArraySize = 1;
		someDesc.Format = someImage.myFormat;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.Usage = aUsage;
		someDesc.BindFlags = someMakesMips ? (aBindFlags | D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET) : aBindFlags;
		someDesc.CPUAccessFlags = aCpuAccessFlags;
		someDesc.MiscFlags = someMakesMips ? (aMiscFlags | D3D11_RESOURCE_MISC_GENERATE_MIPS) : aMiscFlags;

		const UINT someRowPitch = someImage.myWidth * 4;
		const D3D11_SUBRESOURCE_DATA someData{ someImage.myPixels.data(), someRowPitch, static_cast<UINT>(someImage.myPixels.size()) };
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
		HRESULT someResult = aDevice->CreateTexture2D(&someDesc, someMakesMips ? nullptr : &someData, someTexture.GetAddressOf());
		if (FAILED(someResult))
		{
			Report(somePath, "the texture could not be created");
			return someResult;
		}
		if (someMakesMips)
			aContext->UpdateSubresource(someTexture.Get(), 0, nullptr, someImage.myPixels.data(), someRowPitch, static_cast<UINT>(someImage.myPixels.size()));

		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;
		if (aTextureView || someMakesMips)
		{
			D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc{};
			someViewDesc.Format = someImage.myFormat;
			someViewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
			someViewDesc.Texture2D = { 0, static_cast<UINT>(-1) };
			someResult = aDevice->CreateShaderResourceView(someTexture.Get(), &someViewDesc, someView.GetAddressOf());
			if (FAILED(someResult))
			{
				Report(somePath, "the texture view could not be created");
				return someResult;
			}
			if (someMakesMips)
				aContext->GenerateMips(someView.Get());
		}
		if (aTextureView)
			*aTextureView = someView.Detach();
		if (aTexture)
			*aTexture = someTexture.Detach();
		return S_OK;
	}
}
