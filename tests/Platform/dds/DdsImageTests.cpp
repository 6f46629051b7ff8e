#include "Support/DdsFile.h"
#include "dds/DdsImage.h"

#include <gtest/gtest.h>

#include <random>

using namespace Platform::dds;
using NorvTest::DdsLayout;

namespace
{
	std::vector<std::uint8_t> Bytes(const std::string& aText)
	{
		return { aText.begin(), aText.end() };
	}

	std::string Counting(std::size_t aSize)
	{
		std::string someData(aSize, '\0');
		for (std::size_t someIndex = 0; someIndex < aSize; ++someIndex)
			someData[someIndex] = static_cast<char>(someIndex * 7 + 1);
		return someData;
	}

	struct Read
	{
		bool myOk = false;
		DdsImage myImage;
		std::string myError;
	};

	Read ReadText(const std::string& aFile, DirectX::DDS_LOADER_FLAGS aFlags = DirectX::DDS_LOADER_DEFAULT)
	{
		Read someRead;
		someRead.myOk = ReadDds(Bytes(aFile), aFlags, someRead.myImage, someRead.myError);
		return someRead;
	}
}

TEST(DdsImage, UncompressedMipChainLaysOutEveryLevel)
{
	// 4 x 2 with three levels: 4x2, 2x1, 1x1 pixels of four bytes.
	const std::string someData = Counting((8 + 2 + 1) * 4);
	const Read someRead = ReadText(NorvTest::MakeMaskDds({ 4, 2, 3 }, 32, NorvTest::RGBA_MASKS, someData));
	ASSERT_TRUE(someRead.myOk) << someRead.myError;
	const DdsImage& someImage = someRead.myImage;
	EXPECT_EQ(someImage.myFormat, DXGI_FORMAT_R8G8B8A8_UNORM);
	EXPECT_EQ(someImage.myArraySize, 1u);
	EXPECT_FALSE(someImage.myIsCube);
	ASSERT_EQ(someImage.mySubresources.size(), 3u);
	const std::uint32_t someExpected[3][3] = { { 4, 2, 16 }, { 2, 1, 8 }, { 1, 1, 4 } };
	std::size_t someOffset = 128;
	for (int someLevel = 0; someLevel < 3; ++someLevel)
	{
		const DdsSubresource& someSub = someImage.mySubresources[someLevel];
		EXPECT_EQ(someSub.myWidth, someExpected[someLevel][0]);
		EXPECT_EQ(someSub.myHeight, someExpected[someLevel][1]);
		EXPECT_EQ(someSub.myRowPitch, someExpected[someLevel][2]);
		EXPECT_EQ(someSub.myOffset, someOffset);
		someOffset += someSub.mySize;
	}
	EXPECT_EQ(someOffset, someImage.myBytes.size());
	EXPECT_EQ(someImage.myBytes[someImage.mySubresources[2].myOffset], static_cast<std::uint8_t>(someData[40]));
}

TEST(DdsImage, LegacyPixelFormats)
{
	const std::string someBlock8(8, '\x11');
	const std::string someBlock16(16, '\x22');
	const std::string somePixel(4, '\x33');
	EXPECT_EQ(ReadText(NorvTest::MakeFourCCDds({}, "DXT1", someBlock8)).myImage.myFormat, DXGI_FORMAT_BC1_UNORM);
	EXPECT_EQ(ReadText(NorvTest::MakeFourCCDds({}, "DXT3", someBlock16)).myImage.myFormat, DXGI_FORMAT_BC2_UNORM);
	EXPECT_EQ(ReadText(NorvTest::MakeFourCCDds({}, "DXT5", someBlock16)).myImage.myFormat, DXGI_FORMAT_BC3_UNORM);
	EXPECT_EQ(ReadText(NorvTest::MakeFourCCDds({}, "ATI1", someBlock8)).myImage.myFormat, DXGI_FORMAT_BC4_UNORM);
	EXPECT_EQ(ReadText(NorvTest::MakeFourCCDds({}, "ATI2", someBlock16)).myImage.myFormat, DXGI_FORMAT_BC5_UNORM);
	EXPECT_EQ(ReadText(NorvTest::MakeMaskDds({}, 32, NorvTest::BGRA_MASKS, somePixel)).myImage.myFormat, DXGI_FORMAT_B8G8R8A8_UNORM);
	EXPECT_EQ(ReadText(NorvTest::MakeMaskDds({}, 32, NorvTest::BGRX_MASKS, somePixel)).myImage.myFormat, DXGI_FORMAT_B8G8R8X8_UNORM);

	const Read someUnknownCode = ReadText(NorvTest::MakeFourCCDds({}, "ABCD", someBlock16));
	EXPECT_FALSE(someUnknownCode.myOk);
	EXPECT_EQ(someUnknownCode.myError, "unsupported pixel format");
	EXPECT_FALSE(ReadText(NorvTest::MakeMaskDds({}, 24, { 0xFF0000, 0xFF00, 0xFF, 0 }, "abc")).myOk);
	EXPECT_FALSE(ReadText(NorvTest::MakeMaskDds({}, 32, { 0xFF, 0xFF00, 0xFF0000, 0x0F000000 }, somePixel)).myOk);
}

TEST(DdsImage, BlockCompressedPitchesRoundUpToWholeBlocks)
{
	// 8 x 8 BC1, full chain: 2x2 blocks, then one block for 4x4, 2x2 and 1x1.
	const Read someRead = ReadText(NorvTest::MakeFourCCDds({ 8, 8, 4 }, "DXT1", Counting(32 + 8 + 8 + 8)));
	ASSERT_TRUE(someRead.myOk) << someRead.myError;
	const auto& someSubs = someRead.myImage.mySubresources;
	ASSERT_EQ(someSubs.size(), 4u);
	EXPECT_EQ(someSubs[0].myRowPitch, 16u);
	EXPECT_EQ(someSubs[0].mySize, 32u);
	for (int someLevel = 1; someLevel < 4; ++someLevel)
	{
		EXPECT_EQ(someSubs[someLevel].myRowPitch, 8u);
		EXPECT_EQ(someSubs[someLevel].mySize, 8u);
	}
	EXPECT_EQ(someSubs[3].myWidth, 1u);

	// 5 x 3 BC7: two blocks across, one down.
	const Read someOdd = ReadText(NorvTest::MakeDx10Dds({ 5, 3, 1 }, 98, Counting(32)));
	ASSERT_TRUE(someOdd.myOk) << someOdd.myError;
	EXPECT_EQ(someOdd.myImage.mySubresources[0].myRowPitch, 32u);
	EXPECT_EQ(someOdd.myImage.mySubresources[0].mySize, 32u);
}

TEST(DdsImage, CubeMapsHaveSixFacesOfFullChains)
{
	const std::size_t someFace = 16 + 4; // 2x2 and 1x1 RGBA
	const Read someLegacy = ReadText(NorvTest::MakeMaskDds({ 2, 2, 2, NorvTest::DDS_CUBE_ALL_FACES }, 32, NorvTest::RGBA_MASKS, Counting(6 * someFace)));
	ASSERT_TRUE(someLegacy.myOk) << someLegacy.myError;
	EXPECT_TRUE(someLegacy.myImage.myIsCube);
	EXPECT_EQ(someLegacy.myImage.myArraySize, 6u);
	ASSERT_EQ(someLegacy.myImage.mySubresources.size(), 12u);
	EXPECT_EQ(someLegacy.myImage.mySubresources[2].myOffset, 128 + someFace) << "slice-major: face 1 follows face 0's whole chain";
	EXPECT_EQ(someLegacy.myImage.mySubresources[3].myWidth, 1u);

	const Read someDx10 = ReadText(NorvTest::MakeDx10Dds({ 4, 4, 1 }, 71, Counting(6 * 8), 1, true));
	ASSERT_TRUE(someDx10.myOk) << someDx10.myError;
	EXPECT_TRUE(someDx10.myImage.myIsCube);
	EXPECT_EQ(someDx10.myImage.mySubresources.size(), 6u);

	const Read someFiveFaces = ReadText(NorvTest::MakeMaskDds({ 2, 2, 1, 0x200 | 0x7C00 }, 32, NorvTest::RGBA_MASKS, Counting(6 * 16)));
	EXPECT_FALSE(someFiveFaces.myOk);
	EXPECT_EQ(someFiveFaces.myError, "cube map without all six faces");
	EXPECT_FALSE(ReadText(NorvTest::MakeDx10Dds({ 4, 2, 1 }, 28, Counting(6 * 32), 1, true)).myOk) << "cube faces must be square";
}

TEST(DdsImage, SrgbFlagsSwapFormatsThatHaveBothForms)
{
	const std::string someBc1 = NorvTest::MakeFourCCDds({}, "DXT1", Counting(8));
	EXPECT_EQ(ReadText(someBc1, DirectX::DDS_LOADER_FORCE_SRGB).myImage.myFormat, DXGI_FORMAT_BC1_UNORM_SRGB);
	EXPECT_EQ(ReadText(someBc1, DirectX::DDS_LOADER_IGNORE_SRGB).myImage.myFormat, DXGI_FORMAT_BC1_UNORM);

	const std::string someBc7Srgb = NorvTest::MakeDx10Dds({}, 99, Counting(16));
	EXPECT_EQ(ReadText(someBc7Srgb).myImage.myFormat, DXGI_FORMAT_BC7_UNORM_SRGB);
	EXPECT_EQ(ReadText(someBc7Srgb, DirectX::DDS_LOADER_IGNORE_SRGB).myImage.myFormat, DXGI_FORMAT_BC7_UNORM);

	const std::string someBgrx = NorvTest::MakeMaskDds({}, 32, NorvTest::BGRX_MASKS, Counting(4));
	EXPECT_EQ(ReadText(someBgrx, DirectX::DDS_LOADER_FORCE_SRGB).myImage.myFormat, DXGI_FORMAT_B8G8R8X8_UNORM_SRGB);
	// BC4 and BC5 have no sRGB form.
	EXPECT_EQ(ReadText(NorvTest::MakeFourCCDds({}, "ATI1", Counting(8)), DirectX::DDS_LOADER_FORCE_SRGB).myImage.myFormat, DXGI_FORMAT_BC4_UNORM);
}

TEST(DdsImage, DeclinesWhatItCannotUpload)
{
	const std::pair<std::string, std::string> someCases[] = {
		{ NorvTest::MakeDx10Dds({}, 35, Counting(4)), "unsupported pixel format" }, // R16G16_UNORM
		{ NorvTest::MakeDx10Dds({}, 71, Counting(8), 1, false, 2), "only 2D textures and cube maps are supported" },
		{ NorvTest::MakeDx10Dds({}, 71, Counting(8), 0), "invalid array size" },
		{ NorvTest::MakeFourCCDds({ 4, 4, 1, 0x200000 }, "DXT1", Counting(8)), "volume textures are not supported" },
		{ NorvTest::MakeFourCCDds({ 0, 4, 1 }, "DXT1", Counting(8)), "invalid size 0 x 4" },
		{ NorvTest::MakeFourCCDds({ 16385, 4, 1 }, "DXT1", Counting(8)), "invalid size 16385 x 4" },
		{ NorvTest::MakeFourCCDds({ 4, 4, 4 }, "DXT1", Counting(32)), "invalid mip count 4" },
	};
	for (const auto& [someFile, someReason] : someCases)
	{
		const Read someRead = ReadText(someFile);
		EXPECT_FALSE(someRead.myOk) << someReason;
		EXPECT_EQ(someRead.myError, someReason);
		EXPECT_TRUE(someRead.myImage.myBytes.empty());
	}
}

TEST(DdsImage, TruncatedAndGarbageFilesFailWithAReason)
{
	const std::string someFiles[] = {
		NorvTest::MakeMaskDds({ 4, 4, 3 }, 32, NorvTest::RGBA_MASKS, Counting(4 * (16 + 4 + 1))),
		NorvTest::MakeDx10Dds({ 8, 8, 2 }, 98, Counting(6 * (64 + 16)), 1, true),
	};
	for (const std::string& someFile : someFiles)
	{
		ASSERT_TRUE(ReadText(someFile).myOk);
		for (std::size_t someLength = 0; someLength < someFile.size(); ++someLength)
		{
			const Read someRead = ReadText(someFile.substr(0, someLength));
			EXPECT_FALSE(someRead.myOk) << someLength;
			EXPECT_FALSE(someRead.myError.empty()) << someLength;
		}
	}

	std::mt19937 someRandom(8);
	for (int someTry = 0; someTry < 200; ++someTry)
	{
		std::string someGarbage(std::uniform_int_distribution<int>(0, 300)(someRandom), '\0');
		for (char& someByte : someGarbage)
			someByte = static_cast<char>(someRandom());
		if (someTry % 2)
			someGarbage.replace(0, std::min<std::size_t>(4, someGarbage.size()), "DDS ");
		const Read someRead = ReadText(someGarbage);
		if (someRead.myOk)
		{
			const DdsSubresource& someLast = someRead.myImage.mySubresources.back();
			EXPECT_LE(someLast.myOffset + someLast.mySize, someGarbage.size());
		}
	}
	EXPECT_EQ(ReadText("PNG garbage").myError, "not a DDS file");
}
