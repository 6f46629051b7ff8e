#include "graphics/PictureBaking.h"

#include "drawers/SpriteDrawer.h"
#include "graphics/Camera.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/RenderTarget.h"
#include "graphics/Texture.h"

namespace Norv::impl
{
	namespace
	{
		// An orthographic camera of one unit per pixel, y up from the bottom-left corner.
		constexpr float CAMERA_NEAR_PLANE = 0.1f;
		constexpr float CAMERA_FAR_PLANE = 1000.0f;
		constexpr float CAMERA_Z = -100.0f;
	}

	Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> DrawPictureAtSize(ID3D11ShaderResourceView* aWhole, Vector2<unsigned int> aSize)
	{
		GraphicsEngine* someGraphics = GraphicsEngine::GetCurrent();
		SpriteDrawer* someDrawer = someGraphics ? someGraphics->GetSpriteDrawer() : nullptr;
		GraphicsStateStack* someStates = GraphicsEngine::GetStateStack();
		if (!aWhole || !someDrawer || !someStates || !DX11::ourDevice || aSize.x == 0 || aSize.y == 0)
			return nullptr;

		D3D11_SHADER_RESOURCE_VIEW_DESC someWholeDesc{};
		aWhole->GetDesc(&someWholeDesc);
		D3D11_TEXTURE2D_DESC someDesc{};
		someDesc.Width = aSize.x;
		someDesc.Height = aSize.y;
		someDesc.MipLevels = 1;
		someDesc.ArraySize = 1;
		someDesc.Format = someWholeDesc.Format;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.Usage = D3D11_USAGE_DEFAULT;
		someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET;
		Microsoft::WRL::ComPtr<ID3D11Texture2D> someTexture;
		if (FAILED(DX11::ourDevice->CreateTexture2D(&someDesc, nullptr, someTexture.GetAddressOf())))
			return nullptr;
		RenderTarget someTarget = RenderTarget::Create(someTexture.Get());
		if (someTarget.IsEmpty())
			return nullptr;
		const float CLEAR[4] = { 0.0f, 0.0f, 0.0f, 0.0f };
		someTarget.Clear(CLEAR);
		someTarget.SetAsActiveTarget();

		someStates->Push();
		Camera someCamera;
		someCamera.SetOrthographicProjection(0.0f, static_cast<float>(aSize.x), 0.0f, static_cast<float>(aSize.y), CAMERA_NEAR_PLANE, CAMERA_FAR_PLANE);
		someCamera.myTransform.SetTranslation({ 0.0f, 0.0f, CAMERA_Z });
		someStates->SetCamera(someCamera);
		someStates->GetTransform() = Matrix4x4();
		{
			Texture someSource;
			someSource.myView = aWhole;
			SpriteSharedData someShared;
			someShared.myColorTexture = &someSource;
			SpriteBatchScope someBatch = someDrawer->BeginBatch(someShared);
			// Written as sampled, alpha included: no blending with the cleared target.
			DX11::ourContext->OMSetBlendState(nullptr, nullptr, 0xffffffff);
			Sprite2DInstanceData someSprite;
			someSprite.myPosition = { aSize.x * 0.5f, aSize.y * 0.5f };
			someSprite.mySize = { static_cast<float>(aSize.x), static_cast<float>(aSize.y) };
			someBatch.Draw(someSprite);
		}
		someStates->Pop();
		// The blend state was set behind the stack's back: send it all again.
		someStates->UpdateGpuStates(true);
		if (DX11::ourBackBuffer)
			DX11::ourBackBuffer->SetAsActiveTarget();

		Microsoft::WRL::ComPtr<ID3D11ShaderResourceView> someView;
		if (FAILED(DX11::ourDevice->CreateShaderResourceView(someTexture.Get(), nullptr, someView.GetAddressOf())))
			return nullptr;
		return someView;
	}
}
