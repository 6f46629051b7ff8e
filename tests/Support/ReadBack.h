#pragma once
// Reads any 2D texture back to memory through a staging copy, in the texture's
// own format, rows packed; or the frame just drawn, as RGBA rows top first.
#include "d3d11/d3d11.h"
#include "d3d11/dxgi.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace NorvTest
{
	inline std::vector<std::uint8_t> ReadBackTexture(ID3D11Device* aDevice, ID3D11DeviceContext* aContext, ID3D11Texture2D* aTexture, UINT aSubresource = 0)
	{
		D3D11_TEXTURE2D_DESC someDesc;
		aTexture->GetDesc(&someDesc);
		someDesc.Usage = D3D11_USAGE_STAGING;
		someDesc.BindFlags = 0;
		someDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
		someDesc.MiscFlags = 0;
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someStaging;
		if (FAILED(aDevice->CreateTexture2D(&someDesc, nullptr, someStaging.GetAddressOf())))
			return {};
		aContext->CopyResource(someStaging.Get(), aTexture);
		D3D11_MAPPED_SUBRESOURCE someMapped;
		if (FAILED(aContext->Map(someStaging.Get(), aSubresource, D3D11_MAP_READ, 0, &someMapped)))
			return {};
		std::vector<std::uint8_t> someBytes(someMapped.DepthPitch);
		std::memcpy(someBytes.data(), someMapped.pData, someBytes.size());
		aContext->Unmap(someStaging.Get(), aSubresource);
		return someBytes;
	}

	struct Frame
	{
		unsigned myWidth = 0, myHeight = 0;
		std::vector<std::uint8_t> myRgba; // empty when it could not be read
	};

	// The swap chain's back buffer (BGRA) as opaque RGBA.
	inline Frame ReadBackFrame(ID3D11Device* aDevice, ID3D11DeviceContext* aContext, IDXGISwapChain* aSwapChain)
	{
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someBuffer;
		if (!aSwapChain || aSwapChain->GetBuffer(0, someBuffer.GetAddressOf()) != S_OK)
			return {};
		D3D11_TEXTURE2D_DESC someDesc;
		someBuffer->GetDesc(&someDesc);
		Frame someFrame{ someDesc.Width, someDesc.Height, ReadBackTexture(aDevice, aContext, someBuffer.Get()) };
		if (someFrame.myRgba.size() < static_cast<std::size_t>(someDesc.Width) * someDesc.Height * 4)
			return {};
		for (std::size_t someIndex = 0; someIndex + 3 < someFrame.myRgba.size(); someIndex += 4)
		{
			std::swap(someFrame.myRgba[someIndex], someFrame.myRgba[someIndex + 2]);
			someFrame.myRgba[someIndex + 3] = 255;
		}
		return someFrame;
	}
}
