// Entity model and animation set-up: the "Model", "Sprite" and "Animation Clip"
// properties of scene objects turned into model instances during level building.
#include "world/GameState.h"
#include "world/animation/Animator.h"

#include "Math/Quaternion.h"
#include "graphics/TextureManager.h"
#include "model/ModelFactory.h"
#include "properties/AssetReferenceProperties.h"
#include "scene/ObjectDefinition.h"
#include "scene/SceneObject.h"
#include "settings/settings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string_view>

namespace
{
	constexpr const char* SPRITE_QUAD_MODEL = "models/Placeholders/SM_Quad.fbx";
	constexpr float SPRITE_QUAD_TURN_DEGREES = 90.0f;
	constexpr float GIMBAL_LIMIT = 0.9999f;
	constexpr float HALF_PI = 1.570796f;
	constexpr float RADIANS_TO_DEGREES = 57.295776f;

	// One "anim_" key: the clip property's name and the animator state it fills.
	struct AnimationKey
	{
		const char* myKey;
		int myIndex;
		const char* myState;
	};

	constexpr AnimationKey PLAYER_KEYS[] = {
		{ "anim_Idle", 0, "Idle" }, { "anim_Running", 1, "Running" }, { "anim_JumpFromIdle", 2, "Jump_Idle" }, { "anim_JumpFromRun", 3, "Jump_Run" },
		{ "anim_JumpFromIdle_InAir", 4, "Falling_Idle" }, { "anim_JumpFromRun_InAir", 5, "Falling_Run" }, { "anim_JumpFromIdle_Landing", 6, "Landing_Idle" },
		{ "anim_JumpFromRun_Landing", 7, "Landing_Run" }, { "anim_AttackFromIdle", 8, "Attacking_Idle" }, { "anim_AttackFromRun", 9, "Attacking_Run" },
		{ "anim_AttackUp", 10, "Attack Up" }, { "anim_AttackDown", 11, "Attack Down" }, { "anim_AttackDownAir", 12, "Attack Down In-air" },
		{ "anim_Damaged", 13, "Damaged" }, { "anim_Death", 14, "Death" }, { "anim_Dash", 15, "Dashing" }, { "anim_Climbing", 16, "Climbing" },
		{ "anim_Holding", 17, "Holding/ClimbingIdle" }, { "anim_Sliding", 18, "Sliding" },
	};
	constexpr AnimationKey PATROLLING_ENEMY_KEYS[] = {
		{ "anim_Idle", 0, "Idle" }, { "anim_Roll", 1, "Roll" }, { "anim_RollStunned", 2, "RollStunned" }, { "anim_RollStunnedBackUp", 3, "RollStunnedBackUp" },
		{ "anim_RollUp", 4, "RollUp" }, { "anim_Unroll", 5, "Unroll" }, { "anim_Walk", 6, "Walk" }, { "anim_WalkCharge", 7, "WalkCharge" },
		{ "anim_Damaged", 8, "Damaged" }, { "anim_Death", 9, "Death" },
	};
	constexpr AnimationKey FLYING_ENEMY_KEYS[] = {
		{ "anim_Flying", 0, "Flying" }, { "anim_Attack", 1, "Attack" }, { "anim_Damaged", 2, "Damaged" }, { "anim_Death", 3, "Death" },
		{ "anim_FlyingCharge", 4, "Flying Charge" }, { "anim_Charge", 5, "Charge" },
	};
	constexpr AnimationKey FLOWER_KEYS[] = {
		{ "anim_Sleeping", 0, "Sleeping" }, { "anim_Opening", 1, "Opening" }, { "anim_Open", 2, "Open" }, { "anim_ClosingStatic", 3, "Closing Static" },
		{ "anim_Closing", 4, "Closing" },
	};
	constexpr AnimationKey MUSHROOM_KEYS[] = { { "anim_Walk", 0, "Walking" }, { "anim_Damage", 2, "Damaged" }, { "anim_Death", 3, "Death" } };
	constexpr AnimationKey DESTRUCTIBLE_KEYS[] = { { "anim_Destroy", 0, "destroyed" } };

	struct AnimationTable
	{
		const char* myEntityType;
		std::span<const AnimationKey> myKeys;
	};

	constexpr AnimationTable ANIMATION_TABLES[] = {
		{ "Player", PLAYER_KEYS }, { "PatrollingEnemy", PATROLLING_ENEMY_KEYS }, { "FlyingEnemy", FLYING_ENEMY_KEYS },
		{ "FlowerPlatform", FLOWER_KEYS }, { "MushroomEnemy", MUSHROOM_KEYS }, { "Destructible", DESTRUCTIBLE_KEYS },
	};

	std::span<const AnimationKey> FindAnimationKeys(Norv::StringId anEntityType)
	{
		for (const AnimationTable& someTable : ANIMATION_TABLES)
			if (anEntityType.View() == someTable.myEntityType)
				return someTable.myKeys;
		return {};
	}

	const Norv::SceneModel* GetModelValue(const Norv::PropertyDefinition& aProperty)
	{
		const Norv::SceneModelHandle* someHandle = aProperty.value.TryGet<Norv::SceneModelHandle>();
		return someHandle ? &someHandle->Get() : nullptr;
	}

	Norv::ModelFactory& Factory()
	{
		return *Norv::ModelFactory::GetInstance();
	}

	// The value's texture paths override the instance's table, meshes 0 to 3 of the model.
	template <typename Instance>
	void ApplyTextures(Instance& anInstance, const Norv::PropertyDefinition& aProperty)
	{
		const Norv::SceneModel* someModel = GetModelValue(aProperty);
		Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent();
		if (!anInstance.GetModel() || !someModel || !someTextures)
			return;
		const std::size_t someMeshes = std::min(Norv::MAX_MESHES_PER_MODEL, anInstance.GetModel()->GetMeshes().size());
		for (std::size_t someMesh = 0; someMesh < someMeshes; ++someMesh)
		{
			for (std::size_t someSlot = 0; someSlot < Norv::SCENE_TEXTURE_SLOTS; ++someSlot)
			{
				const Norv::StringId somePath = someModel->myTextures[someMesh][someSlot];
				if (!somePath)
					continue;
				if (Norv::Texture* someTexture = someTextures->GetTexture(somePath.c_str(), Norv::TEXTURE_MODE_FORCE_SRGB))
					anInstance.GetTextures()[someMesh][someSlot] = someTexture;
			}
		}
	}
}

bool GameState::CreateAnimatedModelInstance(const Norv::PropertyDefinition& aProperty)
{
	// A path that resolves nowhere was reported with its definition when the level was planned.
	const Norv::SceneModel* someModel = GetModelValue(aProperty);
	return someModel && someModel->myPath && !Norv::Settings::ResolveAssetPath(someModel->myPath.View()).empty()
		&& Factory().GetAnimatedModelInstance(someModel->myPath.c_str()).GetModel() != nullptr;
}

void GameState::BindEntityAnimations(const EntitySetUp& aSetUp)
{
	const Norv::SceneModel* someModel = nullptr;
	for (const Norv::PropertyDefinition& someProperty : aSetUp.myProperties)
		if (const Norv::SceneModel* someValue = GetModelValue(someProperty))
			someModel = someValue;
	if (!someModel || !someModel->myPath)
		return;

	Norv::AnimatedModelInstance someInstance = Factory().GetAnimatedModelInstance(someModel->myPath.c_str());
	someInstance.SetTransform(Norv::Matrix4x4::CreateTransform(aSetUp.myObject));
	for (const Norv::PropertyDefinition& someProperty : aSetUp.myProperties)
		if (GetModelValue(someProperty) == someModel)
			ApplyAnimatedTextureProperty(someInstance, someProperty);
	someInstance.myShader = Factory().GetAnimatedModelShader(someModel->myPixelShader.c_str());
	BindAnimationStates(aSetUp, someInstance);
	aSetUp.myEntity.myAnimatedInstance = someInstance;
}

void GameState::AddEntityModels(const EntitySetUp& aSetUp)
{
	for (const Norv::PropertyDefinition& someProperty : aSetUp.myProperties)
	{
		const Norv::SceneModel* someModel = GetModelValue(someProperty);
		if (!someModel)
			continue;
		// A path that does not resolve ends the set-up: later models get no instance either.
		if (!someModel->myPath || Norv::Settings::ResolveAssetPath(someModel->myPath.View()).empty())
			return;
		if (!Factory().GetModel(someModel->myPath.c_str()))
			continue;
		Norv::ModelInstance& someInstance = aSetUp.myEntity.myModels.emplace_back(Factory().GetModelInstance(someModel->myPath.c_str()));
		someInstance.SetTransform(Norv::Matrix4x4::CreateTransform(aSetUp.myObject));
		ApplyTextureProperty(someInstance, someProperty);
		if (std::shared_ptr<Norv::ModelShader> someShader = Factory().GetModelShader(someModel->myPixelShader.c_str()))
			someInstance.myShader = std::move(someShader);
	}
}

void GameState::AddTileModels(const Norv::PropertyDefinition& aProperty, Norv::ModelInstance& aTarget, const Norv::SceneObject& anObject)
{
	const Norv::SceneModel* someModel = GetModelValue(aProperty);
	if (!someModel || !someModel->myPath || Norv::Settings::ResolveAssetPath(someModel->myPath.View()).empty() || !Factory().GetModel(someModel->myPath.c_str()))
		return;
	// A fresh instance keeps the target's own flag and colour adjustment.
	const std::uint64_t someFlag = aTarget.myFlag;
	const Norv::Vector4<float> someAdjust = aTarget.myColorAdjust;
	aTarget = Factory().GetModelInstance(someModel->myPath.c_str());
	aTarget.myFlag = someFlag;
	aTarget.myColorAdjust = someAdjust;
	aTarget.SetTransform(Norv::Matrix4x4::CreateTransform(anObject));
	ApplyTextureProperty(aTarget, aProperty);
	if (std::shared_ptr<Norv::ModelShader> someShader = Factory().GetModelShader(someModel->myPixelShader.c_str()))
		aTarget.myShader = std::move(someShader);
}

void GameState::AddTileSprite(const Norv::PropertyDefinition& aProperty, Norv::ModelInstance& aTarget, const Norv::SceneObject& anObject)
{
	const Norv::SceneSpriteHandle* someSprite = aProperty.value.TryGet<Norv::SceneSpriteHandle>();
	if (!someSprite || !Factory().GetModel(SPRITE_QUAD_MODEL))
		return;
	const std::uint64_t someFlag = aTarget.myFlag;
	const Norv::Vector4<float> someAdjust = aTarget.myColorAdjust;
	aTarget = Factory().GetModelInstance(SPRITE_QUAD_MODEL);
	aTarget.myFlag = someFlag;
	aTarget.myColorAdjust = someAdjust;
	// The quad stood up by two quarter turns before the object's own scale, rotation and translation.
	aTarget.SetTransform(Norv::Matrix4x4::CreateRotationAroundY(SPRITE_QUAD_TURN_DEGREES) * Norv::Matrix4x4::CreateRotationAroundX(SPRITE_QUAD_TURN_DEGREES)
		* Norv::Matrix4x4::CreateTransform(anObject));
	if (Norv::TextureManager* someTextures = Norv::TextureManager::GetCurrent())
		aTarget.GetTextures()[0][Norv::MODEL_TEXTURE_COLOR] = someTextures->GetTexture(someSprite->Get().myTextures[0].c_str(), Norv::TEXTURE_MODE_FORCE_SRGB);
}

void GameState::BindAnimationStates(const EntitySetUp& aSetUp, const Norv::AnimatedModelInstance& anInstance)
{
	// Each class's animator is its table's: an entity without one takes no state.
	Animator* someAnimator = aSetUp.myEntity.GetAnimator();
	const std::span<const AnimationKey> someKeys = FindAnimationKeys(aSetUp.myType);
	if (!someAnimator || someKeys.empty())
		return;
	for (const Norv::PropertyDefinition& someProperty : aSetUp.myProperties)
	{
		for (const AnimationKey& someKey : someKeys)
		{
			if (someProperty.name.View() != someKey.myKey)
				continue;
			someAnimator->AddState(LoadAnimationClip(someProperty, anInstance), someKey.myIndex, someKey.myState);
			break;
		}
	}
}

Norv::AnimationPlayer GameState::LoadAnimationClip(const Norv::PropertyDefinition& aProperty, const Norv::AnimatedModelInstance& anInstance)
{
	const Norv::AnimationClipHandle* someClip = aProperty.value.TryGet<Norv::AnimationClipHandle>();
	return Factory().GetAnimationPlayer(someClip ? someClip->Get().myClipPath.c_str() : "", anInstance.GetModel());
}

void GameState::ApplyTextureProperty(Norv::ModelInstance& anInstance, const Norv::PropertyDefinition& aProperty)
{
	ApplyTextures(anInstance, aProperty);
}

void GameState::ApplyAnimatedTextureProperty(Norv::AnimatedModelInstance& anInstance, const Norv::PropertyDefinition& aProperty)
{
	ApplyTextures(anInstance, aProperty);
}

Norv::Vector3<float> GameState::GetEulerDegrees(const Norv::Matrix4x4& aMatrix)
{
	Norv::Vector3<float> someRows[3];
	for (int someRow = 0; someRow < 3; ++someRow)
		someRows[someRow] = Norv::Vector3<float>(aMatrix(someRow + 1, 1), aMatrix(someRow + 1, 2), aMatrix(someRow + 1, 3)).GetNormalized();
	const Norv::Quaternion someQ(someRows[0], someRows[1], someRows[2]);
	const float w = someQ.w, x = someQ.x, y = someQ.y, z = someQ.z;
	const float s = -2.0f * (x * z - w * y);
	Norv::Vector3<float> someAngles;
	if (std::abs(s) <= GIMBAL_LIMIT)
	{
		someAngles.y = std::asin(s);
		someAngles.x = std::atan2(w * x + y * z, 0.5f - y * y - x * x);
		someAngles.z = std::atan2(y * x + w * z, 0.5f - y * y - z * z);
	}
	else
	{
		someAngles.y = s * HALF_PI;
		someAngles.x = std::atan2(w * x - y * z, 0.5f - x * x - z * z);
		someAngles.z = 0.0f;
	}
	return someAngles * RADIANS_TO_DEGREES;
}
