#pragma once
// The texture manager's chain of loaders for one file: DDS, then the image
// decoder (main thread only), then 32-bit Targa for a ".tga" name; and the size
// of a picture's image file.
#include "d3d11/d3d11.h"

#include <cstdint>
#include <string>

namespace Norv::impl
{
	// A view of the texture in aResolvedPath, or null. A file no loader accepts gets
	// one line on standard error (a loader that knew the format has said why already).
	Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> LoadTextureView(ID3D11Device* aDevice, ID3D11DeviceContext* aContext,
		const std::string& aResolvedPath, std::uint32_t aSrgbMode, bool aIsMainThread);

	enum class PictureFile
	{
		Image,      // a PNG, JPEG, BMP or GIF image: its size is read
		NotAnImage, // for the other loaders
		Broken,     // an image of these formats that cannot be read: said on standard error
	};

	// The pixel size of the image file in aResolvedPath, read from its header where
	// the format allows.
	PictureFile ReadPictureSize(const std::string& aResolvedPath, std::uint32_t& aWidth, std::uint32_t& aHeight);

	// Targa is tried only for this exact, lower-case extension.
	bool HasTargaExtension(const std::string& aPath);
}
