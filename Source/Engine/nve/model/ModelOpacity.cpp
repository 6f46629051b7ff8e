#include "model/ModelOpacity.h"

#include "graphics/DX11.h"
#include "graphics/Texture.h"
#include "model/ModelInstance.h"
#include "model/ModelShader.h"
#include "model/ModelTextures.h"

#include <algorithm>

namespace Norv
{
	namespace
	{
		// The byte of a texel that holds alpha, or -1 for a format read as opaque
		// (no alpha), or -2 for one not read here.
		int AlphaByte(DXGI_FORMAT aFormat)
		{
			switch (aFormat)
			{
			case DXGI_FORMAT_R8G8B8A8_UNORM:
			case DXGI_FORMAT_R8G8B8A8_UNORM_SRGB:
			case DXGI_FORMAT_B8G8R8A8_UNORM:
			case DXGI_FORMAT_B8G8R8A8_UNORM_SRGB:
				return 3;
			case DXGI_FORMAT_B8G8R8X8_UNORM:
			case DXGI_FORMAT_B8G8R8X8_UNORM_SRGB:
				return -1;
			default:
				return -2;
			}
		}
	}

	bool IsOpaque(const Texture& aTexture)
	{
		ID3D11Device* someDevice = DX11::ourDevice;
		ID3D11DeviceContext* someContext = DX11::ourContext;
		if (!aTexture.myView || !someDevice || !someContext)
			return false;
		Microsoft::WRL::ComPtr<ID3D11Resource> someResource;
		aTexture.myView->GetResource(someResource.GetAddressOf());
		D3D11_RESOURCE_DIMENSION someDimension;
		someResource->GetType(&someDimension);
		if (someDimension != D3D11_RESOURCE_DIMENSION_TEXTURE2D)
			return false;
		auto* someTexture = static_cast<ID3D11Texture2D*>(someResource.Get());
		D3D11_TEXTURE2D_DESC someDesc;
		someTexture->GetDesc(&someDesc);
		const int someAlpha = AlphaByte(someDesc.Format);
		if (someAlpha != 3)
			return someAlpha == -1;

		// The top level, through a staging copy.
		D3D11_TEXTURE2D_DESC someStagingDesc = someDesc;
		someStagingDesc.Usage = D3D11_USAGE_STAGING;
		someStagingDesc.BindFlags = 0;
		someStagingDesc.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
		someStagingDesc.MiscFlags = 0;
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someStaging;
		if (FAILED(someDevice->CreateTexture2D(&someStagingDesc, nullptr, someStaging.GetAddressOf())))
			return false;
		someContext->CopyResource(someStaging.Get(), someTexture);
		D3D11_MAPPED_SUBRESOURCE someMapped;
		if (FAILED(someContext->Map(someStaging.Get(), 0, D3D11_MAP_READ, 0, &someMapped)))
			return false;
		bool isOpaque = true;
		for (UINT y = 0; y < someDesc.Height && isOpaque; ++y)
		{
			const auto* someRow = static_cast<const unsigned char*>(someMapped.pData) + static_cast<std::size_t>(y) * someMapped.RowPitch;
			for (UINT x = 0; x < someDesc.Width && isOpaque; ++x)
				isOpaque = someRow[x * 4 + someAlpha] == 255;
		}
		someContext->Unmap(someStaging.Get(), 0);
		return isOpaque;
	}

	bool IsOpaque(const ModelInstance& anInstance, const ModelShader& aShader, TextureOpacityCache& aCache)
	{
		const std::shared_ptr<Model> someModel = anInstance.GetModel();
		if (!someModel || someModel->GetMeshes().empty())
			return false;
		const std::vector<MeshData>& someMeshes = someModel->GetMeshes();
		for (std::size_t i = 0; i < std::min(someMeshes.size(), MAX_MESHES_PER_MODEL); ++i)
		{
			const MeshData& someMesh = someMeshes[i];
			if (someMesh.myVertices.empty())
				return false;
			for (const ModelVertex& someVertex : someMesh.myVertices)
				if (!(someVertex.myColors[0].w >= 1.0f))
					return false;
			const Texture* someTexture = anInstance.GetTextures()[i][MODEL_TEXTURE_COLOR];
			if (!someTexture)
				someTexture = aShader.GetDefaultTexture(MODEL_TEXTURE_COLOR);
			if (!someTexture)
				return false;
			const auto [someEntry, isNew] = aCache.try_emplace(someTexture, false);
			if (isNew)
				someEntry->second = IsOpaque(*someTexture);
			if (!someEntry->second)
				return false;
		}
		return true;
	}
}
