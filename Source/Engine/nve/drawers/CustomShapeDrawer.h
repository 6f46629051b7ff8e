#pragma once
// The resources of a coloured, textured triangle drawer: a large dynamic vertex
// buffer (position, colour, texture coordinate) and a small constant buffer.
#include "graphics/Shader.h"

#include <cstdint>

namespace Norv
{
	class CustomShapeDrawer : public Shader
	{
	public:
		static constexpr std::uint32_t MAX_VERTEX_COUNT = 69984;
		static constexpr UINT VERTEX_BYTES = 36;
		static constexpr UINT CONSTANT_BUFFER_BYTES = 64;

		~CustomShapeDrawer() override;
		// False only when the constant buffer cannot be made.
		bool Init() override;

		std::uint32_t GetMaxVertexCount() const { return myMaxVertexCount; }

	protected:
		bool CreateInputLayout(const std::string& aBytecode) override;

	private:
		Microsoft::WRL::ComPtr<ID3D11Buffer> myVertexBuffer;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myConstantBuffer;
		std::uint32_t myMaxVertexCount = 0;
	};
}
