// The Direct3D 11 object: adapter choice, start-up, clearing, back-buffer
// targets, the depth buffer and resizing, headless on llvmpipe.
#include "Support/AssertRecorder.h"
#include "Support/GraphicsSetUp.h"
#include "d3d11/TestSeams.h"
#include "drawers/SpriteDrawer.h"
#include "graphics/FullscreenEffect.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <string>

using Microsoft::WRL::ComPtr;

namespace
{
	std::wstring BestAdapterName(std::vector<DXGI_ADAPTER_DESC> anAdapters)
	{
		Platform::SetAdapterListOverride(std::move(anAdapters));
		ComPtr<IDXGIAdapter> someAdapter;
		someAdapter.Attach(Norv::DX11::FindBestAdapter());
		Platform::SetAdapterListOverride({});
		if (!someAdapter)
			return L"<none>";
		DXGI_ADAPTER_DESC someDesc;
		someAdapter->GetDesc(&someDesc);
		return someDesc.Description;
	}

	constexpr SIZE_T MEGABYTE = SIZE_T(1) << 20;
}

TEST(DX11Adapters, NamedAdapterWithMostMemoryWins)
{
	EXPECT_EQ(BestAdapterName({ Platform::MakeAdapterDesc(L"Basic Render", 0), Platform::MakeAdapterDesc(L"NVIDIA GeForce", 4096 * MEGABYTE) }), L"NVIDIA GeForce");
	EXPECT_EQ(BestAdapterName({ Platform::MakeAdapterDesc(L"ATI Radeon A", 2048 * MEGABYTE), Platform::MakeAdapterDesc(L"NVIDIA B", 2048 * MEGABYTE) }), L"ATI Radeon A")
		<< "equal memory keeps the earlier one";
	EXPECT_EQ(BestAdapterName({ Platform::MakeAdapterDesc(L"First", 0), Platform::MakeAdapterDesc(L"Unnamed big", 8192 * MEGABYTE) }), L"First")
		<< "memory counts only for named vendors";
}

TEST(DX11Start, ClearWritesTheColourAsSrgbBytes)
{
	NorvTest::GraphicsSetUp someSetUp;
	ASSERT_TRUE(someSetUp.IsReady());
	someSetUp.DX11().Clear(Norv::Color(3.0f / 255.0f, 0.6f, 176.0f / 255.0f, 1.0f));
	const std::vector<std::uint8_t> someBytes = someSetUp.ReadBackBuffer();
	const auto somePixel = someSetUp.PixelAt(someBytes, 17, 42);
	EXPECT_NEAR(somePixel[0], 3, 1);
	EXPECT_NEAR(somePixel[1], 153, 1);
	EXPECT_NEAR(somePixel[2], 176, 1);
	EXPECT_EQ(somePixel[3], 255);
}

TEST(DX11Start, TargetsCoverTheWholeBackBuffer)
{
	NorvTest::GraphicsSetUp someSetUp({ 1920, 1080 });
	ASSERT_TRUE(someSetUp.IsReady());
	const D3D11_VIEWPORT* someViewport = Norv::DX11::ourBackBuffer->GetViewport();
	ASSERT_NE(someViewport, nullptr);
	EXPECT_FLOAT_EQ(someViewport->Width, 1920.0f);
	EXPECT_FLOAT_EQ(someViewport->Height, 1080.0f);
	EXPECT_EQ(Norv::DX11::ourBackBuffer->GetSize(), (Norv::Vector2<unsigned int>{ 1920, 1080 }));
	EXPECT_EQ(Norv::DX11::ourPlainBackBuffer->GetSize(), (Norv::Vector2<unsigned int>{ 1920, 1080 }));
	EXPECT_EQ(someSetUp.DX11().GetBackBufferSize(), (Norv::Vector2<unsigned int>{ 1920, 1080 }));
	EXPECT_FLOAT_EQ(Norv::DX11::ourDepthBuffer->GetViewport().Width, 1920.0f);
	EXPECT_TRUE(Norv::DX11::IsMainThread());
}

TEST(DX11Start, TheDepthBufferSamplesAsAFloatTexture)
{
	NorvTest::GraphicsSetUp someSetUp({ 64, 32 });
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	Norv::DepthBuffer* someDepth = Norv::DX11::ourDepthBuffer;
	D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc;
	someDepth->GetShaderResourceView()->GetDesc(&someViewDesc);
	EXPECT_EQ(someViewDesc.Format, DXGI_FORMAT_R32_FLOAT);

	someDepth->Clear(0.25f);
	Norv::DX11::ourPlainBackBuffer->SetAsActiveTarget();
	ID3D11ShaderResourceView* const someView[] = { someDepth->GetShaderResourceView() };
	Norv::DX11::ourContext->PSSetShaderResources(0, 1, someView);
	someSetUp.Graphics().GetGraphicsStateStack()->Push();
	someSetUp.Graphics().GetCopyEffect()->Render();
	someSetUp.Graphics().GetGraphicsStateStack()->Pop();
	const auto somePixel = someSetUp.PixelAt(someSetUp.ReadBackBuffer(), 10, 10);
	EXPECT_NEAR(somePixel[0], 64, 1) << "depth 0.25 copied into red through the plain view";
}

TEST(DX11Start, ASecondInstanceAssertsAndLeavesTheLiveOneIntact)
{
	NorvTest::GraphicsSetUp someSetUp;
	ASSERT_TRUE(someSetUp.IsReady());
	ID3D11Device* const someDevice = Norv::DX11::ourDevice;
	ID3D11DeviceContext* const someContext = Norv::DX11::ourContext;
	Norv::RenderTarget* const someBackBuffer = Norv::DX11::ourBackBuffer;
	const std::size_t someCachedShaders = Norv::DX11::GetVertexShaderCount();
	ASSERT_GT(someCachedShaders, 0u);
	NorvTest::AssertRecorder someAsserts;
	{
		Norv::DX11 someSecond;
		EXPECT_FALSE(someSecond.Init(nullptr));
	}
	EXPECT_TRUE(someAsserts.Saw("IsCreated == false"));
	EXPECT_EQ(Norv::DX11::ourDevice, someDevice);
	EXPECT_EQ(Norv::DX11::ourContext, someContext);
	EXPECT_EQ(Norv::DX11::ourBackBuffer, someBackBuffer);
	EXPECT_TRUE(Norv::DX11::IsCreated);
	EXPECT_EQ(Norv::DX11::GetVertexShaderCount(), someCachedShaders);

	someSetUp.DX11().Clear(Norv::Color(0.0f, 1.0f, 0.0f, 1.0f));
	const auto somePixel = someSetUp.PixelAt(someSetUp.ReadBackBuffer(), 1, 1);
	EXPECT_EQ(somePixel[1], 255) << "the live device still draws";
}

TEST(DX11Resize, KeepsTheTargetObjectsWithNewViews)
{
	NorvTest::GraphicsSetUp someSetUp({ 80, 60 });
	ASSERT_TRUE(someSetUp.IsReady());
	Norv::RenderTarget* someTarget = Norv::DX11::ourBackBuffer;
	EXPECT_TRUE(someSetUp.DX11().Resize());
	EXPECT_EQ(Norv::DX11::ourBackBuffer, someTarget);
	EXPECT_FALSE(someTarget->IsEmpty());
	EXPECT_EQ(someSetUp.DX11().GetBackBufferSize(), (Norv::Vector2<unsigned int>{ 80, 60 }));
}

TEST(DX11Resize, AFailedResizeKeepsDrawableTargets)
{
	NorvTest::GraphicsSetUp someSetUp({ 80, 60 });
	ASSERT_TRUE(someSetUp.IsReady());
	ComPtr<ID3D11Texture2D> someOutsideReference;
	ASSERT_EQ(Norv::DX11::ourSwapChain->GetBuffer(0, someOutsideReference.GetAddressOf()), S_OK);
	EXPECT_FALSE(someSetUp.DX11().Resize()) << "the swap chain refuses while its buffer is held";
	ASSERT_NE(Norv::DX11::ourBackBuffer, nullptr);
	EXPECT_FALSE(Norv::DX11::ourBackBuffer->IsEmpty());
	ASSERT_NE(Norv::DX11::ourDepthBuffer, nullptr);
	someSetUp.DX11().Clear(Norv::Color(1.0f, 0.0f, 0.0f, 1.0f));
	someOutsideReference.Reset();
	EXPECT_EQ(someSetUp.PixelAt(someSetUp.ReadBackBuffer(), 0, 0)[0], 255) << "the next frame still clears";
}

TEST(RenderTargets, ADepthBufferIsBoundOnlyWhenGiven)
{
	NorvTest::GraphicsSetUp someSetUp({ 64, 64 });
	ASSERT_TRUE(someSetUp.IsGraphicsReady());
	someSetUp.Graphics().GetGraphicsStateStack()->BeginFrame(); // depth state LESS with writes
	const auto DrawWhiteSquare = [&] {
		Norv::SpriteBatchScope someBatch = someSetUp.Graphics().GetSpriteDrawer()->BeginBatch({});
		Norv::Sprite2DInstanceData someSprite;
		someSprite.myPosition = { 32.0f, 32.0f };
		someSprite.mySize = { 64.0f, 64.0f };
		someBatch.Draw(someSprite);
	};
	const float someBlack[4] = { 0.0f, 0.0f, 0.0f, 1.0f };
	Norv::DX11::ourDepthBuffer->Clear(0.0f);

	Norv::DX11::ourBackBuffer->Clear(someBlack);
	Norv::DX11::ourBackBuffer->SetAsActiveTarget(Norv::DX11::ourDepthBuffer);
	DrawWhiteSquare();
	EXPECT_EQ(someSetUp.PixelAt(someSetUp.ReadBackBuffer(), 32, 32)[0], 0) << "every fragment fails against depth 0";

	Norv::DX11::ourBackBuffer->SetAsActiveTarget();
	DrawWhiteSquare();
	EXPECT_EQ(someSetUp.PixelAt(someSetUp.ReadBackBuffer(), 32, 32)[0], 255) << "without a depth buffer nothing is tested";
}
