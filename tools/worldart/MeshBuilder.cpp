#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace NorvArt
{
	namespace
	{
		constexpr double PI = 3.14159265358979323846;
		constexpr int PALETTE_COLUMNS = 8;
		constexpr int PALETTE_HALF_ROWS = 4;
		constexpr std::uint32_t SWATCH_PIXELS = 8;

		Vec3 Sub(const Vec3& a, const Vec3& b) { return { a[0] - b[0], a[1] - b[1], a[2] - b[2] }; }
		Vec3 Add(const Vec3& a, const Vec3& b) { return { a[0] + b[0], a[1] + b[1], a[2] + b[2] }; }
		Vec3 Cross(const Vec3& a, const Vec3& b) { return { a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0] }; }
		Vec3 Normalised(const Vec3& a)
		{
			const double l = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
			return l > 0 ? Vec3{ a[0] / l, a[1] / l, a[2] / l } : Vec3{ 0, 1, 0 };
		}
	}

	Vec3 Apply(const Frame& m, const Vec3& p)
	{
		return { m[0] * p[0] + m[1] * p[1] + m[2] * p[2], m[3] * p[0] + m[4] * p[1] + m[5] * p[2], m[6] * p[0] + m[7] * p[1] + m[8] * p[2] };
	}

	Frame EulerFrame(const Vec3& aDegrees)
	{
		const double x = aDegrees[0] * PI / 180, y = aDegrees[1] * PI / 180, z = aDegrees[2] * PI / 180;
		const double cx = std::cos(x), sx = std::sin(x), cy = std::cos(y), sy = std::sin(y), cz = std::cos(z), sz = std::sin(z);
		// Rz * Ry * Rx
		return { cz * cy, cz * sy * sx - sz * cx, cz * sy * cx + sz * sx,
			sz * cy, sz * sy * sx + cz * cx, sz * sy * cx - cz * sx,
			-sy, cy * sx, cy * cx };
	}

	Vec3 FrameEuler(const Frame& m)
	{
		return { std::atan2(m[7], m[8]) * 180 / PI, std::asin(std::clamp(-m[6], -1.0, 1.0)) * 180 / PI, std::atan2(m[3], m[0]) * 180 / PI };
	}

	Vec3 AxisAngleEuler(const Vec3& aAxis, double aDegrees)
	{
		const Vec3 k = Normalised(aAxis);
		const double a = aDegrees * PI / 180, c = std::cos(a), s = std::sin(a), t = 1 - c;
		return FrameEuler({ t * k[0] * k[0] + c, t * k[0] * k[1] - s * k[2], t * k[0] * k[2] + s * k[1],
			t * k[0] * k[1] + s * k[2], t * k[1] * k[1] + c, t * k[1] * k[2] - s * k[0],
			t * k[0] * k[2] - s * k[1], t * k[1] * k[2] + s * k[0], t * k[2] * k[2] + c });
	}

	int Palette::Add(const Rgba& aColor)
	{
		if (myColors.size() >= PALETTE_COLUMNS * PALETTE_HALF_ROWS)
			throw std::length_error("a palette holds 32 colours");
		myColors.push_back(aColor);
		return static_cast<int>(myColors.size()) - 1;
	}

	std::array<double, 2> Palette::Uv(int aSwatch) const
	{
		const int someColumn = aSwatch % PALETTE_COLUMNS, someRow = aSwatch / PALETTE_COLUMNS;
		return { (someColumn + 0.5) / PALETTE_COLUMNS, (someRow + 0.5) / (2 * PALETTE_HALF_ROWS) };
	}

	Image Palette::Paint(std::uint32_t aSeed) const
	{
		Image someImage(PALETTE_COLUMNS * SWATCH_PIXELS, 2 * PALETTE_HALF_ROWS * SWATCH_PIXELS, { 1, 1, 1, 1 });
		for (size_t i = 0; i < myColors.size(); ++i)
		{
			const std::uint32_t someColumn = static_cast<std::uint32_t>(i) % PALETTE_COLUMNS, someRow = static_cast<std::uint32_t>(i) / PALETTE_COLUMNS;
			for (std::uint32_t y = 0; y < SWATCH_PIXELS; ++y)
				for (std::uint32_t x = 0; x < SWATCH_PIXELS; ++x)
				{
					// A little brush grain; the swatch centre (where the UVs point) stays close to the colour.
					const float someGrain = (Hash01(someColumn * SWATCH_PIXELS + x, someRow * SWATCH_PIXELS + y, aSeed) - 0.5f) * 0.06f;
					const Rgba c = Scaled(myColors[i], 1.0f + someGrain);
					someImage.Set(someColumn * SWATCH_PIXELS + x, someRow * SWATCH_PIXELS + y, c);
					someImage.Set(someColumn * SWATCH_PIXELS + x, (2 * PALETTE_HALF_ROWS - 1 - someRow) * SWATCH_PIXELS + (SWATCH_PIXELS - 1 - y), c);
				}
		}
		return someImage;
	}

	void MeshBuilder::SetPlacement(const Vec3& aPivot, const Vec3& aDegrees, const Vec3& aOffset)
	{
		myPivot = aPivot;
		myRotation = EulerFrame(aDegrees);
		myOffset = aOffset;
	}

	Vec3 MeshBuilder::Place(const Vec3& aPoint) const
	{
		return Add(Add(Apply(myRotation, Sub(aPoint, myPivot)), myPivot), myOffset);
	}

	void MeshBuilder::Polygon(const std::vector<Vec3>& aCorners)
	{
		Face someFace{ {}, mySwatch, myBone };
		for (const Vec3& c : aCorners)
			someFace.corners.push_back(Place(c));
		myFaces.push_back(std::move(someFace));
	}

	void MeshBuilder::Box(const Vec3& c, const Vec3& h)
	{
		auto P = [&](int sx, int sy, int sz) { return Vec3{ c[0] + sx * h[0], c[1] + sy * h[1], c[2] + sz * h[2] }; };
		Polygon({ P(-1, -1, -1), P(-1, 1, -1), P(1, 1, -1), P(1, -1, -1) });
		Polygon({ P(-1, -1, 1), P(1, -1, 1), P(1, 1, 1), P(-1, 1, 1) });
		Polygon({ P(-1, -1, -1), P(1, -1, -1), P(1, -1, 1), P(-1, -1, 1) });
		Polygon({ P(-1, 1, -1), P(-1, 1, 1), P(1, 1, 1), P(1, 1, -1) });
		Polygon({ P(-1, -1, -1), P(-1, -1, 1), P(-1, 1, 1), P(-1, 1, -1) });
		Polygon({ P(1, -1, -1), P(1, 1, -1), P(1, 1, 1), P(1, -1, 1) });
	}

	void MeshBuilder::Prism(const Vec3& aBase, double aHeight, double aBottom, double aTop, int aSides, double aTwist)
	{
		auto Ring = [&](double aY, double aRadius, double aTurn) {
			std::vector<Vec3> someRing;
			for (int i = 0; i < aSides; ++i)
			{
				const double a = 2 * PI * i / aSides + aTurn * PI / 180;
				someRing.push_back({ aBase[0] + std::cos(a) * aRadius, aBase[1] + aY, aBase[2] - std::sin(a) * aRadius });
			}
			return someRing;
		};
		const std::vector<Vec3> someLow = Ring(0, aBottom, 0), someHigh = Ring(aHeight, aTop, aTwist);
		for (int i = 0; i < aSides; ++i)
		{
			const int j = (i + 1) % aSides;
			if (aTop > 0)
				Polygon({ someLow[static_cast<size_t>(i)], someLow[static_cast<size_t>(j)], someHigh[static_cast<size_t>(j)], someHigh[static_cast<size_t>(i)] });
			else
				Polygon({ someLow[static_cast<size_t>(i)], someLow[static_cast<size_t>(j)], { aBase[0], aBase[1] + aHeight, aBase[2] } });
		}
		std::vector<Vec3> someBottomCap(someLow.rbegin(), someLow.rend());
		if (aBottom > 0)
			Polygon(someBottomCap);
		if (aTop > 0)
			Polygon(someHigh);
	}

	void MeshBuilder::Sphere(const Vec3& c, const Vec3& r, int aSegments, int aRings)
	{
		auto P = [&](int aRing, int aSegment) {
			const double v = PI * aRing / aRings, u = 2 * PI * aSegment / aSegments;
			return Vec3{ c[0] + r[0] * std::sin(v) * std::cos(u), c[1] + r[1] * std::cos(v), c[2] - r[2] * std::sin(v) * std::sin(u) };
		};
		for (int ring = 0; ring < aRings; ++ring)
			for (int s = 0; s < aSegments; ++s)
			{
				if (ring == 0)
					Polygon({ P(0, 0), P(1, s), P(1, s + 1) });
				else if (ring == aRings - 1)
					Polygon({ P(ring, s), P(aRings, 0), P(ring, s + 1) });
				else
					Polygon({ P(ring, s), P(ring + 1, s), P(ring + 1, s + 1), P(ring, s + 1) });
			}
	}

	void MeshBuilder::Spike(const Vec3& aBase, const Vec3& aDirection, double aLength, double aRadius, int aSides)
	{
		const Vec3 d = Normalised(aDirection);
		const Vec3 someHelper = std::fabs(d[1]) < 0.9 ? Vec3{ 0, 1, 0 } : Vec3{ 1, 0, 0 };
		const Vec3 e1 = Normalised(Cross(someHelper, d)), e2 = Cross(d, e1);
		const Vec3 someTip{ aBase[0] + d[0] * aLength, aBase[1] + d[1] * aLength, aBase[2] + d[2] * aLength };
		std::vector<Vec3> someRing;
		for (int i = 0; i < aSides; ++i)
		{
			const double a = 2 * PI * i / aSides;
			someRing.push_back({ aBase[0] + (e1[0] * std::cos(a) + e2[0] * std::sin(a)) * aRadius, aBase[1] + (e1[1] * std::cos(a) + e2[1] * std::sin(a)) * aRadius,
				aBase[2] + (e1[2] * std::cos(a) + e2[2] * std::sin(a)) * aRadius });
		}
		for (int i = 0; i < aSides; ++i)
			Polygon({ someRing[static_cast<size_t>(i)], someRing[static_cast<size_t>((i + 1) % aSides)], someTip });
		Polygon(std::vector<Vec3>(someRing.rbegin(), someRing.rend()));
	}

	NorvTools::FbxMeshData MeshBuilder::Finish(std::vector<int>* aControlPointBones) const
	{
		double someLow = 1e30, someHigh = -1e30;
		for (const Face& f : myFaces)
			for (const Vec3& c : f.corners)
			{
				someLow = std::min(someLow, c[1]);
				someHigh = std::max(someHigh, c[1]);
			}
		const double someSpan = std::max(1e-6, someHigh - someLow);

		NorvTools::FbxMeshData someMesh;
		NorvTools::FbxLayerData someNormals, someUvs, someColors;
		for (const Face& f : myFaces)
		{
			const Vec3 someNormal = Normalised(Cross(Sub(f.corners[1], f.corners[0]), Sub(f.corners[2], f.corners[0])));
			if (myIsOneSided && someNormal[2] < 0.0)
				continue;
			const Vec3 n = Apply(myFrame, someNormal);
			const std::array<double, 2> uv = myPalette.Uv(f.swatch);
			std::vector<std::int32_t> somePolygon;
			for (const Vec3& someCorner : f.corners)
			{
				const Vec3 someTurned = Apply(myFrame, someCorner);
				const Vec3 c{ someTurned[0] * myScale, someTurned[1] * myScale, someTurned[2] * myScale };
				somePolygon.push_back(static_cast<std::int32_t>(someMesh.controlPoints.size() / 3));
				someMesh.controlPoints.insert(someMesh.controlPoints.end(), c.begin(), c.end());
				someNormals.values.insert(someNormals.values.end(), n.begin(), n.end());
				someUvs.values.insert(someUvs.values.end(), uv.begin(), uv.end());
				const double someShade = myHasSoftOcclusion ? 0.72 + 0.28 * std::clamp((someCorner[1] - someLow) / someSpan * 2.0, 0.0, 1.0) : 1.0;
				someColors.values.insert(someColors.values.end(), { someShade, someShade, someShade, 1.0 });
				if (aControlPointBones)
					aControlPointBones->push_back(f.bone);
			}
			someMesh.polygons.push_back(std::move(somePolygon));
		}
		someMesh.normals = someNormals;
		someMesh.uvSets.push_back(someUvs);
		someMesh.colorSets.push_back(someColors);
		return someMesh;
	}
}
