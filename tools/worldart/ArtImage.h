#pragma once
// RGBA8 images painted by the art generators, with the few drawing helpers they
// share: hashed value noise (the same on every run), soft discs and colour mixes.
#include <array>
#include <cstdint>
#include <vector>

namespace NorvArt
{
	struct Rgba
	{
		float r = 0, g = 0, b = 0, a = 1; // 0..1, sRGB as painted
	};

	Rgba Mix(const Rgba& aFrom, const Rgba& aTo, float aT);
	Rgba Scaled(const Rgba& aColor, float aFactor); // rgb times aFactor, alpha kept
	Rgba Hex(std::uint32_t aRgb, float aAlpha = 1.0f);

	class Image
	{
	public:
		Image(std::uint32_t aWidth, std::uint32_t aHeight, const Rgba& aFill = { 0, 0, 0, 0 });

		std::uint32_t Width() const { return myWidth; }
		std::uint32_t Height() const { return myHeight; }
		void Set(std::uint32_t aX, std::uint32_t aY, const Rgba& aColor);
		Rgba Get(std::uint32_t aX, std::uint32_t aY) const;
		// Source-over blend of aColor with its alpha times aCoverage.
		void Blend(std::uint32_t aX, std::uint32_t aY, const Rgba& aColor, float aCoverage = 1.0f);
		// A disc with a soft edge of aSoftness pixels, clipped to the rectangle [aX0, aX1) x [aY0, aY1).
		void Disc(float aCx, float aCy, float aRadius, float aSoftness, const Rgba& aColor, const std::array<int, 4>& aClip);
		void Disc(float aCx, float aCy, float aRadius, float aSoftness, const Rgba& aColor);

		// 8-bit RGBA rows, top row first.
		const std::vector<std::uint8_t>& Bytes() const { return myBytes; }

	private:
		std::uint32_t myWidth, myHeight;
		std::vector<std::uint8_t> myBytes;
	};

	// Deterministic value noise in 0..1 over a lattice of aCell pixels, aSeed picks the field.
	float ValueNoise(float aX, float aY, float aCell, std::uint32_t aSeed);
	float Hash01(std::uint32_t aX, std::uint32_t aY, std::uint32_t aSeed);
	float Clamp01(float aValue);
	float SmoothStep(float aEdge0, float aEdge1, float aValue);
}
