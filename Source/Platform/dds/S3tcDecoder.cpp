#include "dds/S3tcDecoder.h"

#include <array>
#include <cstring>

namespace Platform::dds
{
	namespace
	{
		constexpr std::uint32_t BLOCK_EDGE = 4;
		constexpr std::uint32_t BLOCK_TEXELS = BLOCK_EDGE * BLOCK_EDGE;

		using Rgba = std::array<std::uint8_t, 4>;
		using BlockTexels = std::array<Rgba, BLOCK_TEXELS>;

		std::uint16_t ReadU16(const std::uint8_t* aBytes)
		{
			return static_cast<std::uint16_t>(aBytes[0] | aBytes[1] << 8);
		}

		Rgba Expand565(std::uint16_t aColor)
		{
			const std::uint32_t someRed = aColor >> 11;
			const std::uint32_t someGreen = (aColor >> 5) & 0x3F;
			const std::uint32_t someBlue = aColor & 0x1F;
			return { static_cast<std::uint8_t>(someRed << 3 | someRed >> 2), static_cast<std::uint8_t>(someGreen << 2 | someGreen >> 4),
				static_cast<std::uint8_t>(someBlue << 3 | someBlue >> 2), 255 };
		}

		// aNumerator / aDenominator of the way from aFrom to aTo, per colour channel.
		Rgba Mix(const Rgba& aFrom, const Rgba& aTo, std::uint32_t aNumerator, std::uint32_t aDenominator)
		{
			Rgba someMixed{ 0, 0, 0, 255 };
			for (int someChannel = 0; someChannel < 3; ++someChannel)
				someMixed[someChannel] = static_cast<std::uint8_t>((aFrom[someChannel] * (aDenominator - aNumerator) + aTo[someChannel] * aNumerator) / aDenominator);
			return someMixed;
		}

		// The colour half of every S3TC block. BC1 alone has the three-colour mode
		// with transparent black, chosen when the first endpoint is not the larger.
		void DecodeColors(const std::uint8_t* aBlock, bool aAllowsThreeColors, BlockTexels& aTexels)
		{
			const std::uint16_t someFirst = ReadU16(aBlock);
			const std::uint16_t someSecond = ReadU16(aBlock + 2);
			std::array<Rgba, 4> somePalette{ Expand565(someFirst), Expand565(someSecond) };
			if (someFirst > someSecond || !aAllowsThreeColors)
			{
				somePalette[2] = Mix(somePalette[0], somePalette[1], 1, 3);
				somePalette[3] = Mix(somePalette[0], somePalette[1], 2, 3);
			}
			else
			{
				somePalette[2] = Mix(somePalette[0], somePalette[1], 1, 2);
				somePalette[3] = { 0, 0, 0, 0 };
			}
			std::uint32_t someIndices = 0;
			std::memcpy(&someIndices, aBlock + 4, sizeof(someIndices));
			for (std::uint32_t someTexel = 0; someTexel < BLOCK_TEXELS; ++someTexel)
				aTexels[someTexel] = somePalette[(someIndices >> (2 * someTexel)) & 0x3];
		}

		// BC2: sixteen explicit 4-bit alphas.
		void DecodeExplicitAlpha(const std::uint8_t* aBlock, BlockTexels& aTexels)
		{
			for (std::uint32_t someTexel = 0; someTexel < BLOCK_TEXELS; ++someTexel)
			{
				const std::uint32_t someNibble = (aBlock[someTexel / 2] >> (4 * (someTexel % 2))) & 0xF;
				aTexels[someTexel][3] = static_cast<std::uint8_t>(someNibble * 17);
			}
		}

		// BC3: two alpha endpoints and 3-bit indices into eight interpolated levels
		// (or six, plus 0 and 255, when the first endpoint is not the larger).
		void DecodeInterpolatedAlpha(const std::uint8_t* aBlock, BlockTexels& aTexels)
		{
			const std::uint32_t someFirst = aBlock[0];
			const std::uint32_t someSecond = aBlock[1];
			std::array<std::uint8_t, 8> someLevels{ static_cast<std::uint8_t>(someFirst), static_cast<std::uint8_t>(someSecond) };
			const std::uint32_t someSteps = someFirst > someSecond ? 7 : 5;
			for (std::uint32_t someStep = 1; someStep < someSteps; ++someStep)
				someLevels[someStep + 1] = static_cast<std::uint8_t>((someFirst * (someSteps - someStep) + someSecond * someStep) / someSteps);
			if (someSteps == 5)
			{
				someLevels[6] = 0;
				someLevels[7] = 255;
			}
			std::uint64_t someIndices = 0;
			for (int someByte = 0; someByte < 6; ++someByte)
				someIndices |= std::uint64_t{ aBlock[2 + someByte] } << (8 * someByte);
			for (std::uint32_t someTexel = 0; someTexel < BLOCK_TEXELS; ++someTexel)
				aTexels[someTexel][3] = someLevels[(someIndices >> (3 * someTexel)) & 0x7];
		}
	}

	bool IsS3tc(DXGI_FORMAT aFormat)
	{
		switch (aFormat)
		{
		case DXGI_FORMAT_BC1_UNORM: case DXGI_FORMAT_BC1_UNORM_SRGB:
		case DXGI_FORMAT_BC2_UNORM: case DXGI_FORMAT_BC2_UNORM_SRGB:
		case DXGI_FORMAT_BC3_UNORM: case DXGI_FORMAT_BC3_UNORM_SRGB:
			return true;
		default:
			return false;
		}
	}

	std::vector<std::uint8_t> DecodeS3tc(DXGI_FORMAT aFormat, const std::uint8_t* aBlocks, std::uint32_t aWidth, std::uint32_t aHeight, std::uint32_t aRowPitch)
	{
		const bool someIsBc1 = aFormat == DXGI_FORMAT_BC1_UNORM || aFormat == DXGI_FORMAT_BC1_UNORM_SRGB;
		const bool someIsBc2 = aFormat == DXGI_FORMAT_BC2_UNORM || aFormat == DXGI_FORMAT_BC2_UNORM_SRGB;
		const std::uint32_t someBlockSize = GetElementSize(aFormat);
		std::vector<std::uint8_t> someRgba(std::size_t{ aWidth } * aHeight * 4);
		BlockTexels someTexels{};
		for (std::uint32_t someBlockY = 0; someBlockY * BLOCK_EDGE < aHeight; ++someBlockY)
		{
			for (std::uint32_t someBlockX = 0; someBlockX * BLOCK_EDGE < aWidth; ++someBlockX)
			{
				const std::uint8_t* someBlock = aBlocks + std::size_t{ someBlockY } * aRowPitch + std::size_t{ someBlockX } * someBlockSize;
				const std::uint8_t* someColorBlock = someIsBc1 ? someBlock : someBlock + 8;
				DecodeColors(someColorBlock, someIsBc1, someTexels);
				if (someIsBc2)
					DecodeExplicitAlpha(someBlock, someTexels);
				else if (!someIsBc1)
					DecodeInterpolatedAlpha(someBlock, someTexels);

				for (std::uint32_t someTexel = 0; someTexel < BLOCK_TEXELS; ++someTexel)
				{
					const std::uint32_t someX = someBlockX * BLOCK_EDGE + someTexel % BLOCK_EDGE;
					const std::uint32_t someY = someBlockY * BLOCK_EDGE + someTexel / BLOCK_EDGE;
					if (someX < aWidth && someY < aHeight)
						std::memcpy(&someRgba[(std::size_t{ someY } * aWidth + someX) * 4], someTexels[someTexel].data(), 4);
				}
			}
		}
		return someRgba;
	}
}
