#pragma once
// The sprite drawer's shader: the instanced sprite layout, default normal,
// material and effects textures, and a constant buffer of custom values.
#include "graphics/Shader.h"

#include <array>
#include <cstdint>

namespace Norv
{
	struct SpriteSharedData;
	struct Texture;

	class SpriteShader : public Shader
	{
	public:
		static constexpr std::size_t MAX_CUSTOM_CONSTANTS = 8;
		static constexpr UINT CONSTANT_BUFFER_BYTES = 1024;
		static constexpr UINT COLOR_TEXTURE_SLOT = 1;
		static constexpr std::size_t MAX_EXTRA_TEXTURES = 2;

		bool Init(const char* aVertexShaderName, const char* aPixelShaderName);
		// Binds the shader, the batch's four textures (slots 1 to 4) and the
		// custom constants (slot 5). False when the shader is not loaded or the
		// constants cannot be written.
		bool PrepareRender(const SpriteSharedData& aSharedData);

		Texture* GetDefaultNormalTexture() const { return myDefaultNormalTexture; }
		Texture* GetDefaultMaterialTexture() const { return myDefaultMaterialTexture; }
		Texture* GetDefaultEffectsTexture() const { return myDefaultEffectsTexture; }

	protected:
		bool CreateInputLayout(const std::string& aBytecode) override;

	private:
		struct ExtraTexture
		{
			Texture* myTexture = nullptr;
			std::int32_t mySlot = 0;
		};

		Texture* myDefaultNormalTexture = nullptr;
		Texture* myDefaultMaterialTexture = nullptr;
		Texture* myDefaultEffectsTexture = nullptr;
		std::array<std::array<std::uint32_t, 4>, MAX_CUSTOM_CONSTANTS> myCustomConstants{};
		std::int32_t myHighestCustomConstantIndex = -1;
		std::int32_t myExtraTextureCount = 0;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myConstantBuffer;
		std::int32_t myConstantBufferSlot = 5;
		std::array<ExtraTexture, MAX_EXTRA_TEXTURES> myExtraTextures{};
	};
}
