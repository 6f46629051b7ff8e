// The FBX importer, binary and ASCII files alike, as the model factory calls it:
// the model with its skeleton and materials, then its animation.
#include "FuzzTargets.h"
#include "Scratch.h"

#include "Importer.h"

#include <cmath>
#include <exception>

namespace NorvFuzz
{
	namespace
	{
		bool IsFinite(float aValue) { return std::isfinite(aValue); }

		bool IsFinite(const Norv::Matrix4x4& aMatrix)
		{
			for (int someRow = 1; someRow <= 4; ++someRow)
			{
				for (int someColumn = 1; someColumn <= 4; ++someColumn)
				{
					if (!IsFinite(aMatrix(someRow, someColumn)))
						return false;
				}
			}
			return true;
		}

		// Indices name vertices, influences name bones, and every number is finite.
		bool IsWhole(const NorvFbx::Mesh& aMesh, const NorvFbx::ModelRecord& aModel)
		{
			if (aMesh.indices.size() % 3 != 0)
				return Inconsistent("an index count that is no whole triangles");
			if (aMesh.materialIndex >= static_cast<std::int32_t>(aModel.materials.size()) || aMesh.materialIndex < -1)
				return Inconsistent("a material index out of range");
			for (const std::uint32_t someIndex : aMesh.indices)
			{
				if (someIndex >= aMesh.vertices.size())
					return Inconsistent("an index past the vertices");
			}
			for (const NorvFbx::Vertex& someVertex : aMesh.vertices)
			{
				if (!IsFinite(someVertex.position.x) || !IsFinite(someVertex.position.y) || !IsFinite(someVertex.position.z)
					|| !IsFinite(someVertex.normal.x) || !IsFinite(someVertex.normal.y) || !IsFinite(someVertex.normal.z)
					|| !IsFinite(someVertex.uv[0].x) || !IsFinite(someVertex.uv[0].y))
					return Inconsistent("a vertex that is not finite");
				for (int someInfluence = 0; someInfluence < NorvFbx::MAX_INFLUENCES; ++someInfluence)
				{
					if (someVertex.weights[someInfluence] != 0.0f && someVertex.bones[someInfluence] >= aModel.skeleton.bones.size())
						return Inconsistent("an influence of a bone the skeleton lacks");
				}
			}
			return IsFinite(aMesh.bounds.radius) || Inconsistent("mesh bounds that are not finite");
		}

		bool IsWhole(const NorvFbx::ModelRecord& aModel)
		{
			for (const NorvFbx::Mesh& someMesh : aModel.meshes)
			{
				if (!IsWhole(someMesh, aModel))
					return false;
			}
			for (std::size_t someBone = 0; someBone < aModel.skeleton.bones.size(); ++someBone)
			{
				// Parents come before their children.
				const std::int32_t someParent = aModel.skeleton.bones[someBone].parent;
				if (someParent < -1 || someParent >= static_cast<std::int32_t>(someBone))
					return Inconsistent("a bone whose parent does not come before it");
				if (!IsFinite(aModel.skeleton.bones[someBone].bindPose))
					return Inconsistent("a bind pose that is not finite");
			}
			if (aModel.skeleton.bones.size() > NorvFbx::MAX_SKELETON_BONES)
				return Inconsistent("more bones than a pose holds");
			return IsFinite(aModel.bounds.radius) || Inconsistent("model bounds that are not finite");
		}

		bool IsWhole(const NorvFbx::AnimationRecord& anAnimation)
		{
			if (anAnimation.frames.size() != anAnimation.frameCount)
				return Inconsistent("a frame count unlike the frames held");
			if (!std::isfinite(anAnimation.duration) || anAnimation.duration < 0.0 || !std::isfinite(anAnimation.frameRate))
				return Inconsistent("a duration or frame rate that is not finite");
			for (const NorvFbx::AnimationFrame& someFrame : anAnimation.frames)
			{
				for (const auto& [someName, someMatrix] : someFrame.local)
				{
					if (!IsFinite(someMatrix))
						return Inconsistent("a bone transform that is not finite");
				}
			}
			return true;
		}
	}

	bool RunFbx(Input aInput)
	{
		static const bool ourIsReady = (NorvFbx::InitImporter(), true);
		(void)ourIsReady;
		const std::string somePath = WriteScratch("model.fbx", aInput).string();
		try
		{
			NorvFbx::ModelRecord someModel;
			if (NorvFbx::LoadModel(somePath, &someModel, true, true) && !IsWhole(someModel))
				return false;
			NorvFbx::AnimationRecord someAnimation;
			if (NorvFbx::LoadAnimation(somePath, &someAnimation) && !IsWhole(someAnimation))
				return false;
		}
		catch (const std::exception&)
		{
			// Faults in a file's content are thrown with a message: a refusal.
		}
		return true;
	}
}
