// The art writers on their own: BC3 blocks and DDS files read back by the
// engine's DDS reader, mip halving, cube maps, and the mesh builder's winding
// and palette lookups.
#include "dds/DdsImage.h"
#include "dds/S3tcDecoder.h"
#include "worldart/DdsWriter.h"
#include "worldart/MeshBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using NorvArt::Image;
using NorvArt::Rgba;

namespace
{
	Platform::dds::DdsImage Read(const std::string& aBytes)
	{
		Platform::dds::DdsImage someImage;
		std::string someError;
		EXPECT_TRUE(Platform::dds::ReadDds({ aBytes.begin(), aBytes.end() }, DirectX::DDS_LOADER_DEFAULT, someImage, someError)) << someError;
		return someImage;
	}

	// An image whose alpha climbs left to right and whose colour changes top to bottom.
	Image Gradient(std::uint32_t aWidth, std::uint32_t aHeight)
	{
		Image someImage(aWidth, aHeight);
		for (std::uint32_t y = 0; y < aHeight; ++y)
			for (std::uint32_t x = 0; x < aWidth; ++x)
				someImage.Set(x, y, y < aHeight / 2 ? Rgba{ 0.9f, 0.3f, 0.1f, (x + 1.0f) / aWidth } : Rgba{ 0.1f, 0.4f, 0.9f, (x + 1.0f) / aWidth });
		return someImage;
	}
}

TEST(WorldArtWriters, Bc3SheetsDecodeCloseToWhatWasPaintedAtEveryMipIncludingPartialBlocks)
{
	const Image somePainted = Gradient(6, 10);
	const Platform::dds::DdsImage someImage = Read(NorvArt::WriteBc3Dds(somePainted));
	ASSERT_EQ(someImage.myFormat, DXGI_FORMAT_BC3_UNORM);
	EXPECT_EQ(someImage.myMipCount, 4u); // 10, 5, 2, 1 rows
	const Platform::dds::DdsSubresource& someTop = someImage.mySubresources.at(0);
	const std::vector<std::uint8_t> someRgba = Platform::dds::DecodeS3tc(someImage.myFormat, someImage.myBytes.data() + someTop.myOffset, 6, 10, someTop.myRowPitch);
	for (std::uint32_t y = 0; y < 10; ++y)
		for (std::uint32_t x = 0; x < 6; ++x)
		{
			const Rgba someWant = somePainted.Get(x, y);
			const std::uint8_t* someGot = &someRgba[(y * 6 + x) * 4];
			EXPECT_NEAR(someGot[3], someWant.a * 255, 20) << x << "," << y;
			// Each 4 x 4 block holds at most two colours here, so both come back near exact.
			EXPECT_NEAR(someGot[0], someWant.r * 255, 12) << x << "," << y;
			EXPECT_NEAR(someGot[2], someWant.b * 255, 12) << x << "," << y;
		}
}

TEST(WorldArtWriters, TransparentTexelsDoNotPullABlocksColour)
{
	Image someImage(4, 4);
	someImage.Set(1, 1, { 0.2f, 0.8f, 0.3f, 1.0f }); // one green texel among clear black ones
	const std::array<std::uint8_t, 16> someBlock = NorvArt::EncodeBc3Block(someImage, 0, 0);
	const std::vector<std::uint8_t> someRgba = Platform::dds::DecodeS3tc(DXGI_FORMAT_BC3_UNORM, someBlock.data(), 4, 4, 16);
	EXPECT_NEAR(someRgba[(1 * 4 + 1) * 4 + 1], 204, 6);
	EXPECT_EQ(someRgba[(1 * 4 + 1) * 4 + 3], 255);
	EXPECT_EQ(someRgba[3], 0);
}

TEST(WorldArtWriters, MipsAverageTwoByTwoAndCubesKeepTheirFaceOrder)
{
	Image someQuad(2, 2);
	someQuad.Set(0, 0, { 1, 0, 0, 1 });
	someQuad.Set(1, 1, { 0, 0, 1, 1 });
	const Rgba someMean = NorvArt::HalveImage(someQuad).Get(0, 0);
	EXPECT_NEAR(someMean.r, 0.25f, 0.01f);
	EXPECT_NEAR(someMean.b, 0.25f, 0.01f);
	EXPECT_NEAR(someMean.a, 0.5f, 0.01f);

	std::array<Image, 6> someFaces{ Image(4, 4), Image(4, 4), Image(4, 4), Image(4, 4), Image(4, 4), Image(4, 4) };
	for (int f = 0; f < 6; ++f)
		someFaces[static_cast<size_t>(f)] = Image(4, 4, { f / 5.0f, 0, 0, 1 });
	const Platform::dds::DdsImage someCube = Read(NorvArt::WriteCubeDds(someFaces));
	ASSERT_TRUE(someCube.myIsCube);
	ASSERT_EQ(someCube.myArraySize, 6u);
	EXPECT_EQ(someCube.myMipCount, 3u);
	for (std::uint32_t f = 0; f < 6; ++f)
	{
		const Platform::dds::DdsSubresource& someFace = someCube.mySubresources.at(f * someCube.myMipCount);
		EXPECT_EQ(someCube.myBytes.at(someFace.myOffset + 2), static_cast<std::uint8_t>(std::lround(f / 5.0f * 255))) << "red of face " << f;
	}

	someFaces[3] = Image(4, 2);
	EXPECT_THROW(NorvArt::WriteCubeDds(someFaces), std::invalid_argument);
}

TEST(WorldArtWriters, BuiltSolidsFaceOutwardAndPointAtTheirSwatch)
{
	NorvArt::Palette somePalette;
	somePalette.Add({ 1, 0, 0, 1 });
	const int someGreen = somePalette.Add({ 0, 1, 0, 1 });
	NorvArt::MeshBuilder someBuilder(somePalette);
	someBuilder.SetSwatch(someGreen);
	someBuilder.Box({ 0, 0, 0 }, { 1, 2, 3 });
	someBuilder.Sphere({ 10, 0, 0 }, { 2, 2, 2 }, 6, 4);
	someBuilder.Prism({ 20, 0, 0 }, 3, 1, 0.5, 5);
	someBuilder.Spike({ 30, 0, 0 }, { 1, 1, 0 }, 4, 1);
	const NorvTools::FbxMeshData someMesh = someBuilder.Finish();
	const Image somePaint = somePalette.Paint(1);

	const std::array<double, 3> CENTRES[] = { { 0, 0, 0 }, { 10, 0, 0 }, { 20, 1.5, 0 }, { 30.5, 0.5, 0 } };
	size_t someCorner = 0;
	for (const std::vector<std::int32_t>& somePolygon : someMesh.polygons)
	{
		std::array<double, 3> someMiddle{ 0, 0, 0 };
		for (std::int32_t i : somePolygon)
			for (size_t a = 0; a < 3; ++a)
				someMiddle[a] += someMesh.controlPoints[static_cast<size_t>(i) * 3 + a] / static_cast<double>(somePolygon.size());
		const std::array<double, 3>& someCentre = CENTRES[static_cast<size_t>(std::lround(someMiddle[0] / 10.0))];
		double someOutward = 0;
		for (size_t a = 0; a < 3; ++a)
			someOutward += (someMiddle[a] - someCentre[a]) * someMesh.normals->values[someCorner * 3 + a];
		EXPECT_GT(someOutward, 0.0) << "polygon at " << someMiddle[0] << "," << someMiddle[1] << "," << someMiddle[2];
		// Whichever way v runs, the corner's UV lands on the green swatch.
		const double u = someMesh.uvSets[0].values[someCorner * 2], v = someMesh.uvSets[0].values[someCorner * 2 + 1];
		for (double someV : { v, 1.0 - v })
		{
			const Rgba someTexel = somePaint.Get(static_cast<std::uint32_t>(u * somePaint.Width()), static_cast<std::uint32_t>(someV * somePaint.Height()));
			EXPECT_GT(someTexel.g, 0.9f);
			EXPECT_LT(someTexel.r, 0.1f);
		}
		someCorner += somePolygon.size();
	}
}
