#pragma once
// One pair of compiled vertex and pixel shaders (from the DX11 caches) with the
// input layout drawn through them. Base of the sprite, line and shape shaders.
#include "d3d11/d3d11.h"
#include "graphics/DX11.h"

#include <cstdint>
#include <functional>
#include <string>

namespace Norv
{
	class Shader
	{
	public:
		// Builds the layout itself from the vertex shader's bytecode.
		using LayoutCallback = std::function<void(const std::string& aBytecode)>;

		Shader();
		virtual ~Shader();
		Shader(const Shader&) = delete;
		Shader& operator=(const Shader&) = delete;

		// Subclasses that know their shader names override this; the base has none.
		virtual bool Init();
		// False when either shader is missing or the layout cannot be made.
		bool Init(const char* aVertexShaderName, const char* aPixelShaderName, const LayoutCallback& aLayoutCallback = {});
		// Binds the shaders, layout and triangle-list topology, then the state
		// stack's changed states. False (binding nothing) until Init succeeded.
		bool PrepareRender();

		bool IsLoaded() const { return myIsLoaded; }
		std::int32_t GetId() const { return myId; }
		ID3D11InputLayout* GetInputLayout() const { return myInputLayout.Get(); }

	protected:
		// Makes this shader's layout into myInputLayout; false lets Init make the default one.
		virtual bool CreateInputLayout(const std::string& aBytecode);

		DX11::VertexShaderEntry* myVertexShader = nullptr;
		Microsoft::WRL::ComPtr<ID3D11PixelShader>* myPixelShader = nullptr;
		Microsoft::WRL::ComPtr<ID3D11InputLayout> myInputLayout;
		bool myIsLoaded = false;
		std::int32_t myId;
		std::string myVertexShaderName;
		std::string myPixelShaderName;
	};
}
