// Static models: each is a few primitives coloured from its own palette.
#include "Characters.h"
#include "StaticModels.h"

#include <cmath>
#include <functional>
#include <stdexcept>

namespace NorvArt
{
	namespace
	{
		constexpr double PI = 3.14159265358979323846;
		using Build = std::function<void(MeshBuilder&, Palette&)>;

		// ---------------------------------------------------------------- static entities

		void Door(MeshBuilder& b, Palette& p, bool aStone)
		{
			const int frame = p.Add(Hex(0x8C8A86)), leaf = p.Add(aStone ? Hex(0x9C958A) : Hex(0x9A6A3C)), line = p.Add(aStone ? Hex(0x6F6A62) : Hex(0x6E4726));
			const int metal = p.Add(Hex(0x3E3E44)), flower = p.Add(Hex(0xF28DB2)), heart = p.Add(Hex(0xFFD34E));
			b.SetSwatch(frame);
			b.Box({ -66, 0, 0 }, { 12, 100, 22 });
			b.Box({ 66, 0, 0 }, { 12, 100, 22 });
			b.Box({ 0, 104, 0 }, { 78, 12, 22 });
			b.SetSwatch(leaf);
			b.Box({ 0, -2, 0 }, { 54, 98, 12 });
			b.SetSwatch(line);
			for (int i = -2; i <= 2; ++i)
				b.Box({ i * 21.6, -2, 12.5 }, { 1.2, 96, 1 });
			if (!aStone)
			{
				b.SetSwatch(metal);
				b.Box({ 0, 55, 13.5 }, { 52, 5, 1.5 });
				b.Box({ 0, -55, 13.5 }, { 52, 5, 1.5 });
				b.Sphere({ 36, 0, 16 }, { 5, 5, 4 }, 6, 4);
			}
			// A carved flower over the doorway: the game's sign for a way on.
			b.SetSwatch(flower);
			for (int i = 0; i < 5; ++i)
			{
				const double a = 2 * PI * i / 5 + PI / 2;
				b.Sphere({ std::cos(a) * 9, 104 + std::sin(a) * 7, 23 }, { 6, 5, 2 }, 5, 3);
			}
			b.SetSwatch(heart);
			b.Sphere({ 0, 104, 24 }, { 4, 4, 2 }, 5, 3);
		}

		void Lever(MeshBuilder& b, Palette& p)
		{
			const int stone = p.Add(Hex(0x807C76)), wood = p.Add(Hex(0x8A5A2B)), knob = p.Add(Hex(0xD0453A)), metal = p.Add(Hex(0x4A4A52));
			b.SetSwatch(stone);
			b.Box({ 0, -38, 0 }, { 32, 12, 20 });
			b.SetSwatch(metal);
			b.Box({ 0, -24, 0 }, { 10, 4, 10 });
			b.SetSwatch(wood);
			b.Prism({ 0, -24, 0 }, 72, 4, 3.5, 6);
			b.SetSwatch(knob);
			b.Sphere({ 0, 50, 0 }, { 9, 9, 9 }, 8, 5);
		}

		void Gate(MeshBuilder& b, Palette& p)
		{
			const int log = p.Add(Hex(0x7A5230)), bark = p.Add(Hex(0x5A3A22)), rope = p.Add(Hex(0xC9B07A));
			for (int i = 0; i < 4; ++i)
			{
				b.SetSwatch(i % 2 ? bark : log);
				const double x = -36 + i * 24.0;
				b.Prism({ x, -150, 0 }, 270, 9, 9, 6);
				b.Prism({ x, 120, 0 }, 26, 9, 0, 6);
			}
			b.SetSwatch(bark);
			b.Box({ 0, 80, 0 }, { 50, 7, 11 });
			b.Box({ 0, -90, 0 }, { 50, 7, 11 });
			b.SetSwatch(rope);
			for (double y : { 80.0, -90.0 })
				for (int i = 0; i < 4; ++i)
					b.Box({ -36 + i * 24.0, y, 11.5 }, { 4, 8, 1 });
		}

		void Spikes(MeshBuilder& b, Palette& p)
		{
			const int plate = p.Add(Hex(0x5C5650)), spike = p.Add(Hex(0xB8BCC4)), rust = p.Add(Hex(0x8E5A3C));
			b.SetSwatch(plate);
			b.Box({ 0, -42, 0 }, { 50, 8, 30 });
			for (int row = 0; row < 2; ++row)
				for (int i = 0; i < 5; ++i)
				{
					b.SetSwatch((i + row) % 3 ? spike : rust);
					b.Spike({ -40 + i * 20.0 + row * 10, -34, row ? -12.0 : 12.0 }, { 0, 1, 0 }, 48 - row * 10, 8, 4);
				}
		}

		void Pickup(MeshBuilder& b, Palette& p, std::uint32_t aPetal, std::uint32_t aGlow)
		{
			const int glow = p.Add(Hex(aGlow)), petal = p.Add(Hex(aPetal)), heart = p.Add(Hex(0xFFF2A8)), leaf = p.Add(Hex(0x78C05A));
			b.SetSwatch(glow);
			b.Sphere({ 0, 0, 0 }, { 16, 16, 16 }, 10, 6);
			b.SetSwatch(petal);
			for (int i = 0; i < 6; ++i)
			{
				const double a = 2 * PI * i / 6;
				b.Sphere({ std::cos(a) * 22, std::sin(a) * 22, 0 }, { 10, 10, 5 }, 6, 4);
			}
			b.SetSwatch(heart);
			b.Sphere({ 0, 0, 14 }, { 7, 7, 5 }, 6, 4);
			b.SetSwatch(leaf);
			b.Prism({ 0, -48, 0 }, 18, 2.5, 2, 5);
			b.Sphere({ 9, -40, 0 }, { 9, 2, 4 }, 6, 3);
		}

		// Base at the origin: the checkpoint's fire burns over the placed object's ground.
		void Campfire(MeshBuilder& b, Palette& p)
		{
			const int stone = p.Add(Hex(0x8A8680)), log = p.Add(Hex(0x6E4726)), ember = p.Add(Hex(0xE8501C)), ash = p.Add(Hex(0x3A3430));
			b.SetSwatch(ash);
			b.Prism({ 0, 0, 0 }, 3, 40, 40, 10);
			b.SetSwatch(stone);
			for (int i = 0; i < 10; ++i)
			{
				const double a = 2 * PI * i / 10;
				b.Sphere({ std::cos(a) * 48, 7, std::sin(a) * 40 }, { 12, 9, 11 }, 6, 4);
			}
			// Four logs leaning together over the embers.
			b.SetSwatch(log);
			for (int i = 0; i < 4; ++i)
			{
				b.SetPlacement({ 0, 0, 0 }, { -20, 90.0 * i + 45, 0 });
				b.Box({ 0, 32, 30 }, { 5, 44, 5 });
			}
			b.ClearPlacement();
			b.SetSwatch(ember);
			b.Sphere({ 0, 6, 0 }, { 18, 8, 18 }, 6, 3);
		}

		// The ability page: an open book seen from its front (+z), drawn over the level
		// straight on. The cover lies behind both pages; each page leans its outer edge a
		// little toward the viewer, so the two take different shades, and what is written
		// or pressed on a page leans with it, just proud of its face: the page's box
		// would hide anything set level with or behind its front.
		void BookPage(MeshBuilder& b, Palette& p)
		{
			const int cover = p.Add(Hex(0x6E2E2A)), paper = p.Add(Hex(0xF3E6C8)), ink = p.Add(Hex(0x5A4632)), flower = p.Add(Hex(0xF28DB2)), leaf = p.Add(Hex(0x6DB84E));
			const int heart = p.Add(Hex(0xFFD34E));
			constexpr double PAGE_TILT = 6.0, PAGE_FACE = 3.0, INK_DEPTH = 1.0, PRESSED_DEPTH = 2.0;
			b.SetSwatch(cover);
			b.Box({ 0, 0, -9 }, { 330, 230, 5 });

			// The right page: lines of writing, every third one a short line ending a paragraph.
			b.SetPlacement({ 0, 0, 0 }, { 0, -PAGE_TILT, 0 });
			b.SetSwatch(paper);
			b.Box({ 160, 0, 0 }, { 155, 215, PAGE_FACE });
			b.SetSwatch(ink);
			for (int line = 0; line < 8; ++line)
			{
				const double someHalf = line % 3 == 2 ? 70 : 110 - (line % 3) * 12.0;
				b.Box({ 160 - (110 - someHalf), 150 - line * 40.0, PAGE_FACE + INK_DEPTH }, { someHalf, 3, INK_DEPTH });
			}

			// The left page: a pressed flower, five petals about a heart on a stem with two leaves.
			b.SetPlacement({ 0, 0, 0 }, { 0, PAGE_TILT, 0 });
			b.SetSwatch(paper);
			b.Box({ -160, 0, 0 }, { 155, 215, PAGE_FACE });
			const double someFlat = PAGE_FACE + PRESSED_DEPTH;
			b.SetSwatch(leaf);
			b.Box({ -160, -60, PAGE_FACE + INK_DEPTH }, { 3, 90, INK_DEPTH });
			b.Sphere({ -184, -90, someFlat }, { 24, 9, PRESSED_DEPTH * 0.5 }, 8, 3);
			b.Sphere({ -136, -50, someFlat }, { 24, 9, PRESSED_DEPTH * 0.5 }, 8, 3);
			b.SetSwatch(flower);
			for (int i = 0; i < 5; ++i)
			{
				const double a = 2 * PI * i / 5 + PI / 2;
				b.Sphere({ -160 + std::cos(a) * 34, 60 + std::sin(a) * 34, someFlat }, { 26, 26, PRESSED_DEPTH * 0.5 }, 6, 3);
			}
			b.SetSwatch(heart);
			b.Sphere({ -160, 60, someFlat + PRESSED_DEPTH }, { 14, 14, PRESSED_DEPTH * 0.5 }, 6, 3);
			b.ClearPlacement();
		}

		// ---------------------------------------------------------------- tiles

		struct Ground
		{
			std::uint32_t top, body, speck, stone, root;
		};

		// A face toward the viewer (the design front, +z), aHalfWidth and aHalfHeight about aCentre.
		void FrontFace(MeshBuilder& b, const Vec3& aCentre, double aHalfWidth, double aHalfHeight)
		{
			const double x0 = aCentre[0] - aHalfWidth, x1 = aCentre[0] + aHalfWidth, y0 = aCentre[1] - aHalfHeight, y1 = aCentre[1] + aHalfHeight;
			b.Polygon({ { x0, y0, aCentre[2] }, { x1, y0, aCentre[2] }, { x1, y1, aCentre[2] }, { x0, y1, aCentre[2] } });
		}

		// A flat oval toward the viewer (+z).
		void FrontOval(MeshBuilder& b, const Vec3& aCentre, double aRadiusX, double aRadiusY, int aSides)
		{
			std::vector<Vec3> someCorners;
			for (int i = 0; i < aSides; ++i)
			{
				const double a = 2 * PI * i / aSides;
				someCorners.push_back({ aCentre[0] + std::cos(a) * aRadiusX, aCentre[1] + std::sin(a) * aRadiusY, aCentre[2] });
			}
			b.Polygon(someCorners);
		}

		// How deep a tile face lies: the ground darkens and its stones grow toward the bottom.
		struct Stratum
		{
			float shade;      // of the body colour
			double bandY;     // where this depth's band of darker earth runs, the same on every tile
			int stones;
		};
		constexpr Stratum SURFACE{ 1.0f, -22.0, 1 }, DEEP{ 0.8f, 18.0, 2 }, DEEPER{ 0.62f, -8.0, 3 };

		// Tiles sit edge to edge and are drawn without a depth test, so a side face
		// would paint over its neighbour's front: a tile shows its front and, where
		// grass grows on it, its top. Each piece is laid over the ones before it: the
		// body, a band of darker earth that meets its neighbours' at the tile's edges,
		// stones, specks, and under the grass the roots it hangs down.
		void Tile(MeshBuilder& b, Palette& p, const Ground& g, bool aHasTop, std::uint32_t aSeed, const Stratum& aStratum = SURFACE)
		{
			const auto H = [aSeed](int i, int aField) { return Hash01(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(aField), aSeed); };
			const Rgba someBody = Scaled(Hex(g.body), aStratum.shade);
			const int body = p.Add(someBody), band = p.Add(Scaled(someBody, 0.84f)), speck = p.Add(Scaled(Hex(g.speck), aStratum.shade));
			const int stone = p.Add(Scaled(Hex(g.stone), aStratum.shade)), lit = p.Add(Scaled(Hex(g.stone), aStratum.shade * 1.18f));
			b.SetSoftOcclusion(false);
			b.SetSwatch(body);
			FrontFace(b, { 0, 0, 100 }, 50, 50);
			// Half the faces carry the band, so the strata break off and go on as real ones do.
			b.SetSwatch(band);
			if (aSeed % 2 == 0)
			{
				const double y = aStratum.bandY, w = 4 + 3 * H(0, 9);
				b.Polygon({ { -50, y - 4, 100.5 }, { -15, y - w - 3 * H(1, 9), 100.5 }, { 20, y - w + 3 * H(2, 9), 100.5 }, { 50, y - 4, 100.5 },
					{ 50, y + 4, 100.5 }, { 20, y + w + 2 * H(3, 9), 100.5 }, { -15, y + w - 2 * H(4, 9), 100.5 }, { -50, y + 4, 100.5 } });
			}
			for (int i = 0; i < aStratum.stones; ++i)
			{
				const double sx = -32 + 64 * H(i, 4), sy = -34 + 56 * H(i, 5), r = 6 + 5 * H(i, 6) + 2 * i;
				b.SetSwatch(stone);
				FrontOval(b, { sx, sy, 101 }, r, r * 0.7, 8);
				b.SetSwatch(lit);
				FrontOval(b, { sx - r * 0.25, sy + r * 0.25, 101.5 }, r * 0.45, r * 0.25, 6);
			}
			b.SetSwatch(speck);
			for (int i = 0; i < 4; ++i)
				FrontFace(b, { -35 + 70 * H(i, 1), -40 + 60 * H(i, 2), 101 }, 6, 4);
			if (!aHasTop)
				return;
			// Roots hang from the grass: a main root and a side root off it.
			b.SetSwatch(p.Add(Hex(g.root)));
			for (int i = 0; i < 2; ++i)
			{
				const double rx = -30 + 60 * H(i, 7), lean = H(i, 8) - 0.5;
				b.Spike({ rx, 40, 101.5 }, { lean, -1, 0 }, 30 + 16 * H(i, 3), 3, 3);
				b.Spike({ rx + lean * 12, 28, 101.5 }, { lean < 0 ? 1.0 : -1.0, -0.8, 0 }, 14, 1.8, 3);
			}
			b.SetSwatch(p.Add(Hex(g.top)));
			FrontFace(b, { 0, 44, 102 }, 51, 8);
			b.Polygon({ { -51, 52, -101 }, { -51, 52, 101 }, { 51, 52, 101 }, { 51, 52, -101 } });
			for (int i = 0; i < 6; ++i)
				b.Spike({ -42 + i * 17.0, 50, 50 + 40 * H(i, 3) }, { 0.2 * (i % 2 ? 1 : -1), 1, 0 }, 14, 4, 3);
		}

		// ---------------------------------------------------------------- props (base at the origin)

		void Tree(MeshBuilder& b, Palette& p, std::uint32_t aTrunk, std::uint32_t aLeaves, std::uint32_t aLeavesDark, double aHeight)
		{
			const int trunk = p.Add(Hex(aTrunk)), leaves = p.Add(Hex(aLeaves)), dark = p.Add(Hex(aLeavesDark));
			b.SetSwatch(trunk);
			b.Prism({ 0, 0, 0 }, aHeight * 0.6, 26, 16, 7);
			b.SetSwatch(dark);
			b.Sphere({ 0, aHeight * 0.62, 0 }, { 120, 90, 100 }, 8, 5);
			b.SetSwatch(leaves);
			b.Sphere({ -50, aHeight * 0.75, 20 }, { 80, 70, 70 }, 8, 5);
			b.Sphere({ 55, aHeight * 0.8, -10 }, { 75, 65, 70 }, 8, 5);
			b.Sphere({ 0, aHeight * 0.95, 0 }, { 70, 60, 60 }, 8, 5);
		}

		void Bush(MeshBuilder& b, Palette& p, std::uint32_t aColor, std::uint32_t aBerry)
		{
			const int leaf = p.Add(Hex(aColor)), berry = p.Add(Hex(aBerry));
			b.SetSwatch(leaf);
			b.Sphere({ 0, 30, 0 }, { 50, 35, 40 }, 8, 5);
			b.Sphere({ -40, 22, 10 }, { 32, 25, 30 }, 7, 4);
			b.Sphere({ 42, 20, -5 }, { 30, 22, 28 }, 7, 4);
			b.SetSwatch(berry);
			for (int i = 0; i < 5; ++i)
				b.Sphere({ -40 + i * 20.0, 30 + 18 * std::sin(i * 1.7), 36 }, { 5, 5, 5 }, 5, 3);
		}

		void Flowers(MeshBuilder& b, Palette& p)
		{
			const int stem = p.Add(Hex(0x4F8F3A)), heart = p.Add(Hex(0xFFD34E));
			const std::uint32_t PETALS[3] = { 0xF28DB2, 0xFFFFFF, 0xB98DF2 };
			int colors[3];
			for (int i = 0; i < 3; ++i)
				colors[i] = p.Add(Hex(PETALS[i]));
			for (int f = 0; f < 5; ++f)
			{
				const double x = -40 + f * 20.0, h = 25 + 10 * (f % 3);
				b.SetSwatch(stem);
				b.Prism({ x, 0, (f % 2) * 10.0 }, h, 1.5, 1.2, 4);
				b.SetSwatch(colors[f % 3]);
				for (int i = 0; i < 5; ++i)
				{
					const double a = 2 * PI * i / 5;
					b.Sphere({ x + std::cos(a) * 5, h, (f % 2) * 10.0 + std::sin(a) * 5 }, { 4, 2, 4 }, 5, 3);
				}
				b.SetSwatch(heart);
				b.Sphere({ x, h + 1, (f % 2) * 10.0 }, { 2.5, 2, 2.5 }, 5, 3);
			}
		}

		void Rock(MeshBuilder& b, Palette& p, std::uint32_t aColor, std::uint32_t aMoss)
		{
			const int rock = p.Add(Hex(aColor)), moss = p.Add(Hex(aMoss));
			b.SetSwatch(rock);
			b.Sphere({ 0, 25, 0 }, { 55, 35, 40 }, 6, 4);
			b.Sphere({ 40, 15, 10 }, { 30, 22, 28 }, 5, 3);
			b.SetSwatch(moss);
			b.Sphere({ -5, 52, 0 }, { 35, 8, 28 }, 6, 3);
		}

		void Grass(MeshBuilder& b, Palette& p, std::uint32_t aColor, std::uint32_t aTip)
		{
			const int blade = p.Add(Hex(aColor)), tip = p.Add(Hex(aTip));
			for (int i = 0; i < 14; ++i)
			{
				b.SetSwatch(i % 3 ? blade : tip);
				b.Spike({ -60 + i * 9.0, 0, 10.0 * std::sin(i * 2.3) }, { 0.25 * std::sin(i * 1.3), 1, 0 }, 24 + 12 * std::fabs(std::sin(i * 0.9)), 3.5, 3);
			}
		}

		void Hill(MeshBuilder& b, Palette& p, std::uint32_t aColor, std::uint32_t aTop)
		{
			const int hill = p.Add(Hex(aColor)), top = p.Add(Hex(aTop));
			b.SetSwatch(hill);
			b.Sphere({ 0, 0, 0 }, { 700, 320, 200 }, 14, 6);
			b.SetSwatch(top);
			b.Sphere({ -250, 240, 0 }, { 260, 130, 160 }, 10, 5);
			b.Sphere({ 260, 200, 30 }, { 220, 120, 150 }, 10, 5);
		}

		void Stalagmite(MeshBuilder& b, Palette& p, bool aHanging)
		{
			const int rock = p.Add(Hex(0x5E5868)), light = p.Add(Hex(0x7E7688));
			const double s = aHanging ? -1.0 : 1.0;
			b.SetSwatch(rock);
			b.Spike({ 0, 0, 0 }, { 0, s, 0 }, 220, 45, 6);
			b.SetSwatch(light);
			b.Spike({ 45, 0, 10 }, { 0.1, s, 0 }, 120, 25, 5);
			b.Spike({ -40, 0, -8 }, { -0.1, s, 0 }, 90, 20, 5);
		}

		void Crystals(MeshBuilder& b, Palette& p)
		{
			const int rock = p.Add(Hex(0x4E4858)), glow = p.Add(Hex(0x7FE0F5)), violet = p.Add(Hex(0xB48CF0));
			b.SetSwatch(rock);
			b.Sphere({ 0, 10, 0 }, { 60, 20, 40 }, 6, 3);
			for (int i = 0; i < 5; ++i)
			{
				b.SetSwatch(i % 2 ? violet : glow);
				const double a = (i - 2) * 22.0;
				b.SetPlacement({ (i - 2) * 18.0, 15, 0 }, { 0, 0, -a });
				b.Prism({ (i - 2) * 18.0, 15, 0 }, 60 + 30 * (i % 3), 9, 8, 6);
				b.Prism({ (i - 2) * 18.0, 75.0 + 30 * (i % 3), 0 }, 20, 8, 0, 6);
			}
			b.ClearPlacement();
		}

		void GlowMushrooms(MeshBuilder& b, Palette& p)
		{
			const int stem = p.Add(Hex(0xD8D2C0)), cap = p.Add(Hex(0x58D8C8)), spot = p.Add(Hex(0xE8FFF8));
			for (int i = 0; i < 4; ++i)
			{
				const double x = -45 + i * 30.0, h = 20 + 14 * (i % 3);
				b.SetSwatch(stem);
				b.Prism({ x, 0, 0 }, h, 4, 3, 6);
				b.SetSwatch(cap);
				b.Sphere({ x, h, 0 }, { 14, 7, 14 }, 8, 4);
				b.SetSwatch(spot);
				b.Sphere({ x + 4, h + 6, 3 }, { 3, 2, 3 }, 5, 3);
			}
		}

		void CaveWall(MeshBuilder& b, Palette& p)
		{
			const int dark = p.Add(Hex(0x2E2A36)), mid = p.Add(Hex(0x433C4E)), glow = p.Add(Hex(0x6FC8E0));
			b.SetSwatch(dark);
			// A slab seen from the front only: its edges, seen edge on, would light up pale.
			FrontFace(b, { 0, 300, 40 }, 500, 300);
			b.SetSwatch(mid);
			for (int i = 0; i < 6; ++i)
				b.Sphere({ -420 + i * 170.0, 80.0 + 90.0 * (i % 3), -40 }, { 110, 90, 30 }, 6, 4);
			b.SetSwatch(glow);
			for (int i = 0; i < 5; ++i)
				b.Spike({ -350 + i * 170.0, 300 + 80 * std::sin(i * 1.9), -45 }, { 0.2, 1, -0.3 }, 40, 8, 5);
		}

		void DeadTree(MeshBuilder& b, Palette& p)
		{
			const int bark = p.Add(Hex(0x4A4440)), light = p.Add(Hex(0x6A625C));
			b.SetSwatch(bark);
			b.Prism({ 0, 0, 0 }, 260, 24, 10, 6);
			b.SetSwatch(light);
			const double someBranches[5][3] = { { 120, 40, 80 }, { 160, -45, 70 }, { 200, 30, 60 }, { 230, -25, 50 }, { 90, -60, 60 } };
			for (const auto& br : someBranches)
				b.Spike({ 0, br[0], 0 }, { std::sin(br[1] * PI / 180), std::cos(br[1] * PI / 180), 0 }, br[2] * 1.6, 7, 5);
		}

		void Willow(MeshBuilder& b, Palette& p)
		{
			const int bark = p.Add(Hex(0x5A524C)), leaves = p.Add(Hex(0x7E9098)), pale = p.Add(Hex(0xA4B4B8));
			b.SetSwatch(bark);
			b.Prism({ 0, 0, 0 }, 230, 28, 16, 7);
			b.SetSwatch(leaves);
			b.Sphere({ 0, 260, 0 }, { 120, 70, 100 }, 8, 5);
			b.Sphere({ -80, 235, 10 }, { 80, 55, 70 }, 7, 4);
			b.Sphere({ 85, 240, -10 }, { 80, 55, 70 }, 7, 4);
			// Drooping strands hanging from the crown.
			for (int i = 0; i < 10; ++i)
			{
				b.SetSwatch(i % 2 ? pale : leaves);
				const double a = 2 * PI * i / 10;
				b.Spike({ std::cos(a) * 120, 220, std::sin(a) * 90 }, { 0.05 * std::cos(a), -1, 0 }, 90 + 25 * (i % 3), 12, 4);
			}
		}

		void Stump(MeshBuilder& b, Palette& p)
		{
			const int bark = p.Add(Hex(0x5A4E44)), ring = p.Add(Hex(0xB8A488)), moss = p.Add(Hex(0x7E9A78));
			b.SetSwatch(bark);
			b.Prism({ 0, 0, 0 }, 45, 38, 32, 8);
			b.SetSwatch(ring);
			b.Prism({ 0, 45, 0 }, 1, 31, 31, 8);
			b.SetSwatch(moss);
			b.Sphere({ 20, 10, 28 }, { 16, 10, 8 }, 6, 3);
		}

		// A dark board on two posts for the hints written in light letters over a pale sky:
		// the board's centre at the origin, 570 x 108 units of face, the posts reaching far
		// enough down (1550 units) to stand in the ground under any hint.
		void Signboard(MeshBuilder& b, Palette& p)
		{
			const int post = p.Add(Hex(0x4A3222)), board = p.Add(Hex(0x5A3A24)), plank = p.Add(Hex(0x4E3220)), edge = p.Add(Hex(0x3A2618));
			b.SetSoftOcclusion(false);
			b.SetSwatch(post);
			for (int side : { -1, 1 })
				b.Box({ side * 220.0, -800, -4 }, { 9, 750, 6 });
			b.SetSwatch(edge);
			FrontFace(b, { 0, 0, 0 }, 293, 62);
			b.SetSwatch(board);
			FrontFace(b, { 0, 0, 1 }, 285, 54);
			// The seams between its three planks.
			b.SetSwatch(plank);
			for (int i : { -1, 1 })
				FrontFace(b, { 0, i * 18.0, 2 }, 285, 1.5);
		}

		// ---------------------------------------------------------------- skies (horizon at the origin)

		constexpr double SKY_HALF_WIDTH = 2000.0, SKY_HALF_HEIGHT = 1000.0;
		constexpr int SKY_BANDS = 12; // above the horizon

		// The backdrop behind a level, placed farther than any other prop and drawn
		// before them all: bands from aTop at the top edge down to aHorizon, and
		// aGround below the horizon, where the level's own ground hides it.
		void SkyBands(MeshBuilder& b, Palette& p, std::uint32_t aTop, std::uint32_t aHorizon, std::uint32_t aGround)
		{
			b.SetSoftOcclusion(false);
			const double someBand = SKY_HALF_HEIGHT / SKY_BANDS;
			for (int i = 0; i < SKY_BANDS; ++i)
			{
				// Paler and faster toward the horizon, as haze thickens.
				const float t = static_cast<float>(i) / (SKY_BANDS - 1);
				b.SetSwatch(p.Add(Mix(Hex(aTop), Hex(aHorizon), t * t * (3 - 2 * t))));
				FrontFace(b, { 0, SKY_HALF_HEIGHT - someBand * (i + 0.5), 0 }, SKY_HALF_WIDTH, someBand / 2);
			}
			b.SetSwatch(p.Add(Hex(aGround)));
			FrontFace(b, { 0, -SKY_HALF_HEIGHT / 2, 0 }, SKY_HALF_WIDTH, SKY_HALF_HEIGHT / 2);
		}

		// A cloud: overlapping ovals, the lower ones a shade darker.
		void Cloud(MeshBuilder& b, int aLight, int aShade, double x, double y, double aSize)
		{
			b.SetSwatch(aShade);
			FrontOval(b, { x, y - aSize * 0.15, 1 }, aSize * 1.3, aSize * 0.35, 12);
			b.SetSwatch(aLight);
			FrontOval(b, { x - aSize * 0.45, y, 2 }, aSize * 0.55, aSize * 0.4, 10);
			FrontOval(b, { x + aSize * 0.1, y + aSize * 0.15, 2 }, aSize * 0.65, aSize * 0.5, 10);
			FrontOval(b, { x + aSize * 0.7, y, 2 }, aSize * 0.45, aSize * 0.32, 10);
		}

		// Warm: a pale blue going gold at the horizon, a low sun, clouds and a far green ridge.
		void ForestSky(MeshBuilder& b, Palette& p)
		{
			SkyBands(b, p, 0x7FAFD6, 0xFFE2A8, 0x9DB078);
			b.SetSwatch(p.Add(Hex(0xFFF0C0)));
			FrontOval(b, { 620, 230, 1 }, 90, 90, 16);
			const int light = p.Add(Hex(0xFFF8EE)), shade = p.Add(Hex(0xF2DCC8));
			Cloud(b, light, shade, -1350, 640, 160);
			Cloud(b, light, shade, -500, 780, 120);
			Cloud(b, light, shade, 300, 560, 150);
			Cloud(b, light, shade, 1200, 720, 130);
			Cloud(b, light, shade, 1750, 480, 110);
			b.SetSwatch(p.Add(Hex(0xA9C48A)));
			for (int i = 0; i < 9; ++i)
				FrontOval(b, { -2000 + i * 500.0, -20, 3 }, 330, 90 + 40 * Hash01(static_cast<std::uint32_t>(i), 1, 7), 14);
		}

		// Dark rock fading to black overhead, hanging stone and faint crystal glints.
		void CaveBackdrop(MeshBuilder& b, Palette& p)
		{
			SkyBands(b, p, 0x0C0A10, 0x2C2436, 0x1A1620);
			b.SetSwatch(p.Add(Hex(0x0E0C12)));
			for (int i = 0; i < 16; ++i)
			{
				const double x = -1950 + i * 260.0, w = 70 + 60 * Hash01(static_cast<std::uint32_t>(i), 2, 9), h = 160 + 260 * Hash01(static_cast<std::uint32_t>(i), 3, 9);
				b.Polygon({ { x - w, SKY_HALF_HEIGHT, 1 }, { x, SKY_HALF_HEIGHT - h, 1 }, { x + w, SKY_HALF_HEIGHT, 1 } });
			}
			const int glow = p.Add(Hex(0x3E8CA8)), violet = p.Add(Hex(0x6A4E96));
			for (int i = 0; i < 24; ++i)
			{
				b.SetSwatch(i % 3 ? glow : violet);
				FrontOval(b, { -1950 + 3900 * Hash01(static_cast<std::uint32_t>(i), 4, 9), -150 + 900 * Hash01(static_cast<std::uint32_t>(i), 5, 9), 2 }, 9, 9, 6);
			}
		}

		// Misty: grey-blue over a pale, heavy haze with drifting bands of mist.
		void SadForestSky(MeshBuilder& b, Palette& p)
		{
			SkyBands(b, p, 0x6E7E8C, 0xC9D0D2, 0x8E9A96);
			const int mist = p.Add(Hex(0xDCE2E2)), thin = p.Add(Hex(0xB4BEC2));
			for (int i = 0; i < 10; ++i)
			{
				b.SetSwatch(i % 2 ? thin : mist);
				FrontOval(b, { -1900 + 420.0 * i, 60 + 420 * Hash01(static_cast<std::uint32_t>(i), 6, 5), 1.0 + i % 2 }, 520, 26 + 24 * Hash01(static_cast<std::uint32_t>(i), 7, 5), 14);
			}
		}

		struct Entry
		{
			StaticModel model;
			Build build;
		};

		const std::vector<Entry>& EntityEntries()
		{
			static const std::vector<Entry> ENTRIES{
				{ { "Door", "models/Interactables/Door/SM_Door_Wood.fbx" }, [](MeshBuilder& b, Palette& p) { Door(b, p, false); } },
				{ { "DoorStone", "models/Interactables/Door/SM_Door_Stone.fbx" }, [](MeshBuilder& b, Palette& p) { Door(b, p, true); } },
				{ { "Lever", "models/Interactables/Lever/SM_Lever.fbx" }, Lever },
				{ { "Gate", "models/Interactables/Gate/SM_Gate.fbx" }, Gate },
				{ { "Spikes", "models/Interactables/Spikes/SM_Spikes.fbx" }, Spikes },
				{ { "WallJumpPickup", "models/Pickups/SM_Pickup_WallJump.fbx" }, [](MeshBuilder& b, Palette& p) { Pickup(b, p, 0x9FE07A, 0xE8FFD0); } },
				{ { "DashPickup", "models/Pickups/SM_Pickup_Dash.fbx" }, [](MeshBuilder& b, Palette& p) { Pickup(b, p, 0xFFC94E, 0xFFF6C8); } },
				{ { "ClimbPickup", "models/Pickups/SM_Pickup_Climb.fbx" }, [](MeshBuilder& b, Palette& p) { Pickup(b, p, 0x7AC8F0, 0xE0F6FF); } },
				{ { "DashSlashPickup", "models/Pickups/SM_Pickup_DashSlash.fbx" }, [](MeshBuilder& b, Palette& p) { Pickup(b, p, 0xF06A8A, 0xFFE0E8); } },
				{ { "Checkpoint", "models/Interactables/Campfire/SM_Campfire.fbx" }, Campfire },
				{ { "BookShowcase", "models/Interactables/Book/SM_BookPage.fbx" }, BookPage },
			};
			return ENTRIES;
		}

		const std::vector<std::pair<SetPiece, Build>>& SetPieceEntries()
		{
			const Ground FOREST{ 0x6DB84E, 0x7A5534, 0x5E3F26, 0x9A928A, 0x4A3020 }, FOREST_DIRT{ 0x7A5534, 0x7A5534, 0x9A7A56, 0x9A928A, 0x4A3020 };
			const Ground CAVE{ 0x6E8A5A, 0x5E5868, 0x48424F, 0x7E7688, 0x3E4A38 }, CAVE_ROCK{ 0x5E5868, 0x5E5868, 0x7E7688, 0x7E7688, 0x3E4A38 };
			const Ground SAD{ 0x7E9A8A, 0x4E4640, 0x3A3430, 0x787472, 0x2E2824 }, SAD_DIRT{ 0x4E4640, 0x4E4640, 0x6A605A, 0x787472, 0x2E2824 };
			static const std::vector<std::pair<SetPiece, Build>> ENTRIES = [=] {
				std::vector<std::pair<SetPiece, Build>> someEntries{
					{ { { "Tile_Forest_Grass", "models/Tiles/Forest/SM_Tile_Forest_Grass.fbx" }, Look::FOREST, true }, [=](MeshBuilder& b, Palette& p) { Tile(b, p, FOREST, true, 1); } },
					{ { { "Tile_Forest_Dirt", "models/Tiles/Forest/SM_Tile_Forest_Dirt.fbx" }, Look::FOREST, true }, [=](MeshBuilder& b, Palette& p) { Tile(b, p, FOREST_DIRT, false, 2); } },
					{ { { "Tile_Cave_Ledge", "models/Tiles/Cave/SM_Tile_Cave_Ledge.fbx" }, Look::CAVE, true }, [=](MeshBuilder& b, Palette& p) { Tile(b, p, CAVE, true, 3); } },
					{ { { "Tile_Cave_Rock", "models/Tiles/Cave/SM_Tile_Cave_Rock.fbx" }, Look::CAVE, true }, [=](MeshBuilder& b, Palette& p) { Tile(b, p, CAVE_ROCK, false, 4); } },
					{ { { "Tile_SadForest_Grass", "models/Tiles/SadForest/SM_Tile_SadForest_Grass.fbx" }, Look::SAD_FOREST, true }, [=](MeshBuilder& b, Palette& p) { Tile(b, p, SAD, true, 5); } },
					{ { { "Tile_SadForest_Dirt", "models/Tiles/SadForest/SM_Tile_SadForest_Dirt.fbx" }, Look::SAD_FOREST, true }, [=](MeshBuilder& b, Palette& p) { Tile(b, p, SAD_DIRT, false, 6); } },
					{ { { "Prop_Forest_Tree", "models/Props/Forest/SM_Prop_Forest_Tree.fbx" }, Look::FOREST, false }, [](MeshBuilder& b, Palette& p) { Tree(b, p, 0x7A5230, 0x6DB84E, 0x4F8F3A, 420); } },
					{ { { "Prop_Forest_Bush", "models/Props/Forest/SM_Prop_Forest_Bush.fbx" }, Look::FOREST, false }, [](MeshBuilder& b, Palette& p) { Bush(b, p, 0x5FA844, 0xE0455A); } },
					{ { { "Prop_Forest_Flowers", "models/Props/Forest/SM_Prop_Forest_Flowers.fbx" }, Look::FOREST, false }, Flowers },
					{ { { "Prop_Forest_Rock", "models/Props/Forest/SM_Prop_Forest_Rock.fbx" }, Look::FOREST, false }, [](MeshBuilder& b, Palette& p) { Rock(b, p, 0x9A948A, 0x6DB84E); } },
					{ { { "Prop_Forest_Grass", "models/Props/Forest/SM_Prop_Forest_Grass.fbx" }, Look::FOREST, false }, [](MeshBuilder& b, Palette& p) { Grass(b, p, 0x6DB84E, 0xA8D86A); } },
					{ { { "Prop_Forest_Hill", "models/Props/Forest/SM_Prop_Forest_Hill.fbx" }, Look::FOREST, false }, [](MeshBuilder& b, Palette& p) { Hill(b, p, 0x5E9E4A, 0x7FBF5E); } },
					{ { { "Prop_Cave_Stalagmite", "models/Props/Cave/SM_Prop_Cave_Stalagmite.fbx" }, Look::CAVE, false }, [](MeshBuilder& b, Palette& p) { Stalagmite(b, p, false); } },
					{ { { "Prop_Cave_Stalactite", "models/Props/Cave/SM_Prop_Cave_Stalactite.fbx" }, Look::CAVE, false }, [](MeshBuilder& b, Palette& p) { Stalagmite(b, p, true); } },
					{ { { "Prop_Cave_Crystals", "models/Props/Cave/SM_Prop_Cave_Crystals.fbx" }, Look::CAVE, false }, Crystals },
					{ { { "Prop_Cave_Rock", "models/Props/Cave/SM_Prop_Cave_Rock.fbx" }, Look::CAVE, false }, [](MeshBuilder& b, Palette& p) { Rock(b, p, 0x5E5868, 0x4E8A6A); } },
					{ { { "Prop_Cave_GlowMushrooms", "models/Props/Cave/SM_Prop_Cave_GlowMushrooms.fbx" }, Look::CAVE, false }, GlowMushrooms },
					{ { { "Prop_Cave_Wall", "models/Props/Cave/SM_Prop_Cave_Wall.fbx" }, Look::CAVE, false }, CaveWall },
					{ { { "Prop_SadForest_DeadTree", "models/Props/SadForest/SM_Prop_SadForest_DeadTree.fbx" }, Look::SAD_FOREST, false }, DeadTree },
					{ { { "Prop_SadForest_Willow", "models/Props/SadForest/SM_Prop_SadForest_Willow.fbx" }, Look::SAD_FOREST, false }, Willow },
					{ { { "Prop_SadForest_Stump", "models/Props/SadForest/SM_Prop_SadForest_Stump.fbx" }, Look::SAD_FOREST, false }, Stump },
					{ { { "Prop_SadForest_Rock", "models/Props/SadForest/SM_Prop_SadForest_Rock.fbx" }, Look::SAD_FOREST, false }, [](MeshBuilder& b, Palette& p) { Rock(b, p, 0x78767A, 0x7E9A8A); } },
					{ { { "Prop_SadForest_Bush", "models/Props/SadForest/SM_Prop_SadForest_Bush.fbx" }, Look::SAD_FOREST, false }, [](MeshBuilder& b, Palette& p) { Bush(b, p, 0x6E8478, 0x8A7AA0); } },
					{ { { "Prop_SadForest_Hill", "models/Props/SadForest/SM_Prop_SadForest_Hill.fbx" }, Look::SAD_FOREST, false }, [](MeshBuilder& b, Palette& p) { Hill(b, p, 0x6A7C80, 0x8A9CA0); } },
					{ { { "Prop_Forest_Sky", "models/Props/Forest/SM_Prop_Forest_Sky.fbx" }, Look::FOREST, false }, ForestSky },
					{ { { "Prop_Forest_Signboard", "models/Props/Forest/SM_Prop_Forest_Signboard.fbx" }, Look::FOREST, false, true }, Signboard },
					{ { { "Prop_Cave_Backdrop", "models/Props/Cave/SM_Prop_Cave_Backdrop.fbx" }, Look::CAVE, false }, CaveBackdrop },
					{ { { "Prop_SadForest_Sky", "models/Props/SadForest/SM_Prop_SadForest_Sky.fbx" }, Look::SAD_FOREST, false }, SadForestSky },
				};
				// Faces the level sources lay over their tiles besides the tiles' own: two more of
				// each surface and body for variety, and the darker ground of two depths below.
				struct Face
				{
					const char* folder;
					const char* name;
					Look look;
					Ground ground;
					bool hasTop;
				};
				const Face FACES[] = { { "Forest", "Forest_Grass", Look::FOREST, FOREST, true }, { "Forest", "Forest_Dirt", Look::FOREST, FOREST_DIRT, false },
					{ "Cave", "Cave_Ledge", Look::CAVE, CAVE, true }, { "Cave", "Cave_Rock", Look::CAVE, CAVE_ROCK, false },
					{ "SadForest", "SadForest_Grass", Look::SAD_FOREST, SAD, true }, { "SadForest", "SadForest_Dirt", Look::SAD_FOREST, SAD_DIRT, false } };
				std::uint32_t someSeed = 100;
				for (const Face& f : FACES)
				{
					const auto Add = [&](const std::string& aSuffix, const Stratum& aStratum) {
						const std::string someName = std::string("Prop_Tile_") + f.name + aSuffix;
						const std::string somePath = std::string("models/Tiles/") + f.folder + "/SM_Tile_" + f.name + aSuffix + ".fbx";
						const std::uint32_t s = someSeed++;
						someEntries.push_back({ { { someName, somePath }, f.look, false }, [=](MeshBuilder& b, Palette& p) { Tile(b, p, f.ground, f.hasTop, s, aStratum); } });
					};
					Add("_B", SURFACE);
					Add("_C", SURFACE);
					if (f.hasTop)
						continue;
					Add("_Deep", DEEP);
					Add("_Deep_B", DEEP);
					Add("_Deeper", DEEPER);
					Add("_Deeper_B", DEEPER);
				}
				return someEntries;
			}();
			return ENTRIES;
		}

		// The sprite quad: 100 units square in the x-z plane, facing both ways, UVs over the whole texture.
		std::string PlaceholderQuad()
		{
			NorvTools::FbxMeshData someMesh;
			someMesh.controlPoints = { -50, 0, -50, 50, 0, -50, 50, 0, 50, -50, 0, 50 };
			someMesh.polygons = { { 0, 3, 2, 1 }, { 0, 1, 2, 3 } };
			NorvTools::FbxLayerData someNormals, someUvs, someColors;
			someNormals.values = { 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0 };
			someUvs.mapping = "ByControlPoint";
			someUvs.values = { 0, 0, 1, 0, 1, 1, 0, 1 };
			someColors.mapping = "ByControlPoint";
			someColors.values = { 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1 };
			someMesh.normals = someNormals;
			someMesh.uvSets.push_back(someUvs);
			someMesh.colorSets.push_back(someColors);
			NorvTools::FbxSceneWriter someWriter;
			const std::int64_t someNode = someWriter.AddNode("SM_Quad", "Mesh");
			someWriter.AddMesh(someNode, someMesh);
			return NorvTools::WriteBinaryFbx(someWriter.Build());
		}

		void WriteBuilt(const std::filesystem::path& aRoot, const std::string& aPath, const Build& aBuild, bool anIsOneSided)
		{
			Palette somePalette;
			MeshBuilder someMesh(somePalette);
			someMesh.SetOneSided(anIsOneSided);
			aBuild(someMesh, somePalette);
			WriteStaticModel(aRoot, aPath, someMesh, somePalette);
		}
	}

	const std::vector<StaticModel>& EntityModels()
	{
		static const std::vector<StaticModel> MODELS = [] {
			std::vector<StaticModel> someModels;
			for (const Entry& e : EntityEntries())
				someModels.push_back(e.model);
			return someModels;
		}();
		return MODELS;
	}

	std::string EntityModelPath(const std::string& aName)
	{
		for (const StaticModel& m : EntityModels())
			if (m.name == aName)
				return m.path;
		throw std::invalid_argument("no entity model " + aName);
	}

	const std::vector<SetPiece>& SetPieces()
	{
		static const std::vector<SetPiece> PIECES = [] {
			std::vector<SetPiece> somePieces;
			for (const auto& e : SetPieceEntries())
				somePieces.push_back(e.first);
			return somePieces;
		}();
		return PIECES;
	}

	void WriteModels(const OutputFolders& aFolders)
	{
		WriteOutputFile(aFolders.engine, PLACEHOLDER_QUAD, PlaceholderQuad());
		// Entities are drawn with the depth test; tiles and props without.
		for (const Entry& e : EntityEntries())
			WriteBuilt(aFolders.game, e.model.path, e.build, false);
		for (const auto& [somePiece, someBuild] : SetPieceEntries())
			WriteBuilt(aFolders.game, somePiece.model.path, someBuild, true);
		WriteCharacterModels(aFolders);
	}
}
