#include "graphics/TextureLoading.h"

#include "dds/DDSTextureLoader.h"
#include "files/FilePath.h"
#include "graphics/TextureManager.h"
#include "kernel/Kernel.h"
#include "loaders/TargaLoader.h"
#include "wic/WICTextureLoader.h"
#include "wic/WicImage.h"

#include <iostream>
#include <optional>
#include <vector>

namespace Norv::impl
{
	namespace
	{
		constexpr std::size_t MAX_IMAGE_SIZE_PX = 16384;
		constexpr UINT RGBA_BYTES = 4;

		DirectX::DDS_LOADER_FLAGS DdsFlags(std::uint32_t aSrgbMode)
		{
			return aSrgbMode == TEXTURE_MODE_FORCE_SRGB ? DirectX::DDS_LOADER_FORCE_SRGB
				: aSrgbMode == TEXTURE_MODE_IGNORE_SRGB ? DirectX::DDS_LOADER_IGNORE_SRGB : DirectX::DDS_LOADER_DEFAULT;
		}

		DirectX::WIC_LOADER_FLAGS WicFlags(std::uint32_t aSrgbMode)
		{
			return aSrgbMode == TEXTURE_MODE_FORCE_SRGB ? DirectX::WIC_LOADER_FORCE_SRGB
				: aSrgbMode == TEXTURE_MODE_IGNORE_SRGB ? DirectX::WIC_LOADER_IGNORE_SRGB : DirectX::WIC_LOADER_DEFAULT;
		}

		// A dynamic sRGB texture of the Targa image, whatever the colour mode.
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> CreateTargaView(ID3D11Device* aDevice, const TargaImage& aImage)
		{
			D3D11_TEXTURE2D_DESC someDesc{};
			someDesc.Width = aImage.myWidth;
			someDesc.Height = aImage.myHeight;
			someDesc.MipLevels = 1;
			someDesc.ArraySize = 1;
			someDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM_SRGB;
			someDesc.SampleDesc = { 1, 0 };
			someDesc.Usage = D3D11_USAGE_DYNAMIC;
			someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
			someDesc.CPUAccessFlags = D3D11_CPU_ACCESS_WRITE;
			const D3D11_SUBRESOURCE_DATA someData{ aImage.myPixels.data(), aImage.myWidth * RGBA_BYTES, 0 };
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
			Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;
			if (FAILED(aDevice->CreateTexture2D(&someDesc, &someData, someTexture.GetAddressOf())))
				return nullptr;
			if (FAILED(aDevice->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf())))
				return nullptr;
			return someView;
		}
	}

	PictureFile ReadPictureSize(const std::string& aResolvedPath, std::uint32_t& aWidth, std::uint32_t& aHeight)
	{
		const std::optional<std::vector<std::uint8_t>> someBytes = Platform::ReadWholeFile(aResolvedPath);
		if (!someBytes)
			return PictureFile::NotAnImage;
		std::string someError;
		if (Platform::wic::ReadImageSize(*someBytes, aWidth, aHeight, someError))
			return PictureFile::Image;
		if (someError == Platform::wic::NOT_AN_IMAGE)
			return PictureFile::NotAnImage;
		std::cerr << "Texture \"" << aResolvedPath << "\" could not be loaded: " << someError << '\n';
		return PictureFile::Broken;
	}

	bool HasTargaExtension(const std::string& aPath)
	{
		const std::size_t someDot = aPath.rfind('.');
		return someDot != std::string::npos && aPath.compare(someDot + 1, std::string::npos, "tga") == 0;
	}

	Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> LoadTextureView(ID3D11Device* aDevice, ID3D11DeviceContext* aContext,
		const std::string& aResolvedPath, std::uint32_t aSrgbMode, bool aIsMainThread)
	{
		const std::wstring someWidePath = Platform::Utf8ToWide(aResolvedPath);
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;

		const HRESULT someDdsResult = DirectX::CreateDDSTextureFromFileEx(aDevice, someWidePath.c_str(), 0, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0,
			DdsFlags(aSrgbMode), nullptr, someView.GetAddressOf());
		if (SUCCEEDED(someDdsResult))
			return someView;
		// A loader that knew the file's format has said why it failed already.
		bool someIsKnownFormat = someDdsResult != E_FAIL;

		if (aIsMainThread)
		{
			const HRESULT someWicResult = DirectX::CreateWICTextureFromFileEx(aDevice, aContext, someWidePath.c_str(), MAX_IMAGE_SIZE_PX, D3D11_USAGE_DEFAULT,
				D3D11_BIND_SHADER_RESOURCE, 0, 0, WicFlags(aSrgbMode), nullptr, someView.GetAddressOf());
			if (SUCCEEDED(someWicResult))
				return someView;
			someIsKnownFormat = someIsKnownFormat || someWicResult != WINCODEC_ERR_COMPONENTNOTFOUND;
		}

		const char* someReason = nullptr;
		if (HasTargaExtension(aResolvedPath))
		{
			if (const std::unique_ptr<TargaImage> someImage = LoadTarga(someWidePath))
				if ((someView = CreateTargaView(aDevice, *someImage)))
					return someView;
			someReason = "not an uncompressed 32-bit Targa file, or truncated";
		}
		else if (!aIsMainThread)
			someReason = "images are decoded on the main thread only";
		else
			someReason = "not a DDS, PNG, JPEG, BMP, GIF or 32-bit Targa file";
		if (!someIsKnownFormat)
			std::cerr << "Texture \"" << aResolvedPath << "\" could not be loaded: " << someReason << '\n';
		return nullptr;
	}
}
