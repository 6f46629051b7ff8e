#include "dds/DDSTextureLoader.h"

#include "dds/DdsImage.h"
#include "dds/DdsTestSeams.h"
#include "dds/S3tcDecoder.h"
#include "files/TextureFile.h"

#include <epoxy/gl.h>

#include <iostream>
#include <optional>

namespace DirectX
{
	namespace
	{
		constexpr HRESULT DDS_E_INVALID_DATA = static_cast<HRESULT>(0x8007000Du); // HRESULT_FROM_WIN32(ERROR_INVALID_DATA)

		bool IsSrgb(DXGI_FORMAT aFormat)
		{
			return aFormat == DXGI_FORMAT_BC1_UNORM_SRGB || aFormat == DXGI_FORMAT_BC2_UNORM_SRGB || aFormat == DXGI_FORMAT_BC3_UNORM_SRGB;
		}

		std::optional<bool> ourS3tcSupportOverride;

		// S3TC formats need an extension; their sRGB forms one more.
		bool DriverHasS3tc(ID3D11Device* aDevice, bool aIsSrgb)
		{
			if (ourS3tcSupportOverride)
				return *ourS3tcSupportOverride;
			aDevice->MakeCurrent();
			if (!epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc"))
				return false;
			return !aIsSrgb || epoxy_has_gl_extension("GL_EXT_texture_sRGB") || epoxy_has_gl_extension("GL_EXT_texture_compression_s3tc_srgb");
		}

		// Replaces every subresource of an S3TC image by its RGBA8 decoding.
		void DecodeToRgba(Platform::dds::DdsImage& aImage, std::vector<std::vector<std::uint8_t>>& aDecoded)
		{
			for (Platform::dds::DdsSubresource& someLevel : aImage.mySubresources)
			{
				aDecoded.push_back(Platform::dds::DecodeS3tc(aImage.myFormat, aImage.myBytes.data() + someLevel.myOffset, someLevel.myWidth, someLevel.myHeight, someLevel.myRowPitch));
				someLevel.myRowPitch = someLevel.myWidth * 4;
				someLevel.mySize = aDecoded.back().size();
			}
			aImage.myFormat = IsSrgb(aImage.myFormat) ? DXGI_FORMAT_R8G8B8A8_UNORM_SRGB : DXGI_FORMAT_R8G8B8A8_UNORM;
		}

		void Report(const std::string& aPath, const std::string& aReason)
		{
			std::cerr << "DDS file \"" << aPath << "\" could not be loaded: " << aReason << '\n';
		}
	}

	HRESULT CreateDDSTextureFromFileEx(ID3D11Device* aDevice, const wchar_t* aFileName, std::size_t /*aMaxSize*/,
		D3D11_USAGE aUsage, unsigned int aBindFlags, unsigned int aCpuAccessFlags, unsigned int aMiscFlags, DDS_LOADER_FLAGS aLoadFlags,
		ID3D11Resource** aTexture, ID3D11ShaderResourceView** aTextureView)
	{
		Platform::impl::TextureFile someFile;
		if (const HRESULT someRead = Platform::impl::ReadTextureFile(aDevice, aFileName, aTexture, aTextureView, someFile); FAILED(someRead))
			return someRead;
		const std::string& somePath = someFile.myPath;

		Platform::dds::DdsImage someImage;
		std::string someError;
		if (!Platform::dds::ReadDds(std::move(someFile.myBytes), aLoadFlags, someImage, someError))
		{
			if (someError == Platform::dds::NOT_A_DDS_FILE)
				return E_FAIL;
			Report(somePath, someError);
			return DDS_E_INVALID_DATA;
		}

		std::vector<std::vector<std::uint8_t>> someDecoded;
		if (Platform::dds::IsS3tc(someImage.myFormat) && !DriverHasS3tc(aDevice, IsSrgb(someImage.myFormat)))
			DecodeToRgba(someImage, someDecoded);

		std::vector<D3D11_SUBRESOURCE_DATA> someData;
		for (std::size_t someIndex = 0; someIndex < someImage.mySubresources.size(); ++someIndex)
		{
			const Platform::dds::DdsSubresource& someLevel = someImage.mySubresources[someIndex];
			const std::uint8_t* someSource = someDecoded.empty() ? someImage.myBytes.data() + someLevel.myOffset : someDecoded[someIndex].data();
			someData.push_back({ someSource, someLevel.myRowPitch, static_cast<UINT>(someLevel.mySize) });
		}

		D3D11_TEXTURE2D_DESC someDesc{};
		someDesc.Width = someImage.myWidth;
		someDesc.Height = someImage.myHeight;
		someDesc.MipLevels = someImage.myMipCount;
		someDesc.ArraySize = someImage.myArraySize;
		someDesc.Format = someImage.myFormat;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.Usage = aUsage;
		someDesc.BindFlags = aBindFlags;
		someDesc.CPUAccessFlags = aCpuAccessFlags;
		someDesc.MiscFlags = aMiscFlags | (someImage.myIsCube ? D3D11_RESOURCE_MISC_TEXTURECUBE : 0u);
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
		HRESULT someResult = aDevice->CreateTexture2D(&someDesc, someData.data(), someTexture.GetAddressOf());
		if (FAILED(someResult))
		{
			Report(somePath, "the texture could not be created");
			return someResult;
		}

		if (aTextureView)
		{
			D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc{};
			someViewDesc.Format = someImage.myFormat;
			if (someImage.myIsCube)
			{
				someViewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURECUBE;
				someViewDesc.TextureCube = { 0, someImage.myMipCount };
			}
			else if (someImage.myArraySize > 1)
			{
				someViewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2DARRAY;
				someViewDesc.Texture2DArray = { 0, someImage.myMipCount, 0, someImage.myArraySize };
			}
			else
			{
				someViewDesc.ViewDimension = D3D11_SRV_DIMENSION_TEXTURE2D;
				someViewDesc.Texture2D = { 0, someImage.myMipCount };
			}
			someResult = aDevice->CreateShaderResourceView(someTexture.Get(), &someViewDesc, aTextureView);
			if (FAILED(someResult))
			{
				Report(somePath, "the texture view could not be created");
				return someResult;
			}
		}
		if (aTexture)
			*aTexture = someTexture.Detach();
		return S_OK;
	}
}

namespace Platform
{
	void SetS3tcSupportOverride(std::optional<bool> aIsSupported)
	{
		DirectX::ourS3tcSupportOverride = aIsSupported;
	}
}
