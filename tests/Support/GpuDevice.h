#pragma once
// A headless Direct3D 11 device (EGL surfaceless on llvmpipe) and a read-back
// of any 2D texture through a staging copy.
#include "d3d11/d3d11.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace NorvTest
{
	class GpuDevice
	{
	public:
		GpuDevice()
		{
			D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION, myDevice.GetAddressOf(), nullptr, myContext.GetAddressOf());
		}

		ID3D11Device* Device() const { return myDevice.Get(); }
		ID3D11DeviceContext* Context() const { return myContext.Get(); }

		// The bytes of one mip of aTexture, rows packed, in the texture's own format.
		std::vector<std::uint8_t> ReadBack(ID3D11Texture2D* aTexture, UINT aSubresource = 0) const
		{
			D3D11_TEXTURE2D_DESC someDesc;
			aTexture->GetDesc(&someDesc);
			someDesc.Usage = D3D11_USAGE_STAGING;
			someDesc.BindFlags = 0;
			someDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
			someDesc.MiscFlags = 0;
			Microsoft::WRL::ComPtr<ID3D11Texture2D> someStaging;
			if (FAILED(myDevice->CreateTexture2D(&someDesc, nullptr, someStaging.GetAddressOf())))
				return {};
			myContext->CopyResource(someStaging.Get(), aTexture);
			D3D11_MAPPED_SUBRESOURCE someMapped;
			if (FAILED(myContext->Map(someStaging.Get(), aSubresource, D3D11_MAP_READ, 0, &someMapped)))
				return {};
			std::vector<std::uint8_t> someBytes(someMapped.DepthPitch);
			std::memcpy(someBytes.data(), someMapped.pData, someBytes.size());
			myContext->Unmap(someStaging.Get(), aSubresource);
			return someBytes;
		}

	private:
		Microsoft::WRL::ComPtr<ID3D11Device> myDevice;
		Microsoft::WRL::ComPtr<ID3D11DeviceContext> myContext;
	};
}
