#pragma once
// One level of the graphics state stack: fixed-function state indices, camera,
// lights and the current model transform. Copied whole on push.
#include "Math/Color.h"
#include "Math/Matrix4x4.h"
#include "Math/Vector.h"
#include "graphics/Camera.h"

#include <array>
#include <cstdint>

namespace Norv
{
	struct Texture;

	// Indices into the state stack's tables.
	namespace BlendStates
	{
		constexpr std::uint32_t OPAQUE = 0;
		constexpr std::uint32_t ALPHA_BLEND = 1;
		constexpr std::uint32_t ADDITIVE = 2;
		constexpr std::uint32_t COUNT = 3;
	}
	namespace DepthStates
	{
		constexpr std::uint32_t LESS = 0;
		constexpr std::uint32_t LESS_EQUAL = 1;
		constexpr std::uint32_t LESS_NO_WRITE = 2;
		constexpr std::uint32_t LESS_EQUAL_NO_WRITE = 3;
		constexpr std::uint32_t COUNT = 4;
	}
	namespace RasterizerStates
	{
		constexpr std::uint32_t DEVICE_DEFAULT = 0;
		constexpr std::uint32_t SOLID_NO_CULLING = 1;
		constexpr std::uint32_t WIREFRAME = 2;
		constexpr std::uint32_t WIREFRAME_NO_CULLING = 3;
		constexpr std::uint32_t COUNT = 4;
	}
	namespace SamplerFilters
	{
		constexpr std::uint32_t POINT = 0;
		constexpr std::uint32_t LINEAR = 1;
		constexpr std::uint32_t ANISOTROPIC = 2;
		constexpr std::uint32_t COUNT = 3;
	}
	namespace SamplerAddresses
	{
		constexpr std::uint32_t CLAMP = 0;
		constexpr std::uint32_t WRAP = 1;
		constexpr std::uint32_t MIRROR = 2;
		constexpr std::uint32_t COUNT = 3;
	}

	struct PointLight
	{
		Vector3<float> myPosition;
		Color myColor{ 1.0f, 1.0f, 1.0f, 1.0f };
		float myRange = 1000.0f;
		float myIntensity = 0.0f;
	};

	struct RenderState
	{
		static constexpr std::uint32_t MAX_POINT_LIGHTS = 8;

		std::uint32_t myBlendState = BlendStates::ALPHA_BLEND;
		std::uint32_t myDepthState = DepthStates::LESS;
		std::uint32_t myRasterizerState = RasterizerStates::SOLID_NO_CULLING;
		std::uint32_t mySamplerFilter = SamplerFilters::ANISOTROPIC;
		std::uint32_t mySamplerAddress = SamplerAddresses::WRAP;
		std::uint32_t myObjectDataVersion = 0;
		std::uint32_t myObjectDataWord = 0;
		Vector4<float> myObjectDataVector;
		std::uint32_t myLightsVersion = 0;
		std::uint32_t myPointLightCount = 0;
		std::array<PointLight, MAX_POINT_LIGHTS> myPointLights;
		Matrix4x4 myDirectionalLightTransform;
		Color myDirectionalLightColor{ 0.0f, 0.0f, 0.0f, 0.0f };
		float myDirectionalLightIntensity = 0.0f;
		Color myAmbientColor{ 1.0f, 1.0f, 1.0f, 1.0f };
		// 0 the white cube map, 1 the horizon cube map, 2 myEnvironmentTexture.
		std::uint32_t myEnvironmentMapMode = 0;
		float myEnvironmentValue = 1.0f; // not sent to the GPU
		Texture* myEnvironmentTexture = nullptr;
		std::uint32_t myCameraVersion = 0;
		Camera myCamera;
		Matrix4x4 myTransform;
	};
}
