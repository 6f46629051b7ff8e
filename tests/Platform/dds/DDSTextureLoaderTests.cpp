// The DDS loader on a headless device: what reaches the GPU, and how broken files fail.
#include "Support/DdsFile.h"
#include "Support/GpuDevice.h"
#include "Support/TempFolder.h"
#include "dds/DDSTextureLoader.h"
#include "dds/DdsTestSeams.h"

#include <gtest/gtest.h>

using Microsoft::WRL::ComPtr;
using NorvTest::DdsLayout;

namespace
{
	std::string Counting(std::size_t aSize, int aSeed = 1)
	{
		std::string someData(aSize, '\0');
		for (std::size_t someIndex = 0; someIndex < aSize; ++someIndex)
			someData[someIndex] = static_cast<char>(someIndex * 7 + aSeed);
		return someData;
	}

	std::vector<std::uint8_t> Bytes(const std::string& aText, std::size_t aOffset, std::size_t aSize)
	{
		return { aText.begin() + static_cast<std::ptrdiff_t>(aOffset), aText.begin() + static_cast<std::ptrdiff_t>(aOffset + aSize) };
	}

	class DDSTextureLoader : public ::testing::Test
	{
	protected:
		void SetUp() override { ASSERT_NE(myGpu.Device(), nullptr) << "no headless OpenGL 4.5 device"; }

		HRESULT Load(const std::string& aFile, DirectX::DDS_LOADER_FLAGS aFlags = DirectX::DDS_LOADER_DEFAULT)
		{
			const std::wstring somePath = myFolder.Write("texture.dds", aFile).wstring();
			myTexture.Reset();
			myView.Reset();
			return DirectX::CreateDDSTextureFromFileEx(myGpu.Device(), somePath.c_str(), 0, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0, aFlags,
				myTexture.GetAddressOf(), myView.GetAddressOf());
		}

		D3D11_TEXTURE2D_DESC Desc() const
		{
			D3D11_TEXTURE2D_DESC someDesc{};
			static_cast<ID3D11Texture2D*>(myTexture.Get())->GetDesc(&someDesc);
			return someDesc;
		}

		std::vector<std::uint8_t> ReadBack(UINT aSubresource) const
		{
			return myGpu.ReadBack(static_cast<ID3D11Texture2D*>(myTexture.Get()), aSubresource);
		}

		NorvTest::GpuDevice myGpu;
		NorvTest::TempFolder myFolder;
		ComPtr<ID3D11Resource> myTexture;
		ComPtr<ID3D11ShaderResourceView> myView;
	};
}

TEST_F(DDSTextureLoader, UncompressedMipChainReachesEveryLevel)
{
	const std::string someData = Counting(4 * (16 + 4 + 1));
	ASSERT_EQ(Load(NorvTest::MakeMaskDds({ 4, 4, 3 }, 32, NorvTest::BGRA_MASKS, someData)), S_OK);
	ASSERT_TRUE(myView);
	const D3D11_TEXTURE2D_DESC someDesc = Desc();
	EXPECT_EQ(someDesc.Format, DXGI_FORMAT_B8G8R8A8_UNORM);
	EXPECT_EQ(someDesc.MipLevels, 3u);
	EXPECT_EQ(ReadBack(0), Bytes(someData, 0, 64));
	EXPECT_EQ(ReadBack(2), Bytes(someData, 80, 4));

	D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc;
	myView->GetDesc(&someViewDesc);
	EXPECT_EQ(someViewDesc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURE2D);
	EXPECT_EQ(someViewDesc.Texture2D.MipLevels, 3u);
}

TEST_F(DDSTextureLoader, BlockCompressedFormatsUploadCompressed)
{
	const std::string someBlocks = Counting(32 + 8 + 8 + 8);
	ASSERT_EQ(Load(NorvTest::MakeFourCCDds({ 8, 8, 4 }, "DXT1", someBlocks), DirectX::DDS_LOADER_FORCE_SRGB), S_OK);
	EXPECT_EQ(Desc().Format, DXGI_FORMAT_BC1_UNORM_SRGB);
	EXPECT_EQ(ReadBack(0), Bytes(someBlocks, 0, 32));

	const std::string someBc7 = Counting(16 * 4, 3);
	ASSERT_EQ(Load(NorvTest::MakeDx10Dds({ 8, 8, 1 }, DXGI_FORMAT_BC7_UNORM_SRGB, someBc7), DirectX::DDS_LOADER_IGNORE_SRGB), S_OK);
	EXPECT_EQ(Desc().Format, DXGI_FORMAT_BC7_UNORM);
	EXPECT_EQ(ReadBack(0), Bytes(someBc7, 0, someBc7.size()));

	const std::string someBc5 = Counting(16, 5);
	ASSERT_EQ(Load(NorvTest::MakeFourCCDds({ 4, 4, 1 }, "ATI2", someBc5)), S_OK);
	EXPECT_EQ(Desc().Format, DXGI_FORMAT_BC5_UNORM);
	EXPECT_EQ(ReadBack(0), Bytes(someBc5, 0, 16));
}

TEST_F(DDSTextureLoader, S3tcIsDecodedWhenTheDriverLacksIt)
{
	struct OverrideScope
	{
		OverrideScope() { Platform::SetS3tcSupportOverride(false); }
		~OverrideScope() { Platform::SetS3tcSupportOverride(std::nullopt); }
	} someScope;
	// 8 x 4 BC1, two levels: two red blocks across, then one blue block.
	const std::string someRed("\x00\xf8\x00\xf8\0\0\0\0", 8);
	const std::string someBlue("\x1f\x00\x1f\x00\0\0\0\0", 8);
	ASSERT_EQ(Load(NorvTest::MakeFourCCDds({ 8, 4, 2 }, "DXT1", someRed + someRed + someBlue), DirectX::DDS_LOADER_FORCE_SRGB), S_OK);
	const D3D11_TEXTURE2D_DESC someDesc = Desc();
	EXPECT_EQ(someDesc.Format, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB);
	EXPECT_EQ(someDesc.MipLevels, 2u);
	std::vector<std::uint8_t> someRedPixels;
	for (int someIndex = 0; someIndex < 8 * 4; ++someIndex)
		someRedPixels.insert(someRedPixels.end(), { 255, 0, 0, 255 });
	EXPECT_EQ(ReadBack(0), someRedPixels);
	std::vector<std::uint8_t> someBluePixels;
	for (int someIndex = 0; someIndex < 4 * 2; ++someIndex)
		someBluePixels.insert(someBluePixels.end(), { 0, 0, 255, 255 });
	EXPECT_EQ(ReadBack(1), someBluePixels) << "the 4 x 2 level decoded from its one block";

	// Formats beyond S3TC upload compressed all the same.
	ASSERT_EQ(Load(NorvTest::MakeFourCCDds({ 4, 4, 1 }, "ATI1", Counting(8))), S_OK);
	EXPECT_EQ(Desc().Format, DXGI_FORMAT_BC4_UNORM);
}

TEST_F(DDSTextureLoader, CubeMapsGetACubeView)
{
	const std::size_t someFace = 4 * 4 * 4 + 2 * 2 * 4 + 4;
	const std::string someData = Counting(6 * someFace);
	ASSERT_EQ(Load(NorvTest::MakeDx10Dds({ 4, 4, 3 }, DXGI_FORMAT_R8G8B8A8_UNORM, someData, 1, true)), S_OK);
	const D3D11_TEXTURE2D_DESC someDesc = Desc();
	EXPECT_EQ(someDesc.ArraySize, 6u);
	EXPECT_TRUE(someDesc.MiscFlags & D3D11_RESOURCE_MISC_TEXTURECUBE);
	D3D11_SHADER_RESOURCE_VIEW_DESC someViewDesc;
	myView->GetDesc(&someViewDesc);
	EXPECT_EQ(someViewDesc.ViewDimension, D3D11_SRV_DIMENSION_TEXTURECUBE);
	EXPECT_EQ(ReadBack(4 * 3), Bytes(someData, 4 * someFace, 64)) << "face 4, top level";
	EXPECT_EQ(ReadBack(5 * 3 + 1), Bytes(someData, 5 * someFace + 64, 16)) << "face 5, second level";
}

TEST_F(DDSTextureLoader, OtherFilesFailQuietlyBrokenDdsFilesWithOneLine)
{
	testing::internal::CaptureStderr();
	EXPECT_EQ(Load("\x89PNG\r\n\x1a\n not a dds"), E_FAIL);
	EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
	EXPECT_FALSE(myTexture);
	EXPECT_FALSE(myView);

	const std::string someFull = NorvTest::MakeFourCCDds({ 8, 8, 1 }, "DXT5", Counting(64));
	for (const std::string& someBroken : { someFull.substr(0, someFull.size() - 1), someFull.substr(0, 100), NorvTest::MakeDx10Dds({}, 2, Counting(16)) })
	{
		testing::internal::CaptureStderr();
		EXPECT_TRUE(FAILED(Load(someBroken)));
		const std::string someOutput = testing::internal::GetCapturedStderr();
		EXPECT_NE(someOutput.find("texture.dds"), std::string::npos) << someOutput;
		EXPECT_EQ(std::count(someOutput.begin(), someOutput.end(), '\n'), 1) << someOutput;
		EXPECT_FALSE(myView);
	}

	const std::wstring someMissing = (myFolder.Path() / "missing.dds").wstring();
	EXPECT_TRUE(FAILED(DirectX::CreateDDSTextureFromFileEx(myGpu.Device(), someMissing.c_str(), 0, D3D11_USAGE_DEFAULT, D3D11_BIND_SHADER_RESOURCE, 0, 0,
		DirectX::DDS_LOADER_DEFAULT, nullptr, myView.ReleaseAndGetAddressOf())));
}
