#pragma once
// Reads any 2D texture back to memory through a staging copy, in the texture's
// own format, rows packed.
#include "d3d11/d3d11.h"

#include <cstdint>
#include <cstring>
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
}
