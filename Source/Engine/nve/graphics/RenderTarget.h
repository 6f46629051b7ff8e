#pragma once
// One render-target view with the viewport that covers it. Movable, not copyable;
// releases its view when destroyed or reset.
#include "Math/Vector.h"
#include "d3d11/d3d11.h"

#include <memory>

namespace Norv
{
	class DepthBuffer;

	class RenderTarget
	{
	public:
		RenderTarget() = default;
		RenderTarget(RenderTarget&& anOther) noexcept;
		RenderTarget& operator=(RenderTarget&& anOther) noexcept;
		RenderTarget(const RenderTarget&) = delete;
		RenderTarget& operator=(const RenderTarget&) = delete;

		// A view in the texture's own format.
		static RenderTarget Create(ID3D11Texture2D* aTexture);
		static RenderTarget Create(ID3D11Texture2D* aTexture, DXGI_FORMAT aFormat);

		// aColor is already linear.
		void Clear(const float aColor[4]);
		// Binds this view (and aDepth's view, if any) and this viewport.
		void SetAsActiveTarget(DepthBuffer* aDepth = nullptr);
		// The viewport's width and height; (0, 0) when empty.
		Vector2<unsigned int> GetSize() const;

		ID3D11RenderTargetView* GetView() const { return myView.Get(); }
		const D3D11_VIEWPORT* GetViewport() const { return myViewport.get(); }
		bool IsEmpty() const { return !myView; }

	private:
		Microsoft::WRL::ComPtr<ID3D11RenderTargetView> myView;
		std::shared_ptr<const D3D11_VIEWPORT> myViewport;
	};
}
