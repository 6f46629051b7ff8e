#include "graphics/RenderTarget.h"

#include "debug/Assert.h"
#include "graphics/DX11.h"
#include "graphics/DepthBuffer.h"

#include <utility>

namespace Norv
{
	namespace
	{
		std::shared_ptr<const D3D11_VIEWPORT> MakeViewport(ID3D11Texture2D* aTexture)
		{
			if (!aTexture)
				return nullptr;
			D3D11_TEXTURE2D_DESC someDesc;
			aTexture->GetDesc(&someDesc);
			return std::make_shared<const D3D11_VIEWPORT>(D3D11_VIEWPORT{ 0.0f, 0.0f, static_cast<float>(someDesc.Width), static_cast<float>(someDesc.Height), 0.0f, 1.0f });
		}
	}

	RenderTarget::RenderTarget(RenderTarget&& anOther) noexcept
		: myView(std::move(anOther.myView)), myViewport(std::move(anOther.myViewport))
	{
	}

	RenderTarget& RenderTarget::operator=(RenderTarget&& anOther) noexcept
	{
		myView = std::move(anOther.myView);
		myViewport = std::move(anOther.myViewport);
		return *this;
	}

	RenderTarget RenderTarget::Create(ID3D11Texture2D* aTexture)
	{
		RenderTarget someTarget;
		const HRESULT result = DX11::ourDevice->CreateRenderTargetView(aTexture, nullptr, someTarget.myView.GetAddressOf());
		NV_ASSERT(SUCCEEDED(result));
		someTarget.myViewport = MakeViewport(aTexture);
		return someTarget;
	}

	RenderTarget RenderTarget::Create(ID3D11Texture2D* aTexture, DXGI_FORMAT aFormat)
	{
		RenderTarget someTarget;
		const D3D11_RENDER_TARGET_VIEW_DESC someDesc{ aFormat, D3D11_RTV_DIMENSION_TEXTURE2D, { 0 } };
		const HRESULT result = DX11::ourDevice->CreateRenderTargetView(aTexture, &someDesc, someTarget.myView.GetAddressOf());
		NV_ASSERT(SUCCEEDED(result));
		someTarget.myViewport = MakeViewport(aTexture);
		return someTarget;
	}

	void RenderTarget::Clear(const float aColor[4])
	{
		DX11::ourContext->ClearRenderTargetView(myView.Get(), aColor);
	}

	void RenderTarget::SetAsActiveTarget(DepthBuffer* aDepth)
	{
		ID3D11RenderTargetView* const someViews[] = { myView.Get() };
		DX11::ourContext->OMSetRenderTargets(1, someViews, aDepth ? aDepth->GetDepthStencilView() : nullptr);
		if (myViewport)
			DX11::ourContext->RSSetViewports(1, myViewport.get());
	}

	Vector2<unsigned int> RenderTarget::GetSize() const
	{
		if (!myViewport)
			return { 0, 0 };
		return { static_cast<unsigned int>(myViewport->Width), static_cast<unsigned int>(myViewport->Height) };
	}
}
