#include "graphics/Shader.h"

#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"

#include <cstdlib>
#include <iterator>

namespace Norv
{
	namespace
	{
		constexpr int SHADER_ID_RANGE = 100;

		constexpr D3D11_INPUT_ELEMENT_DESC DEFAULT_LAYOUT[] = {
			{ "POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 1, DXGI_FORMAT_R32G32_FLOAT, 1, 0, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 2, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 3, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 4, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
			{ "TEXCOORD", 5, DXGI_FORMAT_R32G32B32A32_FLOAT, 1, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_INSTANCE_DATA, 1 },
		};
	}

	Shader::Shader() : myId(std::rand() % SHADER_ID_RANGE)
	{
	}

	Shader::~Shader() = default;

	bool Shader::Init()
	{
		return false;
	}

	bool Shader::Init(const char* aVertexShaderName, const char* aPixelShaderName, const LayoutCallback& aLayoutCallback)
	{
		myIsLoaded = false;
		myVertexShaderName = aVertexShaderName;
		myPixelShaderName = aPixelShaderName;
		myVertexShader = DX11::GetVertexShader(aVertexShaderName);
		if (!myVertexShader)
			return false;
		myPixelShader = DX11::GetPixelShader(aPixelShaderName);
		if (!myPixelShader)
			return false;
		myInputLayout.Reset();
		const std::string& someBytecode = myVertexShader->myBytecode;
		if (aLayoutCallback)
			aLayoutCallback(someBytecode);
		else if (!CreateInputLayout(someBytecode)
			&& FAILED(DX11::ourDevice->CreateInputLayout(DEFAULT_LAYOUT, static_cast<UINT>(std::size(DEFAULT_LAYOUT)), someBytecode.data(), someBytecode.size(), myInputLayout.GetAddressOf())))
			return false;
		myIsLoaded = true;
		return true;
	}

	bool Shader::CreateInputLayout(const std::string&)
	{
		return false;
	}

	bool Shader::PrepareRender()
	{
		if (!myVertexShader || !myPixelShader || !myIsLoaded)
			return false;
		ID3D11DeviceContext* someContext = DX11::ourContext;
		someContext->VSSetShader(myVertexShader->myShader.Get(), nullptr, 0);
		someContext->PSSetShader(myPixelShader->Get(), nullptr, 0);
		someContext->IASetInputLayout(myInputLayout.Get());
		someContext->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_TRIANGLELIST);
		if (GraphicsStateStack* someStack = GraphicsEngine::GetStateStack())
			someStack->UpdateGpuStates(false);
		return true;
	}
}
