// The image loader on a headless device: mips, sRGB, and how other files fail.
#include "Support/GpuDevice.h"
#include "Support/ImageEncoding.h"
#include "Support/TargaFile.h"
#include "Support/TempFolder.h"
#include "wic/WICTextureLoader.h"

#include <gtest/gtest.h>

using Microsoft::WRL::ComPtr;

namespace
{
	class WICTextureLoader : public ::testing::Test
	{
	protected:
		void SetUp() override { ASSERT_NE(myGpu.Device(), nullptr) << "no headless OpenGL 4.5 device"; }

		HRESULT Load(const std::string& aFile, ID3D11DeviceContext* aContext, DirectX::WIC_LOADER_FLAGS aFlags = DirectX::WIC_LOADER_DEFAULT)
		{
			const std::wstring somePath = myFolder.Write("image.png", aFile).wstring();
			myTexture.Reset();
			myView.Reset();
			return DirectX::CreateWICTextureFromFileEx(myGpu.Device(), aContext, somePath.c_str(), 16384, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0, aFlags,
				myTexture.GetAddressOf(), myView.GetAddressOf());
		}

		D3D11_TEXTURE2D_DESC Desc() const
		{
			D3D11_TEXTURE2D_DESC someDesc{};
			static_cast<ID3D11Texture2D*>(myTexture.Get())->GetDesc(&someDesc);
			return someDesc;
		}

		NorvTest::GpuDevice myGpu;
		NorvTest::TempFolder myFolder;
		ComPtr<ID3D11Resource> myTexture;
		ComPtr<ID3D11ShaderResourceView> myView;
	};
}

TEST_F(WICTextureLoader, WithAContextTheFullMipChainIsGenerated)
{
	std::vector<std::uint8_t> somePixels(8 * 4 * 4);
	for (std::size_t someIndex = 0; someIndex < somePixels.size(); someIndex += 4)
		somePixels[someIndex] = 200, somePixels[someIndex + 1] = 40, somePixels[someIndex + 2] = 10, somePixels[someIndex + 3] = 255;
	ASSERT_EQ(Load(NorvTest::EncodePng(8, 4, somePixels), myGpu.Context()), S_OK);
	ASSERT_TRUE(myView);
	const D3D11_TEXTURE2D_DESC someDesc = Desc();
	EXPECT_EQ(someDesc.Width, 8u);
	EXPECT_EQ(someDesc.Height, 4u);
	EXPECT_EQ(someDesc.MipLevels, 4u);
	EXPECT_EQ(someDesc.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
	EXPECT_EQ(myGpu.ReadBack(static_cast<ID3D11Texture2D*>(myTexture.Get()), 0), somePixels);
	// A flat image stays flat down the chain.
	EXPECT_EQ(myGpu.ReadBack(static_cast<ID3D11Texture2D*>(myTexture.Get()), 3), (std::vector<std::uint8_t>{ 200, 40, 10, 255 }));
}

TEST_F(WICTextureLoader, WithoutAContextOneLevelAndTheSrgbFlag)
{
	const std::vector<std::uint8_t> somePixels = NorvTest::PatternPixels(3, 2);
	ASSERT_EQ(Load(NorvTest::EncodePng(3, 2, somePixels), nullptr, DirectX::WIC_LOADER_FORCE_SRGB), S_OK);
	const D3D11_TEXTURE2D_DESC someDesc = Desc();
	EXPECT_EQ(someDesc.MipLevels, 1u);
	EXPECT_EQ(someDesc.Format, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB);
	EXPECT_EQ(myGpu.ReadBack(static_cast<ID3D11Texture2D*>(myTexture.Get()), 0), somePixels);
}

TEST_F(WICTextureLoader, TargaIsDeclinedQuietlyCorruptImagesWithOneLine)
{
	testing::internal::CaptureStderr();
	EXPECT_EQ(Load(NorvTest::MakeTarga(1, 1, NorvTest::Bgra(1, 2, 3, 4)), myGpu.Context()), WINCODEC_ERR_COMPONENTNOTFOUND);
	EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
	EXPECT_FALSE(myView);

	const std::string somePng = NorvTest::EncodePng(5, 5, NorvTest::PatternPixels(5, 5));
	testing::internal::CaptureStderr();
	EXPECT_EQ(Load(somePng.substr(0, somePng.size() / 2), myGpu.Context()), WINCODEC_ERR_BADIMAGE);
	const std::string someOutput = testing::internal::GetCapturedStderr();
	EXPECT_NE(someOutput.find("image.png"), std::string::npos) << someOutput;
	EXPECT_EQ(std::count(someOutput.begin(), someOutput.end(), '\n'), 1) << someOutput;
	EXPECT_FALSE(myTexture);
}
