#include "Support/FuzzSeeds.h"
#include "Support/ImageEncoding.h"
#include "Support/TargaFile.h"
#include "wic/WicImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

using namespace Platform::wic;

namespace
{
	struct Decoded
	{
		bool myOk = false;
		WicImage myImage;
		std::string myError;
	};

	Decoded Decode(const std::string& aFile, DirectX::WIC_LOADER_FLAGS aFlags = DirectX::WIC_LOADER_DEFAULT, std::uint32_t aMaxSize = 16384)
	{
		NorvTest::SaveFuzzSeed("image", aFile);
		Decoded someResult;
		someResult.myOk = DecodeImage({ aFile.begin(), aFile.end() }, aMaxSize, aFlags, someResult.myImage, someResult.myError);
		return someResult;
	}

	std::string BigEndian32(std::uint32_t aValue)
	{
		return { static_cast<char>(aValue >> 24), static_cast<char>(aValue >> 16), static_cast<char>(aValue >> 8), static_cast<char>(aValue) };
	}

	// 1 x 1 GIF89a whose one pixel is palette entry 0, red.
	constexpr char ONE_RED_PIXEL_GIF_BYTES[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;";
	const std::string ONE_RED_PIXEL_GIF(ONE_RED_PIXEL_GIF_BYTES, sizeof(ONE_RED_PIXEL_GIF_BYTES) - 1);
}

TEST(WicImage, PngDecodesExactly)
{
	const std::vector<std::uint8_t> somePixels = NorvTest::PatternPixels(3, 2);
	const Decoded someResult = Decode(NorvTest::EncodePng(3, 2, somePixels));
	ASSERT_TRUE(someResult.myOk) << someResult.myError;
	EXPECT_EQ(someResult.myImage.myWidth, 3u);
	EXPECT_EQ(someResult.myImage.myHeight, 2u);
	EXPECT_EQ(someResult.myImage.myPixels, somePixels);
	EXPECT_EQ(someResult.myImage.myFormat, DXGI_FORMAT_R8G8B8A8_UNORM);
}

TEST(WicImage, BmpJpegAndGifDecodeToRgba)
{
	const std::vector<std::uint8_t> somePixels = NorvTest::PatternPixels(4, 4);
	const Decoded someBmp = Decode(NorvTest::EncodeBmp(4, 4, somePixels));
	ASSERT_TRUE(someBmp.myOk) << someBmp.myError;
	EXPECT_EQ(someBmp.myImage.myPixels, somePixels);

	std::vector<std::uint8_t> someFlat(8 * 8 * 4);
	for (std::size_t someIndex = 0; someIndex < someFlat.size(); someIndex += 4)
		someFlat[someIndex] = 200, someFlat[someIndex + 1] = 100, someFlat[someIndex + 2] = 50, someFlat[someIndex + 3] = 255;
	const Decoded someJpeg = Decode(NorvTest::EncodeJpeg(8, 8, someFlat));
	ASSERT_TRUE(someJpeg.myOk) << someJpeg.myError;
	ASSERT_EQ(someJpeg.myImage.myPixels.size(), someFlat.size());
	for (std::size_t someIndex = 0; someIndex < someFlat.size(); ++someIndex)
		EXPECT_NEAR(someJpeg.myImage.myPixels[someIndex], someFlat[someIndex], 3) << someIndex;

	const Decoded someGif = Decode(ONE_RED_PIXEL_GIF);
	ASSERT_TRUE(someGif.myOk) << someGif.myError;
	EXPECT_EQ(someGif.myImage.myPixels, (std::vector<std::uint8_t>{ 255, 0, 0, 255 }));
}

TEST(WicImage, SrgbFromFlagsAndPngChunks)
{
	const std::string somePlain = NorvTest::EncodePng(1, 1, { 1, 2, 3, 4 });
	const std::string someTagged = NorvTest::InsertPngChunk(somePlain, "sRGB", std::string(1, '\0'));
	const std::string someGamma22 = NorvTest::InsertPngChunk(somePlain, "gAMA", BigEndian32(45455));
	const std::string someLinearGamma = NorvTest::InsertPngChunk(somePlain, "gAMA", BigEndian32(100000));

	EXPECT_EQ(Decode(somePlain).myImage.myFormat, DXGI_FORMAT_R8G8B8A8_UNORM);
	EXPECT_EQ(Decode(somePlain, DirectX::WIC_LOADER_FORCE_SRGB).myImage.myFormat, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB);
	EXPECT_EQ(Decode(someTagged).myImage.myFormat, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB);
	EXPECT_EQ(Decode(someTagged, DirectX::WIC_LOADER_IGNORE_SRGB).myImage.myFormat, DXGI_FORMAT_R8G8B8A8_UNORM);
	EXPECT_EQ(Decode(someGamma22).myImage.myFormat, DXGI_FORMAT_R8G8B8A8_UNORM_SRGB);
	EXPECT_EQ(Decode(someLinearGamma).myImage.myFormat, DXGI_FORMAT_R8G8B8A8_UNORM);
	EXPECT_EQ(Decode(someTagged).myImage.myPixels, (std::vector<std::uint8_t>{ 1, 2, 3, 4 }));
}

TEST(WicImage, LargerImagesAreScaledToTheMaximumSize)
{
	const Decoded someWide = Decode(NorvTest::EncodePng(40, 10, NorvTest::PatternPixels(40, 10)), DirectX::WIC_LOADER_DEFAULT, 16);
	ASSERT_TRUE(someWide.myOk) << someWide.myError;
	EXPECT_EQ(someWide.myImage.myWidth, 16u);
	EXPECT_EQ(someWide.myImage.myHeight, 4u);
	EXPECT_EQ(someWide.myImage.myPixels.size(), 16u * 4u * 4u);

	const Decoded someTall = Decode(NorvTest::EncodePng(2, 16385, NorvTest::PatternPixels(2, 16385)));
	ASSERT_TRUE(someTall.myOk) << someTall.myError;
	EXPECT_EQ(someTall.myImage.myWidth, 1u);
	EXPECT_EQ(someTall.myImage.myHeight, 16384u);

	const Decoded someExact = Decode(NorvTest::EncodePng(16, 16, NorvTest::PatternPixels(16, 16)), DirectX::WIC_LOADER_DEFAULT, 16);
	EXPECT_EQ(someExact.myImage.myPixels, NorvTest::PatternPixels(16, 16));
}

TEST(WicImage, DeclinesFormatsOtherLoadersRead)
{
	const std::string someOthers[] = {
		NorvTest::MakeTarga(1, 1, NorvTest::Bgra(1, 2, 3, 4)),
		std::string("8BPS\x00\x01", 6) + std::string(40, '\0'), // Photoshop
		"#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n\x01\x02\x03\x04", // HDR
		"P6\n1 1\n255\n\x01\x02\x03", // PNM
		"",
	};
	for (const std::string& someFile : someOthers)
	{
		const Decoded someResult = Decode(someFile);
		EXPECT_FALSE(someResult.myOk);
		EXPECT_EQ(someResult.myError, "not a PNG, JPEG, BMP or GIF image");
	}
}

TEST(WicImage, TruncatedFilesOfEveryFormatFailWithAReason)
{
	const std::array<std::uint8_t, 12> somePalette = { 255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9 };
	const std::vector<std::uint8_t> someIndices = { 0, 1, 2, 3, 3, 2, 1, 0, 0, 0, 1, 1, 2, 2, 3, 3 };
	const std::string someGif = NorvTest::EncodeGif(4, 4, someIndices, somePalette);
	const Decoded someWhole = Decode(someGif);
	ASSERT_TRUE(someWhole.myOk) << someWhole.myError;
	ASSERT_EQ(someWhole.myImage.myPixels.size(), 64u);
	for (std::size_t somePixel = 0; somePixel < someIndices.size(); ++somePixel)
		EXPECT_EQ(someWhole.myImage.myPixels[somePixel * 4 + 1], somePalette[someIndices[somePixel] * 3 + 1]) << somePixel;

	struct Case
	{
		std::string myFile;
		std::size_t myOptionalTail; // bytes after the pixel data a reader may do without
	};
	const Case someCases[] = {
		{ NorvTest::EncodePng(5, 5, NorvTest::PatternPixels(5, 5)), 12 }, // the end chunk
		{ NorvTest::EncodeBmp(4, 4, NorvTest::PatternPixels(4, 4)), 0 },
		{ NorvTest::EncodeJpeg(5, 5, NorvTest::PatternPixels(5, 5)), 0 },
		{ someGif, 1 }, // the trailer
		{ ONE_RED_PIXEL_GIF, 1 },
	};
	for (const Case& someCase : someCases)
	{
		ASSERT_TRUE(Decode(someCase.myFile).myOk);
		for (std::size_t someLength = 0; someLength + someCase.myOptionalTail < someCase.myFile.size(); ++someLength)
		{
			const Decoded someResult = Decode(someCase.myFile.substr(0, someLength));
			EXPECT_FALSE(someResult.myOk) << someLength << " of " << someCase.myFile.size();
			EXPECT_FALSE(someResult.myError.empty());
			EXPECT_TRUE(someResult.myImage.myPixels.empty());
		}
	}

	// The reason names the format actually read.
	const std::string someJpeg = NorvTest::EncodeJpeg(8, 8, NorvTest::PatternPixels(8, 8));
	const Decoded someCut = Decode(someJpeg.substr(0, someJpeg.size() / 2));
	EXPECT_NE(someCut.myError.find("JPEG"), std::string::npos) << someCut.myError;
	EXPECT_EQ(someCut.myError.find("png"), std::string::npos) << someCut.myError;
}

TEST(WicImage, CorruptHeadersAreRefusedBeforeDecoding)
{
	const auto littleEndian32 = [](std::uint32_t aValue) { return std::string{ static_cast<char>(aValue), static_cast<char>(aValue >> 8), static_cast<char>(aValue >> 16), static_cast<char>(aValue >> 24) }; };

	// A PNG header promising far more pixels than any texture holds.
	std::string someHuge = NorvTest::EncodePng(1, 1, { 1, 2, 3, 4 });
	someHuge.replace(16, 8, BigEndian32(60000) + BigEndian32(60000));
	// A Huffman table declaring more than 256 codes, cut short.
	const std::string someBadHuffman("\xFF\xD8\xFF\xC4\x00\x13\x00\xFF\xFF\xFF\xFF", 11);
	// A 1-bit BMP header claiming 4 x 15,400,964 pixels with 8 bytes of them present.
	std::string someTallBmp = "BM" + littleEndian32(65) + littleEndian32(0) + littleEndian32(62) + littleEndian32(40) + littleEndian32(4) + littleEndian32(15400964)
		+ std::string("\x01\x00\x01\x00", 4) + std::string(24, '\0') + std::string("\x00\x00\x00\x00\xFF\xFF\xFF\x00", 8);
	someTallBmp += std::string(65 - someTallBmp.size(), '\x55');
	// The same with the 12-byte OS/2 header: 4 x 65535.
	std::string someCoreBmp = "BM" + littleEndian32(40) + littleEndian32(0) + littleEndian32(32) + littleEndian32(12) + std::string("\x04\x00\xFF\xFF\x01\x00\x01\x00", 8)
		+ std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
	someCoreBmp += std::string(40 - someCoreBmp.size(), '\x55');
	// A whole GIF whose screen claims 40770 x 5197 around its 1 x 1 frame.
	std::string someWideGif = ONE_RED_PIXEL_GIF;
	someWideGif.replace(6, 4, std::string("\x42\x9F\x4D\x14", 4));
	const std::string someGifHeader = someWideGif.substr(0, 10);

	for (const std::string& someFile : { someHuge, someBadHuffman, someTallBmp, someCoreBmp, someWideGif, someGifHeader })
	{
		const Decoded someResult = Decode(someFile);
		EXPECT_FALSE(someResult.myOk) << someResult.myImage.myWidth << " x " << someResult.myImage.myHeight;
		EXPECT_FALSE(someResult.myError.empty());
	}
}
