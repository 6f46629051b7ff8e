// The texture loaders' CPU side, in the order the texture manager tries them:
// DDS, the image decoders (PNG, JPEG, GIF, BMP), Targa.
#include "FuzzTargets.h"
#include "Scratch.h"

#include "dds/DdsImage.h"
#include "kernel/Kernel.h"
#include "loaders/TargaLoader.h"
#include "wic/WicImage.h"

#include <string>
#include <vector>

namespace NorvFuzz
{
	namespace
	{
		// Small enough that the image decoders' scaling runs on most inputs that decode.
		constexpr std::uint32_t IMAGE_MAX_SIZE = 64;
		constexpr std::size_t RGBA_BYTES = 4;

		bool IsWithin(std::uint32_t aSize, std::uint32_t aLimit)
		{
			return aSize > 0 && aSize <= aLimit;
		}
	}

	bool RunDds(Input aInput)
	{
		// The first byte picks the loader flags, so the sRGB conversions run as well.
		const auto someFlags = static_cast<DirectX::DDS_LOADER_FLAGS>(aInput.empty() ? 0 : aInput[0] % 3);
		Platform::dds::DdsImage someImage;
		std::string someError;
		if (!Platform::dds::ReadDds({ aInput.begin(), aInput.end() }, someFlags, someImage, someError))
			return !someError.empty();
		if (!IsWithin(someImage.myWidth, Platform::dds::MAX_TEXTURE_DIMENSION) || !IsWithin(someImage.myHeight, Platform::dds::MAX_TEXTURE_DIMENSION)
			|| someImage.myMipCount == 0 || someImage.myArraySize == 0 || (someImage.myIsCube && someImage.myArraySize % 6 != 0)
			|| someImage.mySubresources.size() != std::size_t{ someImage.myMipCount } * someImage.myArraySize)
			return Inconsistent("an image size out of range");
		const std::uint32_t someElement = Platform::dds::GetElementSize(someImage.myFormat);
		const bool someIsCompressed = Platform::dds::IsBlockCompressed(someImage.myFormat);
		for (const Platform::dds::DdsSubresource& someLevel : someImage.mySubresources)
		{
			const std::uint32_t someColumns = someIsCompressed ? (someLevel.myWidth + 3) / 4 : someLevel.myWidth;
			const std::uint32_t someRows = someIsCompressed ? (someLevel.myHeight + 3) / 4 : someLevel.myHeight;
			if (someLevel.myRowPitch != someColumns * someElement || someLevel.mySize != std::size_t{ someLevel.myRowPitch } * someRows
				|| someLevel.myOffset > someImage.myBytes.size() || someImage.myBytes.size() - someLevel.myOffset < someLevel.mySize)
				return Inconsistent("a mip level past the file or unlike its size");
		}
		return true;
	}

	bool RunImage(Input aInput)
	{
		Platform::wic::WicImage someImage;
		std::string someError;
		if (!Platform::wic::DecodeImage({ aInput.begin(), aInput.end() }, IMAGE_MAX_SIZE, DirectX::WIC_LOADER_DEFAULT, someImage, someError))
			return !someError.empty();
		return (IsWithin(someImage.myWidth, IMAGE_MAX_SIZE) && IsWithin(someImage.myHeight, IMAGE_MAX_SIZE)
				   && someImage.myPixels.size() == std::size_t{ someImage.myWidth } * someImage.myHeight * RGBA_BYTES)
			|| Inconsistent("an image size out of range or unlike its pixels");
	}

	bool RunTarga(Input aInput)
	{
		const std::string somePath = WriteScratch("texture.tga", aInput).string();
		const std::unique_ptr<Norv::TargaImage> someImage = Norv::LoadTarga(Platform::Utf8ToWide(somePath));
		if (!someImage)
			return true;
		return (someImage->myBitsPerPixel == 32 && someImage->myPixels.size() == std::size_t{ someImage->myWidth } * someImage->myHeight * RGBA_BYTES)
			|| Inconsistent("an image unlike its pixels");
	}
}
