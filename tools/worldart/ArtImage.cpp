#include "ArtImage.h"

#include <algorithm>
#include <cmath>

namespace NorvArt
{
	float Clamp01(float aValue)
	{
		return std::clamp(aValue, 0.0f, 1.0f);
	}

	float SmoothStep(float aEdge0, float aEdge1, float aValue)
	{
		const float t = Clamp01((aValue - aEdge0) / (aEdge1 - aEdge0));
		return t * t * (3.0f - 2.0f * t);
	}

	Rgba Mix(const Rgba& aFrom, const Rgba& aTo, float aT)
	{
		return { aFrom.r + (aTo.r - aFrom.r) * aT, aFrom.g + (aTo.g - aFrom.g) * aT, aFrom.b + (aTo.b - aFrom.b) * aT, aFrom.a + (aTo.a - aFrom.a) * aT };
	}

	Rgba Scaled(const Rgba& aColor, float aFactor)
	{
		return { aColor.r * aFactor, aColor.g * aFactor, aColor.b * aFactor, aColor.a };
	}

	Rgba Hex(std::uint32_t aRgb, float aAlpha)
	{
		return { static_cast<float>((aRgb >> 16) & 0xFF) / 255.0f, static_cast<float>((aRgb >> 8) & 0xFF) / 255.0f, static_cast<float>(aRgb & 0xFF) / 255.0f, aAlpha };
	}

	Image::Image(std::uint32_t aWidth, std::uint32_t aHeight, const Rgba& aFill)
		: myWidth(aWidth), myHeight(aHeight), myBytes(static_cast<size_t>(aWidth) * aHeight * 4)
	{
		for (std::uint32_t y = 0; y < aHeight; ++y)
			for (std::uint32_t x = 0; x < aWidth; ++x)
				Set(x, y, aFill);
	}

	void Image::Set(std::uint32_t aX, std::uint32_t aY, const Rgba& aColor)
	{
		std::uint8_t* somePixel = &myBytes[(static_cast<size_t>(aY) * myWidth + aX) * 4];
		const float someChannels[4] = { aColor.r, aColor.g, aColor.b, aColor.a };
		for (int c = 0; c < 4; ++c)
			somePixel[c] = static_cast<std::uint8_t>(std::lround(Clamp01(someChannels[c]) * 255.0f));
	}

	Rgba Image::Get(std::uint32_t aX, std::uint32_t aY) const
	{
		const std::uint8_t* somePixel = &myBytes[(static_cast<size_t>(aY) * myWidth + aX) * 4];
		return { somePixel[0] / 255.0f, somePixel[1] / 255.0f, somePixel[2] / 255.0f, somePixel[3] / 255.0f };
	}

	void Image::Blend(std::uint32_t aX, std::uint32_t aY, const Rgba& aColor, float aCoverage)
	{
		const Rgba someBelow = Get(aX, aY);
		const float someAlpha = Clamp01(aColor.a * aCoverage);
		const float someOut = someAlpha + someBelow.a * (1.0f - someAlpha);
		if (someOut <= 0.0f)
			return;
		auto Channel = [&](float aTop, float aBottom) { return (aTop * someAlpha + aBottom * someBelow.a * (1.0f - someAlpha)) / someOut; };
		Set(aX, aY, { Channel(aColor.r, someBelow.r), Channel(aColor.g, someBelow.g), Channel(aColor.b, someBelow.b), someOut });
	}

	void Image::Disc(float aCx, float aCy, float aRadius, float aSoftness, const Rgba& aColor)
	{
		Disc(aCx, aCy, aRadius, aSoftness, aColor, { 0, 0, static_cast<int>(myWidth), static_cast<int>(myHeight) });
	}

	void Image::Disc(float aCx, float aCy, float aRadius, float aSoftness, const Rgba& aColor, const std::array<int, 4>& aClip)
	{
		const float someReach = aRadius + aSoftness;
		const int someX0 = std::max(aClip[0], static_cast<int>(std::floor(aCx - someReach)));
		const int someY0 = std::max(aClip[1], static_cast<int>(std::floor(aCy - someReach)));
		const int someX1 = std::min(aClip[2], static_cast<int>(std::ceil(aCx + someReach)) + 1);
		const int someY1 = std::min(aClip[3], static_cast<int>(std::ceil(aCy + someReach)) + 1);
		for (int y = someY0; y < someY1; ++y)
			for (int x = someX0; x < someX1; ++x)
			{
				const float someDistance = std::hypot(static_cast<float>(x) + 0.5f - aCx, static_cast<float>(y) + 0.5f - aCy);
				const float someCoverage = aSoftness > 0.0f ? 1.0f - SmoothStep(aRadius - aSoftness, aRadius + aSoftness, someDistance) : (someDistance <= aRadius ? 1.0f : 0.0f);
				if (someCoverage > 0.0f)
					Blend(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), aColor, someCoverage);
			}
	}

	float Hash01(std::uint32_t aX, std::uint32_t aY, std::uint32_t aSeed)
	{
		std::uint32_t h = aX * 0x8da6b343u ^ aY * 0xd8163841u ^ aSeed * 0xcb1ab31fu;
		h ^= h >> 13;
		h *= 0x5bd1e995u;
		h ^= h >> 15;
		return static_cast<float>(h & 0xFFFFFFu) / static_cast<float>(0xFFFFFF);
	}

	float ValueNoise(float aX, float aY, float aCell, std::uint32_t aSeed)
	{
		const float someX = aX / aCell, someY = aY / aCell;
		const float someFloorX = std::floor(someX), someFloorY = std::floor(someY);
		const auto someIx = static_cast<std::uint32_t>(static_cast<std::int32_t>(someFloorX));
		const auto someIy = static_cast<std::uint32_t>(static_cast<std::int32_t>(someFloorY));
		const float tx = SmoothStep(0.0f, 1.0f, someX - someFloorX), ty = SmoothStep(0.0f, 1.0f, someY - someFloorY);
		const float someTop = Hash01(someIx, someIy, aSeed) + (Hash01(someIx + 1, someIy, aSeed) - Hash01(someIx, someIy, aSeed)) * tx;
		const float someBottom = Hash01(someIx, someIy + 1, aSeed) + (Hash01(someIx + 1, someIy + 1, aSeed) - Hash01(someIx, someIy + 1, aSeed)) * tx;
		return someTop + (someBottom - someTop) * ty;
	}
}
