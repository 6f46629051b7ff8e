#include "text/FontAtlas.h"

namespace Norv::impl
{
	bool CreateFontAtlas(ID3D11Device* aDevice, ID3D11DeviceContext* aContext, InternalTextAndFontData& aFont)
	{
		if (!aDevice || !aContext || aFont.myPixels.size() != std::size_t{ FONT_ATLAS_SIZE } * FONT_ATLAS_SIZE)
			return false;
		D3D11_TEXTURE2D_DESC someDesc{};
		someDesc.Width = FONT_ATLAS_SIZE;
		someDesc.Height = FONT_ATLAS_SIZE;
		someDesc.MipLevels = 0; // the full chain
		someDesc.ArraySize = 1;
		someDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.Usage = D3D11_USAGE_DEFAULT;
		someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET;
		someDesc.MiscFlags = D3D11_RESOURCE_MISC_GENERATE_MIPS;
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
		if (FAILED(aDevice->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf())))
			return false;
		constexpr UINT ROW_PITCH = FONT_ATLAS_SIZE * sizeof(std::uint32_t);
		aContext->UpdateSubresource(someTexture.Get(), 0, nullptr, aFont.myPixels.data(), ROW_PITCH, 0);

		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;
		if (FAILED(aDevice->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf())))
			return false;
		aContext->GenerateMips(someView.Get());
		aFont.myAtlasView = someView;
		aFont.myAtlasTexture = std::make_unique<Texture>();
		aFont.myAtlasTexture->myView = std::move(someView);
		return true;
	}
}
