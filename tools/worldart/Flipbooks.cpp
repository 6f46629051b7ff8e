// The flipbook sprite sheets of the world's effects. One texel is one world unit
// at single size, so a frame's pixel size is its size on screen in the world.
// Sheets are BC3: large frames (the dash trails) stay a few megabytes.
#include "DdsWriter.h"
#include "WorldArt.h"

#include <cmath>
#include <functional>

namespace NorvArt
{
	namespace
	{
		constexpr float PI = 3.14159265f;

		// Paints one frame into the cell at (x0, y0) of size (w, h); t runs 0..1 over the sheet.
		struct Cell
		{
			Image& image;
			std::array<int, 4> clip;
			float cx, cy, w, h, t;
			int frame;

			void Disc(float aX, float aY, float aRadius, float aSoftness, const Rgba& aColor) const
			{
				image.Disc(cx + aX * w, cy + aY * h, aRadius * w, aSoftness * w, aColor, clip);
			}
		};
		using Painter = std::function<void(const Cell&)>;

		std::string Sheet(int aColumns, int aRows, int aFrameWidth, int aFrameHeight, const Painter& aPaint)
		{
			Image someImage(static_cast<std::uint32_t>(aColumns * aFrameWidth), static_cast<std::uint32_t>(aRows * aFrameHeight));
			const int someCount = aColumns * aRows;
			for (int f = 0; f < someCount; ++f)
			{
				const int x0 = (f % aColumns) * aFrameWidth, y0 = (f / aColumns) * aFrameHeight;
				const Cell someCell{ someImage, { x0, y0, x0 + aFrameWidth, y0 + aFrameHeight }, x0 + aFrameWidth * 0.5f, y0 + aFrameHeight * 0.5f,
					static_cast<float>(aFrameWidth), static_cast<float>(aFrameHeight), someCount > 1 ? static_cast<float>(f) / static_cast<float>(someCount - 1) : 0.0f, f };
				aPaint(someCell);
			}
			return WriteBc3Dds(someImage);
		}

		float Fade(float t) { return 1.0f - SmoothStep(0.55f, 1.0f, t); }

		// Soft puffs that spread from the centre and thin out: dust and smoke.
		Painter Puff(const Rgba& aColor, int aPuffs, float aSpread, float aRise, std::uint32_t aSeed)
		{
			return [=](const Cell& c) {
				for (int i = 0; i < aPuffs; ++i)
				{
					const float a = 2.0f * PI * (static_cast<float>(i) + Hash01(static_cast<std::uint32_t>(i), 0, aSeed)) / static_cast<float>(aPuffs);
					const float r = aSpread * (0.3f + 0.7f * std::sqrt(c.t)) * (0.6f + 0.4f * Hash01(static_cast<std::uint32_t>(i), 1, aSeed));
					const float size = (0.08f + 0.10f * c.t) * (0.7f + 0.6f * Hash01(static_cast<std::uint32_t>(i), 2, aSeed));
					c.Disc(std::cos(a) * r, std::sin(a) * r * 0.6f - aRise * c.t, size, size * 0.6f, { aColor.r, aColor.g, aColor.b, aColor.a * Fade(c.t) });
				}
			};
		}

		// Sparks flying outward from a bright core: hits, deflects, pickups.
		Painter Burst(const Rgba& aCore, const Rgba& aSpark, int aSparks, std::uint32_t aSeed)
		{
			return [=](const Cell& c) {
				c.Disc(0, 0, 0.22f * (1.0f - c.t) + 0.02f, 0.08f, { aCore.r, aCore.g, aCore.b, aCore.a * Fade(c.t) });
				for (int i = 0; i < aSparks; ++i)
				{
					const float a = 2.0f * PI * (static_cast<float>(i) + 0.5f * Hash01(static_cast<std::uint32_t>(i), 3, aSeed)) / static_cast<float>(aSparks);
					for (int k = 0; k < 3; ++k)
					{
						const float r = (0.08f + 0.36f * c.t) - 0.03f * static_cast<float>(k);
						c.Disc(std::cos(a) * r, std::sin(a) * r, 0.035f - 0.008f * static_cast<float>(k), 0.015f, { aSpark.r, aSpark.g, aSpark.b, aSpark.a * Fade(c.t) });
					}
				}
			};
		}

		// A crescent sweeping through an arc: the sword's slash.
		Painter Slash(const Rgba& aColor, float aStartDegrees, float aSweepDegrees, bool aMirror)
		{
			return [=](const Cell& c) {
				const float someHead = aStartDegrees + aSweepDegrees * SmoothStep(0.0f, 0.6f, c.t);
				for (int k = 0; k < 24; ++k)
				{
					const float a = (someHead - aSweepDegrees * 0.6f * static_cast<float>(k) / 24.0f) * PI / 180.0f;
					const float x = std::cos(a) * 0.36f * (aMirror ? -1.0f : 1.0f), y = -std::sin(a) * 0.36f;
					const float tail = 1.0f - static_cast<float>(k) / 24.0f;
					c.Disc(x, y, 0.05f * tail + 0.01f, 0.02f, { aColor.r, aColor.g, aColor.b, aColor.a * tail * Fade(c.t) });
				}
			};
		}

		// A glowing streak stretched along x: the dash trail.
		Painter Streak(const Rgba& aColor, const Rgba& aSparkle, bool aSparkles)
		{
			return [=](const Cell& c) {
				const float someLength = 0.15f + 0.3f * SmoothStep(0.0f, 0.4f, c.t);
				for (int k = 0; k < 20; ++k)
				{
					const float s = static_cast<float>(k) / 19.0f;
					c.Disc(-someLength + 2.0f * someLength * s, 0, 0.04f + 0.06f * s, 0.04f, { aColor.r, aColor.g, aColor.b, aColor.a * s * Fade(c.t) });
				}
				if (aSparkles)
					for (int i = 0; i < 8; ++i)
						c.Disc(-0.4f + 0.8f * Hash01(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(c.frame), 7), -0.2f + 0.4f * Hash01(static_cast<std::uint32_t>(i), 5, 7), 0.02f, 0.01f,
							{ aSparkle.r, aSparkle.g, aSparkle.b, aSparkle.a * Fade(c.t) });
			};
		}

		// Flames licking upward; aIgnite grows them from nothing over the sheet.
		Painter Fire(bool aIgnite)
		{
			return [=](const Cell& c) {
				const float someGrowth = aIgnite ? SmoothStep(0.0f, 0.8f, c.t) : 1.0f;
				const float phase = c.t * 2.0f * PI;
				for (int i = 0; i < 9; ++i)
				{
					const float s = static_cast<float>(i) / 8.0f;
					const float sway = std::sin(phase * 2.0f + static_cast<float>(i)) * 0.05f * s;
					const Rgba someColor = Mix(Hex(0xFFE27A), Hex(0xE8501C, 0.0f), s);
					c.Disc(sway, (0.4f - 0.65f * s) * someGrowth + 0.2f * (1.0f - someGrowth), (0.2f - 0.15f * s) * someGrowth + 0.01f, 0.06f, someColor);
				}
				for (int i = 0; i < 3; ++i)
				{
					const float e = std::fmod(c.t * 3.0f + static_cast<float>(i) / 3.0f, 1.0f);
					c.Disc(0.15f * std::sin(static_cast<float>(i) * 2.1f + phase), 0.4f - 0.7f * e, 0.02f, 0.01f, Hex(0xFFB040, (1.0f - e) * someGrowth));
				}
			};
		}

		// A wobbling green cloud that loops.
		Painter Fog()
		{
			return [](const Cell& c) {
				const float phase = c.t * 2.0f * PI;
				for (int i = 0; i < 7; ++i)
				{
					const float a = static_cast<float>(i) * 0.9f + phase;
					c.Disc(std::cos(a) * 0.18f, std::sin(a * 1.3f) * 0.1f, 0.2f, 0.12f, Hex(0x9BD15A, 0.45f));
				}
			};
		}

		// Two pairs of wings opening and closing around a dark body.
		Painter Butterfly()
		{
			return [](const Cell& c) {
				const float open = 0.35f + 0.65f * std::fabs(std::cos(c.t * PI));
				for (int side = -1; side <= 1; side += 2)
				{
					const float s = static_cast<float>(side);
					c.Disc(s * 0.2f * open, -0.1f, 0.2f * (0.5f + 0.5f * open), 0.04f, Hex(0xF4A6C8));
					c.Disc(s * 0.16f * open, 0.15f, 0.13f * (0.5f + 0.5f * open), 0.04f, Hex(0xF7D36B));
				}
				c.Disc(0, 0, 0.05f, 0.02f, Hex(0x3B2A20));
			};
		}

		// A ring that closes in (recharge) or a pulse that flickers (low stamina).
		Painter Ring(const Rgba& aColor, bool aInward)
		{
			return [=](const Cell& c) {
				const float r = aInward ? 0.42f - 0.3f * c.t : 0.15f + 0.25f * c.t;
				for (int k = 0; k < 24; ++k)
				{
					const float a = 2.0f * PI * static_cast<float>(k) / 24.0f;
					c.Disc(std::cos(a) * r, std::sin(a) * r, 0.04f, 0.02f, { aColor.r, aColor.g, aColor.b, aColor.a * Fade(c.t) });
				}
			};
		}

		// Spinning spikes of a rolling hedgehog.
		Painter Spin()
		{
			return [](const Cell& c) {
				const float a0 = c.t * 2.0f * PI;
				for (int i = 0; i < 10; ++i)
				{
					const float a = a0 + 2.0f * PI * static_cast<float>(i) / 10.0f;
					for (int k = 0; k < 4; ++k)
					{
						const float r = 0.2f + 0.06f * static_cast<float>(k);
						c.Disc(std::cos(a - 0.15f * static_cast<float>(k)) * r, std::sin(a - 0.15f * static_cast<float>(k)) * r, 0.03f, 0.015f, Hex(0xE8D7B0, 0.8f * Fade(c.t) * (1.0f - 0.2f * static_cast<float>(k))));
					}
				}
			};
		}
	}

	void WriteFlipbooks(const OutputFolders& aFolders)
	{
		const Rgba DUST = Hex(0xC8B08A, 0.85f), SMOKE = Hex(0x8C8F98, 0.8f), GOLD = Hex(0xFFE07A), WHITE = Hex(0xFFFFFF), PETAL = Hex(0xF07A9A), SLASH = Hex(0xFFF4D6, 0.9f);
		const auto Write = [&](const std::string& aName, const std::string& aBytes) { WriteOutputFile(aFolders.game, "textures/VFX/" + aName, aBytes); };

		Write("Player/VFX_5x5_Jumping_Flip.dds", Sheet(5, 5, 48, 48, Puff(DUST, 8, 0.35f, 0.0f, 1)));
		Write("Player/VFX_4x8_Landing_Flip.dds", Sheet(4, 8, 64, 32, Puff(DUST, 10, 0.4f, 0.1f, 2)));
		Write("Player/VFX_8x8_DashBasic_Horizontal_Flip.dds", Sheet(8, 8, 256, 256, Streak(Hex(0xFFF1C9, 0.8f), WHITE, false)));
		Write("Player/VFX_8x8_DashUpgraded_Horizontal_Flip.dds", Sheet(8, 8, 320, 320, Streak(Hex(0xFFB3D1, 0.85f), GOLD, true)));
		Write("Player/VFX_4x4_Walking_Flip.dds", Sheet(4, 4, 24, 24, Puff(DUST, 4, 0.25f, 0.15f, 3)));
		Write("Player/VFX_6x6_PlayerDamaged_Flip.dds", Sheet(6, 6, 64, 64, Burst(Hex(0xFF5A5A, 0.6f), PETAL, 7, 4)));
		Write("Player/VFX_5x5_Attack_Right.dds", Sheet(5, 5, 128, 128, Slash(SLASH, 120.0f, -200.0f, false)));
		Write("Player/VFX_5x5_Attack_left.dds", Sheet(5, 5, 128, 128, Slash(SLASH, 120.0f, -200.0f, true)));
		Write("Player/VFX_5x5_AttackUp_Right.dds", Sheet(5, 5, 128, 128, Slash(SLASH, 180.0f, -180.0f, false)));
		Write("Player/VFX_7X4_AttackDown_Left_V2.dds", Sheet(7, 4, 96, 128, Slash(SLASH, 0.0f, -180.0f, true)));
		Write("Player/VFX_6x6_LowStamina_Flip.dds", Sheet(6, 6, 48, 48, Ring(Hex(0x7FC8FF, 0.8f), false)));
		Write("Player/VFX_5x5_DashRecharge_Flip.dds", Sheet(5, 5, 32, 32, Ring(GOLD, true)));
		Write("VFX_4x4_Hedgehodspin.dds", Sheet(4, 4, 64, 64, Spin()));
		Write("VFX_4x4_EnemyDeflect_Flip.dds", Sheet(4, 4, 64, 64, Burst(Hex(0xBFE6FF, 0.7f), WHITE, 6, 5)));
		Write("VFX_4x4_EnemyHit_Flip.dds", Sheet(4, 4, 64, 64, Burst(Hex(0xFFD27A, 0.7f), GOLD, 8, 6)));
		Write("VFX_8x8_EnemyDeath_Flip.dds", Sheet(8, 8, 64, 64, Puff(SMOKE, 9, 0.3f, 0.2f, 7)));
		Write("VFX_8x8_Pickup_Flip.dds", Sheet(8, 8, 48, 48, Burst(Hex(0xFFF2A8, 0.5f), GOLD, 6, 8)));
		Write("VFX_3x3_EnvironmentButterfly_Flip.dds", Sheet(3, 3, 32, 32, Butterfly()));
		Write("VFX_5x5_ToxicMushroomFog.dds", Sheet(5, 5, 96, 96, Fog()));
		Write("VFX_StartLoopV5_8x8.dds", Sheet(8, 8, 64, 64, Fire(true)));
		Write("VFX_FireLoopV5_8x8.dds", Sheet(8, 8, 64, 64, Fire(false)));
	}
}
