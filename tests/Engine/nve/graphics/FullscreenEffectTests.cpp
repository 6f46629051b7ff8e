// The full-screen effects' passes: each pixel shader over a known source.
#include "Support/GraphicsSetUp.h"
#include "graphics/FullscreenEffect.h"
#include "graphics/GraphicsStateStack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace
{
	constexpr UINT SIZE = 32;

	class Effects : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(mySetUp.IsGraphicsReady());
			mySetUp.Graphics().GetGraphicsStateStack()->BeginFrame();
			// Exact texels in, exact values out: point sampling, no blending.
			mySetUp.Graphics().GetGraphicsStateStack()->SetSamplerState(Norv::SamplerFilters::POINT, Norv::SamplerAddresses::CLAMP);
		}

		// A float source of SIZE x SIZE where aValue(x, y) gives every channel but alpha.
		template <typename ValueFunction>
		void SetSource(ValueFunction aValue)
		{
			std::vector<float> someTexels;
			for (UINT y = 0; y < SIZE; ++y)
				for (UINT x = 0; x < SIZE; ++x)
				{
					const float someValue = aValue(x, y);
					someTexels.insert(someTexels.end(), { someValue, someValue, someValue, 1.0f });
				}
			const D3D11_TEXTURE2D_DESC someDesc{ SIZE, SIZE, 1, 1, DXGI_FORMAT_R32G32B32A32_FLOAT, { 1, 0 }, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0 };
			const D3D11_SUBRESOURCE_DATA someData{ someTexels.data(), SIZE * 16, 0 };
			ComPtr<ID3D11Texture2D> someTexture;
			ASSERT_EQ(Norv::DX11::ourDevice->CreateTexture2D(&someDesc, &someData, someTexture.GetAddressOf()), S_OK);
			ASSERT_EQ(Norv::DX11::ourDevice->CreateShaderResourceView(someTexture.Get(), nullptr, mySource.ReleaseAndGetAddressOf()), S_OK);
		}

		// Runs anEffect from the source into the plain back buffer (values as written).
		std::vector<std::uint8_t> Run(Norv::FullscreenEffect& anEffect)
		{
			Norv::DX11::ourPlainBackBuffer->SetAsActiveTarget();
			ID3D11ShaderResourceView* const someView[] = { mySource.Get() };
			Norv::DX11::ourContext->PSSetShaderResources(0, 1, someView);
			anEffect.Render();
			return mySetUp.ReadBackBuffer();
		}

		std::uint8_t RedAt(const std::vector<std::uint8_t>& aBytes, unsigned aX, unsigned aY) const { return mySetUp.PixelAt(aBytes, aX, aY)[0]; }

		NorvTest::GraphicsSetUp mySetUp{ { SIZE, SIZE } };
		ComPtr<ID3D11ShaderResourceView> mySource;
	};
}

TEST_F(Effects, CopyIsExact)
{
	SetSource([](UINT x, UINT y) { return static_cast<float>((x + 2 * y) % 8) / 8.0f; });
	const std::vector<std::uint8_t> someBytes = Run(*mySetUp.Graphics().GetCopyEffect());
	EXPECT_EQ(RedAt(someBytes, 3, 0), 96);
	EXPECT_EQ(RedAt(someBytes, 1, 3), 223);
	EXPECT_EQ(RedAt(someBytes, 0, 31), 191) << "row 0 of the source is the top row";
}

TEST_F(Effects, ToneMapCompressesHighValues)
{
	SetSource([](UINT x, UINT) { return x < SIZE / 2 ? 1.0f : 3.0f; });
	const std::vector<std::uint8_t> someBytes = Run(*mySetUp.Graphics().GetToneMapEffect());
	const int someOne = RedAt(someBytes, 4, 4);
	const int someThree = RedAt(someBytes, 28, 4);
	EXPECT_NEAR(someOne, 205, 2) << "ACES maps 1.0 to about 0.80";
	EXPECT_NEAR(someThree, 243, 2) << "and 3.0 to about 0.95, still below white";
}

TEST_F(Effects, BlursSpreadOnlyAlongTheirAxis)
{
	SetSource([](UINT x, UINT y) { return x == 16 && y == 16 ? 1.0f : 0.0f; });
	const std::vector<std::uint8_t> someVertical = Run(*mySetUp.Graphics().GetVerticalBlurEffect());
	EXPECT_GT(RedAt(someVertical, 16, 18), 0);
	EXPECT_EQ(RedAt(someVertical, 18, 16), 0);
	EXPECT_LT(RedAt(someVertical, 16, 16), 255);
	const std::vector<std::uint8_t> someHorizontal = Run(*mySetUp.Graphics().GetHorizontalBlurEffect());
	EXPECT_GT(RedAt(someHorizontal, 18, 16), 0);
	EXPECT_EQ(RedAt(someHorizontal, 16, 18), 0);
}
