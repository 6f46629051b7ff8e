#pragma once
// Puts built meshes, rigs and motions into FBX files: a static model, a skinned
// model with its skeleton, or a clip that moves the same skeleton. A model's
// material is named after its file, so its palette texture "<name>_C.dds" sits
// beside it and is found by the model's texture lookup.
#include "MeshBuilder.h"
#include "WorldArt.h"

#include <functional>

namespace NorvArt
{
	struct RigBone
	{
		std::string name;
		int parent; // -1 for the root
		Vec3 position; // model space, bind pose (bones are not rotated at bind time)
	};
	struct Rig
	{
		std::vector<RigBone> bones;
		Frame frame = IDENTITY_FRAME; // design axes to stored axes, as the model's MeshBuilder::SetFrame
		double scale = 1.0;
	};

	// One bone's pose at one moment, relative to its bind pose.
	struct BoneMotion
	{
		Vec3 rotation{ 0, 0, 0 }; // Euler degrees in design axes, x then y then z
		Vec3 offset{ 0, 0, 0 };   // design axes
		Vec3 scale{ 1, 1, 1 };
	};
	// Fills the motion of every bone of the rig (pre-sized, all rest) at aTime seconds.
	using Motion = std::function<void(double aTime, std::vector<BoneMotion>& aBones)>;

	inline constexpr int CLIP_FRAMES_PER_SECOND = 30;

	// aRelative is under the game data folder, ending in ".fbx".
	void WriteStaticModel(const std::filesystem::path& aRoot, const std::string& aRelative, const MeshBuilder& aMesh, const Palette& aPalette);
	void WriteSkinnedModel(const std::filesystem::path& aRoot, const std::string& aRelative, const Rig& aRig, const MeshBuilder& aMesh, const Palette& aPalette);
	// The clip spans whole frames: aDuration is rounded up to the next frame.
	void WriteClip(const std::filesystem::path& aRoot, const std::string& aRelative, const Rig& aRig, double aDuration, const Motion& aMotion);
}
