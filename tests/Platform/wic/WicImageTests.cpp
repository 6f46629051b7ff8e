#include "Support/ImageEncoding.h"
#include "Support/TargaFile.h"
#include "wic/WicImage.h"

#include <gtest/gtest.h>

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

TEST(WicImage, TruncatedAndCorruptFilesFailWithAReason)
{
	const std::string someFiles[] = {
		NorvTest::EncodePng(5, 5, NorvTest::PatternPixels(5, 5)),
		NorvTest::EncodeBmp(5, 5, NorvTest::PatternPixels(5, 5)),
		NorvTest::EncodeJpeg(5, 5, NorvTest::PatternPixels(5, 5)),
		ONE_RED_PIXEL_GIF,
	};
	for (const std::string& someFile : someFiles)
	{
		ASSERT_TRUE(Decode(someFile).myOk);
		for (std::size_t someLength = 0; someLength + 1 < someFile.size(); ++someLength)
		{
			const Decoded someResult = Decode(someFile.substr(0, someLength));
			// Decoders that read zeros past the end may succeed; a failure always says why.
			EXPECT_TRUE(someResult.myOk || !someResult.myError.empty());
		}
	}
	// PNG and BMP files missing any of their pixel data are refused.
	for (const std::string& someFile : { someFiles[0], someFiles[1] })
		for (std::size_t someLength = 0; someLength < someFile.size() - 12; ++someLength)
			EXPECT_FALSE(Decode(someFile.substr(0, someLength)).myOk) << someLength;

	// A PNG header promising far more pixels than any texture holds is refused before decoding.
	std::string someHuge = NorvTest::EncodePng(1, 1, { 1, 2, 3, 4 });
	someHuge.replace(16, 8, BigEndian32(60000) + BigEndian32(60000));
	const Decoded someResult = Decode(someHuge);
	EXPECT_FALSE(someResult.myOk);
	EXPECT_FALSE(someResult.myError.empty());
}
