#pragma once
// The skinned characters of the world: their rigs (shared by the model and its
// clips), where their files go, and the clips each one has.
#include "ModelFiles.h"

namespace NorvArt
{
	enum PlayerBone { P_ROOT, P_HIPS, P_SPINE, P_HEAD, P_ARM_L, P_ARM_R, P_LEG_L, P_LEG_R, P_FLOWER };
	enum HedgehogBone { H_ROOT, H_BODY, H_HEAD, H_LEG_FL, H_LEG_FR, H_LEG_BL, H_LEG_BR };
	enum WaspBone { W_ROOT, W_BODY, W_HEAD, W_ABDOMEN, W_WING_L, W_WING_R };
	enum MushroomBone { M_ROOT, M_STEM, M_CAP, M_FOOT_L, M_FOOT_R };
	enum FlowerBone { F_ROOT, F_STEM, F_HEAD, F_LEAF_L, F_LEAF_R, F_PETAL_0 };
	inline constexpr int FLOWER_PETALS = 6;
	inline constexpr int BREAKABLE_PIECES = 6; // bones B_PIECE_0 ...; bone 0 is the root
	// The flower platform is authored at 1/28 of its size in the world (the level scales it by 28).
	inline constexpr double FLOWER_AUTHORED_SCALE = 1.0 / 28.0;

	struct Character
	{
		std::string name;   // "Player", "Hedgehog" ...
		std::string folder; // under the game data folder, ending in "/"
		Rig rig;
		std::string ModelPath() const { return folder + "SK_" + name + ".fbx"; }
		std::string ClipPath(const std::string& aClip) const { return folder + "Animations/A_" + name + "_" + aClip + ".fbx"; }
	};

	// One clip of a character: the "anim_" key that binds it and its length.
	struct ClipEntry
	{
		std::string character;
		std::string key;  // "anim_Idle" ...
		std::string clip; // the file's clip name
		double duration;  // seconds
		Motion motion;
	};

	const std::vector<Character>& Characters();
	const Character& FindCharacter(const std::string& aName);
	const std::vector<ClipEntry>& ClipCatalogue();

	void WriteCharacterModels(const OutputFolders& aFolders);
}
