// Writes the window icon "UI/game.ico" (48, 32 and 16 pixels) and the animated
// cursor "UI/cursor.ani" (a leaf pointer whose flower turns, six frames).
// Usage: NorvMakeIconCursor <data folder>
#include "AniFile.h"
#include "FileOutput.h"
#include "Scenery.h"

#include <cstdio>
#include <vector>

using namespace NorvMedia;

namespace
{
	constexpr int CURSOR_SIZE = 64;
	constexpr int CURSOR_FRAMES = 6;
	constexpr std::uint32_t CURSOR_JIFFIES = 8; // 1/60 s each
	constexpr int HOTSPOT = 3;

	using Bytes = std::vector<std::uint8_t>;

	void Put(Bytes& aBytes, std::uint32_t aValue, int aByteCount)
	{
		for (int i = 0; i < aByteCount; ++i)
			aBytes.push_back(static_cast<std::uint8_t>(aValue >> (8 * i)));
	}

	// The image of one directory entry: a 32-bit bottom-up DIB and its AND mask.
	Bytes EncodeDib(const Canvas& aCanvas)
	{
		const int n = aCanvas.Width();
		const std::vector<std::uint8_t> someRgba = aCanvas.ToRgba8();
		Bytes someImage;
		for (std::uint32_t someValue : { 40u, static_cast<std::uint32_t>(n), static_cast<std::uint32_t>(n * 2) })
			Put(someImage, someValue, 4);
		Put(someImage, 1, 2);
		Put(someImage, 32, 2);
		for (int i = 0; i < 6; ++i)
			Put(someImage, 0, 4);
		for (int y = n - 1; y >= 0; --y)
			for (int x = 0; x < n; ++x)
			{
				const std::uint8_t* p = &someRgba[(static_cast<std::size_t>(y) * n + x) * 4];
				someImage.insert(someImage.end(), { p[2], p[1], p[0], p[3] });
			}
		const int someMaskRow = ((n + 31) / 32) * 4;
		for (int y = n - 1; y >= 0; --y)
		{
			Bytes someRow(static_cast<std::size_t>(someMaskRow), 0);
			for (int x = 0; x < n; ++x)
				if (someRgba[(static_cast<std::size_t>(y) * n + x) * 4 + 3] == 0)
					someRow[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
			someImage.insert(someImage.end(), someRow.begin(), someRow.end());
		}
		return someImage;
	}

	// An icon (type 1) or cursor (type 2) file; a cursor's entries carry the hotspot.
	Bytes EncodeIconFile(const std::vector<Canvas>& anImages, bool anIsCursor)
	{
		Bytes someFile;
		Put(someFile, 0, 2);
		Put(someFile, anIsCursor ? 2 : 1, 2);
		Put(someFile, static_cast<std::uint32_t>(anImages.size()), 2);
		std::vector<Bytes> someImages;
		for (const Canvas& someCanvas : anImages)
			someImages.push_back(EncodeDib(someCanvas));
		std::uint32_t someOffset = 6 + 16 * static_cast<std::uint32_t>(anImages.size());
		for (std::size_t i = 0; i < anImages.size(); ++i)
		{
			const int n = anImages[i].Width();
			someFile.push_back(static_cast<std::uint8_t>(n >= 256 ? 0 : n));
			someFile.push_back(static_cast<std::uint8_t>(n >= 256 ? 0 : n));
			someFile.push_back(0);
			someFile.push_back(0);
			Put(someFile, anIsCursor ? HOTSPOT : 1, 2);
			Put(someFile, anIsCursor ? HOTSPOT : 32, 2);
			Put(someFile, static_cast<std::uint32_t>(someImages[i].size()), 4);
			Put(someFile, someOffset, 4);
			someOffset += static_cast<std::uint32_t>(someImages[i].size());
		}
		for (const Bytes& someImage : someImages)
			someFile.insert(someFile.end(), someImage.begin(), someImage.end());
		return someFile;
	}

	Canvas Icon(int aSize)
	{
		const float s = static_cast<float>(aSize) / 48.0f;
		Canvas someCanvas(aSize, aSize);
		someCanvas.FillCircle(24.0f * s, 24.0f * s, 23.0f * s, Palette::DARK_LEAF, std::max(0.7f, s));
		someCanvas.FillCircle(24.0f * s, 24.0f * s, 20.5f * s, Hex(0x9FD4E8), std::max(0.7f, s));
		someCanvas.FillBox(24.0f * s, 40.0f * s, 20.0f * s, 6.0f * s, 0.0f, Palette::LEAF);
		someCanvas.FillCapsule(24.0f * s, 40.0f * s, 24.0f * s, 24.0f * s, 1.6f * s, Palette::DARK_LEAF);
		someCanvas.FillFlower(24.0f * s, 20.0f * s, 15.0f * s, 0.3f, Palette::PETAL_PINK, Palette::SUN_YELLOW);
		return someCanvas;
	}

	Canvas CursorFrame(int aFrame)
	{
		// A leaf pointing up and to the left, with a small flower that turns at its stem.
		Canvas someCanvas(CURSOR_SIZE, CURSOR_SIZE);
		someCanvas.FillLeaf(HOTSPOT + 1.0f, HOTSPOT + 1.0f, 34.0f, 34.0f, 20.0f, Palette::INK, 2.0f);
		someCanvas.FillLeaf(HOTSPOT + 3.0f, HOTSPOT + 3.0f, 32.0f, 32.0f, 15.0f, Palette::MOSS);
		someCanvas.FillCapsule(HOTSPOT + 6.0f, HOTSPOT + 6.0f, 30.0f, 30.0f, 0.8f, Palette::DARK_LEAF);
		const float someTurn = static_cast<float>(aFrame) * 2.0f * 3.14159265f / (5.0f * CURSOR_FRAMES);
		someCanvas.FillCircle(36.0f, 36.0f, 10.5f, Palette::INK);
		someCanvas.FillFlower(36.0f, 36.0f, 10.0f, someTurn, Palette::PETAL_PINK, Palette::SUN_YELLOW);
		return someCanvas;
	}
}

int main(int anArgumentCount, char** anArguments)
{
	if (anArgumentCount != 2)
	{
		std::fprintf(stderr, "usage: NorvMakeIconCursor <data folder>\n");
		return 2;
	}
	const std::filesystem::path someFolder = anArguments[1];
	const Bytes someIcon = EncodeIconFile({ Icon(48), Icon(32), Icon(16) }, false);
	WriteFileAtomically(someFolder / "UI/game.ico", someIcon);
	std::vector<Bytes> someFrames;
	for (int i = 0; i < CURSOR_FRAMES; ++i)
		someFrames.push_back(EncodeIconFile({ CursorFrame(i) }, true));
	WriteFileAtomically(someFolder / "UI/cursor.ani", EncodeAnimatedCursor(someFrames, CURSOR_JIFFIES));
	return 0;
}
