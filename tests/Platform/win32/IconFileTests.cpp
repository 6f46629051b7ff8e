#include "Support/FuzzSeeds.h"
#include "Support/Messages.h"
#include "Support/TempFolder.h"

#include "AniFile.h"

#include "kernel/Kernel.h"
#include "win32/IconFiles.h"
#include "win32/Internal.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
	using Bytes = std::vector<std::uint8_t>;

	void PutU16(Bytes& aBytes, std::uint32_t aValue)
	{
		aBytes.push_back(static_cast<std::uint8_t>(aValue));
		aBytes.push_back(static_cast<std::uint8_t>(aValue >> 8));
	}

	void PutU32(Bytes& aBytes, std::uint32_t aValue)
	{
		PutU16(aBytes, aValue & 0xFFFF);
		PutU16(aBytes, aValue >> 16);
	}

	// A one-image icon or cursor file with a 32-bit bitmap of one colour.
	Bytes MakeIconFile(bool anIsCursor, int aSize, int aHotX = 0, int aHotY = 0)
	{
		const std::uint32_t someMaskRow = ((aSize + 31) / 32) * 4;
		const std::uint32_t someImageBytes = 40 + aSize * aSize * 4 + someMaskRow * aSize;
		Bytes someFile;
		PutU16(someFile, 0);
		PutU16(someFile, anIsCursor ? 2 : 1);
		PutU16(someFile, 1);
		someFile.push_back(static_cast<std::uint8_t>(aSize == 256 ? 0 : aSize));
		someFile.push_back(static_cast<std::uint8_t>(aSize == 256 ? 0 : aSize));
		someFile.push_back(0);
		someFile.push_back(0);
		PutU16(someFile, anIsCursor ? aHotX : 1);
		PutU16(someFile, anIsCursor ? aHotY : 32);
		PutU32(someFile, someImageBytes);
		PutU32(someFile, 22);
		// BITMAPINFOHEADER: the height counts the colour and the mask rows.
		PutU32(someFile, 40);
		PutU32(someFile, aSize);
		PutU32(someFile, aSize * 2);
		PutU16(someFile, 1);
		PutU16(someFile, 32);
		for (int someField = 0; someField < 6; ++someField)
			PutU32(someFile, 0);
		for (int somePixel = 0; somePixel < aSize * aSize; ++somePixel)
			PutU32(someFile, 0xFF2080C0);
		someFile.insert(someFile.end(), someMaskRow * aSize, 0);
		NorvTest::SaveFuzzSeed("cursor", { reinterpret_cast<const char*>(someFile.data()), someFile.size() });
		return someFile;
	}

	Bytes MakeAniFile(const std::vector<Bytes>& aFrames, std::uint32_t aFlags = 1)
	{
		Bytes someFile = NorvMedia::EncodeAnimatedCursor(aFrames, 6, aFlags);
		NorvTest::SaveFuzzSeed("cursor", { reinterpret_cast<const char*>(someFile.data()), someFile.size() });
		return someFile;
	}

	TEST(IconFiles, TheDirectoryGivesSizeAndCursorHotspot)
	{
		const auto someCursor = Platform::impl::ReadIconDirectory(MakeIconFile(true, 16, 3, 5));
		ASSERT_TRUE(someCursor);
		EXPECT_TRUE(someCursor->myIsCursor);
		EXPECT_EQ(someCursor->myWidth, 16);
		EXPECT_EQ(someCursor->myHotspotX, 3);
		EXPECT_EQ(someCursor->myHotspotY, 5);

		Bytes someLarge = MakeIconFile(false, 4);
		someLarge[6] = 0; // a stored 0 means 256
		const auto someIcon = Platform::impl::ReadIconDirectory(someLarge);
		ASSERT_TRUE(someIcon);
		EXPECT_FALSE(someIcon->myIsCursor);
		EXPECT_EQ(someIcon->myWidth, 256);
		EXPECT_EQ(someIcon->myHotspotX, 0);
	}

	TEST(IconFiles, AMalformedDirectoryIsRefused)
	{
		const Bytes someGood = MakeIconFile(false, 4);
		Bytes someTruncated(someGood.begin(), someGood.end() - 1);
		EXPECT_FALSE(Platform::impl::ReadIconDirectory(someTruncated));
		Bytes someWrongType = someGood;
		someWrongType[2] = 3;
		EXPECT_FALSE(Platform::impl::ReadIconDirectory(someWrongType));
		Bytes someNoImages = someGood;
		someNoImages[4] = 0;
		EXPECT_FALSE(Platform::impl::ReadIconDirectory(someNoImages));
		EXPECT_FALSE(Platform::impl::ReadIconDirectory(Bytes(10, 0)));

		// A bitmap header claiming more than an icon holds never reaches the decoder.
		const Bytes someCursor = MakeIconFile(true, 4);
		ASSERT_TRUE(Platform::impl::ReadIconDirectory(someCursor));
		for (const auto& [someWidth, someHeight] : { std::pair{ 2048u, 524288u }, std::pair{ 524288u, 131072u }, std::pair{ 257u, 8u }, std::pair{ 4u, 514u }, std::pair{ 0u, 8u }, std::pair{ 4u, 0xFFFFFFF8u } })
		{
			Bytes someHuge = someCursor;
			for (int someByte = 0; someByte < 4; ++someByte)
			{
				someHuge[26 + someByte] = static_cast<std::uint8_t>(someWidth >> (8 * someByte));
				someHuge[30 + someByte] = static_cast<std::uint8_t>(someHeight >> (8 * someByte));
			}
			EXPECT_FALSE(Platform::impl::ReadIconDirectory(someHuge)) << someWidth << " x " << someHeight;
		}
		// A bitmap of one row holds a mask row only: no image.
		Bytes someOneRow = someCursor;
		someOneRow[30] = 1;
		someOneRow[31] = someOneRow[32] = someOneRow[33] = 0;
		EXPECT_FALSE(Platform::impl::ReadIconDirectory(someOneRow));
	}

	// An icon file of two entries, each with its own image.
	Bytes TwoEntryIcon(const Bytes& aFirstImage, const Bytes& aSecondImage)
	{
		Bytes someFile;
		PutU16(someFile, 0);
		PutU16(someFile, 1);
		PutU16(someFile, 2);
		std::uint32_t someOffset = 6 + 2 * 16;
		for (const Bytes* someImage : { &aFirstImage, &aSecondImage })
		{
			for (int someByte = 0; someByte < 4; ++someByte)
				someFile.push_back(someByte == 0 || someByte == 1 ? 4 : 0);
			PutU16(someFile, 1);
			PutU16(someFile, 32);
			PutU32(someFile, static_cast<std::uint32_t>(someImage->size()));
			PutU32(someFile, someOffset);
			someOffset += static_cast<std::uint32_t>(someImage->size());
		}
		someFile.insert(someFile.end(), aFirstImage.begin(), aFirstImage.end());
		someFile.insert(someFile.end(), aSecondImage.begin(), aSecondImage.end());
		return someFile;
	}

	TEST(IconFiles, EveryEntryIsCheckedAsTheDecoderMayChooseAny)
	{
		const Bytes someFile = MakeIconFile(false, 4);
		const Bytes someImage(someFile.begin() + 22, someFile.end());
		EXPECT_TRUE(Platform::impl::ReadIconDirectory(TwoEntryIcon(someImage, someImage)));
		Bytes someHuge = someImage;
		someHuge[5] = 0x08; // 2048 wide
		EXPECT_FALSE(Platform::impl::ReadIconDirectory(TwoEntryIcon(someImage, someHuge)));
		Bytes someTwoEntriesOneWritten = TwoEntryIcon(someImage, someImage);
		someTwoEntriesOneWritten.resize(someTwoEntriesOneWritten.size() - someImage.size());
		EXPECT_FALSE(Platform::impl::ReadIconDirectory(someTwoEntriesOneWritten)) << "the second image is past the end";
	}

	TEST(IconFiles, AnimatedCursorFramesComeInFileOrder)
	{
		const Bytes someFirst = MakeIconFile(true, 4);
		Bytes someSecond = MakeIconFile(true, 8);
		someSecond.push_back(0x7F); // an odd-sized frame is padded in the container
		const Bytes someThird = MakeIconFile(true, 2);
		const Bytes someFile = MakeAniFile({ someFirst, someSecond, someThird });
		const auto someFrames = Platform::impl::ReadAnimatedCursorFrames(someFile);
		ASSERT_EQ(someFrames.size(), 3u);
		EXPECT_TRUE(std::equal(someFrames[0].begin(), someFrames[0].end(), someFirst.begin(), someFirst.end()));
		EXPECT_TRUE(std::equal(someFrames[1].begin(), someFrames[1].end(), someSecond.begin(), someSecond.end()));
		EXPECT_TRUE(std::equal(someFrames[2].begin(), someFrames[2].end(), someThird.begin(), someThird.end()));
	}

	TEST(IconFiles, AMalformedAnimatedCursorHasNoFrames)
	{
		const Bytes someFile = MakeAniFile({ MakeIconFile(true, 4), MakeIconFile(true, 4) });
		for (std::size_t someCut : { std::size_t{ 11 }, std::size_t{ 30 }, someFile.size() - 1 })
			EXPECT_TRUE(Platform::impl::ReadAnimatedCursorFrames(Bytes(someFile.begin(), someFile.begin() + static_cast<std::ptrdiff_t>(someCut))).empty()) << someCut;
		Bytes someRawFrames = MakeAniFile({ MakeIconFile(true, 4) }, 0);
		EXPECT_TRUE(Platform::impl::ReadAnimatedCursorFrames(someRawFrames).empty());
		Bytes someNotAni = someFile;
		someNotAni[8] = 'X';
		EXPECT_TRUE(Platform::impl::ReadAnimatedCursorFrames(someNotAni).empty());
		Bytes someLyingChunk = someFile;
		someLyingChunk[16] = 0xFF; // the header chunk claims more bytes than there are
		someLyingChunk[17] = 0xFF;
		EXPECT_TRUE(Platform::impl::ReadAnimatedCursorFrames(someLyingChunk).empty());
	}

	class IconLoading : public ::testing::Test
	{
	protected:
		std::wstring WriteFile(const std::string& aName, const Bytes& aBytes)
		{
			const auto somePath = myFolder.Write(aName, std::string_view(reinterpret_cast<const char*>(aBytes.data()), aBytes.size()));
			return Platform::Utf8ToWide(somePath.string());
		}

		NorvTest::TempFolder myFolder;
	};

	TEST_F(IconLoading, AnIconFileBecomesTheWindowIcon)
	{
		const std::wstring somePath = WriteFile("game.ico", MakeIconFile(false, 16));
		const HANDLE someIcon = LoadImageW(nullptr, somePath.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
		ASSERT_NE(someIcon, nullptr);
		SDL_Surface* someSurface = Platform::impl::GetIconSurface(static_cast<HICON>(someIcon));
		ASSERT_NE(someSurface, nullptr);
		EXPECT_EQ(someSurface->w, 16);

		NorvTest::TestWindow someWindow;
		EXPECT_EQ(SendMessageW(someWindow.Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(someIcon)), 0);
		EXPECT_EQ(SendMessageW(someWindow.Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(someIcon)), reinterpret_cast<LRESULT>(someIcon));
	}

	TEST_F(IconLoading, AnAnimatedCursorShowsItsFirstFrameAtTheAskedSize)
	{
		const std::wstring somePath = WriteFile("cursor.ani", MakeAniFile({ MakeIconFile(true, 32, 8, 4), MakeIconFile(true, 16) }));
		const HANDLE someCursor = LoadImageW(nullptr, somePath.c_str(), IMAGE_CURSOR, 64, 64, LR_LOADFROMFILE | LR_DEFAULTSIZE);
		ASSERT_NE(someCursor, nullptr);
		SDL_Surface* someSurface = Platform::impl::GetIconSurface(static_cast<HICON>(someCursor));
		ASSERT_NE(someSurface, nullptr);
		EXPECT_EQ(someSurface->w, 64);
		EXPECT_EQ(someSurface->h, 64);

		NorvTest::TestWindow someWindow;
		EXPECT_EQ(SetClassLongPtrW(someWindow.Handle(), GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(someCursor)), 0u);
		EXPECT_EQ(SetClassLongPtrW(someWindow.Handle(), GCLP_HCURSOR, 0), reinterpret_cast<ULONG_PTR>(someCursor));
	}

	TEST_F(IconLoading, MissingOrBrokenFilesGiveNoHandle)
	{
		EXPECT_EQ(LoadImageW(nullptr, L"/nonexistent/game.ico", IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
		const std::wstring someGarbage = WriteFile("garbage.ico", Bytes(200, 0x5A));
		EXPECT_EQ(LoadImageW(nullptr, someGarbage.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);
		const Bytes someAni = MakeAniFile({ MakeIconFile(true, 8) });
		const std::wstring someTruncated = WriteFile("cut.ani", Bytes(someAni.begin(), someAni.end() - 20));
		EXPECT_EQ(LoadImageW(nullptr, someTruncated.c_str(), IMAGE_CURSOR, 64, 64, LR_LOADFROMFILE), nullptr);
		// Without LR_LOADFROMFILE the name would be a resource, and there are none.
		const std::wstring someGood = WriteFile("good.ico", MakeIconFile(false, 8));
		EXPECT_EQ(LoadImageW(nullptr, someGood.c_str(), IMAGE_ICON, 0, 0, 0), nullptr);
	}
}
