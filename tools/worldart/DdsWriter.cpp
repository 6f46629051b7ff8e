#include "DdsWriter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace NorvArt
{
	namespace
	{
		constexpr std::uint32_t DDSD_CAPS = 0x1, DDSD_HEIGHT = 0x2, DDSD_WIDTH = 0x4, DDSD_PITCH = 0x8, DDSD_PIXELFORMAT = 0x1000, DDSD_MIPMAPCOUNT = 0x20000;
		constexpr std::uint32_t DDSD_LINEARSIZE = 0x80000;
		constexpr std::uint32_t DDPF_ALPHAPIXELS = 0x1, DDPF_FOURCC = 0x4, DDPF_RGB = 0x40;
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

		// aIsBc3: a "DXT5" four-character code instead of the B8G8R8A8 masks.
		std::string Header(std::uint32_t aWidth, std::uint32_t aHeight, std::uint32_t aMipCount, std::uint32_t aCaps2, bool aIsBc3 = false)
		{
			std::string someBytes(128, '\0');
			std::memcpy(someBytes.data(), "DDS ", 4);
			PutU32(someBytes, 4, 124);
			PutU32(someBytes, 8, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_MIPMAPCOUNT | (aIsBc3 ? DDSD_LINEARSIZE : DDSD_PITCH));
			PutU32(someBytes, 12, aHeight);
			PutU32(someBytes, 16, aWidth);
			PutU32(someBytes, 20, aIsBc3 ? std::max(1u, (aWidth + 3) / 4) * std::max(1u, (aHeight + 3) / 4) * 16 : aWidth * 4);
			PutU32(someBytes, 28, aMipCount);
			PutU32(someBytes, 76, 32);
			if (aIsBc3)
			{
				PutU32(someBytes, 80, DDPF_FOURCC);
				std::memcpy(someBytes.data() + 84, "DXT5", 4);
			}
			else
			{
				PutU32(someBytes, 80, DDPF_RGB | DDPF_ALPHAPIXELS);
				PutU32(someBytes, 88, 32);
				PutU32(someBytes, 92, 0x00FF0000);
				PutU32(someBytes, 96, 0x0000FF00);
				PutU32(someBytes, 100, 0x000000FF);
				PutU32(someBytes, 104, 0xFF000000);
			}
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

	std::array<std::uint8_t, 16> EncodeBc3Block(const Image& aImage, std::uint32_t aX, std::uint32_t aY)
	{
		const std::vector<std::uint8_t>& someRgba = aImage.Bytes();
		std::array<std::array<int, 4>, 16> someTexels{};
		for (std::uint32_t i = 0; i < 16; ++i)
		{
			const std::uint32_t x = std::min(aImage.Width() - 1, aX + i % 4), y = std::min(aImage.Height() - 1, aY + i / 4);
			const size_t o = (static_cast<size_t>(y) * aImage.Width() + x) * 4;
			someTexels[i] = { someRgba[o], someRgba[o + 1], someRgba[o + 2], someRgba[o + 3] };
		}
		std::array<std::uint8_t, 16> someBlock{};

		// Alpha: two endpoints (largest first: the eight-value mode) and 3-bit indices.
		int someHigh = 0, someLow = 255;
		for (const auto& t : someTexels)
		{
			someHigh = std::max(someHigh, t[3]);
			someLow = std::min(someLow, t[3]);
		}
		someBlock[0] = static_cast<std::uint8_t>(someHigh);
		someBlock[1] = static_cast<std::uint8_t>(someLow);
		std::uint64_t someAlphaBits = 0;
		if (someHigh > someLow)
			for (std::uint32_t i = 0; i < 16; ++i)
			{
				int someBest = 0, someBestError = 1 << 30;
				for (int code = 0; code < 8; ++code)
				{
					const int someValue = code == 0 ? someHigh : code == 1 ? someLow : ((8 - code) * someHigh + (code - 1) * someLow) / 7;
					const int someError = std::abs(someValue - someTexels[i][3]);
					if (someError < someBestError)
					{
						someBest = code;
						someBestError = someError;
					}
				}
				someAlphaBits |= static_cast<std::uint64_t>(someBest) << (3 * i);
			}
		for (int b = 0; b < 6; ++b)
			someBlock[static_cast<size_t>(2 + b)] = static_cast<std::uint8_t>((someAlphaBits >> (8 * b)) & 0xFF);

		// Colour: the two visible texels farthest apart as R5G6B5 endpoints, 2-bit indices.
		std::array<int, 3> someMax{ 0, 0, 0 }, someMin{ 0, 0, 0 };
		int someSpread = -1;
		for (std::uint32_t i = 0; i < 16; ++i)
			for (std::uint32_t j = i; j < 16; ++j)
			{
				if (someTexels[i][3] == 0 || someTexels[j][3] == 0)
					continue;
				int someDistance = 0;
				for (size_t c = 0; c < 3; ++c)
					someDistance += (someTexels[i][c] - someTexels[j][c]) * (someTexels[i][c] - someTexels[j][c]);
				if (someDistance > someSpread)
				{
					someSpread = someDistance;
					someMax = { someTexels[i][0], someTexels[i][1], someTexels[i][2] };
					someMin = { someTexels[j][0], someTexels[j][1], someTexels[j][2] };
				}
			}
		const auto To565 = [](const std::array<int, 3>& c) { return static_cast<std::uint16_t>(((c[0] >> 3) << 11) | ((c[1] >> 2) << 5) | (c[2] >> 3)); };
		const auto From565 = [](std::uint16_t v) {
			return std::array<int, 3>{ ((v >> 11) & 31) * 255 / 31, ((v >> 5) & 63) * 255 / 63, (v & 31) * 255 / 31 };
		};
		const std::uint16_t c0 = To565(someMax), c1 = To565(someMin);
		const std::array<int, 3> e0 = From565(c0), e1 = From565(c1);
		std::array<std::array<int, 3>, 4> someColors{ e0, e1, {}, {} };
		for (size_t c = 0; c < 3; ++c)
		{
			someColors[2][c] = (2 * e0[c] + e1[c]) / 3;
			someColors[3][c] = (e0[c] + 2 * e1[c]) / 3;
		}
		std::uint32_t someColorBits = 0;
		for (std::uint32_t i = 0; i < 16; ++i)
		{
			int someBest = 0, someBestError = 1 << 30;
			for (int code = 0; code < 4; ++code)
			{
				int someError = 0;
				for (size_t c = 0; c < 3; ++c)
					someError += (someColors[static_cast<size_t>(code)][c] - someTexels[i][c]) * (someColors[static_cast<size_t>(code)][c] - someTexels[i][c]);
				if (someError < someBestError)
				{
					someBest = code;
					someBestError = someError;
				}
			}
			someColorBits |= static_cast<std::uint32_t>(someBest) << (2 * i);
		}
		someBlock[8] = static_cast<std::uint8_t>(c0 & 0xFF);
		someBlock[9] = static_cast<std::uint8_t>(c0 >> 8);
		someBlock[10] = static_cast<std::uint8_t>(c1 & 0xFF);
		someBlock[11] = static_cast<std::uint8_t>(c1 >> 8);
		for (int b = 0; b < 4; ++b)
			someBlock[static_cast<size_t>(12 + b)] = static_cast<std::uint8_t>((someColorBits >> (8 * b)) & 0xFF);
		return someBlock;
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

	std::string WriteBc3Dds(const Image& aImage, std::uint32_t aMipCount)
	{
		const std::uint32_t someMips = ChosenChain(aImage, aMipCount);
		std::string someBytes = Header(aImage.Width(), aImage.Height(), someMips, 0, true);
		Image someLevel = aImage;
		for (std::uint32_t someMip = 0; someMip < someMips; ++someMip)
		{
			for (std::uint32_t y = 0; y < someLevel.Height(); y += 4)
				for (std::uint32_t x = 0; x < someLevel.Width(); x += 4)
				{
					const std::array<std::uint8_t, 16> someBlock = EncodeBc3Block(someLevel, x, y);
					someBytes.append(reinterpret_cast<const char*>(someBlock.data()), someBlock.size());
				}
			if (someMip + 1 < someMips)
				someLevel = HalveImage(someLevel);
		}
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
