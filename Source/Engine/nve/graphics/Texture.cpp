#include "graphics/Texture.h"

namespace Norv
{
	Vector2<unsigned int> Texture::CalculateTextureSize(ID3D11ShaderResourceView* aView)
	{
		if (!aView)
			return {};
		Microsoft::WRL::ComPtr<ID3D11Resource> someResource;
		aView->GetResource(someResource.GetAddressOf());
		if (!someResource)
			return {};
		D3D11_RESOURCE_DIMENSION someDimension = D3D11_RESOURCE_DIMENSION_UNKNOWN;
		someResource->GetType(&someDimension);
		if (someDimension != D3D11_RESOURCE_DIMENSION_TEXTURE2D)
			return {};
		D3D11_TEXTURE2D_DESC someDesc{};
		static_cast<ID3D11Texture2D*>(someResource.Get())->GetDesc(&someDesc);
		return { someDesc.Width, someDesc.Height };
	}
}
