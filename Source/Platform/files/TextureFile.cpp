#include "files/TextureFile.h"

#include "files/FilePath.h"
#include "kernel/Kernel.h"

#include <optional>

namespace Platform::impl
{
	HRESULT ReadTextureFile(ID3D11Device* aDevice, const wchar_t* aFileName, ID3D11Resource** aTexture, ID3D11ShaderResourceView** aTextureView,
		TextureFile& aFile)
	{
		if (aTexture)
			*aTexture = nullptr;
		if (aTextureView)
			*aTextureView = nullptr;
		if (!aDevice || !aFileName || (!aTexture && !aTextureView))
			return E_INVALIDARG;

		aFile.myPath = WideToUtf8(aFileName);
		std::optional<std::vector<std::uint8_t>> someBytes = ReadWholeFile(aFile.myPath);
		if (!someBytes)
			return TEXTURE_FILE_NOT_FOUND;
		aFile.myBytes = std::move(*someBytes);
		return S_OK;
	}
}
