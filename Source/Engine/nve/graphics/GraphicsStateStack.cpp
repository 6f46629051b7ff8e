#include "graphics/GraphicsStateStack.h"

#include "debug/Assert.h"
#include "engine/Engine.h"
#include "graphics/DX11.h"
#include "graphics/Texture.h"
#include "graphics/TextureManager.h"

#include <algorithm>
#include <cfloat>
#include <cstring>

namespace Norv
{
	namespace
	{
		// ---------------------------------------------------------------------
		// Constant-buffer layouts (std140, as the shaders declare them)
		// ---------------------------------------------------------------------

		struct FrameConstants
		{
			float myWidth, myHeight, myTotalTime, myDeltaTime;
		};
		static_assert(sizeof(FrameConstants) == 16);

		struct CameraConstants
		{
			Matrix4x4 myView;
			Matrix4x4 myTransform;
			Matrix4x4 myProjection;
			Matrix4x4 myInverseProjection;
			float myNearPlane, myFarPlane, myPadding[2];
		};
		static_assert(sizeof(CameraConstants) == 272);

		struct PointLightConstants
		{
			float myPosition[3], myPadding;
			float myColor[4];
			float myRange, myIntensity, myPadding2[2];
		};
		struct LightConstants
		{
			PointLightConstants myPointLights[RenderState::MAX_POINT_LIGHTS];
			std::int32_t myPointLightCount;
			float myDirectionalIntensity, myPadding[2];
			float myAmbientColor[4];
			float myDirectionalColor[4];
			Matrix4x4 myDirectionalTransform;
		};
		static_assert(sizeof(LightConstants) == 496);

		struct ObjectConstants
		{
			Vector4<float> myVector;
			std::uint32_t myWord, myPadding[3];
		};
		static_assert(sizeof(ObjectConstants) == 32);

		enum ConstantBufferSlot : UINT { FRAME_SLOT = 0, CAMERA_SLOT = 1, LIGHTS_SLOT = 2, OBJECT_SLOT = 3 };
		constexpr UINT ENVIRONMENT_TEXTURE_SLOT = 0;
		constexpr float MAX_ANISOTROPY = 16.0f;

		void CopyColor(float aTarget[4], const Color& aColor)
		{
			aTarget[0] = aColor.r;
			aTarget[1] = aColor.g;
			aTarget[2] = aColor.b;
			aTarget[3] = aColor.a;
		}

		// The inverse of a rotation-and-translation transform.
		Matrix4x4 ViewFromTransform(const Matrix4x4& aTransform)
		{
			Matrix4x4 someView;
			for (int someRow = 1; someRow <= 3; ++someRow)
				for (int someColumn = 1; someColumn <= 3; ++someColumn)
					someView(someRow, someColumn) = aTransform(someColumn, someRow);
			const Vector3<float> someTranslation = aTransform.GetTranslation();
			for (int someAxis = 1; someAxis <= 3; ++someAxis)
				someView(4, someAxis) = -(someTranslation.x * aTransform(someAxis, 1) + someTranslation.y * aTransform(someAxis, 2) + someTranslation.z * aTransform(someAxis, 3));
			return someView;
		}

		// Maps aBuffer for a whole rewrite, copies aData, unmaps.
		template <typename T>
		bool WriteBuffer(ID3D11Buffer* aBuffer, const T& aData)
		{
			D3D11_MAPPED_SUBRESOURCE someMapped;
			if (FAILED(DX11::ourContext->Map(aBuffer, 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped)))
				return false;
			std::memcpy(someMapped.pData, &aData, sizeof(T));
			DX11::ourContext->Unmap(aBuffer, 0);
			return true;
		}

		Vector2<unsigned int> GetBackBufferSize()
		{
			return DX11::ourBackBuffer ? DX11::ourBackBuffer->GetSize() : Vector2<unsigned int>{ 0, 0 };
		}
	}

	// -------------------------------------------------------------------------
	// Set-up
	// -------------------------------------------------------------------------

	bool GraphicsStateStack::Init()
	{
		if (!DX11::ourDevice || !CreateStates() || !CreateConstantBuffers())
			return false;
		// The built-in environment maps; a missing file gives the manager's placeholder.
		TextureManager* someManager = TextureManager::GetCurrent();
		myWhiteCubeMap = someManager ? someManager->GetTexture("Textures/whiteCubeMap.dds", TEXTURE_MODE_FORCE_SRGB) : nullptr;
		myHorizonCubeMap = someManager ? someManager->GetTexture("Textures/horizonCubeMap.dds", TEXTURE_MODE_FORCE_SRGB) : nullptr;
		myRenderStateStack.assign(1, RenderState());
		ResetToDefault(true);
		return true;
	}

	bool GraphicsStateStack::CreateStates()
	{
		ID3D11Device* someDevice = DX11::ourDevice;
		constexpr D3D11_FILTER FILTERS[SamplerFilters::COUNT] = { D3D11_FILTER_MIN_MAG_MIP_POINT, D3D11_FILTER_MIN_MAG_MIP_LINEAR, D3D11_FILTER_ANISOTROPIC };
		constexpr D3D11_TEXTURE_ADDRESS_MODE ADDRESSES[SamplerAddresses::COUNT] = { D3D11_TEXTURE_ADDRESS_CLAMP, D3D11_TEXTURE_ADDRESS_WRAP, D3D11_TEXTURE_ADDRESS_MIRROR };
		for (unsigned someFilter = 0; someFilter < SamplerFilters::COUNT; ++someFilter)
		{
			for (unsigned someAddress = 0; someAddress < SamplerAddresses::COUNT; ++someAddress)
			{
				const D3D11_TEXTURE_ADDRESS_MODE someMode = ADDRESSES[someAddress];
				const D3D11_SAMPLER_DESC someDesc{ FILTERS[someFilter], someMode, someMode, someMode, 0.0f, static_cast<UINT>(MAX_ANISOTROPY),
					D3D11_COMPARISON_ALWAYS, { 0.0f, 0.0f, 0.0f, 0.0f }, 0.0f, FLT_MAX };
				if (FAILED(someDevice->CreateSamplerState(&someDesc, mySamplerStates[someFilter * SamplerAddresses::COUNT + someAddress].GetAddressOf())))
					return false;
			}
		}

		const D3D11_DEPTH_STENCIL_DESC DEPTHS[DepthStates::COUNT] = {
			{ TRUE, D3D11_DEPTH_WRITE_MASK_ALL, D3D11_COMPARISON_LESS, FALSE },
			{ TRUE, D3D11_DEPTH_WRITE_MASK_ALL, D3D11_COMPARISON_LESS_EQUAL, FALSE },
			{ TRUE, D3D11_DEPTH_WRITE_MASK_ZERO, D3D11_COMPARISON_LESS, FALSE },
			{ TRUE, D3D11_DEPTH_WRITE_MASK_ZERO, D3D11_COMPARISON_LESS_EQUAL, FALSE } };
		for (unsigned i = 0; i < DepthStates::COUNT; ++i)
			if (FAILED(someDevice->CreateDepthStencilState(&DEPTHS[i], myDepthStates[i].GetAddressOf())))
				return false;

		// Index 0 stays empty: the device's own default.
		const D3D11_RASTERIZER_DESC RASTERIZERS[RasterizerStates::COUNT - 1] = {
			{ D3D11_FILL_SOLID, D3D11_CULL_NONE, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, TRUE, FALSE },
			{ D3D11_FILL_WIREFRAME, D3D11_CULL_BACK, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, FALSE, FALSE },
			{ D3D11_FILL_WIREFRAME, D3D11_CULL_NONE, FALSE, 0, 0.0f, 0.0f, TRUE, FALSE, FALSE, FALSE } };
		for (unsigned i = 1; i < RasterizerStates::COUNT; ++i)
			if (FAILED(someDevice->CreateRasterizerState(&RASTERIZERS[i - 1], myRasterizerStates[i].GetAddressOf())))
				return false;

		D3D11_BLEND_DESC someBlend{};
		someBlend.RenderTarget[0] = { FALSE, D3D11_BLEND_ONE, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, D3D11_BLEND_ONE, D3D11_BLEND_ZERO, D3D11_BLEND_OP_ADD, D3D11_COLOR_WRITE_ENABLE_ALL };
		if (FAILED(someDevice->CreateBlendState(&someBlend, myBlendStates[BlendStates::OPAQUE].GetAddressOf())))
			return false;
		someBlend.RenderTarget[0] = { TRUE, D3D11_BLEND_SRC_ALPHA, D3D11_BLEND_INV_SRC_ALPHA, D3D11_BLEND_OP_ADD, D3D11_BLEND_ONE, D3D11_BLEND_ONE, D3D11_BLEND_OP_MAX, D3D11_COLOR_WRITE_ENABLE_ALL };
		if (FAILED(someDevice->CreateBlendState(&someBlend, myBlendStates[BlendStates::ALPHA_BLEND].GetAddressOf())))
			return false;
		someBlend.RenderTarget[0].DestBlend = D3D11_BLEND_ONE;
		return SUCCEEDED(someDevice->CreateBlendState(&someBlend, myBlendStates[BlendStates::ADDITIVE].GetAddressOf()));
	}

	bool GraphicsStateStack::CreateConstantBuffers()
	{
		const auto Create = [](UINT aSize, Microsoft::WRL::ComPtr<ID3D11Buffer>& aBuffer) {
			const D3D11_BUFFER_DESC someDesc{ aSize, D3D11_USAGE_DYNAMIC, D3D11_BIND_CONSTANT_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
			return SUCCEEDED(DX11::ourDevice->CreateBuffer(&someDesc, nullptr, aBuffer.ReleaseAndGetAddressOf()));
		};
		return Create(sizeof(ObjectConstants), myObjectDataBuffer) && Create(sizeof(FrameConstants), myFrameBuffer)
			&& Create(sizeof(CameraConstants), myCameraBuffer) && Create(sizeof(LightConstants), myLightsBuffer);
	}

	// -------------------------------------------------------------------------
	// Frame and stack
	// -------------------------------------------------------------------------

	void GraphicsStateStack::BeginFrame()
	{
		NV_ASSERT(myRenderStateStack.size() == 1);
		const Vector2<unsigned int> someSize = GetBackBufferSize();
		const Engine* someEngine = Engine::GetInstance();
		const FrameConstants someFrame{ static_cast<float>(someSize.x), static_cast<float>(someSize.y),
			someEngine ? someEngine->GetTotalTime() : 0.0f, someEngine ? someEngine->GetDeltaTime() : 0.0f };
		WriteBuffer(myFrameBuffer.Get(), someFrame);
		ResetToDefault(true);
	}

	void GraphicsStateStack::ResetToDefault(bool aFull)
	{
		RenderState& someTop = myRenderStateStack.back();
		RenderState someDefault;
		if (aFull)
		{
			myObjectDataVersion = 0;
			myLightsVersion = 0;
			myCameraVersion = 0;
		}
		else
		{
			someDefault.myObjectDataVersion = someTop.myObjectDataVersion;
			someDefault.myLightsVersion = someTop.myLightsVersion;
			someDefault.myCameraVersion = someTop.myCameraVersion;
		}
		// A pixel-space camera with y growing upward.
		const Vector2<unsigned int> someSize = GetBackBufferSize();
		someDefault.myCamera.SetOrthographicProjection(0.0f, static_cast<float>(std::max(someSize.x, 1u)), 0.0f, static_cast<float>(std::max(someSize.y, 1u)), -1.0f, 1.0f);
		someTop = someDefault;
		UpdateGpuStates(aFull);
	}

	void GraphicsStateStack::Push()
	{
		myRenderStateStack.push_back(myRenderStateStack.back());
	}

	void GraphicsStateStack::Pop()
	{
		NV_ASSERT(myRenderStateStack.size() > 1);
		if (myRenderStateStack.size() > 1)
			myRenderStateStack.pop_back();
	}

	void GraphicsStateStack::Translate(const Vector3<float>& anOffset)
	{
		Matrix4x4& someTransform = GetTransform();
		for (int someColumn = 1; someColumn <= 4; ++someColumn)
			someTransform(4, someColumn) += anOffset.x * someTransform(1, someColumn) + anOffset.y * someTransform(2, someColumn) + anOffset.z * someTransform(3, someColumn);
	}

	void GraphicsStateStack::Scale(float aScale)
	{
		Matrix4x4& someTransform = GetTransform();
		for (int someRow = 1; someRow <= 3; ++someRow)
			for (int someColumn = 1; someColumn <= 4; ++someColumn)
				someTransform(someRow, someColumn) *= aScale;
	}

	void GraphicsStateStack::SetCamera(const Camera& aCamera)
	{
		RenderState& someTop = myRenderStateStack.back();
		someTop.myCameraVersion = ++myCameraVersion;
		someTop.myCamera = aCamera;
	}

	void GraphicsStateStack::SetDirectionalLight(const Matrix4x4& aTransform, const Color& aColor, float anIntensity)
	{
		RenderState& someTop = myRenderStateStack.back();
		someTop.myLightsVersion = ++myLightsVersion;
		someTop.myDirectionalLightTransform = aTransform;
		someTop.myDirectionalLightColor = aColor;
		someTop.myDirectionalLightIntensity = anIntensity;
	}

	void GraphicsStateStack::SetAmbientColor(const Color& aColor)
	{
		RenderState& someTop = myRenderStateStack.back();
		someTop.myLightsVersion = ++myLightsVersion;
		someTop.myAmbientColor = aColor;
	}

	void GraphicsStateStack::SetPointLights(const PointLight* someLights, std::uint32_t aCount)
	{
		RenderState& someTop = myRenderStateStack.back();
		someTop.myLightsVersion = ++myLightsVersion;
		someTop.myPointLightCount = std::min(aCount, RenderState::MAX_POINT_LIGHTS);
		for (std::uint32_t i = 0; i < someTop.myPointLightCount; ++i)
			someTop.myPointLights[i] = someLights[i];
	}

	void GraphicsStateStack::SetSamplerState(unsigned aFilter, unsigned anAddress)
	{
		NV_ASSERT(aFilter < SamplerFilters::COUNT && anAddress < SamplerAddresses::COUNT);
		RenderState& someTop = myRenderStateStack.back();
		someTop.mySamplerFilter = std::min(aFilter, SamplerFilters::COUNT - 1);
		someTop.mySamplerAddress = std::min(anAddress, SamplerAddresses::COUNT - 1);
	}

	// -------------------------------------------------------------------------
	// Sending state to the GPU
	// -------------------------------------------------------------------------

	void GraphicsStateStack::UpdateGpuStates(bool aForce)
	{
		ID3D11DeviceContext* someContext = DX11::ourContext;
		if (!someContext || myRenderStateStack.empty())
			return;
		const RenderState& someTop = myRenderStateStack.back();
		const RenderState& someApplied = myAppliedState;
		// A forced update sends everything: after ClearState (a resize) nothing
		// the applied state remembers is on the GPU any more.
		if (aForce || someTop.myBlendState != someApplied.myBlendState)
			someContext->OMSetBlendState(myBlendStates[std::min(someTop.myBlendState, BlendStates::COUNT - 1)].Get(), nullptr, 0xffffffff);
		if (aForce || someTop.myDepthState != someApplied.myDepthState)
			someContext->OMSetDepthStencilState(myDepthStates[std::min(someTop.myDepthState, DepthStates::COUNT - 1)].Get(), 0);
		if (aForce || someTop.myRasterizerState != someApplied.myRasterizerState)
			someContext->RSSetState(myRasterizerStates[std::min(someTop.myRasterizerState, RasterizerStates::COUNT - 1)].Get());
		if (aForce || someTop.mySamplerFilter != someApplied.mySamplerFilter || someTop.mySamplerAddress != someApplied.mySamplerAddress)
			BindSamplers(someTop);
		if ((aForce || someTop.myObjectDataVersion != someApplied.myObjectDataVersion) && !WriteObjectData(someTop))
			return;
		if ((aForce || someTop.myCameraVersion != someApplied.myCameraVersion) && !WriteCamera(someTop))
			return;
		if (aForce || someTop.myLightsVersion != someApplied.myLightsVersion)
		{
			if (!WriteLights(someTop))
				return;
			BindEnvironmentTexture(someTop);
		}
		if (aForce)
		{
			ID3D11Buffer* const someBuffers[] = { myFrameBuffer.Get(), myCameraBuffer.Get(), myLightsBuffer.Get(), myObjectDataBuffer.Get() };
			someContext->VSSetConstantBuffers(FRAME_SLOT, 4, someBuffers);
			someContext->PSSetConstantBuffers(FRAME_SLOT, 4, someBuffers);
		}
		myAppliedState = someTop;
	}

	void GraphicsStateStack::BindSamplers(const RenderState& aState)
	{
		// The chosen sampler and the entries after it, as far as the table goes;
		// slots past its end get none (the device default sampler).
		const unsigned someFirst = aState.mySamplerFilter * SamplerAddresses::COUNT + aState.mySamplerAddress;
		ID3D11SamplerState* someSamplers[BOUND_SAMPLER_SLOTS] = {};
		for (unsigned i = 0; i < BOUND_SAMPLER_SLOTS && someFirst + i < SAMPLER_COUNT; ++i)
			someSamplers[i] = mySamplerStates[someFirst + i].Get();
		DX11::ourContext->PSSetSamplers(0, BOUND_SAMPLER_SLOTS, someSamplers);
	}

	bool GraphicsStateStack::WriteObjectData(const RenderState& aState)
	{
		const ObjectConstants someConstants{ aState.myObjectDataVector, aState.myObjectDataWord, { 0, 0, 0 } };
		return WriteBuffer(myObjectDataBuffer.Get(), someConstants);
	}

	bool GraphicsStateStack::WriteCamera(const RenderState& aState)
	{
		const Camera& someCamera = aState.myCamera;
		const CameraConstants someConstants{ ViewFromTransform(someCamera.myTransform), someCamera.myTransform, someCamera.myProjection,
			Matrix4x4::GetInverse(someCamera.myProjection), someCamera.myNearPlane, someCamera.myFarPlane, { 0.0f, 0.0f } };
		return WriteBuffer(myCameraBuffer.Get(), someConstants);
	}

	bool GraphicsStateStack::WriteLights(const RenderState& aState)
	{
		LightConstants someConstants{};
		// The buffer holds eight lights: a larger count is clamped, never overrun.
		const std::uint32_t someCount = std::min(aState.myPointLightCount, RenderState::MAX_POINT_LIGHTS);
		for (std::uint32_t i = 0; i < someCount; ++i)
		{
			const PointLight& someLight = aState.myPointLights[i];
			PointLightConstants& someTarget = someConstants.myPointLights[i];
			someTarget.myPosition[0] = someLight.myPosition.x;
			someTarget.myPosition[1] = someLight.myPosition.y;
			someTarget.myPosition[2] = someLight.myPosition.z;
			CopyColor(someTarget.myColor, someLight.myColor.AsLinear());
			someTarget.myRange = someLight.myRange;
			someTarget.myIntensity = someLight.myIntensity;
		}
		someConstants.myPointLightCount = static_cast<std::int32_t>(someCount);
		someConstants.myDirectionalIntensity = aState.myDirectionalLightIntensity;
		CopyColor(someConstants.myAmbientColor, aState.myAmbientColor.AsLinear());
		CopyColor(someConstants.myDirectionalColor, aState.myDirectionalLightColor.AsLinear());
		someConstants.myDirectionalTransform = aState.myDirectionalLightTransform;
		return WriteBuffer(myLightsBuffer.Get(), someConstants);
	}

	void GraphicsStateStack::BindEnvironmentTexture(const RenderState& aState)
	{
		const Texture* someTexture = aState.myEnvironmentMapMode == 0 ? myWhiteCubeMap
			: aState.myEnvironmentMapMode == 1 ? myHorizonCubeMap : aState.myEnvironmentTexture;
		ID3D11ShaderResourceView* const someView[] = { someTexture ? someTexture->myView.Get() : nullptr };
		DX11::ourContext->PSSetShaderResources(ENVIRONMENT_TEXTURE_SLOT, 1, someView);
	}
}
