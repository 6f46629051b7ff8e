// The characters' clips. A state that leaves its clip a fixed time before the
// end (its exit offset) plays only the clip's opening part, so each clip is that
// part followed by the offset; looping parts repeat seamlessly within the clip.
#include "Characters.h"

#include <algorithm>
#include <cmath>

namespace NorvArt
{
	namespace
	{
		constexpr double PI = 3.14159265358979323846;

		double Wave(double t, double aPeriod, double aPhase = 0.0) { return std::sin(2 * PI * (t / aPeriod + aPhase)); }
		// 0 before aStart, 1 after aEnd, smooth between.
		double Ease(double t, double aStart, double aEnd)
		{
			const double x = std::clamp((t - aStart) / (aEnd - aStart), 0.0, 1.0);
			return x * x * (3 - 2 * x);
		}
		double Lerp(double a, double b, double t) { return a + (b - a) * t; }

		// ---------------------------------------------------------------- player

		void Breathe(double t, std::vector<BoneMotion>& b)
		{
			b[P_HIPS].offset[1] = 1.2 * Wave(t, 2.0);
			b[P_SPINE].rotation[0] = 2 * Wave(t, 2.0, 0.25);
			b[P_ARM_L].rotation[2] = 4 + 3 * Wave(t, 2.0);
			b[P_ARM_R].rotation[2] = -4 - 3 * Wave(t, 2.0);
			b[P_HEAD].rotation[1] = 6 * Wave(t, 2.0, 0.1);
			b[P_FLOWER].rotation[2] = 8 * Wave(t, 1.0);
		}

		void Stride(double t, std::vector<BoneMotion>& b, double aPeriod, double aSwing)
		{
			const double s = Wave(t, aPeriod);
			b[P_LEG_L].rotation[0] = -aSwing * s;
			b[P_LEG_R].rotation[0] = aSwing * s;
			b[P_ARM_L].rotation[0] = aSwing * 0.8 * s;
			b[P_ARM_R].rotation[0] = -aSwing * 0.8 * s;
			b[P_HIPS].offset[1] = 3 * std::fabs(Wave(t, aPeriod, 0.25));
			b[P_SPINE].rotation[0] = 10;
			b[P_FLOWER].rotation[0] = -10 - 6 * std::fabs(s);
		}

		void ArmsUp(std::vector<BoneMotion>& b, double aAmount)
		{
			b[P_ARM_L].rotation[2] = 120 * aAmount;
			b[P_ARM_R].rotation[2] = -120 * aAmount;
		}

		void Jump(double t, std::vector<BoneMotion>& b)
		{
			const double crouch = 1 - Ease(t, 0.0, 0.15);
			b[P_HIPS].offset[1] = -8 * crouch;
			b[P_LEG_L].rotation[0] = -30 * (1 - crouch) + 10 * Wave(t, 0.5);
			b[P_LEG_R].rotation[0] = 20 * (1 - crouch);
			b[P_ARM_L].rotation[0] = -150 * Ease(t, 0.0, 0.2);
			b[P_ARM_R].rotation[0] = -150 * Ease(t, 0.0, 0.2);
			b[P_FLOWER].rotation[0] = 20 * Ease(t, 0.0, 0.2);
		}

		void Fall(double t, std::vector<BoneMotion>& b)
		{
			ArmsUp(b, 1.0);
			b[P_ARM_L].rotation[2] += 15 * Wave(t, 0.5);
			b[P_ARM_R].rotation[2] -= 15 * Wave(t, 0.5);
			b[P_LEG_L].rotation[0] = 20 * Wave(t, 0.5);
			b[P_LEG_R].rotation[0] = -20 * Wave(t, 0.5);
			b[P_FLOWER].rotation[0] = -25;
		}

		void Land(double t, std::vector<BoneMotion>& b)
		{
			const double squash = std::sin(PI * std::clamp(t / 0.35, 0.0, 1.0));
			b[P_HIPS].offset[1] = -10 * squash;
			b[P_SPINE].rotation[0] = 15 * squash;
			b[P_ARM_L].rotation[2] = 35 * squash;
			b[P_ARM_R].rotation[2] = -35 * squash;
		}

		// The sword arm sweeps from aFrom to aTo degrees about x in the first 0.25 s.
		Motion Swing(double aFrom, double aTo, double aSpineTwist)
		{
			return [=](double t, std::vector<BoneMotion>& b) {
				const double k = Ease(t, 0.04, 0.22);
				b[P_ARM_R].rotation[0] = Lerp(aFrom, aTo, k);
				b[P_SPINE].rotation[1] = aSpineTwist * std::sin(PI * k);
				b[P_ARM_L].rotation[2] = 20 * std::sin(PI * k);
			};
		}

		void Hurt(double t, std::vector<BoneMotion>& b)
		{
			const double k = std::sin(PI * std::clamp(t / 0.45, 0.0, 1.0));
			b[P_SPINE].rotation[0] = -22 * k;
			b[P_HEAD].rotation[0] = -15 * k;
			b[P_ARM_L].rotation[2] = 60 * k;
			b[P_ARM_R].rotation[2] = -60 * k;
			b[P_HIPS].offset[2] = -6 * k;
		}

		void Die(double t, std::vector<BoneMotion>& b)
		{
			const double k = Ease(t, 0.1, 1.2);
			b[P_ROOT].rotation[0] = -90 * k;
			b[P_ROOT].offset[1] = -55 * k;
			b[P_ARM_L].rotation[2] = 70 * k;
			b[P_ARM_R].rotation[2] = -70 * k;
			b[P_HEAD].rotation[1] = 30 * k;
			b[P_FLOWER].rotation[2] = 50 * k;
		}

		void Dash(double t, std::vector<BoneMotion>& b)
		{
			const double k = Ease(t, 0.0, 0.08);
			b[P_SPINE].rotation[0] = 35 * k;
			b[P_ARM_L].rotation[0] = 70 * k;
			b[P_ARM_R].rotation[0] = 70 * k;
			b[P_LEG_L].rotation[0] = -25 * k;
			b[P_LEG_R].rotation[0] = 40 * k;
			b[P_FLOWER].rotation[0] = -40 * k;
		}

		void Climb(double t, std::vector<BoneMotion>& b)
		{
			const double s = Wave(t, 0.8);
			b[P_ARM_L].rotation[0] = -160 + 25 * s;
			b[P_ARM_R].rotation[0] = -160 - 25 * s;
			b[P_LEG_L].rotation[0] = -30 - 25 * s;
			b[P_LEG_R].rotation[0] = -30 + 25 * s;
			b[P_HIPS].offset[1] = 3 * s;
		}

		void Hold(double t, std::vector<BoneMotion>& b)
		{
			b[P_ARM_L].rotation[0] = -165;
			b[P_ARM_R].rotation[0] = -165;
			b[P_LEG_L].rotation[0] = -10 + 4 * Wave(t, 0.8);
			b[P_LEG_R].rotation[0] = -10 - 4 * Wave(t, 0.8);
			b[P_HIPS].offset[1] = 1.5 * Wave(t, 0.8);
		}

		void Slide(double t, std::vector<BoneMotion>& b)
		{
			b[P_ARM_L].rotation[2] = 100;
			b[P_ARM_R].rotation[0] = -60;
			b[P_LEG_L].rotation[0] = -15;
			b[P_LEG_R].rotation[0] = 10;
			b[P_FLOWER].rotation[2] = 15 * Wave(t, 0.5);
		}

		// ---------------------------------------------------------------- hedgehog and boss

		// aCurl 0: standing; 1: rolled into a ball (legs and face tucked in).
		void Curl(std::vector<BoneMotion>& b, double aCurl)
		{
			for (int leg : { H_LEG_FL, H_LEG_FR, H_LEG_BL, H_LEG_BR })
			{
				const double s = 1 - 0.95 * aCurl;
				b[static_cast<size_t>(leg)].scale = { s, s, s };
				b[static_cast<size_t>(leg)].offset[1] = 12 * aCurl;
			}
			b[H_HEAD].offset = { 16 * aCurl, 6 * aCurl, 0 };
			b[H_HEAD].scale = { 1 - 0.4 * aCurl, 1 - 0.4 * aCurl, 1 - 0.4 * aCurl };
			b[H_BODY].scale = { 1 - 0.12 * aCurl, 1 + 0.15 * aCurl, 1 };
			b[H_ROOT].offset[1] = -4 * aCurl;
		}

		void HedgehogIdle(double t, std::vector<BoneMotion>& b)
		{
			b[H_BODY].scale[1] = 1 + 0.03 * Wave(t, 1.0);
			b[H_HEAD].rotation[2] = 6 * Wave(t, 1.0, 0.2);
		}

		Motion HedgehogWalk(double aPeriod, double aSwing, double aHeadDown)
		{
			return [=](double t, std::vector<BoneMotion>& b) {
				const double s = Wave(t, aPeriod);
				b[H_LEG_FL].rotation[2] = aSwing * s;
				b[H_LEG_BR].rotation[2] = aSwing * s;
				b[H_LEG_FR].rotation[2] = -aSwing * s;
				b[H_LEG_BL].rotation[2] = -aSwing * s;
				b[H_BODY].offset[1] = 2 * std::fabs(Wave(t, aPeriod, 0.25));
				b[H_BODY].rotation[2] = 3 * s;
				b[H_HEAD].rotation[2] = aHeadDown + 4 * s;
			};
		}

		void HedgehogRoll(double t, std::vector<BoneMotion>& b)
		{
			Curl(b, 1.0);
			b[H_BODY].rotation[2] = std::fmod(360.0 * t / 0.4, 360.0);
		}

		void HedgehogDizzy(double t, std::vector<BoneMotion>& b)
		{
			Curl(b, 1.0);
			b[H_BODY].rotation[0] = 10 * Wave(t, 0.5);
			b[H_BODY].rotation[2] = 8 * Wave(t, 1.0);
		}

		void HedgehogHurt(double t, std::vector<BoneMotion>& b)
		{
			const double k = std::sin(PI * std::clamp(t / 0.4, 0.0, 1.0));
			b[H_BODY].scale = { 1 + 0.1 * k, 1 - 0.15 * k, 1 + 0.1 * k };
			b[H_HEAD].rotation[2] = -20 * k;
		}

		void HedgehogDeath(double t, std::vector<BoneMotion>& b)
		{
			const double k = Ease(t, 0.25, 0.9);
			b[H_ROOT].rotation[2] = 180 * k;
			b[H_ROOT].offset[1] = -8 * k;
			for (int leg : { H_LEG_FL, H_LEG_FR, H_LEG_BL, H_LEG_BR })
				b[static_cast<size_t>(leg)].rotation[2] = 15 * Wave(t, 0.3) * k;
		}

		// ---------------------------------------------------------------- wasp

		void Wings(double t, std::vector<BoneMotion>& b, double aPeriod)
		{
			const double s = Wave(t, aPeriod);
			b[W_WING_L].rotation[2] = 10 + 45 * s;
			b[W_WING_R].rotation[2] = -10 - 45 * s;
		}

		void WaspFly(double t, std::vector<BoneMotion>& b)
		{
			Wings(t, b, 0.2);
			b[W_BODY].offset[1] = 3 * Wave(t, 0.6);
			b[W_ABDOMEN].rotation[0] = 6 * Wave(t, 0.6, 0.25);
		}

		void WaspAttack(double t, std::vector<BoneMotion>& b)
		{
			Wings(t, b, 0.1);
			b[W_ABDOMEN].rotation[0] = 60 * std::sin(PI * std::clamp(t / 0.6, 0.0, 1.0));
			b[W_BODY].rotation[0] = -15 * std::sin(PI * std::clamp(t / 0.6, 0.0, 1.0));
		}

		void WaspCharge(double t, std::vector<BoneMotion>& b)
		{
			Wings(t, b, 0.1);
			b[W_BODY].rotation[0] = -25;
			b[W_ABDOMEN].rotation[0] = 35;
		}

		void WaspHurt(double t, std::vector<BoneMotion>& b)
		{
			Wings(t, b, 0.2);
			b[W_BODY].rotation[2] = 20 * Wave(t, 0.25) * (1 - Ease(t, 0.2, 0.5));
		}

		void WaspDeath(double t, std::vector<BoneMotion>& b)
		{
			const double k = Ease(t, 0.0, 0.8);
			b[W_WING_L].rotation[2] = -40 * k;
			b[W_WING_R].rotation[2] = 40 * k;
			b[W_ROOT].rotation[2] = 180 * k;
			b[W_ROOT].offset[1] = -30 * k;
		}

		// ---------------------------------------------------------------- mushroom

		void MushroomWalk(double t, std::vector<BoneMotion>& b)
		{
			const double s = Wave(t, 0.8);
			b[M_FOOT_L].offset = { 0, 3 * std::max(0.0, s), 6 * s };
			b[M_FOOT_R].offset = { 0, 3 * std::max(0.0, -s), -6 * s };
			b[M_STEM].rotation[2] = 8 * s;
			b[M_CAP].offset[1] = 2 * std::fabs(Wave(t, 0.8, 0.25));
			b[M_CAP].rotation[2] = -4 * s;
		}

		void MushroomHurt(double t, std::vector<BoneMotion>& b)
		{
			const double k = std::sin(PI * std::clamp(t / 0.5, 0.0, 1.0));
			b[M_STEM].scale = { 1 + 0.15 * k, 1 - 0.25 * k, 1 + 0.15 * k };
			b[M_CAP].rotation[0] = -15 * k;
		}

		void MushroomDeath(double t, std::vector<BoneMotion>& b)
		{
			const double k = Ease(t, 0.0, 0.8);
			b[M_STEM].scale = { 1 + 0.3 * k, 1 - 0.7 * k, 1 + 0.3 * k };
			b[M_CAP].scale = { 1 + 0.2 * k, 1 - 0.4 * k, 1 + 0.2 * k };
		}

		// ---------------------------------------------------------------- flower platform

		constexpr double FLOWER_CLOSED_DEGREES = 72.0;

		// aOpen 0: a closed bud; 1: petals flat.
		void Petals(std::vector<BoneMotion>& b, double aOpen)
		{
			for (int i = 0; i < FLOWER_PETALS; ++i)
			{
				const double a = 2 * PI * i / FLOWER_PETALS;
				b[static_cast<size_t>(F_PETAL_0 + i)].rotation = AxisAngleEuler({ std::sin(a), 0, std::cos(a) }, FLOWER_CLOSED_DEGREES * (1 - aOpen));
			}
		}

		void FlowerSleep(double t, std::vector<BoneMotion>& b)
		{
			Petals(b, 0.0);
			b[F_HEAD].rotation[2] = 3 * Wave(t, 2.0);
			b[F_LEAF_L].rotation[2] = 4 * Wave(t, 2.0, 0.3);
		}

		void FlowerOpening(double t, std::vector<BoneMotion>& b)
		{
			const double k = Ease(t, 0.0, 0.4);
			Petals(b, k + 0.08 * std::sin(PI * Ease(t, 0.3, 0.5)));
		}

		void FlowerOpen(double t, std::vector<BoneMotion>& b)
		{
			Petals(b, 1.0 - 0.03 * (1 + Wave(t, 1.0)));
			b[F_HEAD].offset[1] = 1.5 * Wave(t, 1.0);
		}

		void FlowerClosing(double t, std::vector<BoneMotion>& b)
		{
			Petals(b, 1.0 - Ease(t, 0.0, 0.5));
		}

		// ---------------------------------------------------------------- breakables

		// The pieces of a breakable fly out from aCentre, spin, fall and shrink away.
		Motion Break(const std::string& aCharacter, const Vec3& aCentre, double aBurst)
		{
			const Rig& someRig = FindCharacter(aCharacter).rig;
			return [someRig, aCentre, aBurst](double t, std::vector<BoneMotion>& b) {
				for (size_t i = 1; i < someRig.bones.size(); ++i)
				{
					const Vec3& q = someRig.bones[i].position;
					const Vec3 p{ q[0] - aCentre[0], q[1] - aCentre[1], q[2] - aCentre[2] };
					const double l = std::max(1.0, std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]));
					BoneMotion& m = b[i];
					m.offset = { p[0] / l * aBurst * t, p[1] / l * aBurst * t + 160 * t - 420 * t * t, p[2] / l * aBurst * t };
					m.rotation = { 220 * t * (i % 2 ? 1 : -1), 90 * t, 300 * t * (i % 3 ? 1 : -1) };
					const double s = std::max(0.01, 1 - Ease(t, 0.5, 1.0));
					m.scale = { s, s, s };
				}
			};
		}
	}

	const std::vector<ClipEntry>& ClipCatalogue()
	{
		// Durations: the part a state plays, plus its exit offset (and start time) where it has one.
		static const std::vector<ClipEntry> CLIPS{
			{ "Player", "anim_Idle", "Idle", 2.0 + 0.1, Breathe },
			{ "Player", "anim_Running", "Running", 0.8 + 3.1, [](double t, std::vector<BoneMotion>& b) { Stride(t, b, 0.8, 35); } },
			{ "Player", "anim_JumpFromIdle", "JumpFromIdle", 1.0, Jump },
			{ "Player", "anim_JumpFromRun", "JumpFromRun", 1.0, Jump },
			{ "Player", "anim_JumpFromIdle_InAir", "JumpFromIdle_InAir", 1.0, Fall },
			{ "Player", "anim_JumpFromRun_InAir", "JumpFromRun_InAir", 1.0, Fall },
			{ "Player", "anim_JumpFromIdle_Landing", "JumpFromIdle_Landing", 0.35 + 3.75, Land },
			{ "Player", "anim_JumpFromRun_Landing", "JumpFromRun_Landing", 0.35 + 3.75, Land },
			{ "Player", "anim_AttackFromIdle", "AttackFromIdle", 0.4, Swing(-120, 40, 25) },
			{ "Player", "anim_AttackFromRun", "AttackFromRun", 0.4, Swing(-120, 40, 25) },
			{ "Player", "anim_AttackUp", "AttackUp", 0.4 + 0.75, Swing(-20, -175, 10) },
			{ "Player", "anim_AttackDown", "AttackDown", 0.4 + 0.75, Swing(-170, 10, -10) },
			{ "Player", "anim_AttackDownAir", "AttackDownAir", 0.4 + 0.75, Swing(-170, 10, -10) },
			{ "Player", "anim_Damaged", "Damaged", 0.45 + 4.0, Hurt },
			{ "Player", "anim_Death", "Death", 0.1 + 1.2 + 2.93, Die },
			{ "Player", "anim_Dash", "Dash", 0.4, Dash },
			{ "Player", "anim_Climbing", "Climbing", 0.8 + 3.1, Climb },
			{ "Player", "anim_Holding", "Holding", 0.8 + 3.1, Hold },
			{ "Player", "anim_Sliding", "Sliding", 1.0, Slide },

			{ "Hedgehog", "anim_Idle", "Idle", 1.0, HedgehogIdle },
			{ "Hedgehog", "anim_Roll", "Roll", 0.8 + 0.7, HedgehogRoll },
			{ "Hedgehog", "anim_RollStunned", "RollStunned", 1.0, HedgehogDizzy },
			{ "Hedgehog", "anim_RollStunnedBackUp", "RollStunnedBackUp", 0.1 + 0.42 + 0.38, [](double t, std::vector<BoneMotion>& b) { Curl(b, 1 - Ease(t, 0.1, 0.5)); } },
			{ "Hedgehog", "anim_RollUp", "RollUp", 0.4 + 0.7, [](double t, std::vector<BoneMotion>& b) { Curl(b, Ease(t, 0.0, 0.35)); } },
			{ "Hedgehog", "anim_Unroll", "Unroll", 0.42 + 0.38, [](double t, std::vector<BoneMotion>& b) { Curl(b, 1 - Ease(t, 0.0, 0.4)); } },
			{ "Hedgehog", "anim_Walk", "Walk", 0.8 + 0.2, HedgehogWalk(0.4, 25, 0) },
			{ "Hedgehog", "anim_WalkCharge", "WalkCharge", 0.6 + 0.25, HedgehogWalk(0.3, 35, 12) },
			{ "Hedgehog", "anim_Damaged", "Damaged", 0.4 + 0.01, HedgehogHurt },
			{ "Hedgehog", "anim_Death", "Death", 0.25 + 0.8 + 0.05, HedgehogDeath },

			{ "Wasp", "anim_Flying", "Flying", 0.6 + 0.6, WaspFly },
			{ "Wasp", "anim_Attack", "Attack", 0.6, WaspAttack },
			{ "Wasp", "anim_Damaged", "Damaged", 0.5, WaspHurt },
			{ "Wasp", "anim_Death", "Death", 1.0, WaspDeath },
			{ "Wasp", "anim_FlyingCharge", "FlyingCharge", 0.6 + 0.4, WaspCharge },
			{ "Wasp", "anim_Charge", "Charge", 0.6, WaspCharge },

			{ "Mushroom", "anim_Walk", "Walk", 0.8, MushroomWalk },
			{ "Mushroom", "anim_Damage", "Damage", 0.5, MushroomHurt },
			{ "Mushroom", "anim_Death", "Death", 1.0, MushroomDeath },

			{ "FlowerPlatform", "anim_Sleeping", "Sleeping", 2.0, FlowerSleep },
			{ "FlowerPlatform", "anim_Opening", "Opening", 0.5 + 4.6, FlowerOpening },
			{ "FlowerPlatform", "anim_Open", "Open", 1.0 + 4.3, FlowerOpen },
			{ "FlowerPlatform", "anim_ClosingStatic", "ClosingStatic", 1.0, [](double, std::vector<BoneMotion>& b) { Petals(b, 0.0); } },
			{ "FlowerPlatform", "anim_Closing", "Closing", 0.6 + 2.3, FlowerClosing },

			{ "Crate", "anim_Destroy", "Destroy", 1.0, Break("Crate", { 0, 0, 0 }, 150) },
			{ "Crystal", "anim_Destroy", "Destroy", 1.0, Break("Crystal", { 0, -80, 0 }, 180) },
		};
		return CLIPS;
	}

	void WriteClips(const OutputFolders& aFolders)
	{
		for (const ClipEntry& someEntry : ClipCatalogue())
		{
			const Character& someCharacter = FindCharacter(someEntry.character);
			WriteClip(aFolders.game, someCharacter.ClipPath(someEntry.clip), someCharacter.rig, someEntry.duration, someEntry.motion);
		}
		// The boss moves as the hedgehog does, on its larger rig.
		const Character& someBoss = FindCharacter("HedgehogBoss");
		for (const ClipEntry& someEntry : ClipCatalogue())
			if (someEntry.character == "Hedgehog")
				WriteClip(aFolders.game, someBoss.ClipPath(someEntry.clip), someBoss.rig, someEntry.duration, someEntry.motion);
	}
}
