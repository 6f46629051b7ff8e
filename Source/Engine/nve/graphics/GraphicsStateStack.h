#pragma once
// The one place fixed-function GPU state, the camera, the lights and the model
// transform are decided: callers push a copy of the top state, change it, draw
// and pop. UpdateGpuStates sends only what differs from the state last applied.
#include "graphics/RenderState.h"
#include "d3d11/d3d11.h"

#include <array>
#include <vector>

namespace Norv
{
	class GraphicsStateStack
	{
	public:
		static constexpr unsigned SAMPLER_COUNT = SamplerFilters::COUNT * SamplerAddresses::COUNT;
		// Pixel-shader sampler slots 0..3 get the chosen sampler and the table entries after it.
		static constexpr unsigned BOUND_SAMPLER_SLOTS = 4;

		// Tables, constant buffers and one default state; false when any creation fails.
		bool Init();
		// Writes the frame constants and resets the one state left to the default.
		void BeginFrame();
		// The top state becomes the default (a full reset also restarts the versions);
		// then everything is sent to the GPU.
		void ResetToDefault(bool aFull);
		void Push();
		void Pop();

		Matrix4x4& GetTransform() { return myRenderStateStack.back().myTransform; }
		// Moves the origin by aOffset in the current local frame.
		void Translate(const Vector3<float>& anOffset);
		void Scale(float aScale);
		void SetCamera(const Camera& aCamera);
		void SetSamplerState(unsigned aFilter, unsigned anAddress);
		// One of DepthStates for the top state.
		void SetDepthState(std::uint32_t aState) { myRenderStateStack.back().myDepthState = aState; }
		// Lights of the top state (each call is a new lights version). A point-light
		// count above MAX_POINT_LIGHTS keeps the first MAX_POINT_LIGHTS.
		void SetDirectionalLight(const Matrix4x4& aTransform, const Color& aColor, float anIntensity);
		void SetAmbientColor(const Color& aColor);
		void SetPointLights(const PointLight* someLights, std::uint32_t aCount);
		// Sends what differs from the state last applied; aForce sends everything.
		void UpdateGpuStates(bool aForce);

		const RenderState& GetTop() const { return myRenderStateStack.back(); }
		// The environment map of mode 0; a placeholder when its file could not be loaded.
		const Texture* GetWhiteCubeMap() const { return myWhiteCubeMap; }
		std::size_t GetStackSize() const { return myRenderStateStack.size(); }

	private:
		bool CreateStates();
		bool CreateConstantBuffers();
		bool WriteObjectData(const RenderState& aState);
		bool WriteCamera(const RenderState& aState);
		bool WriteLights(const RenderState& aState);
		void BindSamplers(const RenderState& aState);
		void BindEnvironmentTexture(const RenderState& aState);

		RenderState myAppliedState;
		std::vector<RenderState> myRenderStateStack;
		std::uint32_t myObjectDataVersion = 0;
		std::uint32_t myLightsVersion = 0;
		std::uint32_t myCameraVersion = 0;
		std::array<Microsoft::WRL::ComPtr<ID3D11SamplerState>, SAMPLER_COUNT> mySamplerStates;
		std::array<Microsoft::WRL::ComPtr<ID3D11DepthStencilState>, DepthStates::COUNT> myDepthStates;
		std::array<Microsoft::WRL::ComPtr<ID3D11RasterizerState>, RasterizerStates::COUNT> myRasterizerStates;
		std::array<Microsoft::WRL::ComPtr<ID3D11BlendState>, BlendStates::COUNT> myBlendStates;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myObjectDataBuffer;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myFrameBuffer;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myCameraBuffer;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myLightsBuffer;
		Texture* myWhiteCubeMap = nullptr;
		Texture* myHorizonCubeMap = nullptr;
	};
}
