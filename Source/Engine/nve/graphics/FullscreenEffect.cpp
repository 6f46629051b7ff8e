#include "graphics/FullscreenEffect.h"

#include "engine/DrawCalls.h"
#include "engine/Engine.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"

#include <cstring>

namespace Norv
{
	namespace
	{
		constexpr UINT FULLSCREEN_TRIANGLE_VERTICES = 3;
		constexpr UINT SOURCE_TEXTURE_SLOT = 0;
	}

	FullscreenEffect::~FullscreenEffect() = default;

	bool FullscreenEffect::Init(const char* aPixelShaderName)
	{
		myVertexShader = DX11::GetVertexShader("Shaders/PostprocessVS");
		if (!myVertexShader)
			return false;
		myPixelShader = DX11::GetPixelShader(aPixelShaderName);
		return myPixelShader != nullptr;
	}

	void FullscreenEffect::Render()
	{
		if (!myVertexShader || !myPixelShader)
			return;
		if (GraphicsStateStack* someStack = GraphicsEngine::GetStateStack())
			someStack->UpdateGpuStates(false);
		ID3D11DeviceContext* someContext = DX11::ourContext;
		someContext->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
		someContext->IASetInputLayout(nullptr);
		someContext->IASetVertexBuffers(0, 0, nullptr, nullptr, nullptr);
		someContext->IASetIndexBuffer(nullptr, DXGI_FORMAT_UNKNOWN, 0);
		someContext->VSSetShader(myVertexShader->myShader.Get(), nullptr, 0);
		someContext->GSSetShader(nullptr, nullptr, 0);
		someContext->PSSetShader(myPixelShader->Get(), nullptr, 0);
		DrawCalls::Count();
		someContext->Draw(FULLSCREEN_TRIANGLE_VERTICES, 0);
	}

	bool FullscreenPixelateEffect::Init(const char* aPixelShaderName)
	{
		ID3D11Device* someDevice = DX11::ourDevice;
		const D3D11_BUFFER_DESC someBufferDesc{ sizeof(PixelateConstants), D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
		if (!someDevice || FAILED(someDevice->CreateBuffer(&someBufferDesc, nullptr, myConstantBuffer.ReleaseAndGetAddressOf())))
			return false;

		Microsoft::WRL::ComPtr<ID3D11Texture2D> someBackBuffer;
		if (!DX11::ourSwapChain || FAILED(DX11::ourSwapChain->GetBuffer(0, someBackBuffer.GetAddressOf())))
			return false;
		D3D11_TEXTURE2D_DESC someDesc;
		someBackBuffer->GetDesc(&someDesc);
		someBackBuffer.Reset();

		someDesc.MipLevels = 1;
		someDesc.ArraySize = 1;
		someDesc.SampleDesc = { 1, 0 };
		someDesc.Usage = D3D11_USAGE_DEFAULT;
		someDesc.BindFlags = D3D11_BIND_SHADER_RESOURCE | D3D11_BIND_RENDER_TARGET | D3D11_BIND_UNORDERED_ACCESS;
		someDesc.CPUAccessFlags = 0;
		someDesc.MiscFlags = 0;
		if (FAILED(someDevice->CreateTexture2D(&someDesc, nullptr, myTexture.ReleaseAndGetAddressOf()))
			|| FAILED(someDevice->CreateShaderResourceView(myTexture.Get(), nullptr, myShaderResourceView.ReleaseAndGetAddressOf()))
			|| FAILED(someDevice->CreateRenderTargetView(myTexture.Get(), nullptr, myRenderTargetView.ReleaseAndGetAddressOf())))
			return false;
		myViewport = { 0.0f, 0.0f, static_cast<float>(someDesc.Width), static_cast<float>(someDesc.Height), 0.0f, 1.0f };
		return FullscreenEffect::Init(aPixelShaderName);
	}

	void FullscreenPixelateEffect::Render()
	{
		if (!DX11::ourBackBuffer || !DX11::ourContext)
			return;
		DX11::ourBackBuffer->SetAsActiveTarget();
		// The render size is the engine's; without an engine, the back buffer's.
		const Engine* someEngine = Engine::GetInstance();
		const Vector2<unsigned int> someRenderSize = someEngine ? someEngine->GetRenderSize() : DX11::ourBackBuffer->GetSize();
		myConstants.myPixelSize = myPixelSize;
		myConstants.myRenderWidth = someRenderSize.x;
		myConstants.myRenderHeight = someRenderSize.y;
		ID3D11DeviceContext* someContext = DX11::ourContext;
		D3D11_MAPPED_SUBRESOURCE someMapped;
		if (FAILED(someContext->Map(myConstantBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped)))
			return;
		std::memcpy(someMapped.pData, &myConstants, sizeof(myConstants));
		someContext->Unmap(myConstantBuffer.Get(), 0);
		ID3D11Buffer* const someBuffer[] = { myConstantBuffer.Get() };
		someContext->PSSetConstantBuffers(CONSTANT_BUFFER_SLOT, 1, someBuffer);
		ID3D11ShaderResourceView* const someView[] = { myShaderResourceView.Get() };
		someContext->PSSetShaderResources(SOURCE_TEXTURE_SLOT, 1, someView);
		FullscreenEffect::Render();
	}
}
