#pragma once
// Stand-in for the DDS texture loader (DDSTextureLoader11).
// Keeps: CreateDDSTextureFromFileEx with its usage, bind, CPU-access and misc
// flags and the force-sRGB / ignore-sRGB loader flags; 2D textures with mip
// chains, 2D arrays and cube maps; BC1-BC7 uploaded compressed, BC1-BC3 decoded
// to RGBA8 when the GL driver lacks the S3TC extension.
// Does not keep: the maximum-size argument (mips are never skipped), 1D and
// volume textures, alpha-mode reporting, the overloads with a device context.
// A file that is a DDS file but cannot be loaded gets one line on standard error
// naming the file and the reason; a file that is no DDS file fails quietly with
// E_FAIL, so that the caller can try its other loaders.
// Built on: our own DDS reader (dds/DdsImage.h) and the d3d11 stand-in.
#include "d3d11/d3d11.h"

#include <cstddef>

namespace DirectX
{
	enum DDS_LOADER_FLAGS : std::uint32_t
	{
		DDS_LOADER_DEFAULT = 0,
		DDS_LOADER_FORCE_SRGB = 0x1,
		DDS_LOADER_IGNORE_SRGB = 0x2,
	};

	// Creates a texture and/or a shader-resource view over it from a DDS file.
	// E_FAIL: not a DDS file; other failures: the file is broken, unsupported or the
	// GPU refused it (reported on standard error).
	HRESULT CreateDDSTextureFromFileEx(ID3D11Device* aDevice, const wchar_t* aFileName, std::size_t aMaxSize,
		D3D11_USAGE aUsage, unsigned int aBindFlags, unsigned int aCpuAccessFlags, unsigned int aMiscFlags, DDS_LOADER_FLAGS aLoadFlags,
		ID3D11Resource** aTexture, ID3D11ShaderResourceView** aTextureView);
}
