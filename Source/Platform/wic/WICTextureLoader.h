#pragma once
// Stand-in for the image texture loader over the Windows Imaging Component
// (WICTextureLoader11).
// Keeps: CreateWICTextureFromFileEx for PNG, JPEG, BMP and GIF (first frame) as
// RGBA8; images larger than the maximum size scaled down with their aspect ratio;
// a full mip chain generated on the GPU when a device context is given; the
// force-sRGB / ignore-sRGB loader flags, and a PNG's sRGB or gamma 1/2.2 chunk.
// Does not keep: TIFF, ICO, JPEG XR, HDR and 16-bit-per-channel formats, and the
// other loader flags. Targa, PSD, HDR and PNM files are declined, as the imaging
// component declines them, so the caller's own loaders decide.
// A file that is an image of these formats but cannot be loaded gets one line on
// standard error; anything else fails quietly with WINCODEC_ERR_COMPONENTNOTFOUND.
// Built on: our image decoder (wic/WicImage.h, over stb_image) and the d3d11 stand-in.
#include "d3d11/d3d11.h"

#include <cstddef>

constexpr HRESULT WINCODEC_ERR_COMPONENTNOTFOUND = static_cast<HRESULT>(0x88982F50u);
constexpr HRESULT WINCODEC_ERR_BADIMAGE = static_cast<HRESULT>(0x88982F60u);

namespace DirectX
{
	enum WIC_LOADER_FLAGS : std::uint32_t
	{
		WIC_LOADER_DEFAULT = 0,
		WIC_LOADER_FORCE_SRGB = 0x1,
		WIC_LOADER_IGNORE_SRGB = 0x2,
	};

	// Creates a texture and/or a shader-resource view over it from an image file.
	// aMaxSize 0: no limit beyond the largest texture (16384).
	HRESULT CreateWICTextureFromFileEx(ID3D11Device* aDevice, ID3D11DeviceContext* aContext, const wchar_t* aFileName, std::size_t aMaxSize,
		D3D11_USAGE aUsage, unsigned int aBindFlags, unsigned int aCpuAccessFlags, unsigned int aMiscFlags, WIC_LOADER_FLAGS aLoadFlags,
		ID3D11Resource** aTexture, ID3D11ShaderResourceView** aTextureView);
}
