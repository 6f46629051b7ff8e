// The skinned characters: rigs and low-poly meshes, every part bound rigidly to one bone.
#include "Characters.h"

#include <cmath>
#include <stdexcept>

namespace NorvArt
{
	namespace
	{
		constexpr double PI = 3.14159265358979323846;
		// The player is stored lying in the axes its entity turns upright (x 90, z -180):
		// design up (+y) is stored -z, design front (+z) is stored -y, design x is mirrored.
		constexpr Frame PLAYER_FRAME{ -1, 0, 0, 0, 0, -1, 0, -1, 0 };
		constexpr double BOSS_SCALE = 2.6;
		// The hedgehogs stand with their feet on their collider's floor: the game centres a
		// 175-unit collider on a hedgehog and a 300-unit one on the boss, and their feet are
		// drawn HEDGEHOG_FEET design units under the body's centre line.
		constexpr double HEDGEHOG_FLOOR = 87.5, BOSS_FLOOR = 150.0, HEDGEHOG_FEET = 50.0;

		// Design units the whole hedgehog is lowered by so that its feet meet aFloor units under its origin.
		double HedgehogDrop(double aScale, double aFloor) { return HEDGEHOG_FEET - aFloor / aScale; }
		// The mushroom's feet, drawn 50 units under its origin, meet the floor of its 160-unit collider.
		constexpr double MUSHROOM_DROP = 30.0;
		constexpr double WASP_SCALE = 1.6; // about a tile long, so it reads beside the player

		Rig PlayerRig()
		{
			return { { { "Root", -1, { 0, 0, 0 } }, { "Hips", 0, { 0, -24, 0 } }, { "Spine", 1, { 0, -10, 0 } }, { "Head", 2, { 0, 24, 0 } },
						 { "ArmL", 2, { 21, 16, 0 } }, { "ArmR", 2, { -21, 16, 0 } }, { "LegL", 1, { 9, -28, 0 } }, { "LegR", 1, { -9, -28, 0 } },
						 { "Flower", 3, { 0, 66, 0 } } },
				PLAYER_FRAME };
		}

		Rig HedgehogRig(double aScale, double aFloor)
		{
			return { { { "Root", -1, { 0, 0, 0 } }, { "Body", 0, { 0, -5 + HedgehogDrop(aScale, aFloor), 0 } }, { "Head", 1, { -38, -15, 0 } }, { "LegFL", 1, { -22, -36, 14 } },
						 { "LegFR", 1, { -22, -36, -14 } }, { "LegBL", 1, { 22, -36, 14 } }, { "LegBR", 1, { 22, -36, -14 } } },
				IDENTITY_FRAME, aScale };
		}

		Rig WaspRig()
		{
			return { { { "Root", -1, { 0, 0, 0 } }, { "Body", 0, { 0, 0, 0 } }, { "Head", 1, { 0, 4, -20 } }, { "Abdomen", 1, { 0, -2, 14 } },
				{ "WingL", 1, { 10, 12, -2 } }, { "WingR", 1, { -10, 12, -2 } } },
				IDENTITY_FRAME, WASP_SCALE };
		}

		Rig MushroomRig()
		{
			return { { { "Root", -1, { 0, 0, 0 } }, { "Stem", 0, { 0, -30 - MUSHROOM_DROP, 0 } }, { "Cap", 1, { 0, 12, 0 } }, { "FootL", 1, { 12, -42, 0 } }, { "FootR", 1, { -12, -42, 0 } } } };
		}

		Vec3 PetalDirection(int aPetal)
		{
			const double a = 2 * PI * aPetal / FLOWER_PETALS;
			return { std::cos(a), 0, -std::sin(a) };
		}

		Rig FlowerRig()
		{
			Rig someRig{ { { "Root", -1, { 0, 0, 0 } }, { "Stem", 0, { 0, -150, 0 } }, { "Head", 1, { 0, 40, 0 } }, { "LeafL", 1, { 8, -90, 0 } }, { "LeafR", 1, { -8, -60, 0 } } },
				IDENTITY_FRAME, FLOWER_AUTHORED_SCALE };
			for (int i = 0; i < FLOWER_PETALS; ++i)
			{
				const Vec3 d = PetalDirection(i);
				someRig.bones.push_back({ "Petal" + std::to_string(i), F_HEAD, { d[0] * 14, 40, d[2] * 14 } });
			}
			return someRig;
		}

		// A root and pieces spread over a 100-unit body, for things that break apart.
		Rig BreakableRig(const std::vector<Vec3>& aPieces)
		{
			Rig someRig{ { { "Root", -1, { 0, 0, 0 } } } };
			for (size_t i = 0; i < aPieces.size(); ++i)
				someRig.bones.push_back({ "Piece" + std::to_string(i), 0, aPieces[i] });
			return someRig;
		}

		const std::vector<Vec3> CRATE_PIECES{ { 0, 0, 45 }, { 0, 0, -45 }, { 45, 0, 0 }, { -45, 0, 0 }, { 0, 45, 0 }, { 0, -45, 0 } };
		const std::vector<Vec3> CRYSTAL_PIECES{ { 0, -30, 0 }, { 18, -35, 8 }, { -18, -35, -6 }, { 8, -40, -18 }, { -10, -40, 16 }, { 0, -45, 0 } };

		void BuildPlayer(MeshBuilder& b, Palette& p)
		{
			const int skin = p.Add(Hex(0xF2C9A0)), tunic = p.Add(Hex(0x5E9E4A)), trim = p.Add(Hex(0x3F6E33)), belt = p.Add(Hex(0x7A4E2A));
			const int eye = p.Add(Hex(0x2A1E18)), petal = p.Add(Hex(0xF28DB2)), heart = p.Add(Hex(0xFFD34E)), leaf = p.Add(Hex(0x78C05A)), blade = p.Add(Hex(0xDCE3EA)), boot = p.Add(Hex(0x5A3A22)), cheek = p.Add(Hex(0xF59A9A));
			b.SetFrame(PLAYER_FRAME);
			// Legs and boots.
			for (int side : { 1, -1 })
			{
				b.SetBone(side > 0 ? P_LEG_L : P_LEG_R);
				b.SetSwatch(trim);
				b.Box({ side * 9.0, -50, 0 }, { 6, 20, 7 });
				b.SetSwatch(boot);
				b.Box({ side * 9.0, -71, 3 }, { 7.5, 4, 10 });
			}
			// Body: a bell-shaped tunic with a belt and a flower on the chest.
			b.SetBone(P_SPINE);
			b.SetSwatch(tunic);
			b.Prism({ 0, -32, 0 }, 50, 21, 13, 8, 22.5);
			b.SetSwatch(belt);
			b.Prism({ 0, -22, 0 }, 5, 19.5, 18.5, 8, 22.5);
			b.SetSwatch(petal);
			for (int i = 0; i < 5; ++i)
			{
				const double a = 2 * PI * i / 5 + PI / 2;
				b.Sphere({ std::cos(a) * 5, 2 + std::sin(a) * 5, 16 }, { 3.5, 3.5, 2 }, 5, 3);
			}
			b.SetSwatch(heart);
			b.Sphere({ 0, 2, 17.5 }, { 2.5, 2.5, 2 }, 5, 3);
			// Arms with hands; the right hand holds a short sword.
			for (int side : { 1, -1 })
			{
				b.SetBone(side > 0 ? P_ARM_L : P_ARM_R);
				b.SetSwatch(tunic);
				b.Box({ side * 25.0, 2, 0 }, { 5, 14, 5.5 });
				b.SetSwatch(skin);
				b.Sphere({ side * 25.0, -15, 0 }, { 6, 6, 6 }, 6, 4);
			}
			b.SetBone(P_ARM_R);
			b.SetSwatch(belt);
			b.Box({ -25, -15, 6 }, { 2, 2, 4 });
			b.SetSwatch(blade);
			b.Box({ -25, -15, 24 }, { 1.5, 3, 15 });
			b.SetSwatch(heart);
			b.Box({ -25, -15, 9 }, { 6, 1.5, 1.5 });
			// Head: a big round bare face, as the menus and cutscenes draw it, with eyes and cheeks.
			b.SetBone(P_HEAD);
			b.SetSwatch(skin);
			b.Sphere({ 0, 44, 0 }, { 24, 23, 23 }, 12, 8);
			b.SetSwatch(eye);
			for (int side : { 1, -1 })
				b.Box({ side * 8.5, 46, 21 }, { 2.5, 4.5, 1.5 });
			b.SetSwatch(cheek);
			for (int side : { 1, -1 })
				b.Box({ side * 14.0, 39, 17 }, { 3.5, 2, 1 });
			// The flower growing from the crown: a stem, two leaves and five broad petals round a
			// yellow heart, opened towards the side the camera sees of a running hero.
			b.SetBone(P_FLOWER);
			b.SetSwatch(leaf);
			b.Prism({ 0, 64, 0 }, 6, 2.2, 1.8, 5);
			for (int side : { 1, -1 })
				b.Sphere({ 0, 67, side * 8.0 }, { 2.5, 2.5, 6 }, 6, 3);
			b.SetSwatch(petal);
			for (int i = 0; i < 5; ++i)
			{
				const double a = 2 * PI * i / 5 + PI / 2;
				b.Sphere({ 0, 72 + std::sin(a) * 6.5, std::cos(a) * 6.5 }, { 4.5, 5.5, 5.5 }, 8, 4);
			}
			b.SetSwatch(heart);
			b.Sphere({ 0, 72, 0 }, { 5.5, 4, 4 }, 8, 4);
		}

		void BuildHedgehog(MeshBuilder& b, Palette& p, double aScale, bool aIsBoss)
		{
			b.SetPlacement({ 0, 0, 0 }, { 0, 0, 0 }, { 0, HedgehogDrop(aScale, aIsBoss ? BOSS_FLOOR : HEDGEHOG_FLOOR), 0 });
			const int coat = p.Add(aIsBoss ? Hex(0x5B3A28) : Hex(0x8A6240)), spike = p.Add(aIsBoss ? Hex(0x2E1E16) : Hex(0x4A3222)), tip = p.Add(aIsBoss ? Hex(0xC0392B) : Hex(0xE6D3B0));
			const int face = p.Add(Hex(0xD9B48A)), nose = p.Add(Hex(0x1E1410)), eye = p.Add(aIsBoss ? Hex(0xFFCF33) : Hex(0x1E1410)), foot = p.Add(Hex(0x6B4A30));
			b.SetFrame(IDENTITY_FRAME, aScale);
			b.SetBone(H_BODY);
			b.SetSwatch(coat);
			b.Sphere({ 0, -4, 0 }, { 44, 34, 36 }, 10, 6);
			// Spikes over the back, each a dark cone with a pale (or, on the boss, red) tip.
			for (int ring = 0; ring < 4; ++ring)
				for (int s = 0; s < 12; ++s)
				{
					const double el = (15.0 + 22.0 * ring) * PI / 180, az = (s + 0.5 * (ring % 2)) / 12.0 * 2 * PI;
					const Vec3 d{ std::cos(el) * std::cos(az), std::sin(el), std::cos(el) * std::sin(az) };
					if (d[0] < -0.55)
						continue; // the face stays bare
					const Vec3 someBase{ d[0] * 40, d[1] * 30 - 4, d[2] * 32 };
					b.SetSwatch(spike);
					b.Spike(someBase, d, 22, 6.5, 4);
					b.SetSwatch(tip);
					b.Spike({ someBase[0] + d[0] * 17, someBase[1] + d[1] * 17, someBase[2] + d[2] * 17 }, d, 8, 2.2, 4);
				}
			b.SetBone(H_HEAD);
			b.SetSwatch(face);
			b.Sphere({ -40, -14, 0 }, { 17, 14, 15 }, 8, 5);
			b.Spike({ -50, -15, 0 }, { -1, -0.1, 0 }, 12, 8, 6);
			b.SetSwatch(nose);
			b.Sphere({ -63, -16, 0 }, { 4, 4, 4 }, 6, 4);
			b.SetSwatch(eye);
			for (int side : { 1, -1 })
				b.Box({ -48, -7, side * 9.0 }, { 2.5, 3, 2 });
			b.SetSwatch(foot);
			const HedgehogBone someLegs[4] = { H_LEG_FL, H_LEG_FR, H_LEG_BL, H_LEG_BR };
			const Vec3 someFeet[4] = { { -22, -42, 14 }, { -22, -42, -14 }, { 22, -42, 14 }, { 22, -42, -14 } };
			for (int i = 0; i < 4; ++i)
			{
				b.SetBone(someLegs[i]);
				b.Box(someFeet[i], { 7, 8, 6 });
			}
			b.ClearPlacement();
		}

		void BuildWasp(MeshBuilder& b, Palette& p)
		{
			const int yellow = p.Add(Hex(0xF2C230)), black = p.Add(Hex(0x2A2420)), wing = p.Add(Hex(0xD8ECF5)), eye = p.Add(Hex(0xB0302A)), sting = p.Add(Hex(0x4A403A));
			b.SetFrame(IDENTITY_FRAME, WASP_SCALE);
			b.SetBone(W_BODY);
			b.SetSwatch(yellow);
			b.Sphere({ 0, 0, 0 }, { 13, 12, 13 }, 8, 5);
			b.SetSwatch(black);
			for (int side : { 1, -1 })
				for (int leg = 0; leg < 3; ++leg)
					b.Spike({ side * 6.0, -8, -6.0 + leg * 6 }, { side * 0.5, -1, 0.2 }, 16, 1.6, 3);
			b.SetBone(W_HEAD);
			b.SetSwatch(black);
			b.Sphere({ 0, 4, -22 }, { 10, 9, 9 }, 8, 5);
			b.SetSwatch(eye);
			for (int side : { 1, -1 })
				b.Sphere({ side * 6.0, 6, -27 }, { 4, 5, 3 }, 6, 4);
			b.SetSwatch(black);
			for (int side : { 1, -1 })
				b.Spike({ side * 3.0, 11, -26 }, { side * 0.4, 1, -0.8 }, 12, 1.2, 3);
			// Striped abdomen along +z, ending in the sting.
			b.SetBone(W_ABDOMEN);
			b.SetPlacement({ 0, 0, 14 }, { 90, 0, 0 });
			const double someRadii[5] = { 10, 15, 16, 13, 7 };
			for (int i = 0; i < 4; ++i)
			{
				b.SetSwatch(i % 2 ? black : yellow);
				b.Prism({ 0, 0, 14 + i * 9.0 }, 9, someRadii[i], someRadii[i + 1], 8, 22.5);
			}
			b.ClearPlacement();
			b.SetSwatch(sting);
			b.Spike({ 0, -2, 49 }, { 0, -0.3, 1 }, 12, 3.5, 4);
			// Wings: thin flat blades that the clips beat.
			b.SetSwatch(wing);
			b.SetBone(W_WING_L);
			b.Box({ 28, 13, 4 }, { 18, 0.8, 8 });
			b.SetBone(W_WING_R);
			b.Box({ -28, 13, 4 }, { 18, 0.8, 8 });
		}

		void BuildMushroom(MeshBuilder& b, Palette& p)
		{
			const int stem = p.Add(Hex(0xF1E6CF)), cap = p.Add(Hex(0x8E4FB5)), spot = p.Add(Hex(0xB9F25C)), gill = p.Add(Hex(0xD9C9A8)), eye = p.Add(Hex(0x221A28)), foot = p.Add(Hex(0xC9B58F));
			b.SetPlacement({ 0, 0, 0 }, { 0, 0, 0 }, { 0, -MUSHROOM_DROP, 0 });
			b.SetBone(M_STEM);
			b.SetSwatch(stem);
			b.Prism({ 0, -44, 0 }, 56, 17, 13, 8, 22.5);
			b.SetSwatch(eye);
			for (int side : { 1, -1 })
				b.Box({ side * 6.0, -12, 15 }, { 2.5, 5, 1.5 });
			b.SetBone(M_CAP);
			b.SetSwatch(gill);
			b.Prism({ 0, 8, 0 }, 4, 44, 44, 12);
			b.SetSwatch(cap);
			b.Sphere({ 0, 12, 0 }, { 46, 30, 46 }, 12, 6);
			b.SetSwatch(spot);
			const Vec3 someSpots[6] = { { 0, 40, 12 }, { 24, 30, 20 }, { -26, 30, 16 }, { 30, 28, -14 }, { -20, 34, -22 }, { 8, 38, -26 } };
			for (const Vec3& s : someSpots)
				b.Sphere(s, { 7, 4, 7 }, 6, 3);
			b.SetSwatch(foot);
			b.SetBone(M_FOOT_L);
			b.Box({ 12, -46, 4 }, { 8, 4, 10 });
			b.SetBone(M_FOOT_R);
			b.Box({ -12, -46, 4 }, { 8, 4, 10 });
			b.ClearPlacement();
		}

		void BuildFlower(MeshBuilder& b, Palette& p)
		{
			const int stem = p.Add(Hex(0x4F8F3A)), leaf = p.Add(Hex(0x6DB84E)), petal = p.Add(Hex(0xF3A0C4)), inner = p.Add(Hex(0xE26B9C)), heart = p.Add(Hex(0xFFD34E));
			b.SetFrame(IDENTITY_FRAME, FLOWER_AUTHORED_SCALE);
			b.SetBone(F_STEM);
			b.SetSwatch(stem);
			b.Prism({ 0, -150, 0 }, 190, 10, 8, 6);
			b.SetSwatch(leaf);
			b.SetBone(F_LEAF_L);
			b.SetPlacement({ 8, -90, 0 }, { 0, 0, 25 });
			b.Sphere({ 38, -90, 0 }, { 32, 4, 14 }, 6, 3);
			b.SetBone(F_LEAF_R);
			b.SetPlacement({ -8, -60, 0 }, { 0, 0, -25 });
			b.Sphere({ -38, -60, 0 }, { 32, 4, 14 }, 6, 3);
			b.ClearPlacement();
			b.SetBone(F_HEAD);
			b.SetSwatch(heart);
			b.Sphere({ 0, 40, 0 }, { 18, 10, 18 }, 8, 4);
			// Petals lie flat when open: a platform 200 wide.
			for (int i = 0; i < FLOWER_PETALS; ++i)
			{
				b.SetBone(F_PETAL_0 + i);
				b.SetPlacement({ 0, 40, 0 }, { 0, 360.0 * i / FLOWER_PETALS, 0 });
				b.SetSwatch(petal);
				b.Sphere({ 58, 40, 0 }, { 44, 5, 24 }, 8, 3);
				b.SetSwatch(inner);
				b.Sphere({ 40, 43, 0 }, { 22, 3, 12 }, 6, 3);
			}
			b.ClearPlacement();
		}

		void BuildCrate(MeshBuilder& b, Palette& p)
		{
			const int plank = p.Add(Hex(0xB07A45)), dark = p.Add(Hex(0x7A5230)), nail = p.Add(Hex(0x9AA0A6));
			// Six boards, each a side of the crate with a cross brace.
			const Vec3 someHalves[6] = { { 45, 45, 5 }, { 45, 45, 5 }, { 5, 45, 40 }, { 5, 45, 40 }, { 40, 5, 40 }, { 40, 5, 40 } };
			for (int i = 0; i < 6; ++i)
			{
				b.SetBone(1 + i);
				b.SetSwatch(plank);
				b.Box(CRATE_PIECES[static_cast<size_t>(i)], someHalves[i]);
			}
			b.SetSwatch(dark);
			for (int side : { 1, -1 })
			{
				b.SetBone(side > 0 ? 1 : 2);
				b.SetPlacement({ 0, 0, side * 51.0 }, { 0, 0, 45 });
				b.Box({ 0, 0, side * 51.0 }, { 56, 6, 1.5 });
				b.ClearPlacement();
				b.SetSwatch(nail);
				for (int corner = 0; corner < 4; ++corner)
					b.Box({ (corner & 1 ? 38.0 : -38.0), (corner & 2 ? 38.0 : -38.0), side * 51.5 }, { 2, 2, 1 });
				b.SetSwatch(dark);
			}
		}

		void BuildCrystal(MeshBuilder& b, Palette& p)
		{
			const int crystal = p.Add(Hex(0x7FD8F0)), deep = p.Add(Hex(0x4AA3D8)), rock = p.Add(Hex(0x6E6A72));
			b.SetBone(1 + 5);
			b.SetSwatch(rock);
			b.Prism({ 0, -50, 0 }, 12, 34, 28, 7);
			const double someHeights[5] = { 95, 60, 55, 50, 45 };
			const Vec3 someTilts[5] = { { 0, 0, 0 }, { 0, 0, -25 }, { 0, 0, 25 }, { -25, 0, 0 }, { 25, 0, 0 } };
			for (int i = 0; i < 5; ++i)
			{
				b.SetBone(1 + i);
				b.SetSwatch(i % 2 ? deep : crystal);
				const Vec3& someBase = CRYSTAL_PIECES[static_cast<size_t>(i)];
				b.SetPlacement(someBase, someTilts[i]);
				b.Prism(someBase, someHeights[i] * 0.75, i == 0 ? 16 : 10, i == 0 ? 15 : 9, 6);
				b.Prism({ someBase[0], someBase[1] + someHeights[i] * 0.75, someBase[2] }, someHeights[i] * 0.25, i == 0 ? 15 : 9, 0, 6);
			}
			b.ClearPlacement();
		}
	}

	const std::vector<Character>& Characters()
	{
		static const std::vector<Character> CHARACTERS{
			{ "Player", "models/Characters/Player/", PlayerRig() },
			{ "Hedgehog", "models/Enemies/Hedgehog/", HedgehogRig(1.0, HEDGEHOG_FLOOR) },
			{ "HedgehogBoss", "models/Enemies/HedgehogBoss/", HedgehogRig(BOSS_SCALE, BOSS_FLOOR) },
			{ "Wasp", "models/Enemies/Wasp/", WaspRig() },
			{ "Mushroom", "models/Enemies/Mushroom/", MushroomRig() },
			{ "FlowerPlatform", "models/Interactables/FlowerPlatform/", FlowerRig() },
			{ "Crate", "models/Interactables/Destructibles/", BreakableRig(CRATE_PIECES) },
			{ "Crystal", "models/Interactables/Destructibles/", BreakableRig(CRYSTAL_PIECES) },
		};
		return CHARACTERS;
	}

	const Character& FindCharacter(const std::string& aName)
	{
		for (const Character& someCharacter : Characters())
			if (someCharacter.name == aName)
				return someCharacter;
		throw std::invalid_argument("no character " + aName);
	}

	void WriteCharacterModels(const OutputFolders& aFolders)
	{
		for (const Character& someCharacter : Characters())
		{
			Palette somePalette;
			MeshBuilder someMesh(somePalette);
			if (someCharacter.name == "Player")
				BuildPlayer(someMesh, somePalette);
			else if (someCharacter.name == "Hedgehog" || someCharacter.name == "HedgehogBoss")
				BuildHedgehog(someMesh, somePalette, someCharacter.rig.scale, someCharacter.name == "HedgehogBoss");
			else if (someCharacter.name == "Wasp")
				BuildWasp(someMesh, somePalette);
			else if (someCharacter.name == "Mushroom")
				BuildMushroom(someMesh, somePalette);
			else if (someCharacter.name == "FlowerPlatform")
				BuildFlower(someMesh, somePalette);
			else if (someCharacter.name == "Crate")
				BuildCrate(someMesh, somePalette);
			else
				BuildCrystal(someMesh, somePalette);
			WriteSkinnedModel(aFolders.game, someCharacter.ModelPath(), someCharacter.rig, someMesh, somePalette);
		}
	}
}
