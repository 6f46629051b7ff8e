#include "wic/ImageDecoders.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace Platform::wic::impl
{
	namespace
	{
		struct PngSource
		{
			std::span<const std::uint8_t> myBytes;
			std::size_t myOffset = 0;
			char myMessage[128] = {};
		};

		void ReadFromMemory(png_structp aPng, png_bytep aData, png_size_t aLength)
		{
			PngSource* someSource = static_cast<PngSource*>(png_get_io_ptr(aPng));
			if (aLength > someSource->myBytes.size() - someSource->myOffset)
				png_error(aPng, "file ends early");
			std::memcpy(aData, someSource->myBytes.data() + someSource->myOffset, aLength);
			someSource->myOffset += aLength;
		}

		void OnError(png_structp aPng, png_const_charp aMessage)
		{
			PngSource* someSource = static_cast<PngSource*>(png_get_error_ptr(aPng));
			std::strncpy(someSource->myMessage, aMessage, sizeof(someSource->myMessage) - 1);
			png_longjmp(aPng, 1);
		}

		void OnWarning(png_structp, png_const_charp) {}

		// Kept apart from DecodePng so that no object with a destructor lives in the
		// frame libpng's errors jump back to.
		bool ReadPng(png_structp aPng, png_infop anInfo, std::size_t aFileBytes, WicImage& aImage, std::string& aError)
		{
			if (setjmp(png_jmpbuf(aPng)))
				return false;
			png_read_info(aPng, anInfo);
			const png_uint_32 someWidth = png_get_image_width(aPng, anInfo);
			const png_uint_32 someHeight = png_get_image_height(aPng, anInfo);
			if (!CheckDeclaredSize(someWidth, someHeight, aFileBytes, aError))
				return false;

			png_set_expand(aPng); // palette and low bit depths to 8 bits, tRNS to alpha
			png_set_strip_16(aPng);
			png_set_gray_to_rgb(aPng);
			png_set_add_alpha(aPng, 0xFF, PNG_FILLER_AFTER);
			const int somePasses = png_set_interlace_handling(aPng);
			png_read_update_info(aPng, anInfo);
			if (png_get_rowbytes(aPng, anInfo) != std::size_t{ someWidth } * 4)
				png_error(aPng, "unexpected row layout");

			aImage.myWidth = someWidth;
			aImage.myHeight = someHeight;
			aImage.myPixels.resize(std::size_t{ someWidth } * someHeight * 4);
			for (int somePass = 0; somePass < somePasses; ++somePass)
				for (png_uint_32 someRow = 0; someRow < someHeight; ++someRow)
					png_read_row(aPng, aImage.myPixels.data() + std::size_t{ someRow } * someWidth * 4, nullptr);
			png_read_end(aPng, nullptr);
			return true;
		}
	}

	bool DecodePng(std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError)
	{
		PngSource someSource{ aBytes };
		png_structp somePng = png_create_read_struct(PNG_LIBPNG_VER_STRING, &someSource, OnError, OnWarning);
		png_infop someInfo = somePng ? png_create_info_struct(somePng) : nullptr;
		if (!someInfo)
		{
			png_destroy_read_struct(&somePng, nullptr, nullptr);
			aError = "out of memory reading PNG";
			return false;
		}
		png_set_read_fn(somePng, &someSource, ReadFromMemory);
		const bool someOk = ReadPng(somePng, someInfo, aBytes.size(), aImage, aError);
		png_destroy_read_struct(&somePng, &someInfo, nullptr);
		if (!someOk && aError.empty())
			aError = std::string("corrupt or truncated PNG (") + someSource.myMessage + ")";
		return someOk;
	}
}
