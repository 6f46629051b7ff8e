#pragma once
// Batches of coloured 3D line segments, one map and one draw call per batch,
// placed through the state stack's top transform on the CPU.
#include "Math/Vector.h"
#include "graphics/Shader.h"

#include <cstdint>

namespace Norv
{
	struct LineMultiPrimitive
	{
		// One colour per line, taken as it is (no sRGB conversion).
		const Vector4<float>* myColors = nullptr;
		const Vector3<float>* myFromPoints = nullptr;
		const Vector3<float>* myToPoints = nullptr;
		std::uint64_t myCount = 0;
	};

	class LineDrawer : public Shader
	{
	public:
		static constexpr std::uint64_t MAX_LINES = 1000;
		static constexpr UINT VERTEX_BYTES = 36;

		~LineDrawer() override;
		// True whatever the shaders and buffer gave; a drawer without them draws nothing.
		bool Init() override;
		// More than MAX_LINES lines are drawn in several batches.
		void Draw(const LineMultiPrimitive& aObject);

	protected:
		bool CreateInputLayout(const std::string& aBytecode) override;

	private:
		void DrawBatch(const LineMultiPrimitive& aObject, std::uint64_t aFirst, std::uint64_t aCount);

		Microsoft::WRL::ComPtr<ID3D11Buffer> myVertexBuffer;
	};
}
