#include "Canvas.h"

#include "FileOutput.h"

#include <cmath>

namespace NorvMedia
{
	Rgba Mix(const Rgba& aFrom, const Rgba& aTo, float aAmount)
	{
		return { aFrom.r + (aTo.r - aFrom.r) * aAmount, aFrom.g + (aTo.g - aFrom.g) * aAmount, aFrom.b + (aTo.b - aFrom.b) * aAmount, aFrom.a + (aTo.a - aFrom.a) * aAmount };
	}

	Rgba Shade(const Rgba& aColor, float aFactor) { return { aColor.r * aFactor, aColor.g * aFactor, aColor.b * aFactor, aColor.a }; }

	Rgba Hex(std::uint32_t aRgb, float anAlpha)
	{
		return { static_cast<float>((aRgb >> 16) & 0xFF) / 255.0f, static_cast<float>((aRgb >> 8) & 0xFF) / 255.0f, static_cast<float>(aRgb & 0xFF) / 255.0f, anAlpha };
	}

	namespace
	{
		float Lattice(int x, int y, std::uint32_t aSeed)
		{
			std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u + aSeed * 2246822519u;
			h = (h ^ (h >> 13)) * 1274126177u;
			return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
		}

		float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }
	}

	float ValueNoise(float x, float y, std::uint32_t aSeed)
	{
		const float fx = std::floor(x);
		const float fy = std::floor(y);
		const int ix = static_cast<int>(fx);
		const int iy = static_cast<int>(fy);
		const float tx = Smooth(x - fx);
		const float ty = Smooth(y - fy);
		const float someTop = Lattice(ix, iy, aSeed) + (Lattice(ix + 1, iy, aSeed) - Lattice(ix, iy, aSeed)) * tx;
		const float someBottom = Lattice(ix, iy + 1, aSeed) + (Lattice(ix + 1, iy + 1, aSeed) - Lattice(ix, iy + 1, aSeed)) * tx;
		return someTop + (someBottom - someTop) * ty;
	}

	float Fbm(float x, float y, std::uint32_t aSeed)
	{
		float someSum = 0.0f;
		float someWeight = 0.5f;
		for (int i = 0; i < 4; ++i)
		{
			someSum += ValueNoise(x, y, aSeed + static_cast<std::uint32_t>(i)) * someWeight;
			x *= 2.03f;
			y *= 2.03f;
			someWeight *= 0.5f;
		}
		return someSum / 0.9375f;
	}

	float CircleDistance(float x, float y, float cx, float cy, float aRadius) { return std::hypot(x - cx, y - cy) - aRadius; }

	float EllipseDistance(float x, float y, float cx, float cy, float rx, float ry, float anAngle)
	{
		const float c = std::cos(anAngle);
		const float s = std::sin(anAngle);
		const float u = ((x - cx) * c + (y - cy) * s) / rx;
		const float v = (-(x - cx) * s + (y - cy) * c) / ry;
		return (std::hypot(u, v) - 1.0f) * std::min(rx, ry);
	}

	float BoxDistance(float x, float y, float cx, float cy, float aHalfWidth, float aHalfHeight, float aCornerRadius)
	{
		const float qx = std::abs(x - cx) - aHalfWidth + aCornerRadius;
		const float qy = std::abs(y - cy) - aHalfHeight + aCornerRadius;
		return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - aCornerRadius;
	}

	float CapsuleDistance(float x, float y, float ax, float ay, float bx, float by, float aRadius)
	{
		const float dx = bx - ax;
		const float dy = by - ay;
		const float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / std::max(1e-6f, dx * dx + dy * dy), 0.0f, 1.0f);
		return std::hypot(x - ax - dx * t, y - ay - dy * t) - aRadius;
	}

	float LeafDistance(float x, float y, float ax, float ay, float bx, float by, float aWidth)
	{
		const float dx = bx - ax;
		const float dy = by - ay;
		const float someLength = std::max(1e-3f, std::hypot(dx, dy));
		const float u = ((x - ax) * dx + (y - ay) * dy) / someLength; // along
		const float v = std::abs(-(x - ax) * dy + (y - ay) * dx) / someLength;
		const float t = std::clamp(u / someLength, 0.0f, 1.0f);
		const float someHalfWidth = aWidth * 0.5f * std::pow(std::sin(3.14159265f * t), 0.8f);
		const float someOutside = std::max(-u, u - someLength);
		return std::max(v - someHalfWidth, someOutside);
	}

	Canvas::Canvas(int aWidth, int aHeight, Rgba aFill)
		: myWidth(aWidth), myHeight(aHeight), myPixels(static_cast<std::size_t>(aWidth) * static_cast<std::size_t>(aHeight), aFill)
	{
	}

	void Canvas::Blend(int x, int y, const Rgba& aColor, float aCoverage)
	{
		Rgba& someDestination = At(x, y);
		const float someSource = std::clamp(aColor.a * aCoverage, 0.0f, 1.0f);
		if (someSource >= 1.0f)
		{
			someDestination = aColor;
			return;
		}
		const float someAlpha = someSource + someDestination.a * (1.0f - someSource);
		if (someAlpha <= 0.0f)
			return;
		const float someKeep = someDestination.a * (1.0f - someSource) / someAlpha;
		const float someTake = someSource / someAlpha;
		someDestination = { aColor.r * someTake + someDestination.r * someKeep, aColor.g * someTake + someDestination.g * someKeep,
			aColor.b * someTake + someDestination.b * someKeep, someAlpha };
	}

	void Canvas::FillCircle(float cx, float cy, float aRadius, const Rgba& aColor, float aFeather)
	{
		Fill(cx - aRadius, cy - aRadius, cx + aRadius, cy + aRadius, aFeather, [&](float x, float y) { return CircleDistance(x, y, cx, cy, aRadius); }, [&](float, float) { return aColor; });
	}

	void Canvas::FillEllipse(float cx, float cy, float rx, float ry, float anAngle, const Rgba& aColor, float aFeather)
	{
		const float r = std::max(rx, ry);
		Fill(cx - r, cy - r, cx + r, cy + r, aFeather, [&](float x, float y) { return EllipseDistance(x, y, cx, cy, rx, ry, anAngle); }, [&](float, float) { return aColor; });
	}

	void Canvas::FillBox(float cx, float cy, float aHalfWidth, float aHalfHeight, float aCornerRadius, const Rgba& aColor, float aFeather)
	{
		Fill(cx - aHalfWidth, cy - aHalfHeight, cx + aHalfWidth, cy + aHalfHeight, aFeather,
			[&](float x, float y) { return BoxDistance(x, y, cx, cy, aHalfWidth, aHalfHeight, aCornerRadius); }, [&](float, float) { return aColor; });
	}

	void Canvas::FillCapsule(float ax, float ay, float bx, float by, float aRadius, const Rgba& aColor, float aFeather)
	{
		Fill(std::min(ax, bx) - aRadius, std::min(ay, by) - aRadius, std::max(ax, bx) + aRadius, std::max(ay, by) + aRadius, aFeather,
			[&](float x, float y) { return CapsuleDistance(x, y, ax, ay, bx, by, aRadius); }, [&](float, float) { return aColor; });
	}

	void Canvas::FillLeaf(float ax, float ay, float bx, float by, float aWidth, const Rgba& aColor, float aFeather)
	{
		const float r = aWidth * 0.5f;
		// Lit along one side: the leaf reads as a rounded shape, not a flat cut-out.
		const float dx = bx - ax;
		const float dy = by - ay;
		const float someLength = std::max(1e-3f, std::hypot(dx, dy));
		Fill(std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r, aFeather,
			[&](float x, float y) { return LeafDistance(x, y, ax, ay, bx, by, aWidth); },
			[&](float x, float y) {
				const float v = (-(x - ax) * dy + (y - ay) * dx) / someLength / std::max(1.0f, r);
				return Shade(aColor, 1.0f + 0.18f * std::clamp(v, -1.0f, 1.0f));
			});
	}

	void Canvas::FillFlower(float cx, float cy, float aRadius, float anAngle, const Rgba& aPetal, const Rgba& aCentre)
	{
		for (int i = 0; i < 5; ++i)
		{
			const float a = anAngle + static_cast<float>(i) * 2.0f * 3.14159265f / 5.0f;
			FillEllipse(cx + std::cos(a) * aRadius * 0.55f, cy + std::sin(a) * aRadius * 0.55f, aRadius * 0.5f, aRadius * 0.32f, a, aPetal);
		}
		FillCircle(cx, cy, aRadius * 0.28f, aCentre);
	}

	void Canvas::VerticalGradient(const Rgba& aTop, const Rgba& aBottom)
	{
		for (int y = 0; y < myHeight; ++y)
		{
			const Rgba someColor = Mix(aTop, aBottom, static_cast<float>(y) / static_cast<float>(std::max(1, myHeight - 1)));
			for (int x = 0; x < myWidth; ++x)
				At(x, y) = someColor;
		}
	}

	void Canvas::Grain(float anAmount, float aScale, std::uint32_t aSeed)
	{
		for (int y = 0; y < myHeight; ++y)
			for (int x = 0; x < myWidth; ++x)
			{
				Rgba& somePixel = At(x, y);
				if (somePixel.a <= 0.0f)
					continue;
				// Stretched noise reads as brush strokes running across the picture.
				const float someStroke = Fbm(static_cast<float>(x) / (aScale * 3.0f), static_cast<float>(y) / aScale, aSeed);
				const float someFactor = 1.0f + (someStroke - 0.5f) * 2.0f * anAmount;
				somePixel.r *= someFactor;
				somePixel.g *= someFactor;
				somePixel.b *= someFactor;
			}
	}

	void Canvas::Vignette(float aStrength)
	{
		for (int y = 0; y < myHeight; ++y)
			for (int x = 0; x < myWidth; ++x)
			{
				const float u = static_cast<float>(x) / myWidth - 0.5f;
				const float v = static_cast<float>(y) / myHeight - 0.5f;
				const float someFactor = 1.0f - aStrength * std::clamp((u * u + v * v) * 2.0f, 0.0f, 1.0f);
				Rgba& somePixel = At(x, y);
				somePixel = Shade(somePixel, someFactor);
			}
	}

	void Canvas::Draw(const Canvas& anOther, int x, int y, float anOpacity)
	{
		const int someLeft = std::max(0, -x);
		const int someTop = std::max(0, -y);
		const int someRight = std::min(anOther.Width(), myWidth - x);
		const int someBottom = std::min(anOther.Height(), myHeight - y);
		for (int sy = someTop; sy < someBottom; ++sy)
			for (int sx = someLeft; sx < someRight; ++sx)
			{
				const Rgba& someSource = anOther.At(sx, sy);
				if (someSource.a > 0.0f)
					Blend(x + sx, y + sy, someSource, anOpacity);
			}
	}

	std::vector<std::uint8_t> Canvas::ToRgba8() const
	{
		std::vector<std::uint8_t> someBytes(myPixels.size() * 4, 0);
		const auto toByte = [](float aValue) { return static_cast<std::uint8_t>(std::clamp(aValue, 0.0f, 1.0f) * 255.0f + 0.5f); };
		for (std::size_t i = 0; i < myPixels.size(); ++i)
		{
			// Fully transparent pixels stay zero, so equal pictures give equal bytes.
			const Rgba& somePixel = myPixels[i];
			if (somePixel.a <= 0.0f)
				continue;
			someBytes[i * 4] = toByte(somePixel.r);
			someBytes[i * 4 + 1] = toByte(somePixel.g);
			someBytes[i * 4 + 2] = toByte(somePixel.b);
			someBytes[i * 4 + 3] = toByte(somePixel.a);
		}
		return someBytes;
	}

	void Canvas::WritePng(const std::filesystem::path& aPath) const
	{
		const std::vector<std::uint8_t> someBytes = ToRgba8();
		WriteFileAtomically(aPath, EncodePng(myWidth, myHeight, someBytes));
	}
}
