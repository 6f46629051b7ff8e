#include "Support/Fixtures.h"
#include "Support/SteppedWorld.h"

#include "graphics/Camera.h"
#include "world/animation/Animator.h"
#include "world/entities/Player.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using NorvTest::SceneObject;
using NorvTest::WriteDefinition;
using nlohmann::json;

namespace
{
	const std::string FIXTURES = NorvTest::FixtureFile("fbx") + "/";

	json Property(const char* aName, const char* aType, const json& aValue)
	{
		return { { "name", aName }, { "type", aType }, { "value", aValue } };
	}

	json Clip(const char* aKey, const char* aPath)
	{
		return Property(aKey, "Animation Clip", { { "clip_path", aPath } });
	}
}

TEST(PlayerLevel, TheLastPlayerObjectIsTheFrameContextsAndTheCamerasPlayer)
{
	NorvTest::SteppedWorld someWorld;
	ASSERT_TRUE(someWorld.IsStarted());
	someWorld.LoadAscii({ "P...P", "#####" }, { { 'P', "Player" } });
	ASSERT_EQ(someWorld.myState.GetEntities().size(), 2u);
	const Entity* someLast = someWorld.myState.GetEntities()[1].get();
	EXPECT_EQ(someWorld.myState.GetFrameContext().player, someLast);
	EXPECT_EQ(someWorld.myState.GetCameraController().myPlayer, someLast);

	// The next level has no player: nothing may point at the destroyed one.
	someWorld.LoadAscii({ "#" }, {}, "scenes/Empty.nvs");
	EXPECT_EQ(someWorld.myState.GetFrameContext().player, nullptr);
	EXPECT_EQ(someWorld.myState.GetCameraController().myPlayer, nullptr);
}

TEST(PlayerLevel, ASkinnedPlayerGetsItsModelAndTheClipsOfItsKeys)
{
	const std::string someFixture = FIXTURES + "character_skinned.fbx";
	if (!std::filesystem::exists(someFixture))
		GTEST_SKIP() << "fixture missing: " << someFixture;
	NorvTest::SteppedWorld someWorld;
	ASSERT_TRUE(someWorld.IsStarted());
	std::ifstream someFile(someFixture, std::ios::binary);
	std::stringstream someBytes;
	someBytes << someFile.rdbuf();
	someWorld.Folder().Write("data/models/hero.fbx", someBytes.str());
	WriteDefinition(someWorld.Folder(), "Hero", json::array({ Property("entityId", "StringId", "Player"), Property("model", "Model", { { "path", "models/hero.fbx" } }),
		Clip("anim_Idle", "models/hero.fbx"), Clip("anim_Dash", "models/hero.fbx"), Property("positionZ", "Float", 40.0) }));
	NorvTest::WriteScene(someWorld.Folder(), "scenes/Hero.nvs", json::array({ SceneObject("hero", "Hero", { 100, 200, 0 }) }));
	someWorld.Load("scenes/Hero.nvs");

	ASSERT_EQ(someWorld.myState.GetEntities().size(), 1u);
	Entity& someHero = *someWorld.myState.GetEntities()[0];
	ASSERT_NE(someHero.myAnimatedInstance.GetModel(), nullptr);
	EXPECT_FLOAT_EQ(someHero.myZ, 40.0f); // "positionZ" after the model property
	Animator* someAnimator = someHero.GetAnimator();
	ASSERT_NE(someAnimator, nullptr);
	EXPECT_NE(someAnimator->GetState(0).player.GetAnimation(), nullptr);
	EXPECT_EQ(someAnimator->GetState(0).name, "Idle");
	EXPECT_NE(someAnimator->GetState(15).player.GetAnimation(), nullptr);
	EXPECT_EQ(someAnimator->GetState(15).name, "Dashing");
	EXPECT_EQ(someAnimator->GetState(1).player.GetAnimation(), nullptr);

	// Placed each frame scaled, then rotated, at the collider plus the model offset.
	someHero.myScale = { 2.0f, 1.0f, 3.0f };
	someWorld.Step(1);
	Norv::Matrix4x4 someRotation;
	Norv::Matrix4x4::SetRotationFromEuler(someRotation, someHero.myRotation);
	const Norv::Matrix4x4 someExpected = Norv::Matrix4x4::CreateScale({ 2.0f, 1.0f, 3.0f }) * someRotation;
	const Norv::Matrix4x4& someTransform = someHero.myAnimatedInstance.GetTransform();
	for (int someRow = 1; someRow <= 3; ++someRow)
		for (int someColumn = 1; someColumn <= 3; ++someColumn)
			EXPECT_NEAR(someTransform(someRow, someColumn), someExpected(someRow, someColumn), 1e-5f);
}

TEST(PlayerLevel, AScriptedRunAndJumpReplaysBitForBit)
{
	auto Run = [](std::vector<float>& aOut) {
		NorvTest::SteppedWorld someWorld;
		someWorld.LoadAscii({ "..........#", ".P........#", "###########" }, { { 'P', "Player" } });
		for (int someFrame = 0; someFrame < 120; ++someFrame)
		{
			const bool someJump = someFrame >= 30 && someFrame < 45;
			if (someJump)
				someWorld.Step(1, { InputAction::Right, InputAction::Jump });
			else
				someWorld.Step(1, { InputAction::Right });
			const Entity& somePlayer = *someWorld.myState.GetEntities()[0];
			aOut.insert(aOut.end(), { somePlayer.myPosition.x, somePlayer.myPosition.y, somePlayer.myVelocity.x, somePlayer.myVelocity.y });
		}
		const Norv::Vector3<float> someCamera = someWorld.myState.GetWorldCamera()->myTransform.GetTranslation();
		aOut.insert(aOut.end(), { someCamera.x, someCamera.y, someCamera.z });
	};
	std::vector<float> someFirst;
	std::vector<float> someSecond;
	Run(someFirst);
	Run(someSecond);
	ASSERT_EQ(someFirst.size(), someSecond.size());
	EXPECT_EQ(std::memcmp(someFirst.data(), someSecond.data(), someFirst.size() * sizeof(float)), 0);
	EXPECT_GT(someFirst[someFirst.size() - 7], 300.0f); // the player ran right
}
