#pragma once
// An RGBA picture in floats that the art generators paint on: shapes given by
// signed distances (negative inside, in pixels) with soft edges, gradients and a
// seeded value noise for the painted look. Colours are sRGB values in 0..1 with
// straight alpha.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace NorvMedia
{
	struct Rgba
	{
		float r = 0, g = 0, b = 0, a = 1;
	};

	Rgba Mix(const Rgba& aFrom, const Rgba& aTo, float aAmount);
	Rgba Shade(const Rgba& aColor, float aFactor); // scales r, g, b
	Rgba Hex(std::uint32_t aRgb, float anAlpha = 1.0f);

	// Smooth noise in 0..1 with features about one unit apart.
	float ValueNoise(float x, float y, std::uint32_t aSeed);
	// Four octaves of value noise, 0..1.
	float Fbm(float x, float y, std::uint32_t aSeed);

	float CircleDistance(float x, float y, float cx, float cy, float aRadius);
	float EllipseDistance(float x, float y, float cx, float cy, float rx, float ry, float anAngle);
	float BoxDistance(float x, float y, float cx, float cy, float aHalfWidth, float aHalfHeight, float aCornerRadius);
	float CapsuleDistance(float x, float y, float ax, float ay, float bx, float by, float aRadius);
	// A petal or leaf: pointed at both ends, from (ax, ay) to (bx, by), aWidth across.
	float LeafDistance(float x, float y, float ax, float ay, float bx, float by, float aWidth);

	class Canvas
	{
	public:
		Canvas(int aWidth, int aHeight, Rgba aFill = { 0, 0, 0, 0 });

		int Width() const { return myWidth; }
		int Height() const { return myHeight; }
		Rgba& At(int x, int y) { return myPixels[static_cast<std::size_t>(y) * myWidth + x]; }
		const Rgba& At(int x, int y) const { return myPixels[static_cast<std::size_t>(y) * myWidth + x]; }

		// Source-over compositing of aColor with aCoverage (0..1) at one pixel.
		void Blend(int x, int y, const Rgba& aColor, float aCoverage);

		// Paints every pixel of the box whose centre lies inside aDistance(x, y),
		// edges softened over aFeather pixels; aColor(x, y) gives the paint.
		template <typename Distance, typename Paint>
		void Fill(float x0, float y0, float x1, float y1, float aFeather, Distance&& aDistance, Paint&& aColor)
		{
			const int someLeft = std::max(0, static_cast<int>(x0 - aFeather - 1));
			const int someTop = std::max(0, static_cast<int>(y0 - aFeather - 1));
			const int someRight = std::min(myWidth - 1, static_cast<int>(x1 + aFeather + 1));
			const int someBottom = std::min(myHeight - 1, static_cast<int>(y1 + aFeather + 1));
			for (int y = someTop; y <= someBottom; ++y)
				for (int x = someLeft; x <= someRight; ++x)
				{
					const float px = static_cast<float>(x) + 0.5f;
					const float py = static_cast<float>(y) + 0.5f;
					const float someCoverage = 0.5f - aDistance(px, py) / aFeather;
					if (someCoverage > 0.0f)
						Blend(x, y, aColor(px, py), std::min(1.0f, someCoverage));
				}
		}

		void FillCircle(float cx, float cy, float aRadius, const Rgba& aColor, float aFeather = 1.0f);
		void FillEllipse(float cx, float cy, float rx, float ry, float anAngle, const Rgba& aColor, float aFeather = 1.0f);
		void FillBox(float cx, float cy, float aHalfWidth, float aHalfHeight, float aCornerRadius, const Rgba& aColor, float aFeather = 1.0f);
		void FillCapsule(float ax, float ay, float bx, float by, float aRadius, const Rgba& aColor, float aFeather = 1.0f);
		void FillLeaf(float ax, float ay, float bx, float by, float aWidth, const Rgba& aColor, float aFeather = 1.0f);
		// A five-petal flower with a centre, turned by anAngle (radians).
		void FillFlower(float cx, float cy, float aRadius, float anAngle, const Rgba& aPetal, const Rgba& aCentre);

		// Top colour to bottom colour over the whole picture (replaces the pixels).
		void VerticalGradient(const Rgba& aTop, const Rgba& aBottom);
		// Brush texture: every visible pixel's colour varies by +/- anAmount with noise of aScale pixels.
		void Grain(float anAmount, float aScale, std::uint32_t aSeed);
		// Darkens towards the corners.
		void Vignette(float aStrength);
		// Composites anOther with its top-left corner at (x, y).
		void Draw(const Canvas& anOther, int x, int y, float anOpacity = 1.0f);

		std::vector<std::uint8_t> ToRgba8() const;
		void WritePng(const std::filesystem::path& aPath) const;

	private:
		int myWidth;
		int myHeight;
		std::vector<Rgba> myPixels;
	};
}
