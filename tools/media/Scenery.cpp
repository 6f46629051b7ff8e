#include "Scenery.h"

#include "Synth.h"

#include <cmath>

namespace NorvMedia
{
	namespace
	{
		struct MoodColors
		{
			Rgba mySkyTop, mySkyBottom, myFar, myMiddle, myNear, myLeaves, myGlow;
		};

		MoodColors ColorsOf(Mood aMood)
		{
			switch (aMood)
			{
			case Mood::Dusk: return { Hex(0x5B4A7A), Hex(0xF2A65A), Hex(0x8A6E8C), Hex(0x5B5A4A), Hex(0x3E4A2A), Hex(0x4A6A34), Hex(0xFFC27A, 0.5f) };
			case Mood::Cave: return { Hex(0x1A1614), Hex(0x3A2E26), Hex(0x3A3430), Hex(0x2C2622), Hex(0x231E1A), Hex(0x3F5A4A), Hex(0x7FE0D0, 0.25f) };
			case Mood::Mist: return { Hex(0x8C98A0), Hex(0xC8CCC4), Hex(0xA8B0AC), Hex(0x7A8A80), Hex(0x4E5E4E), Hex(0x5E7060), Hex(0xFFFFFF, 0.2f) };
			case Mood::Day: break;
			}
			return { Hex(0x9FD4E8), Hex(0xFBEFC8), Hex(0x9CC48A), Hex(0x6FA255), Hex(0x4E8A3A), Palette::LEAF, Hex(0xFFF3B0, 0.6f) };
		}

		// Ground whose top follows a sum of slow waves; painted column by column.
		void PaintHill(Canvas& aCanvas, float aBaseY, float anAmplitude, float aScroll, std::uint32_t aSeed, const Rgba& aColor)
		{
			const float someWidth = static_cast<float>(aCanvas.Width());
			const float somePhase = static_cast<float>(aSeed % 97) * 0.37f;
			for (int x = 0; x < aCanvas.Width(); ++x)
			{
				const float u = (static_cast<float>(x) + aScroll) / someWidth;
				const float someTop = aBaseY - anAmplitude * (0.55f * std::sin(u * 5.1f + somePhase) + 0.3f * std::sin(u * 11.3f + somePhase * 2.0f) + 0.15f * std::sin(u * 23.0f));
				for (int y = std::max(0, static_cast<int>(someTop) - 1); y < aCanvas.Height(); ++y)
				{
					const float someCoverage = std::clamp(static_cast<float>(y) + 1.0f - someTop, 0.0f, 1.0f);
					const float someDepth = std::clamp((static_cast<float>(y) - someTop) / (anAmplitude * 4.0f + 1.0f), 0.0f, 1.0f);
					aCanvas.Blend(x, y, Shade(aColor, 1.0f - 0.25f * someDepth), someCoverage);
				}
			}
		}
	}

	void PaintTree(Canvas& aCanvas, float x, float aGroundY, float aHeight, const Rgba& aLeaves, std::uint32_t aSeed)
	{
		Random someRandom(aSeed);
		const float someTrunk = aHeight * 0.06f;
		aCanvas.FillCapsule(x, aGroundY, x + aHeight * 0.02f, aGroundY - aHeight * 0.6f, someTrunk, Palette::BARK);
		aCanvas.FillCapsule(x, aGroundY - aHeight * 0.45f, x + aHeight * 0.14f, aGroundY - aHeight * 0.62f, someTrunk * 0.5f, Palette::BARK);
		const float someTop = aGroundY - aHeight * 0.7f;
		for (int i = 0; i < 7; ++i)
		{
			const float someX = x + someRandom.Signed() * aHeight * 0.2f;
			const float someY = someTop + someRandom.Signed() * aHeight * 0.15f;
			const float someRadius = aHeight * (0.15f + 0.08f * someRandom.Unit());
			const Rgba someClump = Shade(aLeaves, 0.8f + 0.3f * someRandom.Unit());
			aCanvas.FillCircle(someX, someY, someRadius, someClump, 2.5f);
			// Shade under each clump and a soft lit patch on its upper left.
			aCanvas.FillCircle(someX + someRadius * 0.15f, someY + someRadius * 0.3f, someRadius * 0.6f, Shade(someClump, 0.8f), someRadius * 0.5f);
			Rgba someLight = Mix(someClump, Palette::MOSS, 0.6f);
			someLight.a = 0.7f;
			aCanvas.FillCircle(someX - someRadius * 0.3f, someY - someRadius * 0.35f, someRadius * 0.45f, someLight, someRadius * 0.35f);
		}
	}

	void PaintStemFlower(Canvas& aCanvas, float x, float aGroundY, float aHeight, float aOpen, const Rgba& aPetal)
	{
		const float someHeadY = aGroundY - aHeight;
		aCanvas.FillCapsule(x, aGroundY, x + aHeight * 0.05f, someHeadY, std::max(1.0f, aHeight * 0.035f), Palette::DARK_LEAF);
		aCanvas.FillLeaf(x, aGroundY - aHeight * 0.3f, x + aHeight * 0.35f, aGroundY - aHeight * 0.5f, aHeight * 0.14f, Palette::LEAF);
		const float someRadius = aHeight * (0.12f + 0.16f * aOpen);
		aCanvas.FillFlower(x + aHeight * 0.05f, someHeadY, someRadius, 0.3f + aHeight * 0.01f, aPetal, Palette::SUN_YELLOW);
	}

	void PaintBackdrop(Canvas& aCanvas, Mood aMood, std::uint32_t aSeed, float aGroundLine, float aScroll)
	{
		const MoodColors c = ColorsOf(aMood);
		const float w = static_cast<float>(aCanvas.Width());
		const float h = static_cast<float>(aCanvas.Height());
		aCanvas.VerticalGradient(c.mySkyTop, c.mySkyBottom);
		aCanvas.FillCircle(w * 0.72f - aScroll * 0.05f, h * 0.25f, h * 0.28f, c.myGlow, h * 0.25f);
		if (aMood == Mood::Cave)
			for (int i = 0; i < 14; ++i)
			{
				// Stalactites hanging from the ceiling.
				const float someX = w * (static_cast<float>(i) + 0.3f) / 14.0f - aScroll * 0.3f;
				aCanvas.FillLeaf(someX, -h * 0.05f, someX + w * 0.005f, h * (0.12f + 0.1f * static_cast<float>((i * 7) % 5) / 5.0f), w * 0.03f, Hex(0x4A3E36));
			}
		PaintHill(aCanvas, h * (aGroundLine - 0.28f), h * 0.08f, aScroll * 0.2f, aSeed, c.myFar);
		Random someRandom(aSeed);
		if (aMood != Mood::Cave)
			for (int i = 0; i < 9; ++i)
			{
				const float someX = std::fmod(w * (static_cast<float>(i) + someRandom.Unit()) / 8.0f - aScroll * 0.5f + w * 2.0f, w * 1.15f) - w * 0.05f;
				PaintTree(aCanvas, someX, h * (aGroundLine - 0.08f), h * (0.45f + 0.2f * someRandom.Unit()), Mix(c.myLeaves, c.myFar, 0.35f), aSeed + 10u + static_cast<std::uint32_t>(i));
			}
		PaintHill(aCanvas, h * (aGroundLine - 0.1f), h * 0.05f, aScroll * 0.5f, aSeed + 1u, c.myMiddle);
		if (aMood == Mood::Mist)
			aCanvas.Fill(0, h * 0.3f, w, h * 0.9f, 1.0f, [](float, float) { return -1.0f; }, [&](float x, float y) {
				const float someFog = Fbm(x / (w * 0.15f), y / (h * 0.08f), aSeed + 5u);
				return Hex(0xE6EAE4, 0.45f * someFog * std::clamp(1.0f - std::abs(y / h - 0.62f) * 3.0f, 0.0f, 1.0f));
			});
		PaintHill(aCanvas, h * aGroundLine, h * 0.025f, aScroll, aSeed + 2u, c.myNear);
		// Grass blades and flowers along the near ground.
		const Rgba someGrass = Mix(c.myNear, aMood == Mood::Cave ? Hex(0x4F6A5A) : Palette::MOSS, 0.5f);
		for (int i = 0; i < static_cast<int>(w / 9.0f); ++i)
		{
			const float someX = std::fmod(someRandom.Unit() * w * 1.2f - aScroll + w * 4.0f, w * 1.2f) - w * 0.1f;
			const float someY = h * aGroundLine + someRandom.Unit() * h * 0.04f;
			const float someBlade = h * (0.025f + someRandom.Unit() * 0.03f);
			aCanvas.FillLeaf(someX, someY + someBlade * 0.3f, someX + someRandom.Signed() * someBlade * 0.4f, someY - someBlade, std::max(2.0f, h * 0.006f), Shade(someGrass, 0.8f + 0.4f * someRandom.Unit()));
		}
		const Rgba somePetals[] = { Palette::PETAL_PINK, Palette::CREAM, Palette::PETAL_RED, Hex(0xB58AE0) };
		if (aMood == Mood::Cave)
			for (int i = 0; i < 6; ++i)
			{
				// Glowing crystals in place of flowers.
				const float someX = std::fmod(w * (static_cast<float>(i) + 0.5f) / 6.0f - aScroll + w * 4.0f, w);
				aCanvas.FillCircle(someX, h * aGroundLine, h * 0.08f, Hex(0x7FE0D0, 0.25f), h * 0.06f);
				aCanvas.FillLeaf(someX, h * (aGroundLine + 0.02f), someX + h * 0.01f, h * (aGroundLine - 0.09f), h * 0.04f, Hex(0x7FE0D0));
				aCanvas.FillLeaf(someX - h * 0.02f, h * (aGroundLine + 0.02f), someX - h * 0.05f, h * (aGroundLine - 0.04f), h * 0.03f, Hex(0x5FC0C8));
			}
		else
			for (int i = 0; i < static_cast<int>(w / 90.0f); ++i)
			{
				const float someX = std::fmod(someRandom.Unit() * w * 1.2f - aScroll + w * 4.0f, w * 1.2f) - w * 0.1f;
				const Rgba& somePetal = somePetals[someRandom.Below(4)];
				PaintStemFlower(aCanvas, someX, h * aGroundLine + someRandom.Unit() * h * 0.05f, h * (0.04f + someRandom.Unit() * 0.04f), aMood == Mood::Mist ? 0.3f : 1.0f,
					aMood == Mood::Mist ? Mix(somePetal, Hex(0x8890A0), 0.5f) : somePetal);
			}
		aCanvas.Grain(0.06f, std::max(2.0f, h / 180.0f), aSeed + 3u);
	}

	void PaintHero(Canvas& aCanvas, float x, float aFeetY, float aHeight, float aStep, float aFacing)
	{
		const float u = aHeight / 10.0f; // the hero is ten units tall
		const float someSwing = std::sin(aStep * 2.0f * 3.14159265f) * u * 0.8f;
		const Rgba someSkin = Hex(0xF3D2B0);
		const Rgba someTunic = Hex(0x4F8A3C);
		// Legs and arms behind the body.
		aCanvas.FillCapsule(x - u * 0.6f, aFeetY - u * 3.0f, x - u * 0.6f - someSwing, aFeetY - u * 0.4f, u * 0.45f, Palette::BARK);
		aCanvas.FillCapsule(x + u * 0.6f, aFeetY - u * 3.0f, x + u * 0.6f + someSwing, aFeetY - u * 0.4f, u * 0.45f, Palette::DARK_BARK);
		aCanvas.FillCapsule(x - u * 1.2f, aFeetY - u * 5.2f, x - u * 1.9f + someSwing * 0.6f, aFeetY - u * 3.3f, u * 0.4f, someSkin);
		aCanvas.FillEllipse(x, aFeetY - u * 4.2f, u * 1.6f, u * 2.1f, 0.0f, someTunic);
		aCanvas.FillLeaf(x - u * 1.5f, aFeetY - u * 3.0f, x + u * 1.5f, aFeetY - u * 3.0f, u * 0.8f, Hex(0x3A6A2C));
		aCanvas.FillCapsule(x + u * 1.2f, aFeetY - u * 5.2f, x + u * 1.9f - someSwing * 0.6f, aFeetY - u * 3.3f, u * 0.4f, someSkin);
		// Head with eyes looking the way the hero faces, crowned by a flower.
		const float someHeadY = aFeetY - u * 7.3f;
		aCanvas.FillCircle(x, someHeadY, u * 1.8f, someSkin);
		aCanvas.FillCircle(x + aFacing * u * 0.5f, someHeadY - u * 0.1f, u * 0.22f, Palette::INK);
		aCanvas.FillCircle(x + aFacing * u * 1.2f, someHeadY - u * 0.1f, u * 0.22f, Palette::INK);
		aCanvas.FillCircle(x + aFacing * u * 0.85f, someHeadY + u * 0.6f, u * 0.3f, Hex(0xE89A8A, 0.7f), 2.0f);
		aCanvas.FillLeaf(x, someHeadY - u * 1.6f, x - aFacing * u * 1.4f, someHeadY - u * 2.6f, u * 0.7f, Palette::LEAF);
		aCanvas.FillFlower(x + aFacing * u * 0.3f, someHeadY - u * 2.0f, u * 1.2f, 0.2f, Palette::PETAL_PINK, Palette::SUN_YELLOW);
	}

	void PaintHedgehog(Canvas& aCanvas, float x, float aFeetY, float aHeight, bool anAngry)
	{
		const float r = aHeight * 0.55f;
		const float cy = aFeetY - r * 0.85f;
		for (int i = 0; i < 15; ++i)
		{
			// Spikes fan out over the back.
			const float a = 3.14159265f * (0.15f + 0.85f * static_cast<float>(i) / 14.0f);
			aCanvas.FillLeaf(x + std::cos(a) * r * 0.5f, cy - std::sin(a) * r * 0.5f, x + std::cos(a) * r * 1.35f, cy - std::sin(a) * r * 1.35f, r * 0.28f, i % 2 ? Palette::DARK_BARK : Palette::BARK);
		}
		aCanvas.FillEllipse(x, cy, r * 1.05f, r * 0.85f, 0.0f, Hex(0x7A5234));
		aCanvas.FillEllipse(x - r * 0.55f, cy + r * 0.15f, r * 0.6f, r * 0.45f, -0.2f, Hex(0xD9B48A));
		aCanvas.FillCircle(x - r * 1.1f, cy + r * 0.15f, r * 0.12f, Palette::INK);
		aCanvas.FillCircle(x - r * 0.6f, cy - r * 0.05f, r * 0.1f, anAngry ? Hex(0xD02020) : Palette::INK);
		aCanvas.FillCapsule(x - r * 0.5f, aFeetY - r * 0.2f, x - r * 0.55f, aFeetY, r * 0.12f, Palette::DARK_BARK);
		aCanvas.FillCapsule(x + r * 0.4f, aFeetY - r * 0.2f, x + r * 0.45f, aFeetY, r * 0.12f, Palette::DARK_BARK);
	}

	void PaintBoard(Canvas& aCanvas, float cx, float cy, float aHalfWidth, float aHalfHeight, std::uint32_t aSeed, bool anIsDark)
	{
		const float someCorner = std::min(aHalfWidth, aHalfHeight) * 0.25f;
		aCanvas.FillBox(cx + 6.0f, cy + 10.0f, aHalfWidth, aHalfHeight, someCorner, Hex(0x000000, 0.35f), 14.0f);
		aCanvas.FillBox(cx, cy, aHalfWidth, aHalfHeight, someCorner, anIsDark ? Hex(0x24160C) : Palette::DARK_BARK, 1.5f);
		const float someBorder = std::max(4.0f, std::min(aHalfWidth, aHalfHeight) * 0.06f);
		const Rgba someDarkGrain = anIsDark ? Hex(0x4A2E1A) : Palette::WOOD;
		const Rgba someLightGrain = anIsDark ? Hex(0x6E4A2E) : Palette::LIGHT_WOOD;
		// A thin lit bevel along the upper rim.
		aCanvas.FillBox(cx, cy - someBorder * 0.4f, aHalfWidth - someBorder * 0.6f, aHalfHeight - someBorder * 0.8f, someCorner * 0.8f, Shade(someLightGrain, 1.25f), 1.5f);
		aCanvas.Fill(cx - aHalfWidth, cy - aHalfHeight, cx + aHalfWidth, cy + aHalfHeight, 1.5f,
			[&](float x, float y) { return BoxDistance(x, y, cx, cy, aHalfWidth - someBorder, aHalfHeight - someBorder, someCorner * 0.7f); },
			[&](float x, float y) {
				// Wood grain: long streaks across, lighter towards the top.
				const float someGrain = Fbm(x / (aHalfWidth * 0.6f), y / (aHalfHeight * 0.05f + 2.0f), aSeed);
				const float someLight = 1.1f - 0.25f * (y - cy + aHalfHeight) / (2.0f * aHalfHeight);
				return Shade(Mix(someDarkGrain, someLightGrain, someGrain), someLight);
			});
	}
}
