#pragma once
// The start the file texture loaders (DDS and image files) share: the outputs
// cleared, the arguments checked and the whole file read.
#include "d3d11/d3d11.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Platform::impl
{
	constexpr HRESULT TEXTURE_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u); // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)

	struct TextureFile
	{
		std::string myPath; // UTF-8, for messages
		std::vector<std::uint8_t> myBytes;
	};

	// Clears the outputs that are given; E_INVALIDARG without a device, a file name
	// or any output, TEXTURE_FILE_NOT_FOUND when the file cannot be read, otherwise
	// S_OK with aFile filled.
	HRESULT ReadTextureFile(ID3D11Device* aDevice, const wchar_t* aFileName, ID3D11Resource** aTexture, ID3D11ShaderResourceView** aTextureView,
		TextureFile& aFile);
}
