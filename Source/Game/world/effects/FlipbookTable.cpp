#include "world/effects/FlipbookTable.h"

#include <array>

namespace FlipbookTable
{
	namespace
	{
		constexpr const char* WALKING = "textures/VFX/Player/VFX_4x4_Walking_Flip.dds";
		constexpr const char* HEDGEHOG_SPIN = "textures/VFX/VFX_4x4_Hedgehodspin.dds";
		constexpr const char* DASH_BASIC = "textures/VFX/Player/VFX_8x8_DashBasic_Horizontal_Flip.dds";
		constexpr const char* DASH_UPGRADED = "textures/VFX/Player/VFX_8x8_DashUpgraded_Horizontal_Flip.dds";
		constexpr const char* ATTACK_DOWN = "textures/VFX/Player/VFX_7X4_AttackDown_Left_V2.dds";

		constexpr std::array<Sheet, EFFECT_COUNT> ourSheets{ {
			{ "textures/VFX/Player/VFX_5x5_Jumping_Flip.dds", 0.03f, 5, 5, false },   // 0 jump dust
			{ "textures/VFX/Player/VFX_4x8_Landing_Flip.dds", 0.025f, 4, 8, false },  // 1 landing dust
			{ DASH_BASIC, 0.01f, 8, 8, false },                                       // 2 dash
			{ DASH_BASIC, 0.01f, 8, 8, false },                                       // 3
			{ DASH_UPGRADED, 0.01f, 8, 8, false },                                    // 4 dash-slash
			{ DASH_UPGRADED, 0.01f, 8, 8, false },                                    // 5
			{ WALKING, 0.05f, 4, 4, false },                                          // 6 running dust
			{ WALKING, 0.03f, 4, 4, false },                                          // 7 wall-slide dust
			{ HEDGEHOG_SPIN, 0.07f, 4, 4, false },                                    // 8
			{ HEDGEHOG_SPIN, 0.07f, 4, 4, false },                                    // 9
			{ "textures/VFX/VFX_4x4_EnemyDeflect_Flip.dds", 0.05f, 4, 4, false },     // 10
			{ "textures/VFX/VFX_4x4_EnemyHit_Flip.dds", 0.03f, 4, 4, false },         // 11
			{ "textures/VFX/VFX_8x8_EnemyDeath_Flip.dds", 0.01f, 8, 8, false },       // 12
			{ "textures/VFX/Player/VFX_6x6_PlayerDamaged_Flip.dds", 0.03f, 6, 6, false }, // 13
			{ "textures/VFX/Player/VFX_5x5_Attack_Right.dds", 0.025f, 5, 5, false },  // 14
			{ "textures/VFX/Player/VFX_5x5_Attack_left.dds", 0.025f, 5, 5, false },   // 15
			{ "textures/VFX/Player/VFX_5x5_AttackUp_Right.dds", 0.05f, 5, 5, false }, // 16
			{ ATTACK_DOWN, 0.05f, 7, 4, false },                                      // 17
			{ ATTACK_DOWN, 0.05f, 7, 4, false },                                      // 18
			{ WALKING, 0.05f, 4, 4, false },                                          // 19 climb dust
			{ "textures/VFX/VFX_8x8_Pickup_Flip.dds", 0.03f, 8, 8, true },            // 20
			{ "textures/VFX/VFX_3x3_EnvironmentButterfly_Flip.dds", 0.055f, 3, 3, true }, // 21
			{ "textures/VFX/VFX_5x5_ToxicMushroomFog.dds", 0.05f, 5, 5, true },       // 22
			{ "textures/VFX/Player/VFX_6x6_LowStamina_Flip.dds", 0.008f, 6, 6, false }, // 23
			{ "textures/VFX/VFX_StartLoopV5_8x8.dds", 0.03f, 8, 8, false },           // 24
			{ "textures/VFX/VFX_FireLoopV5_8x8.dds", 0.03f, 8, 8, true },             // 25
			{ "textures/VFX/Player/VFX_5x5_DashRecharge_Flip.dds", 0.03f, 5, 5, false }, // 26
		} };
	}

	const Sheet* Find(int anId)
	{
		if (anId < 0 || anId >= EFFECT_COUNT)
		{
			return nullptr;
		}
		return &ourSheets[static_cast<std::size_t>(anId)];
	}
}
