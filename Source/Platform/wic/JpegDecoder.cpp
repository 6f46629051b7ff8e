#include "wic/ImageDecoders.h"

#include <cstdio> // jpeglib.h needs FILE
#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>

namespace Platform::wic::impl
{
	namespace
	{
		// The most memory libjpeg may take for one image (progressive files keep all
		// their coefficients): the largest RGBA texture and as much again.
		constexpr long MAX_DECODER_MEMORY = static_cast<long>(MAX_DECODED_PIXELS * 4 * 2);

		struct JpegErrors
		{
			jpeg_error_mgr myManager;
			std::jmp_buf myJump;
			char myMessage[JMSG_LENGTH_MAX] = {};
		};

		void OnError(j_common_ptr aDecoder)
		{
			JpegErrors* someErrors = reinterpret_cast<JpegErrors*>(aDecoder->err);
			aDecoder->err->format_message(aDecoder, someErrors->myMessage);
			std::longjmp(someErrors->myJump, 1);
		}

		// Corrupt or missing data is a warning to libjpeg, which then fills the rest
		// with grey; here it fails the image. Stray bytes between markers stay harmless.
		void OnMessage(j_common_ptr aDecoder, int aLevel)
		{
			if (aLevel < 0 && aDecoder->err->msg_code != JWRN_EXTRANEOUS_DATA)
				OnError(aDecoder);
		}

		bool ReadJpeg(jpeg_decompress_struct& aDecoder, JpegErrors& someErrors, std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError)
		{
			if (setjmp(someErrors.myJump))
				return false;
			jpeg_create_decompress(&aDecoder);
			aDecoder.mem->max_memory_to_use = MAX_DECODER_MEMORY;
			jpeg_mem_src(&aDecoder, aBytes.data(), static_cast<unsigned long>(aBytes.size()));
			jpeg_read_header(&aDecoder, TRUE);
			if (!CheckDeclaredSize(aDecoder.image_width, aDecoder.image_height, aBytes.size(), aError))
				return false;
			aDecoder.out_color_space = JCS_EXT_RGBA;
			jpeg_start_decompress(&aDecoder);

			aImage.myWidth = aDecoder.output_width;
			aImage.myHeight = aDecoder.output_height;
			aImage.myPixels.resize(std::size_t{ aImage.myWidth } * aImage.myHeight * 4);
			while (aDecoder.output_scanline < aDecoder.output_height)
			{
				JSAMPROW someRow = aImage.myPixels.data() + std::size_t{ aDecoder.output_scanline } * aImage.myWidth * 4;
				jpeg_read_scanlines(&aDecoder, &someRow, 1);
			}
			jpeg_finish_decompress(&aDecoder);
			return true;
		}
	}

	bool DecodeJpeg(std::span<const std::uint8_t> aBytes, WicImage& aImage, std::string& aError)
	{
		jpeg_decompress_struct someDecoder{};
		JpegErrors someErrors{};
		someDecoder.err = jpeg_std_error(&someErrors.myManager);
		someErrors.myManager.error_exit = OnError;
		someErrors.myManager.emit_message = OnMessage;
		const bool someOk = ReadJpeg(someDecoder, someErrors, aBytes, aImage, aError);
		jpeg_destroy_decompress(&someDecoder);
		if (!someOk && aError.empty())
			aError = std::string("corrupt or truncated JPEG (") + someErrors.myMessage + ")";
		return someOk;
	}
}
