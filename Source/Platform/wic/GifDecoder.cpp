#include "wic/ImageDecoders.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace Platform::wic::impl
{
	namespace
	{
		constexpr int NO_TRANSPARENCY = -1;

		struct GifSource
		{
			std::span<const std::uint8_t> myBytes;
			std::size_t myOffset = 0;
		};

		int ReadFromMemory(GifFileType* aFile, GifByteType* aData, int aLength)
		{
			GifSource* someSource = static_cast<GifSource*>(aFile->UserData);
			const std::size_t someCount = std::min<std::size_t>(static_cast<std::size_t>(std::max(aLength, 0)), someSource->myBytes.size() - someSource->myOffset);
			std::memcpy(aData, someSource->myBytes.data() + someSource->myOffset, someCount);
			someSource->myOffset += someCount;
			return static_cast<int>(someCount);
		}

		struct CloseGif
		{
			void operator()(GifFileType* aFile) const
			{
				int someError = 0;
				DGifCloseFile(aFile, &someError);
			}
		};

		bool Fail(std::string& aError, const char* aWhat, int aGifError)
		{
			const char* someReason = GifErrorString(aGifError);
			aError = std::string("corrupt or truncated GIF (") + aWhat + (someReason ? std::string(": ") + someReason : std::string()) + ")";
			return false;
		}

		// The rows of an interlaced frame in the order they are stored.
		std::vector<int> RowOrder(int aHeight, bool anInterlaced)
		{
			std::vector<int> someRows;
			someRows.reserve(static_cast<std::size_t>(aHeight));
			if (!anInterlaced)
			{
				for (int someRow = 0; someRow < aHeight; ++someRow)
					someRows.push_back(someRow);
				return someRows;
			}
			constexpr int PASS_START[] = { 0, 4, 2, 1 };
			constexpr int PASS_STEP[] = { 8, 8, 4, 2 };
			for (int somePass = 0; somePass < 4; ++somePass)
				for (int someRow = PASS_START[somePass]; someRow < aHeight; someRow += PASS_STEP[somePass])
					someRows.push_back(someRow);
			return someRows;
		}

		// Reads the first frame's pixels onto the canvas; transparent and uncovered
		// pixels stay transparent black.
		bool ReadFrame(GifFileType* aFile, std::size_t aFileBytes, int aTransparent, WicImage& aImage, std::string& aError)
		{
			if (DGifGetImageDesc(aFile) == GIF_ERROR)
				return Fail(aError, "image descriptor", aFile->Error);
			const GifImageDesc& someFrame = aFile->Image;
			const ColorMapObject* someColours = someFrame.ColorMap ? someFrame.ColorMap : aFile->SColorMap;
			if (!someColours)
			{
				aError = "GIF frame without a colour table";
				return false;
			}
			if (someFrame.Width <= 0 || someFrame.Height <= 0 || !CheckDeclaredSize(static_cast<std::uint64_t>(someFrame.Width), static_cast<std::uint64_t>(someFrame.Height), aFileBytes, aError))
			{
				aError = "GIF frame size " + std::to_string(someFrame.Width) + " x " + std::to_string(someFrame.Height) + " out of range";
				return false;
			}

			std::vector<GifPixelType> someLine(static_cast<std::size_t>(someFrame.Width));
			for (const int someRow : RowOrder(someFrame.Height, someFrame.Interlace))
			{
				if (DGifGetLine(aFile, someLine.data(), someFrame.Width) == GIF_ERROR)
					return Fail(aError, "pixel data", aFile->Error);
				const std::int64_t someY = std::int64_t{ someFrame.Top } + someRow;
				if (someY < 0 || someY >= aImage.myHeight)
					continue;
				for (int someColumn = 0; someColumn < someFrame.Width; ++someColumn)
				{
					const std::int64_t someX = std::int64_t{ someFrame.Left } + someColumn;
					const int someIndex = someLine[static_cast<std::size_t>(someColumn)];
					if (someX < 0 || someX >= aImage.myWidth || someIndex == aTransparent || someIndex >= someColours->ColorCount)
						continue;
					const GifColorType& someColour = someColours->Colors[someIndex];
					std::uint8_t* somePixel = aImage.myPixels.data() + (static_cast<std::size_t>(someY) * aImage.myWidth + static_cast<std::size_t>(someX)) * 4;
					somePixel[0] = someColour.Red;
					somePixel[1] = someColour.Green;
					somePixel[2] = someColour.Blue;
					somePixel[3] = 0xFF;
				}
			}
			return true;
		}
	}

	bool DecodeGif(std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError)
	{
		GifSource someSource{ aBytes };
		int someOpenError = 0;
		const std::unique_ptr<GifFileType, CloseGif> someFile(DGifOpen(&someSource, ReadFromMemory, &someOpenError));
		if (!someFile)
			return Fail(aError, "header", someOpenError);
		if (!CheckDeclaredSize(static_cast<std::uint64_t>(someFile->SWidth), static_cast<std::uint64_t>(someFile->SHeight), aBytes.size(), aError))
			return false;

		int someTransparent = NO_TRANSPARENCY;
		for (;;)
		{
			GifRecordType someRecord = UNDEFINED_RECORD_TYPE;
			if (DGifGetRecordType(someFile.get(), &someRecord) == GIF_ERROR)
				return Fail(aError, "record", someFile->Error);
			if (someRecord == TERMINATE_RECORD_TYPE)
			{
				aError = "GIF holds no image";
				return false;
			}
			if (someRecord == IMAGE_DESC_RECORD_TYPE)
				break;
			if (someRecord != EXTENSION_RECORD_TYPE)
				return Fail(aError, "record", D_GIF_ERR_WRONG_RECORD);

			int someCode = 0;
			GifByteType* someBlock = nullptr;
			if (DGifGetExtension(someFile.get(), &someCode, &someBlock) == GIF_ERROR)
				return Fail(aError, "extension", someFile->Error);
			GraphicsControlBlock someControl;
			if (someCode == GRAPHICS_EXT_FUNC_CODE && someBlock && DGifExtensionToGCB(someBlock[0], someBlock + 1, &someControl) == GIF_OK)
				someTransparent = someControl.TransparentColor;
			while (someBlock)
				if (DGifGetExtensionNext(someFile.get(), &someBlock) == GIF_ERROR)
					return Fail(aError, "extension", someFile->Error);
		}

		aImage.myWidth = static_cast<std::uint32_t>(someFile->SWidth);
		aImage.myHeight = static_cast<std::uint32_t>(someFile->SHeight);
		aImage.myPixels.assign(std::size_t{ aImage.myWidth } * aImage.myHeight * 4, 0);
		return ReadFrame(someFile.get(), aBytes.size(), someTransparent, aImage, aError);
	}
}
