#pragma once
// The CPU side of the image texture loader, standing in for the Windows Imaging
// Component's decoders: a file's bytes become one RGBA8 image.
// Keeps: PNG, JPEG, BMP and GIF (first frame); scaling down to a maximum size with
// the aspect ratio kept; the force-sRGB and ignore-sRGB flags, and a PNG's own sRGB
// or gamma 1/2.2 chunk marking it sRGB. Declines everything else (Targa, PSD, HDR,
// PNM above all: those are for other loaders). Mips are made at upload.
// Decoded with libpng, libjpeg-turbo and giflib, BMP by a strict reader of its
// own; scaled with stb_image_resize (Debian libstb).
#include "d3d11/dxgiformat.h"
#include "wic/WICTextureLoader.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Platform::wic
{
	// Images with more pixels than the largest texture are declined before decoding.
	constexpr std::uint64_t MAX_DECODED_PIXELS = std::uint64_t{ 16384 } * 16384;

	// The reason DecodeImage gives for bytes of no format it reads.
	inline constexpr std::string_view NOT_AN_IMAGE = "not a PNG, JPEG, BMP or GIF image";

	struct WicImage
	{
		DXGI_FORMAT myFormat = DXGI_FORMAT_R8G8B8A8_UNORM;
		std::uint32_t myWidth = 0;
		std::uint32_t myHeight = 0;
		std::vector<std::uint8_t> myPixels; // top row first, R, G, B, A
	};

	// Decodes aBytes; an image wider or taller than aMaxSize (0: no limit) is scaled
	// down to fit. False with a short reason in aError when the bytes are no image
	// this decoder reads, or are corrupt.
	bool DecodeImage(const std::vector<std::uint8_t>& aBytes, std::uint32_t aMaxSize, DirectX::WIC_LOADER_FLAGS aLoaderFlags, WicImage& aImage, std::string& aError);

	// The width and height DecodeImage would give without a maximum size: from the
	// header of a PNG, by decoding the other formats. False with a reason as
	// DecodeImage's (NOT_AN_IMAGE for bytes of no format it reads).
	bool ReadImageSize(const std::vector<std::uint8_t>& aBytes, std::uint32_t& aWidth, std::uint32_t& aHeight, std::string& aError);
}
