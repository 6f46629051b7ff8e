#pragma once
// Textured quads by hardware instancing: a batch shares one SpriteSharedData;
// its instances are drawn in chunks of at most BATCH_SIZE, one DrawInstanced
// per chunk, each placed through the state stack's top transform.
#include "d3d11/d3d11.h"
#include "drawers/SpriteData.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace Norv
{
	class SpriteDrawer;
	class SpriteShader;

	// One open batch. Ending the scope draws what is pending and closes the batch.
	class SpriteBatchScope
	{
	public:
		SpriteBatchScope(SpriteBatchScope&& anOther) noexcept;
		SpriteBatchScope& operator=(SpriteBatchScope&&) = delete;
		SpriteBatchScope(const SpriteBatchScope&) = delete;
		SpriteBatchScope& operator=(const SpriteBatchScope&) = delete;
		~SpriteBatchScope();

		void Draw(const Sprite2DInstanceData& anInstance) { DrawMany(&anInstance, 1); }
		void Draw(const Sprite3DInstanceData& anInstance) { DrawMany(&anInstance, 1); }
		void DrawMany(const Sprite2DInstanceData* anInstances, std::size_t aCount);
		void DrawMany(const Sprite3DInstanceData* anInstances, std::size_t aCount);

		// Draws the pending instances (one draw call, even of none).
		void Flush();
		void MapInstanceBuffer();

	private:
		friend class SpriteDrawer;
		explicit SpriteBatchScope(SpriteDrawer* aDrawer) : mySpriteDrawer(aDrawer) {}
		// Writes one instance record; a full chunk is drawn and a new one begun.
		void Append(const Matrix4x4& aWorld, const Color& aColor, const Vector4<float>& anUvRect, const Vector4<float>& aSecondRect);

		SpriteDrawer* mySpriteDrawer = nullptr;
		std::byte* myMappedInstances = nullptr;
		std::uint64_t myInstanceCount = 0;
		// False when the batch's shader could not be prepared: nothing is drawn.
		bool myCanDraw = true;
		// The last tint and its linear form: sprites of a batch mostly share one.
		Color myLastColor;
		Color myLastLinearColor;
	};

	class SpriteDrawer
	{
	public:
		static constexpr std::size_t BATCH_SIZE = 1024;
		static constexpr UINT INSTANCE_BYTES = 112;
		static constexpr UINT VERTEX_BYTES = 32;
		static constexpr UINT QUAD_VERTEX_COUNT = 6;

		SpriteDrawer();
		~SpriteDrawer();
		SpriteDrawer(const SpriteDrawer&) = delete;
		SpriteDrawer& operator=(const SpriteDrawer&) = delete;

		void Init();
		SpriteBatchScope BeginBatch(const SpriteSharedData& aSharedData);

		bool IsLoaded() const { return myIsLoaded; }
		SpriteShader* GetDefaultShader() const { return myDefaultShader.get(); }

	private:
		friend class SpriteBatchScope;

		struct QuadVertex
		{
			float myPosition[4];
			std::uint32_t myIndex[4];
		};
		static_assert(sizeof(QuadVertex) == VERTEX_BYTES);

		Microsoft::WRL::ComPtr<ID3D11Buffer> myVertexBuffer;
		Microsoft::WRL::ComPtr<ID3D11Buffer> myInstanceBuffer;
		QuadVertex myVertices[QUAD_VERTEX_COUNT];
		std::unique_ptr<SpriteShader> myDefaultShader;
		bool myIsLoaded = false;
		bool myIsInBatch = false;
	};
}
