#include "graphics/SpriteShader.h"

#include "drawers/SpriteData.h"
#include "graphics/Texture.h"
#include "graphics/TextureManager.h"

#include <cstring>
#include <iterator>

namespace Norv
{
	namespace
	{
		// Slot 0 carries the quad vertex (32 bytes), slot 1 the 112-byte instance record.
		constexpr D3D11_INPUT_ELEMENT_DESC SPRITE_LAYOUT[] = {
			{ "POSITION", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 0, DXGI_FORMAT_R32G32B32A32_UINT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 1, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 2, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 3, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 4, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 5, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 6, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 7, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
		};
		constexpr std::size_t CUSTOM_CONSTANT_BYTES = 16;

		ID3D11ShaderResourceView* ViewOf(const Texture* aTexture, const Texture* aDefault)
		{
			const Texture* someTexture = aTexture ? aTexture : aDefault;
			return someTexture ? someTexture->myView.Get() : nullptr;
		}
	}

	bool SpriteShader::Init(const char* aVertexShaderName, const char* aPixelShaderName)
	{
		if (!Shader::Init(aVertexShaderName, aPixelShaderName))
			return false;
		const D3D11_BUFFER_DESC someDesc{ CONSTANT_BUFFER_BYTES, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
		if (FAILED(DX11::ourDevice->CreateBuffer(&someDesc, nullptr, myConstantBuffer.ReleaseAndGetAddressOf())))
			return false;
		// A missing default file gives the manager's placeholder, never null.
		if (TextureManager* someManager = TextureManager::GetCurrent())
		{
			myDefaultNormalTexture = someManager->GetTexture("Textures/T_Default_n.dds", TEXTURE_MODE_FORCE_SRGB);
			myDefaultMaterialTexture = someManager->GetTexture("Textures/T_Default_m.dds", TEXTURE_MODE_FORCE_SRGB);
			myDefaultEffectsTexture = someManager->GetTexture("Textures/T_Default_fx.dds", TEXTURE_MODE_FORCE_SRGB);
		}
		return true;
	}

	bool SpriteShader::CreateInputLayout(const std::string& aBytecode)
	{
		DX11::ourDevice->CreateInputLayout(SPRITE_LAYOUT, static_cast<UINT>(std::size(SPRITE_LAYOUT)), aBytecode.data(), aBytecode.size(), myInputLayout.ReleaseAndGetAddressOf());
		return true;
	}

	bool SpriteShader::PrepareRender(const SpriteSharedData& aSharedData)
	{
		if (!Shader::PrepareRender())
			return false;
		ID3D11DeviceContext* someContext = DX11::ourContext;
		const TextureManager* someManager = TextureManager::GetCurrent();
		ID3D11ShaderResourceView* const someViews[] = {
			ViewOf(aSharedData.myColorTexture, someManager ? someManager->GetWhiteSquareTexture() : nullptr),
			ViewOf(aSharedData.myNormalTexture, myDefaultNormalTexture),
			ViewOf(aSharedData.myMaterialTexture, myDefaultMaterialTexture),
			ViewOf(aSharedData.myEffectsTexture, myDefaultEffectsTexture) };
		someContext->PSSetShaderResources(COLOR_TEXTURE_SLOT, static_cast<UINT>(std::size(someViews)), someViews);

		if (myConstantBuffer)
		{
			D3D11_MAPPED_SUBRESOURCE someMapped;
			if (FAILED(someContext->Map(myConstantBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped)))
				return false;
			if (myHighestCustomConstantIndex >= 0)
				std::memcpy(someMapped.pData, myCustomConstants.data(), CUSTOM_CONSTANT_BYTES * static_cast<std::size_t>(myHighestCustomConstantIndex + 1));
			someContext->Unmap(myConstantBuffer.Get(), 0);
			ID3D11Buffer* const someBuffer[] = { myConstantBuffer.Get() };
			someContext->VSSetConstantBuffers(static_cast<UINT>(myConstantBufferSlot), 1, someBuffer);
			someContext->PSSetConstantBuffers(static_cast<UINT>(myConstantBufferSlot), 1, someBuffer);
		}
		for (std::int32_t i = 0; i < myExtraTextureCount; ++i)
		{
			ID3D11ShaderResourceView* const someView[] = { ViewOf(myExtraTextures[i].myTexture, nullptr) };
			someContext->PSSetShaderResources(static_cast<UINT>(myExtraTextures[i].mySlot), 1, someView);
		}
		return true;
	}
}
