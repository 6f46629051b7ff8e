#include "shell/FrozenWorld.h"

#include "graphics/DX11.h"

namespace
{
	// The texture behind the back-buffer target, held for the call; null without one.
	Microsoft::WRL::ComPtr<ID3D11Texture2D> GetBackBufferTexture()
	{
		const Norv::RenderTarget* someTarget = Norv::DX11::ourBackBuffer;
		if (!someTarget || !someTarget->GetView())
			return nullptr;
		Microsoft::WRL::ComPtr<ID3D11Resource> someResource;
		someTarget->GetView()->GetResource(someResource.GetAddressOf());
		D3D11_RESOURCE_DIMENSION someDimension = D3D11_RESOURCE_DIMENSION_UNKNOWN;
		if (someResource)
			someResource->GetType(&someDimension);
		if (someDimension != D3D11_RESOURCE_DIMENSION_TEXTURE2D)
			return nullptr;
		return static_cast<ID3D11Texture2D*>(someResource.Get());
	}
}

void FrozenWorld::Draw(const std::function<void()>& aDraw)
{
	const Microsoft::WRL::ComPtr<ID3D11Texture2D> someBackBuffer = GetBackBufferTexture();
	ID3D11DeviceContext* someContext = Norv::DX11::ourContext;
	if (!someBackBuffer || !someContext)
	{
		myIsValid = false;
		aDraw();
		return;
	}
	D3D11_TEXTURE2D_DESC someDesc;
	someBackBuffer->GetDesc(&someDesc);
	if (myIsValid && IsLike(someDesc))
	{
		someContext->CopyResource(someBackBuffer.Get(), myPicture.Get());
		return;
	}
	aDraw();
	myIsValid = MakePictureLike(someDesc);
	if (myIsValid)
		someContext->CopyResource(myPicture.Get(), someBackBuffer.Get());
}

void FrozenWorld::Release()
{
	myPicture.Reset();
	myIsValid = false;
}

bool FrozenWorld::IsLike(const D3D11_TEXTURE2D_DESC& aDesc) const
{
	if (!myPicture)
		return false;
	D3D11_TEXTURE2D_DESC someDesc;
	myPicture->GetDesc(&someDesc);
	return someDesc.Width == aDesc.Width && someDesc.Height == aDesc.Height && someDesc.Format == aDesc.Format;
}

bool FrozenWorld::MakePictureLike(const D3D11_TEXTURE2D_DESC& aDesc)
{
	if (IsLike(aDesc))
		return true;
	myPicture.Reset();
	// The back buffer's own format and binding, so that the copies move bytes unchanged.
	D3D11_TEXTURE2D_DESC someDesc = aDesc;
	someDesc.MipLevels = 1;
	someDesc.ArraySize = 1;
	someDesc.Usage = D3D11_USAGE_DEFAULT;
	someDesc.CPUAccessFlags = 0;
	someDesc.MiscFlags = 0;
	return Norv::DX11::ourDevice && SUCCEEDED(Norv::DX11::ourDevice->CreateTexture2D(&someDesc, nullptr, myPicture.GetAddressOf())) && myPicture;
}
