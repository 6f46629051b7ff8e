#include "Support/AssertRecorder.h"
#include "Support/TargaFile.h"
#include "Support/TempFolder.h"
#include "loaders/TargaLoader.h"

#include <gtest/gtest.h>

#include <vector>

using NorvTest::Bgra;
using NorvTest::MakeTarga;

namespace
{
	// Stored bottom row first: bottom-left red, bottom-right green, top-left blue, top-right white half alpha.
	const std::string TWO_BY_TWO_BOTTOM_UP = Bgra(0, 0, 255, 1) + Bgra(0, 255, 0, 2) + Bgra(255, 0, 0, 3) + Bgra(255, 255, 255, 128);
	const std::vector<std::uint8_t> TWO_BY_TWO_RGBA_TOP_DOWN = {
		0, 0, 255, 3, 255, 255, 255, 128, // top row: blue, white
		255, 0, 0, 1, 0, 255, 0, 2, // bottom row: red, green
	};
}

class TargaLoader : public ::testing::Test
{
protected:
	std::wstring WriteFile(const std::string& aBytes)
	{
		return myFolder.Write("image.tga", aBytes).wstring();
	}

	NorvTest::TempFolder myFolder;
};

TEST_F(TargaLoader, ReadsTopRowFirstAsRgba)
{
	const auto someImage = Norv::LoadTarga(WriteFile(MakeTarga(2, 2, TWO_BY_TWO_BOTTOM_UP)));
	ASSERT_NE(someImage, nullptr);
	EXPECT_EQ(someImage->myWidth, 2);
	EXPECT_EQ(someImage->myHeight, 2);
	EXPECT_EQ(someImage->myBitsPerPixel, 32);
	EXPECT_EQ(someImage->myPixels, TWO_BY_TWO_RGBA_TOP_DOWN);
}

TEST_F(TargaLoader, HonoursIdFieldAndOriginBits)
{
	const auto someWithId = Norv::LoadTarga(WriteFile(MakeTarga(2, 2, TWO_BY_TWO_BOTTOM_UP, 32, NorvTest::TARGA_BOTTOM_LEFT, "made by a test")));
	ASSERT_NE(someWithId, nullptr);
	EXPECT_EQ(someWithId->myPixels, TWO_BY_TWO_RGBA_TOP_DOWN);

	// Top-left origin: rows are stored top first already.
	const std::string someTopDown = Bgra(255, 0, 0, 3) + Bgra(255, 255, 255, 128) + Bgra(0, 0, 255, 1) + Bgra(0, 255, 0, 2);
	const auto someTopOrigin = Norv::LoadTarga(WriteFile(MakeTarga(2, 2, someTopDown, 32, 0x28)));
	ASSERT_NE(someTopOrigin, nullptr);
	EXPECT_EQ(someTopOrigin->myPixels, TWO_BY_TWO_RGBA_TOP_DOWN);

	// Right-to-left: each stored row is mirrored.
	const std::string someMirrored = Bgra(0, 255, 0, 2) + Bgra(0, 0, 255, 1) + Bgra(255, 255, 255, 128) + Bgra(255, 0, 0, 3);
	const auto someRightOrigin = Norv::LoadTarga(WriteFile(MakeTarga(2, 2, someMirrored, 32, 0x18)));
	ASSERT_NE(someRightOrigin, nullptr);
	EXPECT_EQ(someRightOrigin->myPixels, TWO_BY_TWO_RGBA_TOP_DOWN);
}

TEST_F(TargaLoader, OtherDepthsYieldNull)
{
	for (std::uint8_t someDepth : { 8, 16, 24 })
	{
		const std::string somePixels(2 * 2 * someDepth / 8, '\x7f');
		EXPECT_EQ(Norv::LoadTarga(WriteFile(MakeTarga(2, 2, somePixels, someDepth))), nullptr) << int(someDepth);
	}
}

TEST_F(TargaLoader, RunLengthAndColourMappedFilesYieldNull)
{
	// Their bytes are no raw pixels: read as such they would show noise.
	std::string someRunLength = MakeTarga(2, 2, TWO_BY_TWO_BOTTOM_UP);
	someRunLength[2] = 10;
	EXPECT_EQ(Norv::LoadTarga(WriteFile(someRunLength)), nullptr);
	std::string someMapped = MakeTarga(2, 2, TWO_BY_TWO_BOTTOM_UP);
	someMapped[1] = 1;
	someMapped[2] = 1;
	EXPECT_EQ(Norv::LoadTarga(WriteFile(someMapped)), nullptr);
}

TEST_F(TargaLoader, ShortFilesYieldNull)
{
	const std::string someFull = MakeTarga(2, 2, TWO_BY_TWO_BOTTOM_UP);
	for (std::size_t someLength : { std::size_t{ 0 }, std::size_t{ 17 }, std::size_t{ 18 }, someFull.size() - 1 })
		EXPECT_EQ(Norv::LoadTarga(WriteFile(someFull.substr(0, someLength))), nullptr) << someLength;

	// An ID field longer than the file.
	EXPECT_EQ(Norv::LoadTarga(WriteFile(MakeTarga(1, 1, "", 32, NorvTest::TARGA_BOTTOM_LEFT, std::string(200, 'x')).substr(0, 60))), nullptr);
	// The largest header promises 16 GiB: refused without reading past the end.
	EXPECT_EQ(Norv::LoadTarga(WriteFile(MakeTarga(0xFFFF, 0xFFFF, Bgra(1, 2, 3, 4)))), nullptr);
}

TEST_F(TargaLoader, MissingFileAssertsAndYieldsNull)
{
	NorvTest::AssertRecorder someAsserts;
	EXPECT_EQ(Norv::LoadTarga((myFolder.Path() / "missing.tga").wstring()), nullptr);
	EXPECT_TRUE(someAsserts.Saw("fp != NULL"));
}

TEST_F(TargaLoader, EmptyImageIsValid)
{
	const auto someImage = Norv::LoadTarga(WriteFile(MakeTarga(0, 3, "")));
	ASSERT_NE(someImage, nullptr);
	EXPECT_TRUE(someImage->myPixels.empty());
}
