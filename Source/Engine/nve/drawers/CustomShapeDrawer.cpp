#include "drawers/CustomShapeDrawer.h"

#include <iterator>

namespace Norv
{
	namespace
	{
		constexpr D3D11_INPUT_ELEMENT_DESC SHAPE_LAYOUT[] = {
			{ "POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 1, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
		};
	}

	CustomShapeDrawer::~CustomShapeDrawer() = default;

	bool CustomShapeDrawer::Init()
	{
		myMaxVertexCount = MAX_VERTEX_COUNT;
		const D3D11_BUFFER_DESC someConstantDesc{ CONSTANT_BUFFER_BYTES, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
		if (FAILED(DX11::ourDevice->CreateBuffer(&someConstantDesc, nullptr, myConstantBuffer.ReleaseAndGetAddressOf())))
			return false;
		Shader::Init("shaders/custom_shape_VS", "shaders/custom_shape_PS");
		const D3D11_BUFFER_DESC someVertexDesc{ MAX_VERTEX_COUNT * VERTEX_BYTES, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
		DX11::ourDevice->CreateBuffer(&someVertexDesc, nullptr, myVertexBuffer.ReleaseAndGetAddressOf());
		return true;
	}

	bool CustomShapeDrawer::CreateInputLayout(const std::string& aBytecode)
	{
		return SUCCEEDED(DX11::ourDevice->CreateInputLayout(SHAPE_LAYOUT, static_cast<UINT>(std::size(SHAPE_LAYOUT)), aBytecode.data(), aBytecode.size(), myInputLayout.ReleaseAndGetAddressOf()));
	}
}
