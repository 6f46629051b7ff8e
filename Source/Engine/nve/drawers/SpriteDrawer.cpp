#include "drawers/SpriteDrawer.h"

#include "debug/Assert.h"
#include "engine/DrawCalls.h"
#include "graphics/DX11.h"
#include "graphics/GraphicsEngine.h"
#include "graphics/GraphicsStateStack.h"
#include "graphics/SpriteShader.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace Norv
{
	namespace
	{
		// The GPU instance record: world rows, linear colour, UV rectangle, and the
		// texture area as (left, bottom, right, top).
		struct InstanceRecord
		{
			Matrix4x4 myWorld;
			Color myColor;
			Vector4<float> myUvRect;
			Vector4<float> mySecondRect;
		};
		static_assert(sizeof(InstanceRecord) == SpriteDrawer::INSTANCE_BYTES);

		const Matrix4x4& GetTopTransform()
		{
			static const Matrix4x4 ourIdentity;
			GraphicsStateStack* someStack = GraphicsEngine::GetStateStack();
			return someStack ? someStack->GetTransform() : ourIdentity;
		}
	}

	// -------------------------------------------------------------------------
	// Drawer
	// -------------------------------------------------------------------------

	SpriteDrawer::SpriteDrawer() = default;
	SpriteDrawer::~SpriteDrawer() = default;

	void SpriteDrawer::Init()
	{
		myIsLoaded = false;
		const D3D11_BUFFER_DESC someInstanceDesc{ static_cast<UINT>(BATCH_SIZE) * INSTANCE_BYTES, D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
		if (FAILED(DX11::ourDevice->CreateBuffer(&someInstanceDesc, nullptr, myInstanceBuffer.ReleaseAndGetAddressOf())))
			return;
		myDefaultShader = std::make_unique<SpriteShader>();
		if (!myDefaultShader->Init("shaders/instanced_sprite_shader_VS", "shaders/model_shader_vertex_color_textured_PS"))
			return;

		// Two triangles over x 0..1, y -1..0: the top-left corner at the origin.
		constexpr float CORNERS[QUAD_VERTEX_COUNT][2] = { { 0, -1 }, { 0, 0 }, { 1, -1 }, { 1, 0 }, { 1, -1 }, { 0, 0 } };
		for (std::uint32_t i = 0; i < QUAD_VERTEX_COUNT; ++i)
			myVertices[i] = { { CORNERS[i][0], CORNERS[i][1], 0.0f, 1.0f }, { i, 0, 0, 0 } };
		const D3D11_BUFFER_DESC someVertexDesc{ sizeof(myVertices), D3D11_USAGE_DYNAMIC, D3D11_BIND_VERTEX_BUFFER, D3D11_CPU_ACCESS_WRITE, 0, 0 };
		const D3D11_SUBRESOURCE_DATA someData{ myVertices, 0, 0 };
		myIsLoaded = SUCCEEDED(DX11::ourDevice->CreateBuffer(&someVertexDesc, &someData, myVertexBuffer.ReleaseAndGetAddressOf()));
	}

	SpriteBatchScope SpriteDrawer::BeginBatch(const SpriteSharedData& aSharedData)
	{
		NV_ASSERT(myIsLoaded);
		NV_ASSERT(!myIsInBatch);
		SpriteBatchScope someScope(this);
		if (!myIsLoaded || myIsInBatch)
		{
			// No drawer state to draw with, or another batch owns it: an inert scope.
			someScope.mySpriteDrawer = nullptr;
			return someScope;
		}
		myIsInBatch = true;
		SpriteShader* someShader = aSharedData.myCustomShader ? aSharedData.myCustomShader : myDefaultShader.get();
		someScope.myCanDraw = someShader->PrepareRender(aSharedData);
		ID3D11Buffer* const someBuffers[] = { myVertexBuffer.Get(), myInstanceBuffer.Get() };
		const UINT someStrides[] = { VERTEX_BYTES, INSTANCE_BYTES };
		const UINT someOffsets[] = { 0, 0 };
		DX11::ourContext->IASetVertexBuffers(0, 2, someBuffers, someStrides, someOffsets);
		someScope.MapInstanceBuffer();
		return someScope;
	}

	// -------------------------------------------------------------------------
	// Batch
	// -------------------------------------------------------------------------

	SpriteBatchScope::SpriteBatchScope(SpriteBatchScope&& anOther) noexcept
		: mySpriteDrawer(std::exchange(anOther.mySpriteDrawer, nullptr))
		, myMappedInstances(std::exchange(anOther.myMappedInstances, nullptr))
		, myInstanceCount(std::exchange(anOther.myInstanceCount, 0))
		, myCanDraw(anOther.myCanDraw)
		, myLastColor(anOther.myLastColor)
		, myLastLinearColor(anOther.myLastLinearColor)
	{
	}

	SpriteBatchScope::~SpriteBatchScope()
	{
		if (!mySpriteDrawer)
			return;
		Flush();
		NV_ASSERT(mySpriteDrawer->myIsInBatch);
		mySpriteDrawer->myIsInBatch = false;
		mySpriteDrawer = nullptr;
	}

	void SpriteBatchScope::MapInstanceBuffer()
	{
		NV_ASSERT(mySpriteDrawer);
		NV_ASSERT(myInstanceCount == 0);
		if (!mySpriteDrawer)
			return;
		D3D11_MAPPED_SUBRESOURCE someMapped;
		const bool someIsMapped = SUCCEEDED(DX11::ourContext->Map(mySpriteDrawer->myInstanceBuffer.Get(), 0, D3D11_MAP_WRITE_DISCARD, 0, &someMapped));
		myMappedInstances = someIsMapped ? static_cast<std::byte*>(someMapped.pData) : nullptr;
	}

	void SpriteBatchScope::Flush()
	{
		NV_ASSERT(mySpriteDrawer);
		if (!mySpriteDrawer)
			return;
		// Without a mapping there is nothing written to draw (a failed Map).
		if (myMappedInstances)
		{
			DX11::ourContext->Unmap(mySpriteDrawer->myInstanceBuffer.Get(), 0);
			if (myCanDraw)
			{
				DrawCalls::Count();
				DX11::ourContext->DrawInstanced(SpriteDrawer::QUAD_VERTEX_COUNT, static_cast<UINT>(myInstanceCount), 0, 0);
			}
		}
		myMappedInstances = nullptr;
		myInstanceCount = 0;
	}

	void SpriteBatchScope::Append(const Matrix4x4& aWorld, const Color& aColor, const Vector4<float>& anUvRect, const Vector4<float>& aSecondRect)
	{
		if (myMappedInstances)
		{
			if (!(aColor == myLastColor))
			{
				myLastColor = aColor;
				myLastLinearColor = aColor.AsLinear();
			}
			const InstanceRecord someRecord{ aWorld, myLastLinearColor, anUvRect, { aSecondRect.x, aSecondRect.w, aSecondRect.z, aSecondRect.y } };
			std::memcpy(myMappedInstances + myInstanceCount * SpriteDrawer::INSTANCE_BYTES, &someRecord, sizeof(someRecord));
			++myInstanceCount;
		}
		if (myInstanceCount == SpriteDrawer::BATCH_SIZE)
		{
			Flush();
			MapInstanceBuffer();
		}
	}

	void SpriteBatchScope::DrawMany(const Sprite2DInstanceData* anInstances, std::size_t aCount)
	{
		NV_ASSERT(myInstanceCount < SpriteDrawer::BATCH_SIZE);
		if (!mySpriteDrawer)
			return;
		const Matrix4x4 someTop = GetTopTransform();
		for (std::size_t i = 0; i < aCount; ++i)
		{
			const Sprite2DInstanceData& someSprite = anInstances[i];
			if (someSprite.myIsHidden)
				continue;
			const float someWidth = someSprite.mySize.x * someSprite.mySizeScale.x;
			const float someHeight = someSprite.mySize.y * someSprite.mySizeScale.y;
			const float someCos = std::cos(someSprite.myRotation);
			const float someSin = std::sin(someSprite.myRotation);
			// The local rows (x axis, y axis, z, origin) times the top transform,
			// multiplied out: local row 2 is (0, 0, 1, 0), rows 0 and 1 have no z or w.
			const float someXx = someWidth * someCos, someXy = someWidth * someSin;
			const float someYx = -someHeight * someSin, someYy = someHeight * someCos;
			const float someOx = someSprite.myPosition.x - someSprite.myPivot.x * someXx + someSprite.myPivot.y * someYx;
			const float someOy = someSprite.myPosition.y - someSprite.myPivot.x * someXy + someSprite.myPivot.y * someYy;
			const float* someT = someTop.GetData();
			Matrix4x4 someWorld;
			float* someW = someWorld.GetData();
			for (int i = 0; i < 4; ++i)
			{
				someW[i] = someXx * someT[i] + someXy * someT[4 + i];
				someW[4 + i] = someYx * someT[i] + someYy * someT[4 + i];
				someW[8 + i] = someT[8 + i];
				someW[12 + i] = someOx * someT[i] + someOy * someT[4 + i] + someT[12 + i];
			}
			Append(someWorld, someSprite.myColor, someSprite.myUvRect, someSprite.mySecondRect);
		}
	}

	void SpriteBatchScope::DrawMany(const Sprite3DInstanceData* anInstances, std::size_t aCount)
	{
		NV_ASSERT(myInstanceCount < SpriteDrawer::BATCH_SIZE);
		if (!mySpriteDrawer)
			return;
		const Matrix4x4 someTop = GetTopTransform();
		for (std::size_t i = 0; i < aCount; ++i)
		{
			const Sprite3DInstanceData& someSprite = anInstances[i];
			if (!someSprite.myIsHidden)
				Append(someSprite.myTransform * someTop, someSprite.myColor, someSprite.myUvRect, someSprite.mySecondRect);
		}
	}
}
