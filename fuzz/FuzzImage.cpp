// The image texture loader's decoders (PNG, JPEG, GIF, BMP) and their scaling.
#include "wic/WicImage.h"

#include <cstddef>
#include <cstdint>

namespace
{
	// Small enough that scaling runs on most inputs that decode.
	constexpr std::uint32_t MAX_SIZE = 64;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t aSize)
{
	const std::vector<std::uint8_t> someBytes(aData, aData + aSize);
	Platform::wic::WicImage someImage;
	std::string someError;
	if (Platform::wic::DecodeImage(someBytes, MAX_SIZE, DirectX::WIC_LOADER_DEFAULT, someImage, someError)
		&& someImage.myPixels.size() != std::size_t{ someImage.myWidth } * someImage.myHeight * 4)
		__builtin_trap(); // a decoded image always holds its pixels
	return 0;
}
