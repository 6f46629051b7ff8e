#pragma once
// A headless Direct3D 11 device (EGL surfaceless on llvmpipe) and a read-back
// of any 2D texture through a staging copy.
#include "Support/ReadBack.h"
#include "d3d11/d3d11.h"

#include <cstdint>
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
			return ReadBackTexture(myDevice.Get(), myContext.Get(), aTexture, aSubresource);
		}

	private:
		Microsoft::WRL::ComPtr<ID3D11Device> myDevice;
		Microsoft::WRL::ComPtr<ID3D11DeviceContext> myContext;
	};
}
