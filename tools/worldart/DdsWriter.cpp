#include "DdsWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace NorvArt
{
	namespace
	{
		constexpr std::uint32_t DDSD_CAPS = 0x1, DDSD_HEIGHT = 0x2, DDSD_WIDTH = 0x4, DDSD_PITCH = 0x8, DDSD_PIXELFORMAT = 0x1000, DDSD_MIPMAPCOUNT = 0x20000;
		constexpr std::uint32_t DDPF_ALPHAPIXELS = 0x1, DDPF_RGB = 0x40;
		constexpr std::uint32_t DDSCAPS_COMPLEX = 0x8, DDSCAPS_TEXTURE = 0x1000, DDSCAPS_MIPMAP = 0x400000;
		constexpr std::uint32_t DDSCAPS2_CUBEMAP_ALL_FACES = 0x200 | 0xFC00;

		void PutU32(std::string& aBytes, size_t aOffset, std::uint32_t aValue)
		{
			for (int i = 0; i < 4; ++i)
				aBytes[aOffset + static_cast<size_t>(i)] = static_cast<char>((aValue >> (8 * i)) & 0xFF);
		}

		std::uint32_t FullChain(std::uint32_t aWidth, std::uint32_t aHeight)
		{
			std::uint32_t someCount = 1;
			for (std::uint32_t someEdge = std::max(aWidth, aHeight); someEdge > 1; someEdge /= 2)
				++someCount;
			return someCount;
		}

		std::string Header(std::uint32_t aWidth, std::uint32_t aHeight, std::uint32_t aMipCount, std::uint32_t aCaps2)
		{
			std::string someBytes(128, '\0');
			std::memcpy(someBytes.data(), "DDS ", 4);
			PutU32(someBytes, 4, 124);
			PutU32(someBytes, 8, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_MIPMAPCOUNT);
			PutU32(someBytes, 12, aHeight);
			PutU32(someBytes, 16, aWidth);
			PutU32(someBytes, 20, aWidth * 4);
			PutU32(someBytes, 28, aMipCount);
			PutU32(someBytes, 76, 32);
			PutU32(someBytes, 80, DDPF_RGB | DDPF_ALPHAPIXELS);
			PutU32(someBytes, 88, 32);
			PutU32(someBytes, 92, 0x00FF0000);
			PutU32(someBytes, 96, 0x0000FF00);
			PutU32(someBytes, 100, 0x000000FF);
			PutU32(someBytes, 104, 0xFF000000);
			const bool someIsComplex = aMipCount > 1 || aCaps2 != 0;
			PutU32(someBytes, 108, DDSCAPS_TEXTURE | (someIsComplex ? DDSCAPS_COMPLEX : 0) | (aMipCount > 1 ? DDSCAPS_MIPMAP : 0));
			PutU32(someBytes, 112, aCaps2);
			return someBytes;
		}

		// The image and its mips as BGRA bytes.
		void AppendChain(std::string& aOut, const Image& aImage, std::uint32_t aMipCount)
		{
			Image someLevel = aImage;
			for (std::uint32_t someMip = 0; someMip < aMipCount; ++someMip)
			{
				const std::vector<std::uint8_t>& someRgba = someLevel.Bytes();
				for (size_t i = 0; i < someRgba.size(); i += 4)
				{
					aOut.push_back(static_cast<char>(someRgba[i + 2]));
					aOut.push_back(static_cast<char>(someRgba[i + 1]));
					aOut.push_back(static_cast<char>(someRgba[i + 0]));
					aOut.push_back(static_cast<char>(someRgba[i + 3]));
				}
				if (someMip + 1 < aMipCount)
					someLevel = HalveImage(someLevel);
			}
		}

		std::uint32_t ChosenChain(const Image& aImage, std::uint32_t aMipCount)
		{
			const std::uint32_t someFull = FullChain(aImage.Width(), aImage.Height());
			return aMipCount == 0 ? someFull : std::min(aMipCount, someFull);
		}
	}

	Image HalveImage(const Image& aImage)
	{
		const std::uint32_t someWidth = std::max(1u, aImage.Width() / 2), someHeight = std::max(1u, aImage.Height() / 2);
		Image someHalf(someWidth, someHeight);
		for (std::uint32_t y = 0; y < someHeight; ++y)
			for (std::uint32_t x = 0; x < someWidth; ++x)
			{
				Rgba someSum{ 0, 0, 0, 0 };
				for (std::uint32_t k = 0; k < 4; ++k)
				{
					const Rgba c = aImage.Get(std::min(aImage.Width() - 1, 2 * x + (k & 1)), std::min(aImage.Height() - 1, 2 * y + (k >> 1)));
					someSum = { someSum.r + c.r * 0.25f, someSum.g + c.g * 0.25f, someSum.b + c.b * 0.25f, someSum.a + c.a * 0.25f };
				}
				someHalf.Set(x, y, someSum);
			}
		return someHalf;
	}

	std::string WriteDds(const Image& aImage, std::uint32_t aMipCount)
	{
		const std::uint32_t someMips = ChosenChain(aImage, aMipCount);
		std::string someBytes = Header(aImage.Width(), aImage.Height(), someMips, 0);
		AppendChain(someBytes, aImage, someMips);
		return someBytes;
	}

	std::string WriteCubeDds(const std::array<Image, 6>& aFaces, std::uint32_t aMipCount)
	{
		for (const Image& someFace : aFaces)
			if (someFace.Width() != aFaces[0].Width() || someFace.Height() != aFaces[0].Width())
				throw std::invalid_argument("cube faces must be square and of one size");
		const std::uint32_t someMips = ChosenChain(aFaces[0], aMipCount);
		std::string someBytes = Header(aFaces[0].Width(), aFaces[0].Height(), someMips, DDSCAPS2_CUBEMAP_ALL_FACES);
		for (const Image& someFace : aFaces)
			AppendChain(someBytes, someFace, someMips);
		return someBytes;
	}
}
