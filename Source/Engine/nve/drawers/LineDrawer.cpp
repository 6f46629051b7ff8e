#include "drawers/LineDrawer.h"

#include "debug/Assert.h"
#include "engine/DrawCalls.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace Norv
{
	namespace
	{
		struct LineVertex
		{
			float myPosition[3];
			float myColor[4];
			float myUnused[2];
		};
		static_assert(sizeof(LineVertex) == LineDrawer::VERTEX_BYTES);

		constexpr UINT VERTICES_PER_LINE = 2;

		constexpr D3D11_INPUT_ELEMENT_DESC LINE_LAYOUT[] = {
			{ "POSITION", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
		};

		void WriteVertex(LineVertex& aVertex, const Vector3<float>& aPoint, const Matrix4x4& aTransform, const Vector4<float>& aColor)
		{
			const Vector4<float> somePoint = Vector4<float>(aPoint.x, aPoint.y, aPoint.z, 1.0f) * aTransform;
			aVertex.myPosition[0] = somePoint.x;
			aVertex.myPosition[1] = somePoint.y;
			aVertex.myPosition[2] = somePoint.z;
			aVertex.myColor[0] = aColor.x;
			aVertex.myColor[1] = aColor.y;
			aVertex.myColor[2] = aColor.z;
			aVertex.myColor[3] = aColor.w;
		}
	}

	LineDrawer::~LineDrawer() = default;

	bool LineDrawer::Init()
	{
		Shader::Init("shaders/lineshader_VS", "shaders/lineshader_PS");
		const D3D11_BUFFER_DESC someDesc{ static_cast<UINT>(MAX_LINES * VERTICES_PER_LINE) * VERTEX_BYTES, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
		DX11::ourDevice->CreateBuffer(&someDesc, nullptr, myVertexBuffer.ReleaseAndGetAddressOf());
		return true;
	}

	bool LineDrawer::CreateInputLayout(const std::string& aBytecode)
	{
		return SUCCEEDED(DX11::ourDevice->CreateInputLayout(LINE_LAYOUT, static_cast<UINT>(std::size(LINE_LAYOUT)), aBytecode.data(), aBytecode.size(), myInputLayout.ReleaseAndGetAddressOf()));
	}

	void LineDrawer::Draw(const LineMultiPrimitive& aObject)
	{
		NV_ASSERT(aObject.myCount <= 1000 && "A single multi Primivive can only draw 1000 lines");
		// The buffer holds MAX_LINES lines: more are drawn batch after batch, never written past its end.
		std::uint64_t someFirst = 0;
		do
		{
			const std::uint64_t someCount = std::min(aObject.myCount - someFirst, MAX_LINES);
			DrawBatch(aObject, someFirst, someCount);
			someFirst += someCount;
		} while (someFirst < aObject.myCount);
	}

	void LineDrawer::DrawBatch(const LineMultiPrimitive& aObject, std::uint64_t aFirst, std::uint64_t aCount)
	{
		if (!myVertexBuffer || !PrepareRender())
			return;
		ID3D11DeviceContext* someContext = DX11::ourContext;
		someContext->IASetPrimitiveTopology(D3D11_PRIMITIVE_TOPOLOGY_LINELIST);
		D3D11_MAPPED_SUBRESOURCE someMapped;
		if (FAILED(someContext->Map(myVertexBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped)))
			return;
		static const Matrix4x4 ourIdentity;
		const GraphicsStateStack* someStack = GraphicsEngine::GetStateStack();
		const Matrix4x4& someTransform = someStack ? someStack->GetTop().myTransform : ourIdentity;
		auto* someVertices = static_cast<LineVertex*>(someMapped.pData);
		for (std::uint64_t i = 0; i < aCount; ++i)
		{
			const std::uint64_t someLine = aFirst + i;
			WriteVertex(someVertices[VERTICES_PER_LINE * i], aObject.myFromPoints[someLine], someTransform, aObject.myColors[someLine]);
			WriteVertex(someVertices[VERTICES_PER_LINE * i + 1], aObject.myToPoints[someLine], someTransform, aObject.myColors[someLine]);
		}
		someContext->Unmap(myVertexBuffer.Get(), 0);
		ID3D11Buffer* const someBuffer[] = { myVertexBuffer.Get() };
		const UINT someStride = VERTEX_BYTES;
		const UINT someOffset = 0;
		someContext->IASetVertexBuffers(0, 1, someBuffer, &someStride, &someOffset);
		DrawCalls::Count();
		someContext->Draw(static_cast<UINT>(VERTICES_PER_LINE * aCount), 0);
	}
}
