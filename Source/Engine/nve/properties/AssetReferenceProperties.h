#pragma once
// The property types that name assets: "Model" (a model file with its textures
// and shaders), "Sprite" (sprite textures with size and pivot), "Animation Clip"
// (a clip file) and the placeholder "Pose". The first three keep their record in
// a pool slot shared by copy-on-write handles; "Scene" lives beside them
// (SceneReferenceProperty.h). Paths are interned as written, null for none.
#include "Math/Vector.h"
#include "model/ModelDefines.h"
#include "properties/PropertyType.h"
#include "properties/StaticObjectPool.h"
#include "stringRegistry/StringId.h"

#include <cstddef>
#include <cstring>
#include <new>

namespace Norv
{
	constexpr std::size_t SCENE_TEXTURE_SLOTS = 4; // colour, normal, material, effects

	struct SceneModel
	{
		StringId myPath;                                                   // "path"
		StringId myTextures[MAX_MESHES_PER_MODEL][SCENE_TEXTURE_SLOTS] = {}; // "textures"
		StringId myVertexShader;                                           // "vertexShader"
		StringId myPixelShader;                                            // "pixelShader"
	};

	struct SceneSprite
	{
		StringId myTextures[SCENE_TEXTURE_SLOTS] = {}; // "textures"; "texturePath" sets slot 0
		Vector2<float> mySize{ 100.0f, 100.0f };       // "size"
		Vector2<float> myPivot{ 0.5f, 0.5f };          // "pivot"
	};

	struct AnimationClipReference
	{
		StringId myClipPath; // "clip_path"
	};

	// Held in the property itself; nothing reads or writes its bytes.
	struct PoseAndMotion
	{
		std::byte myBytes[16] = {};
	};

	using SceneModelHandle = CopyOnWriteWrapper<SceneModel>;
	using SceneSpriteHandle = CopyOnWriteWrapper<SceneSprite>;
	using AnimationClipHandle = CopyOnWriteWrapper<AnimationClipReference>;

	template <>
	struct PropertyValueOps<SceneModelHandle> : ValueSemanticsOps<SceneModelHandle>
	{
		static void Construct(void* aDst) { ::new (aDst) SceneModelHandle(); }
		// An object (else error 306); paths are strings (else 302); "textures" is an
		// array of meshes, each an array of slot paths, a single string (slot 0) or null.
		static void FromJson(SceneModelHandle& aValue, const nlohmann::json& aJson);
		static void ToJson(const SceneModelHandle& aValue, nlohmann::json& aJson);
		static bool Edit(SceneModelHandle& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<SceneSpriteHandle> : ValueSemanticsOps<SceneSpriteHandle>
	{
		static void Construct(void* aDst) { ::new (aDst) SceneSpriteHandle(); }
		// Anything but an object keeps the default. "pivot" and "size" need two
		// numbers (a shorter array is the json library's range error).
		static void FromJson(SceneSpriteHandle& aValue, const nlohmann::json& aJson);
		// Four "textures", "pivot" and "size"; never "texturePath".
		static void ToJson(const SceneSpriteHandle& aValue, nlohmann::json& aJson);
		static bool Edit(SceneSpriteHandle& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<AnimationClipHandle> : ValueSemanticsOps<AnimationClipHandle>
	{
		static void Construct(void* aDst) { ::new (aDst) AnimationClipHandle(); }
		static void FromJson(AnimationClipHandle& aValue, const nlohmann::json& aJson);
		static void ToJson(const AnimationClipHandle& aValue, nlohmann::json& aJson);
		static bool Edit(AnimationClipHandle& aValue, const char* aLabel, const char* aDescription);
	};

	template <>
	struct PropertyValueOps<PoseAndMotion> : ValueSemanticsOps<PoseAndMotion>
	{
		static void Construct(void* aDst) { ::new (aDst) PoseAndMotion(); }
		static void FromJson(PoseAndMotion& aValue, const nlohmann::json&) { aValue = PoseAndMotion(); }
		static void ToJson(const PoseAndMotion&, nlohmann::json& aJson);
		static bool Edit(PoseAndMotion& aValue, const char* aLabel, const char* aDescription);
	};

	template <> PropertyType<SceneModelHandle> PropertyType<SceneModelHandle>::ourInstance;
	template <> PropertyType<SceneSpriteHandle> PropertyType<SceneSpriteHandle>::ourInstance;
	template <> PropertyType<AnimationClipHandle> PropertyType<AnimationClipHandle>::ourInstance;
	template <> PropertyType<PoseAndMotion> PropertyType<PoseAndMotion>::ourInstance;
}
