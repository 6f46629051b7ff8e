// The world's models and clips as the importer reads them: every model and clip
// that a definition names imports without a word on standard error, skins are
// whole, and each clip covers what its animator state plays.
#include "WorldArtData.h"

#include "Importer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

using NorvTest::DefinitionFile;

namespace
{
	constexpr double FRAMES_PER_SECOND = 30.0;
	// A state shows at least this much of its clip before its exit offset ends it.
	constexpr double MIN_VISIBLE_SECONDS = 0.25;

	// The clip keys of each animated entity type with the exit offset and start
	// time of the state they bind (negative: none).
	struct StateNeeds
	{
		double exit, start;
		bool isStill = false; // a held pose
	};
	const std::map<std::string, std::map<std::string, StateNeeds>> ANIMATED_KEYS{
		{ "Player", { { "anim_Idle", { 0.1, -1 } }, { "anim_Running", { 3.1, -1 } }, { "anim_JumpFromIdle", { -1, 0.1 } }, { "anim_JumpFromRun", { -1, 0.1 } },
						{ "anim_JumpFromIdle_InAir", { -1, -1 } }, { "anim_JumpFromRun_InAir", { -1, -1 } }, { "anim_JumpFromIdle_Landing", { 3.75, -1 } },
						{ "anim_JumpFromRun_Landing", { 3.75, -1 } }, { "anim_AttackFromIdle", { 0, -1 } }, { "anim_AttackFromRun", { 0, -1 } }, { "anim_AttackUp", { 0.75, -1 } },
						{ "anim_AttackDown", { 0.75, -1 } }, { "anim_AttackDownAir", { 0.75, -1 } }, { "anim_Damaged", { 4.0, 0 } }, { "anim_Death", { 2.93, 0.1 } },
						{ "anim_Dash", { -1, -1 } }, { "anim_Climbing", { 3.1, -1 } }, { "anim_Holding", { 3.1, -1 } }, { "anim_Sliding", { -1, -1 } } } },
		{ "PatrollingEnemy", { { "anim_Idle", { -1, -1 } }, { "anim_Roll", { 0.7, 0 } }, { "anim_RollStunned", { -1, -1 } }, { "anim_RollStunnedBackUp", { 0.38, 0.1 } },
								 { "anim_RollUp", { 0.7, -1 } }, { "anim_Unroll", { 0.38, -1 } }, { "anim_Walk", { 0.2, -1 } }, { "anim_WalkCharge", { 0.25, -1 } },
								 { "anim_Damaged", { 0.01, -1 } }, { "anim_Death", { 0.05, 0.25 } } } },
		{ "FlyingEnemy", { { "anim_Flying", { 0.6, -1 } }, { "anim_Attack", { -1, -1 } }, { "anim_Damaged", { -1, -1 } }, { "anim_Death", { -1, -1 } },
							 { "anim_FlyingCharge", { 0.4, -1 } }, { "anim_Charge", { -1, -1 } } } },
		{ "FlowerPlatform", { { "anim_Sleeping", { -1, -1 } }, { "anim_Opening", { 4.6, -1 } }, { "anim_Open", { 4.3, -1 } }, { "anim_ClosingStatic", { -1, -1, true } },
								{ "anim_Closing", { 2.3, -1 } } } },
		{ "MushroomEnemy", { { "anim_Walk", { -1, -1 } }, { "anim_Damage", { -1, -1 } }, { "anim_Death", { -1, -1 } } } },
		{ "Destructible", { { "anim_Destroy", { -1, -1 } } } },
	};

	class WorldArtModels : public ::testing::Test
	{
	protected:
		void SetUp() override { NorvFbx::InitImporter(); }

		// Loads the model, failing the test on an error or any text on standard error.
		NorvFbx::ModelRecord Import(const std::string& aRelative)
		{
			NorvFbx::ModelRecord someModel;
			const std::filesystem::path somePath = NorvTest::Resolve(aRelative);
			EXPECT_TRUE(std::filesystem::is_regular_file(somePath)) << aRelative;
			testing::internal::CaptureStderr();
			const bool someLoaded = NorvFbx::LoadModel(somePath.string(), &someModel, false, true);
			const std::string someWarnings = testing::internal::GetCapturedStderr();
			EXPECT_TRUE(someLoaded) << aRelative << ": " << NorvFbx::GetLastError();
			EXPECT_EQ(someWarnings, "") << aRelative;
			return someModel;
		}

		NorvFbx::AnimationRecord ImportClip(const std::string& aRelative)
		{
			NorvFbx::AnimationRecord someClip;
			testing::internal::CaptureStderr();
			const bool someLoaded = NorvFbx::LoadAnimation(NorvTest::Resolve(aRelative).string(), &someClip);
			const std::string someWarnings = testing::internal::GetCapturedStderr();
			EXPECT_TRUE(someLoaded) << aRelative << ": " << NorvFbx::GetLastError();
			EXPECT_EQ(someWarnings, "") << aRelative;
			return someClip;
		}
	};

	std::string EntityType(const DefinitionFile& aDefinition)
	{
		const nlohmann::json someType = aDefinition.Value("entityId");
		return someType.is_string() ? someType.get<std::string>() : "";
	}

	// Largest change of any bone's local matrix from frame 0.
	float LargestChange(const NorvFbx::AnimationRecord& aClip)
	{
		float someLargest = 0.0f;
		for (const NorvFbx::AnimationFrame& someFrame : aClip.frames)
			for (const auto& [someBone, someLocal] : someFrame.local)
				for (int r = 1; r <= 4; ++r)
					for (int c = 1; c <= 4; ++c)
						someLargest = std::max(someLargest, std::fabs(someLocal(r, c) - aClip.frames.front().local.at(someBone)(r, c)));
		return someLargest;
	}
}

TEST_F(WorldArtModels, EveryModelImportsWithColourFromItsOwnPalette)
{
	size_t someModels = 0;
	for (const DefinitionFile& someDefinition : NorvTest::ReadDefinitions())
	{
		const nlohmann::json someModelValue = someDefinition.Value("Model");
		if (someModelValue.is_null())
			continue;
		const std::string somePath = someModelValue.at("path");
		SCOPED_TRACE(somePath);
		const NorvFbx::ModelRecord someModel = Import(somePath);
		++someModels;
		ASSERT_GE(someModel.meshes.size(), 1u);
		EXPECT_LE(someModel.meshes.size(), 4u) << "a model holds at most four meshes";
		for (const NorvFbx::Mesh& someMesh : someModel.meshes)
		{
			EXPECT_GT(someMesh.indices.size(), 0u);
			ASSERT_GE(someMesh.materialIndex, 0);
			// The texture lookup finds "<folder>/<material>_C.dds" beside the model.
			const std::string& someMaterial = someModel.materials.at(static_cast<size_t>(someMesh.materialIndex)).name;
			const std::filesystem::path someColor = NorvTest::Resolve(somePath).parent_path() / (someMaterial + "_C.dds");
			EXPECT_TRUE(std::filesystem::is_regular_file(someColor)) << someColor;
			// Vertex colours are shading, never black: the model shader multiplies by them.
			for (const NorvFbx::Vertex& someVertex : someMesh.vertices)
				ASSERT_GT(someVertex.color[0].x, 0.5f);
		}
	}
	EXPECT_GE(someModels, 40u);
}

TEST_F(WorldArtModels, AnimatedEntitiesAreSkinnedWholeAndStandTheWayTheirEntitiesTurnThem)
{
	for (const DefinitionFile& someDefinition : NorvTest::ReadDefinitions())
	{
		if (!ANIMATED_KEYS.contains(EntityType(someDefinition)))
			continue;
		SCOPED_TRACE(someDefinition.name);
		const NorvFbx::ModelRecord someModel = Import(someDefinition.Value("Model").at("path"));
		ASSERT_GE(someModel.skeleton.bones.size(), 2u);
		EXPECT_LE(someModel.skeleton.bones.size(), 128u);
		for (const NorvFbx::Mesh& someMesh : someModel.meshes)
			for (const NorvFbx::Vertex& someVertex : someMesh.vertices)
			{
				const float someSum = someVertex.weights[0] + someVertex.weights[1] + someVertex.weights[2] + someVertex.weights[3];
				ASSERT_NEAR(someSum, 1.0f, 1e-4f) << "every vertex follows a bone";
				ASSERT_LT(someVertex.bones[0], someModel.skeleton.bones.size());
			}
		const Norv::Vector3<float>& someHalf = someModel.bounds.halfExtents;
		if (EntityType(someDefinition) == "Player")
		{
			// Stored lying along z (its entity turns it by x 90 and z -180): about 150 tall, head at +z.
			EXPECT_NEAR(someHalf.z * 2.0f, 150.0f, 10.0f);
			EXPECT_GT(someHalf.z, someHalf.y);
			const NorvFbx::Vertex* someTop = nullptr;
			for (const NorvFbx::Mesh& someMesh : someModel.meshes)
				for (const NorvFbx::Vertex& someVertex : someMesh.vertices)
					if (!someTop || someVertex.position.z > someTop->position.z)
						someTop = &someVertex;
			ASSERT_NE(someTop, nullptr);
			EXPECT_EQ(someModel.skeleton.bones.at(someTop->bones[0]).shortName, "Flower") << "the flower on the head is the top";
		}
		else
			EXPECT_GT(someHalf.y, 0.0f);
	}
}

TEST_F(WorldArtModels, EveryClipCoversItsStateAndMovesTheModelsBones)
{
	std::set<std::string> someTypesSeen;
	for (const DefinitionFile& someDefinition : NorvTest::ReadDefinitions())
	{
		const std::string someType = EntityType(someDefinition);
		const auto someKeys = ANIMATED_KEYS.find(someType);
		if (someKeys == ANIMATED_KEYS.end())
			continue;
		someTypesSeen.insert(someType);
		const NorvFbx::ModelRecord someModel = Import(someDefinition.Value("Model").at("path"));
		for (const auto& [someKey, someNeeds] : someKeys->second)
		{
			SCOPED_TRACE(someDefinition.name + " " + someKey);
			const nlohmann::json someValue = someDefinition.Value(someKey);
			ASSERT_TRUE(someValue.is_object()) << "the animator binds this key";
			const NorvFbx::AnimationRecord someClip = ImportClip(someValue.at("clip_path"));
			ASSERT_GE(someClip.frames.size(), 2u);
			EXPECT_EQ(someClip.frameCount, static_cast<std::uint64_t>(std::lround(someClip.duration * FRAMES_PER_SECOND)) + 1);
			EXPECT_DOUBLE_EQ(someClip.frameRate, FRAMES_PER_SECOND);
			EXPECT_GE(someClip.duration + 1e-9, std::max(0.0, someNeeds.exit) + std::max(0.0, someNeeds.start) + MIN_VISIBLE_SECONDS);
			for (const std::string& someBone : someClip.boneNames)
				EXPECT_TRUE(someModel.skeleton.boneIndices.contains(someBone)) << someBone;
			if (someNeeds.isStill)
				EXPECT_LT(LargestChange(someClip), 1e-3f);
			else
				EXPECT_GT(LargestChange(someClip), 0.05f) << "the clip moves something";
		}
	}
	EXPECT_EQ(someTypesSeen.size(), ANIMATED_KEYS.size());
}
