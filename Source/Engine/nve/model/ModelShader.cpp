#include "model/ModelShader.h"

#include "engine/DrawCalls.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/Texture.h"
#include "graphics/TextureManager.h"
#include "graphics/ViewVolume.h"
#include "model/ModelTextures.h"

#include <cstring>
#include <iterator>

namespace Norv
{
	namespace
	{
		constexpr D3D11_INPUT_ELEMENT_DESC MODEL_LAYOUT[] = {
			{ "POSITION", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, 0, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "COLOR", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "COLOR", 1, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "COLOR", 2, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "COLOR", 3, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 0, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 1, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 2, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TEXCOORD", 3, DXGI_FORMAT_R32G32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "NORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "TANGENT", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "BINORMAL", 0, DXGI_FORMAT_R32G32B32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "BONES", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
			{ "WEIGHTS", 0, DXGI_FORMAT_R32G32B32A32_FLOAT, 0, D3D11_APPEND_ALIGNED_ELEMENT, D3D11_INPUT_PER_VERTEX_DATA, 0 },
		};
		static_assert(std::size(MODEL_LAYOUT) == 14);

		struct ObjectConstants
		{
			Matrix4x4 myWorld;
			Vector4<float> myColor;
			Vector4<float> myColorAdjust;
		};
		static_assert(sizeof(ObjectConstants) == ModelShader::OBJECT_BUFFER_BYTES);

		// No light reaches the pixel shader and the environment map is the loaded white one.
		bool IsAmbientOnly(const GraphicsStateStack& aStack)
		{
			const RenderState& someState = aStack.GetTop();
			const Color& someDirectional = someState.myDirectionalLightColor;
			const bool isDirectionalDark = someState.myDirectionalLightIntensity == 0.0f
				|| (someDirectional.r == 0.0f && someDirectional.g == 0.0f && someDirectional.b == 0.0f);
			const Texture* someWhite = aStack.GetWhiteCubeMap();
			return isDirectionalDark && someState.myPointLightCount == 0 && someState.myEnvironmentMapMode == 0 && someWhite && !someWhite->myIsFailed;
		}

		bool CreateDynamicBuffer(UINT aBytes, Microsoft::WRL::ComPtr<ID3D11Buffer>& aOut)
		{
			const D3D11_BUFFER_DESC someDesc{ aBytes, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
			return DX11::ourDevice && SUCCEEDED(DX11::ourDevice->CreateBuffer(&someDesc, nullptr, aOut.ReleaseAndGetAddressOf()));
		}
	}

	ModelShader::~ModelShader()
	{
		myObjectBuffer.Reset();
		myBoneBuffer.Reset();
	}

	bool ModelShader::Init(const std::string& aVertexShader, const std::string& aPixelShader, const std::string& anAmbientPixelShader,
		const std::string& aDefaultSurfacePixelShader)
	{
		if (!CreateDynamicBuffer(BONE_BUFFER_BYTES, myBoneBuffer) || !CreateDynamicBuffer(OBJECT_BUFFER_BYTES, myObjectBuffer))
			return false;
		for (std::uint32_t someKind = 0; someKind < MODEL_TEXTURE_KIND_COUNT; ++someKind)
			myDefaultTextures[someKind] = GetDefaultModelTexture(someKind);
		if (!Shader::Init(aVertexShader.c_str(), aPixelShader.c_str()))
			return false;
		myLitPixelShader = myPixelShader;
		myAmbientPixelShader = anAmbientPixelShader.empty() ? nullptr : DX11::GetPixelShader(anAmbientPixelShader.c_str());
		myDefaultSurfacePixelShader = aDefaultSurfacePixelShader.empty() ? nullptr : DX11::GetPixelShader(aDefaultSurfacePixelShader.c_str());
		// The base takes any layout answer as made; a shader without one cannot draw.
		myIsLoaded = myInputLayout.Get() != nullptr;
		return myIsLoaded;
	}

	bool ModelShader::Init()
	{
		return Init("shaders/model_shader_VS", "shaders/model_shader_PS");
	}

	bool ModelShader::CreateInputLayout(const std::string& aBytecode)
	{
		myInputLayout.Reset();
		DX11::ourDevice->CreateInputLayout(MODEL_LAYOUT, static_cast<UINT>(std::size(MODEL_LAYOUT)), aBytecode.data(), aBytecode.size(), myInputLayout.GetAddressOf());
		return true; // never the base's default layout; Init checks the result
	}

	bool ModelShader::MayShow(const MeshData& aMesh, const ViewVolume& aVolume)
	{
		return aMesh.myBounds.myRadius <= 0.0f || aVolume.MayShow(aMesh.myBounds.myCenter, aMesh.myBounds.myRadius);
	}

	void ModelShader::Render(Texture* const (&aTextures)[MODEL_TEXTURE_KIND_COUNT], const MeshData& aMesh, const Matrix4x4& aWorld,
		const Matrix4x4* aBones, const Vector4<float>& aColor, const Vector4<float>& aColorAdjust)
	{
		ID3D11DeviceContext* someContext = DX11::ourContext;
		if (!someContext)
			return;
		const GraphicsStateStack* someStack = GraphicsEngine::GetStateStack();
		const Matrix4x4 someWorld = someStack ? aWorld * someStack->GetTop().myTransform : aWorld;
		// Skinned meshes move away from their bind-pose bounds: always drawn.
		if (!aBones && someStack && !MayShow(aMesh, ViewVolume::ForMesh(someWorld, someStack->GetTop().myCamera)))
			return;
		ID3D11ShaderResourceView* someViews[MODEL_TEXTURE_KIND_COUNT] = {};
		bool isDefaultSurface = true; // normal, material and effects all the defaults
		for (std::uint32_t i = 0; i < MODEL_TEXTURE_KIND_COUNT; ++i)
		{
			const Texture* someTexture = aTextures[i] ? aTextures[i] : myDefaultTextures[i];
			someViews[i] = someTexture ? someTexture->myView.Get() : nullptr;
			if (i != MODEL_TEXTURE_COLOR)
				isDefaultSurface = isDefaultSurface && someTexture == myDefaultTextures[i] && someTexture && !someTexture->myIsFailed;
		}
		someContext->PSSetShaderResources(FIRST_TEXTURE_SLOT, MODEL_TEXTURE_KIND_COUNT, someViews);
		myPixelShader = myLitPixelShader;
		if (myAmbientPixelShader && someStack && IsAmbientOnly(*someStack))
			myPixelShader = isDefaultSurface && myDefaultSurfacePixelShader ? myDefaultSurfacePixelShader : myAmbientPixelShader;
		if (!IsLoaded() || !aMesh.myVertexBuffer || !aMesh.myIndexBuffer || !PrepareRender())
			return;

		D3D11_MAPPED_SUBRESOURCE someMapped;
		// A static mesh has no bones: its shader reads none, and the 8 KB stay unsent.
		if (aBones)
		{
			if (FAILED(someContext->Map(myBoneBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped)))
				return;
			std::memcpy(someMapped.pData, aBones, BONE_BUFFER_BYTES);
			someContext->Unmap(myBoneBuffer.Get(), 0);
			ID3D11Buffer* const someBones[] = { myBoneBuffer.Get() };
			someContext->VSSetConstantBuffers(BONE_BUFFER_SLOT, 1, someBones);
		}

		if (FAILED(someContext->Map(myObjectBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped)))
			return;
		const ObjectConstants someObject{ someWorld, aColor, aColorAdjust };
		std::memcpy(someMapped.pData, &someObject, sizeof(someObject));
		someContext->Unmap(myObjectBuffer.Get(), 0);
		ID3D11Buffer* const someObjectBuffer[] = { myObjectBuffer.Get() };
		someContext->VSSetConstantBuffers(OBJECT_BUFFER_SLOT, 1, someObjectBuffer);
		someContext->PSSetConstantBuffers(OBJECT_BUFFER_SLOT, 1, someObjectBuffer);

		someContext->IASetIndexBuffer(aMesh.myIndexBuffer.Get(), DXGI_FORMAT_R32_UINT, 0);
		ID3D11Buffer* const someVertexBuffer[] = { aMesh.myVertexBuffer.Get() };
		const UINT someStride = static_cast<UINT>(aMesh.myStride);
		const UINT someOffset = 0;
		someContext->IASetVertexBuffers(0, 1, someVertexBuffer, &someStride, &someOffset);
		DrawCalls::Count();
		someContext->DrawIndexed(aMesh.myIndexCount, 0, 0);
	}
}
