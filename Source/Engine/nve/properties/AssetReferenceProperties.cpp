#include "properties/AssetReferenceProperties.h"

#include "properties/JsonPaths.h"
#include "properties/PlainPropertyTypes.h"

namespace Norv
{
	namespace
	{
		StringId ReadPathString(const nlohmann::json& aJson)
		{
			return StringRegistry::RegisterOrGetString(aJson.get<std::string>());
		}
	}

	// ---------------------------------------------------------------- "Model"

	void PropertyValueOps<SceneModelHandle>::FromJson(SceneModelHandle& aValue, const nlohmann::json& aJson)
	{
		// Never merged with the previous value: absent keys keep the default.
		aValue.ResetToFreshDefault();
		SceneModel& someModel = aValue.Write();
		someModel.myPath = ReadPathValue(aJson, "path");
		someModel.myVertexShader = ReadPathValue(aJson, "vertexShader");
		someModel.myPixelShader = ReadPathValue(aJson, "pixelShader");
		const auto someTextures = aJson.find("textures");
		if (someTextures == aJson.end())
			return;
		// The json's elements: an array's, an object's member values, null none, any
		// other value itself; so a number or boolean anywhere is the library's error 302.
		std::size_t someMesh = 0;
		for (const nlohmann::json& someEntry : *someTextures)
		{
			if (someMesh == MAX_MESHES_PER_MODEL)
				break;
			StringId (&someSlots)[SCENE_TEXTURE_SLOTS] = someModel.myTextures[someMesh++];
			if (someEntry.is_string())
			{
				someSlots[0] = ReadPathString(someEntry);
				continue;
			}
			std::size_t someSlot = 0;
			for (const nlohmann::json& somePath : someEntry)
			{
				if (someSlot == SCENE_TEXTURE_SLOTS)
					break;
				someSlots[someSlot++] = ReadPathString(somePath);
			}
		}
	}

	void PropertyValueOps<SceneModelHandle>::ToJson(const SceneModelHandle& aValue, nlohmann::json& aJson)
	{
		const SceneModel& someModel = aValue.Get();
		aJson["path"] = PathJson(someModel.myPath);
		aJson["vertexShader"] = PathJson(someModel.myVertexShader);
		aJson["pixelShader"] = PathJson(someModel.myPixelShader);
		nlohmann::json someMeshes = nlohmann::json::array();
		for (const auto& someSlots : someModel.myTextures)
		{
			nlohmann::json& someMesh = someMeshes.emplace_back(nlohmann::json::array());
			for (const StringId& somePath : someSlots)
				someMesh.push_back(PathJson(somePath));
		}
		aJson["textures"] = std::move(someMeshes);
	}

	// ---------------------------------------------------------------- "Sprite"

	void PropertyValueOps<SceneSpriteHandle>::FromJson(SceneSpriteHandle& aValue, const nlohmann::json& aJson)
	{
		aValue.ResetToFreshDefault();
		if (!aJson.is_object())
			return;
		SceneSprite& someSprite = aValue.Write();
		if (const auto somePath = aJson.find("texturePath"); somePath != aJson.end())
			someSprite.myTextures[0] = ReadPathString(*somePath);
		if (const auto someTextures = aJson.find("textures"); someTextures != aJson.end())
		{
			std::size_t someSlot = 0;
			for (const nlohmann::json& somePath : *someTextures)
			{
				if (someSlot == SCENE_TEXTURE_SLOTS)
					break;
				someSprite.myTextures[someSlot++] = ReadPathString(somePath);
			}
		}
		if (const auto somePivot = aJson.find("pivot"); somePivot != aJson.end())
			PropertyValueOps<Vector2<float>>::FromJson(someSprite.myPivot, *somePivot);
		if (const auto someSize = aJson.find("size"); someSize != aJson.end())
			PropertyValueOps<Vector2<float>>::FromJson(someSprite.mySize, *someSize);
	}

	void PropertyValueOps<SceneSpriteHandle>::ToJson(const SceneSpriteHandle& aValue, nlohmann::json& aJson)
	{
		const SceneSprite& someSprite = aValue.Get();
		nlohmann::json someTextures = nlohmann::json::array();
		for (const StringId& somePath : someSprite.myTextures)
			someTextures.push_back(PathJson(somePath));
		aJson["textures"] = std::move(someTextures);
		PropertyValueOps<Vector2<float>>::ToJson(someSprite.myPivot, aJson["pivot"]);
		PropertyValueOps<Vector2<float>>::ToJson(someSprite.mySize, aJson["size"]);
	}

	// ---------------------------------------------------------------- "Animation Clip", "Pose"

	void PropertyValueOps<AnimationClipHandle>::FromJson(AnimationClipHandle& aValue, const nlohmann::json& aJson)
	{
		aValue.ResetToFreshDefault();
		aValue.Write().myClipPath = ReadPathValue(aJson, "clip_path");
	}

	void PropertyValueOps<AnimationClipHandle>::ToJson(const AnimationClipHandle& aValue, nlohmann::json& aJson)
	{
		aJson["clip_path"] = PathJson(aValue->myClipPath);
	}

	void PropertyValueOps<PoseAndMotion>::ToJson(const PoseAndMotion&, nlohmann::json& aJson)
	{
		aJson = nlohmann::json::object();
	}
}
