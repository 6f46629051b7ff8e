#include "graphics/TextureManager.h"

#include "graphics/DX11.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Norv
{
	namespace
	{
		constexpr unsigned PLACEHOLDER_SIZE_PIXELS = 16;
		constexpr unsigned SMALL_BUILT_IN_SIZE_PIXELS = 4;
		// What the size fields of the placeholder and "WhiteSquare" claim.
		constexpr unsigned BUILT_IN_REPORTED_SIZE_PIXELS = 512;
		constexpr float BUILT_IN_NORMALIZED_SIZE = 0.3f;
		constexpr unsigned BYTES_PER_PIXEL = 4;

		using Rgba = std::array<std::uint8_t, BYTES_PER_PIXEL>;

		// A one-mip R8G8B8A8_UNORM texture of aSize x aSize pixels from aPixelAt(x, y).
		template <typename PixelFunction>
		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> CreateBuiltIn(unsigned aSize, PixelFunction aPixelAt)
		{
			std::vector<std::uint8_t> somePixels;
			somePixels.reserve(static_cast<size_t>(aSize) * aSize * BYTES_PER_PIXEL);
			for (unsigned someY = 0; someY < aSize; ++someY)
				for (unsigned someX = 0; someX < aSize; ++someX)
				{
					const Rgba somePixel = aPixelAt(someX, someY);
					somePixels.insert(somePixels.end(), somePixel.begin(), somePixel.end());
				}
			D3D11_TEXTURE2D_DESC someDesc{};
			someDesc.Width = aSize;
			someDesc.Height = aSize;
			someDesc.MipLevels = 1;
			someDesc.ArraySize = 1;
			someDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
			someDesc.SampleDesc = { 1, 0 };
			someDesc.Usage = D3D11_USAGE_DEFAULT;
			someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE;
			const D3D11_SUBRESOURCE_DATA someData{ somePixels.data(), aSize * BYTES_PER_PIXEL, 0 };
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
			Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;
			if (DX11::ourDevice && SUCCEEDED(DX11::ourDevice->CreateTexture2D(&someDesc, &someData, someTexture.GetAddressOf())))
				DX11::ourDevice->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf());
			return someView;
		}
	}

	TextureManager::TextureManager()
	{
		ourCurrent = this;
	}

	TextureManager::~TextureManager()
	{
		if (ourCurrent == this)
			ourCurrent = nullptr;
		myWhiteSquare.reset();
		myPlaceholderView.Reset();
		myFlatNormalView.Reset();
		myCache.clear();
	}

	void TextureManager::Init()
	{
		myPlaceholderView = CreateBuiltIn(PLACEHOLDER_SIZE_PIXELS, [](unsigned aX, unsigned aY) {
			return (aX + aY) % 2 == 1 ? Rgba{ 255, 0, 255, 255 } : Rgba{ 0, 0, 0, 255 };
		});

		myWhiteSquare = std::make_unique<Texture>();
		myWhiteSquare->myName = "WhiteSquare";
		myWhiteSquare->myView = CreateBuiltIn(SMALL_BUILT_IN_SIZE_PIXELS, [](unsigned, unsigned) { return Rgba{ 255, 255, 255, 255 }; });
		myWhiteSquare->myNormalizedSize = { BUILT_IN_NORMALIZED_SIZE, BUILT_IN_NORMALIZED_SIZE };
		myWhiteSquare->mySize = { BUILT_IN_REPORTED_SIZE_PIXELS, BUILT_IN_REPORTED_SIZE_PIXELS };

		myFlatNormalView = CreateBuiltIn(SMALL_BUILT_IN_SIZE_PIXELS, [](unsigned, unsigned) { return Rgba{ 128, 128, 255, 255 }; });
	}
}
